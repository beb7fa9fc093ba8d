// Workspace members that read a plan DVH export into the last plan and commit it whole.
#include "dvh/Workspace.h"

#include "dvh/ImportReaders.h"
#include "dvh/PlanExportFile.h"

#include <algorithm>
#include <random>

namespace {

TColor RandomColour() {
    static std::mt19937 draws{std::random_device{}()};
    std::uniform_int_distribution<int> channel(1, 255);
    const int r = channel(draws), g = channel(draws), b = channel(draws);
    return RgbColor(r, g, b);
}

/// Reads a plan export of `type` (2, 3, 12, 13) into the last plan of `ws`, committing on success.
ReadResult ReadPlanExport(Workspace& ws, const std::string& path, int type) {
    WorkspaceHost* host = ws.Host();
    const bool plain = type == FileTypePlan || type == FileTypePlanSum;
    if (!plain && type != FileTypePlanDescription && type != FileTypePlanSumDescription) {
        ReadProgress progress(host);  // shown and filled, as for every read
        return ReadResult::Fail(ReadStatus::UnknownFileType, 0, "no reader for file type " + std::to_string(type));
    }
    ParsedPlan parsed;
    ReadResult r;
    {
        ReadProgress progress(host);  // shown from the start, filled at the end
        DvhReadOptions options;
        options.FileType = type;
        options.PlanSumDoseGy = ws.PlanSumPrescribedDose;
        options.Progress = &progress;
        r = ReadPlanExportFile(path, options, parsed);
    }
    if (!r) {
        if (host) host->StatusText(ReadFailureText(path, r));
        return r;
    }
    const bool cutShort = parsed.LooksCutShort;
    ws.CommitParsedPlan(std::move(parsed), plain);  // only the one-plan reader teaches names
    if (cutShort && host) host->StatusText(CutShortText(path));
    return r;
}

}  // namespace

void Workspace::SetStructureColour(DVHDatasetClass& s, int planListIndex) {
    if (planListIndex < 0 || planListIndex >= PlanListNameCount()) {
        s.Color = RandomColour();
        s.Visible = true;
        return;
    }
    const StructureDBClass* match = nullptr;
    for (const StructureDBClass& entry : PlanListName[planListIndex].StructureDB)
        if (NamesEqual(s.Name, entry.Name)) match = &entry;
    if (!match) {
        s.Color = RandomColour();
        s.Visible = false;
        return;
    }
    s.Color = match->SetColor ? RgbColor(match->ColorR, match->ColorG, match->ColorB) : RandomColour();
    s.Visible = match->View;
}

void Workspace::CommitParsedPlan(ParsedPlan&& parsed, bool learnNames) {
    if (PDataset.empty()) return;
    PDatasetClass& plan = PDataset.back();
    const bool listed = plan.PlanListIndex >= 0 && plan.PlanListIndex < PlanListNameCount();
    std::vector<std::string>* names = learnNames && listed ? &PlanListName[plan.PlanListIndex].SNameDB : nullptr;
    const std::size_t known = names ? names->size() : 0;
    try {
        for (DVHDatasetClass& s : parsed.DVHDataset) {
            // A name reaches plan-list files (name store, structure entries): a stray CR in it
            // would split its key there, so it becomes a blank as soon as the name enters.
            std::replace(s.Name.begin(), s.Name.end(), '\r', ' ');
            SetStructureColour(s, plan.PlanListIndex);
            if (names && std::find(names->begin(), names->end(), s.Name) == names->end()) names->push_back(s.Name);
        }
    } catch (...) {
        // Never half a commit: the list forgets the names this plan taught it.
        if (names) names->erase(names->begin() + static_cast<std::ptrdiff_t>(known), names->end());
        throw;
    }
    plan.DVHDataset = std::move(parsed.DVHDataset);
    plan.BodyIndex = parsed.BodyIndex;
}

bool Workspace::ShowPlanAfterRead(int fileType, const ReadResult& result) {
    if (fileType == FileTypeSeveralPlans || fileType == FileTypeMultiDescription || fileType == FileTypeXiO)
        return false;
    return result.status != ReadStatus::NoPrescribedDose;
}

ReadResult Workspace::ReadDvhFile(const std::string& path) {
    // Every reader below opens `path` through a line cursor, which takes the file a caller bound
    // to that path (`ReadThrough`: the opener's held export), and the name only when none is.
    if (PDataset.empty()) return LastReadResult = ReadResult::Fail(ReadStatus::NoPlan, 0, "no plan to fill");
    const int type = PDataset.back().FileType;
    switch (type) {
    case FileTypeBrainScan:
    case FileTypeIPlan:
    case FileTypeXiO:
        if (!m_importReaders)
            return LastReadResult = ReadResult::Fail(ReadStatus::UnknownFileType, 0,
                                                     "no reader for file type " + std::to_string(type));
        return LastReadResult = type == FileTypeXiO ? m_importReaders->ReadXiOHeader(*this, path)
                                                    : m_importReaders->ReadBrainLabDvh(*this, path);
    case FileTypeSeveralPlans:
    case FileTypeMultiDescription:
        if (m_host) m_host->StatusText("Plan Comparison DVH File cannot read this program.");
        return LastReadResult = ReadResult::Fail(ReadStatus::MultiPlan, 0, "an export of several plans");
    case FileTypePlanDescription:
    case FileTypePlanSumDescription:
        return ReadDvhTextBlocks(path);
    default:
        break;
    }
    return LastReadResult = ReadPlanExport(*this, path, type);
}

ReadResult Workspace::ReadDvhTextBlocks(const std::string& path) {
    if (PDataset.empty()) return LastReadResult = ReadResult::Fail(ReadStatus::NoPlan, 0, "no plan to fill");
    const int type = PDataset.back().FileType;
    if (type != FileTypePlanDescription && type != FileTypePlanSumDescription) {
        ReadProgress progress(m_host);  // shown and filled, as for every read
        return LastReadResult = ReadResult::Fail(ReadStatus::UnknownFileType, 0,
                                                 "not an export with a description header");
    }
    return LastReadResult = ReadPlanExport(*this, path, type);
}

