// Recognition of BrainSCAN and iPlan clipboard tables and curves.
#include "import/ClipboardTable.h"

#include "dvh/DvhLineFields.h"
#include "dvh/NameCompare.h"

std::string NormaliseLineEnds(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::vector<std::string_view> ClipboardLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

std::vector<std::string_view> TabFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        if (tab == std::string_view::npos) {
            fields.push_back(line.substr(start));
            return fields;
        }
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
}

namespace {

std::vector<std::string> NamesOfLineOne(std::string_view text, bool lastFieldIsName) {
    const auto lines = ClipboardLines(text);
    std::vector<std::string> names;
    if (lines.empty()) return names;
    const auto fields = TabFields(lines[0]);
    const std::size_t end = lastFieldIsName ? fields.size() : fields.size() - 1;
    for (std::size_t i = 1; i < end; ++i) names.emplace_back(fields[i]);
    return names;
}

bool IsBrainScan(const std::vector<std::string_view>& lines) {
    return lines.size() >= 4 && dvhtext::CharAt(lines[0], 1) == '\t' && dvhtext::CharAt(lines[1], 1) == '\t' &&
           dvhtext::CharAt(lines[2], 3) == '1' && dvhtext::CharAt(lines[3], 3) == '2';
}

/// The iPlan copy test shared by the toolbar and the capture window: "Dose" first, no "[ccm]"
/// below line 1, line 3 beginning "0.000", and line 2 beginning with a dose unit, which
/// decides between a curve over % and one over Gy; `Other` for anything else.
ClipboardKind IPlanCopyKind(const std::vector<std::string_view>& lines) {
    if (lines.size() < 3 || !dvhtext::StartsWith(lines[0], "Dose")) return ClipboardKind::Other;
    for (std::size_t i = 1; i < lines.size(); ++i)
        if (lines[i].find("[ccm]") != std::string_view::npos) return ClipboardKind::Other;
    if (!dvhtext::StartsWith(lines[2], "0.000")) return ClipboardKind::Other;
    if (dvhtext::StartsWith(lines[1], "[%]")) return ClipboardKind::IPlanCurvePercent;
    if (dvhtext::StartsWith(lines[1], "[Gy]")) return ClipboardKind::IPlanCurveGy;
    return ClipboardKind::Other;
}

}  // namespace

ClipboardRecognition ClassifyClipboardText(std::string_view text) {
    ClipboardRecognition r;
    if (text.empty()) return r;
    const auto lines = ClipboardLines(text);
    if (IsBrainScan(lines)) {
        r.Kind = ClipboardKind::BrainScanTable;
        return r;
    }
    r.Kind = IPlanCopyKind(lines);
    if (r.Kind == ClipboardKind::Other) return r;
    // A table writes "[%]" again after its dose unit; a curve as the toolbar tells them apart
    // does not.
    const std::string_view unitLine = lines[1];
    const bool inGy = r.Kind == ClipboardKind::IPlanCurveGy;
    if (unitLine.find("[%]", inGy ? 4 : 3) == std::string_view::npos) return r;
    r.Kind = ClipboardKind::IPlanTable;
    // The reference dose is the first cell without its unit: "[%] 43.750".
    r.DoseText = inGy ? "None" : std::string(dvhtext::Trim(TabFields(unitLine)[0].substr(3)));
    return r;
}

ClipboardKind ClassifyCopiedCurve(std::string_view text) {
    if (text.empty()) return ClipboardKind::Nothing;
    return IPlanCopyKind(ClipboardLines(text));
}

std::vector<std::string> BrainScanNames(std::string_view text) { return NamesOfLineOne(text, true); }
std::vector<std::string> IPlanTableNames(std::string_view text) { return NamesOfLineOne(text, false); }

int NormalTissueItem(const std::vector<std::string>& names, std::initializer_list<std::string_view> candidates) {
    int item = 0;
    for (std::size_t i = 0; i < names.size(); ++i)
        for (std::string_view c : candidates)
            if (StructureNamesEqual(names[i], c, false)) item = static_cast<int>(i) + 1;
    return item;
}
