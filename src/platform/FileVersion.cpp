// Versions of files: identities and content digests.
#include "platform/FileVersion.h"

#include "platform/Descriptor.h"
#include "platform/OpenedFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace platform {

namespace {

constexpr std::uint64_t kMultiplier1 = 0x9E3779B185EBCA87ull;
constexpr std::uint64_t kMultiplier2 = 0xC2B2AE3D27D4EB4Full;

constexpr std::uint64_t RotateLeft(std::uint64_t x, int bits) { return (x << bits) | (x >> (64 - bits)); }

/// Folds in one word: every bit of it reaches the whole state after the multiplications.
constexpr std::uint64_t Fold(std::uint64_t state, std::uint64_t word) {
    word *= kMultiplier2;
    word = RotateLeft(word, 31);
    word *= kMultiplier1;
    state ^= word;
    return RotateLeft(state, 27) * kMultiplier1 + 0x85EBCA77C2B2AE63ull;
}

/// Spreads the last state over every bit, so that digests of near contents lie far apart.
constexpr std::uint64_t Finish(std::uint64_t state) {
    state ^= state >> 33;
    state *= kMultiplier2;
    state ^= state >> 29;
    state *= 0x165667B19E3779F9ull;
    state ^= state >> 32;
    return state;
}

/// A digest that is fed the content in pieces, as it is read. Four lanes take a block of four
/// words each step, independent of each other, so that the processor works on all four at once.
class Digester {
public:
    static constexpr std::size_t kBlock = 32;

    void Add(std::string_view bytes) {
        m_length += bytes.size();
        // A block that the last piece began is completed first.
        if (m_pendingBytes > 0) {
            const std::size_t take = std::min(kBlock - m_pendingBytes, bytes.size());
            std::memcpy(m_pending + m_pendingBytes, bytes.data(), take);
            m_pendingBytes += take;
            bytes.remove_prefix(take);
            if (m_pendingBytes < kBlock) return;
            FoldBlock(m_pending);
            m_pendingBytes = 0;
        }
        while (bytes.size() >= kBlock) {
            FoldBlock(bytes.data());
            bytes.remove_prefix(kBlock);
        }
        std::memcpy(m_pending, bytes.data(), bytes.size());
        m_pendingBytes = bytes.size();
    }

    std::uint64_t Result() const {
        std::uint64_t lanes[4] = {m_lanes[0], m_lanes[1], m_lanes[2], m_lanes[3]};
        if (m_pendingBytes > 0) {
            char last[kBlock] = {};
            std::memcpy(last, m_pending, m_pendingBytes);
            for (int i = 0; i < 4; ++i) lanes[i] = Fold(lanes[i], Word(last + 8 * i));
        }
        std::uint64_t state = m_length * kMultiplier2;
        for (const std::uint64_t lane : lanes) state = Fold(state, lane);
        return Finish(state);
    }

private:
    static std::uint64_t Word(const char* bytes) {
        std::uint64_t word;
        std::memcpy(&word, bytes, sizeof word);
        return word;
    }
    void FoldBlock(const char* block) {
        for (int i = 0; i < 4; ++i) m_lanes[i] = Fold(m_lanes[i], Word(block + 8 * i));
    }

    std::uint64_t m_lanes[4] = {0x27D4EB2F165667C5ull, 0x9E3779B185EBCA87ull, 0x165667B19E3779F9ull,
                                0x85EBCA77C2B2AE63ull};
    std::uint64_t m_length = 0;
    char m_pending[kBlock] = {};
    std::size_t m_pendingBytes = 0;
};

}  // namespace

std::uint64_t ContentDigest(std::string_view bytes) {
    Digester digest;
    digest.Add(bytes);
    return digest.Result();
}

FileVersion VersionOf(const OpenedFile& file) {
    const detail::Descriptor fd(file.ReopenFromStart());
    if (!fd.Open()) return {};
    Digester digest;
    char buffer[1 << 17];
    for (;;) {
        const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return {};
        if (n == 0) break;
        digest.Add(std::string_view(buffer, static_cast<std::size_t>(n)));
    }
    // Written to since it was opened, the file may hold other bytes than a read of it took.
    if (IdentityOfDescriptor(fd.Get()) != file.Identity()) return {};
    return {file.Identity(), digest.Result()};
}

FileVersion VersionOfPath(const std::string& path) {
    const auto file = OpenedFile::Open(path);
    return file ? VersionOf(*file) : FileVersion{};
}

bool HoldsVersion(std::string_view bytes, const FileVersion& version) {
    return version.Known() && static_cast<long long>(bytes.size()) == version.Identity.Size &&
           ContentDigest(bytes) == version.Digest;
}

bool HoldsVersion(const OpenedFile& file, const FileVersion& version) {
    // Told by the bytes, also where the identity is the same: a time of change is kept in
    // ticks of a few milliseconds, so a rewrite of the same size right after a read may keep it.
    if (!version.Known() || file.Identity().Size != version.Identity.Size) return false;
    const FileVersion now = VersionOf(file);
    return now.Known() && now.Digest == version.Digest;
}

bool FileHoldsVersion(const std::string& path, const FileVersion& version) {
    if (!version.Known()) return false;
    const auto file = OpenedFile::Open(path);
    return file && HoldsVersion(*file, version);
}

}  // namespace platform
