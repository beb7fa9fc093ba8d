// Building a structure's chart data once and keeping it until its points or the units change.
#include "app/ChartCurveCache.h"

#include "dvh/PlanView.h"

#include <cmath>

const ChartCurveCache::Curve& ChartCurveCache::CurveOf(const DVHDatasetClass& s, bool dosePercent,
                                                       bool volumePercent) {
    Entry& e = m_curves[s.DVset.Version()];
    e.used = true;
    if (e.curve.data && e.dosePercent == dosePercent && e.volumePercent == volumePercent) return e.curve;

    QVector<QCPGraphData> points(static_cast<qsizetype>(s.DVset.size()));
    bool sorted = true;
    // The volume range as QCPDataContainer::valueRange finds it (NaN left out), in the same pass.
    double low = 0, high = 0;
    bool hasVolume = false;
    for (qsizetype j = 0; j < points.size(); ++j) {
        const DVsetClass& p = s.DVset[static_cast<std::size_t>(j)];
        const double y = CurveY(p, volumePercent);
        points[j] = QCPGraphData(CurveX(p, dosePercent), y);
        if (j > 0 && points[j].key < points[j - 1].key) sorted = false;
        if (std::isnan(y)) continue;
        if (!hasVolume || y < low) low = y;
        if (!hasVolume || y > high) high = y;
        hasVolume = true;
    }
    // A fresh container each time: the one a graph still shows is never changed under it.
    e.curve.data = QSharedPointer<QCPGraphDataContainer>::create();
    e.curve.data->set(points, sorted);
    e.curve.doseRange = e.curve.data->keyRange(e.curve.hasDose);  // its ends once sorted
    e.curve.volumeRange = QCPRange(low, high);
    e.curve.hasVolume = hasVolume;
    e.dosePercent = dosePercent;
    e.volumePercent = volumePercent;
    return e.curve;
}

void ChartCurveCache::DropUnused() {
    for (auto it = m_curves.begin(); it != m_curves.end();) {
        if (it->second.used) {
            it->second.used = false;
            ++it;
        } else {
            it = m_curves.erase(it);
        }
    }
}

void RescaleAxis(QCPAxis* axis, const QCPRange& range, bool found) {
    if (!found) return;
    QCPRange r = range;
    if (!QCPRange::validRange(r)) {
        const double centre = (r.lower + r.upper) * 0.5;
        r.lower = centre - axis->range().size() / 2.0;
        r.upper = centre + axis->range().size() / 2.0;
    }
    axis->setRange(r);
}
