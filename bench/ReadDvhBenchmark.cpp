// Throughput and peak memory of the plan DVH readers on a 300-structure export with 1 cGy bins
// (about 2.4 million rows), compared in the same run with `wc -l` on the same file, and on a
// machine kept busy by one spinning process per processor, with the same read on one processor;
// and a whole load of the same file, header, curves and the version of the bytes read in one
// pass, against its reader alone; and the version read again, as a save's check reads it.
// `ReadDvhBenchmark --read-once CODE FILE` reads one export once, for timing a whole process.
#include "DvhExportGenerator.h"

#include "dvh/DvhExportReader.h"
#include "dvh/DvhTextBlockReader.h"
#include "dvh/LineCursor.h"
#include "dvh/Workspace.h"
#include "platform/FileVersion.h"
#include "platform/OpenedFile.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

bench::GeneratedExport g_description;  // code 12
bench::GeneratedExport g_plan;         // code 2

bench::GeneratedExport Prepare(int fileType) {
    const auto dir = std::filesystem::temp_directory_path() / "tessaray-bench";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / (fileType == 12 ? "large_description.txt" : "large_plan.txt")).string();
    // Written once per machine: the text is the same every time.
    const std::string done = path + ".complete";
    if (std::filesystem::exists(done) && std::filesystem::exists(path)) {
        bench::GeneratedExport e{path, static_cast<long long>(std::filesystem::file_size(path)), 0, 300};
        e.rows = 300LL * 8001;
        return e;
    }
    bench::GeneratedExport e = bench::GenerateExport(path, fileType);
    if (e.bytes > 0) std::ofstream(done) << "complete\n";
    return e;
}

ReadResult ReadOnce(const bench::GeneratedExport& e, int fileType, ParsedPlan& plan) {
    LineCursor lines(LineFile{e.path});
    DvhReadOptions options{fileType};
    return fileType == 12 ? ParseDvhTextBlocks(lines, options, plan) : ParseDvhFile(lines, options, plan);
}

/// One reader on its export; the argument is the file type (12: description header, 2: "Plan").
void BM_Read(benchmark::State& state) {
    const int fileType = static_cast<int>(state.range(0));
    const bench::GeneratedExport& e = fileType == 12 ? g_description : g_plan;
    for (auto _ : state) {
        // Freeing the plan before is closing a plan, not reading one: it stays out of the time.
        state.PauseTiming();
        ParsedPlan plan;
        state.ResumeTiming();
        ReadResult r = ReadOnce(e, fileType, plan);
        if (!r) state.SkipWithError(r.detail.c_str());
        benchmark::DoNotOptimize(plan.DVHDataset.data());
        state.PauseTiming();
        plan = ParsedPlan{};
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * e.bytes);
    state.counters["rows"] = static_cast<double>(e.rows);
}

/// The whole load of `BM_Read`'s export as File > Open makes it (the argument is its file type):
/// the header, the curves and the version of the bytes the reader took, digested in its own
/// pass. Against `BM_Read`, what a load costs beyond its reader.
void BM_LoadWithVersion(benchmark::State& state) {
    const bench::GeneratedExport& e = state.range(0) == 12 ? g_description : g_plan;
    for (auto _ : state) {
        // Closing the plan is left out of the time, as in BM_Read: the workspace goes after it.
        state.PauseTiming();
        auto ws = std::make_unique<Workspace>();
        state.ResumeTiming();
        const int plan = ws->LoadDvhFileHeadless(e.path, 0);
        if (plan < 0 || !ws->PDataset[plan].ExportRead.Known()) state.SkipWithError("no load, or no version");
        benchmark::DoNotOptimize(plan);
        state.PauseTiming();
        ws.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * e.bytes);
}

/// Runs `wc -l` on `path` (no shell in between, output discarded); true when it succeeded.
bool RunWcL(const std::string& path) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    std::string wc = "wc", option = "-l", file = path;
    char* args[] = {wc.data(), option.data(), file.data(), nullptr};
    pid_t child = 0;
    const bool started = posix_spawnp(&child, "wc", &actions, nullptr, args, environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return started && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

/// `wc -l` on the same export (the argument is its file type), the floor no reader can beat.
void BM_WcL(benchmark::State& state) {
    const bench::GeneratedExport& e = state.range(0) == 12 ? g_description : g_plan;
    for (auto _ : state)
        if (!RunWcL(e.path)) state.SkipWithError("wc failed");
    state.SetBytesProcessed(state.iterations() * e.bytes);
}

/// The version of the export read again (a second pass over the file, digesting its bytes), as a
/// save's check that the file still holds what the plan was read from reads it.
void BM_VersionOfRead(benchmark::State& state) {
    const bench::GeneratedExport& e = state.range(0) == 12 ? g_description : g_plan;
    const auto held = platform::OpenedFile::Open(e.path);
    if (!held) state.SkipWithError("cannot open the export");
    for (auto _ : state) {
        if (!held) break;
        benchmark::DoNotOptimize(platform::VersionOf(*held).Digest);
    }
    state.SetBytesProcessed(state.iterations() * e.bytes);
}

BENCHMARK(BM_Read)->Arg(12)->Arg(2)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LoadWithVersion)->Arg(12)->Arg(2)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_VersionOfRead)->Arg(12)->Arg(2)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_WcL)->Arg(12)->Arg(2)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

/// Pairs of a read and a `wc -l` whose median ratio is the figure to quote.
constexpr int kPairs = 21;
/// Pairs of the loaded comparison, whose reads take longer.
constexpr int kLoadedPairs = 11;

long MaxRssKiB() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

/// The reader against `wc -l` on the same export, pair by pair: each pair is one read and one
/// `wc -l` back to back, the order alternating, and its ratio is the read's time over wc's. A
/// machine whose speed drifts (other work, another core, the clock) slows both halves of a pair
/// alike, where the best of a series of each would compare two different moments.
void ComparePaired(const bench::GeneratedExport& e, int fileType, int pairs) {
    ParsedPlan warm;
    ReadOnce(e, fileType, warm);
    warm = ParsedPlan{};
    (void)RunWcL(e.path);
    std::vector<double> ratio, read, wc;
    for (int i = 0; i < pairs; ++i) {
        double readSeconds = 0, wcSeconds = 0;
        auto timeWc = [&] {
            const auto t0 = std::chrono::steady_clock::now();
            (void)RunWcL(e.path);
            wcSeconds = Seconds(t0);
        };
        if (i % 2) timeWc();
        {
            ParsedPlan plan;
            const auto t0 = std::chrono::steady_clock::now();
            ReadOnce(e, fileType, plan);
            readSeconds = Seconds(t0);
        }  // the plan is freed here, outside the time, as in BM_Read
        if (i % 2 == 0) timeWc();
        ratio.push_back(readSeconds / wcSeconds);
        read.push_back(readSeconds);
        wc.push_back(wcSeconds);
    }
    const double mb = e.bytes / 1e6, readMedian = Median(read), wcMedian = Median(wc);
    std::printf("code %d export: %.1f MB, %lld rows, %d structures\n", fileType, mb, e.rows, e.structures);
    std::printf("  reader: %.1f ms = %.0f MB/s; wc -l: %.1f ms = %.0f MB/s (medians of %d)\n", readMedian * 1e3,
                mb / readMedian, wcMedian * 1e3, mb / wcMedian, pairs);
    std::printf("  reader / wc -l, pair by pair: median %.2f (from %.2f to %.2f)\n", Median(ratio),
                *std::min_element(ratio.begin(), ratio.end()), *std::max_element(ratio.begin(), ratio.end()));
}

/// The whole load with its version against the reader alone on the same export, pair by pair
/// as in `ComparePaired`: what the load adds, its version among it.
void CompareLoadToRead(const bench::GeneratedExport& e, int fileType, int pairs) {
    bool known = false;
    {
        Workspace warm;
        const int plan = warm.LoadDvhFileHeadless(e.path, 0);
        known = plan >= 0 && warm.PDataset[plan].ExportRead.Known();
    }
    if (!known) {
        std::printf("code %d: the load took no version\n", fileType);
        return;
    }
    std::vector<double> ratio, load, read;
    for (int i = 0; i < pairs; ++i) {
        double seconds[2] = {0, 0};
        for (int k = 0; k < 2; ++k) {
            const bool loading = (k == 1) != (i % 2 == 1);  // the order alternates
            if (loading) {
                std::optional<Workspace> ws(std::in_place);
                const auto t0 = std::chrono::steady_clock::now();
                ws->LoadDvhFileHeadless(e.path, 0);
                seconds[1] = Seconds(t0);
            } else {
                ParsedPlan plan;
                const auto t0 = std::chrono::steady_clock::now();
                ReadOnce(e, fileType, plan);
                seconds[0] = Seconds(t0);
            }  // what was read is freed here, outside the time
        }
        ratio.push_back(seconds[1] / seconds[0]);
        read.push_back(seconds[0]);
        load.push_back(seconds[1]);
    }
    std::printf("code %d: load with its version %.1f ms, reader alone %.1f ms (medians of %d)\n", fileType,
                Median(load) * 1e3, Median(read) * 1e3, pairs);
    std::printf("  load / reader, pair by pair: median %.3f (from %.3f to %.3f)\n", Median(ratio),
                *std::min_element(ratio.begin(), ratio.end()), *std::max_element(ratio.begin(), ratio.end()));
}

/// How long a spinning process lives at most: far longer than the loaded comparison takes, so
/// that one the benchmark could not end (it hung) still ends by itself.
constexpr unsigned kBusySeconds = 300;

/// Keeps every processor busy with a spinning process of its own while it exists, as other
/// programs would: a read must then take no longer than on one processor. The processes die
/// with the benchmark however it ends (killed, crashed, timed out), and after `kBusySeconds`
/// in any case, so that none is left running on the machine.
class BusyMachine {
public:
    BusyMachine() {
        std::fflush(stdout);
        const pid_t parent = getpid();
        for (long i = sysconf(_SC_NPROCESSORS_ONLN); i > 0; --i) {
            const pid_t child = fork();
            if (child == 0) {
                // A parent that ended before the signal was asked for has left it to no one.
                if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || getppid() != parent) _exit(0);
                signal(SIGALRM, SIG_DFL);
                alarm(kBusySeconds);
                volatile unsigned long n = 0;
                for (;;) n = n + 1;
            }
            if (child > 0) m_children.push_back(child);
        }
    }
    ~BusyMachine() {
        for (pid_t child : m_children) kill(child, SIGKILL);
        for (pid_t child : m_children) waitpid(child, nullptr, 0);
    }
    BusyMachine(const BusyMachine&) = delete;
    BusyMachine& operator=(const BusyMachine&) = delete;
    std::size_t Processes() const { return m_children.size(); }
    /// Whether every process still spins: one that reached its time limit leaves a figure
    /// taken on a machine less busy than it says.
    bool AllSpinning() const {
        for (pid_t child : m_children) {
            // Looked at, not reaped: its number stays its own until the destructor waits for it.
            siginfo_t info{};
            if (waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOHANG | WNOWAIT) != 0 || info.si_pid != 0)
                return false;
        }
        return true;
    }

private:
    std::vector<pid_t> m_children;
};

/// The read on every processor the process may use against the same read on processor 0 alone
/// (its threads all there), pair by pair, while `busy` keeps the machine busy.
void CompareLoaded(const bench::GeneratedExport& e, int fileType, int pairs, const BusyMachine& busy) {
    cpu_set_t all, one;
    if (sched_getaffinity(0, sizeof all, &all) != 0) return;
    CPU_ZERO(&one);
    CPU_SET(0, &one);
    std::vector<double> ratio, spread, pinned;
    for (int i = 0; i < pairs; ++i) {
        double seconds[2] = {0, 0};
        for (int k = 0; k < 2; ++k) {
            const bool onOne = (k == 1) != (i % 2 == 1);  // the order alternates
            sched_setaffinity(0, sizeof(cpu_set_t), onOne ? &one : &all);
            ParsedPlan plan;
            const auto t0 = std::chrono::steady_clock::now();
            ReadOnce(e, fileType, plan);
            seconds[onOne] = Seconds(t0);
        }
        sched_setaffinity(0, sizeof all, &all);
        ratio.push_back(seconds[0] / seconds[1]);
        spread.push_back(seconds[0]);
        pinned.push_back(seconds[1]);
    }
    std::printf("code %d under %zu spinning processes: reader %.1f ms, on processor 0 alone %.1f ms (medians of %d)\n",
                fileType, busy.Processes(), Median(spread) * 1e3, Median(pinned) * 1e3, pairs);
    std::printf("  reader / on one processor, pair by pair: median %.2f (from %.2f to %.2f)\n", Median(ratio),
                *std::min_element(ratio.begin(), ratio.end()), *std::max_element(ratio.begin(), ratio.end()));
    if (!busy.AllSpinning())
        std::printf("  (spinning processes ended by their time limit meanwhile: not a busy machine)\n");
}

/// `--read-once CODE FILE`: one read, for timing the whole process from outside.
int ReadOnceFromCommandLine(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s --read-once CODE FILE\n", argv[0]);
        return 2;
    }
    const int fileType = std::atoi(argv[2]);
    ParsedPlan plan;
    const ReadResult r = ReadOnce(bench::GeneratedExport{argv[3]}, fileType, plan);
    if (!r) std::fprintf(stderr, "read failed: %s\n", r.detail.c_str());
    return r ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--read-once") return ReadOnceFromCommandLine(argc, argv);
    g_description = Prepare(12);
    g_plan = Prepare(2);
    if (g_description.bytes == 0 || g_plan.bytes == 0) {
        std::fprintf(stderr, "cannot write the benchmark exports\n");
        return 1;
    }

    // Peak memory of the whole road of File > Open, each export in a process of its own that
    // holds nothing else yet (the maximum resident size of a process only ever grows).
    for (const auto* e : {&g_description, &g_plan}) {
        std::fflush(stdout);
        const pid_t child = fork();
        if (child == 0) {
            const long before = MaxRssKiB();
            Workspace ws;
            const int plan = ws.LoadDvhFileHeadless(e->path, 0);
            if (plan < 0) {
                std::fprintf(stderr, "read failed: %s\n", ws.LastReadResult.detail.c_str());
                _exit(1);
            }
            long long points = 0;
            for (const auto& s : ws.PDataset[plan].DVHDataset) points += static_cast<long long>(s.DVset.size());
            const double pointMiB = points * 16.0 / (1 << 20);
            const double peakMiB = (MaxRssKiB() - before) / 1024.0;
            std::printf("code %d: %lld points (%.1f MiB at 16 bytes), peak memory added by the read: %.1f MiB = "
                        "%.2fx the points\n",
                        e == &g_description ? 12 : 2, points, pointMiB, peakMiB, peakMiB / pointMiB);
            std::fflush(stdout);
            _exit(0);
        }
        int status = 0;
        if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
            return 1;
    }

    // The same run compares each reader with `wc -l` on the same (cached) file. Other work on
    // the machine shows in the figures: the load says how much there was.
    double load = 0;
    if (std::FILE* f = std::fopen("/proc/loadavg", "r")) {
        if (std::fscanf(f, "%lf", &load) != 1) load = 0;
        std::fclose(f);
    }
    std::printf("build %s, %ld processors, load %.1f\n", TESSARAY_BUILD_TYPE, sysconf(_SC_NPROCESSORS_ONLN), load);
    for (int fileType : {12, 2}) ComparePaired(fileType == 12 ? g_description : g_plan, fileType, kPairs);
    for (int fileType : {12, 2}) CompareLoadToRead(fileType == 12 ? g_description : g_plan, fileType, kPairs);
    {
        const BusyMachine busy;
        for (int fileType : {12, 2}) CompareLoaded(fileType == 12 ? g_description : g_plan, fileType, kLoadedPairs, busy);
    }
    std::fflush(stdout);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
