// Hands each table's points to its structure. Tables are read into a scratch vector used again
// and again, so its memory is warm. A large table's points are then copied into an exact vector
// of their own on a thread of its own, which also bears the first touch of that fresh memory and
// decides the points' order, while the next table is read: where the machine has a processor
// free for that thread at its first large table, else by the reader itself.
#pragma once

#include "dvh/Records.h"
#include "platform/BackgroundJob.h"
#include "platform/Processors.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace dvhread {

/// The points of a table read apart, piece by piece in order. A piece keeps its memory when
/// it is cleared, so that the next table's pieces are read into warm memory.
class PointPieces {
public:
    /// A new, empty piece after the others.
    std::vector<DVsetClass>& Add() {
        if (m_count == m_pieces.size()) m_pieces.emplace_back();
        std::vector<DVsetClass>& piece = m_pieces[m_count++];
        piece.clear();
        return piece;
    }
    /// Drops the pieces from `count` on.
    void Keep(std::size_t count) {
        if (count < m_count) m_count = count;
    }
    void Clear() { m_count = 0; }
    std::size_t Count() const { return m_count; }
    const std::vector<DVsetClass>& operator[](std::size_t i) const { return m_pieces[i]; }
    std::vector<DVsetClass>& operator[](std::size_t i) { return m_pieces[i]; }
    /// Appends the points of every piece, in order, to `points`.
    void AppendTo(std::vector<DVsetClass>& points) const {
        for (std::size_t i = 0; i < m_count; ++i) points.insert(points.end(), m_pieces[i].begin(), m_pieces[i].end());
    }
    /// Points in all pieces.
    std::size_t Points() const {
        std::size_t n = 0;
        for (std::size_t i = 0; i < m_count; ++i) n += m_pieces[i].size();
        return n;
    }

private:
    std::vector<std::vector<DVsetClass>> m_pieces;
    std::size_t m_count = 0;
};

class PointKeeper {
public:
    /// Tables of at least this many points are copied aside; smaller ones at once, where
    /// handing them over would cost more than it saves.
    static constexpr std::size_t kCopyAsideFrom = 4096;

    /// Whether the copies take a thread of their own by the machine's load or whatever it is.
    explicit PointKeeper(platform::ThreadUse threads);
    /// Waits for a copy under way (a read that failed drops its plan with it).
    ~PointKeeper() = default;
    PointKeeper(const PointKeeper&) = delete;
    PointKeeper& operator=(const PointKeeper&) = delete;

    /// Where the next table's points go; empty until they are read.
    std::vector<DVsetClass>& Scratch() { return m_scratch[m_current]; }
    /// Points that follow those in `Scratch()`, read apart (the later pieces of a long table),
    /// which are handed over with them rather than appended to them first.
    PointPieces& Pieces() { return m_pieces[m_current]; }
    /// The points in `Scratch()`, then those in `Pieces()`, belong to `structures[index]`: they
    /// reach it by `Finish` at the latest. `Scratch()` and `Pieces()` are empty afterwards.
    void Keep(std::vector<DVHDatasetClass>& structures, std::size_t index);
    /// Every structure kept so far has its points.
    void Finish(std::vector<DVHDatasetClass>& structures);

private:
    std::vector<DVsetClass> m_scratch[2];
    PointPieces m_pieces[2];
    int m_current = 0;
    // The copy under way (while `m_copying`): from the other scratch and pieces into `m_copy`, for the
    // structure at `m_copyIndex`.
    DvhPointList m_copy;
    std::size_t m_copyIndex = 0;
    bool m_copying = false;
    platform::ThreadUse m_threads;  // whether the copies may take a thread of their own
    std::unique_ptr<platform::BackgroundJob> m_copier;  // last: destroyed first, so a copy ends before its vectors
};

}  // namespace dvhread
