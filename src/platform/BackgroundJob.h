// One job at a time on a thread of its own, while the caller goes on with its own work: the
// next chunk of a large file, or the copy of a large table into fresh memory.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace platform {

class BackgroundJob {
public:
    BackgroundJob();
    /// Finishes the job last started (see `Wait`), then ends the thread.
    ~BackgroundJob();
    BackgroundJob(const BackgroundJob&) = delete;
    BackgroundJob& operator=(const BackgroundJob&) = delete;

    /// Hands `job` to the thread; whatever it touches the caller leaves alone until `Wait`
    /// returns. Only one job is under way at a time: `Wait` for it before starting the next.
    void Start(std::function<void()> job);
    /// Returns once the job last started is done (at once when there is none). A job the thread
    /// has not begun yet is done right here, on the caller's thread.
    void Wait();

private:
    void Run();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::function<void()> m_job;
    // Where the job last started stands: waiting for a thread, running on ours, or done.
    // Written under the mutex; also read without it while waiting a little before sleeping.
    static constexpr int kDone = 0, kWaiting = 1, kRunning = 2;
    std::atomic<int> m_state{kDone};
    std::uint64_t m_started = 0;  // jobs started, under the mutex
    std::atomic<bool> m_stop{false};
    const bool m_spin;  // whether to wait a little before sleeping (when threads rarely share a processor)
    std::thread m_thread;  // last: it starts when everything it uses is made
};

/// The processors this process may run on (at least 1).
int AvailableProcessors();

/// What one chunk read brought: fewer bytes than asked for means the file has ended (or the
/// read failed, which `failed` says; the bytes before the failure are real).
struct ChunkRead {
    std::size_t bytes = 0;
    bool failed = false;
};

/// Reads from `fd` until `bytes` are in `into`, the file ends or a read fails.
ChunkRead ReadChunk(int fd, char* into, std::size_t bytes);

}  // namespace platform
