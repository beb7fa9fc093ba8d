// Codes 2 and 3: after an 8-line header, blocks that begin at a line starting with "H", hold
// fixed statistics lines and end with a TAB-separated table.
#include "dvh/DvhExportReader.h"

#include "dvh/DvhLineFields.h"
#include "dvh/LineCursor.h"

#include <cmath>
#include <string>

using namespace dvhtext;
using dvhread::PercentOf;
using dvhread::SetDose;

namespace {

constexpr int kHeaderLines = 8;

ReadResult BadNumber(long line, std::string_view text) {
    return ReadResult::Fail(ReadStatus::BadNumber, line, Quote(text) + " is not a number");
}

ReadResult OutOfRange(long line) {
    return ReadResult::Fail(ReadStatus::BadNumber, line, "a value out of range");
}

/// The structure name: the block line's value after its first " - ", or the whole value
/// when it holds no separator.
std::string BlockName(std::string_view line) {
    std::string_view value = LabelValue(line);
    std::size_t sep = value.find(" - ");
    return std::string(sep == std::string_view::npos ? value : value.substr(sep + 3));
}

/// A volume heading names an absolute volume when it gives cubic centimetres.
bool AbsoluteVolume(std::string_view heading) { return Contains(heading, "[cm") || Contains(heading, "[cc]"); }

class BlockReader {
public:
    BlockReader(LineCursor& lines, const DvhReadOptions& options) : m_lines(lines), m_options(options) {}

    ReadResult Read(std::string_view blockLine, DVHDatasetClass& s, std::vector<DVsetClass>& scratch) {
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
            if (!ParseNumber(LabelValue(line), v)) return BadNumber(m_lines.LineNumber(), LabelValue(line));
            pd = v * factor;
        }
        // The dose is kept as a float: it is the float that must be finite and above 0.
        s.PrescribedDose = static_cast<float>(pd);
        if (!std::isfinite(s.PrescribedDose)) return OutOfRange(m_lines.LineNumber());
        if (!(s.PrescribedDose > 0))
            return ReadResult::Fail(ReadStatus::BadPrescribedDose, m_lines.LineNumber(),
                                    "the prescribed dose must be above 0");
        pd = s.PrescribedDose;

        for (int i = 2; i <= 4; ++i)
            if (!Need(line)) return Truncated();
        double volume;
        if (!ParseNumber(LabelValue(line), volume)) return BadNumber(m_lines.LineNumber(), LabelValue(line));
        s.Volume = static_cast<float>(volume);
        if (!std::isfinite(s.Volume)) return OutOfRange(m_lines.LineNumber());

        float* gy[3] = {&s.MinDoseGy, &s.MaxDoseGy, &s.MeanDoseGy};
        float* pc[3] = {&s.MinDosePercent, &s.MaxDosePercent, &s.MeanDosePercent};
        for (int i = 0; i < 3; ++i) {
            if (!Need(line)) return Truncated();
            double v;
            if (!ParseNumber(LabelValue(line), v)) return BadNumber(m_lines.LineNumber(), LabelValue(line));
            // A one-plan export marks a relative statistic with "%" as the 20th character.
            SetDose(v, !sum && CharAt(line, 20) == '%', factor, pd, *gy[i], *pc[i]);
            if (!std::isfinite(*gy[i]) || !std::isfinite(*pc[i])) return OutOfRange(m_lines.LineNumber());
        }
        for (int i = 8; i <= 11; ++i) {
            if (!Need(line)) return Truncated();
            if (m_options.ReadExtraDoses && (i == 8 || i == 10)) {
                double v;
                if (!ParseNumber(LabelValue(line), v)) return BadNumber(m_lines.LineNumber(), LabelValue(line));
                float& extra = i == 8 ? s.ExtraDose1 : s.ExtraDose2;
                extra = static_cast<float>(v * factor);
                if (!std::isfinite(extra)) return OutOfRange(m_lines.LineNumber());
            }
        }
        if (!Need(line)) return Truncated();
        // Column order 1: relative dose first, absolute dose last.
        const bool relativeFirst = Position(line, "Gy") > Position(line, "[%]");
        const bool absolute = AbsoluteVolume(line);

        scratch.clear();
        while (m_lines.Next(line)) {
            if (line.empty()) {
                m_lines.Next(line);  // the line after a table belongs to no block
                break;
            }
            ReadResult r = sum ? SumRow(line, factor, pd, s.Volume, absolute, scratch)
                               : PlanRow(line, factor, relativeFirst, s.Volume, absolute, scratch);
            if (!r) return r;
        }
        s.DVset.assign(scratch.begin(), scratch.end());
        return {};
    }

private:
    bool Need(std::string_view& line) { return m_lines.Next(line); }
    ReadResult Truncated() const {
        return ReadResult::Fail(ReadStatus::Truncated, m_lines.LineNumber() + 1, "the file ends inside a structure");
    }

    static void SetVolume(double v, bool absolute, float volume, DVsetClass& p) {
        if (absolute) {
            p.VolumeCc = static_cast<float>(v);
            p.VolumePercent = static_cast<float>(PercentOf(v, volume));
        } else {
            p.VolumePercent = static_cast<float>(v);
            p.VolumeCc = static_cast<float>(volume * 0.01 * v);
        }
    }

    ReadResult PlanRow(std::string_view line, double factor, bool relativeFirst, float volume, bool absolute,
                       std::vector<DVsetClass>& points) const {
        std::size_t t1 = line.find('\t');
        std::size_t t2 = t1 == std::string_view::npos ? t1 : line.find('\t', t1 + 1);
        if (t2 == std::string_view::npos)
            return ReadResult::Fail(ReadStatus::BadRow, m_lines.LineNumber(), "a table row needs three fields");
        std::string_view fa = line.substr(0, t1), fb = line.substr(t1 + 1, t2 - t1 - 1), fc = line.substr(t2 + 1);
        const char* readable = m_lines.ReadableEnd();
        double a, b, c;
        if (!ParseNumber(fa, a, readable)) return BadNumber(m_lines.LineNumber(), fa);
        if (!ParseNumber(fb, b, readable)) return BadNumber(m_lines.LineNumber(), fb);
        if (!ParseNumber(fc, c, readable)) return BadNumber(m_lines.LineNumber(), fc);
        DVsetClass p;
        SetVolume(b, absolute, volume, p);
        p.DoseGy = static_cast<float>((relativeFirst ? c : a) * factor);
        p.DosePercent = static_cast<float>(relativeFirst ? a : c);
        if (!dvhread::Finite(p)) return OutOfRange(m_lines.LineNumber());
        points.push_back(p);
        return {};
    }

    ReadResult SumRow(std::string_view line, double factor, double pd, float volume, bool absolute,
                      std::vector<DVsetClass>& points) const {
        std::size_t t1 = line.find('\t');
        if (t1 == std::string_view::npos)
            return ReadResult::Fail(ReadStatus::BadRow, m_lines.LineNumber(), "a table row needs two fields");
        std::string_view fd = line.substr(0, t1), fv = line.substr(t1 + 1);
        const char* readable = m_lines.ReadableEnd();
        double d, v;
        if (!ParseNumber(fd, d, readable)) return BadNumber(m_lines.LineNumber(), fd);
        if (!ParseNumber(fv, v, readable)) return BadNumber(m_lines.LineNumber(), fv);
        DVsetClass p;
        SetVolume(v, absolute, volume, p);
        p.DoseGy = static_cast<float>(d * factor);
        p.DosePercent = static_cast<float>(d * factor * 100.0 / pd);
        if (!dvhread::Finite(p)) return OutOfRange(m_lines.LineNumber());
        points.push_back(p);
        return {};
    }

    LineCursor& m_lines;
    const DvhReadOptions& m_options;
};

}  // namespace

ReadResult ParseDvhFile(LineCursor& lines, const DvhReadOptions& options, ParsedPlan& out) {
    out = ParsedPlan{};
    if (options.FileType != 2 && options.FileType != 3)
        return ReadResult::Fail(ReadStatus::UnknownFileType, 0, "not a one-plan or plan-sum export");
    if (options.FileType == 3 && !(options.PlanSumDoseGy > 0))
        return ReadResult::Fail(ReadStatus::BadPrescribedDose, 0, "the prescribed dose must be above 0");

    std::string_view line;
    for (int i = 0; i < kHeaderLines && lines.Next(line); ++i) {
    }
    BlockReader block(lines, options);
    return dvhread::ReadBlocks(
        lines, options, [](std::string_view l) { return !l.empty() && l[0] == 'H'; },
        [&](std::string_view l, DVHDatasetClass& s, std::vector<DVsetClass>& scratch) { return block.Read(l, s, scratch); },
        out);
}

ReadResult ParseDvhFile(std::string_view text, const DvhReadOptions& options, ParsedPlan& out) {
    LineCursor lines(text);
    return ParseDvhFile(lines, options, out);
}
