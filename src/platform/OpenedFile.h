// A file held open with what identifies it, so that later reads take that very file.
#pragma once

#include "platform/AtomicWrite.h"
#include "platform/Descriptor.h"
#include "platform/FileIdentity.h"

#include <memory>
#include <string>

namespace platform {

/// A regular file opened for reading and kept open: whatever takes its name later, this reads
/// the file that had it when it was opened.
class OpenedFile {
public:
    /// Opens `path` as `OpenRegularFile` does; none when it cannot (`problem` says why), also
    /// when there is no memory to hold it.
    static std::shared_ptr<const OpenedFile> Open(const std::string& path, OpenProblem* problem = nullptr) noexcept;

    OpenedFile(const OpenedFile&) = delete;
    OpenedFile& operator=(const OpenedFile&) = delete;

    /// A new descriptor of the file, reading from its start and closed by the caller, or -1.
    int ReopenFromStart() const;
    /// Reads the whole file from its start into `out`, as `ReadWholeFile` reads a path: false,
    /// with `out` empty and `problem` set, when it cannot be read or is larger than `maxBytes`.
    bool ReadAll(std::string& out, std::size_t maxBytes, OpenProblem* problem = nullptr) const;
    const FileIdentity& Identity() const { return m_identity; }

private:
    OpenedFile(detail::Descriptor fd, const FileIdentity& identity) : m_fd(std::move(fd)), m_identity(identity) {}
    detail::Descriptor m_fd;
    FileIdentity m_identity;
};

}  // namespace platform
