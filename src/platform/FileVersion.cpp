// Versions of files: identities and content digests.
#include "platform/FileVersion.h"

#include "platform/Descriptor.h"
#include "platform/OpenedFile.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
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

/// A digest that is fed the content in pieces, as it is read.
class Digester {
public:
    void Add(std::string_view bytes) {
        m_length += bytes.size();
        // A word that the last piece began is completed first.
        while (m_pendingBytes > 0 && m_pendingBytes < 8 && !bytes.empty()) {
            m_pending[m_pendingBytes++] = bytes.front();
            bytes.remove_prefix(1);
        }
        if (m_pendingBytes == 8) {
            m_state = Fold(m_state, Word(m_pending));
            m_pendingBytes = 0;
        }
        while (bytes.size() >= 8) {
            m_state = Fold(m_state, Word(bytes.data()));
            bytes.remove_prefix(8);
        }
        for (const char c : bytes) m_pending[m_pendingBytes++] = c;
    }

    std::uint64_t Result() const {
        std::uint64_t state = m_state;
        if (m_pendingBytes > 0) {
            char last[8] = {};
            std::memcpy(last, m_pending, static_cast<std::size_t>(m_pendingBytes));
            state = Fold(state, Word(last));
        }
        return Finish(state ^ (m_length * kMultiplier2));
    }

private:
    static std::uint64_t Word(const char* bytes) {
        std::uint64_t word;
        std::memcpy(&word, bytes, sizeof word);
        return word;
    }

    std::uint64_t m_state = 0x27D4EB2F165667C5ull;
    std::uint64_t m_length = 0;
    char m_pending[8] = {};
    int m_pendingBytes = 0;
};

bool Unchanged(const struct stat& st, const FileIdentity& identity) {
    return static_cast<unsigned long long>(st.st_dev) == identity.Device &&
           static_cast<unsigned long long>(st.st_ino) == identity.Inode &&
           static_cast<long long>(st.st_size) == identity.Size && st.st_ctim.tv_sec == identity.ChangeSeconds &&
           st.st_ctim.tv_nsec == identity.ChangeNanoseconds;
}

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
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return {};
        if (n == 0) break;
        digest.Add(std::string_view(buffer, static_cast<std::size_t>(n)));
    }
    // Written to since it was opened, the file may hold other bytes than a read of it took.
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0 || !Unchanged(st, file.Identity())) return {};
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
