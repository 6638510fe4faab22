#include "base/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace tarnex {

std::string findProgram(const std::string& program) {
  if (program.empty()) return "";
  auto runnable = [](const std::string& p) {
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(p.c_str(), X_OK) == 0;
  };
  if (program.find('/') != std::string::npos) return runnable(program) ? program : "";
  const char* env = std::getenv("PATH");
  std::string_view path = env != nullptr ? env : "/usr/bin:/bin";
  while (true) {
    const std::size_t colon = path.find(':');
    const std::string_view dir = path.substr(0, colon);
    // An empty entry is the current folder, as for the shell.
    const std::string candidate =
        (dir.empty() ? std::string(".") : std::string(dir)) + "/" + program;
    if (runnable(candidate)) return candidate;
    if (colon == std::string_view::npos) return "";
    path.remove_prefix(colon + 1);
  }
}

ChildProcess::~ChildProcess() {
  stop();
}

bool ChildProcess::start(const std::string& path, const std::vector<std::string>& args,
                         const std::string& workDir, const std::string& logPath,
                         std::chrono::milliseconds limit, std::string& error) {
  if (state_ != State::NotStarted) {
    error = "the process was started already";
    return false;
  }
  // Everything the child needs is made before the fork: after it, only calls that are safe
  // in a child of a threaded program.
  std::vector<std::string> argStore{path};
  argStore.insert(argStore.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : argStore) argv.push_back(a.data());
  argv.push_back(nullptr);
  const int log = ::open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (log < 0) {
    error = std::string("cannot write ") + logPath + ": " + std::strerror(errno);
    return false;
  }
  const int null = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  const pid_t parent = ::getpid();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::setpgid(0, 0);
    // Its own group keeps it from the terminal's Ctrl+C; it goes when this program goes.
    if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != parent) ::_exit(126);
    if (null < 0 || ::dup2(null, 0) < 0 || ::dup2(log, 1) < 0 || ::dup2(log, 2) < 0 ||
        ::chdir(workDir.c_str()) != 0) {
      ::_exit(126);
    }
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  const int forkError = errno;
  ::close(log);
  if (null >= 0) ::close(null);
  if (pid < 0) {
    error = std::string("cannot start a process: ") + std::strerror(forkError);
    return false;
  }
  // Also here, so that a stop() right after the start finds the group.
  ::setpgid(pid, pid);
  pid_ = pid;
  state_ = State::Running;
  deadline_ = std::chrono::steady_clock::now() + limit;
  return true;
}

bool ChildProcess::finished() {
  if (state_ != State::Running) return state_ != State::NotStarted;
  // Looked at without reaping it: while it is not reaped its process id, and so its group's,
  // cannot go to another process, and what it started may still run in that group.
  siginfo_t info{};
  int got;
  do {
    got = ::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT);
  } while (got < 0 && errno == EINTR);
  if (got == 0 && info.si_pid == pid_) {
    const bool exited = info.si_code == CLD_EXITED;
    kill(exited ? State::Exited : State::Signalled);
    if (exited) exitStatus_ = info.si_status;
    return true;
  }
  if (got < 0) {
    state_ = State::Signalled;  // lost (reaped elsewhere): taken as a crash
    return true;
  }
  if (std::chrono::steady_clock::now() >= deadline_) {
    kill(State::TimedOut);
    return true;
  }
  return false;
}

void ChildProcess::stop() {
  if (state_ == State::Running) kill(State::Stopped);
}

void ChildProcess::kill(State why) {
  ::kill(-pid_, SIGKILL);
  int status = 0;
  while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  state_ = why;
}

}  // namespace tarnex
