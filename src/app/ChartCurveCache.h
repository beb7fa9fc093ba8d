// The drawn plan's curves as chart data, kept between draws of the DVH chart.
#pragma once

#include "dvh/Records.h"

#include <qcustomplot.h>

#include <cstdint>
#include <unordered_map>

/// Chart data of structures' curves, kept from one draw to the next and rebuilt only for a
/// structure whose points changed (their version) or when the units change. Each curve keeps
/// its dose and volume ranges, so axes are scaled without visiting the points again.
class ChartCurveCache {
public:
    struct Curve {
        QSharedPointer<QCPGraphDataContainer> data;  // shared with the graph, not copied
        QCPRange doseRange, volumeRange;
        bool hasDose = false, hasVolume = false;
    };

    /// The curve of `s` with x in % of the prescribed dose or Gy, y in % or cc; built from the
    /// points only when not kept from an earlier draw.
    const Curve& CurveOf(const DVHDatasetClass& s, bool dosePercent, bool volumePercent);
    /// Ends a draw: curves not asked for since the last call are let go.
    void DropUnused();
    void Clear() { m_curves.clear(); }

private:
    struct Entry {
        Curve curve;
        bool dosePercent = false, volumePercent = false;
        bool used = false;
    };
    std::unordered_map<std::uint64_t, Entry> m_curves;  // by the points' version
};

/// What QCPAxis::rescale gives an axis over curves with these ranges: their union, or, when
/// that has no width (one constant value), the axis's present width centred on it. Nothing
/// changes without a range.
void RescaleAxis(QCPAxis* axis, const QCPRange& range, bool found);
