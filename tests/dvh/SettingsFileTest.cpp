// "Tessaray.ini": per-computer sections, asymmetric on/off reading and the plan-list register.
#include "dvh/SettingsFile.h"
#include "dvh/LockWaitText.h"
#include "dvh/StoreEntry.h"
#include "platform/AtomicWrite.h"
#include "../platform/TempFolder.h"
#include "../support/LockHeldElsewhere.h"

#include <gtest/gtest.h>

#include <filesystem>

using platform::IniFile;

TEST(SettingsFile, OnlyThisComputersFoldersAndToolBarsApply) {
    TempFolder dir;
    std::filesystem::create_directory(dir.File("read"));
    std::filesystem::create_directory(dir.File("save"));
    IniFile ini;
    ini.Parse("[FileLocation-other]\nRead=" + dir.File("save") + "\nSave=" + dir.File("read") +
              "\n[ToolBar-other]\nStandard=2\nBrainLABRTP=1\n"
              "[FileLocation-here]\nRead=" + dir.File("read") + "\nSave=" + dir.File("gone") +
              "\n[Option]\nAutoScan=1\nCaseSensitivity=2\n");
    const StoredSettings s = ReadStoredSettings(ini, "here");
    EXPECT_EQ(s.ReadFolder, dir.File("read"));
    EXPECT_EQ(s.SaveFolder, "");  // a vanished folder is dropped
    EXPECT_TRUE(s.AutoScan);
    EXPECT_FALSE(s.CaseSensitivity);  // 2 is off
    EXPECT_TRUE(s.ToolBars.Standard);  // the other computer's 2 does not count here
    EXPECT_TRUE(s.ToolBars.Project);
    EXPECT_FALSE(s.ToolBars.BrainLABRTP);
}

TEST(SettingsFile, OnOffValuesReadAsymmetrically) {
    struct Case { const char* value; bool optionOn; bool barShown; bool brainLabShown; };
    for (const Case c : {Case{"1", true, true, true}, Case{"2", false, false, false},
                         Case{"0", false, true, false}, Case{"3", false, true, false},
                         Case{"x", false, true, false}}) {
        IniFile ini;
        ini.Parse(std::string("[Option]\nAutoScan=") + c.value + "\nCaseSensitivity=" + c.value +
                  "\n[ToolBar-pc]\nStandard=" + c.value + "\nProject=" + c.value +
                  "\nBrainLABRTP=" + c.value + "\n");
        const StoredSettings s = ReadStoredSettings(ini, "pc");
        EXPECT_EQ(s.AutoScan, c.optionOn) << c.value;
        EXPECT_EQ(s.CaseSensitivity, c.optionOn) << c.value;
        EXPECT_EQ(s.ToolBars.Standard, c.barShown) << c.value;
        EXPECT_EQ(s.ToolBars.Project, c.barShown) << c.value;
        EXPECT_EQ(s.ToolBars.BrainLABRTP, c.brainLabShown) << c.value;
    }
    // No settings at all: standard and project bars shown, BrainLAB hidden, options off.
    const StoredSettings none = ReadStoredSettings(IniFile(), "");
    EXPECT_TRUE(none.ToolBars.Standard && none.ToolBars.Project);
    EXPECT_FALSE(none.ToolBars.BrainLABRTP || none.AutoScan || none.CaseSensitivity);
}

TEST(SettingsFile, DialogAndToolBarWritesRoundTripAndKeepOtherComputers) {
    TempFolder dir;
    const std::string path = SettingsFilePath(dir.Path());
    dir.Write("Tessaray.ini", "[FileLocation-other]\r\nRead=/elsewhere\r\n[PlanList]\r\nCount=0\r\n");
    ASSERT_TRUE(UpdateSettingsFile(path, [&](IniFile& ini) {
        WriteDialogSettings(ini, "pc", dir.Path(), "", false, false);
        WriteToolBarSetting(ini, "pc", "Standard", false);
        WriteToolBarSetting(ini, "pc", "Standard", true);  // clicked twice: shown again
    }).ok);
    IniFile ini(path);
    ASSERT_EQ(ini.Load(), IniFile::LoadStatus::Ok);
    EXPECT_EQ(ini.ReadString("Option", "AutoScan", ""), "2");  // off is 2, never 0
    EXPECT_EQ(ini.ReadString("Option", "CaseSensitivity", ""), "2");
    EXPECT_EQ(ini.ReadString("FileLocation-pc", "Save", "0"), "");
    EXPECT_EQ(ini.ReadString("ToolBar-pc", "Standard", ""), "1");
    EXPECT_EQ(ini.ReadString("FileLocation-other", "Read", ""), "/elsewhere");
    const StoredSettings s = ReadStoredSettings(ini, "pc");
    EXPECT_EQ(s.ReadFolder, dir.Path());
    EXPECT_FALSE(s.AutoScan);
}

TEST(SettingsFile, AChangeThatCannotTakeItsTurnIsRefusedAndKeepsTheOthersChange) {
    TempFolder dir;
    const std::string path = SettingsFilePath(dir.Path());
    dir.Write("Tessaray.ini", "[PlanList]\r\nCount=1\r\nListName1=Mine\r\n");
    const auto addOurs = [](IniFile& ini) {
        std::vector<std::string> names = ReadPlanListRegister(ini);
        names.push_back("Ours");
        WritePlanListRegister(ini, names);
    };
    {
        // Another instance holds the lock beyond the wait and makes its change meanwhile.
        const LockHeldElsewhere other(SettingsLockPath(path));
        ASSERT_TRUE(platform::AtomicWriteFile(path, "[PlanList]\r\nCount=2\r\nListName1=Mine\r\n"
                                                    "ListName2=Theirs\r\n").ok);
        bool changed = false;
        const platform::WriteResult refused = UpdateSettingsFile(path, [&](IniFile& ini) {
            changed = true;
            addOurs(ini);
        });
        EXPECT_FALSE(refused.ok);
        EXPECT_EQ(refused.message,
                  "Another instance of Tessaray is changing Tessaray.ini; nothing was written to it.");
        EXPECT_EQ(refused.message, SettingsBusyText());
        EXPECT_FALSE(changed) << "nothing is read for a change that is not made";
    }
    IniFile theirs(path);
    ASSERT_EQ(theirs.Load(), IniFile::LoadStatus::Ok);
    EXPECT_EQ(ReadPlanListRegister(theirs), (std::vector<std::string>{"Mine", "Theirs"}));

    // In its turn the change is made over the other's.
    ASSERT_TRUE(UpdateSettingsFile(path, addOurs).ok);
    IniFile both(path);
    ASSERT_EQ(both.Load(), IniFile::LoadStatus::Ok);
    EXPECT_EQ(ReadPlanListRegister(both), (std::vector<std::string>{"Mine", "Theirs", "Ours"}));
}

TEST(SettingsFile, AWaitForALockIsNamedAfterWhatTheLockGuards) {
    EXPECT_EQ(LockWaitText(SettingsLockPath(SettingsFilePath("/home/ann/.config/Tessaray/"))),
              "Waiting for another instance's change of Tessaray.ini ...");
    EXPECT_EQ(LockWaitText(StoreCommitOf("/store/Head/12_H1.txt").Lock),
              "Waiting for another save of 12_H1.txt ...");
    // Only the store's own lock names a save; a list's, or a file not named as a lock, a turn.
    EXPECT_EQ(LockWaitText("/home/ann/.config/Tessaray/Head.lst.lock"),
              "Waiting for another program's turn on Head.lst ...");
    EXPECT_EQ(LockWaitText("/store/Head/12_H1.txt"),
              "Waiting for another program's turn on 12_H1.txt ...");
    EXPECT_EQ(LockWaitText("/store/Head/Tessaray.ini.lock.old"),
              "Waiting for another program's turn on Tessaray.ini.lock.old ...");
}

TEST(SettingsFile, RegisterReadsTheKeysPresentAndRewritesWithoutGaps) {
    IniFile ini;
    // Count 5 with entries 1-3: the missing ones read as "0", listed once.
    ini.Parse("[PlanList]\nCount=5\nListName1=Prostate\nListName2=H&N\nListName3=Prostate\n");
    EXPECT_EQ(ReadPlanListRegister(ini),
              (std::vector<std::string>{"Prostate", "H&N", "Prostate", "0"}));
    // A huge count does not make the reader walk two billion keys.
    ini.Parse("[PlanList]\nCount=2147483647\nListName2=B\nListName1=A\nlistname1=dup\n");
    EXPECT_EQ(ReadPlanListRegister(ini), (std::vector<std::string>{"A", "B", "0"}));
    // Entries beyond the count are not read; no register reads as no lists.
    ini.Parse("[PlanList]\nCount=1\nListName1=A\nListName2=B\n");
    EXPECT_EQ(ReadPlanListRegister(ini), (std::vector<std::string>{"A"}));
    EXPECT_TRUE(ReadPlanListRegister(IniFile()).empty());

    WritePlanListRegister(ini, {"A", "C"});
    EXPECT_EQ(ini.Text(), "[PlanList]\nCount=2\nListName1=A\nListName2=C\n");

    // The section is rewritten in place: it keeps its position and its other keys.
    ini.Parse("[Option]\nAutoScan=1\n[PlanList]\nListName2=B\nCount=3\nListName1=A\nListName3=C\n"
              "Note=mine\n[FileLocation-pc]\nReadFolder=/d\n");
    WritePlanListRegister(ini, {"A", "D"});
    EXPECT_EQ(ini.Text(), "[Option]\nAutoScan=1\n[PlanList]\nListName2=D\nCount=2\nListName1=A\n"
                          "Note=mine\n[FileLocation-pc]\nReadFolder=/d\n");
    WritePlanListRegister(ini, {"A", "D", "E"});
    EXPECT_EQ(ini.Text(), "[Option]\nAutoScan=1\n[PlanList]\nListName2=D\nCount=3\nListName1=A\n"
                          "Note=mine\nListName3=E\n[FileLocation-pc]\nReadFolder=/d\n");
}
