// XiO exports: one block per structure whose rows are a differential histogram in cGy and cc.
#include "import/XiOExport.h"

#include "dvh/DvhLineFields.h"
#include "dvh/DvhReading.h"
#include "dvh/DvhRowScan.h"
#include "dvh/LineCursor.h"
#include "dvh/NameCompare.h"
#include "dvh/RoundToDigits.h"
#include "import/ImportValueRange.h"
#include "import/TableStatistics.h"

#include <charconv>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

using namespace dvhtext;

namespace {

constexpr std::string_view kTitle = "XiO Dose Volume Histogram";

ReadResult Truncated(const LineCursor& lines) {
    return ReadResult::Fail(ReadStatus::Truncated, lines.LineNumber() + 1, "the file ends inside a structure");
}

ReadResult OutOfRange(const LineCursor& lines) { return OutOfRangeAt(lines.LineNumber()); }

/// The row count: the whole number before the first TAB of the line.
bool RowCount(std::string_view line, long& count) {
    std::string_view text = Trim(line.substr(0, line.find('\t')));
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), count);
    return ec == std::errc() && end == text.data() + text.size() && count >= 0;
}

/// A row of two plain numbers with blanks only around them ("100, 2.5"), read in place; false
/// for anything else, which `RowValues` then reads without its blanks.
bool PlainRow(std::string_view line, double& doseCGy, double& binCc) {
    const char* p = line.data();
    const char* end = p + line.size();
    const char* stop;
    double* value[2] = {&doseCGy, &binCc};
    for (int i = 0; i < 2; ++i) {
        while (p != end && IsBlank(*p)) ++p;
        if (p == end || *p == '+' || !ReadDecimal(p, end, *value[i], stop, end)) return false;
        p = stop;
        while (p != end && IsBlank(*p)) ++p;
        if (i == 0) {
            if (p == end || *p != ',') return false;
            ++p;
        }
    }
    return p == end;
}

/// One row without its blanks, split at its first comma into the dose (cGy) and the bin (cc).
bool RowValues(std::string_view line, double& doseCGy, double& binCc) {
    if (PlainRow(line, doseCGy, binCc)) return true;
    char packed[64];
    std::string spill;
    std::size_t n = 0;
    for (char c : line)
        if (!IsBlank(c)) ++n;
    char* text = packed;
    if (n > sizeof packed) {
        spill.resize(n);
        text = spill.data();
    }
    n = 0;
    for (char c : line)
        if (!IsBlank(c)) text[n++] = c;
    const std::string_view row(text, n);
    const std::size_t comma = row.find(',');
    if (comma == std::string_view::npos) return false;
    return ParseNumber(row.substr(0, comma), doseCGy) && ParseNumber(row.substr(comma + 1), binCc);
}

/// A row "dose, bin" of plain decimals with blanks only around the comma and the bin, from `row`
/// to its line feed `lf`, read straight from the cursor's buffer; false for anything else (a '+',
/// blanks inside a number, more than one CR), which `RowValues` then reads from the line.
[[gnu::always_inline]] inline bool FastRow(const char* row, const char* lf, double& doseCGy, double& binCc) {
    const char* q = row;
    if (!dvhrows::PlainDecimal(q, doseCGy)) return false;
    while (IsBlank(*q)) ++q;
    if (*q != ',') return false;
    ++q;
    while (IsBlank(*q)) ++q;
    if (!dvhrows::PlainDecimal(q, binCc)) return false;
    while (IsBlank(*q)) ++q;
    q += *q == '\r';
    return q == lf;
}

/// Walks the blocks: for each, `onBlock(name)` and then `onRows(count)`, which reads the block's
/// `count` rows.
template <class OnBlock, class OnRows>
ReadResult WalkBlocks(LineCursor& lines, ReadProgress* progress, OnBlock onBlock, OnRows onRows) {
    std::string_view line;
    long blocks = 0;
    while (lines.Next(line) && IsXiOBlockStart(line)) {
        ++blocks;
        if (progress) progress->LineRead();
        for (int i = 0; i < 3; ++i)
            if (!lines.Next(line)) return Truncated(lines);
        onBlock(line);
        if (!lines.Next(line) || !lines.Next(line)) return Truncated(lines);
        long count;
        if (!RowCount(line, count))
            return ReadResult::Fail(ReadStatus::BadNumber, lines.LineNumber(), Quote(line) + " is not a row count");
        if (!lines.Next(line) || !lines.Next(line)) return Truncated(lines);
        ReadResult r = onRows(count);
        if (!r) return r;
    }
    if (lines.ReadFailed()) return dvhread::ReadFailure(lines);
    if (blocks == 0) return ReadResult::Fail(ReadStatus::NoStructures, 1, "no \"XiO Dose Volume Histogram\" block");
    return {};
}

/// Reads `count` rows: runs of plain rows the fast way (`scan`, `take` as `dvhrows::FastLines`),
/// any other row line by line with `slow(line)`. Bounded by the lines really there: a count
/// larger than the file ends as truncated.
template <class Scan, class Take, class Slow>
ReadResult ReadRows(LineCursor& lines, long count, Scan scan, Take take, Slow slow) {
    std::string_view line;
    for (long left = count; left > 0;) {
        const long before = lines.LineNumber();
        if (!dvhrows::FastLines(lines, left, scan, take)) return OutOfRange(lines);
        left -= lines.LineNumber() - before;
        if (left == 0) break;
        if (!lines.Next(line)) return Truncated(lines);
        --left;
        ReadResult r = slow(line);
        if (!r) return r;
    }
    return {};
}

/// `RoundToDigits(x, 3)` for millions of points: in doubles where the thousandths lie clearly off
/// a half (the product's rounding error is far below the margin), by `RoundToDigits` otherwise.
double Round3(double x) {
    const double scaled = std::fabs(x) * 1000.0;
    if (!(scaled < 1099511627776.0)) return RoundToDigits(x, 3);  // 2^40: the margin would not hold
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    if (std::fabs(fraction - 0.5) <= 1e-6) return RoundToDigits(x, 3);
    double result = (fraction > 0.5 ? whole + 1 : whole) / 1000.0;
    if (x < 0) result = -result;
    return result == 0 ? 0.0 : result;
}

/// A point's volume in cc and in %, each `Round3`, made floats.
[[gnu::always_inline]] inline void SetVolumes(DVsetClass& p, double cc, double percent) {
#if defined(__SSE2__)
    // Both at once, step for step as `Round3`, whose every operation is exact or rounds alike in
    // either form; a value it would hand to `RoundToDigits` goes to it.
    const __m128d x = _mm_set_pd(percent, cc);
    const __m128d signBit = _mm_set1_pd(-0.0);
    const __m128d scaled = _mm_mul_pd(_mm_andnot_pd(signBit, x), _mm_set1_pd(1000.0));
    const __m128d inRange = _mm_cmplt_pd(scaled, _mm_set1_pd(1099511627776.0));
    // Below 2^52, adding and taking away 2^52 rounds to a whole number; one less where that rose.
    const __m128d two52 = _mm_set1_pd(4503599627370496.0);
    __m128d whole = _mm_sub_pd(_mm_add_pd(scaled, two52), two52);
    whole = _mm_sub_pd(whole, _mm_and_pd(_mm_cmpgt_pd(whole, scaled), _mm_set1_pd(1.0)));
    const __m128d fraction = _mm_sub_pd(scaled, whole);
    const __m128d offHalf = _mm_cmpgt_pd(_mm_andnot_pd(signBit, _mm_sub_pd(fraction, _mm_set1_pd(0.5))),
                                         _mm_set1_pd(1e-6));
    if (_mm_movemask_pd(_mm_and_pd(inRange, offHalf)) != 3) {
        p.VolumeCc = static_cast<float>(Round3(cc));
        p.VolumePercent = static_cast<float>(Round3(percent));
        return;
    }
    const __m128d up = _mm_and_pd(_mm_cmpgt_pd(fraction, _mm_set1_pd(0.5)), _mm_set1_pd(1.0));
    __m128d result = _mm_div_pd(_mm_add_pd(whole, up), _mm_set1_pd(1000.0));
    result = _mm_xor_pd(result, _mm_and_pd(_mm_cmplt_pd(x, _mm_setzero_pd()), signBit));
    result = _mm_and_pd(result, _mm_cmpneq_pd(result, _mm_setzero_pd()));  // no -0
    alignas(16) float f[4];
    _mm_store_ps(f, _mm_cvtpd_ps(result));
    p.VolumeCc = f[0];
    p.VolumePercent = f[1];
#else
    p.VolumeCc = static_cast<float>(Round3(cc));
    p.VolumePercent = static_cast<float>(Round3(percent));
#endif
}

/// The sum of the points' `VolumeCc`, in file order. Apart, so that the sum stays in a register.
[[gnu::noinline]] double SumOfVolumes(const std::vector<DVsetClass>& points) {
    double total = 0;
    for (const DVsetClass& p : points) total += p.VolumeCc;
    return total;
}

/// Makes the bins of a structure (held in `VolumeCc` of `points`) its cumulative curve, with
/// statistics; `points` is left for the next structure's bins.
void Accumulate(DVHDatasetClass& s, std::vector<DVsetClass>& points, double doseGy) {
    const double total = SumOfVolumes(points);
    s.Volume = static_cast<float>(total);
    // Point j's dose is its bin's lowest: the volume at that dose is its own bin and all later.
    double remaining = total;
    for (DVsetClass& p : points) {
        const double bin = p.VolumeCc;
        SetVolumes(p, remaining, total > 0 ? remaining * 100.0 / total : 0.0);
        remaining -= bin;
    }
    dvhread::KeepPoints(points, s);
    SetTableStatistics(s, doseGy, MinimumDoseRule::LastAtFull);
}

}  // namespace

bool IsXiOBlockStart(std::string_view line) { return StartsWith(line, kTitle); }

ReadResult ParseXiONames(LineCursor& lines, std::vector<std::string>& names) {
    std::vector<std::string> found;
    // Rows are passed over unread.
    ReadResult r = WalkBlocks(lines, nullptr, [&](std::string_view name) { found.emplace_back(name); },
                              [&](long count) {
                                  return ReadRows(
                                      lines, count, [](const char*, const char*) { return true; },
                                      [] { return true; }, [](std::string_view) { return ReadResult{}; });
                              });
    names = r ? std::move(found) : std::vector<std::string>{};
    return r;
}

ReadResult ParseXiONames(std::string_view text, std::vector<std::string>& names) {
    LineCursor lines(text);
    return ParseXiONames(lines, names);
}

int XiONormalTissueItem(const std::vector<std::string>& names) {
    int item = 0;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (StructureNamesEqual(names[i], "Body", false) || StructureNamesEqual(names[i], "Expanded", false))
            item = static_cast<int>(i) + 1;
    return item;
}

ReadResult ParseXiODvh(LineCursor& lines, float doseGy, ReadProgress* progress, ParsedPlan& out) {
    out = ParsedPlan{};
    // The dose comes from the dialog, from no line of the file.
    if (ReadResult r = importrange::CheckPrescribedDose(doseGy, 0); !r) return r;
    ParsedPlan plan;
    std::vector<DVsetClass> bins;  // of the block in hand, made its structure's curve at its end
    const double d = doseGy;
    // Dose and bin of a row: kept as a point whose volumes hold the bin until the block ends.
    double cGy, bin;
    auto keep = [&] {
        DVsetClass p;
        p.DosePercent = static_cast<float>(cGy / d);
        p.DoseGy = static_cast<float>(cGy * 0.01);
        p.VolumeCc = p.VolumePercent = static_cast<float>(bin);
        if (!importrange::PointInRange(p)) return false;
        bins.push_back(p);
        return true;
    };
    long nameLine = 0;  // of the block in hand: the line its structure is refused on
    ReadResult r = WalkBlocks(
        lines, progress,
        [&](std::string_view name) {
            nameLine = lines.LineNumber();
            DVHDatasetClass& s = plan.DVHDataset.emplace_back();
            s.Name = std::string(name);
            s.PrescribedDose = doseGy;
            s.LineWidth = 2;
        },
        [&](long count) {
            ReadResult rows = ReadRows(
                lines, count, [&](const char* row, const char* lf) { return FastRow(row, lf, cGy, bin); }, keep,
                [&](std::string_view line) {
                    if (!RowValues(line, cGy, bin))
                        return ReadResult::Fail(ReadStatus::BadRow, lines.LineNumber(),
                                                Quote(line) + " is not \"dose,volume\"");
                    return keep() ? ReadResult{} : OutOfRange(lines);
                });
            if (!rows) return rows;
            Accumulate(plan.DVHDataset.back(), bins, d);
            return importrange::CheckStatistics(plan.DVHDataset.back(), nameLine);
        });
    if (!r) return r;
    out = std::move(plan);
    return {};
}

ReadResult ParseXiODvh(std::string_view text, float doseGy, ParsedPlan& out) {
    LineCursor lines(text);
    return ParseXiODvh(lines, doseGy, nullptr, out);
}
