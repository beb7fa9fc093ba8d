// User and group names, owner, group and mode of a file in words, and what a folder needs to let a user make files.
#include "platform/PermissionNeeded.h"

#include "platform/Paths.h"
#include "platform/TemporaryFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

/// The folder that something at `path` is made in: the nearest one above it that exists.
std::string ExistingFolderOf(const std::string& path) {
    std::string folder = detail::FolderOf(path);
    while (!DirectoryExists(folder) && folder != "/" && folder != ".")
        folder = detail::FolderOf(folder);
    return folder;
}

/// The name that `lookup(buffer, size, name)`, getpwuid_r or getgrgid_r over that buffer,
/// finds, or "" where it finds none. The entry holds all its text in the buffer, a group the
/// names of all its members, so a group under a directory service may need far more than the
/// size the system suggests (`sizeHint`, a sysconf name): the buffer doubles until it fits.
template <class Lookup>
std::string NameInDatabase(Lookup lookup, int sizeHint) {
    constexpr std::size_t kFirst = 1024, kLargest = std::size_t(1) << 24;
    const long suggested = ::sysconf(sizeHint);
    std::size_t size = suggested > 0 ? std::min(static_cast<std::size_t>(suggested), kLargest) : kFirst;
    try {
        std::vector<char> buffer;
        for (;;) {
            buffer.resize(size);
            const char* name = nullptr;
            const int error = lookup(buffer.data(), buffer.size(), name);
            if (error == 0) return name ? name : "";
            if (error == EINTR) continue;
            if (error != ERANGE || size >= kLargest) return {};
            size *= 2;
        }
    } catch (const std::bad_alloc&) {
        return {};  // named by its number, as where the database has no name
    }
}

/// Whether this user is a member of the group `gid`, as their own or a further group.
bool MemberOf(gid_t gid) {
    if (::getegid() == gid) return true;
    const int count = ::getgroups(0, nullptr);
    if (count <= 0) return false;
    try {
        std::vector<gid_t> groups(static_cast<std::size_t>(count));
        const int got = ::getgroups(count, groups.data());
        return got > 0 && std::find(groups.begin(), groups.begin() + got, gid) != groups.begin() + got;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

/// Whether the folder `st` may be one that a group shares, which the advice to share it
/// (`chmod g+ws`) fits: its group may write in it, or it gives its files its group (setgid), or
/// it is another user's, of a group this user belongs to. A user's own folder that they may not
/// write in (their program folder) is none.
bool MayBeShared(const struct stat& st) {
    if (st.st_mode & (S_IWGRP | S_ISGID)) return true;
    return st.st_uid != ::geteuid() && MemberOf(st.st_gid);
}

}  // namespace

std::string UserName(uid_t uid) {
    const std::string name = NameInDatabase(
        [uid](char* buffer, std::size_t size, const char*& name) {
            passwd entry {};
            passwd* found = nullptr;
            const int error = ::getpwuid_r(uid, &entry, buffer, size, &found);
            name = found ? found->pw_name : nullptr;
            return error;
        },
        _SC_GETPW_R_SIZE_MAX);
    return name.empty() ? std::to_string(uid) : name;
}

std::string GroupName(gid_t gid) {
    const std::string name = NameInDatabase(
        [gid](char* buffer, std::size_t size, const char*& name) {
            group entry {};
            group* found = nullptr;
            const int error = ::getgrgid_r(gid, &entry, buffer, size, &found);
            name = found ? found->gr_name : nullptr;
            return error;
        },
        _SC_GETGR_R_SIZE_MAX);
    return name.empty() ? std::to_string(gid) : name;
}

std::string OwnerGroupAndMode(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return {};
    char mode[8];
    std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(st.st_mode & 07777));
    return "it belongs to " + UserName(st.st_uid) + ", group " + GroupName(st.st_gid) + ", mode " +
           mode;
}

std::string CreationRefused(const std::string& what, const std::string& path, int error) {
    const std::string refused = what + " \"" + path + "\": ";
    if (error != EACCES) return refused + std::strerror(error);
    const std::string folder = ExistingFolderOf(path);
    std::string text = refused + "the folder \"" + folder + "\" needs write permission for you";
    const std::string owner = OwnerGroupAndMode(folder);
    if (!owner.empty()) text += " (" + owner + ")";
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0 || !MayBeShared(st)) return text;
    return text + "; a folder that a group shares needs write permission and the setgid bit for "
                  "that group (chmod g+ws)";
}

std::string ReadPermissionNeeded(const std::string& path) {
    // Looked at from the top down: a folder that shuts this user out hides whether those below
    // it would let them through, and only its owner can mend it.
    std::vector<std::string> folders;
    for (std::string folder = detail::FolderOf(path);; folder = detail::FolderOf(folder)) {
        folders.push_back(folder);
        if (folder == "/" || folder == ".") break;
    }
    const auto withOwner = [](const std::string& text, const std::string& what) {
        const std::string owner = OwnerGroupAndMode(what);
        return owner.empty() ? text : text + " (" + owner + ")";
    };
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder)
        if (::faccessat(AT_FDCWD, folder->c_str(), X_OK, AT_EACCESS) != 0 && errno == EACCES)
            return withOwner("the folder \"" + *folder + "\" needs read and search (execute) permission for you",
                             *folder);
    return withOwner("\"" + path + "\" needs read permission for you", path);
}

}  // namespace platform
