#include "support/child_process.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tarnex::testing {

int runInChild(const std::function<int()>& body, bool unprivileged) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    constexpr uid_t kNobody = 65534;
    if (unprivileged && ::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
      ::_exit(254);
    ::_exit(body() & 0xFF);
  }
  int status = 0;
  if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return -3;
  if (!WIFEXITED(status)) return -1;
  return WEXITSTATUS(status) == 254 ? -2 : WEXITSTATUS(status);
}

}  // namespace tarnex::testing
