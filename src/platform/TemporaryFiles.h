// What the platform's file writes, commit records and locks share about files beside their targets.
#pragma once

#include "platform/Descriptor.h"
#include "platform/FileIdentity.h"
#include "platform/OpenedFile.h"

#include <cstdint>
#include <optional>
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
void SyncFolderOf(const std::string& path) noexcept;

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

/// Makes the lock file `path`, which must not exist, so that it has its final group and
/// permission before it has its name: an empty temporary beside it gets the group of a folder
/// shared with its group and read and write permission for that group (see
/// `SharedWithGroup`), else what the umask allows, and then takes the name only where no file
/// has it, by a hard link or a rename that replaces nothing. Whoever opens the name thus never
/// finds a file that their group may not write yet. Where the file system has neither (exFAT
/// through FUSE) it is made at its name exclusively and given its group and permission right
/// after, never named after a look, which two makers could pass together. Returns the file's
/// descriptor, open for reading and writing (and holding its exclusive lock already where it
/// was named from its temporary), or none with errno set: EEXIST where another made the lock
/// file meanwhile.
Descriptor MakeLockFile(const std::string& path);

/// Gives the lock file `path`, open as `fd`, what `MakeLockFile` gives a new one where it lacks
/// that: one made at its name keeps the bits of its making should its maker be killed before it
/// had its group and permission, or should the change fail, and would shut the other members
/// of a folder shared with its group out for good. Only its owner can change it, and only
/// permissions are added, never taken away.
void MendLockFile(const std::string& path, int fd);

/// True while `path` names the open file `fd`.
bool StillNamed(const std::string& path, int fd);
/// Removes `path` only while it is still the open file `fd`: a name that another has taken
/// since stays. True when it went.
bool RemoveIfStill(const std::string& path, int fd);

/// What a file holds, told apart from any other content by its size and `ContentDigest`.
struct FileContent {
    long long Size = 0;
    std::uint64_t Digest = 0;
    bool operator==(const FileContent&) const = default;
};

/// The content `bytes`.
FileContent ContentOf(std::string_view bytes);
/// The content of the regular file `path`, read a buffer at a time; none when it cannot be read
/// (`problem` says why).
std::optional<FileContent> ContentOfFile(const std::string& path, OpenProblem* problem);

/// One file of a recorded change: names in the record's folder, and what tells its files.
struct RecordedFile {
    std::string TemporaryName;
    std::string TargetName;
    FileContent New;                 ///< what the temporary holds, for the target to hold
    std::optional<FileContent> Old;  ///< what the target held before; none where no file had its name
    FileIdentity Id;                 ///< an older build's record: the temporary's device and inode only
};

/// What a record says of its change.
struct RecordedChange {
    std::vector<RecordedFile> Files;  ///< in their order of renaming
    /// Empty, or the change superseded the record of one that left the files part new, part
    /// old, and this is the target whose new file that one missed: until a file of this change
    /// takes its name, they are still so.
    std::string LeftPartNew;
    /// Written by an older build, which tells the temporaries by device and inode alone: a
    /// copy of the folder, or a file system that numbers its files anew, loses that.
    bool ByInode = false;
};

/// A record of a change that stays at its name: its identity and what it says.
struct KeptRecord {
    FileIdentity Id;
    RecordedChange Change;
};

/// What has the name `path` of the record of a change to `targets`.
enum class RecordName {
    Free,   ///< nothing
    Kept,   ///< a record of that change (`kept` receives it), which the change's next writer supersedes
    Taken,  ///< anything else: a user's file, a record of other files, a folder, one that cannot be read
};
RecordName InspectRecordName(const std::string& path, const std::vector<std::string>& targets, KeptRecord& kept);

/// The text of a commit record of `change`.
std::string CommitRecordText(const RecordedChange& change);

/// The target whose new file the change `kept`, whose record is `recordPath`, misses when it
/// left its files part new, part old, as they are now; empty when they are one change's. What
/// cannot be told counts as part new. Reads the files: only for a record that is superseded.
std::string PartNewTargetOf(const std::string& recordPath, const RecordedChange& kept);

}  // namespace platform::detail
