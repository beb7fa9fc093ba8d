// The report comment's templates and their file "Tessaray_ReportComment.ini".
#include "report/CommentTemplates.h"

#include "platform/IniFile.h"

namespace {

constexpr const char* LineKeys[3] = {"Text0", "Text1", "Text2"};

}  // namespace

std::vector<ComClass> ReadCommentTemplates(const platform::IniFile& ini) {
    const std::vector<std::string> sections = platform::NumberedSections(ini, "Comment", "Comment");
    std::vector<ComClass> templates(sections.size());
    for (std::size_t i = 0; i < templates.size(); ++i)
        for (int k = 0; k < 3; ++k) templates[i].Line[k] = ini.ReadString(sections[i], LineKeys[k], "");
    return templates;
}

void WriteCommentTemplates(platform::IniFile& ini, const std::vector<ComClass>& templates) {
    std::vector<platform::IniKeys> entries(templates.size());
    for (std::size_t i = 0; i < templates.size(); ++i)
        for (int k = 0; k < 3; ++k) entries[i].emplace_back(LineKeys[k], templates[i].Line[k]);
    platform::WriteNumberedSections(ini, "Comment", "Comment", entries, false);
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
