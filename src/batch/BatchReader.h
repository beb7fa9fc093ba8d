// Reading the plans of a batch: each file parsed on its own, several at once.
#pragma once

#include "dvh/DvhExportRecogniser.h"
#include "dvh/DvhReading.h"
#include "platform/FileVersion.h"

#include <functional>
#include <string>
#include <vector>

/// Parses one file of a batch into `out` by its file type: 2 (one plan, with the extra dose
/// lines), 12 (one plan with a "Description" header), 5 and 6 (BrainSCAN and iPlan tables).
/// Shares no state with another parse, so files may be parsed on several threads at once. On
/// failure, what is thrown on its way included, `out` is empty and the result names the line.
/// The file is held open for the whole read: with `source`, the header and the version it
/// receives are those of the very file the plan was parsed from.
ReadResult ParseBatchFile(const std::string& path, int fileType, ParsedPlan& out, struct BatchSource* source = nullptr);

/// What a read of a batch file took of it besides the plan: the names and the version of that
/// same read, for the plan to carry.
struct BatchSource {
    DvhHeader Header;
    platform::FileVersion Version;
};

/// One file to parse.
struct BatchReadJob {
    std::string FilePath;
    int FileType = 0;
};

/// The outcome of parsing a list of files.
struct BatchParseResult {
    /// One plan per job, in job order, up to the first failure (exclusive).
    std::vector<ParsedPlan> Plans;
    /// Of each plan, in the same order.
    std::vector<BatchSource> Sources;
    /// The first job that failed, in job order; -1 when all were read.
    int FailedJob = -1;
    ReadResult Failure;
};

/// Parses `jobs` on up to `threads` threads. When a file fails, the files after it in job
/// order are not needed and are dropped (or not read at all). `progress(done)` runs on the
/// calling thread with the number of files parsed so far; it may be empty. Never throws: what
/// is thrown outside a file's read (the batch found no memory for its own lists, or progress
/// threw) fails the batch at its first job, with no plan.
BatchParseResult ParseBatchFiles(const std::vector<BatchReadJob>& jobs, int threads,
                                 const std::function<void(int done)>& progress = {}) noexcept;
