// Files held open for later reads.
#include "platform/OpenedFile.h"

#include <fcntl.h>
#include <unistd.h>

namespace platform {

std::shared_ptr<const OpenedFile> OpenedFile::Open(const std::string& path, OpenProblem* problem) noexcept {
    detail::Descriptor fd(OpenRegularFile(path, problem));
    if (!fd.Open()) return nullptr;
    const FileIdentity identity = IdentityOfDescriptor(fd.Get());
    if (identity.Known()) {
        // A holder that finds no memory holds nothing: the file counts as one that cannot be
        // opened. Either way the descriptor closes, with `fd` or with the holder.
        try {
            return std::shared_ptr<const OpenedFile>(new OpenedFile(std::move(fd), identity));
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
    if (fd.Open() && IdentityOfDescriptor(fd.Get()).SameFile(m_identity)) return fd.Release();
    fd = detail::Descriptor(::fcntl(m_fd.Get(), F_DUPFD_CLOEXEC, 0));
    if (!fd.Open() || ::lseek(fd.Get(), 0, SEEK_SET) != 0) return -1;
    return fd.Release();
}

}  // namespace platform
