// The batch loader: checks of OK, decisions per ticked plan, parallel parse, commit in order.
#include "batch/BatchLoading.h"

#include "batch/BatchRecords.h"

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

BatchLoadOutcome LoadBatchPlans(Workspace& ws, const std::vector<BatchDecision>& decisions, int planListIndex,
                                int threads, const std::function<void(int done, int total)>& progress) {
    std::vector<int> entries;
    std::vector<BatchReadJob> jobs;
    for (const BatchDecision& d : decisions) {
        if (d.Action != BatchAction::Read || d.OpenFileIndex < 0 || d.OpenFileIndex >= ws.OpenFileCount()) continue;
        entries.push_back(d.OpenFileIndex);
        jobs.push_back({ws.OpenFile[d.OpenFileIndex].FilePath, ws.OpenFile[d.OpenFileIndex].FileType});
    }
    const int total = static_cast<int>(jobs.size());
    BatchParseResult parsed = ParseBatchFiles(jobs, threads, [&](int done) {
        if (progress) progress(done, total);
    });

    BatchLoadOutcome out;
    for (std::size_t i = 0; i < parsed.Plans.size(); ++i) {
        const int plan = ws.AppendPlanFromOpenFile(entries[i]);
        ws.PDataset[plan].PlanListIndex = planListIndex;
        ws.CommitParsedPlan(std::move(parsed.Plans[i]), jobs[i].FileType == FileTypePlan);
        ++out.Loaded;
        const int type = jobs[i].FileType;
        if (type == FileTypeBrainScan || type == FileTypeIPlan || type == FileTypePlanDescription)
            out.ShownPlan = plan;
    }
    if (parsed.FailedJob >= 0) {
        out.Failed = true;
        out.FailedPath = jobs[parsed.FailedJob].FilePath;
        out.Failure = parsed.Failure;
    }
    return out;
}
