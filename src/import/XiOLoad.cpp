// The two passes of an XiO load: the names for the XiO dialog, then the read with its answer.
#include "dvh/Workspace.h"

#include "dvh/LineCursor.h"
#include "dvh/ModFile.h"
#include "import/XiOExport.h"
#include "platform/Paths.h"

ReadResult Workspace::ReadXiOHeader(const std::string& path) {
    PendingXiO = XiOLoadRequest{};
    if (PDataset.empty()) return ReadResult::Fail(ReadStatus::NoPlan, 0, "no plan to fill");
    std::vector<std::string> names;
    LineCursor lines(LineFile{path});
    const ReadResult r =
        lines.Opened() ? ParseXiONames(lines, names) : ReadResult::Fail(ReadStatus::NotFound, 0, "cannot open the file");
    if (!r) {
        if (m_host) m_host->StatusText(ReadFailureText(path, r));
        return r;
    }
    const int p = PDatasetCount() - 1;
    PendingXiO.Active = true;
    PendingXiO.PlanIndex = p;
    PendingXiO.Key = PDataset[p].Key;
    // Outside a dialog-driven load the caller appended the plan for this read.
    PendingXiO.Appended = !Pending.Active || Pending.Appended;
    PendingXiO.FilePath = path;
    PendingXiO.Names = std::move(names);
    if (Pending.Active && !Pending.XiOModFilePath.empty()) {
        PendingXiO.UseModFile = true;
        PendingXiO.ModFilePath = Pending.XiOModFilePath;
        PendingXiO.ModDoseText = Pending.XiOModDoseText;
    }
    return r;
}

int Workspace::XiORequestPlanIndex() const {
    if (!PendingXiO.Active) return -1;
    const int p = PendingXiO.PlanIndex;
    if (p < 0 || p >= PDatasetCount() || PDataset[p].Key != PendingXiO.Key) return -1;
    return p;
}

int Workspace::HandOverPendingXiO() {
    if (!LastReadResult.ok() || XiORequestPlanIndex() < 0) {
        PendingXiO = XiOLoadRequest{};
        CancelPendingLoad();
        return -1;
    }
    Pending = PendingLoad{};
    // The plan took its identity from the list entry for the read; the dialog shows the one
    // the companion keeps.
    if (PendingXiO.UseModFile)
        if (const auto mod = ReadModFile(PendingXiO.ModFilePath)) ApplyModHeader(PDataset[PendingXiO.PlanIndex], *mod);
    return PendingXiO.PlanIndex;
}

namespace {

/// Reads the export into plan `p` of `ws`; the plan changes only when the whole read succeeded.
ReadResult ReadXiOInto(Workspace& ws, int p, const std::string& path, float doseGy) {
    ParsedPlan parsed;
    ReadResult r;
    {
        // Shown from the start and closed after the last block, also when the read fails.
        ReadProgress progress(ws.Host());
        LineCursor lines(LineFile{path});
        r = lines.Opened() ? ParseXiODvh(lines, doseGy, &progress, parsed)
                           : ReadResult::Fail(ReadStatus::NotFound, 0, "cannot open the file");
    }
    if (!r) return r;
    PDatasetClass& plan = ws.PDataset[p];
    for (DVHDatasetClass& s : parsed.DVHDataset) ws.SetStructureColour(s, plan.PlanListIndex);
    plan.DVHDataset = std::move(parsed.DVHDataset);
    // The normal tissue is the dialog's choice; a file that lost blocks since cannot keep it.
    if (plan.BodyIndex >= plan.DVHDatasetCount()) plan.BodyIndex = -1;
    return r;
}

}  // namespace

ReadResult Workspace::ReadXiODvh(const std::string& path, float doseGy) {
    if (PDataset.empty()) return ReadResult::Fail(ReadStatus::NoPlan, 0, "no plan to fill");
    return ReadXiOInto(*this, PDatasetCount() - 1, path, doseGy);
}

ReadResult Workspace::FinishXiOLoad(const XiODialogAnswer& answer) {
    const int p = XiORequestPlanIndex();
    const XiOLoadRequest request = std::move(PendingXiO);
    PendingXiO = XiOLoadRequest{};
    if (p < 0) return ReadResult::Fail(ReadStatus::NoPlan, 0, "the plan of this XiO load is gone");

    PDatasetClass& plan = PDataset[p];
    plan.PatientName = answer.PatientName;
    plan.PatientID = answer.PatientID;
    plan.PlanName = answer.PlanName;
    plan.PlanID = answer.PlanID;
    const int list = answer.PlanListItem - 1;
    plan.PlanListIndex = list >= 0 && list < PlanListNameCount() ? list : -1;
    const int body = answer.NormalTissueItem - 1;
    plan.BodyIndex = body >= 0 && body < static_cast<int>(request.Names.size()) ? body : -1;

    const ReadResult r = ReadXiOInto(*this, p, request.FilePath, answer.DoseGy);
    if (!r) {
        if (m_host) m_host->StatusText(ReadFailureText(request.FilePath, r));
        // Never half a plan: the plan made for this load goes; one the user had keeps nothing.
        if (request.Appended) {
            RemovePlan(p);
        } else {
            PDataset[p].DVHDataset.clear();
            PDataset[p].BodyIndex = -1;
        }
        return r;
    }
    if (request.UseModFile && platform::FileExists(request.ModFilePath))
        if (const auto mod = ReadModFile(request.ModFilePath)) ApplyModAliases(PDataset[p], *mod);
    // A reload of a plan further up was read into a copy at the end: the plan takes what the
    // copy holds and keeps its place, and the copy goes, so that no key stands twice.
    for (int original = 0; original < p; ++original)
        if (PDataset[original].Key == PDataset[p].Key) {
            PDataset[original] = std::move(PDataset[p]);
            RemovePlan(p);
            break;
        }
    return r;
}

bool Workspace::CancelXiOLoad() {
    const int p = XiORequestPlanIndex();
    const bool remove = p >= 0 && PendingXiO.Appended && PDataset[p].DVHDataset.empty();
    PendingXiO = XiOLoadRequest{};
    if (remove) RemovePlan(p);
    return remove;
}
