// Plain reads of regular files, and files held open for later reads.
#include "platform/OpenedFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

using detail::Descriptor;

int OpenRegularFile(const std::string& path, OpenProblem* problem) {
    return OpenRegularFileAs(path, O_RDONLY | O_CLOEXEC, problem);
}

int OpenRegularFileAs(const std::string& path, int flags, OpenProblem* problem) {
    OpenProblem none;
    OpenProblem& why = problem ? *problem : none;
    why = OpenProblem::None;
    // Non-blocking, so that opening a FIFO does not wait for a writer that never comes.
    Descriptor fd(::open(path.c_str(), flags | O_NONBLOCK));
    if (!fd.Open()) {
        if (errno == ENOENT || errno == ENOTDIR)
            why = OpenProblem::Missing;
        else
            why = errno == EISDIR ? OpenProblem::Folder : OpenProblem::Unreadable;
        return -1;
    }
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        why = S_ISDIR(st.st_mode) ? OpenProblem::Folder : OpenProblem::NotRegular;
        return -1;
    }
    // Regular files never block; clear the flag so reads behave as usual.
    const int status = ::fcntl(fd.Get(), F_GETFL);
    if (status >= 0) ::fcntl(fd.Get(), F_SETFL, status & ~O_NONBLOCK);
    return fd.Release();
}

std::string OpenProblemText(OpenProblem problem) {
    switch (problem) {
        case OpenProblem::None: return {};
        case OpenProblem::Missing: return "does not exist";
        case OpenProblem::Folder: return "is a folder, not a file";
        case OpenProblem::NotRegular: return "is no regular file (a pipe or a device)";
        case OpenProblem::Unreadable: return "cannot be opened";
        case OpenProblem::TooLarge: return "is too large";
    }
    return {};
}

bool ReadWholeFile(const std::string& path, std::string& out, std::size_t maxBytes, OpenProblem* problem) {
    out.clear();
    const Descriptor fd(OpenRegularFile(path, problem));
    if (!fd.Open()) return false;
    return ReadWholeDescriptor(fd.Get(), out, maxBytes, problem);
}

bool ReadWholeDescriptor(int fd, std::string& out, std::size_t maxBytes, OpenProblem* problem) {
    out.clear();
    struct stat st {};
    if (fstat(fd, &st) != 0 || static_cast<std::size_t>(st.st_size) > maxBytes) {
        if (problem)
            *problem =
                static_cast<std::size_t>(st.st_size) > maxBytes ? OpenProblem::TooLarge : OpenProblem::Unreadable;
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
            return false;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    // A file that grew while being read is read up to its size at open; one that shrank is cut.
    out.resize(got);
    return true;
}

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
