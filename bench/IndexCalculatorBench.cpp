// Speed of the index calculator: 50 index rows over 1,000 plans of 30 structures, at 8,000 and
// at 128,000 points per curve (0.01 Gy and 0.000625 Gy bins up to 80 Gy).
//
// Holding 1,000 distinct plans would take gigabytes, so the evaluation cycles over a pool of
// plans of 123 MB whatever the bins (32 plans at 8,000 points, 2 at 128,000), several times
// the last-level cache: each plan visit reads its points from memory as a batch over 1,000
// distinct plans would. bench/index_numpy.py builds the same curves from the same generator
// and answers the same rows with one np.interp call per lookup; `make bench` prints both.
#include "dvh/Workspace.h"
#include "planlist/IndexCalculator.h"
#include "planlist/IndexGridModel.h"
#include "planlist/WorkspaceIndex.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>

namespace {

constexpr int kPlans = 1000;
constexpr int kStructures = 30;
constexpr int kRows = 50;
constexpr long kPoolPoints = 256000;  // pool plans x points per curve
constexpr float kTopGy = 80;

// splitmix64: a generator that the numpy script repeats bit for bit.
struct Generator {
    std::uint64_t state;
    double Next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        return static_cast<double>(z >> 11) * 0x1.0p-53;
    }
    float Between(double lo, double hi) { return static_cast<float>(lo + (hi - lo) * Next()); }
};

// A smooth cumulative DVH falling from 100 % around `centreGy`.
DVHDatasetClass MakeStructure(const std::string& name, int points, float centreGy, float widthGy, float volumeCc) {
    DVHDatasetClass s;
    s.Name = name;
    s.PrescribedDose = 60;
    s.Volume = volumeCc;
    std::vector<DVsetClass> curve(static_cast<std::size_t>(points));
    const double bin = static_cast<double>(kTopGy) / points;
    const double first = 1.0 / (1.0 + std::exp(-static_cast<double>(centreGy) / widthGy));
    for (int i = 0; i < points; ++i) {
        DVsetClass& p = curve[static_cast<std::size_t>(i)];
        p.DoseGy = static_cast<float>(i * bin);
        p.DosePercent = static_cast<float>(static_cast<double>(p.DoseGy) / s.PrescribedDose * 100.0);
        const double f = 1.0 / (1.0 + std::exp((p.DoseGy - static_cast<double>(centreGy)) / widthGy)) / first;
        p.VolumePercent = static_cast<float>(100.0 * f);
        p.VolumeCc = static_cast<float>(volumeCc * f);
    }
    s.SetPoints(std::move(curve));
    s.MinDoseGy = std::max(0.5f, centreGy - 4 * widthGy);
    s.MaxDoseGy = centreGy + 4 * widthGy;
    s.MeanDoseGy = centreGy;
    s.MinDosePercent = s.MinDoseGy / 0.6f;
    s.MaxDosePercent = s.MaxDoseGy / 0.6f;
    s.MeanDosePercent = s.MeanDoseGy / 0.6f;
    return s;
}

int PoolSize(int points) { return static_cast<int>(std::max(1L, kPoolPoints / points)); }

Workspace& Pool(int points) {
    static std::map<int, Workspace> pools;
    Workspace& ws = pools[points];
    if (ws.PDataset.empty()) {
        Generator g{42};
        ws.PDataset.resize(static_cast<std::size_t>(PoolSize(points)));
        for (PDatasetClass& plan : ws.PDataset) {
            plan.DVHDataset.reserve(kStructures);
            plan.DVHDataset.push_back(MakeStructure("Body", points, 10, 8, 20000));
            plan.BodyIndex = 0;
            for (int k = 1; k < kStructures; ++k) {
                const float centre = g.Between(5, 70), width = g.Between(0.5, 6), volume = g.Between(5, 1500);
                plan.DVHDataset.push_back(MakeStructure("S" + std::to_string(k), points, centre, width, volume));
            }
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
    const double points = static_cast<double>(kPlans) * kRows * static_cast<double>(state.range(0));
    state.counters["per_point"] =
        benchmark::Counter(points, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The batch's path: the current plan switched to each plan in turn, rows tied by name.
void BM_IndexRowsOverPlans(benchmark::State& state) {
    Workspace& ws = Pool(static_cast<int>(state.range(0)));
    const int pool = ws.PDatasetCount();
    const PlanListNameClass& list = ws.PlanListName[0];
    double sum = 0;
    for (auto _ : state) {
        sum = 0;
        for (int p = 0; p < kPlans; ++p) {
            ws.CurrentPlanIndex = p % pool;
            const PDatasetClass& plan = ws.PDataset[ws.CurrentPlanIndex];
            for (const IndexDataClass& row : list.IndexData) {
                const int j = IndexRowStructure(ws, plan, row.Name);
                sum += CalcIndex(ws, j, row.Items, row.Value, row.ItemsCI, row.ValueCI);
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    SetCounters(state);
    state.counters["checksum"] = sum;  // the numpy script's sum of the same rows
}
BENCHMARK(BM_IndexRowsOverPlans)->Arg(8000)->Arg(128000)->Unit(benchmark::kMillisecond);

// The same rows as the grid builds them: lookup, value, texts and colours.
void BM_IndexGridOverPlans(benchmark::State& state) {
    Workspace& ws = Pool(static_cast<int>(state.range(0)));
    const int pool = ws.PDatasetCount();
    for (auto _ : state) {
        std::size_t bytes = 0;
        for (int p = 0; p < kPlans; ++p) {
            const IndexGridContent g = BuildIndexGrid(ws.PlanListName[0], &ws.PDataset[p % pool], false);
            bytes += g.Cells.back()[2].size();
        }
        benchmark::DoNotOptimize(bytes);
    }
    SetCounters(state);
}
BENCHMARK(BM_IndexGridOverPlans)->Arg(8000)->Arg(128000)->Unit(benchmark::kMillisecond);

// Levels that no segment crosses: a scan visits every point, a search does not.
void BM_IndexRowsFullScan(benchmark::State& state) {
    Workspace& ws = Pool(static_cast<int>(state.range(0)));
    const int pool = ws.PDatasetCount();
    for (auto _ : state) {
        double sum = 0;
        for (int p = 0; p < kPlans; ++p) {
            const PDatasetClass& plan = ws.PDataset[p % pool];
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
BENCHMARK(BM_IndexRowsFullScan)->Arg(8000)->Arg(128000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
