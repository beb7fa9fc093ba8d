// What the platform's file writes, commit records and locks share about files beside their targets.
#pragma once

#include "platform/Descriptor.h"
#include "platform/FileIdentity.h"

#include <string>
#include <string_view>
#include <vector>
#include <sys/types.h>

namespace platform::detail {

/// True when `name` is that of a temporary beside a file named `targetName` (both without a
/// folder): exactly `targetName`, ".tmp-", then six letters or digits.
bool IsTemporaryOf(std::string_view name, std::string_view targetName);

/// The folder of `path` ("." for a bare name, "/" for a file in the root).
std::string FolderOf(const std::string& path);
/// `path` up to and with its last '/', for another file name of its folder to follow.
std::string FolderPrefixOf(const std::string& path);
/// Flushes the folder of `path`, so that a rename or a new name in it survives a power cut.
void SyncFolderOf(const std::string& path);

/// "<what> "<path>": <the system's reason>", from errno.
std::string SystemError(const std::string& what, const std::string& path);

/// Whose files `LockIfDead` takes.
enum class Taking {
    OwnOnly,      ///< the current user's alone: what a write clears before it begins
    Replaceable,  ///< also another user's that the folder lets this user replace (see
                  ///< `FolderLetsReplace`): what a change of shared files that a kill cut short left
};

/// Why `LockIfDead` gave no descriptor.
enum class NotDead {
    Missing,
    Protected,   ///< no regular file, or another user's that `Taking` leaves alone
    Unreadable,  ///< this user may not open it, so not lock it either
    InUse,       ///< its writer, or another program, holds its lock
};

/// Whether a folder lets `user` replace or remove a file of `fileOwner` in it: their own, or
/// any where the folder is `writable` for them (write and search permission) and either has no
/// sticky bit in `folderMode` or is theirs (`folderOwner`).
bool FolderLetsReplace(uid_t fileOwner, uid_t folderOwner, mode_t folderMode, bool writable, uid_t user);

/// Takes the lock of the file `path` when it is a regular file that `whose` allows and nobody
/// holds it (a writer at work does; one that was killed released it with its life): an
/// exclusive lock, or a shared one where the file may only be read, either of which a network
/// folder (NFS) accepts. Returns its descriptor, which holds the lock until closed, or none
/// with `why` set.
Descriptor LockIfDead(const std::string& path, Taking whose, NotDead* why = nullptr);

/// True while `path` names the open file `fd`.
bool StillNamed(const std::string& path, int fd);
/// Removes `path` only while it is still the open file `fd`: a name that another has taken
/// since stays. True when it went.
bool RemoveIfStill(const std::string& path, int fd);

/// One file of a recorded change: names in the record's folder, and the temporary's identity.
struct RecordedFile {
    std::string TemporaryName;
    std::string TargetName;
    FileIdentity Id;  ///< device and inode only, as the record holds them
};

/// A record of a change that stays at its name: its identity and the files it names.
struct KeptRecord {
    FileIdentity Id;
    std::vector<RecordedFile> Files;
};

/// What has the name `path` of the record of a change to `targets`.
enum class RecordName {
    Free,   ///< nothing
    Kept,   ///< a record of that change (`kept` receives it), which the change's next writer supersedes
    Taken,  ///< anything else: a user's file, a record of other files, a folder, one that cannot be read
};
RecordName InspectRecordName(const std::string& path, const std::vector<std::string>& targets, KeptRecord& kept);

/// The text of a commit record of `files`, in their order of renaming.
std::string CommitRecordText(const std::vector<RecordedFile>& files);

}  // namespace platform::detail
