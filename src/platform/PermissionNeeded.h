// Words that tell a user whose a file or folder is and which permission it lacks for them.
#pragma once

#include <string>
#include <sys/types.h>

namespace platform {

/// A user's or group's name from the system's user database, or its number where it has none.
std::string UserName(uid_t uid);
std::string GroupName(gid_t gid);

/// "it belongs to <owner>, group <group>, mode 0755" for what is at `path` (names where the
/// system has them, else numbers), or "" when nothing can be seen there.
std::string OwnerGroupAndMode(const std::string& path);

/// Why a file or folder could not be made at `path`, the system's `error` (an errno value)
/// having said no: "<what> "<path>": <reason>". Where this user lacks a permission (EACCES),
/// the reason names the folder it was to be made in (the nearest one that exists), whose it is
/// and its mode, and what it needs: write permission for this user, and where a group may share
/// it (its group may write in it, it has the setgid bit, or it is another user's folder of a
/// group this user belongs to), write permission and the setgid bit for that group (`chmod g+ws`).
std::string CreationRefused(const std::string& what, const std::string& path, int error);

/// What this user needs to read what is at `path`, which a permission kept them from opening
/// (EACCES): where a folder on the way does not let them search it, the topmost such folder,
/// named with whose it is and its mode: "the folder "<folder>" needs read and search (execute)
/// permission for you (it belongs to ...)"; where every folder lets them through, the file itself:
/// ""<path>" needs read permission for you (...)".
std::string ReadPermissionNeeded(const std::string& path);

}  // namespace platform
