// Codes 2 and 3: after an 8-line header, blocks that begin at a line starting with "H", hold
// fixed statistics lines and end with a TAB-separated table.
#include "dvh/DvhExportReader.h"

#include "dvh/DvhLineFields.h"
#include "dvh/DvhRowScan.h"
#include "dvh/LineCursor.h"
#include "platform/HelperThreads.h"
#include "platform/Processors.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>

using namespace dvhtext;
using dvhread::PercentOf;
using dvhread::SetDose;

namespace {

constexpr int kHeaderLines = 8;

/// The structure name: the block line's value after its first " - ", or the whole value
/// when it holds no separator.
std::string BlockName(std::string_view line) {
    std::string_view value = LabelValue(line);
    std::size_t sep = value.find(" - ");
    return std::string(sep == std::string_view::npos ? value : value.substr(sep + 3));
}

/// A volume heading names an absolute volume when it gives cubic centimetres.
bool AbsoluteVolume(std::string_view heading) { return Contains(heading, "[cm") || Contains(heading, "[cc]"); }

class PlanBlockReader {
public:
    PlanBlockReader(LineCursor& lines, const DvhReadOptions& options)
        : m_lines(lines), m_options(options) {}

    /// The block whose first line is `blockLine`: its table's points go to `scratch`, followed
    /// by those of a long table's later pieces in `pieces`.
    ReadResult Read(std::string_view blockLine, DVHDatasetClass& s, std::vector<DVsetClass>& scratch,
                    dvhread::PointPieces& pieces) {
        const bool sum = m_options.FileType == 3;
        s.Name = BlockName(blockLine);
        s.ModifiedName.clear();
        s.LineWidth = 2;

        std::string_view line;
        if (!Need(line)) return Truncated();
        const double factor = NamesCentigray(line) ? 0.01 : 1.0;
        double pd = m_options.PlanSumDoseGy;
        if (!sum) {
            double v;
            if (!ParseNumber(LabelValue(line), v)) return NotANumberAt(m_lines.LineNumber(), LabelValue(line));
            pd = v * factor;
        }
        // The dose is kept as a float: it is the float that must be finite and above 0.
        s.PrescribedDose = static_cast<float>(pd);
        if (!std::isfinite(s.PrescribedDose)) return OutOfRangeAt(m_lines.LineNumber());
        if (!(s.PrescribedDose > 0))
            return ReadResult::Fail(ReadStatus::BadPrescribedDose, m_lines.LineNumber(),
                                    "the prescribed dose must be above 0");
        pd = s.PrescribedDose;

        for (int i = 2; i <= 4; ++i)
            if (!Need(line)) return Truncated();
        double volume;
        if (!ParseNumber(LabelValue(line), volume)) return NotANumberAt(m_lines.LineNumber(), LabelValue(line));
        s.Volume = static_cast<float>(volume);
        if (!std::isfinite(s.Volume)) return OutOfRangeAt(m_lines.LineNumber());

        float* gy[3] = {&s.MinDoseGy, &s.MaxDoseGy, &s.MeanDoseGy};
        float* pc[3] = {&s.MinDosePercent, &s.MaxDosePercent, &s.MeanDosePercent};
        for (int i = 0; i < 3; ++i) {
            if (!Need(line)) return Truncated();
            double v;
            if (!ParseNumber(LabelValue(line), v)) return NotANumberAt(m_lines.LineNumber(), LabelValue(line));
            // A one-plan export marks a relative statistic with "%" as the 20th character.
            SetDose(v, !sum && CharAt(line, 20) == '%', factor, pd, *gy[i], *pc[i]);
            if (!std::isfinite(*gy[i]) || !std::isfinite(*pc[i])) return OutOfRangeAt(m_lines.LineNumber());
        }
        for (int i = 8; i <= 11; ++i) {
            if (!Need(line)) return Truncated();
            if (m_options.ReadExtraDoses && (i == 8 || i == 10)) {
                double v;
                if (!ParseNumber(LabelValue(line), v)) return NotANumberAt(m_lines.LineNumber(), LabelValue(line));
                float& extra = i == 8 ? s.ExtraDose1 : s.ExtraDose2;
                extra = static_cast<float>(v * factor);
                if (!std::isfinite(extra)) return OutOfRangeAt(m_lines.LineNumber());
            }
        }
        if (!Need(line)) return Truncated();
        // Column order 1: relative dose first, absolute dose last.
        const bool relativeFirst = Position(line, "Gy") > Position(line, "[%]");
        const bool absolute = AbsoluteVolume(line);

        scratch.clear();
        pieces.Clear();
        const Table table{factor, pd, s.Volume, relativeFirst, absolute};
        ReadResult r = sum ? ReadTable<2>(table, scratch, pieces) : ReadTable<3>(table, scratch, pieces);
        if (!r) return r;
        return {};
    }

private:
    bool Need(std::string_view& line) { return m_lines.Next(line); }
    ReadResult Truncated() const {
        return ReadResult::Fail(ReadStatus::Truncated, m_lines.LineNumber() + 1, "the file ends inside a structure");
    }

    /// What a table's rows need to become points.
    struct Table {
        double factor;
        double pd;
        float volume;
        bool relativeFirst;
        bool absolute;
    };

    /// The rows up to the empty line that ends the table (and a second empty line after it,
    /// which belongs to no block); `N` is 3 for a one-plan table, 2 for a plan sum's. Plain rows go the fast
    /// way, any other row line by line.
    template <int N>
    ReadResult ReadTable(const Table& t, std::vector<DVsetClass>& points, dvhread::PointPieces& pieces) {
        std::string_view line;
        const char* split = nullptr;  // the end of the bytes last split, so that each chunk is tried once
        for (;;) {
            if (m_lines.ReadableEnd() != split) {
                split = m_lines.ReadableEnd();
                ReadPiecesSideBySide<N>(t, points, pieces);
                // Pieces that end the table are handed over as they stand, sparing a copy; rows
                // that may still follow them must follow them in `points`.
                if (pieces.Count() && !AtEmptyLine()) {
                    pieces.AppendTo(points);
                    pieces.Clear();
                }
            }
            if (!dvhrows::FastRows<N>(
                    m_lines, [](const char* row, double(&v)[N]) { return dvhrows::TabRow<N>(row, v); },
                    [&](const double(&v)[N]) { return AddPoint<N>(t, v, points); }))
                return OutOfRangeAt(m_lines.LineNumber());
            if (!m_lines.Next(line)) return {};
            if (line.empty()) {
                // One more empty line after a table belongs to no block; a block line right
                // after the table is the next structure's, never to be passed over.
                m_lines.SkipEmptyLine();
                return {};
            }
            double v[N];
            ReadResult r = RowNumbers<N>(line, v);
            if (!r) return r;
            if (!AddPoint<N>(t, v, points)) return OutOfRangeAt(m_lines.LineNumber());
        }
    }

    /// The cursor stands at an empty line (nothing but its line end), so the table ends there.
    bool AtEmptyLine() const {
        const char* p = m_lines.Position();
        const char* const end = m_lines.ReadableEnd();
        while (p != end && *p == '\r') ++p;
        return p != end && *p == '\n';
    }

    /// A long table that the cursor holds whole is read in pieces side by side: the caller's
    /// thread and the table helpers each take the next piece not yet taken until none is left,
    /// so that a helper the machine keeps waiting delays no more than the piece it began. The
    /// first piece's points are appended to `points`, the others' go to `pieces`. A piece's rows
    /// are taken only when the pieces before it ran without a stop right up to it; whatever is
    /// left, from the first row no piece took, goes the usual way, so the same rows give the
    /// same points, errors and line numbers.
    template <int N>
    void ReadPiecesSideBySide(const Table& t, std::vector<DVsetClass>& points, dvhread::PointPieces& pieces) {
        const char* row = m_lines.Position();
        const char* const end = m_lines.ReadableEnd();
        if (end - row < dvhrows::kWindow + kPiecesFrom) return;
        const char* tableEnd = dvhrows::EmptyLineAfter(row, end - dvhrows::kWindow);
        if (tableEnd - row < kPiecesFrom) return;

        // Pieces begin at line starts, about `kPieceBytes` apart.
        const char* from[kMaxPieces + 1];
        std::vector<DVsetClass>* into[kMaxPieces];
        const std::ptrdiff_t count = std::min<std::ptrdiff_t>(kMaxPieces, (tableEnd - row) / kPieceBytes);
        from[0] = row;
        int made = 1;
        for (std::ptrdiff_t i = 1; i < count; ++i) {
            const char* at = row + (tableEnd - row) * i / count;
            if (at <= from[made - 1]) continue;
            at = static_cast<const char*>(std::memchr(at, '\n', static_cast<std::size_t>(tableEnd - at)));
            if (!at) break;
            from[made++] = at + 1;
        }
        from[made] = tableEnd;
        for (int i = 1; i < made; ++i) pieces.Add();
        into[0] = &points;
        for (int i = 1; i < made; ++i) into[i] = &pieces[static_cast<std::size_t>(i - 1)];

        const char* stop[kMaxPieces];
        long rows[kMaxPieces];
        auto readPiece = [&](int i) {
            auto scan = [](const char* r, double(&v)[N]) { return dvhrows::TabRow<N>(r, v); };
            auto make = [&t](const double(&v)[N], DVsetClass& p) { return MakePoint<N>(t, v, p); };
            stop[i] = dvhrows::RowsInRange<N>(from[i], from[i + 1], end, scan, make, *into[i], rows[i]);
        };
        // Chosen at the first long table, so that a plan of short ones never looks at the load.
        if (!m_helpers) m_helpers.emplace(TableHelpers(m_options.Threads));
        m_helpers->Run(made, readPiece);

        int taken = 0;
        do {
            m_lines.Skip(stop[taken], rows[taken]);
            ++taken;
        } while (taken < made && stop[taken - 1] == from[taken]);
        pieces.Keep(static_cast<std::size_t>(taken - 1));
    }

    /// Threads that read a long table's pieces beside the caller's: one for every processor
    /// this read may use beyond its own, at most three (the file's reader and the points
    /// keeper have threads of their own, which mostly wait), and none where the machine has
    /// no processor to spare for them as the first long table comes: there a helper would get
    /// a processor only late, and the caller would wait for the piece it holds. Asked for
    /// whatever the load, at least one.
    static int TableHelpers(platform::ThreadUse use) {
        const int least = use == platform::ThreadUse::Always ? 1 : 0;
        return platform::ThreadsBeside(std::clamp(platform::AvailableProcessors() - 1, least, kMaxTableHelpers), use);
    }

    /// The `N` TAB-separated numbers of a row read line by line; the last takes the rest of it.
    template <int N>
    ReadResult RowNumbers(std::string_view line, double (&v)[N]) const {
        std::string_view field[N];
        for (int i = 0; i + 1 < N; ++i) {
            const std::size_t tab = line.find('\t');
            if (tab == std::string_view::npos)
                return ReadResult::Fail(ReadStatus::BadRow, m_lines.LineNumber(),
                                        N == 3 ? "a table row needs three fields" : "a table row needs two fields");
            field[i] = line.substr(0, tab);
            line.remove_prefix(tab + 1);
        }
        field[N - 1] = line;
        const char* readable = m_lines.ReadableEnd();
        for (int i = 0; i < N; ++i)
            if (!ParseNumber(field[i], v[i], readable)) return NotANumberAt(m_lines.LineNumber(), field[i]);
        return {};
    }

    /// Appends the point of a row's numbers; false when a value is out of range.
    template <int N>
    static bool AddPoint(const Table& t, const double (&v)[N], std::vector<DVsetClass>& points) {
        DVsetClass p;
        if (!MakePoint<N>(t, v, p)) return false;
        points.push_back(p);
        return true;
    }

    /// The point of a row's numbers: dose, volume, relative dose for a one-plan table (or the
    /// doses the other way round), dose and volume for a plan sum's. False when a value is out
    /// of range.
    template <int N>
    static bool MakePoint(const Table& t, const double (&v)[N], DVsetClass& p) {
        if (t.absolute) {
            p.VolumeCc = static_cast<float>(v[1]);
            p.VolumePercent = static_cast<float>(PercentOf(v[1], t.volume));
        } else {
            p.VolumePercent = static_cast<float>(v[1]);
            p.VolumeCc = static_cast<float>(t.volume * 0.01 * v[1]);
        }
        if constexpr (N == 3) {
            p.DoseGy = static_cast<float>((t.relativeFirst ? v[2] : v[0]) * t.factor);
            p.DosePercent = static_cast<float>(t.relativeFirst ? v[0] : v[2]);
        } else {
            p.DoseGy = static_cast<float>(v[0] * t.factor);
            p.DosePercent = static_cast<float>(v[0] * t.factor * 100.0 / t.pd);
        }
        return dvhread::Finite(p);
    }

    /// Tables of fewer bytes are read in one go: handing pieces over would cost more than it saves.
    static constexpr std::ptrdiff_t kPiecesFrom = std::ptrdiff_t(1) << 16;
    /// About the bytes of a piece: small enough that every thread gets several, large enough
    /// that taking one costs nothing beside reading it.
    static constexpr std::ptrdiff_t kPieceBytes = std::ptrdiff_t(1) << 14;
    static constexpr int kMaxPieces = 64;
    static constexpr int kMaxTableHelpers = 3;

    LineCursor& m_lines;
    const DvhReadOptions& m_options;
    // The threads that read a long table's pieces beside the caller's (none: the caller reads
    // them all), made at the first long table; joined when the read ends, however it ends.
    std::optional<platform::HelperThreads> m_helpers;
};

}  // namespace

ReadResult ParseDvhFile(LineCursor& lines, const DvhReadOptions& options, ParsedPlan& out) {
    out = ParsedPlan{};
    if (options.FileType != 2 && options.FileType != 3)
        return ReadResult::Fail(ReadStatus::UnknownFileType, 0, "not a one-plan or plan-sum export");
    if (options.FileType == 3 && !(options.PlanSumDoseGy > 0 && std::isfinite(options.PlanSumDoseGy)))
        return ReadResult::Fail(ReadStatus::BadPrescribedDose, 0, "the prescribed dose must be above 0");

    std::string_view line;
    for (int i = 0; i < kHeaderLines && lines.Next(line); ++i) {
    }
    PlanBlockReader block(lines, options);
    return dvhread::ReadBlocks(
        lines, options, [](std::string_view l) { return !l.empty() && l[0] == 'H'; },
        [&](std::string_view l, DVHDatasetClass& s, std::vector<DVsetClass>& scratch,
            dvhread::PointPieces& pieces) { return block.Read(l, s, scratch, pieces); },
        out);
}

ReadResult ParseDvhFile(std::string_view text, const DvhReadOptions& options, ParsedPlan& out) {
    LineCursor lines(text);
    return ParseDvhFile(lines, options, out);
}
