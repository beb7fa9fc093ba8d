// A worker thread for one job at a time, and whole-chunk reads.
#include "platform/BackgroundJob.h"

#include <cerrno>
#include <unistd.h>

namespace platform {

BackgroundJob::BackgroundJob() : m_thread([this] { Run(); }) {}

BackgroundJob::~BackgroundJob() {
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
        m_busy = true;
    }
    m_changed.notify_one();
}

void BackgroundJob::Wait() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_busy; });
}

void BackgroundJob::Run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_busy || m_stop; });
        if (!m_busy) return;  // told to stop with nothing under way
        std::function<void()> job = std::move(m_job);
        lock.unlock();
        job();
        lock.lock();
        m_busy = false;
        m_changed.notify_one();
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
