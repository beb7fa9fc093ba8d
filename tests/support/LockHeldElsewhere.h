// A lock file held as another program holds it, with the program's wait for it made short.
#pragma once

#include "platform/FileLock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

/// Holds the lock file `lockPath` (made when missing) through a descriptor of its own until it
/// goes: flock locks belong to an open file, so this process's `FileLock` of it waits as it
/// would for another program. Meanwhile the wait is short; `Release` lets go early.
class LockHeldElsewhere {
public:
    explicit LockHeldElsewhere(const std::string& lockPath)
        : m_fd(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        EXPECT_EQ(::flock(m_fd, LOCK_EX), 0) << lockPath;
        platform::SetLockWaitLimit(std::chrono::milliseconds(20));
    }
    ~LockHeldElsewhere() { Release(); }
    LockHeldElsewhere(const LockHeldElsewhere&) = delete;
    LockHeldElsewhere& operator=(const LockHeldElsewhere&) = delete;

    void Release() {
        if (m_fd < 0) return;
        platform::SetLockWaitLimit(std::chrono::seconds(5));
        ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd;
};
