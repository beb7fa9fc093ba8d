// Workspace::ExportStructureCount: an export's structures counted by its own reader, for the
// store's opener to check a companion against.
#include "dvh/Workspace.h"

#include "dvh/DvhExportReader.h"
#include "dvh/DvhTextBlockReader.h"
#include "dvh/ImportReaders.h"
#include "dvh/LineCursor.h"

std::optional<std::size_t> Workspace::ExportStructureCount(const std::string& path, int code) const {
    if (code == FileTypeBrainScan || code == FileTypeIPlan || code == FileTypeXiO)
        return m_importReaders ? m_importReaders->ExportStructureCount(path, code) : std::nullopt;
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
    default:
        return std::nullopt;
    }
    if (!r) return std::nullopt;
    return parsed.DVHDataset.size();
}
