// Where the program keeps its files, and facts about the machine it runs on.
#pragma once

#include <string>

namespace platform {

/// The program folder, with a trailing '/': settings, plan lists and templates live here.
/// The folder `ChooseProgramFolder` picks from the environment, created when missing.
std::string ProgramFolder();
/// `tessarayHome` when not ""; else `executableFolder` when it already holds a "Tessaray.ini"
/// (a portable install); else `xdgConfigHome`/Tessaray, or `home`/.config/Tessaray when
/// `xdgConfigHome` is "". Every result ends with '/'.
std::string ChooseProgramFolder(const std::string& tessarayHome,
                                const std::string& executableFolder,
                                const std::string& xdgConfigHome, const std::string& home);
/// The folder of the running executable, with a trailing '/'.
std::string ExecutableFolder();
/// The system temporary folder, with a trailing '/'.
std::string TempFolder();
/// The host name, or "" when it cannot be had.
std::string HostName();

bool FileExists(const std::string& path);
/// False only when nothing at all is at `path` (not even a broken link); true when something
/// is there or the system cannot tell.
bool PathMayExist(const std::string& path);
bool DirectoryExists(const std::string& path);
/// Creates a folder and its parents; true when it exists afterwards, else false with errno set.
/// Each folder it makes in a folder shared with its group (`chgrp` and `chmod g+ws`) takes that
/// sharing: the group, its permissions there and the setgid bit, so that every member may save
/// in it; elsewhere, and wherever the new folder cannot have that group (its maker is no
/// member), the user's umask decides.
bool MakeDirectories(const std::string& path);
/// The part of a path after its last '/'.
std::string FileNameOf(const std::string& path);
/// Sets or clears the owner's write permission (the read-only attribute of saved files).
bool SetReadOnly(const std::string& path, bool readOnly);
bool IsReadOnly(const std::string& path);

}  // namespace platform
