// Start-up reading of settings and registered plan lists, and the register rewrite.
#include "dvh/Workspace.h"
#include "planlist/PlanListStartup.h"
#include "platform/IniFile.h"
#include "../platform/TempFolder.h"
#include "../support/LockHeldElsewhere.h"
#include "dvh/SettingsFile.h"

#include <gtest/gtest.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* kListFile =
    "[StructureDB]\r\nCount=1\r\nName1=PTV\r\nColor-R1=255\r\nColor-G1=0\r\nColor-B1=0\r\n"
    "SetColor1=1\r\nView1=1\r\n[ListIndex]\r\nCount=1\r\nLock=0\r\nName1=PTV\r\nItems1=1\r\n"
    "Value1=95\r\nItemsCI1=0\r\nValueCI1=0\r\nConstraints1=-70\r\nConstraintsON1=1\r\n"
    "ConstraintsView1=1\r\nIndexPrint1=1\r\nConstraintFontColorR1=255\r\n"
    "ConstraintFontColorG1=0\r\nConstraintFontColorB1=0\r\n";

std::string RegisterText(const TempFolder& dir) {
    platform::IniFile ini(dir.File("Tessaray.ini"));
    ini.Load();
    std::string text;
    for (const std::string& key : ini.ReadSection("PlanList"))
        text += key + "=" + ini.ReadString("PlanList", key, "") + ";";
    return text;
}

}  // namespace

TEST(StartupLoad, RegisterKeepsOnlyListsFoundAndDuplicates) {
    TempFolder dir;
    dir.Write("A.lst", kListFile);
    dir.Write("C.lst", kListFile);
    dir.Write("Tessaray.ini",
              "[Option]\r\nAutoScan=1\r\n[PlanList]\r\nCount=4\r\nListName1=A\r\n"
              "ListName2=B\r\nListName3=C\r\nListName4=A\r\n");
    Workspace ws;
    ws.CurrentPlanIndex = 3;
    ws.PDataset.resize(2);
    const auto result = LoadSettingsAndPlanLists(ws, dir.Path());
    EXPECT_TRUE(result.Messages.empty());
    ASSERT_EQ(ws.PlanListNameCount(), 3);
    EXPECT_EQ(ws.PlanListName[0].Name, "A");
    EXPECT_EQ(ws.PlanListName[1].Name, "C");
    EXPECT_EQ(ws.PlanListName[2].Name, "A");  // the same list twice loads twice
    EXPECT_EQ(ws.PlanListName[0].IndexDataCount(), 1);
    EXPECT_FLOAT_EQ(ws.PlanListName[0].IndexData[0].Constraints, -70.0f);
    EXPECT_FALSE(ws.PlanListName[0].Modified);
    EXPECT_TRUE(ws.AutoScan);
    EXPECT_EQ(RegisterText(dir), "Count=3;ListName1=A;ListName2=C;ListName3=A;");
    EXPECT_EQ(ws.PDatasetCount(), 0);
    EXPECT_EQ(ws.CurrentPlanIndex, -1);
}

TEST(StartupLoad, ARegisterThatAnotherInstanceIsChangingIsReadButNotRewritten) {
    TempFolder dir;
    dir.Write("A.lst", kListFile);
    const std::string settings =
        dir.Write("Tessaray.ini", "[PlanList]\r\nCount=2\r\nListName1=Gone\r\nListName2=A\r\n");
    Workspace ws;
    {
        // "Gone" may be the list the other instance is saving: its entry is not dropped now.
        const LockHeldElsewhere other(SettingsLockPath(settings));
        const auto result = LoadSettingsAndPlanLists(ws, dir.Path());
        EXPECT_TRUE(result.Messages.empty());
    }
    ASSERT_EQ(ws.PlanListNameCount(), 1);
    EXPECT_EQ(ws.PlanListName[0].Name, "A");
    EXPECT_EQ(RegisterText(dir), "Count=2;ListName1=Gone;ListName2=A;");
    // The next start in its turn tidies it.
    Workspace next;
    LoadSettingsAndPlanLists(next, dir.Path());
    EXPECT_EQ(RegisterText(dir), "Count=1;ListName1=A;");
}

TEST(StartupLoad, ShortRegisterAndNoSettingsFile) {
    TempFolder dir;
    dir.Write("A.lst", kListFile);
    dir.Write("Tessaray.ini", "[PlanList]\r\nCount=3\r\nListName1=A\r\n");
    Workspace ws;
    LoadSettingsAndPlanLists(ws, dir.Path());
    EXPECT_EQ(ws.PlanListNameCount(), 1);
    EXPECT_EQ(RegisterText(dir), "Count=1;ListName1=A;");

    TempFolder empty;
    Workspace fresh;
    const auto result = LoadSettingsAndPlanLists(fresh, empty.Path());
    EXPECT_TRUE(result.ToolBars.Standard && result.ToolBars.Project);
    EXPECT_FALSE(result.ToolBars.BrainLABRTP);
    EXPECT_FALSE(platform::IniFile(empty.File("Tessaray.ini")).Load() ==
                 platform::IniFile::LoadStatus::Ok);  // no file is created
}

TEST(StartupLoad, UnreadableListIsRefusedButStaysRegistered) {
    TempFolder dir;
    const std::string list = dir.Write("Locked.lst", kListFile);
    dir.Write("A.lst", kListFile);
    dir.Write("Tessaray.ini", "[PlanList]\r\nCount=2\r\nListName1=Locked\r\nListName2=A\r\n");
    // Root reads every file whatever its permissions; a (sparse) file beyond the size any
    // list can have is refused by the reader just the same.
    const bool root = geteuid() == 0;
    if (root) {
        ASSERT_EQ(truncate(list.c_str(), (off_t(1) << 31) + 1), 0);
    } else {
        chmod(list.c_str(), 0);
    }
    Workspace ws;
    const auto result = LoadSettingsAndPlanLists(ws, dir.Path());
    chmod(list.c_str(), 0644);
    if (root) {
        ASSERT_EQ(truncate(list.c_str(), off_t(std::string(kListFile).size())), 0);
    }
    ASSERT_EQ(ws.PlanListNameCount(), 1);
    EXPECT_EQ(ws.PlanListName[0].Name, "A");
    ASSERT_EQ(result.Messages.size(), 1u);
    EXPECT_NE(result.Messages[0].find("Locked"), std::string::npos);
    EXPECT_NE(result.Messages[0].find("not loaded"), std::string::npos);
    EXPECT_EQ(RegisterText(dir), "Count=2;ListName1=Locked;ListName2=A;");
    EXPECT_EQ(dir.Read("Locked.lst"), kListFile);
}

TEST(StartupLoad, AListBehindABrokenLinkStaysRegistered) {
    // A list linked from a share that is not mounted right now is not gone: keep its entry, so
    // that it loads again once the share is back, and say why it is missing.
    TempFolder dir;
    TempFolder share;
    ASSERT_EQ(symlink(share.File("Away.lst").c_str(), dir.File("Away.lst").c_str()), 0);
    dir.Write("A.lst", kListFile);
    dir.Write("Tessaray.ini",
              "[PlanList]\r\nCount=3\r\nListName1=Away\r\nListName2=Gone\r\nListName3=A\r\n");
    Workspace ws;
    const auto result = LoadSettingsAndPlanLists(ws, dir.Path());
    ASSERT_EQ(ws.PlanListNameCount(), 1);
    EXPECT_EQ(ws.PlanListName[0].Name, "A");
    ASSERT_EQ(result.Messages.size(), 1u);
    EXPECT_NE(result.Messages[0].find("Away"), std::string::npos);
    // "Gone" has nothing at its path and is dropped as before.
    EXPECT_EQ(RegisterText(dir), "Count=2;ListName1=Away;ListName2=A;");
}

TEST(StartupLoad, ACountNotUnderstoodKeepsEveryEntryAndAGoodRegisterIsNotRewritten) {
    // "Count" missing, negative, a float, an exponent, beyond int, junk: the entries present
    // are the register, never erased.
    for (const char* count : {"", "Count=-1\r\n", "Count=1.0\r\n", "Count=1e9\r\n",
                              "Count=4294967297\r\n", "Count=many\r\n"}) {
        SCOPED_TRACE(count);
        TempFolder dir;
        dir.Write("A.lst", kListFile);
        dir.Write("B.lst", kListFile);
        dir.Write("Tessaray.ini", std::string("[PlanList]\r\n") + count + "ListName1=A\r\nListName2=B\r\n");
        Workspace ws;
        LoadSettingsAndPlanLists(ws, dir.Path());
        EXPECT_EQ(ws.PlanListNameCount(), 2);
        // Rewritten in place: a "Count" the file lacked is added at the end of the section.
        EXPECT_EQ(RegisterText(dir), *count ? "Count=2;ListName1=A;ListName2=B;"
                                            : "ListName1=A;ListName2=B;Count=2;");
    }

    // A register that names exactly the lists found is left as it is: the file is not rewritten.
    TempFolder dir;
    dir.Write("A.lst", kListFile);
    const std::string settings = dir.Write("Tessaray.ini", "[PlanList]\r\nCount=1\r\nListName1=A\r\n");
    struct stat before {}, after {};
    ASSERT_EQ(stat(settings.c_str(), &before), 0);
    Workspace ws;
    EXPECT_TRUE(LoadSettingsAndPlanLists(ws, dir.Path()).Messages.empty());
    ASSERT_EQ(stat(settings.c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);

    // A FIFO named like the settings file is refused at once, never waited on.
    std::filesystem::remove(settings);
    ASSERT_EQ(mkfifo(settings.c_str(), 0600), 0);
    const auto refused = LoadSettingsAndPlanLists(ws, dir.Path());
    ASSERT_EQ(refused.Messages.size(), 1u);
    EXPECT_NE(refused.Messages[0].find("no regular file"), std::string::npos);
}
