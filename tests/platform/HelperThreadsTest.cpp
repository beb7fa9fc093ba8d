// The pieces of a job on the caller's thread and its helpers: each piece once, all of them
// done before the job returns, whatever a piece throws or however many helpers there are.
#include "platform/HelperThreads.h"

#include "../support/ThrownAt.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <stdexcept>
#include <string>
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
