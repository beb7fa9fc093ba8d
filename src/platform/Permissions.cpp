// The permission bits of what the program makes: the user's umask, a shared folder's group.
#include "platform/Permissions.h"

#include "platform/Descriptor.h"

#include <atomic>
#include <cerrno>
#include <charconv>
#include <optional>
#include <string_view>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

/// The mask as the kernel shows it in the process status ("Umask:", since Linux 4.7), or none
/// where that line is missing. Read into a buffer of its own: nothing to allocate, nothing thrown.
std::optional<mode_t> MaskInProcessStatus() {
    const detail::Descriptor status(::open("/proc/self/status", O_RDONLY | O_CLOEXEC));
    if (!status.Open()) return std::nullopt;
    // The line comes second, well inside the first block.
    char text[4096];
    std::size_t size = 0;
    while (size < sizeof text) {
        const ssize_t n = ::read(status.Get(), text + size, sizeof text - size);
        if (n == 0) break;
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        size += static_cast<std::size_t>(n);
    }
    constexpr std::string_view kLine = "\nUmask:";
    const std::string_view all(text, size);
    const std::size_t at = all.find(kLine);
    if (at == std::string_view::npos) return std::nullopt;
    std::size_t digits = at + kLine.size();
    while (digits < size && (all[digits] == '\t' || all[digits] == ' ')) ++digits;
    unsigned mask = 0;
    const auto read = std::from_chars(all.data() + digits, all.data() + size, mask, 8);
    if (read.ec != std::errc()) return std::nullopt;
    return static_cast<mode_t>(mask & 0777);
}

/// Elsewhere umask(2) alone tells the mask, by setting one; it is read once, while the program
/// starts and no other thread makes files, and set back at once. The mask held for that moment
/// is the strictest, so that a file made meanwhile all the same is only too closed.
mode_t MaskSetAndRestored() {
    const mode_t mask = ::umask(S_IRWXG | S_IRWXO);
    ::umask(mask);
    return mask;
}

const mode_t g_maskAtStart = [] {
    const std::optional<mode_t> shown = MaskInProcessStatus();
    return shown ? *shown : MaskSetAndRestored();
}();

std::atomic<int> g_refusedModeChanges{0};

}  // namespace

mode_t UserFileMask() {
    const std::optional<mode_t> shown = MaskInProcessStatus();
    return shown ? *shown : g_maskAtStart;
}

bool SharedWithGroup(const struct stat& folder) {
    return S_ISDIR(folder.st_mode) && (folder.st_mode & S_ISGID) && (folder.st_mode & S_IWGRP);
}

mode_t NewFileMode(const struct stat& file, const struct stat& folder, mode_t mask) {
    mode_t mode = (S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP | S_IROTH | S_IWOTH) & ~mask;
    if (SharedWithGroup(folder) && file.st_gid == folder.st_gid) mode |= S_IRGRP;
    return mode;
}

mode_t ReplacedFileMode(const struct stat& file, mode_t kept, gid_t keptGroup) {
    // A set-id bit would run the saved file as its new maker, whom the old file's never named.
    kept &= ~mode_t(S_ISUID | S_ISGID | S_ISVTX);
    return file.st_gid == keptGroup ? kept : kept & ~mode_t(S_IRWXG);
}

mode_t NewFolderMode(const struct stat& made, const struct stat& parent) {
    const mode_t mode = made.st_mode & 07777;
    if (!SharedWithGroup(parent) || made.st_gid != parent.st_gid) return mode;
    return mode | S_ISGID | (parent.st_mode & S_IRWXG);
}

bool ChangeMode(int fd, mode_t mode) {
    if (const int refused = g_refusedModeChanges.load()) {
        errno = refused;
        return false;
    }
    return ::fchmod(fd, mode) == 0;
}

void SetRefusedModeChanges(int error) { g_refusedModeChanges.store(error); }

}  // namespace platform
