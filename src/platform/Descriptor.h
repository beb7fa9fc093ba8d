// An open file descriptor owned by one object, closed when it goes.
#pragma once

#include <unistd.h>
#include <utility>

namespace platform::detail {

/// Owns `fd` (-1 for none) and closes it when destroyed or given another.
class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    Descriptor(Descriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    /// Closes the descriptor it owned and takes `other`'s, which then owns none: a moved-from
    /// descriptor must not keep a file open (and locked) behind its owner's back.
    Descriptor& operator=(Descriptor&& other) noexcept {
        if (this == &other) return *this;
        if (m_fd >= 0) ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
        return *this;
    }
    int Get() const { return m_fd; }
    bool Open() const { return m_fd >= 0; }
    /// Gives the descriptor up to the caller, who closes it.
    int Release() { return std::exchange(m_fd, -1); }

private:
    int m_fd = -1;
};

}  // namespace platform::detail
