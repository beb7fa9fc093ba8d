// Throughput of the BrainSCAN/iPlan table reader and the XiO reader on generated 300-structure
// files (table: 1,001 rows of 1 %; XiO: 8,000 bins per structure), compared with `wc -l`.
#include "dvh/LineCursor.h"
#include "import/BrainLabTable.h"
#include "import/XiOExport.h"

#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr int kStructures = 300;

std::string g_table;
std::string g_xio;

std::string Folder() {
    const auto dir = std::filesystem::temp_directory_path() / "tessaray-bench";
    std::filesystem::create_directories(dir);
    return dir.string();
}

/// A table file of `kStructures` curves falling smoothly over 1,001 rows.
std::string WriteTable() {
    PDatasetClass plan;
    plan.PatientName = "Bench";
    plan.PatientID = "B1";
    plan.Date = "2024/01/01";
    plan.Time = "12:00:00";
    plan.PlanName = "Bench";
    plan.PlanID = "B";
    plan.FileType = FileTypeBrainScan;
    for (int k = 0; k < kStructures; ++k) {
        DVHDatasetClass s;
        s.Name = "Structure " + std::to_string(k);
        s.PrescribedDose = 60;
        s.Volume = 10.0f + k;
        std::vector<DVsetClass> points;
        for (int i = 0; i <= 1000; ++i) {
            const float v = 100.0f / (1.0f + std::exp((i - 100.0f - k % 50) / (3.0f + k % 7)));
            points.push_back({float(i), 0.6f * i, v, v * s.Volume * 0.01f});
        }
        s.SetPoints(std::move(points));
        plan.DVHDataset.push_back(std::move(s));
    }
    const std::string path = Folder() + "/import_table.txt";
    std::ofstream(path, std::ios::binary) << BrainLabTableText(plan);
    return path;
}

/// An XiO export of `kStructures` blocks of 8,000 bins of 1 cGy.
std::string WriteXiO() {
    const std::string path = Folder() + "/import_xio.txt";
    std::ofstream out(path, std::ios::binary);
    char row[64];
    for (int k = 0; k < kStructures; ++k) {
        out << "XiO Dose Volume Histogram\r\nB1\r\nBench\r\nStructure " << k << "\r\n-\r\n8000\tbins\r\n2024-01-01\r\n-\r\n";
        for (int b = 0; b < 8000; ++b) {
            const double bin = 0.05 * std::exp(-std::abs(b - 6000 - 10 * (k % 30)) / (50.0 + k % 11));
            std::snprintf(row, sizeof row, "%d, %.4f\r\n", b, bin);
            out << row;
        }
    }
    return path;
}

ReadResult ReadTable(ParsedPlan& plan) {
    LineCursor lines(LineFile{g_table});
    return ParseBrainLabTable(lines, plan);
}

ReadResult ReadXiO(ParsedPlan& plan) {
    LineCursor lines(LineFile{g_xio});
    return ParseXiODvh(lines, 60.0f, nullptr, plan);
}

void BM_ReadImport(benchmark::State& state) {
    const bool xio = state.range(0) == 7;
    for (auto _ : state) {
        // Freeing the plan is closing a plan, not reading one: it stays out of the time.
        state.PauseTiming();
        ParsedPlan plan;
        state.ResumeTiming();
        const ReadResult r = xio ? ReadXiO(plan) : ReadTable(plan);
        if (!r) state.SkipWithError(r.detail.c_str());
        benchmark::DoNotOptimize(plan.DVHDataset.data());
        state.PauseTiming();
        plan = ParsedPlan{};
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<long long>(std::filesystem::file_size(xio ? g_xio : g_table)));
}
BENCHMARK(BM_ReadImport)->Arg(5)->Arg(7)->Unit(benchmark::kMillisecond)->MinTime(1.0);

template <class F>
double BestSeconds(int runs, F f) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    return best;
}

void RunWcL(const std::string& path) {
    std::fflush(stdout);  // the child must not write the parent's buffered text again
    const pid_t child = fork();
    if (child == 0) {
        std::freopen("/dev/null", "w", stdout);
        execlp("wc", "wc", "-l", path.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    if (child > 0) waitpid(child, &status, 0);
}

}  // namespace

int main(int argc, char** argv) {
    g_table = WriteTable();
    g_xio = WriteXiO();
    for (const bool xio : {false, true}) {
        const std::string& path = xio ? g_xio : g_table;
        const double mb = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
        double read = 1e9;
        for (int i = 0; i < 7; ++i) {
            ParsedPlan plan;
            const auto t0 = std::chrono::steady_clock::now();
            if (!(xio ? ReadXiO(plan) : ReadTable(plan))) std::abort();
            read = std::min(read, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
        }  // the plan is freed here, outside the time, as in BM_ReadImport
        const double wc = BestSeconds(7, [&] { RunWcL(path); });
        std::printf("%s: %.1f MB, reader %.1f ms = %.0f MB/s, wc -l %.1f ms = %.0f MB/s, reader / wc -l = %.2f\n",
                    xio ? "XiO export" : "BrainSCAN table", mb, read * 1e3, mb / read, wc * 1e3, mb / wc, read / wc);
    }
    std::fflush(stdout);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove(g_table);
    std::filesystem::remove(g_xio);
    return 0;
}
