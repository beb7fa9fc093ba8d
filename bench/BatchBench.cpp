// A batch of 500 one-plan exports of 30 structures x 2,000 rows (1.3 MB each): OK to results on
// 1, 2 and 4 threads, the DVH export at a 0.1 Gy step, and the 500 curves drawn.
//
// "peak/points" is the growth of the resident set during OK over the bytes of the points read.
// The exports are written once into a temporary folder (about 650 MB, removed at the end); the
// timed loads read them from the page cache, as a second batch over the same files would.
#include "DvhExportGenerator.h"

#include "batch/BatchEvaluation.h"
#include "batch/BatchExports.h"
#include "batch/BatchLoading.h"
#include "batch/NameMapping.h"
#include "batch/ui/TFormBatchResult.h"
#include "platform/OpenedFile.h"

#include <QApplication>
#include <QTableWidget>

#include <benchmark/benchmark.h>
#include <qcustomplot.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr int kPlans = 500;
constexpr int kStructures = 30;
constexpr int kRowsMaxCGy = 1999;  // rows 0..1999 cGy: 2,000 a structure
constexpr int kIndexRows = 40;

struct BatchFiles {
    std::filesystem::path folder;
    std::vector<OpenFileClass> entries;
    long long bytes = 0;

    BatchFiles() {
        folder = std::filesystem::temp_directory_path() / ("tessaray-batch-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        const std::string first = (folder / "template.txt").string();
        bench::GenerateExport(first, 2, kStructures, kRowsMaxCGy);
        std::string text;
        platform::ReadWholeFile(first, text);
        std::filesystem::remove(first);
        Workspace ws;
        for (int i = 0; i < kPlans; ++i) {
            // Each patient its own ID (same length), so that every file is a plan of its own.
            char id[16];
            std::snprintf(id, sizeof id, "BM-%04d", i);
            std::string copy = text;
            for (std::size_t at = copy.find("BM-0001"); at != std::string::npos && at < 200; at = copy.find("BM-0001", at + 7))
                copy.replace(at, 7, id);
            const std::string path = (folder / (std::string(id) + ".txt")).string();
            std::ofstream(path, std::ios::binary) << copy;
            bytes += static_cast<long long>(copy.size());
            ws.AppendOpenFileFromHeader(path, ws.ReadDvhHeader(path));
        }
        entries = ws.OpenFile;
    }
    ~BatchFiles() { std::filesystem::remove_all(folder); }
};

BatchFiles& Files() {
    static BatchFiles files;
    return files;
}

PlanListNameClass IndexList() {
    PlanListNameClass list;
    list.Name = "Bench";
    const int kinds[] = {0, 1, 2, 3, 4, 5, 6, 7, 9, 11, 13, 15, 16, 14};
    const float values[] = {95, 50, 2, 10, 100, 95, 20, 40, 0, 0, 0, 0, 0, 0};
    for (int r = 0; r < kIndexRows; ++r) {
        IndexDataClass row;
        char name[32];
        std::snprintf(name, sizeof name, "Structure_%03d", r % (kStructures - 1));
        row.Name = name;
        row.Items = kinds[r % 14];
        row.Value = values[r % 14];
        row.ItemsCI = 3;
        list.IndexData.push_back(row);
    }
    return list;
}

long ResidentPeakKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

void ResetResidentPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

/// A workspace with the batch listed and its plan list, as the main window holds them at OK.
void ListBatch(Workspace& ws) {
    ws.OpenFile = Files().entries;
    ws.PlanListName = {IndexList()};
}

/// OK of the plan choice and OK of the name mapping: every plan read, every index evaluated.
std::vector<BVClass> OkToResults(Workspace& ws, int threads) {
    std::vector<std::string> keys;
    for (const OpenFileClass& e : ws.OpenFile) keys.push_back(e.Key);
    int list = -1;
    CheckBatchOk(ws, true, "Bench", static_cast<int>(keys.size()), list);
    const BatchLoadOutcome loaded = LoadBatchPlans(ws, DecideBatchItems(ws, keys), list, threads);
    if (loaded.Failed) std::fprintf(stderr, "load failed: %s\n", loaded.Failure.detail.c_str());
    std::vector<int> order;
    for (const std::string& key : keys) order.push_back(ws.FindDatasetByKey(key));
    return EvaluateBatch(ws.PDataset, order, ws.PlanListName[list], NewSubstitutionTable(CommonNamesOf(ws.PlanListName[list])),
                         threads);
}

void BM_BatchOkToResults(benchmark::State& state) {
    Files();
    const int threads = static_cast<int>(state.range(0));
    double peakRatio = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto ws = std::make_unique<Workspace>();
        ListBatch(*ws);
        ResetResidentPeak();
        const long base = ResidentPeakKb();
        state.ResumeTiming();
        benchmark::DoNotOptimize(OkToResults(*ws, threads));
        state.PauseTiming();
        double points = 0;
        for (const PDatasetClass& p : ws->PDataset)
            for (const DVHDatasetClass& s : p.DVHDataset) points += static_cast<double>(s.DVset.size()) * sizeof(DVsetClass);
        // Freed arenas are reused without growing the resident set again: the first load tells.
        peakRatio = std::max(peakRatio, (ResidentPeakKb() - base) * 1024.0 / points);
        ws.reset();
        state.ResumeTiming();
    }
    state.counters["files"] = kPlans;
    state.counters["MB"] = static_cast<double>(Files().bytes) / 1e6;
    state.counters["peak/points"] = peakRatio;
}
BENCHMARK(BM_BatchOkToResults)->Arg(1)->Arg(2)->Arg(4)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

Workspace& LoadedBatch() {
    static Workspace ws;
    if (ws.PDataset.empty()) {
        ListBatch(ws);
        OkToResults(ws, 4);
    }
    return ws;
}

void BM_BatchDvhExport(benchmark::State& state) {
    Workspace& ws = LoadedBatch();
    std::vector<BatchExportPlan> plans;
    for (const PDatasetClass& p : ws.PDataset) plans.push_back({&p, 7});
    DvhExportRequest request{"Structure_007", false, 0.1, 1, DvhExportLineCount(kRowsMaxCGy / 100.0, 0.1)};
    std::size_t bytes = 0;
    for (auto _ : state) bytes = BatchDvhExportText(request, plans).size();
    state.counters["lines"] = static_cast<double>(request.Lines);
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_BatchDvhExport)->Unit(benchmark::kMillisecond);

void BM_BatchCurvesDrawn(benchmark::State& state) {
    Workspace& ws = LoadedBatch();
    TFormBatchResult result(ws);
    std::vector<int> order;
    std::vector<std::string> keys;
    for (int p = 0; p < ws.PDatasetCount(); ++p) {
        order.push_back(p);
        keys.push_back(ws.PDataset[p].Key);
    }
    result.PlanListIndex = 0;
    result.SetResults(order, keys,
                      EvaluateBatch(ws.PDataset, order, ws.PlanListName[0],
                                    NewSubstitutionTable(CommonNamesOf(ws.PlanListName[0])), 4));
    result.show();
    result.SelectedRow = 1;
    for (auto _ : state) {
        result.DrawDvhChart();
        result.Chart1->repaint();  // the frame reaches the window, not only the chart's buffer
    }
    state.counters["curves"] = result.Chart1->graphCount();
    result.close();
}
BENCHMARK(BM_BatchCurvesDrawn)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
