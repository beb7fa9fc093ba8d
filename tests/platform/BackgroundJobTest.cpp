// One job at a time on a thread of its own; what a job throws reaches the caller, and a thread
// that cannot be made leaves the jobs to the caller.
#include "platform/BackgroundJob.h"

#include "../support/ThrownAt.h"

#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <thread>

TEST(BackgroundJob, DoesEachJobOnceAndHandsOverWhatItThrew) {
    const std::thread::id caller = std::this_thread::get_id();
    // On its thread; no thread to be had; no thread asked for (a busy machine).
    for (int mode : {0, 1, 2}) {
        SCOPED_TRACE(mode);
        const bool threadRefused = mode == 1;
        const auto refusal = threadRefused ? std::make_unique<ThrownAt>("thread start", 1) : nullptr;
        platform::BackgroundJob job(mode != 2);
        int done = 0;
        for (int i = 0; i < 20; ++i) {
            std::thread::id where;
            job.Start([&] {
                where = std::this_thread::get_id();
                ++done;
            });
            job.Wait();
            EXPECT_EQ(where == caller, mode != 0);
        }
        EXPECT_EQ(done, 20);
        job.Start([] { throw std::bad_alloc(); });
        EXPECT_THROW(job.Wait(), std::bad_alloc);
        job.Start([&] { ++done; });  // a failed job leaves the next one to be done as usual
        job.Wait();
        EXPECT_EQ(done, 21);
    }
}

TEST(BackgroundJob, EndingFinishesTheJobLastStarted) {
    bool done = false;
    {
        platform::BackgroundJob job;
        job.Start([&] { done = true; });
    }
    EXPECT_TRUE(done);
    {
        platform::BackgroundJob job;  // what a job threw is dropped when no one waits for it
        job.Start([] { throw std::bad_alloc(); });
    }
}
