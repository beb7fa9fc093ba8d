// Names taken only where no file has them, as some file systems cannot, and the seams that fail them.
#pragma once

#include <string>

namespace platform {

/// Gives the file `existing` the further name `name`, as link(2) does, which fails where `name`
/// is taken. Returns false with errno set when it did not; `UnsupportedHere(errno, EPERM)` where
/// the file system has no hard links at all (vfat, exFAT and sshfs refuse every one so).
bool HardLink(const std::string& existing, const std::string& name);

/// Renames `from` to `to` only if no file has the name `to`, in one step, as
/// renameat2(RENAME_NOREPLACE) does; vfat and exFAT, which have no hard links, do this. Returns
/// false with errno set (EEXIST where the name is taken) when `from` kept its name;
/// `UnsupportedHere(errno, EINVAL)` where the file system or kernel cannot rename so (sshfs and
/// exFAT through FUSE say EINVAL, older kernels ENOSYS).
bool RenameNoReplace(const std::string& from, const std::string& to);

/// `RenameNoReplace`, or where the file system cannot rename so, a look at `to` right before a
/// plain rename: a file that another program makes there in between is replaced. Returns false
/// with errno set (EEXIST where the name is taken) when `from` kept its name.
bool RenameToFreeName(const std::string& from, const std::string& to);

/// Makes every `HardLink` of the process fail with `error` before it is tried, as a file system
/// without hard links fails it; 0 lets them be made again. Tests set it; the program never does.
void SetRefusedHardLinks(int error);

/// Makes every `RenameNoReplace` fail with `error` (EINVAL, as sshfs fails it, for the look and
/// rename; another for a rename that fails), as `SetRefusedHardLinks` does for hard links.
void SetRefusedNoReplaceRenames(int error);

}  // namespace platform
