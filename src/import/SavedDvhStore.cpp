// Enumerating the saved-DVH store.
#include "import/SavedDvhStore.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

std::vector<std::string> StoreSubFolders(const std::string& saveFolder) {
    std::vector<std::string> names;
    std::error_code ec;
    if (saveFolder.empty()) return names;
    for (fs::directory_iterator it(saveFolder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_directory(typeError)) names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> StoreTextFiles(const std::string& folder) {
    std::vector<std::string> paths;
    std::error_code ec;
    if (folder.empty()) return paths;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        // Regular files only: opening a FIFO or a device named "x.txt" to read its header
        // would wait for good.
        if (!it->is_regular_file(typeError)) continue;
        const std::string name = it->path().filename().string();
        const auto dot = name.find_last_of('.');
        if (dot == std::string::npos || name.compare(dot, std::string::npos, ".txt") != 0)
            continue;
        paths.push_back(it->path().string());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}
