// Enumerating the saved-DVH store.
#include "import/SavedDvhStore.h"

#include "dvh/StoreEntry.h"

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

namespace {

/// Ends the saves into `folder` that a kill cut short, found by their commit records, so that
/// the list shows each entry as its last save left it. Only "<entry>.txt.commit" can be one; an
/// entry whose save cannot be ended is listed all the same, and its opener says why. An entry
/// that another program is saving is not waited for: a list of many would wait for each in
/// turn, and its opener ends the save later.
void FinishInterruptedSaves(const std::string& folder) {
    std::vector<std::string> textFiles;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (std::string textFile = StoreTextFileOfRecord(it->path().string()); !textFile.empty())
            textFiles.push_back(std::move(textFile));
    for (const std::string& textFile : textFiles) FinishInterruptedStoreSave(textFile, platform::LockWait::None);
}

}  // namespace

std::vector<std::string> StoreTextFiles(const std::string& folder) {
    std::vector<std::string> paths;
    std::error_code ec;
    if (folder.empty()) return paths;
    FinishInterruptedSaves(folder);
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
