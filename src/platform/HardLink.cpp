// link(2) and renameat2(RENAME_NOREPLACE) behind switches that tests turn to reach file systems without them.
#include "platform/HardLink.h"

#include "platform/FaultPoint.h"
#include "platform/Unsupported.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace platform {

namespace {

std::atomic<int> g_refused{0};
std::atomic<int> g_renamesRefused{0};

#ifndef RENAME_NOREPLACE
constexpr unsigned RENAME_NOREPLACE = 1u << 0;  // as <linux/fs.h> defines it
#endif

}  // namespace

bool HardLink(const std::string& existing, const std::string& name) {
    if (const int refused = g_refused.load()) {
        errno = refused;
        return false;
    }
    return ::link(existing.c_str(), name.c_str()) == 0;
}

// renameat2(2) itself, through the system call, which every C library reaches where older ones
// lack the function.
bool RenameNoReplace(const std::string& from, const std::string& to) {
    if (const int refused = g_renamesRefused.load()) {
        errno = refused;
        return false;
    }
#ifdef SYS_renameat2
    const long renamed = ::syscall(SYS_renameat2, AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
    return renamed == 0;
#else
    errno = ENOSYS;
    return false;
#endif
}

bool RenameToFreeName(const std::string& from, const std::string& to) {
    // Where a file another program makes meanwhile would meet this rename.
    FaultPoint("free name: taken next");
    if (RenameNoReplace(from, to)) return true;
    if (!UnsupportedHere(errno, EINVAL)) return false;
    struct stat st {};
    if (::lstat(to.c_str(), &st) == 0) {
        errno = EEXIST;
        return false;
    }
    if (errno != ENOENT) return false;
    FaultPoint("free name: taken next");
    return std::rename(from.c_str(), to.c_str()) == 0;
}

void SetRefusedHardLinks(int error) { g_refused.store(error); }

void SetRefusedNoReplaceRenames(int error) { g_renamesRefused.store(error); }

}  // namespace platform
