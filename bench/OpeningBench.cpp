// Speed of the opening bookkeeping: scanning a read folder of 500 exports, matching plans to
// 100 plan lists, and reading a ".mod" companion of 300 structures.
#include "dvh/PlanListMatch.h"
#include "dvh/Workspace.h"
#include "dvh/ModFile.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

// A one-plan export header followed by 30 structures of 800 points: the scan reads headers
// only, so the body's size shows whether it stops reading early.
std::string Export(int n) {
    std::string text = "Patient Name         : Patient " + std::to_string(n) + "\r\n" +
                       "Patient ID           : " + std::to_string(100000 + n) + "\r\n" +
                       "Comment              : DVHs for one plan\r\n"
                       "Date                 : 01.02.2020  10:00:00\r\n"
                       "Type                 : Cumulative Dose Volume Histogram\r\n"
                       "Plan                 : Plan " + std::to_string(n) + " - P" +
                       std::to_string(n) + "\r\n\r\n\r\n";
    for (int s = 0; s < 30; ++s) {
        text += "Histogram            : P - S" + std::to_string(s) + "\r\n";
        for (int i = 0; i < 800; ++i) text += std::to_string(i * 10) + "\t100.0\t" + std::to_string(i) + "\r\n";
        text += "\r\n";
    }
    return text;
}

void BM_ScanFolderOf500Exports(benchmark::State& state) {
    const fs::path folder = fs::temp_directory_path() / ("tessaray-scan-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    for (int n = 0; n < 500; ++n) std::ofstream(folder / ("plan" + std::to_string(n) + ".txt"), std::ios::binary) << Export(n);
    Workspace ws;
    for (auto _ : state) {
        ws.ScanFolder(folder.string());
        benchmark::DoNotOptimize(ws.OpenFileCount());
    }
    if (ws.OpenFileCount() != 500) state.SkipWithError("scan did not list every export");
    fs::remove_all(folder);
}
BENCHMARK(BM_ScanFolderOf500Exports)->Unit(benchmark::kMillisecond);

void BM_MatchPlanAgainst100Lists(benchmark::State& state) {
    std::vector<PlanListNameClass> lists(100);
    for (int i = 0; i < 100; ++i) lists[i].Name = "Protocol " + std::to_string(i);
    for (auto _ : state)
        benchmark::DoNotOptimize(MatchPlanList(lists, "Head and Neck Protocol 57 boost", "HN57"));
}
BENCHMARK(BM_MatchPlanAgainst100Lists);

void BM_ReadModFileOf300Structures(benchmark::State& state) {
    std::string text = "Patient Name\tDoe\nPatient ID\t1\nPlan Name\tA\nPlan ID\tB\nPrescribed dose [cGy]\t6000\n";
    for (int k = 0; k < 300; ++k) text += std::to_string(k) + "\tAlias " + std::to_string(k) + "\n";
    PDatasetClass plan;
    plan.DVHDataset.resize(300);
    for (auto _ : state) {
        ApplyModFile(plan, ParseModFile(text));
        benchmark::DoNotOptimize(plan.DVHDataset.back().ModifiedName);
    }
}
BENCHMARK(BM_ReadModFileOf300Structures);

}  // namespace

BENCHMARK_MAIN();
