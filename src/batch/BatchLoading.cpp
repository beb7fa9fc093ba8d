// The batch loader: checks of OK, decisions per ticked plan, parallel parse, commit in order.
#include "batch/BatchLoading.h"

#include "batch/BatchRecords.h"
#include "dvh/ReadGuard.h"

#include <unordered_set>

BatchOkCheck CheckBatchOk(const Workspace& ws, bool listChosen, const std::string& listName, int ticked,
                          int& planListIndex) {
    planListIndex = -1;
    if (!listChosen || ticked <= 0) return BatchOkCheck::NoPlan;
    if (ticked > kBatchPlanLimit) return BatchOkCheck::TooMany;
    for (int i = ws.PlanListNameCount() - 1; i >= 0; --i)
        if (ws.PlanListName[i].Name == listName) {
            planListIndex = i;
            return BatchOkCheck::Ok;
        }
    return BatchOkCheck::NoPlanList;
}

std::vector<BatchDecision> DecideBatchItems(const Workspace& ws, const std::vector<std::string>& tickedKeys) {
    std::vector<BatchDecision> out;
    out.reserve(tickedKeys.size());
    std::unordered_set<std::string> readHere;  // keys an earlier item reads
    for (const std::string& key : tickedKeys) {
        BatchDecision d;
        if (const int plan = ws.FindDatasetByKey(key); plan >= 0) {
            d.Action = BatchAction::Reuse;
            d.PlanIndex = plan;
        } else if (readHere.count(key)) {
            d.Action = BatchAction::Reuse;
        } else if (const int entry = ws.FindOpenFileByKey(key); entry < 0) {
            d.Action = BatchAction::Gone;
        } else {
            switch (ws.OpenFile[entry].FileType) {
            case FileTypePlanSum:
            case FileTypeSeveralPlans:
            case FileTypePlanSumDescription:
            case FileTypeMultiDescription:
                d.Action = BatchAction::Refuse;
                break;
            case FileTypeXiO:
                d.Action = BatchAction::StopXiO;
                break;
            default:
                d.Action = BatchAction::Read;
                d.OpenFileIndex = entry;
                readHere.insert(key);
                break;
            }
        }
        out.push_back(d);
        if (d.Action == BatchAction::StopXiO) break;
    }
    return out;
}

namespace {

/// Appends the plan of open-file entry `entry` and commits `parsed` into it, with the names and
/// version of the same read (`source`), whole or not at all: what either step throws leaves no
/// plan behind. -1, with no plan, when the file now holds another plan that is loaded already.
int CommitBatchPlan(Workspace& ws, int entry, int planListIndex, ParsedPlan&& parsed, const BatchSource& source,
                    bool learnNames) {
    const int plan = ws.AppendPlanFromOpenFile(entry);
    try {
        const std::string key = ws.OpenFile[entry].Key;
        if (!ws.TakeNamesOfRead(plan, entry, key, source.Header, ws.OpenFile[entry].FilePath)) {
            ws.RemovePlan(plan);
            return -1;
        }
        ws.PDataset[plan].PlanListIndex = planListIndex;
        ws.PDataset[plan].ExportRead = source.Version;
        // The batch reads no aliases: a save of the plan replaces no companion it finds there.
        ws.PDataset[plan].CompanionRead = CompanionVersion{};
        ws.CommitParsedPlan(std::move(parsed), learnNames);
    } catch (...) {
        ws.RemovePlan(plan);
        throw;
    }
    return plan;
}

}  // namespace

BatchLoadOutcome LoadBatchPlans(Workspace& ws, const std::vector<BatchDecision>& decisions, int planListIndex,
                                int threads, const std::function<void(int done, int total)>& progress) noexcept {
    BatchLoadOutcome out;
    // The file the load is at: a failure of the load's own names it, as a file that failed.
    const std::string* at = nullptr;
    try {
        std::vector<int> entries;
        std::vector<BatchReadJob> jobs;
        for (const BatchDecision& d : decisions) {
            if (d.Action != BatchAction::Read || d.OpenFileIndex < 0 || d.OpenFileIndex >= ws.OpenFileCount())
                continue;
            const OpenFileClass& file = ws.OpenFile[d.OpenFileIndex];
            if (!at) at = &file.FilePath;
            entries.push_back(d.OpenFileIndex);
            jobs.push_back({file.FilePath, file.FileType});
        }
        const int total = static_cast<int>(jobs.size());
        BatchParseResult parsed = ParseBatchFiles(jobs, threads, [&](int done) {
            if (progress) progress(done, total);
        });

        for (std::size_t i = 0; i < parsed.Plans.size(); ++i) {
            at = &ws.OpenFile[entries[i]].FilePath;
            const int type = jobs[i].FileType;
            const int plan = CommitBatchPlan(ws, entries[i], planListIndex, std::move(parsed.Plans[i]),
                                             parsed.Sources[i], type == FileTypePlan);
            if (plan < 0) {
                // As a file that could not be read: the plans before it stay.
                out.Failed = true;
                out.FailedPath = *at;
                out.Failure = ReadResult::Fail(ReadStatus::NotFound, 0, "it now holds another plan, loaded already");
                return out;
            }
            ++out.Loaded;
            if (type == FileTypeBrainScan || type == FileTypeIPlan || type == FileTypePlanDescription)
                out.ShownPlan = plan;
        }
        if (parsed.FailedJob >= 0 && parsed.FailedJob < total) {
            at = &ws.OpenFile[entries[parsed.FailedJob]].FilePath;
            out.Failure = std::move(parsed.Failure);
            out.Failed = true;
            out.FailedPath = *at;
        }
    } catch (...) {
        // As a file that could not be read: the plans committed before it stay, whole.
        out.Failed = true;
        out.Failure = ExceptionFailure(std::current_exception());
        try {
            if (at) out.FailedPath = *at;
        } catch (...) {
            // No memory even for the name: the failure says what happened without it.
        }
    }
    return out;
}
