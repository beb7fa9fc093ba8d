// flock on a lock file, counted per thread so that a nested lock of the same file is free.
#include "platform/FileLock.h"

#include "platform/FaultPoint.h"

#include <cerrno>
#include <fcntl.h>
#include <map>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

namespace {

struct HeldLock {
    int fd = -1;
    int depth = 0;
};

// flock locks belong to an open file: a second open of the same file in this thread would
// wait for the first forever, so the thread reuses the one it holds.
thread_local std::map<std::string, HeldLock> t_held;

}  // namespace

FileLock::FileLock(const std::string& path) : m_path(path) {
    auto found = t_held.find(path);
    if (found != t_held.end()) {
        ++found->second.depth;
        m_held = true;
        return;
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) return;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        FaultPoint("lock busy");
        int rc;
        while ((rc = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
        }
        if (rc != 0) {
            ::close(fd);
            return;
        }
    }
    t_held[path] = HeldLock{fd, 1};
    m_held = true;
}

FileLock::~FileLock() {
    if (!m_held) return;
    auto found = t_held.find(m_path);
    if (found == t_held.end()) return;
    if (--found->second.depth > 0) return;
    // Closing the last descriptor of the open file releases the lock.
    ::close(found->second.fd);
    t_held.erase(found);
}

}  // namespace platform
