// Reading BrainSCAN and iPlan DVH table files: one column per structure, one row per 1 % dose step.
#include "import/BrainLabTable.h"

#include "dvh/DvhLineFields.h"
#include "dvh/DvhReading.h"
#include "dvh/DvhRowScan.h"
#include "dvh/LineCursor.h"
#include "dvh/NameCompare.h"
#include "import/ImportValueRange.h"
#include "import/TableNumber.h"
#include "import/TableRowScan.h"
#include "import/TableStatistics.h"

#include <algorithm>
#include <cstring>
#include <limits>

using namespace dvhtext;

namespace {

constexpr int kHeaderLines = 7;

ReadResult ShortLine(long line, std::size_t fields, std::size_t structures) {
    return ReadResult::Fail(ReadStatus::BadRow, line,
                            std::to_string(fields) + " values for " + std::to_string(structures) + " structures");
}

/// The fields after the first TAB of a line, each up to the next TAB.
class TableLineFields {
public:
    explicit TableLineFields(std::string_view line) {
        const std::size_t tab = line.find('\t');
        m_rest = tab == std::string_view::npos ? std::string_view{} : line.substr(tab + 1);
        m_more = tab != std::string_view::npos;
    }
    bool Next(std::string_view& field) {
        if (!m_more) return false;
        const std::size_t tab = m_rest.find('\t');
        if (tab == std::string_view::npos) {
            field = m_rest;
            m_more = false;
        } else {
            field = m_rest.substr(0, tab);
            m_rest.remove_prefix(tab + 1);
        }
        return true;
    }

private:
    std::string_view m_rest;
    bool m_more = false;
};

bool IsBodyName(std::string_view name) {
    return StructureNamesEqual(name, "Body", false) || StructureNamesEqual(name, "Expanded", false);
}

/// Reads the `count` numbers of a row after its label into `values`; false with the result set
/// when the row is short or holds something else than a number.
bool RowValues(std::string_view row, std::size_t count, const char* readable, long lineNumber, double* values,
               ReadResult& failure) {
    const char* p = row.data();
    const char* end = p + row.size();
    for (std::size_t k = 0; k < count; ++k) {
        const char* tab = p == end ? nullptr : static_cast<const char*>(std::memchr(p, '\t', end - p));
        if (!tab) {
            failure = ShortLine(lineNumber, k, count);
            return false;
        }
        p = tab + 1;
        const char* stop;
        // The common case, a plain decimal up to the next TAB, is read in place.
        if (p != end && *p != '+' && ReadDecimal(p, end, values[k], stop, readable) &&
            (stop == end || *stop == '\t')) {
            p = stop;
            continue;
        }
        const char* fieldEnd = static_cast<const char*>(std::memchr(p, '\t', end - p));
        if (!fieldEnd) fieldEnd = end;
        const std::string_view field(p, static_cast<std::size_t>(fieldEnd - p));
        if (!ParseTableNumber(field, values[k])) {
            failure = NotANumberAt(lineNumber, field);
            return false;
        }
        p = fieldEnd;
    }
    return true;
}

}  // namespace

ReadResult ParseBrainLabTable(LineCursor& lines, ParsedPlan& out) {
    out = ParsedPlan{};
    auto truncated = [&](const char* what) {
        return ReadResult::Fail(ReadStatus::Truncated, lines.LineNumber() + 1,
                                std::string("the file ends before ") + what);
    };
    std::string_view line;
    for (int i = 0; i < kHeaderLines; ++i)
        if (!lines.Next(line)) return truncated("its prescribed dose line");
    double doseCGy;
    if (!ParseTableNumber(LabelValue(line), doseCGy)) return NotANumberAt(lines.LineNumber(), LabelValue(line));
    // The dose is kept as a float, as every structure holds it.
    const float prescribed = static_cast<float>(doseCGy * 0.01);
    if (ReadResult r = importrange::CheckPrescribedDose(prescribed, lines.LineNumber()); !r) return r;
    const double d = prescribed;

    if (!lines.Next(line) || !lines.Next(line)) return truncated("its names line");
    ParsedPlan plan;
    const long namesLine = lines.LineNumber();  // the line each structure is refused on
    {
        TableLineFields names(line);
        std::string_view name;
        while (names.Next(name)) {
            DVHDatasetClass& s = plan.DVHDataset.emplace_back();
            s.Name = std::string(name);
            s.PrescribedDose = prescribed;
            s.LineWidth = 2;
            if (IsBodyName(name)) plan.BodyIndex = static_cast<int>(plan.DVHDataset.size()) - 1;
        }
    }
    const std::size_t count = plan.DVHDataset.size();
    if (count == 0) return ReadResult::Fail(ReadStatus::NoStructures, lines.LineNumber(), "no structure names");

    if (!lines.Next(line)) return truncated("its volumes line");
    std::vector<double> values(count);
    ReadResult failure;
    if (!RowValues(line, count, lines.ReadableEnd(), lines.LineNumber(), values.data(), failure)) return failure;
    std::vector<double> volumeFactor(count);
    for (std::size_t k = 0; k < count; ++k) {
        DVHDatasetClass& s = plan.DVHDataset[k];
        s.Volume = static_cast<float>(values[k]);
        if (!importrange::ValueInRange(s.Volume)) return OutOfRangeAt(lines.LineNumber());
        volumeFactor[k] = static_cast<double>(s.Volume) * 0.01;
    }

    // Each structure's curve. A row writes one point into every curve: they grow together and
    // are written in place, as far as the rows the bytes at hand can hold.
    std::vector<std::vector<DVsetClass>> curves(count);
    std::vector<DVsetClass*> column(count);
    std::size_t rows = 0, room = 0;
    auto makeRoom = [&] {
        if (rows < room) return;
        // The rows to come: the lines at hand, as many as their bytes can hold (a row is at
        // least a TAB and a digit for each structure, and its line end). Bytes at hand that do
        // not end in the "EOF" line are a part of a longer file: room for as many again.
        const char* from = lines.Position();
        const char* to = lines.ReadableEnd();
        std::size_t ahead = 0;
        for (const char* p = from; (p = static_cast<const char*>(std::memchr(p, '\n', to - p))); ++p) ++ahead;
        ahead = std::min(ahead, static_cast<std::size_t>(to - from) / (2 * count + 1));
        const std::string_view last(to - std::min<std::ptrdiff_t>(to - from, 8),
                                    std::min<std::ptrdiff_t>(to - from, 8));
        if (!Contains(last, "EOF")) ahead *= 2;
        room = std::max(2 * room, rows + ahead + 1);
        for (std::size_t k = 0; k < count; ++k) {
            curves[k].resize(room);
            column[k] = curves[k].data();
        }
    };
    std::string labelKeep;  // the previous row's label, kept beyond the buffer that held its line
    // A row of plain decimals read straight from the cursor's buffer into the curves: the label
    // (blanks before it) other than the previous row's, then the `count` volumes each after one
    // TAB, then the line end. Anything else, a value out of range too, goes line by line, which
    // also ends the table.
    auto fastRow = [&](const char* row, const char* lf) {
        const char* q = row;
        while (*q == ' ') ++q;
        double dosePercent;
        if (!dvhrows::PlainDecimal(q, dosePercent) || *q != '\t') return false;
        const std::string_view label(row, static_cast<std::size_t>(q - row));
        if (label == labelKeep) return false;
        makeRoom();
        tablerows::RowPoints points(dosePercent, dosePercent * d * 0.01);
        for (std::size_t k = 0; k < count; ++k) {
            if (*q != '\t') return false;
            ++q;
            double volumePercent;
            if (!tablerows::TableDecimal(q, volumePercent)) return false;
            points.Put(column[k] + rows, volumePercent, volumeFactor[k]);
        }
        q += *q == '\r';
        if (q != lf || !points.InRange()) return false;
        ++rows;
        labelKeep.assign(label);
        return true;
    };
    bool tableBegun = false;
    for (;;) {
        const long before = lines.LineNumber();
        dvhrows::FastLines(lines, std::numeric_limits<long>::max(), fastRow, [] { return true; });
        tableBegun |= lines.LineNumber() != before;
        if (!lines.Next(line)) {
            if (!tableBegun) return truncated("its table");
            break;
        }
        tableBegun = true;
        if (StartsWith(line, "EOF")) break;
        const std::size_t tab = line.find('\t');
        const std::string_view label = line.substr(0, tab == std::string_view::npos ? line.size() : tab);
        if (label == labelKeep) break;  // the first row's previous label is the empty text
        double dosePercent;
        if (!ParseTableNumber(label, dosePercent)) return NotANumberAt(lines.LineNumber(), label);
        const std::string_view row = line.substr(label.size());
        if (!RowValues(row, count, lines.ReadableEnd(), lines.LineNumber(), values.data(), failure)) return failure;
        makeRoom();
        tablerows::RowPoints points(dosePercent, dosePercent * d * 0.01);
        for (std::size_t k = 0; k < count; ++k) points.Put(column[k] + rows, values[k], volumeFactor[k]);
        if (!points.InRange()) return OutOfRangeAt(lines.LineNumber());
        ++rows;
        labelKeep.assign(label);
    }
    if (lines.ReadFailed()) return dvhread::ReadFailure(lines);

    for (std::size_t k = 0; k < count; ++k) {
        curves[k].resize(rows);
        if (room - rows > rows / 8) curves[k].shrink_to_fit();  // little spare room kept
        plan.DVHDataset[k].SetPoints(std::move(curves[k]));
        SetTableStatistics(plan.DVHDataset[k], d, MinimumDoseRule::FirstBelowFull);
        if (ReadResult r = importrange::CheckStatistics(plan.DVHDataset[k], namesLine); !r) return r;
    }
    out = std::move(plan);
    return {};
}

ReadResult ParseBrainLabTable(std::string_view text, ParsedPlan& out) {
    LineCursor lines(text);
    return ParseBrainLabTable(lines, out);
}
