// What a plan was read from: the identity of its export and a digest of the bytes it held.
#pragma once

#include "platform/FileIdentity.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

class OpenedFile;

/// One version of a file's content: the digest tells whether bytes read later are still those
/// read, the identity which file they were read from.
struct FileVersion {
    FileIdentity Identity;     ///< of the file as it was read
    std::uint64_t Digest = 0;  ///< `ContentDigest` of what it held then

    bool Known() const { return Identity.Known(); }
    bool operator==(const FileVersion&) const = default;
};

/// A 64-bit digest of `bytes`: equal contents give equal digests; different ones (a changed
/// number, a line more or less) almost never do.
std::uint64_t ContentDigest(std::string_view bytes);

/// The version that `file` holds: its identity when it was opened and the digest of its bytes,
/// read through a descriptor of its own. Unknown when it cannot be read, or when it was written
/// to since it was opened, since what an earlier read of it took is then not known.
FileVersion VersionOf(const OpenedFile& file);

/// The version of the file at `path` now (unknown when it cannot be read).
FileVersion VersionOfPath(const std::string& path);

/// Whether `bytes`, read from a file, are the content of `version`.
bool HoldsVersion(std::string_view bytes, const FileVersion& version);

/// Whether the held `file` holds `version`: the same bytes, read again to tell, whatever moved
/// its identity (a `chmod`, a `touch`, the same bytes copied over it). False for an unknown
/// version.
bool HoldsVersion(const OpenedFile& file, const FileVersion& version);

/// The same of the file that has the name `path` now.
bool FileHoldsVersion(const std::string& path, const FileVersion& version);

}  // namespace platform
