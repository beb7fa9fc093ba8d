// An advisory lock between processes that share one folder.
#pragma once

#include <chrono>
#include <string>

namespace platform {

/// How long a `FileLock` waits for another process's hold to go.
enum class LockWait {
    UpToLimit,  ///< up to `LockWaitLimit()`
    None,       ///< not at all: a lock held elsewhere is busy at once
};

/// The longest a `FileLock` waits for another's hold (5 s unless set): a holder that stopped
/// (a debugger, a hung network client) must not freeze the program, which waits on its window's
/// thread. Process-wide; tests shorten it.
void SetLockWaitLimit(std::chrono::milliseconds limit);
std::chrono::milliseconds LockWaitLimit();

/// Holds an exclusive lock (flock) on the file `path`, created when missing, for its lifetime,
/// waiting a few seconds at most while another process holds it. A thread that already holds
/// the lock of that path takes it again at once, so nested read-modify-writes never wait for
/// themselves. The lock file is opened for writing, which an exclusive lock on a network folder
/// (NFS, where flock is a lock over the whole file) needs; a new one gets the group of its
/// folder and may be written by whoever may write in the folder, so that users who share it
/// take turns on it; one of this user's that lacks that group or permission (its making at its
/// name was cut short, or the file system refused the change) gets them as it is taken, so that
/// no member is shut out for good. One that this user may only read is locked through a
/// read-only descriptor where the file system allows that (a local one). Once held, the dead
/// temporaries that a kill left of a making of the lock file go, as a write's go with the next
/// write of its file. When the lock cannot be had (busy beyond the wait, a read-only folder,
/// another user's lock file, anything but a regular file at `path`, which is refused without
/// waiting) none is held and `Error` says why.
class FileLock {
public:
    explicit FileLock(const std::string& path, LockWait wait = LockWait::UpToLimit);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool Held() const { return m_held; }
    /// Not held because another process held the lock throughout the wait.
    bool Busy() const { return m_busy; }
    /// Why the lock is not held, for the user ("Cannot lock \"x\": Permission denied").
    const std::string& Error() const { return m_error; }

private:
    std::string m_path;
    std::string m_error;
    bool m_held = false;
    bool m_busy = false;
};

}  // namespace platform
