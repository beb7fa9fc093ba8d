// Table points into their structures, large tables copied aside.
#include "dvh/PointKeeper.h"

namespace dvhread {

void PointKeeper::Keep(std::vector<DVHDatasetClass>& structures, std::size_t index) {
    std::vector<DVsetClass>& points = m_scratch[m_current];
    if (points.size() < kCopyAsideFrom) {
        structures[index].SetPoints(std::vector<DVsetClass>(points.begin(), points.end()));
        points.clear();
        return;
    }
    Finish(structures);  // the copy before this one is done, and its scratch free again
    if (!m_copier) m_copier = std::make_unique<platform::BackgroundJob>();
    m_copyIndex = index;
    m_copying = true;
    // The copy's order is decided there too, while its points are still in that thread's cache.
    m_copier->Start([this, &points] { m_copy = DvhPointList(std::vector<DVsetClass>(points.begin(), points.end())); });
    m_current ^= 1;
    m_scratch[m_current].clear();
}

void PointKeeper::Finish(std::vector<DVHDatasetClass>& structures) {
    if (!m_copying) return;
    m_copier->Wait();
    structures[m_copyIndex].DVset = std::move(m_copy);
    m_copying = false;
}

}  // namespace dvhread
