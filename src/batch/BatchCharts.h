// What the batch result window draws: the histogram of one row's values and the curve ends.
#pragma once

#include "dvh/Records.h"

#include <vector>

/// Counts of one row's values in bins of equal width. Bin b holds the values v with
/// trunc(v / width) = b; bars are drawn at x = the bin number.
struct BatchHistogram {
    double BinWidth = 0;
    /// The bin of the first bar: one below the smallest value's bin, never below 0.
    int FirstBin = 0;
    /// The count of bins FirstBin, FirstBin + 1, ..., up to the largest value's bin.
    std::vector<int> Counts;
    double MinValue = 0;
    double MaxValue = 0;

    bool Empty() const { return Counts.empty(); }
    int LargestCount() const;
};

/// The most bars a histogram holds: a wider bin is taken until the bars fit.
constexpr int kMaxHistogramBars = 10000;

/// The histogram of `values`. Only finite values of 0 or more count (not the -99 of a plan
/// without the structure, the -1 of a value the calculator has none for). The bin width
/// follows the range of the counted values: 1 below 19, 2 below 39, 5 below 99, 10 below
/// 199, else 20; then 50, 100, 200, 500, ... while the bars would number more than
/// `kMaxHistogramBars`. Empty when no value counts.
BatchHistogram MakeBatchHistogram(const std::vector<float>& values);

/// The largest dose of each drawn curve's next-to-last point (its only point for a curve of
/// one point; nothing for an empty curve), in Gy and in %: the end of the DVH export's dose range.
struct CurveEnds {
    float DoseGy = 0;
    float DosePercent = 0;
};

/// Over the batch plans `planDatasetIndex` (indices into `plans`) and the structure each has
/// (`structureIndex`, one per batch plan; negative for none), the curve ends of the drawn
/// curves. Plans or structures that do not exist draw nothing.
CurveEnds BatchCurveEnds(const std::vector<PDatasetClass>& plans, const std::vector<int>& planDatasetIndex,
                         const std::vector<int>& structureIndex);

/// The structure of batch plan `i`, or null when the plan or structure does not exist.
const DVHDatasetClass* BatchStructure(const std::vector<PDatasetClass>& plans, const std::vector<int>& planDatasetIndex,
                                      const std::vector<int>& structureIndex, std::size_t i);
