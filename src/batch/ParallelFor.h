// Runs independent pieces of work on a few threads; the calling thread works too.
#pragma once

#include "platform/FaultPoint.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

/// Threads a batch uses by default: the machine's cores, at most 8.
inline int BatchThreadCount() {
    const unsigned cores = std::thread::hardware_concurrency();
    return static_cast<int>(std::clamp(cores, 1u, 8u));
}

/// Calls `work(i)` once for every i in 0..count-1, on up to `threads` threads, taking the
/// indices in rising order. `work` must not touch what another index touches. After each of
/// its own calls the calling thread runs `between()` (progress on the GUI thread). Threads that
/// cannot be made leave their share to the others, the caller's at least. What a call throws,
/// on any thread, ends the work: no index is taken after it, and once every thread is joined
/// the first exception is thrown here.
template <class Work, class Between>
void ParallelFor(int count, int threads, Work work, Between between) {
    std::atomic<int> next{0};
    std::mutex failureMutex;
    std::exception_ptr failure;
    auto fail = [&] {
        next.store(count);  // the indices still to come are left
        std::lock_guard lock(failureMutex);
        if (!failure) failure = std::current_exception();
    };
    auto run = [&] {
        try {
            for (int i; (i = next.fetch_add(1)) < count;) work(i);
        } catch (...) {
            fail();
        }
    };
    // Joined however this returns: a thread must never outlive the frame it works in.
    std::vector<std::jthread> helpers;
    try {
        const int extra = std::min(std::max(threads, 1), std::max(count, 1)) - 1;
        helpers.reserve(static_cast<std::size_t>(extra));
        for (int t = 0; t < extra; ++t) {
            platform::FaultPoint("thread start");
            helpers.emplace_back(run);
        }
    } catch (...) {
        // No more threads to be had (too many threads, or no memory for one).
    }
    try {
        for (int i; (i = next.fetch_add(1)) < count;) {
            work(i);
            between();
        }
    } catch (...) {
        fail();
    }
    for (std::jthread& h : helpers) h.join();
    if (failure) std::rethrow_exception(failure);
}

template <class Work>
void ParallelFor(int count, int threads, Work work) {
    ParallelFor(count, threads, work, [] {});
}
