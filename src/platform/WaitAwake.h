// A short wait on a processor of one's own, before a thread goes to sleep.
#pragma once

#include <chrono>
#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace platform {

/// How long a thread waits awake before it sleeps: on a virtual machine the wake-up from sleep
/// costs about as much as a long table's piece, so a hand-over that comes within this time is
/// better waited for. Only where the machine has a processor to spare for the waiting thread
/// (`ProcessorsToSpare`, Processors.h): elsewhere the wait would keep another from running.
inline constexpr auto kWaitAwake = std::chrono::microseconds(200);

/// Waits awake until `done()` holds or `kWaitAwake` has passed.
template <class Done>
void WaitAwake(Done done) {
    const auto until = std::chrono::steady_clock::now() + kWaitAwake;
    for (int i = 0; !done(); ++i) {
#if defined(__SSE2__)
        _mm_pause();
#endif
        if ((i & 63) == 63 && std::chrono::steady_clock::now() > until) return;
    }
}

}  // namespace platform
