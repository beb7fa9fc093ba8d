// flock on a lock file, waited for within a bound, counted per thread so that a nested lock of
// the same file is free.
#include "platform/FileLock.h"

#include "platform/Descriptor.h"
#include "platform/FaultPoint.h"
#include "platform/TemporaryFiles.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace platform {

namespace {

using namespace std::chrono_literals;
using detail::Descriptor;

std::atomic<std::int64_t> g_waitLimitMs{5000};

struct HeldLock {
    Descriptor fd;
    int depth = 0;
    LockKind kind = LockKind::Exclusive;
};

// flock locks belong to an open file: a second open of the same file in this thread would
// wait for the first, so the thread reuses the one it holds.
thread_local std::map<std::string, HeldLock> t_held;

/// Opens the lock file `path` for writing, making it when missing. A new one gets read and
/// write permission for everyone who may write in its folder.
Descriptor OpenLockFile(const std::string& path) {
    const int flags = O_RDWR | O_CLOEXEC | O_NOFOLLOW;
    Descriptor fd(::open(path.c_str(), flags | O_CREAT | O_EXCL, 0600));
    if (fd.Open()) {
        struct stat st {};
        if (::stat(detail::FolderOf(path).c_str(), &st) == 0) {
            mode_t mode = S_IRUSR | S_IWUSR;
            if (st.st_mode & S_IWGRP) mode |= S_IRGRP | S_IWGRP;
            if (st.st_mode & S_IWOTH) mode |= S_IROTH | S_IWOTH;
            ::fchmod(fd.Get(), mode);
        }
        return fd;
    }
    if (errno != EEXIST) return fd;
    return Descriptor(::open(path.c_str(), flags));
}

/// One try at the lock `operation` on `fd`; false with errno set (EWOULDBLOCK while another holds it).
bool TryLock(int fd, int operation) {
    int rc;
    while ((rc = ::flock(fd, operation | LOCK_NB)) != 0 && errno == EINTR) {
    }
    return rc == 0;
}

/// Takes the lock `operation` on `fd`, trying again now and then until `limit` has passed, since
/// a blocking flock cannot be given a bound. False with errno set, EWOULDBLOCK when it stayed busy.
bool LockWithin(int fd, int operation, std::chrono::milliseconds limit) {
    if (TryLock(fd, operation)) return true;
    if (errno != EWOULDBLOCK || limit <= 0ms) return false;
    FaultPoint("lock busy");
    const auto deadline = std::chrono::steady_clock::now() + limit;
    // Short pauses first, so that a turn that ends at once is taken at once.
    std::chrono::milliseconds pause = 1ms;
    for (;;) {
        if (TryLock(fd, operation)) return true;
        if (errno != EWOULDBLOCK) return false;
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            errno = EWOULDBLOCK;
            return false;
        }
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(pause, deadline - now));
        pause = std::min(pause * 2, std::chrono::milliseconds(50));
    }
}

}  // namespace

void SetLockWaitLimit(std::chrono::milliseconds limit) { g_waitLimitMs = std::max<std::int64_t>(limit.count(), 0); }

std::chrono::milliseconds LockWaitLimit() { return std::chrono::milliseconds(g_waitLimitMs.load()); }

FileLock::FileLock(const std::string& path, LockKind kind, LockWait wait) : m_path(path) {
    auto found = t_held.find(path);
    if (found != t_held.end()) {
        // Waiting for this thread's own readers' hold would never end.
        if (found->second.kind == LockKind::Shared && kind == LockKind::Exclusive) {
            m_error = "Cannot lock \"" + path + "\" for writing: it is held here for reading";
            return;
        }
        ++found->second.depth;
        m_held = true;
        return;
    }
    Descriptor fd = OpenLockFile(path);
    if (!fd.Open()) {
        m_error = detail::SystemError("Cannot lock", path);
        return;
    }
    const int operation = kind == LockKind::Shared ? LOCK_SH : LOCK_EX;
    if (!LockWithin(fd.Get(), operation, wait == LockWait::None ? 0ms : LockWaitLimit())) {
        m_busy = errno == EWOULDBLOCK;
        m_error = m_busy ? "Cannot lock \"" + path + "\": another program holds the lock of that file"
                         : detail::SystemError("Cannot lock", path);
        return;
    }
    // Should the map fail to grow, the descriptor still closes, and the lock goes with it.
    t_held.emplace(path, HeldLock{std::move(fd), 1, kind});
    m_held = true;
}

FileLock::~FileLock() {
    if (!m_held) return;
    auto found = t_held.find(m_path);
    if (found == t_held.end()) return;
    if (--found->second.depth > 0) return;
    // Closing the last descriptor of the open file releases the lock.
    t_held.erase(found);
}

}  // namespace platform
