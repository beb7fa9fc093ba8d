// The pieces of a job on the caller's thread and its helpers: each piece once, all of them
// done before the job returns, whatever a piece throws or however many helpers there are; and
// the processors they may count on.
#include "platform/HelperThreads.h"
#include "platform/Processors.h"

#include "../support/ThrownAt.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

TEST(HelperThreads, RunsEveryPieceOnceAndThrowsTheFirstFailureOnceAllAreDone) {
    for (long refusedFrom : {0, 1, 2}) {  // the n-th helper cannot be made (0: all can)
        SCOPED_TRACE(refusedFrom);
        const auto refusal = refusedFrom ? std::make_unique<ThrownAt>("thread start", refusedFrom) : nullptr;
        platform::HelperThreads helpers(3);
        for (int job = 0; job < 50; ++job) {
            std::vector<std::atomic<int>> runs(static_cast<std::size_t>(1 + job % 9));
            const int count = static_cast<int>(runs.size());
            const bool failing = job % 5 == 4;
            auto piece = [&](int i) {
                // Its end is recorded after a pause: a job that returned before it fails.
                std::this_thread::sleep_for(std::chrono::microseconds(300));
                ++runs[static_cast<std::size_t>(i)];
                if (failing && i >= count / 2) throw std::runtime_error("piece " + std::to_string(i));
            };
            if (failing) {
                try {
                    helpers.Run(count, piece);
                    ADD_FAILURE() << "no exception";
                } catch (const std::runtime_error& e) {
                    EXPECT_EQ(e.what(), "piece " + std::to_string(count / 2));
                }
            } else {
                helpers.Run(count, piece);
            }
            for (const std::atomic<int>& n : runs) EXPECT_EQ(n.load(), 1);  // none still under way
        }
    }
}

TEST(Processors, ACpuQuotaOfTheControlGroupOrOneAboveItLimitsTheProcessors) {
    // Quota over period, rounded up; the least of the group and those above it; "max" and -1 are
    // none; a line of other controllers, or no file, says nothing.
    TempFolder root;
    auto group = [&](const std::string& folder, const std::string& file, const std::string& text) {
        std::filesystem::create_directories(root.Path() + folder);
        root.Write(folder + "/" + file, text);
    };
    group("v2/a/b", "cpu.max", "150000 100000\n");
    group("v2/a", "cpu.max", "max 100000\n");
    group("v2", "cpu.max", "400000 100000\n");
    EXPECT_EQ(platform::QuotaProcessors(root.Path() + "v2", "0::/a/b\n"), 2);
    EXPECT_EQ(platform::QuotaProcessors(root.Path() + "v2", "0::/a\n"), 4);
    group("v1/cpu,cpuacct/c", "cpu.cfs_quota_us", "50000\n");
    group("v1/cpu,cpuacct/c", "cpu.cfs_period_us", "100000\n");
    group("v1/cpu,cpuacct", "cpu.cfs_quota_us", "-1\n");
    group("v1/cpu,cpuacct", "cpu.cfs_period_us", "100000\n");
    EXPECT_EQ(platform::QuotaProcessors(root.Path() + "v1", "4:memory:/c\n3:cpu,cpuacct:/c\n0::/\n"), 1);
    EXPECT_EQ(platform::QuotaProcessors(root.Path() + "v1", "3:cpu,cpuacct:/\n"), 0);
    EXPECT_EQ(platform::QuotaProcessors(root.Path() + "none", "0::/\n"), 0);
}
