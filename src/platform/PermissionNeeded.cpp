// User and group names, owner, group and mode of a file in words, and what a folder needs to let a user make files.
#include "platform/PermissionNeeded.h"

#include "platform/Paths.h"
#include "platform/TemporaryFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>

namespace platform {

namespace {

/// The folder that something at `path` is made in: the nearest one above it that exists.
std::string ExistingFolderOf(const std::string& path) {
    std::string folder = detail::FolderOf(path);
    while (!DirectoryExists(folder) && folder != "/" && folder != ".")
        folder = detail::FolderOf(folder);
    return folder;
}

}  // namespace

std::string UserName(uid_t uid) {
    char buffer[1024];
    passwd entry {};
    passwd* found = nullptr;
    if (::getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) == 0 && found) return found->pw_name;
    return std::to_string(uid);
}

std::string GroupName(gid_t gid) {
    char buffer[1024];
    group entry {};
    group* found = nullptr;
    if (::getgrgid_r(gid, &entry, buffer, sizeof buffer, &found) == 0 && found) return found->gr_name;
    return std::to_string(gid);
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
    return text + "; a folder that a group shares needs write permission and the setgid bit for "
                  "that group (chmod g+ws)";
}

}  // namespace platform
