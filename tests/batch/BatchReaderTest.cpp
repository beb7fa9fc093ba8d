// The batch reader: the one-plan rules through the batch, files that fail, parallel loads.
#include "batch/BatchLoading.h"
#include "batch/ParallelFor.h"

#include "../support/ReplacedNew.h"
#include "../support/ThrownAt.h"
#include "BatchTestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <thread>
#include <vector>

using namespace batchtest;

TEST(BatchReader, OnePlanExportWithItsUnitRulesExtraDosesAndTheLaterBody) {
    dvhtest::TempFolder folder("batch-reader");
    const std::string path = folder.Write("a.txt", OnePlanExport("A", Block("Body")));
    ParsedPlan plan;
    ASSERT_TRUE(ParseBatchFile(path, FileTypePlan, plan));
    ASSERT_EQ(plan.DVHDataset.size(), 3u);
    const DVHDatasetClass& ptv = plan.DVHDataset[0];
    EXPECT_EQ(ptv.Name, "PTV");
    EXPECT_FLOAT_EQ(ptv.PrescribedDose, 60);  // cGy scaled
    EXPECT_FLOAT_EQ(ptv.ExtraDose1, 61);
    EXPECT_FLOAT_EQ(ptv.ExtraDose2, 59);
    EXPECT_FLOAT_EQ(ptv.MaxDoseGy, 63);
    EXPECT_FLOAT_EQ(ptv.MaxDosePercent, 105);
    dvhtest::ExpectPoint(ptv.DVset[2], 60, 100, 25, 50);  // absolute dose first, "[cm^3]" volume
    const DVHDatasetClass& body = plan.DVHDataset[1];
    EXPECT_FLOAT_EQ(body.MaxDosePercent, 105);  // "%" as 20th character: relative
    EXPECT_FLOAT_EQ(body.MaxDoseGy, 63);
    dvhtest::ExpectPoint(body.DVset[1], 30, 50, 200, 10);  // relative dose first, relative volume
    EXPECT_EQ(plan.BodyIndex, 2);  // "Body" after "BODY"
}

TEST(BatchReader, AFileThatFailsLeavesNoPlanAndStopsTheLoad) {
    dvhtest::TempFolder folder("batch-broken");
    const std::string good = OnePlanExport("A");
    struct Case {
        const char* name;
        std::string text;
    } cases[] = {
        {"bad number", OnePlanExport("B", Block("X").replace(Block("X").find("40\t0"), 2, "4x"))},
        {"short row", OnePlanExport("B", Block("X").replace(Block("X").find("40\t0\t50"), 7, "40"))},
        {"truncated block", OnePlanExport("B", L("Histogram", "P1 - X") + "\n" + L("Prescribed dose [Gy]", "60") + "\n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Workspace ws;
        const auto keys = ListFiles(ws, {folder.Write("1.txt", good), folder.Write("2.txt", c.text),
                                         folder.Write("3.txt", OnePlanExport("C"))});
        const BatchLoadOutcome out = LoadBatchPlans(ws, DecideBatchItems(ws, keys), -1, 3);
        EXPECT_EQ(out.Loaded, 1);
        ASSERT_EQ(ws.PDatasetCount(), 1);
        EXPECT_EQ(ws.PDataset[0].PatientID, "A");
        EXPECT_TRUE(out.Failed);
        EXPECT_EQ(FileNameOf(out.FailedPath), "2.txt");
        EXPECT_GT(out.Failure.line, 0);
    }
}

TEST(BatchReader, SerialAndParallelLoadsGiveIdenticalPlans) {
    dvhtest::TempFolder folder("batch-parallel");
    std::vector<std::string> paths;
    for (int i = 0; i < 12; ++i)
        paths.push_back(folder.Write(std::to_string(i) + ".txt",
                                     OnePlanExport("P" + std::to_string(i), Block("S" + std::to_string(i), std::to_string(20 + i)))));
    Workspace serial, parallel;
    // Small files need no thread beside a worker's own: their reads never look at the load.
    const long lookups = platform::LoadLookups();
    for (auto [ws, threads] : {std::pair{&serial, 1}, std::pair{&parallel, 4}}) {
        std::vector<int> seen;
        const BatchLoadOutcome out = LoadBatchPlans(*ws, DecideBatchItems(*ws, ListFiles(*ws, paths)), -1, threads,
                                                    [&](int done, int total) {
                                                        EXPECT_EQ(total, 12);
                                                        seen.push_back(done);
                                                    });
        EXPECT_EQ(out.Loaded, 12);
        ASSERT_FALSE(seen.empty());
        EXPECT_EQ(seen.back(), 12);
    }
    EXPECT_EQ(platform::LoadLookups(), lookups);
    ASSERT_EQ(serial.PDatasetCount(), parallel.PDatasetCount());
    for (int p = 0; p < serial.PDatasetCount(); ++p) {
        const PDatasetClass &a = serial.PDataset[p], &b = parallel.PDataset[p];
        EXPECT_EQ(a.Key, b.Key);
        ASSERT_EQ(a.DVHDatasetCount(), b.DVHDatasetCount());
        for (int s = 0; s < a.DVHDatasetCount(); ++s) {
            EXPECT_EQ(a.DVHDataset[s].Name, b.DVHDataset[s].Name);
            ASSERT_EQ(a.DVHDataset[s].DVset.size(), b.DVHDataset[s].DVset.size());
            EXPECT_EQ(0, std::memcmp(a.DVHDataset[s].DVset.data(), b.DVHDataset[s].DVset.data(),
                                     a.DVHDataset[s].DVset.size() * sizeof(DVsetClass)));
        }
    }
}

TEST(BatchReader, WhatAWorkerThrowsReachesTheCallerOnceAllAreJoined) {
    // Work that throws, on whichever thread, ends the work: each index runs at most once, none
    // is still running when the caller gets the exception, and the program goes on. A thread
    // that cannot be made leaves its share to the others.
    for (bool refused : {false, true}) {
        const auto refusal = refused ? std::make_unique<ThrownAt>("thread start", 1) : nullptr;
        for (int failAt : {-1, 0, 37, 99}) {
            SCOPED_TRACE(std::string(refused ? "a thread refused, " : "") + "failing at " + std::to_string(failAt));
            std::vector<std::atomic<int>> begun(100), ended(100);
            auto work = [&](int i) {
                ++begun[static_cast<std::size_t>(i)];
                // Its end is recorded after a pause: a caller that returned before it fails.
                std::this_thread::sleep_for(std::chrono::microseconds(200));
                ++ended[static_cast<std::size_t>(i)];
                if (i == failAt) throw std::bad_alloc();
            };
            if (failAt < 0) {
                ParallelFor(100, 4, work);
            } else {
                EXPECT_THROW(ParallelFor(100, 4, work), std::bad_alloc);
                EXPECT_EQ(begun[static_cast<std::size_t>(failAt)].load(), 1);
            }
            for (std::size_t i = 0; i < begun.size(); ++i) {
                EXPECT_EQ(ended[i].load(), begun[i].load()) << i << " still running";
                EXPECT_LE(begun[i].load(), 1) << i;
                if (failAt < 0) {
                    EXPECT_EQ(begun[i].load(), 1) << i;
                }
            }
        }
    }
}

TEST(BatchReader, MemoryThatRunsOutAtAnyAllocationFailsTheBatchAsAFileThatCannotBeRead) {
    // Each allocation of a batch's parse and of the window's load, from the very first (the
    // load's copies of the paths) on, the workers' included, fails in turn: the batch ends as
    // at a file that could not be read, "out of memory", and never throws. What it keeps is
    // whole: the plans of the files before the one it stopped at, each with all its
    // structures, and the names they taught the plan list, no more.
    dvhtest::TempFolder folder("batch-memory");
    const std::vector<std::string> ids = {"A", "B", "C"};
    const std::vector<int> structures = {2, 3, 2};
    const std::vector<std::string> paths = {folder.Write("a.txt", OnePlanExport("A")),
                                            folder.Write("b.txt", OnePlanExport("B", Block("X"))),
                                            folder.Write("c.txt", OnePlanExport("C"))};
    std::vector<BatchReadJob> jobs;
    for (const std::string& path : paths) jobs.push_back({path, FileTypePlan});
    auto outOfMemory = [](const ReadResult& r) {
        EXPECT_EQ(r.status, ReadStatus::ReadError);
        EXPECT_EQ(r.detail, "out of memory");
    };
    for (int threads : {1, 3}) {
        SCOPED_TRACE(std::to_string(threads) + " threads");
        const long parses = FailingEachAllocation(
            [&] { return ParseBatchFiles(jobs, threads); },
            [&](const BatchParseResult& r, bool, long n) {
                SCOPED_TRACE("parse, allocation " + std::to_string(n));
                if (n == 1) {
                    EXPECT_EQ(r.FailedJob, 0);
                }
                const std::size_t kept = r.FailedJob < 0 ? jobs.size() : static_cast<std::size_t>(r.FailedJob);
                ASSERT_EQ(r.Plans.size(), kept);
                for (std::size_t i = 0; i < kept; ++i)
                    EXPECT_EQ(r.Plans[i].DVHDataset.size(), static_cast<std::size_t>(structures[i])) << i;
                if (r.FailedJob >= 0) outOfMemory(r.Failure);
            });
        EXPECT_GT(parses, static_cast<long>(jobs.size()));

        // The window's load into a workspace with the files listed and a plan list to teach.
        std::optional<Workspace> ws;
        std::vector<BatchDecision> decisions;
        auto listed = [&] {
            ws.emplace();
            ws->PlanListName.emplace_back().Name = "List";
            decisions = DecideBatchItems(*ws, ListFiles(*ws, paths));
        };
        listed();
        const long loads = FailingEachAllocation(
            [&] { return LoadBatchPlans(*ws, decisions, 0, threads); },
            [&](const BatchLoadOutcome& out, bool, long n) {
                SCOPED_TRACE("load, allocation " + std::to_string(n));
                if (n == 1) {
                    EXPECT_TRUE(out.Failed);
                }
                if (!out.Failed) {
                    EXPECT_EQ(out.Loaded, 3);
                }
                ASSERT_EQ(ws->PDatasetCount(), out.Loaded);
                std::vector<std::string> taught;
                for (int p = 0; p < out.Loaded; ++p) {
                    const PDatasetClass& plan = ws->PDataset[static_cast<std::size_t>(p)];
                    EXPECT_EQ(plan.PatientID, ids[static_cast<std::size_t>(p)]);
                    EXPECT_EQ(plan.PlanListIndex, 0);
                    ASSERT_EQ(plan.DVHDatasetCount(), structures[static_cast<std::size_t>(p)]);
                    for (const DVHDatasetClass& st : plan.DVHDataset)
                        if (std::find(taught.begin(), taught.end(), st.Name) == taught.end()) taught.push_back(st.Name);
                }
                EXPECT_EQ(ws->PlanListName[0].SNameDB, taught);
                if (out.Failed) {
                    outOfMemory(out.Failure);
                    EXPECT_EQ(out.FailedPath, paths[static_cast<std::size_t>(out.Loaded)]);
                }
                listed();
            });
        EXPECT_GT(loads, parses);
    }
}
