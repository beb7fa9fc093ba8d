// Plain reads of regular files, and a file held open so that later reads take that very file.
#pragma once

#include "platform/Descriptor.h"
#include "platform/FileIdentity.h"

#include <cstddef>
#include <memory>
#include <string>

namespace platform {

/// Why `OpenRegularFile` opened nothing.
enum class OpenProblem { None, Missing, Folder, NotRegular, Unreadable, TooLarge };

/// Opens `path` for reading only when it is a regular file: a folder, a FIFO or a device named
/// like a file is refused without ever waiting for a writer. Returns the descriptor (the
/// caller closes it), or -1 with `problem` set.
int OpenRegularFile(const std::string& path, OpenProblem* problem = nullptr);
/// Opens `path` as `OpenRegularFile` does, with the open flags `flags` (O_RDWR, O_NOFOLLOW, ...)
/// in place of O_RDONLY: never a folder, a FIFO or a device, never waiting. When the open itself
/// fails, `problem` is `Missing`, `Folder` (EISDIR) or `Unreadable`, with errno as it left it.
int OpenRegularFileAs(const std::string& path, int flags, OpenProblem* problem = nullptr);

/// Words for a problem, to follow a file's name: "is a folder, not a file", ...
std::string OpenProblemText(OpenProblem problem);

/// Reads a whole file into `out`. Returns false when it does not exist or cannot be read,
/// also when a read fails midway (then `out` is empty, never a part of the file).
/// Files larger than `maxBytes` are refused rather than read in part (`OpenProblem::TooLarge`);
/// so is anything but a regular file (`problem`, when given, says why).
bool ReadWholeFile(const std::string& path, std::string& out,
                   std::size_t maxBytes = std::size_t(1) << 31, OpenProblem* problem = nullptr);
/// Reads what the open regular file `fd` holds from where it stands, as `ReadWholeFile` does.
bool ReadWholeDescriptor(int fd, std::string& out, std::size_t maxBytes, OpenProblem* problem = nullptr);

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
