// Recognition of plan DVH exports ("Patient Name" header) and XiO exports from their first lines.
#include "dvh/DvhExportRecogniser.h"

#include "dvh/DvhLineFields.h"
#include "dvh/DvhReading.h"
#include "dvh/LineCursor.h"
#include "dvh/ReadGuard.h"

#include <algorithm>

using namespace dvhtext;

namespace {

std::string WithoutCommas(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s)
        if (c != ',') out.push_back(c);
    return out;
}

DvhHeader Refuse(DvhHeader h, ReadStatus status, long line, std::string detail) {
    h.FileType = 0;
    h.result = ReadResult::Fail(status, line, std::move(detail));
    return h;
}

/// Patient name and extra field from the first line's value: the name is the text before the
/// first "(", the extra field the 5 characters after the first ") (" unless "()" occurs.
void TakePatientName(std::string_view value, DvhHeaderFields& f) {
    std::string full = WithoutCommas(value);
    std::size_t paren = full.find('(');
    f.PatientName = paren == std::string::npos ? full : full.substr(0, paren);
    f.PatientExtra.clear();
    std::size_t pair = full.find(") (");
    if (pair != std::string::npos && full.find("()") == std::string::npos)
        f.PatientExtra = full.substr(pair + 3, 5);
}

int KindOf(std::string_view value) {
    if (value == "DVHs for one plan") return 2;
    if (value == "DVHs for a Summed Plan") return 3;
    if (value == "BrainSCAN DVHs") return 5;
    if (value == "iPlan DVHs") return 6;
    return 0;
}

bool IsMultiPlanText(std::string_view text) {
    return text == "DVHs for several plans" || text == "DVH's for multiple plans and plan sums";
}

DvhHeader RecogniseXiO(LineCursor& lines, DvhHeader h) {
    std::string_view line;
    h.identified = true;
    if (!lines.Next(line)) return Refuse(h, ReadStatus::Truncated, 2, "no patient ID line");
    h.fields.PatientID = std::string(line);
    if (!lines.Next(line)) return Refuse(h, ReadStatus::Truncated, 3, "no plan line");
    h.fields.PlanName = h.fields.PlanID = std::string(line);
    for (int i = 4; i <= 7; ++i)
        if (!lines.Next(line)) return Refuse(h, ReadStatus::Truncated, i, "the header ends early");
    h.fields.Date = std::string(line);
    h.FileType = 7;
    return h;
}

DvhHeader RecogniseLines(LineCursor& lines) {
    DvhHeader h;
    std::string_view line;
    if (!lines.Next(line)) return Refuse(h, ReadStatus::Empty, 0, "the file is empty");

    if (!StartsWith(line, "Patient Name")) {
        if (StartsWith(line, "XiO Dose Volume Histogram")) return RecogniseXiO(lines, h);
        return Refuse(h, ReadStatus::Unrecognised, 1, "not a DVH export: " + Quote(line));
    }
    h.identified = true;
    TakePatientName(LabelValue(line), h.fields);

    if (!lines.Next(line)) return Refuse(h, ReadStatus::Truncated, 2, "the header ends after line 1");
    if (StartsWith(line, "Patient ID")) h.fields.PatientID = WithoutCommas(LabelValue(line));

    if (!lines.Next(line)) return Refuse(h, ReadStatus::Truncated, 3, "the header ends after line 2");
    const int kind = KindOf(LabelValue(line));
    if (kind == 0) {
        if (IsMultiPlanText(FromColumn(line, 19)) || IsMultiPlanText(LabelValue(line)))
            return Refuse(h, ReadStatus::MultiPlan, 3, "an export of several plans");
        return Refuse(h, ReadStatus::Unrecognised, 3, "unknown kind " + Quote(LabelValue(line)));
    }

    if (!lines.Next(line)) return Refuse(h, ReadStatus::Truncated, 4, "the header ends after line 3");
    h.fields.Date = std::string(Columns(line, 24, 33));
    std::replace(h.fields.Date.begin(), h.fields.Date.end(), '.', '/');
    h.fields.Time = std::string(FromColumn(line, 36));

    if (!lines.Next(line)) return Refuse(h, ReadStatus::Truncated, 5, "no type line");
    if (StartsWith(line, "Exported by") && !lines.Next(line))
        return Refuse(h, ReadStatus::Truncated, 6, "no type line");
    const long typeLine = lines.LineNumber();
    if (Contains(LabelValue(line), "Differential"))
        return Refuse(h, ReadStatus::Differential, typeLine, "a differential DVH");
    if (!Contains(LabelValue(line), "Cumulative"))
        return Refuse(h, ReadStatus::NotCumulative, typeLine, "not a cumulative DVH");

    if (!lines.Next(line)) return Refuse(h, ReadStatus::Truncated, typeLine + 1, "no plan line");
    if (StartsWith(line, "Description")) {
        // The description runs over three lines; the plan line follows them.
        for (int i = 0; i < 4; ++i)
            if (!lines.Next(line))
                return Refuse(h, ReadStatus::Truncated, lines.LineNumber() + 1, "no plan line after the description");
        std::string plan(FromColumn(line, kind == 3 ? 11 : 7));
        h.fields.PlanName = h.fields.PlanID = plan;
        h.FileType = kind == 3 ? 13 : 12;
        return h;
    }
    if (StartsWith(line, "Plan")) {
        std::string_view value = LabelValue(line);
        std::size_t sep = value.find(" - ");
        if (kind == 3 || sep == std::string_view::npos) {
            // A plan sum names itself whole; a plan value without " - " has nothing to split.
            h.fields.PlanName = h.fields.PlanID = std::string(value);
        } else {
            h.fields.PlanName = std::string(value.substr(0, sep));
            h.fields.PlanID = std::string(value.substr(sep + 3));
        }
        h.FileType = kind;
        return h;
    }
    return Refuse(h, ReadStatus::NoPlanLine, lines.LineNumber(), "no \"Plan\" or \"Description\" line");
}

}  // namespace

DvhHeader RecogniseDvhHeader(LineCursor& lines) {
    DvhHeader h = RecogniseLines(lines);
    // A header line without end is no export, and must not be held whole to find that out.
    if (lines.LineTooLong())
        h = Refuse(h, ReadStatus::LineTooLong, lines.LineNumber() + 1, "the line is longer than 1 MiB");
    return h;
}

DvhHeader RecogniseDvhHeader(std::string_view text) {
    LineCursor lines(text);
    return RecogniseDvhHeader(lines);
}

DvhHeader RecogniseDvhHeaderFile(const std::string& path) {
    DvhHeader h;
    ReadResult r = GuardedFileRead(
        path, h,
        [&](LineCursor& lines) {
            h = RecogniseDvhHeader(lines);
            return h.result;
        },
        4096, platform::ThreadUse::ByLoad, FilePass::Start);
    h.result = std::move(r);
    return h;
}
