// The report comment's templates and their file "Tessaray_ReportComment.ini".
#include "report/CommentTemplates.h"

#include "platform/IniFile.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace {

std::string TemplateSection(std::size_t i) { return "Comment" + std::to_string(i); }

constexpr const char* LineKeys[3] = {"Text0", "Text1", "Text2"};

}  // namespace

std::vector<ComClass> ReadCommentTemplates(const platform::IniFile& ini) {
    const int count = ini.ReadInteger("Comment", "Count", 0);
    if (count <= 0) return {};
    // A broken count must not make millions of empty templates: none beyond the last
    // template section that the file really holds.
    std::size_t present = 0;
    for (const std::string& section : ini.ReadSections()) {
        if (section.size() <= 7 || !std::equal(section.begin(), section.begin() + 7, "Comment",
                                               [](char a, char b) { return std::tolower(a) == std::tolower(b); }))
            continue;
        std::size_t number = 0;
        const char* first = section.data() + 7;
        const char* last = section.data() + section.size();
        const auto [end, error] = std::from_chars(first, last, number);
        if (error == std::errc() && end == last) present = std::max(present, number + 1);
    }
    const std::size_t n = std::min(static_cast<std::size_t>(count), present);
    std::vector<ComClass> templates(n);
    for (std::size_t i = 0; i < n; ++i)
        for (int k = 0; k < 3; ++k) templates[i].Line[k] = ini.ReadString(TemplateSection(i), LineKeys[k], "");
    return templates;
}

void WriteCommentTemplates(platform::IniFile& ini, const std::vector<ComClass>& templates) {
    ini.WriteInteger("Comment", "Count", static_cast<int>(templates.size()));
    for (std::size_t i = 0; i < templates.size(); ++i)
        for (int k = 0; k < 3; ++k) ini.WriteString(TemplateSection(i), LineKeys[k], templates[i].Line[k]);
}

std::vector<std::string> SplitCommentLines(const std::string& text) {
    std::vector<std::string> lines;
    if (text.empty()) return lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}

std::array<std::string, 3> CommentLinesOf(const std::string& text) {
    const std::vector<std::string> lines = SplitCommentLines(text);
    std::array<std::string, 3> out;
    for (std::size_t k = 0; k < 3 && k < lines.size(); ++k) out[k] = lines[k];
    return out;
}
