// The plan-list file codec: round trips, hand-written files, the save rules and refused writes.
#include "planlist/PlanListFile.h"

#include "PlanListTestSupport.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

/// A row as the list editor makes it: the conformity index's own kind left at "none".
IndexDataClass ListRow(std::string name, int items, float value) {
    IndexDataClass r;
    r.Name = std::move(name);
    r.Items = items;
    r.Value = value;
    return r;
}


// A protocol with every kind of field set to something other than its default.
PlanListNameClass FullList() {
    PlanListNameClass list;
    list.Name = "Prostate";
    list.Lock = true;
    list.StructureDB.push_back({"PTV", true, 255, 0, 0, true});
    list.StructureDB.push_back({"Rectum", false, 139, 69, 19, false});
    IndexDataClass ptv = ListRow("PTV", 0, 95);
    ptv.ConstraintsON = true;
    ptv.Constraints = -0.1f;  // lower limit, not exact in 32 bits
    ptv.ConstraintsView = true;
    ptv.ConstraintFontColorR = 255;
    list.IndexData.push_back(ptv);
    IndexDataClass ci = ListRow("PTV", 16, 0);
    ci.ItemsCI = 4;
    ci.ValueCI = 95.5f;
    ci.IndexPrint = false;
    list.IndexData.push_back(ci);
    list.IndexData.push_back(IndexDataClass{});  // an empty row between named rows
    IndexDataClass rectum = ListRow("Rectum", 7, 70.25f);
    rectum.ConstraintsON = true;
    rectum.Constraints = 15;
    rectum.ConstraintFontColorB = 200;
    list.IndexData.push_back(rectum);
    list.IndexData.push_back(IndexDataClass{});  // trailing: not written
    return list;
}

void ExpectSameRow(const IndexDataClass& a, const IndexDataClass& b) {
    EXPECT_EQ(a.Name, b.Name);
    EXPECT_EQ(a.Items, b.Items);
    EXPECT_EQ(a.Value, b.Value);  // 32-bit floats survive 15 significant digits exactly
    EXPECT_EQ(a.ItemsCI, b.ItemsCI);
    EXPECT_EQ(a.ValueCI, b.ValueCI);
    EXPECT_EQ(a.Constraints, b.Constraints);
    EXPECT_EQ(a.ConstraintsON, b.ConstraintsON);
    EXPECT_EQ(a.ConstraintsView, b.ConstraintsView);
    EXPECT_EQ(a.IndexPrint, b.IndexPrint);
    EXPECT_EQ(a.ConstraintFontColorR, b.ConstraintFontColorR);
    EXPECT_EQ(a.ConstraintFontColorG, b.ConstraintFontColorG);
    EXPECT_EQ(a.ConstraintFontColorB, b.ConstraintFontColorB);
}

}  // namespace

TEST(PlanListFile, PathIsProgramFolderNameAndExtension) {
    EXPECT_EQ(PlanListFilePath("/opt/t/", "Head Neck"), "/opt/t/Head Neck.lst");
}

TEST(PlanListFile, SaveLoadSaveIsByteIdenticalAndKeepsEveryField) {
    TempFolder dir;
    const PlanListNameClass original = FullList();
    const std::string first = dir.File("a.lst");
    ASSERT_TRUE(SavePlanListFile(first, original).ok);
    const PlanListLoadResult loaded = LoadPlanListFile(first, "Prostate");
    ASSERT_EQ(loaded.status, PlanListFileStatus::Ok);
    const std::string second = dir.File("b.lst");
    ASSERT_TRUE(SavePlanListFile(second, loaded.list).ok);
    EXPECT_EQ(ReadFileText(first), ReadFileText(second));

    const PlanListNameClass& back = loaded.list;
    EXPECT_TRUE(back.Lock);
    EXPECT_FALSE(back.Modified);
    ASSERT_EQ(back.StructureDBCount(), 2);
    EXPECT_EQ(back.StructureDB[1].Name, "Rectum");
    EXPECT_EQ(back.StructureDB[1].ColorG, 69);
    EXPECT_TRUE(back.StructureDB[0].SetColor);
    EXPECT_FALSE(back.StructureDB[1].View);
    ASSERT_EQ(back.IndexDataCount(), 4);  // the trailing empty row is dropped
    for (int i = 0; i < 4; ++i) ExpectSameRow(back.IndexData[i], original.IndexData[i]);
}

TEST(PlanListFile, WriterOrderEncodingsAndTrailingRowRule) {
    platform::IniFile ini;
    ini.Parse("[SNameDB]\r\nCount=1\r\nName1=Bladder\r\n");
    PlanListNameClass list;
    list.StructureDB.push_back({"PTV", true, 1, 2, 3, false});
    list.IndexData.resize(3);
    list.IndexData[0] = ListRow("PTV", 9, 0.1f);
    WritePlanListToIni(ini, list);
    // SNameDB first (untouched), then the rewritten sections; floats widened from 32 bits.
    EXPECT_EQ(ini.Text(),
              "[SNameDB]\r\nCount=1\r\nName1=Bladder\r\n\r\n"
              "[StructureDB]\r\nCount=1\r\nName1=PTV\r\nColor-R1=1\r\nColor-G1=2\r\nColor-B1=3\r\n"
              "SetColor1=1\r\nView1=0\r\n\r\n"
              "[ListIndex]\r\nCount=1\r\nLock=0\r\nName1=PTV\r\nItems1=9\r\n"
              "Value1=0.100000001490116\r\nItemsCI1=-1\r\nValueCI1=0\r\nConstraints1=0\r\n"
              "ConstraintsON1=0\r\nConstraintsView1=0\r\nIndexPrint1=1\r\n"
              "ConstraintFontColorR1=0\r\nConstraintFontColorG1=0\r\nConstraintFontColorB1=0\r\n");

    // Rows 1 and 3 named: three rows, the middle one empty.
    list.IndexData[2] = ListRow("CTV", 14, 95);
    WritePlanListToIni(ini, list);
    EXPECT_EQ(ini.ReadInteger("ListIndex", "Count", -1), 3);
    EXPECT_EQ(ini.ReadString("ListIndex", "Name2", "x"), "");
    EXPECT_EQ(ini.ReadString("ListIndex", "Value3", ""), "95");

    // No named row, and no row at all: one empty row is written.
    for (int rows : {20, 0}) {
        PlanListNameClass empty;
        empty.IndexData.resize(static_cast<std::size_t>(rows));
        WritePlanListToIni(ini, empty);
        EXPECT_EQ(ini.ReadInteger("ListIndex", "Count", -1), 1);
        EXPECT_TRUE(ini.ValueExists("ListIndex", "ConstraintFontColorB1"));
        EXPECT_FALSE(ini.ValueExists("ListIndex", "Name2"));
        EXPECT_EQ(ini.ReadInteger("StructureDB", "Count", -1), 0);
    }
}

TEST(PlanListFile, HandWrittenListWithOddSpacingCaseMissingKeysAndCounts) {
    platform::IniFile ini;
    ini.Parse(
        "; written by hand\n"
        "[listindex]\n"
        "  count = 2 \n"
        "name1 = PTV\n"
        "ITEMS1=$10\n"          // hexadecimal 16
        "value1= 1e-1\n"
        "constraints1=-45,5\n"  // saved where the locale writes a decimal comma
        "valueci1=1.000,5\n"    // a thousands mark is no decimal comma: 0
        "constraintson1=7\n"     // any non-zero is true
        "constraintfontcolorr1=-1\n"
        "constraintfontcolorg1=256\n"
        "indexprint1=junk\n"     // not a number: the default, false
        "Items2=3\n"             // Name2 missing: reads "0"
        "Value2=1e39\n"          // no 32-bit float holds it: 0
        "ValueCI2=nan\n"
        "Constraints2=1,2,5\n"
        "Name3=Ignored\n"        // beyond the count
        "lock=1\n"
        "[StructureDB]\n"
        "Count=999999999\n"      // far more than the file holds
        "Name1=Body\n"
        "Color-R1=300\n"
        "[SNameDB]\n"
        "Count=-4\n"
        "Name1=x\n");
    const PlanListNameClass list = ReadPlanListFromIni(ini, "Odd");
    EXPECT_EQ(list.Name, "Odd");
    EXPECT_TRUE(list.Lock);
    ASSERT_EQ(list.IndexDataCount(), 2);
    const IndexDataClass& a = list.IndexData[0];
    EXPECT_EQ(a.Name, "PTV");
    EXPECT_EQ(a.Items, 16);
    EXPECT_EQ(a.Value, 0.1f);
    EXPECT_EQ(a.Constraints, -45.5f);
    EXPECT_EQ(a.ValueCI, 0.0f);
    EXPECT_TRUE(a.ConstraintsON);
    EXPECT_EQ(a.ConstraintFontColorR, 255);
    EXPECT_EQ(a.ConstraintFontColorG, 0);
    EXPECT_FALSE(a.IndexPrint);
    EXPECT_EQ(a.ItemsCI, 0);  // missing integer: 0, not the -1 of a cleared row
    const IndexDataClass& b = list.IndexData[1];
    EXPECT_EQ(b.Name, "0");
    EXPECT_EQ(b.Items, 3);
    EXPECT_EQ(b.Value, 0.0f);
    EXPECT_EQ(b.ValueCI, 0.0f);
    EXPECT_EQ(b.Constraints, 0.0f);
    // A count above the entries reads up to the highest entry that has a key: no entry named
    // "0" is made up (a save would keep it).
    ASSERT_EQ(list.StructureDBCount(), 1);
    EXPECT_EQ(list.StructureDB[0].ColorR, 44);  // 300 cut to its low byte
    EXPECT_TRUE(list.SNameDB.empty());

    // Entries between keyed ones read their defaults; one named far beyond what the file holds
    // is not made, nor the billion before it.
    ini.Parse("[ListIndex]\nCount=999999999\nName1=A\nName999999999=B\nName3=C\n");
    const PlanListNameClass sparse = ReadPlanListFromIni(ini, "Sparse");
    ASSERT_EQ(sparse.IndexDataCount(), 3);
    EXPECT_EQ(sparse.IndexData[1].Name, "0");
    EXPECT_EQ(sparse.IndexData[2].Name, "C");
}

TEST(PlanListFile, LineBreaksInNamesNeverSplitAKey) {
    PlanListNameClass list;
    list.IndexData.push_back(ListRow("PTV\r\nItems1=7", 9, 1));
    list.StructureDB.push_back(StructureDBClass{});
    list.StructureDB[0].Name = "Cord\rCount=0";
    platform::IniFile ini;
    WritePlanListToIni(ini, list);
    platform::IniFile reread;
    reread.Parse(ini.Text());
    const PlanListNameClass back = ReadPlanListFromIni(reread, "L");
    ASSERT_EQ(back.IndexDataCount(), 1);
    EXPECT_EQ(back.IndexData[0].Name, "PTV  Items1=7");
    EXPECT_EQ(back.IndexData[0].Items, 9);
    ASSERT_EQ(back.StructureDBCount(), 1);
    EXPECT_EQ(back.StructureDB[0].Name, "Cord Count=0");
}

TEST(PlanListFile, EmptyOrForeignFileGivesAnEmptyUnlockedList) {
    platform::IniFile ini;
    ini.Parse("[Other]\nCount=3\n");
    const PlanListNameClass list = ReadPlanListFromIni(ini, "X");
    EXPECT_EQ(list.IndexDataCount(), 0);
    EXPECT_EQ(list.StructureDBCount(), 0);
    EXPECT_FALSE(list.Lock);
}

TEST(PlanListFile, SaveKeepsSNameDBAndForeignSectionsAndLeavesFileReadOnly) {
    TempFolder dir;
    const std::string path = dir.File("P.lst");
    dir.Write("P.lst", "[Notes]\nAuthor=dr x\n[SNameDB]\nCount=2\nName1=PTV\nName2=Body\n"
                        "[ListIndex]\nCount=1\nName1=Old\nUnknownKey=1\n");
    PlanListNameClass list = FullList();
    list.SNameDB = {"a", "b", "c"};  // grown in memory: never written
    for (int pass = 0; pass < 2; ++pass) {
        ASSERT_TRUE(SavePlanListFile(path, list).ok);
        EXPECT_TRUE(platform::IsReadOnly(path));
    }
    platform::IniFile ini(path);
    ASSERT_EQ(ini.Load(), platform::IniFile::LoadStatus::Ok);
    EXPECT_EQ(ini.ReadString("Notes", "Author", ""), "dr x");
    EXPECT_EQ(ini.ReadInteger("SNameDB", "Count", 0), 2);
    EXPECT_EQ(ini.ReadString("SNameDB", "Name2", ""), "Body");
    EXPECT_FALSE(ini.ValueExists("ListIndex", "UnknownKey"));
    EXPECT_EQ(ini.ReadSections().size(), 4u);
}

TEST(PlanListFile, UnreadableFileIsReportedAndNeverSavedOver) {
    TempFolder dir;
    // A folder where the file should be: it exists but cannot be read as a file.
    const std::string path = dir.File("Busy.lst");
    std::filesystem::create_directory(path);
    const PlanListLoadResult loaded = LoadPlanListFile(path, "Busy");
    EXPECT_EQ(loaded.status, PlanListFileStatus::Unreadable);
    EXPECT_TRUE(loaded.list.Unreadable);
    EXPECT_FALSE(loaded.message.empty());
    EXPECT_FALSE(SavePlanListFile(path, loaded.list).ok);
    // Even a list with rows is not written over a file that cannot be read now.
    EXPECT_FALSE(SavePlanListFile(path, FullList()).ok);
    EXPECT_TRUE(std::filesystem::is_directory(path));

    // A list saved as UTF-16 by an editor is refused with the reason, never read as empty.
    const std::string utf16 = dir.Write("Wide.lst", std::string("\xFF\xFE[\0L\0]\0", 8));
    const PlanListLoadResult wide = LoadPlanListFile(utf16, "Wide");
    EXPECT_EQ(wide.status, PlanListFileStatus::Unreadable);
    EXPECT_NE(wide.message.find("UTF-16"), std::string::npos);

    const PlanListLoadResult missing = LoadPlanListFile(dir.File("None.lst"), "None");
    EXPECT_EQ(missing.status, PlanListFileStatus::Missing);
    EXPECT_FALSE(missing.list.Unreadable);
}

TEST(PlanListFile, RefusedWriteLeavesTheOldFileWholeAndReadOnly) {
    TempFolder dir;
    const std::string path = dir.File("P.lst");
    PlanListNameClass small;
    small.IndexData.push_back(ListRow("PTV", 9, 1));
    ASSERT_TRUE(SavePlanListFile(path, small).ok);
    const std::string before = ReadFileText(path);
    PlanListNameClass big = FullList();
    for (int i = 0; i < 50; ++i) big.IndexData.push_back(ListRow("Organ" + std::to_string(i), 9, 1));
    platform::WriteResult result;
    {
        FileSizeLimit disk(before.size() + 10);
        result = SavePlanListFile(path, big);
    }
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.message.empty());
    EXPECT_EQ(ReadFileText(path), before);
    EXPECT_TRUE(platform::IsReadOnly(path));
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()), 1);
}

TEST(PlanListFile, ExampleProtocolLoadsAndSavesBackUnchanged) {
    const std::string example = std::string(TESSARAY_EXAMPLES) + "/Prostate.lst";
    const PlanListLoadResult loaded = LoadPlanListFile(example, "Prostate");
    ASSERT_EQ(loaded.status, PlanListFileStatus::Ok);
    const PlanListNameClass& list = loaded.list;
    ASSERT_EQ(list.IndexDataCount(), 18);
    EXPECT_EQ(list.StructureDBCount(), 7);
    EXPECT_EQ(list.SNameDB.size(), 7u);
    const std::vector<std::string> known = {"PTV", "CTV", "Rectum", "Bladder", "Femur_L", "Femur_R", "Body"};
    bool lower = false, upper = false, conformity = false;
    for (const IndexDataClass& r : list.IndexData) {
        EXPECT_NE(std::find(known.begin(), known.end(), r.Name), known.end()) << r.Name;
        EXPECT_TRUE(r.Items >= 0 && r.Items <= 16);
        lower |= r.ConstraintsON && r.Constraints < 0;
        upper |= r.ConstraintsON && r.Constraints > 0;
        conformity |= r.Items == 16 && r.ItemsCI >= 0;
    }
    EXPECT_TRUE(lower && upper && conformity);
    // The example is exactly what the program itself writes.
    // (The name store is kept from the file saved over, so save over a copy of it.)
    TempFolder dir;
    dir.Write("Copy.lst", ReadFileText(example));
    ASSERT_TRUE(SavePlanListFile(dir.File("Copy.lst"), list).ok);
    EXPECT_EQ(ReadFileText(dir.File("Copy.lst")), ReadFileText(example));
}
