// The batch reader over the plan export parsers, and the parallel parse of a file list.
#include "batch/BatchReader.h"

#include "batch/ParallelFor.h"
#include "dvh/PlanExportFile.h"
#include "dvh/LineCursor.h"
#include "dvh/ReadGuard.h"
#include "import/ImportHandOver.h"

#include <atomic>
#include <climits>

namespace {

/// The parse of the file `path` by its type.
ReadResult ParseHeldFile(const std::string& path, int fileType, ParsedPlan& out) {
    DvhReadOptions options;
    options.FileType = fileType;
    switch (fileType) {
    case FileTypePlan:
        // Only the batch keeps the two extra dose lines of a one-plan export.
        options.ReadExtraDoses = true;
        return ReadPlanExportFile(path, options, out);
    case FileTypePlanDescription:
        return ReadPlanExportFile(path, options, out);
    case FileTypeBrainScan:
    case FileTypeIPlan:
        return ReadBrainLabTableFile(path, out);
    default:
        return ReadResult::Fail(ReadStatus::UnknownFileType, 0,
                                "a batch reads no file of type " + std::to_string(fileType));
    }
}

}  // namespace

ReadResult ParseBatchFile(const std::string& path, int fileType, ParsedPlan& out, BatchSource* source) {
    // Guarded as a whole: the refusal's text needs memory too.
    return GuardedRead(out, [&] {
        out = ParsedPlan{};
        if (source) *source = BatchSource{};
        // Every read of the file below is bound to the one held here (on this thread).
        const auto held = platform::OpenedFile::Open(path);
        const ReadThrough bound(path, held);
        ReadResult r = ParseHeldFile(path, fileType, out);
        if (r && source && held) {
            source->Header = RecogniseDvhHeaderFile(path);
            source->Version = bound.Version();
        }
        return r;
    });
}

namespace {

/// The parse of `jobs` as `ParseBatchFiles` describes it; throws where the batch's own
/// bookkeeping (its lists, the progress) finds no memory.
BatchParseResult ParseEveryFile(const std::vector<BatchReadJob>& jobs, int threads,
                                const std::function<void(int done)>& progress) {
    const int count = static_cast<int>(jobs.size());
    std::vector<ParsedPlan> plans(jobs.size());
    std::vector<BatchSource> sources(jobs.size());
    std::vector<ReadResult> results(jobs.size());
    std::atomic<int> done{0};
    // The earliest failed job: the jobs after it are skipped, their plans would be dropped.
    std::atomic<int> firstFailure{INT_MAX};
    ParallelFor(
        count, threads,
        [&](int i) {
            if (i < firstFailure.load()) {
                results[i] = ParseBatchFile(jobs[i].FilePath, jobs[i].FileType, plans[i], &sources[i]);
                if (!results[i]) {
                    int seen = firstFailure.load();
                    while (i < seen && !firstFailure.compare_exchange_weak(seen, i)) {
                    }
                }
            }
            done.fetch_add(1);
        },
        [&] {
            if (progress) progress(done.load());
        });
    if (progress) progress(count);

    BatchParseResult out;
    const int failed = firstFailure.load();
    const int kept = failed == INT_MAX ? count : failed;
    if (failed != INT_MAX) {
        out.FailedJob = failed;
        out.Failure = std::move(results[failed]);
    }
    plans.resize(static_cast<std::size_t>(kept));
    sources.resize(static_cast<std::size_t>(kept));
    out.Plans = std::move(plans);
    out.Sources = std::move(sources);
    return out;
}

}  // namespace

BatchParseResult ParseBatchFiles(const std::vector<BatchReadJob>& jobs, int threads,
                                 const std::function<void(int done)>& progress) noexcept {
    try {
        return ParseEveryFile(jobs, threads, progress);
    } catch (...) {
        // Each file's read is guarded: what comes here is the batch's own, before its first
        // plan is whole, so it keeps none.
        BatchParseResult out;
        out.FailedJob = 0;
        out.Failure = ExceptionFailure(std::current_exception());
        return out;
    }
}
