// Memory that runs out where a test says: on one thread for as long as it likes, or at the n-th
// allocation of one call, counted over all threads. A test program that uses it replaces the
// program's allocation by including ReplacedNew.h in one of its source files.
#pragma once

#include <atomic>
#include <cstdlib>
#include <new>
#include <optional>

namespace refusedmemory {

/// While set, every allocation of this thread fails.
inline thread_local bool t_refused = false;
/// While `counting`, each allocation is counted; the `failAt`-th throws.
inline std::atomic<bool> counting{false};
inline std::atomic<long> counted{0};
inline std::atomic<long> failAt{0};

}  // namespace refusedmemory

/// While it exists, the `n`-th allocation from now on (on any thread, from 1) fails.
class AllocationFailsAt {
public:
    explicit AllocationFailsAt(long n) {
        refusedmemory::counted = 0;
        refusedmemory::failAt = n;
        refusedmemory::counting = true;
    }
    ~AllocationFailsAt() { refusedmemory::counting = false; }
    AllocationFailsAt(const AllocationFailsAt&) = delete;
    AllocationFailsAt& operator=(const AllocationFailsAt&) = delete;
    /// Whether the allocation that fails has come.
    bool Reached() const { return refusedmemory::counted.load() >= refusedmemory::failAt.load(); }
};

/// Runs `run()` failing its first allocation, then its second, and so on, until a run makes
/// fewer allocations than the one that would fail: every allocation of the call, its first
/// included, fails once. After each run, with allocation as usual again, `check(result,
/// reached, n)` looks at what it returned, `reached` telling whether its `n`-th allocation
/// came. Returns the runs made (the last one met no failure).
template <class Run, class Check>
long FailingEachAllocation(Run run, Check check) {
    for (long n = 1;; ++n) {
        std::optional<decltype(run())> result;
        bool reached;
        {
            const AllocationFailsAt failing(n);
            result.emplace(run());
            reached = failing.Reached();
        }
        check(*result, reached, n);
        if (!reached) return n;
    }
}
