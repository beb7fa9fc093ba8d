// The ".mod" companion of a file in the saved-DVH store, taken only with the export it was
// written for.
#pragma once

#include "import/ModFile.h"

#include <cstddef>
#include <optional>
#include <string>

class WorkspaceHost;

/// How many structures the export at `path` of file type `code` holds (2, 3, 12, 13, 5, 6, 7),
/// as its reader finds them; none when it cannot be read.
std::optional<std::size_t> ExportStructureCount(const std::string& path, int code);

/// The companion `companion` of the store file `path` when it can be read and names as many
/// structures as the export holds (`structureCount`; none: not known, the companion is taken).
/// One that names another number was written with another version of the export, by a save
/// cut short between its two files: it is left out, and the host's status bar says so.
std::optional<ModFileContent> ReadCompanionOfExport(const std::string& companion, const std::string& path,
                                                    std::optional<std::size_t> structureCount,
                                                    WorkspaceHost* host);
