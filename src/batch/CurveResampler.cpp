// Resampling a cumulative curve at rising doses by one sweep.
#include "batch/CurveResampler.h"

#include "planlist/IndexCalculator.h"

#include <cmath>

CurveResampler::CurveResampler(const PDatasetClass& plan, int structureIndex, bool relativeDose)
    : m_plan(plan), m_structureIndex(structureIndex), m_relative(relativeDose) {
    if (structureIndex < 0 || structureIndex >= plan.DVHDatasetCount()) return;
    m_structure = &plan.DVHDataset[structureIndex];
    const auto& pts = m_structure->DVset;
    m_sweep = true;
    for (std::size_t i = 1; i < pts.size() && m_sweep; ++i)
        m_sweep = m_relative ? pts[i].DosePercent >= pts[i - 1].DosePercent : pts[i].DoseGy >= pts[i - 1].DoseGy;
}

float CurveResampler::VolumeAt(float dose) {
    if (!m_structure) return -1.0f;
    if (!m_sweep) return CalcDatasetIndex(m_plan, m_structureIndex, m_relative ? 1 : 0, dose);
    const auto& pts = m_structure->DVset;
    const double level = dose;
    auto key = [&](std::size_t i) -> double { return m_relative ? pts[i].DosePercent : pts[i].DoseGy; };
    while (m_next < pts.size() && key(m_next) <= level) ++m_next;
    // With doses that never fall, the one segment with key[s] <= level < key[s + 1] is the one
    // that ends at the first point above the level: the calculator's segment.
    if (m_next == 0 || m_next >= pts.size()) return 0.0f;
    const std::size_t s = m_next - 1;
    const double k0 = key(s), k1 = key(s + 1);
    const double o0 = pts[s].VolumePercent, o1 = pts[s + 1].VolumePercent;
    const float v = static_cast<float>(o0 + (o1 - o0) * (level - k0) / (k1 - k0));
    if (v < 0) return 0.0f;
    return std::isfinite(v) ? v : -1.0f;
}
