// Writing a plan as a BrainSCAN/iPlan DVH table file, the form the saved-DVH store keeps them in.
#include "import/BrainLabTable.h"

#include "import/TableNumber.h"

#include <algorithm>
#include <cmath>

namespace {

const char* const kEol = "\r\n";
// A table row is i % of the prescribed dose, written with three decimals: a point closer to
// its row than the last written decimal is on the grid.
constexpr double kGridTolerance = 0.0005;
// Far beyond any dose a plan is given (100 times the prescription): a bound on the rows that a
// nonsensical point could otherwise ask for.
constexpr double kHighestRow = 10000;

std::string HeaderLine(const char* label, std::string_view value) {
    std::string line(label);
    line.resize(21, ' ');
    line += ": ";
    line += value;
    line += kEol;
    return line;
}

std::string RowLabel(int row) {
    std::string label = std::to_string(row);
    if (label.size() < 3) label.insert(0, 3 - label.size(), ' ');
    return label;
}

/// The volume in % of a curve at `dosePercent`, linear between the points that enclose it;
/// the first point's volume below the curve, 0 above its last point. `from` carries the
/// segment of the previous row forward, as rows rise.
double VolumeAt(const std::vector<DVsetClass>& p, double dosePercent, std::size_t& from) {
    if (p.empty() || dosePercent > p.back().DosePercent) return 0.0;
    if (dosePercent <= p.front().DosePercent) return p.front().VolumePercent;
    while (from + 1 < p.size() && p[from + 1].DosePercent < dosePercent) ++from;
    const DVsetClass& a = p[from];
    const DVsetClass& b = p[std::min(from + 1, p.size() - 1)];
    const double span = static_cast<double>(b.DosePercent) - a.DosePercent;
    if (!(span > 0)) return b.VolumePercent;
    return a.VolumePercent +
           (dosePercent - a.DosePercent) / span * (static_cast<double>(b.VolumePercent) - a.VolumePercent);
}

}  // namespace

bool PointsOnPercentGrid(const PDatasetClass& plan) {
    for (const DVHDatasetClass& s : plan.DVHDataset)
        for (std::size_t i = 0; i < s.DVset.size(); ++i)
            if (!(std::fabs(s.DVset[i].DosePercent - static_cast<double>(i)) <= kGridTolerance)) return false;
    return true;
}

std::string BrainLabTableText(const PDatasetClass& plan) {
    std::string text;
    text += HeaderLine("Patient Name", plan.PatientName);
    text += HeaderLine("Patient ID", plan.PatientID);
    text += HeaderLine("Comment", plan.FileType == FileTypeIPlan ? "iPlan DVHs" : "BrainSCAN DVHs");
    // Readers take the date from ten characters and the time from two characters after them.
    std::string date = plan.Date.substr(0, std::min<std::size_t>(plan.Date.size(), 10));
    date.resize(10, ' ');
    text += HeaderLine("Date", date + "  " + plan.Time);
    text += HeaderLine("Type", "Cumulative Dose Volume Histogram");
    text += HeaderLine("Plan", plan.PlanName + " - " + plan.PlanID);
    const double prescribed = plan.DVHDataset.empty() ? 0.0 : plan.DVHDataset.front().PrescribedDose;
    text += HeaderLine("Prescribed dose [cGy]", FixedText(prescribed * 100.0, 3));
    text += kEol;

    for (const DVHDatasetClass& s : plan.DVHDataset) {
        text += '\t';
        text += s.Name;
    }
    text += kEol;
    for (const DVHDatasetClass& s : plan.DVHDataset) {
        text += '\t';
        text += FixedText(s.Volume, 3);
    }
    text += kEol;

    if (PointsOnPercentGrid(plan)) {
        int last = 0;
        for (const DVHDatasetClass& s : plan.DVHDataset) last = std::max(last, s.LastDVsetIndex());
        for (int i = 0; i <= last; ++i) {
            text += RowLabel(i);
            for (const DVHDatasetClass& s : plan.DVHDataset) {
                text += '\t';
                text += i <= s.LastDVsetIndex() ? FixedText(s.DVset[i].VolumePercent, 3) : "0.000";
            }
            text += kEol;
        }
    } else {
        // Rows up to the first whole percent at or above the highest dose, so every curve's
        // fall to 0 % is kept.
        double highest = 0;
        for (const DVHDatasetClass& s : plan.DVHDataset)
            for (const DVsetClass& p : s.DVset) highest = std::max(highest, static_cast<double>(p.DosePercent));
        if (!(highest <= kHighestRow)) highest = kHighestRow;
        const int last = static_cast<int>(std::ceil(highest - kGridTolerance));
        std::vector<std::size_t> from(plan.DVHDataset.size(), 0);
        for (int i = 0; i <= last; ++i) {
            text += RowLabel(i);
            for (std::size_t k = 0; k < plan.DVHDataset.size(); ++k) {
                text += '\t';
                text += FixedText(VolumeAt(plan.DVHDataset[k].DVset, i, from[k]), 3);
            }
            text += kEol;
        }
    }
    text += "EOF";
    return text;
}
