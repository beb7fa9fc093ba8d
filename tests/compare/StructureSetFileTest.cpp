// The structure-set file: what mode 4 of the input box writes and the comparison reads back.
#include "compare/StructureSetFile.h"

#include "../platform/TempFolder.h"

#include <gtest/gtest.h>


namespace {

const std::string kFour[4] = {"PTV", "CTV", "Rectum", ""};

}  // namespace

TEST(StructureSetFile, AddingRewritesTheWholeFileAndKeepsHigherSections) {
    TempFolder dir;
    const std::string path = StructureSetFilePath(dir.Path());
    dir.Write("Tessaray_ReportCompDVHset.ini",
              "[List]\r\nCount=2\r\n[List0]\r\nTitle=T0\r\nStructure0=a\r\n"
              "[List1]\r\nTitle=T1\r\n[List7]\r\nTitle=Old\r\n");
    platform::IniFile ini(path);
    ASSERT_EQ(ini.Load(), platform::IniFile::LoadStatus::Ok);
    std::vector<CompDVHrepClass> sets = ReadStructureSets(ini);
    ASSERT_EQ(sets.size(), 2u);
    EXPECT_EQ(sets[0].Structure[0], "a");
    EXPECT_EQ(sets[1].Structure[3], "");  // a missing key reads ""

    EXPECT_EQ(AddStructureSet(sets, path, "T1", kFour).status, StructureSetStatus::Duplicate);
    EXPECT_EQ(sets.size(), 2u);
    ASSERT_EQ(AddStructureSet(sets, path, "Prostate", kFour).status, StructureSetStatus::Done);
    ASSERT_EQ(AddStructureSet(sets, path, "t1", kFour).status, StructureSetStatus::Done);
    ini.Load();
    EXPECT_EQ(ini.ReadInteger("List", "Count", 0), 4);
    EXPECT_EQ(ini.ReadString("List2", "Title", ""), "Prostate");
    EXPECT_EQ(ini.ReadString("List2", "Structure2", ""), "Rectum");
    EXPECT_EQ(ini.ReadString("List2", "Structure3", "x"), "");
    EXPECT_EQ(ini.ReadString("List7", "Title", ""), "Old");
    EXPECT_EQ(ReadStructureSets(ini).size(), 4u);
}

TEST(StructureSetFile, HugeCountIsBoundedAndAFailedWriteTakesTheSetBack) {
    platform::IniFile ini;
    ini.Parse("[List]\nCount=99999999\n[List0]\nTitle=A\n");
    EXPECT_EQ(ReadStructureSets(ini).size(), 1u);  // no more than the file has sets

    TempFolder dir;
    const std::string path = dir.File("sets.ini");
    std::filesystem::create_directory(path);  // exists but cannot be read: never written over
    std::vector<CompDVHrepClass> sets;
    const StructureSetResult r = AddStructureSet(sets, path, "X", kFour);
    EXPECT_EQ(r.status, StructureSetStatus::Failed);
    EXPECT_FALSE(r.message.empty());
    EXPECT_TRUE(sets.empty());
}

TEST(StructureSetFile, RoundTripDeleteAndApplyRules) {
    TempFolder dir;
    const std::string path = StructureSetFilePath(dir.Path());
    std::vector<CompDVHrepClass> sets;
    EXPECT_FALSE(ReadStructureSetFile(path, sets));
    const std::string four[4] = {"PTV ", "", "Rectum", ""};
    ASSERT_EQ(AddStructureSet(sets, path, "Pelvis ", four).status, StructureSetStatus::Done);
    ASSERT_EQ(AddStructureSet(sets, path, "B", kFour).status, StructureSetStatus::Done);
    ASSERT_EQ(AddStructureSet(sets, path, "C", kFour).status, StructureSetStatus::Done);
    std::vector<CompDVHrepClass> read;
    ASSERT_TRUE(ReadStructureSetFile(path, read));
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[0].Title, "Pelvis ");  // the trailing blank survives the file
    EXPECT_EQ(read[0].Structure[0], "PTV ");

    ASSERT_EQ(DeleteStructureSets(read, path, "B").status, StructureSetStatus::Done);
    platform::IniFile ini(path);
    ini.Load();
    EXPECT_EQ(ini.ReadInteger("List", "Count", 0), 2);
    EXPECT_EQ(ini.ReadString("List1", "Title", ""), "C");
    EXPECT_FALSE(ini.SectionExists("List2"));  // "C" was read from it: it goes, not to be read twice
    ASSERT_TRUE(ReadStructureSetFile(path, read));
    EXPECT_EQ(read.size(), 2u);

    // A hand-edited file with one title twice: the later set applies, Delete takes both.
    read.push_back(read[0]);
    read.back().Structure[0] = "CTV";
    EXPECT_EQ(LastStructureSetWithTitle(read, "Pelvis "), 2);
    EXPECT_EQ(LastStructureSetWithTitle(read, "Pelvis"), -1);
    ASSERT_EQ(DeleteStructureSets(read, path, "Pelvis ").status, StructureSetStatus::Done);
    EXPECT_EQ(read.size(), 1u);
    EXPECT_EQ(LastEqualItem({"PTV", "CTV", "PTV"}, "PTV"), 2);
    EXPECT_EQ(LastEqualItem({"PTV"}, "ptv"), -1);

    dir.Write("Tessaray_ReportCompDVHset.ini", "[List]\nCount=x2\n[List0]\nTitle=A\n");
    ASSERT_TRUE(ReadStructureSetFile(path, read));
    EXPECT_EQ(read.size(), 1u);  // a count that is no number bounds nothing
}
