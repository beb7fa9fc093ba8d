// Runs part of a test as another user, for the files and folders that several users share.
#pragma once

#include <cerrno>
#include <csignal>
#include <cstring>
#include <grp.h>
#include <initializer_list>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace otheruser {

/// Runs `work`, which returns a std::string, in a child process; returns what `work` returned,
/// or why the child could not start or was ended before it returned.
template <class Work>
std::string RunInChild(Work work) {
    int out[2];
    if (::pipe(out) != 0) return std::string("no pipe: ") + std::strerror(errno);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(out[0]);
        const std::string said = work();
        (void)!::write(out[1], said.data(), said.size());
        ::_exit(0);  // no destructors: the parent owns the test's files
    }
    ::close(out[1]);
    if (pid < 0) {
        ::close(out[0]);
        return std::string("no child process: ") + std::strerror(errno);
    }
    std::string said;
    char buffer[512];
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, static_cast<std::size_t>(n));
    ::close(out[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (WIFSIGNALED(status))
        said += "(the child was ended by signal " + std::to_string(WTERMSIG(status)) + ")";
    return said;
}

/// Runs `work` as `RunInChild` does, in a child that acts as `user` (whose own group has the
/// same number) and as a member of the group `shared` too.
template <class Work>
std::string RunAs(uid_t user, gid_t shared, Work work) {
    return RunInChild([&] {
        const gid_t own = user;
        if (::setgroups(1, &shared) != 0 || ::setgid(own) != 0 || ::setuid(user) != 0)
            return "cannot act as user " + std::to_string(user) + ": " + std::strerror(errno);
        return std::string(work());
    });
}

/// Why this test cannot act as each of `users` on what lies in `folder`, or "" when it can. Only
/// root acts as another user; and a folder above `folder` that only root may enter (a TMPDIR
/// that `mktemp -d` or pam_tmpdir made) shuts the others out whatever the test sets on `folder`.
inline std::string WhyCannotActAs(std::initializer_list<uid_t> users, gid_t shared,
                                  const std::string& folder) {
    if (::geteuid() != 0) return "acting as another user needs root";
    for (const uid_t user : users) {
        const std::string refused = RunAs(user, shared, [&] {
            if (::access(folder.c_str(), X_OK) == 0) return std::string();
            return std::string(std::strerror(errno));
        });
        if (!refused.empty())
            return "user " + std::to_string(user) + " cannot enter \"" + folder + "\" (" + refused +
                   "): run the tests with a TMPDIR that every user may enter";
    }
    return {};
}

}  // namespace otheruser
