// Runs independent pieces of work on a few threads; the calling thread works too.
#pragma once

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

/// Threads a batch uses by default: the machine's cores, at most 8.
inline int BatchThreadCount() {
    const unsigned cores = std::thread::hardware_concurrency();
    return static_cast<int>(std::clamp(cores, 1u, 8u));
}

/// Calls `work(i)` once for every i in 0..count-1, on up to `threads` threads, taking the
/// indices in rising order. `work` must not touch what another index touches. After each of
/// its own calls the calling thread runs `between()` (progress on the GUI thread).
template <class Work, class Between>
void ParallelFor(int count, int threads, Work work, Between between) {
    std::atomic<int> next{0};
    auto run = [&] {
        for (int i; (i = next.fetch_add(1)) < count;) work(i);
    };
    std::vector<std::thread> helpers;
    const int extra = std::min(std::max(threads, 1), std::max(count, 1)) - 1;
    helpers.reserve(static_cast<std::size_t>(extra));
    for (int t = 0; t < extra; ++t) helpers.emplace_back(run);
    for (int i; (i = next.fetch_add(1)) < count;) {
        work(i);
        between();
    }
    for (std::thread& h : helpers) h.join();
}

template <class Work>
void ParallelFor(int count, int threads, Work work) {
    ParallelFor(count, threads, work, [] {});
}
