#include "support/ngspice.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/temp_folder.h"

namespace tarnex::testing {

namespace {

// Reads the child's output until it closes its end or the deadline passes; false on timeout.
bool readUntil(int fd, std::chrono::steady_clock::time_point deadline, std::string& out) {
  char buf[8192];
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd p{fd, POLLIN, 0};
    const int ready = poll(&p, 1, static_cast<int>(left.count()));
    if (ready < 0) {
      if (errno == EINTR) continue;
      return true;
    }
    if (ready == 0) return false;
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return true;
    out.append(buf, static_cast<std::size_t>(n));
  }
}

}  // namespace

bool ngspiceInstalled() {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return false;
  std::istringstream dirs(path);
  for (std::string dir; std::getline(dirs, dir, ':');) {
    if (dir.empty()) continue;
    const std::filesystem::path exe = std::filesystem::path(dir) / "ngspice";
    if (access(exe.c_str(), X_OK) == 0) return true;
  }
  return false;
}

NgspiceRun runNgspice(const std::string& deck, double seconds) {
  NgspiceRun result;
  TempFolder dir;
  const std::string file = dir.path("deck.cir").string();
  dir.write("deck.cir", deck);

  int pipeFd[2];
  if (pipe(pipeFd) != 0) {
    result.error = "cannot make a pipe for ngspice";
    return result;
  }
  const pid_t pid = fork();
  if (pid < 0) {
    close(pipeFd[0]);
    close(pipeFd[1]);
    result.error = "cannot start ngspice";
    return result;
  }
  if (pid == 0) {
    // The child: its own process group (so that a kill reaches whatever it starts), the
    // deck's folder as working directory, stdout and stderr into the pipe, no stdin.
    setpgid(0, 0);
    dup2(pipeFd[1], STDOUT_FILENO);
    dup2(pipeFd[1], STDERR_FILENO);
    close(pipeFd[0]);
    close(pipeFd[1]);
    const int devNull = open("/dev/null", O_RDONLY);
    if (devNull >= 0) dup2(devNull, STDIN_FILENO);
    if (chdir(dir.path("").c_str()) != 0) _exit(126);
    execlp("ngspice", "ngspice", "-b", file.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(pipeFd[1]);
  const auto deadline = std::chrono::steady_clock::now() +
                        std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                            std::chrono::duration<double>(seconds));
  const bool finished = readUntil(pipeFd[0], deadline, result.output);
  close(pipeFd[0]);
  if (!finished) kill(-pid, SIGKILL);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (!finished) {
    result.error = "ngspice did not finish within " + std::to_string(seconds) + " s";
    return result;
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 127) {
    result.error = "ngspice could not be run (is it installed?)";
    return result;
  }
  result.run = sim::parseSpiceOutput(result.output);
  result.error = result.run.failure();
  return result;
}

}  // namespace tarnex::testing
