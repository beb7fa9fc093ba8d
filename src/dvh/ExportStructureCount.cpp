// Workspace::ExportStructureCount: an export's structures counted by its own reader, for the
// store's opener to check a companion against.
#include "dvh/Workspace.h"

#include "dvh/ImportReaders.h"
#include "dvh/PlanExportFile.h"

std::optional<std::size_t> Workspace::ExportStructureCount(const std::string& path, int code) const {
    if (code == FileTypeBrainScan || code == FileTypeIPlan || code == FileTypeXiO)
        return m_importReaders ? m_importReaders->ExportStructureCount(path, code) : std::nullopt;
    DvhReadOptions options;
    options.FileType = code;
    options.PlanSumDoseGy = 1;  // any dose: the structures are only counted
    ParsedPlan parsed;
    if (!ReadPlanExportFile(path, options, parsed)) return std::nullopt;
    return parsed.DVHDataset.size();
}
