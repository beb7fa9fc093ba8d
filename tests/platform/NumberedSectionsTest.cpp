// Structure sets and comment templates are read by one rule: the numbered sections present from
// 0, no further than a count that is a number of 0 or more; a save writes back what was read.
#include "compare/StructureSetFile.h"
#include "platform/IniFile.h"
#include "report/CommentTemplates.h"

#include <gtest/gtest.h>

namespace {

// A file kind seen through the name of each entry: a set's title, a template's first line.
struct Kind {
    const char* prefix;
    const char* nameKey;
    std::vector<std::string> (*read)(const platform::IniFile&);
    void (*write)(platform::IniFile&, const std::vector<std::string>&);
};

const Kind kSets{"List", "Title",
                 [](const platform::IniFile& ini) {
                     std::vector<std::string> names;
                     for (const CompDVHrepClass& set : ReadStructureSets(ini)) names.push_back(set.Title);
                     return names;
                 },
                 [](platform::IniFile& ini, const std::vector<std::string>& names) {
                     std::vector<CompDVHrepClass> sets(names.size());
                     for (std::size_t i = 0; i < names.size(); ++i) sets[i].Title = names[i];
                     WriteStructureSets(ini, sets);
                 }};

const Kind kTemplates{"Comment", "Text0",
                      [](const platform::IniFile& ini) {
                          std::vector<std::string> names;
                          for (const ComClass& t : ReadCommentTemplates(ini)) names.push_back(t.Line[0]);
                          return names;
                      },
                      [](platform::IniFile& ini, const std::vector<std::string>& names) {
                          std::vector<ComClass> templates(names.size());
                          for (std::size_t i = 0; i < names.size(); ++i) templates[i].Line[0] = names[i];
                          WriteCommentTemplates(ini, templates);
                      }};

}  // namespace

TEST(NumberedSections, ReadUpToTheFirstMissingNoFurtherThanAUsableCountAndSavedBackWhole) {
    struct Case {
        const Kind& kind;
        const char* count;         // nullptr: no "Count" key
        std::vector<int> present;  // numbers of the sections in the file, entry i named "N" + i
        std::vector<std::string> read;
    };
    const Case cases[] = {
        {kSets, "5", {0}, {"N0"}},
        {kSets, "3", {0, 2}, {"N0"}},
        {kSets, "-1", {0, 1}, {"N0", "N1"}},
        {kSets, "abc", {0, 1}, {"N0", "N1"}},
        {kSets, "2147483648", {0, 1}, {"N0", "N1"}},
        {kSets, nullptr, {0}, {"N0"}},
        {kTemplates, "3", {0, 2}, {"N0"}},
        {kTemplates, "1000", {999}, {}},
        {kTemplates, "-1", {0, 1}, {"N0", "N1"}},
        {kTemplates, "abc", {0}, {"N0"}},
    };
    for (const Case& c : cases) {
        const std::string prefix = c.kind.prefix;
        std::string text = "[" + prefix + "]\n" + (c.count ? std::string("Count=") + c.count + "\n" : "");
        for (int n : c.present)
            text += "[" + prefix + std::to_string(n) + "]\n" + c.kind.nameKey + "=N" + std::to_string(n) + "\n";
        platform::IniFile ini;
        ini.Parse(text);
        const std::vector<std::string> read = c.kind.read(ini);
        EXPECT_EQ(read, c.read) << text;

        // One entry more saved over the same file: read back, nothing lost, nothing doubled.
        std::vector<std::string> saved = read;
        saved.push_back("New");
        c.kind.write(ini, saved);
        platform::IniFile reread;
        reread.Parse(ini.Text());
        EXPECT_EQ(c.kind.read(reread), saved) << text;
    }
}
