// Table points into their structures, large tables copied aside.
#include "dvh/PointKeeper.h"

namespace dvhread {

namespace {

/// The points of `head`, then those of `tail`, in an exact vector.
std::vector<DVsetClass> Joined(const std::vector<DVsetClass>& head, const std::vector<DVsetClass>& tail) {
    std::vector<DVsetClass> all;
    all.reserve(head.size() + tail.size());
    all.insert(all.end(), head.begin(), head.end());
    all.insert(all.end(), tail.begin(), tail.end());
    return all;
}

}  // namespace

void PointKeeper::Keep(std::vector<DVHDatasetClass>& structures, std::size_t index) {
    std::vector<DVsetClass>& points = m_scratch[m_current];
    std::vector<DVsetClass>& tail = m_tail[m_current];
    if (points.size() + tail.size() < kCopyAsideFrom) {
        structures[index].SetPoints(Joined(points, tail));
        points.clear();
        tail.clear();
        return;
    }
    Finish(structures);  // the copy before this one is done, and its scratch free again
    if (!m_copier) m_copier = std::make_unique<platform::BackgroundJob>();
    m_copyIndex = index;
    m_copying = true;
    // The copy's order is decided there too, while its points are still in that thread's cache.
    m_copier->Start([this, &points, &tail] { m_copy = DvhPointList(Joined(points, tail)); });
    m_current ^= 1;
    m_scratch[m_current].clear();
    m_tail[m_current].clear();
}

void PointKeeper::Finish(std::vector<DVHDatasetClass>& structures) {
    if (!m_copying) return;
    m_copier->Wait();
    structures[m_copyIndex].DVset = std::move(m_copy);
    m_copying = false;
}

}  // namespace dvhread
