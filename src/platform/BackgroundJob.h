// One job at a time on a thread of its own, while the caller goes on with its own work: the
// next chunk of a large file, or the copy of a large table into fresh memory.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace platform {

/// The thread waits for a job, and the caller for its end, awake for a moment before they sleep
/// (see WaitAwake.h): a job is given a thread of its own only where the machine has a processor
/// to spare for it. Elsewhere the caller does every job itself, in `Start`.
class BackgroundJob {
public:
    /// Jobs on a thread of their own with `ownThread`, else done by the caller.
    explicit BackgroundJob(bool ownThread = true) : m_threadless(!ownThread) {}
    /// Waits for the job under way (what it threw is dropped with it), then ends the thread.
    ~BackgroundJob();
    BackgroundJob(const BackgroundJob&) = delete;
    BackgroundJob& operator=(const BackgroundJob&) = delete;

    /// Hands `job` to the thread; whatever it touches the caller leaves alone until `Wait`
    /// returns. Only one job is under way at a time: `Wait` for it before starting the next.
    /// Where no thread can be made, the job is done right here instead.
    void Start(std::function<void()> job);
    /// Returns once the job last started is done (at once when there is none), and throws what
    /// the job threw.
    void Wait();

private:
    void Run();
    /// Runs `job`, keeping what it throws for `Wait`.
    static std::exception_ptr RunCaught(const std::function<void()>& job);

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::function<void()> m_job;  // a job the thread has not begun
    // Changed under the mutex; atomic so that a thread waiting awake may look without it.
    std::atomic<bool> m_hasJob{false};  // `m_job` holds a job
    std::atomic<bool> m_busy{false};    // a job is started and not done
    bool m_stop = false;
    bool m_threadless;  // no thread asked for, or none could be made: jobs are done by the caller
    std::exception_ptr m_failure;
    std::thread m_thread;  // made at the first job
};

/// What one chunk read brought: fewer bytes than asked for means the file has ended (or the
/// read failed, which `failed` says; the bytes before the failure are real).
struct ChunkRead {
    std::size_t bytes = 0;
    bool failed = false;
};

/// Reads from `fd` until `bytes` are in `into`, the file ends or a read fails.
ChunkRead ReadChunk(int fd, char* into, std::size_t bytes);

}  // namespace platform
