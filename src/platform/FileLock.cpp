// flock on a lock file, waited for within a bound, counted per thread so that a nested lock of
// the same file is free.
#include "platform/FileLock.h"

#include "platform/Descriptor.h"
#include "platform/FaultPoint.h"
#include "platform/OpenedFile.h"
#include "platform/Paths.h"
#include "platform/PermissionNeeded.h"
#include "platform/TemporaryFiles.h"
#include "platform/TemporaryWrite.h"
#include "platform/WaitNotice.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <map>
#include <sys/file.h>
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
};

// flock locks belong to an open file: a second open of the same file in this thread would
// wait for the first, so the thread reuses the one it holds.
thread_local std::map<std::string, HeldLock> t_held;

/// Opens the lock file `path` for writing, making it when missing; one that this user may not
/// write is opened for reading (`writable` false). A new one is as open as the user's umask
/// allows, as every file the program makes; in a folder shared with its group (see
/// `SharedWithGroup`) it has that group, which may read and write it whatever the umask, so that
/// every member takes turns with whoever made it, on NFS too, where an exclusive lock needs a
/// file open for writing. It has that permission before it has its name (see `MakeLockFile`):
/// a member who opens it right after its making is never refused, but on a file system with
/// neither hard links nor renames that replace nothing, where it is made at its name. It is
/// always made exclusively, so that two takers never lock a file each. It holds nothing to read.
/// Anything at `path` but a regular file (a FIFO, whose open for reading would wait for a
/// writer without end, a folder, a device) is refused at once with `problem` set.
Descriptor OpenLockFile(const std::string& path, bool& writable, OpenProblem& problem) {
    const int flags = O_CLOEXEC | O_NOFOLLOW;
    writable = true;
    Descriptor fd(OpenRegularFileAs(path, O_RDWR | flags, &problem));
    if (!fd.Open() && errno == ENOENT) {
        fd = detail::MakeLockFile(path);
        if (fd.Open() || errno != EEXIST) {
            problem = OpenProblem::None;
            return fd;
        }
        // Another made it meanwhile: theirs is the one everybody takes turns on.
        fd = Descriptor(OpenRegularFileAs(path, O_RDWR | flags, &problem));
    }
    if (fd.Open() || problem != OpenProblem::Unreadable || errno != EACCES) return fd;
    writable = false;
    return Descriptor(OpenRegularFileAs(path, O_RDONLY | flags, &problem));
}

/// Why this user cannot lock `path`, which a permission kept them from opening: whose the file
/// is and what it allows, so that its owner or the folder's can mend it; where there is no file
/// yet, what its folder needs to let them make it.
std::string WritePermissionNeeded(const std::string& path) {
    const std::string owner = OwnerGroupAndMode(path);
    if (owner.empty() && !PathMayExist(path)) return CreationRefused("Cannot lock", path, EACCES);
    std::string text = "Cannot lock \"" + path + "\": it needs write permission for you";
    return owner.empty() ? text : text + " (" + owner + ")";
}

/// One try at the lock `operation` on `fd`; false with errno set (EWOULDBLOCK while another holds it).
bool TryLock(int fd, int operation) {
    int rc;
    while ((rc = ::flock(fd, operation | LOCK_NB)) != 0 && errno == EINTR) {
    }
    return rc == 0;
}

/// Takes the lock `operation` on `fd`, the lock file `path`, trying again now and then until
/// `limit` has passed, since a blocking flock cannot be given a bound. The window is told of
/// the wait for as long as it lasts, so that it does not look hung. False with errno set,
/// EWOULDBLOCK when it stayed busy.
bool LockWithin(const std::string& path, int fd, int operation, std::chrono::milliseconds limit) {
    if (TryLock(fd, operation)) return true;
    if (errno != EWOULDBLOCK || limit <= 0ms) return false;
    AnnouncedWait announced(path);
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
        announced.Pause();
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(pause, deadline - now));
        pause = std::min(pause * 2, std::chrono::milliseconds(50));
    }
}

}  // namespace

void SetLockWaitLimit(std::chrono::milliseconds limit) { g_waitLimitMs = std::max<std::int64_t>(limit.count(), 0); }

std::chrono::milliseconds LockWaitLimit() { return std::chrono::milliseconds(g_waitLimitMs.load()); }

FileLock::FileLock(const std::string& path, LockWait wait) : m_path(path) {
    auto found = t_held.find(path);
    if (found != t_held.end()) {
        ++found->second.depth;
        m_held = true;
        return;
    }
    bool writable = true;
    OpenProblem problem = OpenProblem::None;
    Descriptor fd = OpenLockFile(path, writable, problem);
    if (!fd.Open()) {
        if (problem == OpenProblem::Folder || problem == OpenProblem::NotRegular)
            m_error = "Cannot lock \"" + path + "\": it " + OpenProblemText(problem);
        else
            m_error = errno == EACCES ? WritePermissionNeeded(path) : detail::SystemError("Cannot lock", path);
        return;
    }
    if (writable) detail::MendLockFile(path, fd.Get());
    // A local folder locks a file opened for reading too; a network one (NFS) refuses an
    // exclusive lock there with EBADF.
    if (!LockWithin(path, fd.Get(), LOCK_EX, wait == LockWait::None ? 0ms : LockWaitLimit())) {
        m_busy = errno == EWOULDBLOCK;
        if (m_busy)
            m_error = "Cannot lock \"" + path + "\": another program holds the lock of that file";
        else if (!writable && errno == EBADF)
            m_error = WritePermissionNeeded(path);
        else
            m_error = detail::SystemError("Cannot lock", path);
        return;
    }
    // What a kill left of a making of this lock file goes in its turn, as a write's do with the
    // next write of its file.
    detail::RemoveDeadTemporaries(path, {}, detail::Taking::OwnOnly, fd.Get());
    // Should the map fail to grow, the descriptor still closes, and the lock goes with it.
    t_held.emplace(path, HeldLock{std::move(fd), 1});
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
