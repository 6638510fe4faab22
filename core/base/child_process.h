#pragma once
// A program run in a process of its own, so that its faults (a crash, an endless loop, memory
// running out) never reach the window that started it: in a process group of its own, with
// no input, its output and errors together in one file, polled rather than waited for, and
// killed with everything it started when it is stopped or runs past its time limit.

#include <chrono>
#include <string>
#include <vector>

namespace tarnex {

// The full path of `program` as the shell finds it on PATH ("" when it is not there). A name
// with a slash is taken as a path of its own.
std::string findProgram(const std::string& program);

class ChildProcess {
 public:
  enum class State {
    NotStarted,
    Running,
    Exited,     // ended by itself: exitStatus() tells how
    Signalled,  // ended by a signal it did not ask for (a crash)
    TimedOut,   // killed at its time limit
    Stopped,    // killed by stop()
  };

  ChildProcess() = default;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  // A process still running is killed.
  ~ChildProcess();

  // Starts the program at `path` (findProgram) with `args` in the folder `workDir`, its
  // output and errors into the file `logPath` (created or emptied). False, with `error` set,
  // when it could not be started; a program that starts but cannot be run exits with 127.
  bool start(const std::string& path, const std::vector<std::string>& args,
             const std::string& workDir, const std::string& logPath,
             std::chrono::milliseconds limit, std::string& error);
  // Whether it has ended, without waiting: past the time limit it is killed first.
  bool finished();
  // Kills the process group and waits for the process; nothing of it is left behind.
  void stop();

  State state() const { return state_; }
  int exitStatus() const { return exitStatus_; }
  int pid() const { return pid_; }

 private:
  void kill(State why);

  int pid_ = -1;
  State state_ = State::NotStarted;
  int exitStatus_ = -1;
  std::chrono::steady_clock::time_point deadline_;
};

}  // namespace tarnex
