// The permission bits of the files and folders the program makes, and a change of them that some file systems refuse.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

namespace platform {

/// The user's file-creation mask (umask), read without changing it, so that no other thread
/// meanwhile makes a file under a mask that is not the user's.
mode_t UserFileMask();

/// Whether a folder is shared with its group as a save folder that several users share is set
/// up (`chgrp` and `chmod g+ws`): its group may make files in it, and every file made there
/// takes that group.
bool SharedWithGroup(const struct stat& folder);

/// The permission bits of the new file `file` (its group as made) in `folder`, the user's umask
/// being `mask`: read and write as far as the mask allows; and where `folder` is shared with
/// its group (see `SharedWithGroup`) and the file has that group, read permission for the
/// group whatever the mask, so that every member may read what the others save.
mode_t NewFileMode(const struct stat& file, const struct stat& folder, mode_t mask);

/// The permission bits of the file `file` (its group as it is now) that replaces one of the bits
/// `kept` and the group `keptGroup`: the same bits where it has that group; otherwise they would
/// open the file to a group that the replaced one kept out (also that of a folder shared with
/// it, see `SharedWithGroup`, where the old file's group was narrowed by hand), and the group
/// gets none. It never takes the set-user-id, set-group-id or sticky bit of the replaced file.
mode_t ReplacedFileMode(const struct stat& file, mode_t kept, gid_t keptGroup);

/// The permission bits of the folder `made`, just made in `parent` with the bits the umask let
/// it have: where `parent` is shared with its group (see `SharedWithGroup`) and `made` has that
/// group (given or taken at its making), the setgid bit and the group's permissions in `parent`,
/// so that every member may make files in it too. Otherwise the umask's bits stand: a folder
/// that its group may write in without the setgid bit gives its files no group to share, and a
/// folder that everyone may write in (1777) is no group's.
mode_t NewFolderMode(const struct stat& made, const struct stat& parent);

/// Gives the open file `fd` the permission bits `mode`, as fchmod(2) does; false with errno set
/// when it did not; `UnsupportedHere(errno, EPERM)` where the file system keeps no such bits
/// (vfat mounted without "quiet", many FUSE file systems) rather than that the change failed:
/// the file then has what the file system gives every file.
bool ChangeMode(int fd, mode_t mode);

/// Makes every `ChangeMode` of the process fail with `error` before it is tried, as such a file
/// system fails it; 0 lets them be made again. Tests set it; the program never does.
void SetRefusedModeChanges(int error);

}  // namespace platform
