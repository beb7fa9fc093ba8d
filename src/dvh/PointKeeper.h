// Hands each table's points to its structure. Tables are read into a scratch vector used again
// and again, so its memory is warm. A large table's points are then copied into an exact vector
// of their own on a thread of its own, which also bears the first touch of that fresh memory and
// decides the points' order, while the next table is read.
#pragma once

#include "dvh/Records.h"
#include "platform/BackgroundJob.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace dvhread {

class PointKeeper {
public:
    /// Tables of at least this many points are copied aside; smaller ones at once, where
    /// handing them over would cost more than it saves.
    static constexpr std::size_t kCopyAsideFrom = 4096;

    PointKeeper() = default;
    /// Waits for a copy under way (a read that failed drops its plan with it).
    ~PointKeeper() = default;
    PointKeeper(const PointKeeper&) = delete;
    PointKeeper& operator=(const PointKeeper&) = delete;

    /// Where the next table's points go; empty until they are read.
    std::vector<DVsetClass>& Scratch() { return m_scratch[m_current]; }
    /// Points that follow those in `Scratch()`, read apart (the second half of a long table),
    /// which are handed over with them rather than appended to them first.
    std::vector<DVsetClass>& Tail() { return m_tail[m_current]; }
    /// The points in `Scratch()`, then those in `Tail()`, belong to `structures[index]`: they
    /// reach it by `Finish` at the latest. `Scratch()` and `Tail()` are empty afterwards.
    void Keep(std::vector<DVHDatasetClass>& structures, std::size_t index);
    /// Every structure kept so far has its points.
    void Finish(std::vector<DVHDatasetClass>& structures);

private:
    std::vector<DVsetClass> m_scratch[2];
    std::vector<DVsetClass> m_tail[2];
    int m_current = 0;
    // The copy under way (while `m_copying`): from the other scratch and tail into `m_copy`, for the
    // structure at `m_copyIndex`.
    DvhPointList m_copy;
    std::size_t m_copyIndex = 0;
    bool m_copying = false;
    std::unique_ptr<platform::BackgroundJob> m_copier;  // last: destroyed first, so a copy ends before its vectors
};

}  // namespace dvhread
