// The process's umask set for one scope of a test and set back after it, however the test ends.
#pragma once

#include <sys/stat.h>

/// Sets the umask to `mask` while it lives. The mask is the whole process's: no other thread of
/// the test may make files meanwhile.
class UserMask {
public:
    explicit UserMask(mode_t mask) : m_before(::umask(mask)) {}
    ~UserMask() { ::umask(m_before); }
    UserMask(const UserMask&) = delete;
    UserMask& operator=(const UserMask&) = delete;

private:
    mode_t m_before;
};
