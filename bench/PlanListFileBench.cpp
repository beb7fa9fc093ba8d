// Speed of the plan-list file codec: reading and writing lists of 100 to 10,000 index rows.
#include "planlist/IndexRowCommands.h"
#include "planlist/PlanListFile.h"

#include <benchmark/benchmark.h>

namespace {

PlanListNameClass MakeList(int rows) {
    PlanListNameClass list;
    list.Name = "Bench";
    for (int i = 0; i < rows; ++i) {
        IndexDataClass r = EmptyIndexRow(255, 0, 0);
        r.Name = "Organ" + std::to_string(i / 4);
        r.Items = i % 17;
        r.Value = 0.1f * static_cast<float>(i);
        r.ConstraintsON = i % 2 == 0;
        r.Constraints = 45.5f;
        list.IndexData.push_back(r);
    }
    for (int i = 0; i < rows / 4; ++i)
        list.StructureDB.push_back({"Organ" + std::to_string(i), true, 10, 20, 30, true});
    return list;
}

void BM_WritePlanList(benchmark::State& state) {
    const PlanListNameClass list = MakeList(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        platform::IniFile ini;
        WritePlanListToIni(ini, list);
        benchmark::DoNotOptimize(ini.Text());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ReadPlanList(benchmark::State& state) {
    platform::IniFile written;
    WritePlanListToIni(written, MakeList(static_cast<int>(state.range(0))));
    const std::string text = written.Text();
    for (auto _ : state) {
        platform::IniFile ini;
        ini.Parse(text);
        benchmark::DoNotOptimize(ReadPlanListFromIni(ini, "Bench"));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(BM_WritePlanList)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPlanList)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
