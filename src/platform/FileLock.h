// An advisory lock between processes that share one program folder.
#pragma once

#include <string>

namespace platform {

/// Holds an exclusive lock (flock) on the file `path`, created when missing, for its lifetime,
/// waiting while another process holds it. A thread that already holds the lock of that path
/// takes it again at once, so nested read-modify-writes never wait for themselves. When the
/// lock file cannot be created (a read-only folder) no lock is held: nothing can be written
/// there anyway.
class FileLock {
public:
    explicit FileLock(const std::string& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool Held() const { return m_held; }

private:
    std::string m_path;
    bool m_held = false;
};

}  // namespace platform
