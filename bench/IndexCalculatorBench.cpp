// Speed of the index calculator: 50 index rows over 1,000 plans of 30 structures x 8,000 points.
//
// Holding 1,000 distinct plans of this size would take 3.8 GB, so the evaluation cycles over
// a pool of 64 distinct plans (245 MB, far beyond every cache): each plan visit reads its
// points from memory as a batch over 1,000 distinct plans would.
#include "dvh/Workspace.h"
#include "planlist/IndexCalculator.h"
#include "planlist/IndexGridModel.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <random>

namespace {

constexpr int kPlans = 1000;
constexpr int kPool = 64;
constexpr int kStructures = 30;
constexpr int kPoints = 8000;  // 0.01 Gy bins up to 80 Gy
constexpr int kRows = 50;

// A smooth cumulative DVH falling from 100 % around `centreGy`.
DVHDatasetClass MakeStructure(const std::string& name, float centreGy, float widthGy, float volumeCc) {
    DVHDatasetClass s;
    s.Name = name;
    s.PrescribedDose = 60;
    s.Volume = volumeCc;
    s.DVset.resize(kPoints);
    const double first = 1.0 / (1.0 + std::exp(-centreGy / widthGy));
    for (int i = 0; i < kPoints; ++i) {
        DVsetClass& p = s.DVset[i];
        p.DoseGy = static_cast<float>(i * 0.01);
        p.DosePercent = p.DoseGy / s.PrescribedDose * 100.0f;
        const double f = 1.0 / (1.0 + std::exp((p.DoseGy - centreGy) / widthGy)) / first;
        p.VolumePercent = static_cast<float>(100.0 * f);
        p.VolumeCc = static_cast<float>(volumeCc * f);
    }
    s.MinDoseGy = std::max(0.5f, centreGy - 4 * widthGy);
    s.MaxDoseGy = centreGy + 4 * widthGy;
    s.MeanDoseGy = centreGy;
    s.MinDosePercent = s.MinDoseGy / 0.6f;
    s.MaxDosePercent = s.MaxDoseGy / 0.6f;
    s.MeanDosePercent = s.MeanDoseGy / 0.6f;
    return s;
}

Workspace& Pool() {
    static Workspace ws;
    if (ws.PDataset.empty()) {
        std::mt19937 rng(42);
        std::uniform_real_distribution<float> centre(5, 70), width(0.5f, 6), volume(5, 1500);
        ws.PDataset.resize(kPool);
        for (PDatasetClass& plan : ws.PDataset) {
            plan.DVHDataset.reserve(kStructures);
            plan.DVHDataset.push_back(MakeStructure("Body", 10, 8, 20000));
            plan.BodyIndex = 0;
            for (int k = 1; k < kStructures; ++k)
                plan.DVHDataset.push_back(MakeStructure("S" + std::to_string(k), centre(rng),
                                                        width(rng), volume(rng)));
        }
        PlanListNameClass list;
        list.Name = "Bench";
        const int kinds[] = {0, 1, 2, 3, 4, 5, 6, 7, 1, 6, 9, 11, 13, 15, 16, 3, 7};
        const float values[] = {95, 50, 2, 10, 100, 95, 20, 40, 2, 30, 0, 0, 0, 0, 0, 0.5f, 50};
        for (int r = 0; r < kRows; ++r) {
            IndexDataClass row;
            row.Name = "S" + std::to_string(1 + r % (kStructures - 1));
            row.Items = kinds[r % 17];
            row.Value = values[r % 17];
            row.ItemsCI = 3;  // conformity at the prescribed dose
            row.ConstraintsON = true;
            row.Constraints = 50;
            list.IndexData.push_back(row);
        }
        ws.PlanListName.push_back(list);
    }
    return ws;
}

void SetCounters(benchmark::State& state) {
    const double points = static_cast<double>(kPlans) * kRows * kPoints;
    state.counters["per_point"] =
        benchmark::Counter(points, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The batch's path: the current plan switched to each plan in turn, rows tied by name.
void BM_IndexRowsOverPlans(benchmark::State& state) {
    Workspace& ws = Pool();
    const PlanListNameClass& list = ws.PlanListName[0];
    for (auto _ : state) {
        double sum = 0;
        for (int p = 0; p < kPlans; ++p) {
            ws.CurrentPlanIndex = p % kPool;
            const PDatasetClass& plan = ws.PDataset[ws.CurrentPlanIndex];
            for (const IndexDataClass& row : list.IndexData) {
                const int j = ws.IndexRowStructure(plan, row.Name);
                sum += ws.CalcIndex(j, row.Items, row.Value, row.ItemsCI, row.ValueCI);
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    SetCounters(state);
}
BENCHMARK(BM_IndexRowsOverPlans)->Unit(benchmark::kMillisecond);

// The same rows as the grid builds them: lookup, value, texts and colours.
void BM_IndexGridOverPlans(benchmark::State& state) {
    Workspace& ws = Pool();
    for (auto _ : state) {
        std::size_t bytes = 0;
        for (int p = 0; p < kPlans; ++p) {
            const IndexGridContent g = BuildIndexGrid(ws.PlanListName[0], &ws.PDataset[p % kPool], false);
            bytes += g.Cells.back()[2].size();
        }
        benchmark::DoNotOptimize(bytes);
    }
    SetCounters(state);
}
BENCHMARK(BM_IndexGridOverPlans)->Unit(benchmark::kMillisecond);

// Worst case: levels that no segment crosses, so every row scans all of its points.
void BM_IndexRowsFullScan(benchmark::State& state) {
    Workspace& ws = Pool();
    for (auto _ : state) {
        double sum = 0;
        for (int p = 0; p < kPlans; ++p) {
            const PDatasetClass& plan = ws.PDataset[p % kPool];
            for (int r = 0; r < kRows; ++r) {
                const int j = 1 + r % (kStructures - 1);
                // D at 0 % and V at 90 Gy: no crossing anywhere on the curve.
                sum += CalcPlanIndex(plan, j, r % 2 ? 1 : 6, r % 2 ? 0.0f : 90.0f, 0, 0);
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    SetCounters(state);
}
BENCHMARK(BM_IndexRowsFullScan)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
