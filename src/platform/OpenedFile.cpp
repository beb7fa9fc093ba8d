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
    detail::Descriptor fd(OpenRegularFile(path, problem));
    if (!fd.Open()) return nullptr;
    struct stat st {};
    if (::fstat(fd.Get(), &st) == 0) {
        // A holder that finds no memory holds nothing: the file counts as one that cannot be
        // opened. Either way the descriptor closes, with `fd` or with the holder.
        try {
            return std::shared_ptr<const OpenedFile>(new OpenedFile(std::move(fd), IdentityOf(st)));
        } catch (...) {
        }
    }
    if (problem) *problem = OpenProblem::Unreadable;
    return nullptr;
}

int OpenedFile::ReopenFromStart() const {
    // Through /proc the new descriptor has an offset of its own, so reads of the file never
    // move each other; where /proc is missing a duplicate does, read from its start each time.
    detail::Descriptor fd(OpenRegularFile("/proc/self/fd/" + std::to_string(m_fd.Get())));
    struct stat st {};
    if (fd.Open() && ::fstat(fd.Get(), &st) == 0 && st.st_dev == m_identity.Device && st.st_ino == m_identity.Inode)
        return fd.Release();
    fd = detail::Descriptor(::fcntl(m_fd.Get(), F_DUPFD_CLOEXEC, 0));
    if (!fd.Open() || ::lseek(fd.Get(), 0, SEEK_SET) != 0) return -1;
    return fd.Release();
}

bool OpenedFile::ReadAll(std::string& out, std::size_t maxBytes, OpenProblem* problem) const {
    out.clear();
    const detail::Descriptor fd(ReopenFromStart());
    if (!fd.Open()) {
        if (problem) *problem = OpenProblem::Unreadable;
        return false;
    }
    return ReadWholeDescriptor(fd.Get(), out, maxBytes, problem);
}

}  // namespace platform
