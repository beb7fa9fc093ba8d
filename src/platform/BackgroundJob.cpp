// A worker thread for one job at a time, and whole-chunk reads.
#include "platform/BackgroundJob.h"

#include <algorithm>
#include <cerrno>
#include <sched.h>
#include <chrono>
#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace platform {

namespace {

/// Jobs of a large read come every few hundred microseconds; waiting this long for the next
/// one, or for a job to end, before going to sleep spares the wake-up, which costs about as
/// much again on a virtual machine.
constexpr auto kSpin = std::chrono::microseconds(200);

/// Waits until `done()` holds or `kSpin` has passed; true when it holds. Where the threads at
/// work (a caller and up to three helpers of its own) must share processors, the wait would
/// only keep another from running, so it is not made there.
template <class Done>
bool SpinFor(bool spin, Done done) {
    if (!spin) return done();
    const auto until = std::chrono::steady_clock::now() + kSpin;
    for (int i = 0;; ++i) {
        if (done()) return true;
#if defined(__SSE2__)
        _mm_pause();
#endif
        if ((i & 63) == 63 && std::chrono::steady_clock::now() > until) return done();
    }
}

constexpr int kSpinFromProcessors = 4;

}  // namespace

int AvailableProcessors() {
    cpu_set_t set;
    CPU_ZERO(&set);
    return sched_getaffinity(0, sizeof set, &set) == 0 ? std::max(1, CPU_COUNT(&set)) : 1;
}

BackgroundJob::BackgroundJob() : m_spin(AvailableProcessors() >= kSpinFromProcessors), m_thread([this] { Run(); }) {}

BackgroundJob::~BackgroundJob() {
    Wait();
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_one();
    m_thread.join();
}

void BackgroundJob::Start(std::function<void()> job) {
    {
        std::lock_guard lock(m_mutex);
        m_job = std::move(job);
        m_state.store(kWaiting, std::memory_order_release);
        ++m_started;
    }
    m_changed.notify_all();
}

void BackgroundJob::Wait() {
    if (m_state.load(std::memory_order_acquire) == kDone) return;
    // A job the thread has not begun after a little while is done here: on a busy machine the
    // thread may get no processor for a long while, and waiting for it would take longer than
    // the job itself.
    SpinFor(m_spin, [this] { return m_state.load(std::memory_order_acquire) != kWaiting; });
    std::function<void()> job;
    {
        std::lock_guard lock(m_mutex);
        if (m_state.load(std::memory_order_relaxed) == kWaiting) {
            job = std::move(m_job);
            m_state.store(kDone, std::memory_order_relaxed);
        }
    }
    if (job) {
        job();
        return;
    }
    if (SpinFor(m_spin, [this] { return m_state.load(std::memory_order_acquire) == kDone; })) return;
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_state.load(std::memory_order_relaxed) == kDone; });
}

void BackgroundJob::Run() {
    auto ready = [this] { return m_state.load(std::memory_order_acquire) == kWaiting || m_stop.load(std::memory_order_acquire); };
    std::uint64_t seen = 0;  // jobs started so far that this thread knows of
    for (;;) {
        SpinFor(m_spin, ready);
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_started != seen || m_stop; });
        seen = m_started;
        if (m_state.load(std::memory_order_relaxed) != kWaiting) {
            if (m_stop) return;
            // Woken for a job the caller has meanwhile done itself: the next one comes soon, and
            // this thread waits for it awake again rather than asleep, where it would be late.
            continue;
        }
        std::function<void()> job = std::move(m_job);
        m_state.store(kRunning, std::memory_order_relaxed);
        lock.unlock();
        job();
        lock.lock();
        m_state.store(kDone, std::memory_order_release);
        m_changed.notify_all();
    }
}

ChunkRead ReadChunk(int fd, char* into, std::size_t bytes) {
    ChunkRead r;
    while (r.bytes < bytes) {
        const ssize_t got = ::read(fd, into + r.bytes, bytes - r.bytes);
        if (got > 0) {
            r.bytes += static_cast<std::size_t>(got);
        } else if (got == 0) {
            break;
        } else if (errno != EINTR) {
            r.failed = true;
            break;
        }
    }
    return r;
}

}  // namespace platform
