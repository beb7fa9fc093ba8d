// The report comment's templates and their file "Tessaray_ReportComment.ini".
#pragma once

#include <array>
#include <string>
#include <vector>

namespace platform {
class IniFile;
}

/// One comment template: its three lines, "" for a line not given.
struct ComClass {
    std::array<std::string, 3> Line;
};

/// The template file's name in the program folder.
inline const char* CommentTemplateFileName() { return "Tessaray_ReportComment.ini"; }

/// The templates of `ini`, in the sections "Comment" + a number, in number order, below "Count"
/// of section "Comment" where that is usable (see `platform::NumberedSections`); each template's
/// lines from keys "Text0" to "Text2" ("" when absent).
std::vector<ComClass> ReadCommentTemplates(const platform::IniFile& ini);

/// Writes "Count" (in place) and sections "Comment0" onwards for `templates`, after erasing every
/// template section `ReadCommentTemplates` reads; sections beyond a usable count stay as they are.
void WriteCommentTemplates(platform::IniFile& ini, const std::vector<ComClass>& templates);

/// The first three lines of a comment text (lines end with LF); "" for lines it does not have.
std::array<std::string, 3> CommentLinesOf(const std::string& text);

/// The lines of a comment text (none for ""), for counting and for templates.
std::vector<std::string> SplitCommentLines(const std::string& text);
