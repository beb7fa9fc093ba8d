// One job at a time on a thread of its own, or on the caller's when the thread has not begun it.
#include "platform/BackgroundJob.h"

#include <gtest/gtest.h>

#include <thread>

TEST(BackgroundJob, EachJobIsDoneOnceByWhicheverThreadBeginsItFirst) {
    // A job waited for right after it is started is often still waiting for the thread: the
    // caller then does it itself instead of waiting for a thread that may get no processor.
    platform::BackgroundJob job;
    const std::thread::id caller = std::this_thread::get_id();
    long done = 0, started = 0, onCaller = 0, onThread = 0;
    while (started < 100000 && (onCaller == 0 || onThread == 0)) {
        std::thread::id where;
        job.Start([&] {
            where = std::this_thread::get_id();
            ++done;
        });
        ++started;
        if (started % 2 == 0) std::this_thread::yield();  // now and then the thread gets there first
        job.Wait();
        ++(where == caller ? onCaller : onThread);
    }
    EXPECT_EQ(done, started);
    EXPECT_GT(onCaller, 0);
    EXPECT_GT(onThread, 0);
}

TEST(BackgroundJob, EndingFinishesTheJobLastStarted) {
    bool done = false;
    {
        platform::BackgroundJob job;
        job.Start([&] { done = true; });
    }
    EXPECT_TRUE(done);
}
