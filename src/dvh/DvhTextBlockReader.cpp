// Codes 12 and 13: a "Prescribed dose" line near the top, then blocks that begin "Struct",
// whose statistics are searched for, and whose table rows stand in fixed columns.
#include "dvh/DvhTextBlockReader.h"

#include "dvh/DvhLineFields.h"
#include "dvh/DvhRowScan.h"
#include "dvh/LineCursor.h"

#include <cmath>
#include <string>

using namespace dvhtext;
using dvhread::PercentOf;
using dvhread::SetDose;

namespace {

constexpr long kPrescribedDoseLines = 50;
constexpr int kSearchLines = 999;

/// A volume heading names an absolute volume when it gives cubic centimetres.
bool AbsoluteVolumeHeading(std::string_view heading) { return Contains(heading, "cm") || Contains(heading, "[cc]"); }

class DescriptionBlockReader {
public:
    DescriptionBlockReader(LineCursor& lines, const DvhReadOptions& options, double fileDoseGy, double fileFactor)
        : m_lines(lines), m_options(options), m_fileDose(fileDoseGy), m_fileFactor(fileFactor) {}

    ReadResult Read(std::string_view blockLine, DVHDatasetClass& s, std::vector<DVsetClass>& scratch) {
        const bool sum = m_options.FileType == 13;
        s.Name = std::string(ValueAfterColon(blockLine));
        s.ModifiedName.clear();
        s.LineWidth = 2;
        s.PrescribedDose = static_cast<float>(m_fileDose);
        const double pd = m_fileDose;

        std::string_view line;
        if (!Find(line, [](std::string_view l) { return StartsWith(l, "Volume"); }))
            return Missing("no \"Volume\" line");
        double volume;
        if (!ParseNumber(ValueAfterColon(line), volume))
            return NotANumberAt(m_lines.LineNumber(), ValueAfterColon(line));
        s.Volume = static_cast<float>(volume);
        if (!std::isfinite(s.Volume))
            return OutOfRangeAt(m_lines.LineNumber());

        if (!Find(line, [](std::string_view l) { return StartsWith(l, "Min"); })) return Missing("no \"Min\" line");
        // Minimum, maximum and mean; a "%" at the 11th (mean: 12th) character marks a relative value.
        double value[3];
        bool relative[3];
        long lineOf[3];
        for (int i = 0; i < 3; ++i) {
            if (i > 0 && !m_lines.Next(line)) return Truncated();
            lineOf[i] = m_lines.LineNumber();
            if (!ParseNumber(ValueAfterColon(line), value[i])) return NotANumberAt(lineOf[i], ValueAfterColon(line));
            relative[i] = CharAt(line, i == 2 ? 12 : 11) == '%';
        }
        if (!Find(line, [](std::string_view l) { return l.empty(); })) return Missing("no empty line before the table");
        if (!m_lines.Next(line)) return Truncated();

        double factor = m_fileFactor;
        bool relativeFirst = false;
        bool absolute;
        if (sum) {
            absolute = AbsoluteVolumeHeading(line);
            factor = NamesCentigray(line) ? 0.01 : 1.0;
        } else {
            std::string_view doses = Columns(line, 1, 37);
            relativeFirst = Position(doses, "Gy") > Position(doses, "[%]");
            absolute = AbsoluteVolumeHeading(FromColumn(line, 38));
        }
        // The statistics take the unit of their own block (a plan sum decides it per table).
        float* gy[3] = {&s.MinDoseGy, &s.MaxDoseGy, &s.MeanDoseGy};
        float* pc[3] = {&s.MinDosePercent, &s.MaxDosePercent, &s.MeanDosePercent};
        for (int i = 0; i < 3; ++i) {
            SetDose(value[i], relative[i], factor, pd, *gy[i], *pc[i]);
            if (!std::isfinite(*gy[i]) || !std::isfinite(*pc[i]))
                return OutOfRangeAt(lineOf[i]);
        }

        scratch.clear();
        const Table table{factor, pd, relativeFirst, absolute};
        ReadResult r = sum ? ReadTable<2>(table, s, scratch) : ReadTable<3>(table, s, scratch);
        if (!r) return r;
        return {};
    }

private:
    /// What a table's rows need to become points.
    struct Table {
        double factor;
        double pd;
        bool relativeFirst;
        bool absolute;
    };

    /// The rows up to the empty line that ends the table (or the end of the text); `N` is 3 for
    /// a one-plan table (dose, dose, volume), 2 for a plan sum's (dose, volume). Plain rows go
    /// the fast way, any other row line by line.
    template <int N>
    ReadResult ReadTable(const Table& t, DVHDatasetClass& s, std::vector<DVsetClass>& points) {
        // Where the columns end: characters 1-17 and 18-37 of a one-plan row, 1-10 of a sum's.
        static constexpr int kPlanEnds[] = {17, 37}, kSumEnds[] = {10};
        const int* ends = N == 3 ? kPlanEnds : kSumEnds;
        std::string_view line;
        for (;;) {
            if (!dvhrows::FastRows<N>(
                    m_lines, [ends](const char* row, double(&v)[N]) { return dvhrows::ColumnRow<N>(row, ends, v); },
                    [&](const double(&v)[N]) { return AddPoint<N>(t, v, s, points); }))
                return OutOfRangeAt(m_lines.LineNumber());
            if (!m_lines.Next(line) || line.empty()) return {};
            double v[N];
            std::string_view field[N];
            if constexpr (N == 3) {
                field[0] = Columns(line, 1, 17);
                field[1] = Columns(line, 18, 37);
                field[2] = FromColumn(line, 38);
            } else {
                field[0] = Columns(line, 1, 10);
                field[1] = FromColumn(line, 11);
            }
            const char* readable = m_lines.ReadableEnd();
            for (int i = 0; i < N; ++i)
                if (!ParseColumn(field[i], v[i], readable)) return NotANumberAt(m_lines.LineNumber(), field[i]);
            if (!AddPoint<N>(t, v, s, points)) return OutOfRangeAt(m_lines.LineNumber());
        }
    }

    /// The point of a row's numbers. An absolute volume above the structure's raises it.
    /// False when a value is out of range.
    template <int N>
    static bool AddPoint(const Table& t, const double (&v)[N], DVHDatasetClass& s, std::vector<DVsetClass>& points) {
        const double w = v[N - 1];
        DVsetClass p;
        if (t.absolute) {
            if (s.Volume < w) s.Volume = static_cast<float>(w);
            p.VolumeCc = static_cast<float>(w);
            p.VolumePercent = static_cast<float>(PercentOf(w, s.Volume));
        } else {
            p.VolumePercent = static_cast<float>(w);
            p.VolumeCc = static_cast<float>(s.Volume * 0.01 * w);
        }
        if constexpr (N == 2) {
            p.DoseGy = static_cast<float>(v[0] * t.factor);
            p.DosePercent = static_cast<float>(v[0] * t.factor * 100.0 / t.pd);
        } else {
            p.DoseGy = static_cast<float>((t.relativeFirst ? v[1] : v[0]) * t.factor);
            p.DosePercent = static_cast<float>(t.relativeFirst ? v[0] : v[1]);
        }
        if (!dvhread::Finite(p) || !std::isfinite(s.Volume)) return false;
        points.push_back(p);
        return true;
    }

    /// Reads on until a line matches, over at most 999 lines. The next block's line ends the
    /// search too: a block without its own statistics must not take the next block's.
    template <class Match>
    bool Find(std::string_view& line, Match match) {
        for (int n = 1; n <= kSearchLines; ++n) {
            if (!m_lines.Next(line)) return false;
            if (match(line)) return true;
            if (StartsWith(line, "Struct")) return false;
        }
        return false;
    }
    ReadResult Missing(const char* what) const {
        return ReadResult::Fail(ReadStatus::MissingLine, m_lines.LineNumber(), what);
    }
    ReadResult Truncated() const {
        return ReadResult::Fail(ReadStatus::Truncated, m_lines.LineNumber() + 1, "the file ends inside a structure");
    }

    LineCursor& m_lines;
    const DvhReadOptions& m_options;
    double m_fileDose;
    double m_fileFactor;
};

}  // namespace

ReadResult ParseDvhTextBlocks(LineCursor& lines, const DvhReadOptions& options, ParsedPlan& out) {
    out = ParsedPlan{};
    const bool sum = options.FileType == 13;
    if (options.FileType != 12 && !sum)
        return ReadResult::Fail(ReadStatus::UnknownFileType, 0, "not an export with a description header");
    if (sum && !(options.PlanSumDoseGy > 0 && std::isfinite(options.PlanSumDoseGy)))
        return ReadResult::Fail(ReadStatus::BadPrescribedDose, 0, "the prescribed dose must be above 0");

    std::string_view line;
    bool found = false;
    while (lines.LineNumber() < kPrescribedDoseLines && lines.Next(line))
        if (StartsWith(line, "Prescribed dose")) {
            found = true;
            break;
        }
    if (!found)
        return ReadResult::Fail(ReadStatus::NoPrescribedDose, 0,
                                "no \"Prescribed dose\" line in the first 50 lines");

    double fileFactor = 1.0;
    double fileDose = options.PlanSumDoseGy;
    if (!sum) {
        fileFactor = NamesCentigray(line) ? 0.01 : 1.0;
        double v;
        if (!ParseNumber(ValueAfterColon(line), v)) return NotANumberAt(lines.LineNumber(), ValueAfterColon(line));
        // The dose is kept as a float: it is the float that must be finite and above 0.
        fileDose = static_cast<float>(v * fileFactor);
        if (!(fileDose > 0) || !std::isfinite(fileDose))
            return ReadResult::Fail(ReadStatus::BadPrescribedDose, lines.LineNumber(),
                                    "the prescribed dose must be above 0");
    }
    lines.Next(line);  // the line after the prescribed dose says nothing the reader needs

    DescriptionBlockReader block(lines, options, fileDose, fileFactor);
    return dvhread::ReadBlocks(
        lines, options, [](std::string_view l) { return StartsWith(l, "Struct"); },
        [&](std::string_view l, DVHDatasetClass& s, std::vector<DVsetClass>& scratch, dvhread::PointPieces&) {
            return block.Read(l, s, scratch);
        },
        out);
}

ReadResult ParseDvhTextBlocks(std::string_view text, const DvhReadOptions& options, ParsedPlan& out) {
    LineCursor lines(text);
    return ParseDvhTextBlocks(lines, options, out);
}
