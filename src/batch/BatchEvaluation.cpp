// The batch evaluation: one pass per plan over the list's index rows.
#include "batch/BatchEvaluation.h"

#include "batch/NameMapping.h"
#include "batch/ParallelFor.h"
#include "dvh/RoundToDigits.h"
#include "planlist/IndexCalculator.h"

#include <atomic>

std::vector<BVClass> EvaluateBatch(const std::vector<PDatasetClass>& plans, const std::vector<int>& planDatasetIndex,
                                   const PlanListNameClass& list, const std::vector<batchpro>& table, int threads,
                                   const std::function<void(int done)>& progress) {
    const std::size_t planCount = planDatasetIndex.size();
    const int rows = list.IndexDataCount();
    std::vector<BVClass> bv(static_cast<std::size_t>(rows));
    // The table entry of each row: the last one of the row's name (-1 for an empty row or a
    // name the table lacks, which resolves in no plan).
    std::vector<int> entryOfRow(static_cast<std::size_t>(rows), -1);
    for (int j = 0; j < rows; ++j) {
        const IndexDataClass& row = list.IndexData[j];
        if (row.Name.empty()) continue;
        bv[j].Value.assign(planCount, kNoBatchValue);
        bv[j].StructureIndex.assign(planCount, kNoBatchStructure);
        for (int k = static_cast<int>(table.size()) - 1; k >= 0; --k)
            if (table[k].CommonName == row.Name) {
                entryOfRow[j] = k;
                break;
            }
    }

    auto evaluatePlan = [&](int i) {
        const int p = planDatasetIndex[i];
        if (p < 0 || p >= static_cast<int>(plans.size())) return;
        const PDatasetClass& plan = plans[p];
        // Each common name is resolved once per plan, however many rows use it.
        std::vector<int> resolved(table.size(), kNoBatchStructure - 1);
        for (int j = 0; j < rows; ++j) {
            const int k = entryOfRow[j];
            if (k < 0) continue;
            if (resolved[k] == kNoBatchStructure - 1) resolved[k] = ResolveCommonName(plan, table[k]);
            const int s = resolved[k];
            bv[j].StructureIndex[i] = s;
            if (s == kNoBatchStructure || !(plan.DVHDataset[s].Volume > 0)) continue;
            const IndexDataClass& row = list.IndexData[j];
            bv[j].Value[i] = static_cast<float>(
                RoundToDigits(CalcPlanIndex(plan, s, row.Items, row.Value, row.ItemsCI, row.ValueCI), 2));
        }
    };
    std::atomic<int> done{0};
    ParallelFor(
        static_cast<int>(planCount), threads,
        [&](int i) {
            evaluatePlan(i);
            done.fetch_add(1);
        },
        [&] {
            if (progress) progress(done.load());
        });
    return bv;
}
