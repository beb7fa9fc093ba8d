// The readers the model's opener is handed for the exports the import subsystem reads.
#pragma once

#include "dvh/ReadResult.h"

#include <cstddef>
#include <optional>
#include <string>

class Workspace;

/// BrainSCAN and iPlan tables (codes 5, 6) and XiO exports (code 7) are recognised by the
/// model but read in the import subsystem above it, which the model cannot call: whoever sets
/// up a workspace hands it these readers (`InstallImportReaders`, import/ImportHandOver.h).
class ImportReaders {
public:
    virtual ~ImportReaders() = default;
    /// Reads a code 5 or 6 table into the last plan of `ws`, committing only a whole read.
    virtual ReadResult ReadBrainLabDvh(Workspace& ws, const std::string& path) const = 0;
    /// The first pass of a code 7 load: the structure names of the file for the XiO dialog.
    virtual ReadResult ReadXiOHeader(Workspace& ws, const std::string& path) const = 0;
    /// How many structures the code 5, 6 or 7 export at `path` holds, as its reader finds
    /// them; none when it cannot be read.
    virtual std::optional<std::size_t> ExportStructureCount(const std::string& path, int code) const = 0;
};
