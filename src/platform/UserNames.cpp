// User and group names from the system's user database, read with the re-entrant calls.
#include "platform/UserNames.h"

#include <grp.h>
#include <pwd.h>

namespace platform {

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

}  // namespace platform
