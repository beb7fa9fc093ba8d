// Moving files to the desktop trash, where the user can restore them.
#pragma once

#include <string>

namespace platform {

/// The user's trash folder: `$XDG_DATA_HOME/Trash` or `~/.local/share/Trash`.
std::string TrashFolder();

/// Moves exactly the one file `path` to the user's trash (freedesktop.org layout: the file
/// under files/ and a .trashinfo record under info/). The path is taken literally: no
/// separator inside it can make the call touch another file. Never deletes permanently:
/// if the file cannot be put into the trash it stays where it is and false is returned.
bool MoveToTrash(const std::string& path);

}  // namespace platform
