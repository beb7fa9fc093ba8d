// The OK of the batch plan choice: the checks, what each ticked plan needs, and the load.
#pragma once

#include "batch/BatchReader.h"
#include "dvh/Workspace.h"

#include <functional>
#include <string>
#include <vector>

/// Why the OK of the plan choice goes no further, before anything is read.
enum class BatchOkCheck {
    Ok,
    NoPlan,       ///< no plan list chosen or nothing ticked: "No plan are specified."
    TooMany,      ///< more than `kBatchPlanLimit` ticked: "There is not enough memory available."
    NoPlanList,   ///< no plan list has the chosen name: stops without a message
};

/// The checks of OK in their order; `planListIndex` receives the last list named `listName`.
BatchOkCheck CheckBatchOk(const Workspace& ws, bool listChosen, const std::string& listName, int ticked,
                          int& planListIndex);

/// What loading does with one ticked item.
enum class BatchAction {
    Reuse,    ///< its plan is loaded (or read for an earlier item of the same key): nothing read
    Refuse,   ///< a plan sum or a multi-plan export: unticked, the refusal noted
    StopXiO,  ///< an XiO export: unticked, loading stops here
    Read,     ///< read its file into a new plan
    Gone,     ///< no open-file entry has its key any more: unticked, nothing read
};

struct BatchDecision {
    BatchAction Action = BatchAction::Gone;
    /// The loaded plan a `Reuse` takes (-1 when an earlier item of the same key reads it).
    int PlanIndex = -1;
    /// The open-file entry a `Read` reads.
    int OpenFileIndex = -1;
};

/// Decides every ticked item in list order from its dataset key, before anything is read. The
/// list ends at the first XiO export (its decision included): the items after it are not
/// decided, as loading stops there.
std::vector<BatchDecision> DecideBatchItems(const Workspace& ws, const std::vector<std::string>& tickedKeys);

/// How loading ended.
struct BatchLoadOutcome {
    /// Plans appended to `PDataset`.
    int Loaded = 0;
    /// A file that could not be read: loading stopped there, the plans before it stay.
    bool Failed = false;
    std::string FailedPath;
    ReadResult Failure;
    /// The last plan read from a file of type 5, 6 or 12, which is then shown and drawn; -1.
    int ShownPlan = -1;
};

/// Reads the files of the `Read` decisions on up to `threads` threads and appends their plans
/// to `PDataset` in list order, linked to `planListIndex`; a one-plan export (type 2) also
/// teaches the list its structure names. A file that fails leaves no plan, and neither do the
/// files after it. `progress(done, total)` counts parsed files on the calling thread. Never
/// throws: what the load's own steps throw (no memory for its lists or for a plan's commit)
/// fails it as a file that could not be read, at the file it was at; a plan is committed whole
/// or not at all.
BatchLoadOutcome LoadBatchPlans(Workspace& ws, const std::vector<BatchDecision>& decisions, int planListIndex,
                                int threads, const std::function<void(int done, int total)>& progress = {}) noexcept;
