#pragma once
// The command-line program:
//
//   tarnex-calc DIALOG [COMMAND ...] [LIST=ENTRY ...] [NAME=TEXT ...] [--dir DIR] [--json]
//               [--captions] [--bode] [--load FILE] [--save FILE]
//   tarnex-calc --list [--json]
//
// Opens the window DIALOG on the files of the working folder exactly as the desktop does (DIR,
// else $TARNEX_HOME, else ~/Tarnex; created and filled like at the desktop's first start, its
// "System.cfg" created empty but never marked), selects the list entries (running their
// handlers), types the field texts,
// presses the buttons named by COMMAND in order (default: the window's default button) and
// prints the title, every message box in the order shown and every field as displayed. DIALOG
// is a design window or a page of the loop-compensation sheet; --bode adds a page's Bode plot.
//
// --load opens a design file into the window before the command line's choices; --save saves
// the window's design after the commands.
//
// Exit status: 0 when the last command wrote its results into the fields, 1 when it ended
// on a message without writing them, 2 for a usage error or a design file refused (explained
// on stderr), 3 when the design could not be saved.

#include <istream>
#include <ostream>
#include <span>
#include <string>

namespace tarnex::calc {

inline constexpr int kWritten = 0;
inline constexpr int kNotWritten = 1;
inline constexpr int kUsage = 2;
inline constexpr int kNotSaved = 3;

// `in` is read by --batch only.
int run(std::span<const std::string> args, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace tarnex::calc
