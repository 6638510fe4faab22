#pragma once
// The rows of the simulation suite: each a window's command as tarnex-calc takes it, with
// whether the window must refuse it.

#include <ostream>
#include <span>

namespace tarnex::simtest {

struct Row {
  const char* command;   // as tarnex-calc takes it: DIALOG [LIST=ENTRY] [NAME=TEXT] [COMMAND]
  bool refused = false;  // the window must refuse the conditions
  const char* message = nullptr;  // with the message it refuses them with
};

inline void PrintTo(const Row& row, std::ostream* os) {
  *os << row.command;
}

// Every design the suite simulates, in a fixed order.
std::span<const Row> designRows();

}  // namespace tarnex::simtest
