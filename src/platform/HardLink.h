// Second names of files, which some file systems do not give, and the seam that makes them fail.
#pragma once

#include <string>

namespace platform {

/// Gives the file `existing` the further name `name`, as link(2) does, which fails where `name`
/// is taken. Returns false with errno set when it did not.
bool HardLink(const std::string& existing, const std::string& name);

/// Whether `error`, from `HardLink`, says that the file system has no hard links at all (vfat,
/// exFAT and sshfs refuse every one so), rather than that this one could not be made.
bool HardLinksUnsupported(int error);

/// Makes every `HardLink` of the process fail with `error` before it is tried, as a file system
/// without hard links fails it; 0 lets them be made again. Tests set it; the program never does.
void SetRefusedHardLinks(int error);

}  // namespace platform
