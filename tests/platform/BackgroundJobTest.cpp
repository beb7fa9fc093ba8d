// One job at a time on a thread of its own, or on the caller's when the thread has not begun it.
#include "platform/BackgroundJob.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <pthread.h>
#include <sched.h>
#include <thread>

namespace {

/// Runs `job` on the caller's thread or the worker's and says which.
bool RanOnCaller(platform::BackgroundJob& job, bool letTheThreadBegin, long& done) {
    const std::thread::id caller = std::this_thread::get_id();
    std::thread::id where;
    std::atomic<bool> finished{false};
    job.Start([&] {
        where = std::this_thread::get_id();
        ++done;
        finished = true;
    });
    // The caller keeps away from the job until the thread has done it, so only the thread can.
    while (letTheThreadBegin && !finished) std::this_thread::sleep_for(std::chrono::microseconds(50));
    job.Wait();
    EXPECT_TRUE(finished);
    return where == caller;
}

bool PinToProcessor(pthread_t thread, int processor) {
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(processor, &one);
    return pthread_setaffinity_np(thread, sizeof one, &one) == 0;
}

}  // namespace

TEST(BackgroundJob, EachJobIsDoneOnceByWhicheverThreadBeginsItFirst) {
    long done = 0, onCaller = 0;
    {
        platform::BackgroundJob job;
        for (int i = 0; i < 20; ++i) onCaller += RanOnCaller(job, true, done);
        EXPECT_EQ(onCaller, 0);
    }
    EXPECT_EQ(done, 20);

    // A thread that gets no processor never begins the job: the caller does it instead of
    // waiting. Its thread is made to yield to everything, on the caller's one processor.
    cpu_set_t before;
    const int processor = sched_getcpu();
    if (processor < 0 || pthread_getaffinity_np(pthread_self(), sizeof before, &before) != 0 ||
        !PinToProcessor(pthread_self(), processor))
        GTEST_SKIP() << "cannot pin the test to one processor";
    std::unique_ptr<platform::BackgroundJob> idle;
    std::thread([&] {
        const sched_param none{};
        if (pthread_setschedparam(pthread_self(), SCHED_IDLE, &none) == 0)
            idle = std::make_unique<platform::BackgroundJob>();  // its thread inherits both
    }).join();
    const bool lowered = idle != nullptr;
    if (lowered) {
        done = onCaller = 0;
        for (int i = 0; i < 100; ++i) onCaller += RanOnCaller(*idle, false, done);
        EXPECT_GT(onCaller, 0);
        idle.reset();
        EXPECT_EQ(done, 100);
    }
    pthread_setaffinity_np(pthread_self(), sizeof before, &before);
    if (!lowered) GTEST_SKIP() << "cannot lower a thread's priority";
}

TEST(BackgroundJob, EndingFinishesTheJobLastStarted) {
    bool done = false;
    {
        platform::BackgroundJob job;
        job.Start([&] { done = true; });
    }
    EXPECT_TRUE(done);
}
