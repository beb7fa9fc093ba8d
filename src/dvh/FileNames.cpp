// File-name rules shared by the commands that save files.
#include "dvh/FileNames.h"

std::string ChangeFileExt(std::string_view path, std::string_view extension) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    const std::size_t dot = path.rfind('.');
    std::string out(path);
    if (dot != std::string_view::npos && dot >= nameStart) out.erase(dot);
    out += extension;
    return out;
}
