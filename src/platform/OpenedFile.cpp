// Files held open for later reads, and their identities.
#include "platform/OpenedFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

FileIdentity IdentityOf(const struct stat& st) {
    FileIdentity id;
    id.Device = static_cast<unsigned long long>(st.st_dev);
    id.Inode = static_cast<unsigned long long>(st.st_ino);
    id.Size = static_cast<long long>(st.st_size);
    id.ChangeSeconds = static_cast<long long>(st.st_ctim.tv_sec);
    id.ChangeNanoseconds = st.st_ctim.tv_nsec;
    return id;
}

}  // namespace

FileIdentity IdentityOfPath(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return {};
    return IdentityOf(st);
}

std::shared_ptr<const OpenedFile> OpenedFile::Open(const std::string& path, OpenProblem* problem) noexcept {
    const int fd = OpenRegularFile(path, problem);
    if (fd < 0) return nullptr;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        if (problem) *problem = OpenProblem::Unreadable;
        ::close(fd);
        return nullptr;
    }
    // A holder that finds no memory holds nothing: the file counts as one that cannot be opened.
    OpenedFile* file = nullptr;
    try {
        file = new OpenedFile(fd, IdentityOf(st));
        return std::shared_ptr<const OpenedFile>(file);  // which deletes `file` when it throws
    } catch (...) {
        if (!file) ::close(fd);
    }
    if (problem) *problem = OpenProblem::Unreadable;
    return nullptr;
}

OpenedFile::~OpenedFile() { ::close(m_fd); }

int OpenedFile::ReopenFromStart() const {
    // Through /proc the new descriptor has an offset of its own, so reads of the file never
    // move each other; where /proc is missing a duplicate does, read from its start each time.
    const std::string self = "/proc/self/fd/" + std::to_string(m_fd);
    int fd = ::open(self.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd >= 0) {
        struct stat st {};
        if (::fstat(fd, &st) == 0 && st.st_dev == m_identity.Device && st.st_ino == m_identity.Inode) {
            const int flags = ::fcntl(fd, F_GETFL);
            if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
            return fd;
        }
        ::close(fd);
    }
    fd = ::fcntl(m_fd, F_DUPFD_CLOEXEC, 0);
    if (fd >= 0 && ::lseek(fd, 0, SEEK_SET) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace platform
