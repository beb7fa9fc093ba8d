// Atomic replacement of user files and whole-file reads.
#include "platform/AtomicWrite.h"

#include "platform/FaultPoint.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cctype>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::string SystemError(const std::string& what, const std::string& path) {
    return what + " \"" + path + "\": " + std::strerror(errno);
}

const char* const kTemporaryMark = ".tmp-";

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

}  // namespace

namespace {

// Creates an empty temporary file beside `path` and locks it; `tmpl` receives its name.
// Returns its descriptor, or -1 (errno set).
int CreateTemporary(const std::string& path, std::string& tmpl) {
    tmpl = path + kTemporaryMark + "XXXXXX";
    const int fd = mkostemp(tmpl.data(), O_CLOEXEC);
    // Held until the descriptor closes (or the process dies): a temporary whose lock is free
    // belongs to nobody.
    if (fd >= 0) ::flock(fd, LOCK_EX | LOCK_NB);
    return fd;
}

// Writes `contents` to a flushed temporary file beside `path` with the permission bits `mode`;
// `tmpl` receives its name. On failure nothing is left behind.
WriteResult WriteTemporary(const std::string& path, std::string_view contents, mode_t mode,
                           std::string& tmpl) {
    const int fd = CreateTemporary(path, tmpl);
    if (fd < 0) return {false, SystemError("Cannot create a file in the folder of", path)};
    const char* data = contents.data();
    std::size_t left = contents.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            WriteResult failed{false, SystemError("Cannot write", path)};
            ::close(fd);
            ::unlink(tmpl.c_str());
            return failed;
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    // The open descriptor writes on whatever the bits say, so the file gets its final ones now.
    if (::fsync(fd) != 0 || ::fchmod(fd, mode) != 0) {
        WriteResult failed{false, SystemError("Cannot write", path)};
        ::close(fd);
        ::unlink(tmpl.c_str());
        return failed;
    }
    if (::close(fd) != 0) {
        WriteResult failed{false, SystemError("Cannot write", path)};
        ::unlink(tmpl.c_str());
        return failed;
    }
    return {};
}

void SyncFolderOf(const std::string& path) {
    const int dir = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

}  // namespace

WriteResult WriteNewFile(const std::string& path, std::string_view contents) {
    std::string tmpl;
    if (WriteResult written = WriteTemporary(path, contents, 0644, tmpl); !written.ok)
        return written;
    // A hard link fails when the name is taken: unlike a rename it never replaces a file.
    if (::link(tmpl.c_str(), path.c_str()) != 0) {
        WriteResult failed{false, errno == EEXIST ? "\"" + path + "\" already exists; it was not overwritten."
                                                  : SystemError("Cannot create", path)};
        ::unlink(tmpl.c_str());
        return failed;
    }
    ::unlink(tmpl.c_str());
    SyncFolderOf(path);
    return {};
}

namespace {

// Through a symbolic link, the file it points to: renaming over the link itself would cut a
// shared settings file or list off from its link.
std::string LinkTarget(const std::string& linkOrPath) {
    std::string path = linkOrPath;
    if (char* real = ::realpath(linkOrPath.c_str(), nullptr)) {
        path = real;
        std::free(real);
    }
    return path;
}

// The permission bits of the file at `path`, 0644 for a new one.
mode_t ModeOf(const std::string& path) {
    struct stat old {};
    return stat(path.c_str(), &old) == 0 ? old.st_mode & 07777 : 0644;
}

}  // namespace

WriteResult AtomicWriteFile(const std::string& linkOrPath, std::string_view contents, FileAccess access) {
    const std::string path = LinkTarget(linkOrPath);
    mode_t mode = ModeOf(path);
    if (access == FileAccess::ReadOnly) mode &= ~mode_t(S_IWUSR | S_IWGRP | S_IWOTH);
    std::string tmpl;
    if (WriteResult written = WriteTemporary(path, contents, mode, tmpl); !written.ok)
        return written;
    FaultPoint("atomic write: temporary written");
    if (std::rename(tmpl.c_str(), path.c_str()) != 0) {
        WriteResult failed{false, SystemError("Cannot replace", path)};
        ::unlink(tmpl.c_str());
        return failed;
    }
    // Make the rename itself durable.
    SyncFolderOf(path);
    return {};
}

FileReplacement::FileReplacement(const std::string& target)
    : m_target(LinkTarget(target)), m_mode(ModeOf(m_target)) {
    m_fd = CreateTemporary(m_target, m_path);
    if (m_fd >= 0) return;
    m_error = SystemError("Cannot create a file in the folder of", m_target);
    m_path.clear();
}

FileReplacement::~FileReplacement() {
    if (m_fd < 0) return;
    // Removed while still locked, so no cleaner takes it for a stale one in between.
    ::unlink(m_path.c_str());
    ::close(m_fd);
}

WriteResult FileReplacement::Commit() {
    if (m_fd < 0) return {false, m_error.empty() ? "Nothing to replace \"" + m_target + "\" with" : m_error};
    // The writer wrote through a descriptor of its own; this one reaches the same file.
    if (::fsync(m_fd) != 0 || ::fchmod(m_fd, static_cast<mode_t>(m_mode)) != 0)
        return {false, SystemError("Cannot write", m_target)};
    if (std::rename(m_path.c_str(), m_target.c_str()) != 0)
        return {false, SystemError("Cannot replace", m_target)};
    ::close(m_fd);
    m_fd = -1;
    SyncFolderOf(m_target);
    return {};
}

int OpenRegularFile(const std::string& path, OpenProblem* problem) {
    OpenProblem none;
    OpenProblem& why = problem ? *problem : none;
    why = OpenProblem::None;
    // Non-blocking, so that opening a FIFO does not wait for a writer that never comes.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        why = errno == ENOENT || errno == ENOTDIR ? OpenProblem::Missing : OpenProblem::Unreadable;
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        why = S_ISDIR(st.st_mode) ? OpenProblem::Folder : OpenProblem::NotRegular;
        ::close(fd);
        return -1;
    }
    // Regular files never block; clear the flag so reads behave as usual.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

std::string OpenProblemText(OpenProblem problem) {
    switch (problem) {
        case OpenProblem::None: return {};
        case OpenProblem::Missing: return "does not exist";
        case OpenProblem::Folder: return "is a folder, not a file";
        case OpenProblem::NotRegular: return "is no regular file (a pipe or a device)";
        case OpenProblem::Unreadable: return "cannot be opened";
    }
    return {};
}

int RemoveStaleTemporaries(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return 0;
    const std::string base = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    const std::size_t markLength = std::strlen(kTemporaryMark);
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        // Ours: something, the mark, then the six letters or digits that mkstemp chose.
        const std::size_t mark = name.rfind(kTemporaryMark);
        if (mark == std::string::npos || mark == 0 || name.size() != mark + markLength + 6) continue;
        bool sixChosen = true;
        for (std::size_t i = mark + markLength; i < name.size(); ++i)
            sixChosen = sixChosen && std::isalnum(static_cast<unsigned char>(name[i]));
        if (!sixChosen) continue;
        const std::string path = base + name;
        const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) continue;
        struct stat st {};
        // A writer still at work holds the lock; one that was killed released it with its life.
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::unlink(path.c_str()) == 0)
            ++removed;
        ::close(fd);
    }
    ::closedir(dir);
    return removed;
}

bool ReadWholeFile(const std::string& path, std::string& out, std::size_t maxBytes, OpenProblem* problem) {
    out.clear();
    const int fd = OpenRegularFile(path, problem);
    if (fd < 0) return false;
    struct stat st {};
    if (fstat(fd, &st) != 0 || static_cast<std::size_t>(st.st_size) > maxBytes) {
        if (problem) *problem = OpenProblem::Unreadable;
        ::close(fd);
        return false;
    }
    out.resize(static_cast<std::size_t>(st.st_size));
    std::size_t got = 0;
    while (got < out.size()) {
        const ssize_t n = ::read(fd, out.data() + got, out.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            // A read error is no short file: a list read in part and saved again would lose
            // the rest for good, so the file counts as unreadable.
            if (problem) *problem = OpenProblem::Unreadable;
            out.clear();
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    // A file that grew while being read is read up to its size at open; one that shrank is cut.
    out.resize(got);
    ::close(fd);
    return true;
}

}  // namespace platform
