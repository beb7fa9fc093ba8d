// The relative volume of one curve at a rising series of doses, as the index calculator gives it.
#pragma once

#include "dvh/Records.h"

/// Gives for one structure what `CalcDatasetIndex` gives (kind 0 at a dose in Gy, kind 1 at a
/// dose in %), value for value, at doses asked in rising order. A curve whose dose column
/// never falls is swept once from start to end; any other curve is looked up in full each time.
class CurveResampler {
public:
    CurveResampler(const PDatasetClass& plan, int structureIndex, bool relativeDose);
    /// The relative volume at `dose`: interpolated on the segment that encloses it, 0 where
    /// none does, -1 for a structure outside the plan. Doses must not fall from call to call.
    float VolumeAt(float dose);

private:
    const PDatasetClass& m_plan;
    const DVHDatasetClass* m_structure = nullptr;
    int m_structureIndex;
    bool m_relative;
    bool m_sweep = false;
    std::size_t m_next = 0;  // first point whose dose lies above the last dose asked
};
