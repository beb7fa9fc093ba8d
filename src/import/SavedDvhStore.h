// The saved-DVH store on disk: one sub-folder per plan list, ".txt" exports with ".mod" companions.
#pragma once

#include <string>
#include <vector>

/// The names of the folders directly in `saveFolder`, sorted; empty when it cannot be read.
std::vector<std::string> StoreSubFolders(const std::string& saveFolder);

/// Full paths of the files directly in `folder` whose extension (from the last '.' of the
/// name) is exactly ".txt", letter case counting; sorted by name. Saves into the folder that a
/// kill cut short are completed or discarded first, so that each entry is listed whole.
std::vector<std::string> StoreTextFiles(const std::string& folder);
