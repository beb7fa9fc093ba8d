// Pieces of one job on the caller's thread and a few helpers.
#include "platform/HelperThreads.h"

#include "platform/FaultPoint.h"
#include "platform/WaitAwake.h"

#include <algorithm>

namespace platform {

namespace {
/// Jobs that helpers sit out at most, before they are tried again.
constexpr int kMostSitOut = 64;
}  // namespace

HelperThreads::~HelperThreads() {
    m_stop.store(true);
    m_wake.fetch_add(1);
    m_wake.notify_all();
    for (std::thread& t : m_threads) t.join();
}

void HelperThreads::StartHelpers(int wanted) {
    m_started = true;
    try {
        m_threads.reserve(static_cast<std::size_t>(wanted));
        for (int k = 0; k < wanted; ++k) {
            FaultPoint("thread start");
            m_threads.emplace_back([this] { Help(); });
        }
    } catch (...) {
        // No more threads to be had (too many threads, or no memory for one): those made,
        // and the caller, take every piece between them.
    }
}

void HelperThreads::RunPieces(int count, void* piece, Call call) {
    if (count <= 0) return;
    const auto start = std::chrono::steady_clock::now();
    if (!m_started && count > 1 && m_most > 0) StartHelpers(std::min(m_most, count - 1));
    const std::uint32_t number = ++m_jobsStarted;
    Job& job = m_jobs[number & 1];
    job.piece.store(piece, std::memory_order_relaxed);
    job.call.store(call, std::memory_order_relaxed);
    job.count.store(count, std::memory_order_relaxed);
    m_finished.store(0, std::memory_order_relaxed);
    m_failure = nullptr;
    m_taking.store(std::uint64_t(number) << 32, std::memory_order_release);
    const bool helped = count > 1 && !m_threads.empty() && m_sitOut == 0;
    if (m_sitOut > 0) --m_sitOut;
    if (helped) {
        m_wake.fetch_add(1, std::memory_order_release);
        m_wake.notify_all();
    }
    OwnPieces own;
    TakePieces(&own);
    // Pieces that helpers have begun may still be under way; they use what the caller owns.
    WaitAwake([&] { return m_finished.load(std::memory_order_acquire) == count; });
    for (int done; (done = m_finished.load(std::memory_order_acquire)) != count;) m_finished.wait(done);
    if (helped) JudgeHelpers(count, std::chrono::steady_clock::now() - start, own);
    std::exception_ptr failure;
    {
        std::lock_guard lock(m_failureMutex);
        failure = std::move(m_failure);
        m_failure = nullptr;
    }
    if (failure) std::rethrow_exception(failure);
}

void HelperThreads::JudgeHelpers(int count, std::chrono::steady_clock::duration took, const OwnPieces& own) {
    // The caller's own pieces tell how long it would have taken alone (pieces are of a size).
    if (own.count > 0 && took * own.count > own.time * count) {
        m_sitOut = m_nextSitOut;
        m_nextSitOut = std::min(2 * m_nextSitOut, kMostSitOut);
    } else {
        m_nextSitOut = 1;
    }
}

void HelperThreads::TakePieces(OwnPieces* own) {
    std::uint64_t taking = m_taking.load(std::memory_order_acquire);
    for (;;) {
        const Job& job = m_jobs[(taking >> 32) & 1];
        const int i = static_cast<int>(taking & 0xFFFFFFFFu);
        const int count = job.count.load(std::memory_order_relaxed);
        void* const piece = job.piece.load(std::memory_order_relaxed);
        const Call call = job.call.load(std::memory_order_relaxed);
        if (i >= count) return;
        // Taken only while the job is still the one under way, so what was read above is its.
        if (!m_taking.compare_exchange_weak(taking, taking + 1, std::memory_order_acquire)) continue;
        const auto begun = own ? std::chrono::steady_clock::now() : std::chrono::steady_clock::time_point();
        try {
            FaultPoint("threaded work");
            call(piece, i);
        } catch (...) {
            std::lock_guard lock(m_failureMutex);
            if (!m_failure || i < m_failedPiece) {
                m_failure = std::current_exception();
                m_failedPiece = i;
            }
        }
        if (own) {
            ++own->count;
            own->time += std::chrono::steady_clock::now() - begun;
        }
        if (m_finished.fetch_add(1, std::memory_order_acq_rel) + 1 == count) m_finished.notify_one();
        taking = m_taking.load(std::memory_order_acquire);
    }
}

void HelperThreads::Help() {
    std::uint32_t seen = 0;
    for (;;) {
        WaitAwake([&] { return m_wake.load(std::memory_order_acquire) != seen; });
        m_wake.wait(seen, std::memory_order_acquire);
        seen = m_wake.load(std::memory_order_acquire);
        if (m_stop.load()) return;
        TakePieces(nullptr);
    }
}

}  // namespace platform
