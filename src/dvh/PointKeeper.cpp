// Table points into their structures, large tables copied aside.
#include "dvh/PointKeeper.h"

namespace dvhread {

namespace {

/// The points of `head`, then those of every piece, in an exact vector.
std::vector<DVsetClass> Joined(const std::vector<DVsetClass>& head, const PointPieces& pieces) {
    std::vector<DVsetClass> all;
    all.reserve(head.size() + pieces.Points());
    all.insert(all.end(), head.begin(), head.end());
    pieces.AppendTo(all);
    return all;
}

}  // namespace

PointKeeper::PointKeeper(platform::ThreadUse threads) : m_threads(threads) {}

void PointKeeper::Keep(std::vector<DVHDatasetClass>& structures, std::size_t index) {
    std::vector<DVsetClass>& points = m_scratch[m_current];
    PointPieces& pieces = m_pieces[m_current];
    if (points.size() + pieces.Points() < kCopyAsideFrom) {
        structures[index].SetPoints(Joined(points, pieces));
        points.clear();
        pieces.Clear();
        return;
    }
    Finish(structures);  // the copy before this one is done, and its scratch free again
    // Decided at the first large table, so that a plan of small ones never looks at the load.
    if (!m_copier) m_copier = std::make_unique<platform::BackgroundJob>(platform::ThreadsBeside(1, m_threads) == 1);
    m_copyIndex = index;
    m_copying = true;
    // The copy's order is decided there too, while its points are still in that thread's cache.
    m_copier->Start([this, &points, &pieces] { m_copy = DvhPointList(Joined(points, pieces)); });
    m_current ^= 1;
    m_scratch[m_current].clear();
    m_pieces[m_current].Clear();
}

void PointKeeper::Finish(std::vector<DVHDatasetClass>& structures) {
    if (!m_copying) return;
    m_copying = false;
    m_copier->Wait();  // throws what the copy threw
    structures[m_copyIndex].DVset = std::move(m_copy);
}

}  // namespace dvhread
