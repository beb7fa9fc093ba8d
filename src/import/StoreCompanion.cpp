// Checking a saved DVH's companion against its export by their numbers of structures.
#include "import/StoreCompanion.h"

#include "dvh/DvhExportReader.h"
#include "dvh/DvhTextBlockReader.h"
#include "dvh/LineCursor.h"
#include "dvh/ReadResult.h"
#include "dvh/WorkspaceHost.h"
#include "import/BrainLabTable.h"
#include "import/XiOExport.h"

std::optional<std::size_t> ExportStructureCount(const std::string& path, int code) {
    LineCursor lines(LineFile{path});
    if (!lines.Opened()) return std::nullopt;
    DvhReadOptions options;
    options.FileType = code;
    options.PlanSumDoseGy = 1;  // any dose: the structures are only counted
    ParsedPlan parsed;
    ReadResult r;
    switch (code) {
    case FileTypePlan:
    case FileTypePlanSum:
        r = ParseDvhFile(lines, options, parsed);
        break;
    case FileTypePlanDescription:
    case FileTypePlanSumDescription:
        r = ParseDvhTextBlocks(lines, options, parsed);
        break;
    case FileTypeBrainScan:
    case FileTypeIPlan:
        r = ParseBrainLabTable(lines, parsed);
        break;
    case FileTypeXiO: {
        std::vector<std::string> names;
        if (!ParseXiONames(lines, names)) return std::nullopt;
        return names.size();
    }
    default:
        return std::nullopt;
    }
    if (!r) return std::nullopt;
    return parsed.DVHDataset.size();
}

std::optional<ModFileContent> ReadCompanionOfExport(const std::string& companion, const std::string& path,
                                                    std::optional<std::size_t> structureCount,
                                                    WorkspaceHost* host) {
    std::optional<ModFileContent> mod = ReadModFile(companion);
    if (!mod || !structureCount || mod->AliasCount() == *structureCount) return mod;
    if (host)
        host->StatusText(FileNameOf(companion) + " names " + std::to_string(mod->AliasCount()) + " structures, " +
                         FileNameOf(path) + " holds " + std::to_string(*structureCount) +
                         ": it belongs to another save, and the plan is opened without it.");
    return std::nullopt;
}
