#pragma once
// Runs part of a test in a child process: where a fault must strike the process itself (a
// file-size limit), or where file permissions must be in force though the tests run as root.

#include <functional>

namespace tarnex::testing {

// Runs `body` in a forked child and returns its exit code (-1 when it ended on a signal,
// -2 when it could not drop its privileges). With `unprivileged`, a child running as root
// first becomes the user "nobody", so that read-only files and folders stay read-only.
// The body must not use the test framework's assertions: it reports through its result.
int runInChild(const std::function<int()>& body, bool unprivileged = false);

}  // namespace tarnex::testing
