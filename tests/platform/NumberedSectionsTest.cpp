// Structure sets and comment templates are read by one rule: every numbered section present, in
// number order, below a count that is a number of 0 or more; a save writes back what was read.
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

TEST(NumberedSections, ReadEveryOneBelowAUsableCountAndSavedBackWhole) {
    struct Case {
        const Kind& kind;
        const char* count;         // nullptr: no "Count" key
        std::vector<int> present;  // numbers of the sections in the file, entry i named "N" + i
        std::vector<std::string> read;
    };
    const Case cases[] = {
        {kSets, "5", {0}, {"N0"}},
        {kSets, "3", {0, 2}, {"N0", "N2"}},
        {kSets, "4", {0, 1, 3}, {"N0", "N1", "N3"}},  // a gap loses no set
        {kSets, "2", {3, 0, 1}, {"N0", "N1"}},         // in number order, none beyond the count
        {kSets, "-1", {0, 1}, {"N0", "N1"}},
        {kSets, "abc", {0, 1}, {"N0", "N1"}},
        {kSets, "2147483648", {0, 5}, {"N0", "N5"}},
        {kSets, nullptr, {0}, {"N0"}},
        {kTemplates, "3", {0, 2}, {"N0", "N2"}},
        {kTemplates, "1000", {999}, {"N999"}},
        // A few bytes naming one huge number make one entry, never that many.
        {kTemplates, "100000000", {99999999}, {"N99999999"}},
        {kTemplates, nullptr, {99999999}, {"N99999999"}},
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

        // Two entries more, saved one at a time over the same file: read back, nothing lost,
        // nothing doubled.
        std::vector<std::string> saved = read;
        for (const char* added : {"New", "Newer"}) {
            saved.push_back(added);
            c.kind.write(ini, saved);
            ini.Parse(ini.Text());
            EXPECT_EQ(c.kind.read(ini), saved) << text;
        }
    }
}

TEST(NumberedSections, OnlyPlainNumbersInNumberOrderEachOnce) {
    platform::IniFile ini;
    ini.Parse("[List]\nCount=9\n[List01]\n[List+1]\n[List-1]\n[List 1]\n[List1x]\n[LIST2]\n[list2]\n[List0]\n"
              "[List9]\n[Lists3]\n");
    EXPECT_EQ(platform::NumberedSections(ini, "List", "List"), (std::vector<std::string>{"List0", "LIST2"}));
}
