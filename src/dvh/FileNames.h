// File-name rules shared by the commands that save files.
#pragma once

#include <string>
#include <string_view>

/// `path` with the extension of its last component replaced by `extension` (".bmp"); a name
/// without an extension gets it appended. Folders with dots in their names are left alone.
std::string ChangeFileExt(std::string_view path, std::string_view extension);
