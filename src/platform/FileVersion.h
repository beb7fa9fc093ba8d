// What a plan was read from: the identity of its export and a digest of the bytes it held.
#pragma once

#include "platform/FileIdentity.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

class OpenedFile;

/// One version of a file's content: the digest tells whether bytes read later are still those
/// read, the identity which file they were read from.
struct FileVersion {
    FileIdentity Identity;     ///< of the file as it was read; its size is the bytes digested
    std::uint64_t Digest = 0;  ///< `ContentDigest` of what it held then

    bool Known() const { return Identity.Known(); }
    bool operator==(const FileVersion&) const = default;
};

/// A 64-bit digest of `bytes` (xxHash's XXH3): equal contents give equal digests; different
/// ones (a changed number, a line more or less) almost never do.
std::uint64_t ContentDigest(std::string_view bytes);

/// A `ContentDigest` fed in pieces, as a file is read: the digest of the pieces in their order
/// is that of the bytes they make together, wherever they were cut.
class ContentDigester {
public:
    /// Throws `std::bad_alloc` when there is no memory for its state.
    ContentDigester();
    ~ContentDigester();
    ContentDigester(const ContentDigester&) = delete;
    ContentDigester& operator=(const ContentDigester&) = delete;

    void Add(std::string_view bytes);
    /// The digest of every byte added so far.
    std::uint64_t Digest() const;
    /// How many bytes were added.
    long long Bytes() const { return m_bytes; }

private:
    struct State;
    std::unique_ptr<State> m_state;
    long long m_bytes = 0;
};

/// The version that one read of a file took, over all its passes (a look at the header, then the
/// reader's pass, ...): each pass that read the file to its end hands over what it read there,
/// and all of them must have read the same bytes. Unknown when none read it to the end, when
/// two read different bytes, or when any pass failed or was cut, since what the read's parts
/// took is then not one version of the file. Passes that stopped early hand over nothing.
class ReadVersion {
public:
    /// A pass that read every byte of the file: `pass` is of those bytes.
    void TakeWholePass(const FileVersion& pass);
    /// A pass whose read failed or was cut before the end.
    void TakeBrokenPass() { m_broken = true; }
    FileVersion Version() const { return m_broken ? FileVersion{} : m_version; }

private:
    FileVersion m_version;
    bool m_broken = false;
};

/// What the open regular file `fd` holds from its start: its size and `ContentDigest`, read
/// through `pread` a buffer at a time, so that neither the file's offset nor memory beyond one
/// buffer is taken. False when it cannot be read, or there is no memory for the digest (errno
/// is ENOMEM then).
bool DigestOfDescriptor(int fd, long long& size, std::uint64_t& digest) noexcept;

/// The version that `file` holds: its identity when it was opened and the digest of its bytes,
/// read through a descriptor of its own. Unknown when it cannot be read, or when it was written
/// to since it was opened, since what an earlier read of it took is then not known. A load
/// takes its version in its own read (`ReadVersion`); this reads the file again, for the
/// checks at save time that must see the file as it is now.
FileVersion VersionOf(const OpenedFile& file);

/// The version of the file at `path` now (unknown when it cannot be read).
FileVersion VersionOfPath(const std::string& path);

/// Whether `bytes`, read from a file, are the content of `version`.
bool HoldsVersion(std::string_view bytes, const FileVersion& version);

/// Whether the held `file` holds `version`: the same bytes, read again to tell, whatever moved
/// its identity (a `chmod`, a `touch`, the same bytes copied over it). False for an unknown
/// version.
bool HoldsVersion(const OpenedFile& file, const FileVersion& version);

/// What a look at whether a file holds a version found.
enum class VersionCheck {
    Holds,
    Differs,   ///< other bytes, or none: a file that cannot be read, or is missing
    NoMemory,  ///< there was no memory for the digest: nothing can be told of the file
};

/// Whether the file that has the name `path` now holds `version`, as `HoldsVersion` tells of a
/// held one; an unknown version is none.
VersionCheck CheckFileVersion(const std::string& path, const FileVersion& version);

/// Whether that check finds that it holds it.
bool FileHoldsVersion(const std::string& path, const FileVersion& version);

/// Whether the held `file` holds `version`, as `HoldsVersion` tells, and whether there was
/// memory to tell.
VersionCheck CheckHeldVersion(const OpenedFile& file, const FileVersion& version);

}  // namespace platform
