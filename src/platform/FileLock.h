// An advisory lock between processes that share one folder.
#pragma once

#include <string>

namespace platform {

/// Holds an exclusive lock (flock) on the file `path`, created when missing, for its lifetime,
/// waiting while another process holds it. A thread that already holds the lock of that path
/// takes it again at once, so nested read-modify-writes never wait for themselves. The lock
/// file is opened for writing, which an exclusive lock on a network folder (NFS, where flock is
/// a lock over the whole file) needs; a new one may be written by whoever may write in its
/// folder, so that users who share the folder take turns on it. When the lock cannot be had
/// (a read-only folder, another user's lock file) none is held and `Error` says why.
class FileLock {
public:
    explicit FileLock(const std::string& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool Held() const { return m_held; }
    /// Why the lock is not held, for the user ("Cannot lock \"x\": Permission denied").
    const std::string& Error() const { return m_error; }

private:
    std::string m_path;
    std::string m_error;
    bool m_held = false;
};

}  // namespace platform
