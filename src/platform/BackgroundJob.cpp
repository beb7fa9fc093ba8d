// A worker thread for one job at a time, and whole-chunk reads.
#include "platform/BackgroundJob.h"

#include "platform/FaultPoint.h"
#include "platform/WaitAwake.h"

#include <cerrno>
#include <unistd.h>

namespace platform {

BackgroundJob::~BackgroundJob() {
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return !m_busy; });
        m_stop = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable()) m_thread.join();
}

std::exception_ptr BackgroundJob::RunCaught(const std::function<void()>& job) {
    try {
        FaultPoint("threaded work");
        job();
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

void BackgroundJob::Start(std::function<void()> job) {
    if (!m_thread.joinable() && !m_threadless) {
        try {
            FaultPoint("thread start");
            m_thread = std::thread([this] { Run(); });
        } catch (...) {
            // No thread to be had (too many threads, or no memory for one): the caller does
            // this read's jobs itself, which is slower but reads the same.
            m_threadless = true;
        }
    }
    if (m_threadless) {
        m_failure = RunCaught(job);
        return;
    }
    {
        std::lock_guard lock(m_mutex);
        m_job = std::move(job);
        m_hasJob = true;
        m_busy = true;
    }
    m_changed.notify_all();
}

void BackgroundJob::Wait() {
    if (!m_threadless) WaitAwake([this] { return !m_busy.load(std::memory_order_acquire); });
    std::exception_ptr failure;
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return !m_busy; });
        failure = std::move(m_failure);
        m_failure = nullptr;
    }
    if (failure) std::rethrow_exception(failure);
}

void BackgroundJob::Run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        if (!m_job && !m_stop) {
            lock.unlock();
            WaitAwake([this] { return m_hasJob.load(std::memory_order_acquire); });
            lock.lock();
        }
        m_changed.wait(lock, [this] { return m_job || m_stop; });
        if (!m_job) return;
        std::function<void()> job = std::move(m_job);
        m_job = nullptr;
        m_hasJob = false;
        lock.unlock();
        std::exception_ptr failure = RunCaught(job);
        job = nullptr;
        lock.lock();
        m_failure = std::move(failure);
        m_busy = false;
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
