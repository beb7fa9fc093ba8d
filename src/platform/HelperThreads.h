// Threads that help the caller through the pieces of one job at a time, such as the pieces of a
// long table. Each piece is taken by whichever thread comes for it first, the caller's included,
// so a helper the machine keeps waiting holds the job up by no more than a piece it has begun.
// Between jobs, and while the caller waits for the last pieces, a thread waits awake for a
// moment before it sleeps (see WaitAwake.h): whoever asks for helpers asks only where the
// machine has a processor to spare for each of them. Should the machine become busy meanwhile,
// a helper may get a processor only late, and the caller then waits for the piece it holds:
// helpers that made a job slower than the caller alone would have been sit out the jobs after
// it, more of them each time it happens again.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
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
    using Call = void (*)(void*, int);
    /// A job as the threads see it. Jobs take turns in two of them: a helper that comes late
    /// may still read the one before while the caller fills the next.
    struct Job {
        std::atomic<void*> piece{nullptr};
        std::atomic<Call> call{nullptr};
        std::atomic<int> count{0};
    };

    /// The pieces the caller ran itself and the time they took.
    struct OwnPieces {
        int count = 0;
        std::chrono::steady_clock::duration time{};
    };

    void RunPieces(int count, void* piece, Call call);
    void StartHelpers(int wanted);
    void Help();
    /// Takes pieces of the job under way and runs them until none is left; `own` (the
    /// caller's) counts them.
    void TakePieces(OwnPieces* own);
    /// After a job the helpers took part in: whether they sit out the next ones.
    void JudgeHelpers(int count, std::chrono::steady_clock::duration took, const OwnPieces& own);

    const int m_most;
    bool m_started = false;
    int m_sitOut = 0;       // jobs the helpers are still left out of
    int m_nextSitOut = 1;   // jobs they sit out the next time they slow one down
    std::uint32_t m_jobsStarted = 0;  // the caller's own count
    Job m_jobs[2];
    // The job under way (high half) and its next piece (low half): a piece is taken by moving
    // it on, which fails for a thread that still looks at a job that is over.
    std::atomic<std::uint64_t> m_taking{0};
    std::atomic<int> m_finished{0};      // pieces of the job under way that are done
    std::atomic<std::uint32_t> m_wake{0};  // changed for every job and at the end; helpers sleep on it
    std::atomic<bool> m_stop{false};
    std::mutex m_failureMutex;  // what the first failed piece threw
    std::exception_ptr m_failure;
    int m_failedPiece = 0;
    std::vector<std::thread> m_threads;
};

}  // namespace platform
