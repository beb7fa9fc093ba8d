// Pieces of one job on the caller's thread and a few helpers.
#include "platform/HelperThreads.h"

#include "platform/FaultPoint.h"

#include <algorithm>
#include <sched.h>

namespace platform {

HelperThreads::~HelperThreads() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_work.notify_all();
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

void HelperThreads::RunPieces(int count, void* piece, void (*call)(void*, int)) {
    if (count <= 0) return;
    if (!m_started && count > 1 && m_most > 0) StartHelpers(std::min(m_most, count - 1));
    std::unique_lock lock(m_mutex);
    m_piece = piece;
    m_call = call;
    m_count = count;
    m_next = m_finished = 0;
    m_failure = nullptr;
    if (count > 1 && !m_threads.empty()) {
        lock.unlock();
        m_work.notify_all();
        lock.lock();
    }
    while (m_next < m_count) RunNextPiece(lock);
    // Pieces that helpers have begun may still be under way; they use what the caller owns.
    m_done.wait(lock, [this] { return m_finished == m_count; });
    m_count = m_next = m_finished = 0;
    std::exception_ptr failure = std::move(m_failure);
    m_failure = nullptr;
    lock.unlock();
    if (failure) std::rethrow_exception(failure);
}

void HelperThreads::RunNextPiece(std::unique_lock<std::mutex>& lock) {
    const int i = m_next++;
    void* const piece = m_piece;
    void (*const call)(void*, int) = m_call;
    lock.unlock();
    std::exception_ptr failure;
    try {
        FaultPoint("threaded work");
        call(piece, i);
    } catch (...) {
        failure = std::current_exception();
    }
    lock.lock();
    if (failure && (!m_failure || i < m_failedPiece)) {
        m_failure = std::move(failure);
        m_failedPiece = i;
    }
    if (++m_finished == m_count) m_done.notify_one();
}

void HelperThreads::Help() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_work.wait(lock, [this] { return m_stop || m_next < m_count; });
        if (m_stop) return;
        RunNextPiece(lock);
    }
}

int AvailableProcessors() {
    cpu_set_t set;
    CPU_ZERO(&set);
    return sched_getaffinity(0, sizeof set, &set) == 0 ? std::max(1, CPU_COUNT(&set)) : 1;
}

}  // namespace platform
