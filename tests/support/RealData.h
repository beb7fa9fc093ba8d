// Where the real exports made by others lie: a user's clone has none, so every test that reads
// them asks here and skips when the file is absent.
#pragma once

#include <cstdlib>
#include <string>

/// The real-data folder: $TESSARAY_REALDATA when set, else the shared folder beside the clone.
inline std::string RealDataFolder() {
    const char* fromEnvironment = std::getenv("TESSARAY_REALDATA");
    return fromEnvironment && *fromEnvironment ? fromEnvironment : TESSARAY_REALDATA;
}

/// `relative` under the real-data folder, e.g. "cran+RadOnc/Jane_Doe.dvh".
inline std::string RealDataFile(const std::string& relative) { return RealDataFolder() + "/" + relative; }
