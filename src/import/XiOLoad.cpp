// The two passes of an XiO load: the names for the XiO dialog, then the read with its answer.
#include "import/XiOLoad.h"

#include "dvh/ModFile.h"
#include "dvh/ReadGuard.h"
#include "import/XiOExport.h"
#include "platform/Paths.h"

#include <type_traits>

ReadResult ReadXiONamesFile(const std::string& path, std::vector<std::string>& names) {
    return GuardedFileRead(path, names, [&](LineCursor& lines) { return ParseXiONames(lines, names); });
}

namespace {

/// The request of the names pass of `path` for the last plan of `ws`, with the file's
/// structure `names`; what it throws is left to the guard of `ReadXiOHeader`.
XiOLoadRequest MakeXiORequest(const Workspace& ws, const std::string& path,
                              std::vector<std::string> names) {
    XiOLoadRequest request;
    const int p = ws.PDatasetCount() - 1;
    request.PlanIndex = p;
    request.Key = ws.PDataset[p].Key;
    // Outside a dialog-driven load the caller appended the plan for this read.
    request.Appended = !ws.Pending.Active || ws.Pending.Appended;
    request.FilePath = path;
    request.Names = std::move(names);
    // The curves are read from the file the names came from, and so is the companion taken
    // with it applied: neither is looked up by name again.
    if (ws.Pending.Active) request.Export = ws.Pending.Export;
    if (ws.Pending.Active && ws.Pending.Companion) {
        request.UseModFile = true;
        request.ModFilePath = ws.Pending.ModFilePath;
        request.Companion = ws.Pending.Companion;
    }
    if (ws.Pending.Active) request.CompanionRead = ws.Pending.CompanionRead;
    request.Active = true;
    return request;
}

}  // namespace

ReadResult ReadXiOHeader(Workspace& ws, const std::string& path) noexcept {
    // Taking a request whole cannot fail: a request is only ever there complete, or not at all.
    static_assert(std::is_nothrow_move_assignable_v<XiOLoadRequest>);
    ws.PendingXiO = XiOLoadRequest{};
    ReadResult r;
    try {
        if (ws.PDataset.empty()) return ReadResult::Fail(ReadStatus::NoPlan, 0, "no plan to fill");
        std::vector<std::string> names;
        r = ReadXiONamesFile(path, names);
        if (r) {
            ws.PendingXiO = MakeXiORequest(ws, path, std::move(names));
            return r;
        }
    } catch (...) {
        // As a read that failed: the memory ran out for the request, after the names were read.
        r = ExceptionFailure(std::current_exception());
    }
    try {
        if (ws.Host()) ws.Host()->StatusText(ReadFailureText(path, r));
    } catch (...) {
        // The result still says why; only the status bar goes without it.
    }
    return r;
}

int XiORequestPlanIndex(const Workspace& ws) {
    if (!ws.PendingXiO.Active) return -1;
    const int p = ws.PendingXiO.PlanIndex;
    if (p < 0 || p >= ws.PDatasetCount() || ws.PDataset[p].Key != ws.PendingXiO.Key) return -1;
    return p;
}

int HandOverPendingXiO(Workspace& ws) {
    if (!ws.LastReadResult.ok() || XiORequestPlanIndex(ws) < 0) {
        ws.PendingXiO = XiOLoadRequest{};
        ws.CancelPendingLoad();
        return -1;
    }
    ws.Pending = PendingLoad{};
    // The plan took its identity from the list entry for the read; the dialog shows the one
    // the companion keeps.
    if (ws.PendingXiO.UseModFile && ws.PendingXiO.Companion)
        ApplyModHeader(ws.PDataset[ws.PendingXiO.PlanIndex], *ws.PendingXiO.Companion);
    return ws.PendingXiO.PlanIndex;
}

namespace {

/// Reads the export into plan `p` of `ws`; the plan changes only when the whole read succeeded.
ReadResult ReadXiOInto(Workspace& ws, int p, const std::string& path, float doseGy) {
    ParsedPlan parsed;
    ReadResult r;
    {
        // Shown from the start and closed after the last block, also when the read fails.
        ReadProgress progress(ws.Host());
        r = GuardedFileRead(path, parsed,
                            [&](LineCursor& lines) { return ParseXiODvh(lines, doseGy, &progress, parsed); });
    }
    if (!r) return r;
    PDatasetClass& plan = ws.PDataset[p];
    for (DVHDatasetClass& s : parsed.DVHDataset) ws.SetStructureColour(s, plan.PlanListIndex);
    plan.DVHDataset = std::move(parsed.DVHDataset);
    // The normal tissue is the dialog's choice; a file that lost blocks since cannot keep it.
    if (plan.BodyIndex >= plan.DVHDatasetCount()) plan.BodyIndex = -1;
    return r;
}

/// Never half a plan: the plan made for this load goes; one the user had keeps nothing.
void DropXiOPlan(Workspace& ws, int p, bool appended) noexcept {
    if (p < 0 || p >= ws.PDatasetCount()) return;
    if (appended) {
        ws.RemovePlan(p);
    } else {
        ws.PDataset[p].DVHDataset.clear();
        ws.PDataset[p].BodyIndex = -1;
    }
}

/// `FinishXiOLoad` for plan `p` of `request`; what it throws is left to that guard.
ReadResult FinishXiOPlan(Workspace& ws, int p, const XiOLoadRequest& request, const XiODialogAnswer& answer) {
    PDatasetClass& plan = ws.PDataset[p];
    plan.PatientName = answer.PatientName;
    plan.PatientID = answer.PatientID;
    plan.PlanName = answer.PlanName;
    plan.PlanID = answer.PlanID;
    const int list = answer.PlanListItem - 1;
    plan.PlanListIndex = list >= 0 && list < ws.PlanListNameCount() ? list : -1;
    const int body = answer.NormalTissueItem - 1;
    plan.BodyIndex = body >= 0 && body < static_cast<int>(request.Names.size()) ? body : -1;

    ReadResult r;
    platform::FileVersion read;
    {
        // The curves pass reads the export the names were read from, bound here by its path,
        // and takes the version of the bytes it read.
        const ReadThrough bound(request.FilePath, request.Export);
        r = ReadXiOInto(ws, p, request.FilePath, answer.DoseGy);
        read = bound.Version();
    }
    if (!r) {
        if (ws.Host()) ws.Host()->StatusText(ReadFailureText(request.FilePath, r));
        DropXiOPlan(ws, p, request.Appended);
        return r;
    }
    ws.PDataset[p].ExportRead = read;
    ws.PDataset[p].CompanionRead = request.CompanionRead;
    if (request.UseModFile && request.Companion) ApplyModAliases(ws.PDataset[p], *request.Companion);
    // A reload of a plan further up was read into a copy at the end: the plan takes what the
    // copy holds and keeps its place, and the copy goes, so that no key stands twice.
    for (int original = 0; original < p; ++original)
        if (ws.PDataset[original].Key == ws.PDataset[p].Key) {
            ws.PDataset[original] = std::move(ws.PDataset[p]);
            ws.RemovePlan(p);
            break;
        }
    return r;
}

}  // namespace

ReadResult FinishXiOLoad(Workspace& ws, const XiODialogAnswer& answer) noexcept {
    const int p = XiORequestPlanIndex(ws);
    const XiOLoadRequest request = std::move(ws.PendingXiO);
    ws.PendingXiO = XiOLoadRequest{};
    try {
        if (p < 0) return ReadResult::Fail(ReadStatus::NoPlan, 0, "the plan of this XiO load is gone");
        return FinishXiOPlan(ws, p, request, answer);
    } catch (...) {
        // As a read that failed, also where the memory ran out before or after the read.
        DropXiOPlan(ws, p, request.Appended);
        return ExceptionFailure(std::current_exception());
    }
}

bool CancelXiOLoad(Workspace& ws) {
    const int p = XiORequestPlanIndex(ws);
    const bool remove = p >= 0 && ws.PendingXiO.Appended && ws.PDataset[p].DVHDataset.empty();
    ws.PendingXiO = XiOLoadRequest{};
    if (remove) ws.RemovePlan(p);
    return remove;
}
