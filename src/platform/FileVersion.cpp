// Versions of files: identities and content digests.
#include "platform/FileVersion.h"

#include "platform/Descriptor.h"
#include "platform/OpenedFile.h"

#include <cerrno>
#include <new>
#include <optional>
#include <unistd.h>

// The state of a streamed digest is declared only for static linking: it lives in our
// own allocation (aligned as it asks), never one the library makes that could fail unseen.
#define XXH_STATIC_LINKING_ONLY
#include <xxhash.h>
#ifdef TESSARAY_XXHASH_DISPATCH
// The library's own choice of the processor's vector unit (AVX2, AVX-512), made at run time.
#include <xxh_x86dispatch.h>
#endif

namespace platform {

struct ContentDigester::State {
    XXH3_state_t xxh;
};

ContentDigester::ContentDigester() : m_state(std::make_unique<State>()) { XXH3_64bits_reset(&m_state->xxh); }

ContentDigester::~ContentDigester() = default;

void ContentDigester::Add(std::string_view bytes) {
    XXH3_64bits_update(&m_state->xxh, bytes.data(), bytes.size());
    m_bytes += static_cast<long long>(bytes.size());
}

std::uint64_t ContentDigester::Digest() const { return XXH3_64bits_digest(&m_state->xxh); }

std::uint64_t ContentDigest(std::string_view bytes) { return XXH3_64bits(bytes.data(), bytes.size()); }

void ReadVersion::TakeWholePass(const FileVersion& pass) {
    if (!pass.Known()) {
        m_broken = true;
    } else if (!m_version.Known()) {
        m_version = pass;
    } else if (pass.Digest != m_version.Digest || pass.Identity.Size != m_version.Identity.Size) {
        // The file changed between two passes: the read's parts are not of one version.
        m_broken = true;
    }
}

bool DigestOfDescriptor(int fd, long long& size, std::uint64_t& digest) noexcept {
    // Without memory for the digest the content is not known, as for a failed read.
    std::optional<ContentDigester> made;
    try {
        made.emplace();
    } catch (const std::bad_alloc&) {
        errno = ENOMEM;
        return false;
    }
    ContentDigester& digester = *made;
    char buffer[1 << 17];
    for (;;) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, static_cast<off_t>(digester.Bytes()));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) break;
        digester.Add(std::string_view(buffer, static_cast<std::size_t>(n)));
    }
    size = digester.Bytes();
    digest = digester.Digest();
    return true;
}

FileVersion VersionOf(const OpenedFile& file) {
    const detail::Descriptor fd(file.ReopenFromStart());
    if (!fd.Open()) return {};
    FileIdentity read = file.Identity();
    std::uint64_t digest = 0;
    if (!DigestOfDescriptor(fd.Get(), read.Size, digest)) return {};
    // Written to since it was opened, the file may hold other bytes than a read of it took.
    if (IdentityOfDescriptor(fd.Get()) != file.Identity()) return {};
    return {read, digest};
}

FileVersion VersionOfPath(const std::string& path) {
    const auto file = OpenedFile::Open(path);
    return file ? VersionOf(*file) : FileVersion{};
}

bool HoldsVersion(std::string_view bytes, const FileVersion& version) {
    return version.Known() && static_cast<long long>(bytes.size()) == version.Identity.Size &&
           ContentDigest(bytes) == version.Digest;
}

namespace {

/// Whether the open file `fd`, which was `opened` when it was opened, holds `version`. Told by
/// the bytes, also where the identity is the same: a time of change is kept in ticks of a few
/// milliseconds, so a rewrite of the same size right after a read may keep it.
VersionCheck CheckDescriptor(int fd, const FileIdentity& opened, const FileVersion& version) {
    if (!version.Known() || !opened.Known() || opened.Size != version.Identity.Size) return VersionCheck::Differs;
    long long size = 0;
    std::uint64_t digest = 0;
    if (!DigestOfDescriptor(fd, size, digest)) return errno == ENOMEM ? VersionCheck::NoMemory : VersionCheck::Differs;
    // Written to since it was opened, it may hold other bytes than those read.
    if (IdentityOfDescriptor(fd) != opened) return VersionCheck::Differs;
    return size == version.Identity.Size && digest == version.Digest ? VersionCheck::Holds : VersionCheck::Differs;
}

}  // namespace

VersionCheck CheckHeldVersion(const OpenedFile& file, const FileVersion& version) {
    if (!version.Known() || file.Identity().Size != version.Identity.Size) return VersionCheck::Differs;
    const detail::Descriptor fd(file.ReopenFromStart());
    return fd.Open() ? CheckDescriptor(fd.Get(), file.Identity(), version) : VersionCheck::Differs;
}

bool HoldsVersion(const OpenedFile& file, const FileVersion& version) {
    return CheckHeldVersion(file, version) == VersionCheck::Holds;
}

VersionCheck CheckFileVersion(const std::string& path, const FileVersion& version) {
    // A descriptor of its own, which needs no memory, as only the digest's state does.
    const detail::Descriptor fd(OpenRegularFile(path));
    if (!fd.Open()) return VersionCheck::Differs;
    return CheckDescriptor(fd.Get(), IdentityOfDescriptor(fd.Get()), version);
}

bool FileHoldsVersion(const std::string& path, const FileVersion& version) {
    return CheckFileVersion(path, version) == VersionCheck::Holds;
}

}  // namespace platform
