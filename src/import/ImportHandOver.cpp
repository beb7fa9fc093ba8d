// Where the plan reader hands BrainSCAN, iPlan and XiO files over to their readers.
#include "import/ImportHandOver.h"

#include "dvh/ImportReaders.h"
#include "dvh/ReadGuard.h"
#include "import/BrainLabTable.h"
#include "import/XiOExport.h"
#include "import/XiOLoad.h"

ReadResult ReadBrainLabTableFile(const std::string& path, ParsedPlan& out) {
    return GuardedFileRead(path, out, [&](LineCursor& lines) { return ParseBrainLabTable(lines, out); });
}

ReadResult ReadBrainLabDvh(Workspace& ws, const std::string& path) {
    if (ws.PDataset.empty()) return ReadResult::Fail(ReadStatus::NoPlan, 0, "no plan to fill");
    ParsedPlan parsed;
    const ReadResult r = ReadBrainLabTableFile(path, parsed);
    if (!r) {
        // Never half a plan: the plan keeps no structure of a file that failed.
        ws.PDataset.back().DVHDataset.clear();
        ws.PDataset.back().BodyIndex = -1;
        if (ws.Host()) ws.Host()->StatusText(ReadFailureText(path, r));
        return r;
    }
    ws.CommitParsedPlan(std::move(parsed), false);
    return r;
}

namespace {

/// The import subsystem's readers as the model's opener is handed them.
class ImportSubsystemReaders final : public ImportReaders {
public:
    ReadResult ReadBrainLabDvh(Workspace& ws, const std::string& path) const override {
        return ::ReadBrainLabDvh(ws, path);
    }
    ReadResult ReadXiOHeader(Workspace& ws, const std::string& path) const override {
        return ::ReadXiOHeader(ws, path);
    }
    std::optional<std::size_t> ExportStructureCount(const std::string& path, int code) const override {
        if (code == FileTypeXiO) {
            std::vector<std::string> names;
            if (!ReadXiONamesFile(path, names)) return std::nullopt;
            return names.size();
        }
        if (code != FileTypeBrainScan && code != FileTypeIPlan) return std::nullopt;
        ParsedPlan parsed;
        if (!ReadBrainLabTableFile(path, parsed)) return std::nullopt;
        return parsed.DVHDataset.size();
    }
};

}  // namespace

void InstallImportReaders(Workspace& ws) {
    // Stateless: one set serves every workspace, on any thread.
    static const ImportSubsystemReaders readers;
    ws.SetImportReaders(&readers);
}
