// Runs a file change in a child process that is killed at one named fault point, so that a
// test can read what such a kill leaves behind.
#pragma once

#include "platform/FaultPoint.h"

#include <csignal>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

namespace killtest {

inline std::string& KillPoint() {
    static std::string point;
    return point;
}

inline void KillAtNamedPoint(std::string_view point) {
    if (point == KillPoint()) ::raise(SIGKILL);
}

}  // namespace killtest

/// Runs `work` in a child process that is killed at the fault point `point`; true when it
/// died there (false when it ran to its end).
template <class Work>
bool KilledAt(const std::string& point, Work work) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        killtest::KillPoint() = point;
        platform::SetFaultHook(&killtest::KillAtNamedPoint);
        work();
        ::_exit(0);  // no destructors: the parent owns the folder
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}
