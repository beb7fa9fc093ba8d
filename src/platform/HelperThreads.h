// Threads that help the caller through the pieces of one job at a time, such as the pieces of a
// long table. Each piece is taken by whichever thread comes for it first, the caller's included,
// so a helper the machine keeps waiting holds the job up by no more than a piece it has begun.
#pragma once

#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace platform {

class HelperThreads {
public:
    /// Up to `most` helpers, made when the first job with more than one piece comes.
    explicit HelperThreads(int most) : m_most(most) {}
    /// Ends the helpers and joins them.
    ~HelperThreads();
    HelperThreads(const HelperThreads&) = delete;
    HelperThreads& operator=(const HelperThreads&) = delete;

    /// Calls `piece(i)` once for every i in [0, count) and returns when all are done, never
    /// earlier, whatever a piece throws. A piece that throws stops none of the others; once all
    /// are done, the exception of the first piece that threw is thrown here. Helpers that cannot
    /// be made leave their share to the threads there are: the caller's at least.
    template <class Piece>
    void Run(int count, Piece& piece) {
        RunPieces(count, &piece, [](void* p, int i) { (*static_cast<Piece*>(p))(i); });
    }

private:
    void RunPieces(int count, void* piece, void (*call)(void*, int));
    void StartHelpers(int wanted);
    void Help();
    /// Takes the next piece and runs it with the lock released; the lock is held again after.
    void RunNextPiece(std::unique_lock<std::mutex>& lock);

    const int m_most;
    bool m_started = false;
    std::mutex m_mutex;
    std::condition_variable m_work;  // helpers sleep here until a piece is free or they must end
    std::condition_variable m_done;  // the caller sleeps here until every piece is done
    // The job under way, under the mutex.
    void* m_piece = nullptr;
    void (*m_call)(void*, int) = nullptr;
    int m_count = 0, m_next = 0, m_finished = 0;
    int m_failedPiece = 0;
    std::exception_ptr m_failure;
    bool m_stop = false;
    std::vector<std::thread> m_threads;
};

/// The processors this thread may run on (at least 1).
int AvailableProcessors();

}  // namespace platform
