// Atomic replacement of user files and whole-file reads.
#include "platform/AtomicWrite.h"

#include "platform/FaultPoint.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cctype>
#include <cstring>
#include <memory>
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

void SyncFolderOf(const std::string& path) {
    const int dir = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

/// Creates an empty temporary file beside `path`, locked until its descriptor closes; `name`
/// receives its name. Returns the descriptor, or -1 (errno set).
int CreateLockedTemporary(const std::string& path, std::string& name) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        std::string made = path + kTemporaryMark + "XXXXXX";
        const int fd = mkostemp(made.data(), O_CLOEXEC);
        if (fd < 0) return -1;
        int locked;
        while ((locked = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
        }
        // Between its creation and the lock the new file looked like a dead writer's to
        // another writer's clean-up, which may have removed it: then it is made again.
        struct stat st {};
        if (::fstat(fd, &st) == 0 && st.st_nlink > 0) {
            name = std::move(made);
            return fd;
        }
        ::close(fd);
    }
    errno = EAGAIN;
    return -1;
}

/// The file a write replaces: through a symbolic link, the file it points to, since renaming
/// over the link itself would cut a shared settings file or list off from its link.
std::string WriteTarget(const std::string& linkOrPath) {
    std::string path = linkOrPath;
    if (char* real = ::realpath(linkOrPath.c_str(), nullptr)) {
        path = real;
        std::free(real);
    }
    return path;
}

/// The permission bits a write gives `path`: the old file's (0644 for a new one), without write
/// permission for `FileAccess::ReadOnly`.
mode_t WriteMode(const std::string& path, FileAccess access) {
    mode_t mode = 0644;
    struct stat old {};
    if (stat(path.c_str(), &old) == 0) mode = old.st_mode & 07777;
    if (access == FileAccess::ReadOnly) mode &= ~mode_t(S_IWUSR | S_IWGRP | S_IWOTH);
    return mode;
}

}  // namespace

namespace detail {

/// A temporary file beside its target, locked for as long as this object holds it open: from
/// before its first byte until it has taken its final name. Destroyed before that (a failure,
/// an exception, a write never committed), it goes; it is removed while still locked, so no
/// clean-up takes it for a dead writer's in between.
class Temporary {
public:
    Temporary() = default;
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;
    ~Temporary() {
        if (m_fd < 0) return;
        if (!m_named) ::unlink(m_name.c_str());
        ::close(m_fd);
    }

    /// Creates it, empty, beside `path`; false (errno set) when it cannot be made.
    bool Create(const std::string& path) {
        m_fd = CreateLockedTemporary(path, m_name);
        return m_fd >= 0;
    }

    /// Creates it and writes `contents` into it, flushed, with the permission bits `mode`.
    WriteResult Write(const std::string& path, std::string_view contents, mode_t mode) {
        if (!Create(path)) return {false, SystemError("Cannot create a file in the folder of", path)};
        const char* data = contents.data();
        std::size_t left = contents.size();
        while (left > 0) {
            const ssize_t n = ::write(m_fd, data, left);
            if (n < 0) {
                if (errno == EINTR) continue;
                return {false, SystemError("Cannot write", path)};
            }
            data += n;
            left -= static_cast<std::size_t>(n);
        }
        return Flush(path, mode);
    }

    /// Flushes what was written to it, through this descriptor or another, and gives it the
    /// permission bits `mode`: an open descriptor writes whatever the bits say, so the file
    /// gets its final ones before it takes its name.
    WriteResult Flush(const std::string& path, mode_t mode) {
        if (::fsync(m_fd) != 0 || ::fchmod(m_fd, mode) != 0) return {false, SystemError("Cannot write", path)};
        return {};
    }

    /// Renames it over `target`; nothing is removed at the end then, and the lock goes with
    /// the descriptor.
    WriteResult RenameOver(const std::string& target) {
        if (std::rename(m_name.c_str(), target.c_str()) != 0) return {false, SystemError("Cannot replace", target)};
        m_named = true;
        return {};
    }

    const std::string& Name() const { return m_name; }

private:
    std::string m_name;
    int m_fd = -1;
    bool m_named = false;
};

}  // namespace detail

using detail::Temporary;

WriteResult WriteNewFile(const std::string& path, std::string_view contents) {
    RemoveStaleTemporaries(FolderOf(path));
    Temporary temporary;
    if (WriteResult written = temporary.Write(path, contents, 0644); !written.ok) return written;
    // A hard link fails when the name is taken: unlike a rename it never replaces a file.
    if (::link(temporary.Name().c_str(), path.c_str()) != 0)
        return {false, errno == EEXIST ? "\"" + path + "\" already exists; it was not overwritten."
                                       : SystemError("Cannot create", path)};
    SyncFolderOf(path);
    return {};
}

WriteResult AtomicWriteFile(const std::string& path, std::string_view contents, FileAccess access) {
    return AtomicWriteFiles({FileWrite{path, contents, access}});
}

WriteResult AtomicWriteFiles(const std::vector<FileWrite>& files) {
    const std::size_t n = files.size();
    std::vector<std::string> targets;
    std::string cleaned;
    for (const FileWrite& file : files) {
        targets.push_back(WriteTarget(file.Path));
        // What a killed write left in the folder goes with the next write there.
        if (const std::string folder = FolderOf(targets.back()); folder != cleaned) {
            RemoveStaleTemporaries(folder);
            cleaned = folder;
        }
    }
    // What a failed rename puts back: the old contents of every file but the last.
    std::vector<std::string> oldContents(n);
    std::vector<bool> existed(n, false);
    for (std::size_t i = 0; i + 1 < n; ++i) {
        OpenProblem problem = OpenProblem::None;
        existed[i] = ReadWholeFile(targets[i], oldContents[i], std::size_t(1) << 31, &problem);
        if (!existed[i] && problem != OpenProblem::Missing)
            return {false, "Cannot read \"" + targets[i] + "\": it " + OpenProblemText(problem)};
    }
    std::vector<Temporary> temporaries(n);
    for (std::size_t i = 0; i < n; ++i)
        if (WriteResult written = temporaries[i].Write(targets[i], files[i].Contents,
                                                       WriteMode(targets[i], files[i].Access));
            !written.ok)
            return written;
    FaultPoint("atomic write: temporary written");
    for (std::size_t i = 0; i < n; ++i) {
        if (WriteResult renamed = temporaries[i].RenameOver(targets[i]); !renamed.ok) {
            for (std::size_t j = 0; j < i; ++j) {
                if (existed[j])
                    AtomicWriteFile(targets[j], oldContents[j], files[j].Access);
                else
                    ::unlink(targets[j].c_str());
            }
            return renamed;
        }
        if (i + 1 < n) FaultPoint("atomic write: one of several renamed");
    }
    // Make the renames themselves durable.
    for (const std::string& target : targets) SyncFolderOf(target);
    return {};
}

FileReplacement::FileReplacement(const std::string& target)
    : m_target(WriteTarget(target)), m_mode(WriteMode(m_target, FileAccess::Keep)) {
    RemoveStaleTemporaries(FolderOf(m_target));
    auto temporary = std::make_unique<Temporary>();
    if (temporary->Create(m_target))
        m_temporary = std::move(temporary);
    else
        m_error = SystemError("Cannot create a file in the folder of", m_target);
}

FileReplacement::~FileReplacement() = default;

const std::string& FileReplacement::Path() const {
    static const std::string none;
    return m_temporary ? m_temporary->Name() : none;
}

WriteResult FileReplacement::Commit() {
    if (!m_temporary) return {false, m_error.empty() ? "Nothing to replace \"" + m_target + "\" with" : m_error};
    // The writer wrote through a descriptor of its own; the temporary's reaches the same file.
    if (WriteResult flushed = m_temporary->Flush(m_target, static_cast<mode_t>(m_mode)); !flushed.ok) return flushed;
    if (WriteResult renamed = m_temporary->RenameOver(m_target); !renamed.ok) return renamed;
    m_temporary.reset();
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
        // A writer still at work holds the lock; one that was killed released it with its
        // life. The name must still be the file locked: a writer that finished meanwhile has
        // given it to its target.
        struct stat named {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::lstat(path.c_str(), &named) == 0 && named.st_ino == st.st_ino && named.st_dev == st.st_dev &&
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
