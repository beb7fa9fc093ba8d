// The names of users and groups, for messages that say whose a file is.
#pragma once

#include <string>
#include <sys/types.h>

namespace platform {

/// The login name of the user `uid`, or its number where it has none.
std::string UserName(uid_t uid);
/// The name of the group `gid`, or its number where it has none.
std::string GroupName(gid_t gid);

}  // namespace platform
