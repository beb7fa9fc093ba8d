// flock on a lock file, counted per thread so that a nested lock of the same file is free.
#include "platform/FileLock.h"

#include "platform/FaultPoint.h"
#include "platform/TemporaryFiles.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <sys/file.h>
#include <sys/stat.h>
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

/// Opens the lock file `path` for writing, making it when missing. A new one gets read and
/// write permission for everyone who may write in its folder.
int OpenLockFile(const std::string& path) {
    const int flags = O_RDWR | O_CLOEXEC | O_NOFOLLOW;
    int fd = ::open(path.c_str(), flags | O_CREAT | O_EXCL, 0600);
    if (fd >= 0) {
        struct stat st {};
        if (::stat(detail::FolderOf(path).c_str(), &st) == 0) {
            mode_t mode = S_IRUSR | S_IWUSR;
            if (st.st_mode & S_IWGRP) mode |= S_IRGRP | S_IWGRP;
            if (st.st_mode & S_IWOTH) mode |= S_IROTH | S_IWOTH;
            ::fchmod(fd, mode);
        }
        return fd;
    }
    if (errno != EEXIST) return -1;
    return ::open(path.c_str(), flags);
}

}  // namespace

FileLock::FileLock(const std::string& path) : m_path(path) {
    auto found = t_held.find(path);
    if (found != t_held.end()) {
        ++found->second.depth;
        m_held = true;
        return;
    }
    const int fd = OpenLockFile(path);
    if (fd < 0) {
        m_error = "Cannot lock \"" + path + "\": " + std::strerror(errno);
        return;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        FaultPoint("lock busy");
        int rc;
        while ((rc = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
        }
        if (rc != 0) {
            m_error = "Cannot lock \"" + path + "\": " + std::strerror(errno);
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
