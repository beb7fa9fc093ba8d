// Plan-list names, the register entries kept in step, and structure database edits.
#include "planlist/PlanListNaming.h"

#include "PlanListTestSupport.h"
#include "dvh/SettingsFile.h"
#include "planlist/PlanListRegister.h"
#include "planlist/StructureDBEdit.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

TEST(PlanListNaming, UsableNamesCanBeFileNames) {
    EXPECT_TRUE(IsUsablePlanListName("Prostate 78Gy"));
    EXPECT_FALSE(IsUsablePlanListName(""));
    EXPECT_FALSE(IsUsablePlanListName("a|b"));
    EXPECT_FALSE(IsUsablePlanListName("."));
    // A line break would end the register's line early and lose the list at the next start;
    // no control character can be part of a line of the register.
    EXPECT_FALSE(IsUsablePlanListName("Head\nCount=0"));
    EXPECT_FALSE(IsUsablePlanListName("Head\r"));
    EXPECT_FALSE(IsUsablePlanListName("a\tb"));
    EXPECT_TRUE(IsUsablePlanListName("Blase\xE4"));
}

TEST(PlanListNaming, LookupsAreExactAndTheLastEqualListWins) {
    std::vector<PlanListNameClass> lists(3);
    lists[0].Name = "Head";
    lists[1].Name = "head";
    lists[2].Name = "Head";
    EXPECT_EQ(FindPlanList(lists, "Head"), 2);
    EXPECT_EQ(FindPlanList(lists, "HEAD"), -1);
    TempFolder dir;
    EXPECT_TRUE(PlanListNameTaken(lists, dir.Path(), "head"));
    EXPECT_FALSE(PlanListNameTaken(lists, dir.Path(), "head", 1));  // its own name
    EXPECT_FALSE(PlanListNameTaken(lists, dir.Path(), "HEAD"));
    dir.Write("HEAD.lst", "");
    EXPECT_TRUE(PlanListNameTaken(lists, dir.Path(), "HEAD"));
    EXPECT_EQ(UniquePlanListName(lists, dir.Path(), "HEAD"), "HEAD1");
    // A registered list behind a link to a share that is away keeps its name: a new list of
    // that name would replace the link at its first save.
    TempFolder share;
    ASSERT_EQ(symlink(share.File("Away.lst").c_str(), dir.File("Away.lst").c_str()), 0);
    EXPECT_TRUE(PlanListNameTaken(lists, dir.Path(), "Away"));
}

TEST(PlanListNaming, MessagesCarryTheNameInTheirFixedText) {
    EXPECT_EQ(ListExistsQuestion("P").text,
              "Plan List (' P ') already exists.\nDo you want to create another Plan List?");
    EXPECT_EQ(RenameRefusedMessage("P").caption, "Cannot change the list name.");
    EXPECT_EQ(SaveOnExitQuestion("P").text, "Plan List ('P ') was modified without a save.\nSave with exit?");
    EXPECT_EQ(DeleteListQuestion("P").text, "Do you really want to delete Plan List ( P )?");
}

TEST(PlanListRegister, AddOnceAndRenameEveryEqualEntry) {
    platform::IniFile ini;
    ini.Parse("[PlanList]\r\nCount=2\r\nListName1=A\r\nListName2=B\r\n");
    EXPECT_FALSE(AddToPlanListRegister(ini, "B"));
    EXPECT_TRUE(AddToPlanListRegister(ini, "b"));
    EXPECT_EQ(ReadPlanListRegister(ini), (std::vector<std::string>{"A", "B", "b"}));

    // A count far beyond the keys costs nothing and adds after what is there.
    ini.Parse("[PlanList]\r\nCount=2000000000\r\nListName1=A\r\n");
    EXPECT_TRUE(AddToPlanListRegister(ini, "C"));
    EXPECT_EQ(ReadPlanListRegister(ini).back(), "C");

    TempFolder dir;  // no settings file: a rename creates none
    PlanListRegisterRename none(dir.Path(), "A", "B");
    EXPECT_TRUE(none.Begin().ok && none.Finish().ok);
    EXPECT_FALSE(platform::FileExists(SettingsFilePath(dir.Path())));

    // The new name still registered for a deleted list: the renamed list is not listed twice.
    dir.Write("Tessaray.ini", "[PlanList]\nCount=3\nListName1=Old\nListName2=New\nListName3=X\n");
    PlanListRegisterRename rename(dir.Path(), "Old", "New");
    ASSERT_TRUE(rename.Begin().ok && rename.Finish().ok);
    platform::IniFile after(SettingsFilePath(dir.Path()));
    after.Load();
    EXPECT_EQ(ReadPlanListRegister(after), (std::vector<std::string>{"New", "X"}));
}

TEST(StructureDBEdit, AddChangeToggleAndDelete) {
    PlanListNameClass list;
    ASSERT_TRUE(AddStructureDBEntry(list, "PTV", RgbColor(10, 20, 30)));
    EXPECT_FALSE(AddStructureDBEntry(list, "PTV", 0));
    ASSERT_TRUE(AddStructureDBEntry(list, "ptv", 0));  // letter case counts
    const StructureDBClass& s = list.StructureDB[0];
    EXPECT_TRUE(s.SetColor);
    EXPECT_TRUE(s.View);
    EXPECT_EQ(s.ColorG, 20);
    EXPECT_TRUE(list.Modified);

    list.Modified = false;
    ASSERT_TRUE(ToggleStructureDBView(list, 0));
    ASSERT_TRUE(ToggleStructureDBView(list, 0));
    EXPECT_TRUE(list.StructureDB[0].View);
    EXPECT_TRUE(list.Modified);  // toggled back, still an edit
    ASSERT_TRUE(SetStructureDBColor(list, 1, RgbColor(7, 8, 9)));
    EXPECT_EQ(list.StructureDB[1].ColorB, 9);

    ASSERT_TRUE(DeleteStructureDBEntry(list, 0));
    EXPECT_EQ(list.StructureDB[0].Name, "ptv");
    EXPECT_FALSE(DeleteStructureDBEntry(list, 1));  // past the end
    list.Lock = true;
    EXPECT_FALSE(AddStructureDBEntry(list, "Body", 0));
    EXPECT_FALSE(DeleteStructureDBEntry(list, 0));
    EXPECT_EQ(list.StructureDBCount(), 1);
}
