// Evaluating every index row of a plan list for every plan of a batch.
#pragma once

#include "batch/BatchRecords.h"
#include "dvh/Records.h"

#include <functional>
#include <vector>

/// The result rows of a batch: `BV[j]` for index row j of `list`, one value per entry of
/// `planDatasetIndex` (the batch plans' indices into `plans`, in batch order; an index outside
/// `plans` is a plan gone, which has no structure). Each value is the index calculator's
/// result for the structure the row's name resolves to through `table`, rounded to 2 decimals
/// (-1 where the calculator has none); `kNoBatchValue` where no structure resolves or its
/// volume is not above 0. Plans are evaluated on up to `threads` threads; no plan is made
/// current. `progress(done)` counts evaluated plans on the calling thread; it may be empty.
std::vector<BVClass> EvaluateBatch(const std::vector<PDatasetClass>& plans, const std::vector<int>& planDatasetIndex,
                                   const PlanListNameClass& list, const std::vector<batchpro>& table, int threads,
                                   const std::function<void(int done)>& progress = {});
