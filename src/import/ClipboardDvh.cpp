// Parsing BrainSCAN and iPlan clipboard tables and curves into structures with statistics.
#include "import/ClipboardDvh.h"

#include "dvh/DvhLineFields.h"
#include "import/ClipboardTable.h"
#include "import/ImportValueRange.h"

#include <string>

namespace {

constexpr float kNoMinimum = -99.0f;
/// Line 1 names every structure of a copy: a structure is refused on it.
constexpr long kNamesLine = 1;

bool Number(std::string_view text, float& out) {
    double v;
    if (!dvhtext::ParseNumber(text, v)) return false;
    out = static_cast<float>(v);
    return true;
}

/// A cell such as "[cc] 12.5" or "[%] 0.331": the number after its bracketed unit.
bool UnitCellNumber(std::string_view cell, float& out) {
    cell = dvhtext::Trim(cell);
    if (!cell.empty() && cell.front() == '[') {
        const std::size_t close = cell.find(']');
        if (close == std::string_view::npos) return false;
        cell.remove_prefix(close + 1);
    }
    return Number(cell, out);
}

/// Sum of the volumes of points [from, to) in single precision, as the tables were summed.
float VolumeSum(const std::vector<DVsetClass>& p, std::size_t from, std::size_t to) {
    float sum = 0;
    for (std::size_t j = from; j < to && j < p.size(); ++j) sum += p[j].VolumePercent;
    return sum;
}

float MaxDoseAbove0(const std::vector<DVsetClass>& p, std::size_t count) {
    for (std::size_t j = count; j-- > 0;)
        if (p[j].VolumePercent > 0) return p[j].DosePercent;
    return 0;
}

/// Mean of a cumulative curve over its first `segments` segments.
float CumulativeMean(const std::vector<DVsetClass>& p, std::size_t segments) {
    float mean = 0;
    for (std::size_t j = 0; j < segments && j + 1 < p.size(); ++j)
        mean += (p[j].VolumePercent - p[j + 1].VolumePercent) * 0.01f * p[j].DosePercent;
    return mean;
}

float LastAtFull(const std::vector<DVsetClass>& p) {
    float dose = 0;
    for (const DVsetClass& q : p)
        if (q.VolumePercent == 100.0f) dose = q.DosePercent;
    return dose;
}

/// The first dose above 0 whose bin holds volume: a bin at dose 0 leaves the search open.
float FirstFilledBin(const std::vector<DVsetClass>& p, std::size_t count) {
    float dose = 0;
    for (std::size_t j = 0; j < count && j < p.size() && dose == 0; ++j)
        if (p[j].VolumePercent > 0) dose = p[j].DosePercent;
    return dose;
}

/// Differential bins to cumulative volumes: each point but the last takes what remains
/// before its own bin; nothing remains below 0.
void BinsToCumulative(std::vector<DVsetClass>& p, float volumeCc) {
    float remaining = 100.0f;
    for (std::size_t j = 0; j + 1 < p.size(); ++j) {
        const float bin = p[j].VolumePercent;
        p[j].VolumePercent = remaining;
        p[j].VolumeCc = remaining * volumeCc * 0.01f;
        remaining -= bin;
        if (remaining < 0) remaining = 0;
    }
}

void SetGy(DVHDatasetClass& s, float referenceGy) {
    s.MinDoseGy = s.MinDosePercent == kNoMinimum ? kNoMinimum : s.MinDosePercent * referenceGy * 0.01f;
    s.MaxDoseGy = s.MaxDosePercent * referenceGy * 0.01f;
    s.MeanDoseGy = s.MeanDosePercent * referenceGy * 0.01f;
}

/// The iPlan differential statistics and conversion (tables and curves alike).
void IPlanDifferential(DVHDatasetClass& s, std::vector<DVsetClass>& p) {
    s.MinDosePercent = FirstFilledBin(p, p.size());
    s.MaxDosePercent = MaxDoseAbove0(p, p.size());
    float mean = 0;
    for (const DVsetClass& q : p) mean += q.VolumePercent * 0.01f * q.DosePercent;
    s.MeanDosePercent = mean;
    BinsToCumulative(p, s.Volume);
}

/// BrainSCAN differential bins (the dose-0 point's bin first) to a cumulative curve: running
/// remainder, a residual that the last point still holds set to 0, then one point up.
void BrainScanBinsToCumulative(std::vector<DVsetClass>& p, float volumeCc) {
    float remaining = 100.0f;
    for (DVsetClass& q : p) {
        remaining -= q.VolumePercent;
        if (remaining < 0) remaining = 0;
        q.VolumePercent = remaining;
    }
    const float residual = p.back().VolumePercent;
    if (residual > 0)
        for (DVsetClass& q : p)
            if (q.VolumePercent == residual) q.VolumePercent = 0;
    for (std::size_t j = p.size() - 1; j >= 1; --j) p[j].VolumePercent = p[j - 1].VolumePercent;
    for (DVsetClass& q : p) q.VolumeCc = q.VolumePercent * volumeCc * 0.01f;
}

/// Statistics of structures added to a plan: computed on the table's values (bins for a
/// differential table, which is converted afterwards).
void AddedStructureStatistics(DVHDatasetClass& s, std::vector<DVsetClass>& p, bool cumulative) {
    const std::size_t last = p.size() - 1;
    s.MaxDosePercent = MaxDoseAbove0(p, last);
    if (cumulative) {
        s.MinDosePercent = 0;
        for (std::size_t j = 0; j < last; ++j)
            if (p[j].VolumePercent < 100.0f) {
                s.MinDosePercent = j == 0 ? 0 : p[j - 1].DosePercent;
                break;
            }
        s.MeanDosePercent = CumulativeMean(p, last);
        return;
    }
    s.MinDosePercent = FirstFilledBin(p, last);
    float mean = 0;
    for (std::size_t j = 0; j < last; ++j) mean += p[j].VolumePercent * 0.01f * p[j].DosePercent;
    s.MeanDosePercent = mean;
    BinsToCumulative(p, s.Volume);
}

struct TableColumns {
    std::vector<float> Volumes;
    std::vector<float> Doses;                 // one per data row
    std::vector<std::vector<float>> Values;   // [structure][row]
};

/// Reads the volumes of line 2 and the data rows of a table with `count` structure columns,
/// cells after the first. `unitCells`: line 2's cells carry a bracketed unit.
ReadResult ReadColumns(const std::vector<std::string_view>& lines, std::size_t count, bool unitCells,
                       TableColumns& t) {
    if (lines.size() < 2) return ReadResult::Fail(ReadStatus::Truncated, 2, "no volumes line");
    const auto volumeFields = TabFields(lines[1]);
    if (volumeFields.size() < count + 1) return ReadResult::Fail(ReadStatus::BadRow, 2, "too few volumes");
    for (std::size_t i = 0; i < count; ++i) {
        float v;
        const bool ok = unitCells ? UnitCellNumber(volumeFields[i + 1], v) : Number(volumeFields[i + 1], v);
        if (!ok) return NotANumberAt(2, volumeFields[i + 1]);
        t.Volumes.push_back(v);
    }
    t.Values.assign(count, {});
    for (std::size_t row = 2; row < lines.size(); ++row) {
        if (lines[row].find('\t') == std::string_view::npos) break;
        const auto fields = TabFields(lines[row]);
        const long lineNumber = static_cast<long>(row) + 1;
        if (fields.size() < count + 1) return ReadResult::Fail(ReadStatus::BadRow, lineNumber, "too few cells");
        float dose;
        if (!Number(fields[0], dose)) return NotANumberAt(lineNumber, fields[0]);
        t.Doses.push_back(dose);
        for (std::size_t i = 0; i < count; ++i) {
            float v;
            if (!Number(fields[i + 1], v)) return NotANumberAt(lineNumber, fields[i + 1]);
            t.Values[i].push_back(v);
        }
    }
    if (t.Doses.empty()) return ReadResult::Fail(ReadStatus::Truncated, 3, "no data rows");
    return {};
}

DVHDatasetClass NewStructure(const std::string& name, float volume, float prescribedGy) {
    DVHDatasetClass s;
    s.Name = name;
    s.Volume = volume;
    s.PrescribedDose = prescribedGy;
    s.LineWidth = 2;
    return s;
}

}  // namespace

ReadResult ParseBrainScanTable(std::string_view text, float prescribedGy, BrainScanUse use,
                               std::vector<DVHDatasetClass>& out) {
    out.clear();
    const auto names = BrainScanNames(text);
    if (names.empty()) return ReadResult::Fail(ReadStatus::NoStructures, 1, "no structure names");
    TableColumns t;
    if (ReadResult r = ReadColumns(ClipboardLines(text), names.size(), false, t); !r) return r;

    // Classified on the data rows alone: the dose-0 point is a copy, not a measured bin.
    bool cumulative = false;
    for (const auto& column : t.Values) {
        float sum = 0;
        for (float v : column) sum += v;
        if (sum > 103.0f) cumulative = true;
    }
    std::vector<DVHDatasetClass> parsed;
    for (std::size_t i = 0; i < names.size(); ++i) {
        DVHDatasetClass s = NewStructure(names[i], t.Volumes[i], prescribedGy);
        std::vector<DVsetClass> p;
        // A differential table holds nothing below dose 0, so its dose-0 bin is empty and
        // the curve starts at 100 %.
        const float atZero = cumulative ? t.Values[i][0] : 0.0f;
        p.push_back({0, 0, atZero, atZero * s.Volume * 0.01f});
        for (std::size_t row = 0; row < t.Doses.size(); ++row) {
            const float v = t.Values[i][row];
            p.push_back({t.Doses[row], t.Doses[row] * prescribedGy * 0.01f, v, v * s.Volume * 0.01f});
        }
        if (use == BrainScanUse::AddedStructures) {
            AddedStructureStatistics(s, p, cumulative);
        } else {
            if (!cumulative) BrainScanBinsToCumulative(p, s.Volume);
            s.MinDosePercent = LastAtFull(p);
            s.MaxDosePercent = MaxDoseAbove0(p, p.size());
            s.MeanDosePercent = CumulativeMean(p, p.size());
        }
        SetGy(s, prescribedGy);
        if (ReadResult r = importrange::CheckStatistics(s, kNamesLine); !r) return r;
        s.SetPoints(std::move(p));
        parsed.push_back(std::move(s));
    }
    out = std::move(parsed);
    return {};
}

ReadResult ParseIPlanTable(std::string_view text, float prescribedGy, std::vector<DVHDatasetClass>& out) {
    out.clear();
    const auto names = IPlanTableNames(text);
    if (names.empty()) return ReadResult::Fail(ReadStatus::NoStructures, 1, "no structure names");
    const auto lines = ClipboardLines(text);
    TableColumns t;
    if (ReadResult r = ReadColumns(lines, names.size(), true, t); !r) return r;
    const bool inGy = dvhtext::StartsWith(lines[1], "[Gy]");

    std::vector<std::vector<DVsetClass>> points(names.size());
    bool cumulative = false;
    for (std::size_t i = 0; i < names.size(); ++i) {
        for (std::size_t row = 0; row < t.Doses.size(); ++row) {
            const float dose = t.Doses[row];
            const float v = t.Values[i][row];
            DVsetClass q;
            q.DosePercent = inGy ? dose * 100.0f / prescribedGy : dose;
            q.DoseGy = inGy ? dose : dose * prescribedGy * 0.01f;
            q.VolumePercent = v;
            q.VolumeCc = v * t.Volumes[i] * 0.01f;
            points[i].push_back(q);
        }
        if (VolumeSum(points[i], 0, points[i].size() - 1) > 103.0f) cumulative = true;
    }
    std::vector<DVHDatasetClass> parsed;
    for (std::size_t i = 0; i < names.size(); ++i) {
        DVHDatasetClass s = NewStructure(names[i], t.Volumes[i], prescribedGy);
        std::vector<DVsetClass>& p = points[i];
        if (cumulative) {
            s.MinDosePercent = LastAtFull(p);
            s.MaxDosePercent = MaxDoseAbove0(p, p.size());
            s.MeanDosePercent = CumulativeMean(p, p.size());
        } else {
            IPlanDifferential(s, p);
        }
        SetGy(s, prescribedGy);
        if (ReadResult r = importrange::CheckStatistics(s, kNamesLine); !r) return r;
        s.SetPoints(std::move(p));
        parsed.push_back(std::move(s));
    }
    out = std::move(parsed);
    return {};
}

std::string IPlanCurveName(std::string_view text) {
    const auto lines = ClipboardLines(text);
    if (lines.empty() || lines[0].size() <= 5) return "";
    std::string_view name = lines[0].substr(5);
    // The copy closes line 1 with a TAB; a line without one keeps its last character.
    if (!name.empty() && name.back() == '\t') name.remove_suffix(1);
    return std::string(name);
}

ReadResult ParseIPlanCurve(std::string_view text, DVHDatasetClass& out) {
    const auto lines = ClipboardLines(text);
    if (lines.size() < 2) return ReadResult::Fail(ReadStatus::Truncated, 2, "no unit line");
    const bool inGy = dvhtext::StartsWith(lines[1], "[Gy]");
    const auto unitFields = TabFields(lines[1]);
    float reference = 100.0f;
    if (!inGy) {
        std::string_view cell = unitFields[0];
        if (dvhtext::StartsWith(cell, "[%]")) cell.remove_prefix(3);
        if (!Number(cell, reference)) return NotANumberAt(2, unitFields[0]);
        if (!(reference > 0))
            return ReadResult::Fail(ReadStatus::BadPrescribedDose, 2, "reference dose not above 0");
    }
    if (unitFields.size() < 2) return ReadResult::Fail(ReadStatus::BadRow, 2, "no volume cell");
    DVHDatasetClass s = NewStructure(IPlanCurveName(text), 0, reference);
    s.ModifiedName = s.Name;
    // The volume cell is its four-character unit ("[%] ", "[cc]") and the number. A cell whose
    // first four characters hold a digit has no such unit: cutting them would change the number.
    const std::string_view volumeCell = unitFields[1];
    if (volumeCell.size() < 4 || volumeCell.substr(0, 4).find_first_of("0123456789") != std::string_view::npos ||
        !Number(volumeCell.substr(4), s.Volume))
        return NotANumberAt(2, volumeCell);

    std::vector<DVsetClass> p;
    for (std::size_t row = 2; row < lines.size(); ++row) {
        if (lines[row].find('\t') == std::string_view::npos) break;
        const auto fields = TabFields(lines[row]);
        const long lineNumber = static_cast<long>(row) + 1;
        if (fields.size() < 3) return ReadResult::Fail(ReadStatus::BadRow, lineNumber, "no second TAB");
        DVsetClass q;
        if (!Number(fields[0], q.DosePercent)) return NotANumberAt(lineNumber, fields[0]);
        if (!Number(fields[1], q.VolumePercent)) return NotANumberAt(lineNumber, fields[1]);
        q.DoseGy = inGy ? q.DosePercent : q.DosePercent * reference * 0.01f;
        q.VolumeCc = q.VolumePercent * s.Volume * 0.01f;
        p.push_back(q);
    }
    if (!p.empty() && VolumeSum(p, 0, p.size() - 1) > 103.0f) {
        s.MinDosePercent = kNoMinimum;
        for (const DVsetClass& q : p)
            if (q.VolumePercent < 100.0f) {
                s.MinDosePercent = q.DosePercent;
                break;
            }
        s.MaxDosePercent = MaxDoseAbove0(p, p.size());
        s.MeanDosePercent = CumulativeMean(p, p.size());
    } else if (!p.empty()) {
        IPlanDifferential(s, p);
    }
    SetGy(s, reference);
    if (ReadResult r = importrange::CheckStatistics(s, kNamesLine); !r) return r;
    s.SetPoints(std::move(p));
    out = std::move(s);
    return {};
}
