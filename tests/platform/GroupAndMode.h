// The group and permission bits of a file or folder, as a test compares them.
#pragma once

#include <cstdio>
#include <string>
#include <sys/stat.h>

/// Group and permission bits of `path`, as "<group> <mode in octal>", or "nothing".
inline std::string GroupAndMode(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return "nothing";
    char mode[8];
    std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(st.st_mode & 07777));
    return std::to_string(st.st_gid) + " " + mode;
}
