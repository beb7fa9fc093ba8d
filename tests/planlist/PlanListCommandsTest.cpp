// Whole-list commands on files in a temporary program folder.
#include "planlist/PlanListCommands.h"
#include "planlist/PlanListStartup.h"

#include "PlanListTestSupport.h"
#include "../support/LockHeldElsewhere.h"
#include "dvh/SettingsFile.h"
#include "planlist/PlanListFile.h"
#include "planlist/PlanListNaming.h"
#include "planlist/PlanListRegister.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

// The desktop trash as the main window provides it, here a folder of the test.
struct TrashHost : WorkspaceHost {
    std::string folder;
    bool CaseSensitive() const override { return false; }
    bool MoveToTrash(const std::string& path) override {
        std::filesystem::create_directories(folder);
        return std::rename(path.c_str(), (folder + platform::FileNameOf(path)).c_str()) == 0;
    }
};

class PlanListCommands : public ::testing::Test {
protected:
    void SetUp() override {
        m_host.folder = m_trash.Path() + "share/Trash/files/";
        ws.SetHost(&m_host);
        // The trash of this test, so that deleted lists never reach the user's own.
        if (const char* old = std::getenv("XDG_DATA_HOME")) m_oldXdg = old, m_hadXdg = true;
        setenv("XDG_DATA_HOME", (m_trash.Path() + "share").c_str(), 1);
    }
    void TearDown() override {
        if (m_hadXdg)
            setenv("XDG_DATA_HOME", m_oldXdg.c_str(), 1);
        else
            unsetenv("XDG_DATA_HOME");
    }

    std::string ListPath(const std::string& name) const { return PlanListFilePath(dir.Path(), name); }
    std::vector<std::string> Register() const {
        platform::IniFile ini(SettingsFilePath(dir.Path()));
        ini.Load();
        return ReadPlanListRegister(ini);
    }
    int AddSavedList(const std::string& name) {
        const int i = NewPlanList(ws, dir.Path(), name).index;
        ws.PlanListName[i].IndexData[0].Name = "PTV";
        EXPECT_TRUE(SavePlanList(ws, dir.Path(), i).ok());
        return i;
    }

    std::string TrashedFile(const std::string& name) const {
        return m_trash.Path() + "share/Trash/files/" + name;
    }

    TempFolder dir;
    Workspace ws;

private:
    TempFolder m_trash;
    TrashHost m_host;
    std::string m_oldXdg;
    bool m_hadXdg = false;
};

}  // namespace

TEST_F(PlanListCommands, NewListHasTwentyRedEmptyRowsAndRefusesTakenOrUnusableNames) {
    const ListCommandResult made = NewPlanList(ws, dir.Path(), "Head");
    ASSERT_TRUE(made.ok());
    const PlanListNameClass& list = ws.PlanListName[made.index];
    EXPECT_EQ(list.IndexDataCount(), 20);
    EXPECT_EQ(list.IndexData[19].ConstraintFontColorR, 255);
    EXPECT_EQ(list.IndexData[19].Items, -1);
    EXPECT_TRUE(list.IndexData[19].IndexPrint);
    EXPECT_TRUE(list.Modified);
    EXPECT_FALSE(list.Lock);
    EXPECT_FALSE(platform::FileExists(ListPath("Head")));  // nothing on disk before a save

    EXPECT_EQ(NewPlanList(ws, dir.Path(), "Head").status, ListCommandStatus::Duplicate);
    EXPECT_TRUE(NewPlanList(ws, dir.Path(), "head").ok());  // the test is exact
    dir.Write("Orphan.lst", "[ListIndex]\nCount=1\nName1=Kept\n");
    EXPECT_EQ(NewPlanList(ws, dir.Path(), "Orphan").status, ListCommandStatus::Duplicate);
    EXPECT_EQ(NewPlanList(ws, dir.Path(), "").status, ListCommandStatus::InvalidName);
    EXPECT_EQ(NewPlanList(ws, dir.Path(), "a/b").status, ListCommandStatus::InvalidName);
    EXPECT_EQ(NewPlanList(ws, dir.Path(), "..").status, ListCommandStatus::InvalidName);
    EXPECT_EQ(ws.PlanListNameCount(), 2);
}

TEST_F(PlanListCommands, CopyOfALockedListIsUnlockedWithRowsAndNoNameStore) {
    PlanListNameClass source = MakeNewPlanList("Src");
    source.IndexData[0].Name = "PTV";
    source.IndexData[0].Items = 16;
    source.IndexData[0].ItemsCI = 5;
    source.IndexData[0].ValueCI = 30;
    source.StructureDB.push_back({"PTV", true, 1, 2, 3, true});
    source.SNameDB = {"PTV", "Body"};
    source.Lock = true;
    source.Modified = false;
    ws.PlanListName.push_back(source);

    const ListCommandResult copy = CopyPlanList(ws, dir.Path(), "Src", "Dst");
    ASSERT_TRUE(copy.ok());
    const PlanListNameClass& c = ws.PlanListName[copy.index];
    EXPECT_EQ(c.Name, "Dst");
    EXPECT_FALSE(c.Lock);
    EXPECT_TRUE(c.Modified);
    EXPECT_TRUE(c.SNameDB.empty());
    ASSERT_EQ(c.IndexDataCount(), 20);
    EXPECT_EQ(c.IndexData[0].ItemsCI, 5);
    EXPECT_EQ(c.IndexData[0].ValueCI, 30.0f);
    ASSERT_EQ(c.StructureDBCount(), 1);
    EXPECT_EQ(c.StructureDB[0].ColorB, 3);

    EXPECT_EQ(CopyPlanList(ws, dir.Path(), "Src", "Dst").status, ListCommandStatus::Duplicate);
    EXPECT_EQ(CopyPlanList(ws, dir.Path(), "None", "X").status, ListCommandStatus::NothingToDo);
    EXPECT_EQ(CopyPlanList(ws, dir.Path(), "Src", "").status, ListCommandStatus::NothingToDo);
    EXPECT_EQ(ws.PlanListNameCount(), 2);
}

TEST_F(PlanListCommands, SaveWritesReadOnlyFileRegistersOnceAndClearsModified) {
    const int i = NewPlanList(ws, dir.Path(), "Head").index;
    ASSERT_TRUE(SavePlanList(ws, dir.Path(), i).ok());
    EXPECT_FALSE(ws.PlanListName[i].Modified);
    EXPECT_TRUE(platform::IsReadOnly(ListPath("Head")));
    platform::IniFile file(ListPath("Head"));
    ASSERT_EQ(file.Load(), platform::IniFile::LoadStatus::Ok);
    EXPECT_EQ(file.ReadInteger("ListIndex", "Count", 0), 1);  // 20 empty rows save as one
    ASSERT_TRUE(SavePlanList(ws, dir.Path(), i).ok());  // the read-only file is saved again
    EXPECT_EQ(Register(), std::vector<std::string>{"Head"});

    // An entry differing in letter case is another list.
    UpdateSettingsFile(SettingsFilePath(dir.Path()), [](platform::IniFile& ini) {
        WritePlanListRegister(ini, {"HEAD"});
    });
    ASSERT_TRUE(SavePlanList(ws, dir.Path(), i).ok());
    EXPECT_EQ(Register(), (std::vector<std::string>{"HEAD", "Head"}));
}

TEST_F(PlanListCommands, FailedSaveKeepsFileRegisterAndModified) {
    const int i = AddSavedList("Head");
    const std::string before = ReadFileText(ListPath("Head"));
    PlanListNameClass& list = ws.PlanListName[i];
    for (int r = 0; r < 40; ++r) list.IndexData.push_back(list.IndexData[0]);
    list.IndexData.back().Name = "Rectum";
    list.Modified = true;
    ListCommandResult saved;
    {
        FileSizeLimit disk(before.size());
        saved = SavePlanList(ws, dir.Path(), i);
    }
    EXPECT_EQ(saved.status, ListCommandStatus::Failed);
    EXPECT_FALSE(saved.message.empty());
    EXPECT_TRUE(ws.PlanListName[i].Modified);
    EXPECT_EQ(ReadFileText(ListPath("Head")), before);

    // A list whose file could not be read is never saved over that file.
    const int j = NewPlanList(ws, dir.Path(), "Busy").index;
    ws.PlanListName[j].Unreadable = true;
    EXPECT_EQ(SavePlanList(ws, dir.Path(), j).status, ListCommandStatus::Failed);
    EXPECT_FALSE(platform::FileExists(ListPath("Busy")));
    EXPECT_EQ(Register(), std::vector<std::string>{"Head"});
}

TEST_F(PlanListCommands, RenameMovesFileAndEveryRegisterEntry) {
    const int i = AddSavedList("Old");
    UpdateSettingsFile(SettingsFilePath(dir.Path()), [](platform::IniFile& ini) {
        WritePlanListRegister(ini, {"Old", "Other", "Old"});
    });
    // A list file made writable (copied in by hand) is read-only under its new name, as every
    // saved list is.
    platform::SetReadOnly(ListPath("Old"), false);
    ASSERT_TRUE(RenamePlanList(ws, dir.Path(), i, "New").ok());
    EXPECT_EQ(ws.PlanListName[i].Name, "New");
    EXPECT_FALSE(platform::FileExists(ListPath("Old")));
    EXPECT_TRUE(platform::IsReadOnly(ListPath("New")));
    EXPECT_EQ(Register(), (std::vector<std::string>{"New", "Other", "New"}));
    platform::SetReadOnly(ListPath("New"), false);
    EXPECT_TRUE(RenamePlanList(ws, dir.Path(), i, "New").ok());  // its own name: allowed
    EXPECT_TRUE(platform::IsReadOnly(ListPath("New")));

    // A list never saved only changes in memory.
    const int j = NewPlanList(ws, dir.Path(), "Draft").index;
    ASSERT_TRUE(RenamePlanList(ws, dir.Path(), j, "Draft2").ok());
    EXPECT_FALSE(platform::FileExists(ListPath("Draft2")));
}

TEST_F(PlanListCommands, RenameWithoutSettingsFileChangesOnlyTheListInMemory) {
    // Without a settings file there is no register to follow the file: the file keeps its
    // name (and content), and the list's next save writes the file of its new name.
    const int i = AddSavedList("Old");
    const std::string oldText = ReadFileText(ListPath("Old"));
    std::filesystem::remove(SettingsFilePath(dir.Path()));
    ASSERT_TRUE(RenamePlanList(ws, dir.Path(), i, "New").ok());
    EXPECT_EQ(ws.PlanListName[i].Name, "New");
    EXPECT_EQ(ReadFileText(ListPath("Old")), oldText);
    EXPECT_FALSE(platform::FileExists(ListPath("New")));
    EXPECT_FALSE(platform::FileExists(SettingsFilePath(dir.Path())));
}

TEST_F(PlanListCommands, RenameOntoAnExistingNameNeverDestroysThatFile) {
    const int a = AddSavedList("A");
    AddSavedList("B");
    const std::string fileB = ReadFileText(ListPath("B"));
    EXPECT_EQ(RenamePlanList(ws, dir.Path(), a, "B").status, ListCommandStatus::Duplicate);
    // A file of that name that no list in memory uses is just as taken.
    dir.Write("C.lst", "[ListIndex]\nCount=1\nName1=Precious\n");
    EXPECT_EQ(RenamePlanList(ws, dir.Path(), a, "C").status, ListCommandStatus::Duplicate);
    EXPECT_EQ(ReadFileText(ListPath("B")), fileB);
    EXPECT_EQ(ReadFileText(ListPath("C")), "[ListIndex]\nCount=1\nName1=Precious\n");
    EXPECT_TRUE(platform::FileExists(ListPath("A")));
    EXPECT_EQ(ws.PlanListName[a].Name, "A");
}

TEST_F(PlanListCommands, RenameThatCannotRewriteTheRegisterChangesNothing) {
    const int i = AddSavedList("Old");
    const std::string settings = SettingsFilePath(dir.Path());
    std::filesystem::remove(settings);
    std::filesystem::create_directory(settings);  // exists, cannot be read
    const ListCommandResult renamed = RenamePlanList(ws, dir.Path(), i, "New");
    EXPECT_EQ(renamed.status, ListCommandStatus::Failed);
    EXPECT_EQ(ws.PlanListName[i].Name, "Old");
    EXPECT_TRUE(platform::FileExists(ListPath("Old")));
    EXPECT_FALSE(platform::FileExists(ListPath("New")));
}

TEST_F(PlanListCommands, SaveAndRenameThatCannotTakeTheirTurnOnTheRegisterLeaveItAsTheOtherMadeIt) {
    const int old = AddSavedList("Old");
    const std::string settings = SettingsFilePath(dir.Path());
    const std::string before = ReadFileText(settings);
    const int added = NewPlanList(ws, dir.Path(), "Added").index;
    {
        const LockHeldElsewhere other(SettingsLockPath(settings));
        const ListCommandResult saved = SavePlanList(ws, dir.Path(), added);
        EXPECT_EQ(saved.status, ListCommandStatus::Failed);
        EXPECT_NE(saved.message.find(SettingsBusyText()), std::string::npos) << saved.message;
        EXPECT_TRUE(ws.PlanListName[added].Modified) << "a later save registers it";

        const ListCommandResult renamed = RenamePlanList(ws, dir.Path(), old, "New");
        EXPECT_EQ(renamed.status, ListCommandStatus::Failed);
        EXPECT_EQ(renamed.message, SettingsBusyText());
        EXPECT_EQ(ws.PlanListName[old].Name, "Old");
        EXPECT_TRUE(platform::FileExists(ListPath("Old")));
        EXPECT_FALSE(platform::FileExists(ListPath("New")));
    }
    EXPECT_EQ(ReadFileText(settings), before);

    // In their turn both are made.
    ASSERT_TRUE(SavePlanList(ws, dir.Path(), added).ok());
    ASSERT_TRUE(RenamePlanList(ws, dir.Path(), old, "New").ok());
    EXPECT_EQ(Register(), (std::vector<std::string>{"New", "Added"}));
}

TEST_F(PlanListCommands, ARenameStepRefusedItsTurnLeavesARegisterTheNextStartReadsRight) {
    AddSavedList("Old");
    const std::string lock = SettingsLockPath(SettingsFilePath(dir.Path()));
    {
        // A refused first step: nothing registered, and nothing for the later steps to undo.
        PlanListRegisterRename rename(dir.Path(), "Old", "New");
        {
            const LockHeldElsewhere other(lock);
            const platform::WriteResult begun = rename.Begin();
            EXPECT_FALSE(begun.ok);
            EXPECT_EQ(begun.message, SettingsBusyText());
        }
        EXPECT_TRUE(rename.Finish().ok);
        EXPECT_TRUE(rename.Undo().ok);
        EXPECT_EQ(Register(), std::vector<std::string>{"Old"});
    }
    // A refused last step, after the file took its new name: both names stay registered, and
    // the next start keeps the one that names the file.
    PlanListRegisterRename rename(dir.Path(), "Old", "New");
    ASSERT_TRUE(rename.Begin().ok);
    std::filesystem::rename(ListPath("Old"), ListPath("New"));
    {
        const LockHeldElsewhere other(lock);
        const platform::WriteResult finished = rename.Finish();
        EXPECT_FALSE(finished.ok);
        EXPECT_EQ(finished.message, SettingsBusyText());
    }
    EXPECT_EQ(Register(), (std::vector<std::string>{"Old", "New"}));
    Workspace next;
    LoadSettingsAndPlanLists(next, dir.Path());
    ASSERT_EQ(next.PlanListNameCount(), 1);
    EXPECT_EQ(next.PlanListName[0].Name, "New");
    EXPECT_EQ(Register(), std::vector<std::string>{"New"});
}

TEST_F(PlanListCommands, DeleteTrashesTheFileAndKeepsPlanLinksTrue) {
    AddSavedList("A");
    const int b = AddSavedList("B");
    AddSavedList("C");
    ws.PDataset.resize(3);
    ws.PDataset[0].PlanListIndex = 0;
    ws.PDataset[1].PlanListIndex = b;
    ws.PDataset[2].PlanListIndex = 2;
    ws.Pending.PlanListIndex = 2;
    ASSERT_TRUE(DeletePlanList(ws, dir.Path(), b).ok());
    EXPECT_EQ(ws.Pending.PlanListIndex, 1);
    EXPECT_FALSE(platform::FileExists(ListPath("B")));
    EXPECT_TRUE(platform::FileExists(TrashedFile("B.lst")));
    ASSERT_EQ(ws.PlanListNameCount(), 2);
    EXPECT_EQ(ws.PDataset[0].PlanListIndex, 0);
    EXPECT_EQ(ws.PDataset[1].PlanListIndex, -1);
    EXPECT_EQ(ws.PDataset[2].PlanListIndex, 1);
    EXPECT_EQ(ws.PlanListName[ws.PDataset[2].PlanListIndex].Name, "C");
    // A list never saved has no file: only memory changes.
    const int d = NewPlanList(ws, dir.Path(), "D").index;
    EXPECT_TRUE(DeletePlanList(ws, dir.Path(), d).ok());
    EXPECT_EQ(DeletePlanList(ws, dir.Path(), 7).status, ListCommandStatus::NothingToDo);
}

TEST_F(PlanListCommands, LockSavesAtOnceUnlockOnlyMarksModified) {
    const int i = NewPlanList(ws, dir.Path(), "P").index;
    ASSERT_TRUE(TogglePlanListLock(ws, dir.Path(), i).ok());
    EXPECT_TRUE(ws.PlanListName[i].Lock);
    EXPECT_FALSE(ws.PlanListName[i].Modified);
    platform::IniFile file(ListPath("P"));
    file.Load();
    EXPECT_TRUE(file.ReadBool("ListIndex", "Lock", false));
    EXPECT_EQ(Register(), std::vector<std::string>{"P"});
    const std::string locked = ReadFileText(ListPath("P"));

    ASSERT_TRUE(TogglePlanListLock(ws, dir.Path(), i).ok());
    EXPECT_FALSE(ws.PlanListName[i].Lock);
    EXPECT_TRUE(ws.PlanListName[i].Modified);
    EXPECT_EQ(ReadFileText(ListPath("P")), locked);  // unlocking writes nothing

    // A lock whose save fails is taken back: memory never claims a lock the file lacks.
    ws.PlanListName[i].Unreadable = true;
    EXPECT_EQ(TogglePlanListLock(ws, dir.Path(), i).status, ListCommandStatus::Failed);
    EXPECT_FALSE(ws.PlanListName[i].Lock);
}

TEST_F(PlanListCommands, ImportNamesAfterTheFileAndNeverTakesAnExistingName) {
    TempFolder elsewhere;
    const std::string head = elsewhere.Write("Head.lst",
        "[ListIndex]\nCount=2\nLock=1\nName1=PTV\nItems1=16\nItemsCI1=6\nValueCI1=42.5\n"
        "Name2=Cord\nItems2=11\n[SNameDB]\nCount=1\nName1=Cord\n");
    std::vector<std::string> names;
    for (int k = 0; k < 3; ++k) {
        const ListCommandResult imported = ImportPlanList(ws, dir.Path(), head);
        ASSERT_TRUE(imported.ok());
        names.push_back(ws.PlanListName[imported.index].Name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Head", "Head1", "Head2"}));
    const PlanListNameClass& list = ws.PlanListName[0];
    EXPECT_TRUE(list.Modified);
    EXPECT_TRUE(list.Lock);
    EXPECT_EQ(list.SNameDB, std::vector<std::string>{"Cord"});
    EXPECT_EQ(list.IndexData[0].ItemsCI, 6);
    EXPECT_EQ(list.IndexData[0].ValueCI, 42.5f);

    // Head1.lst while Head and Head1 exist gives Head11; a file in the program folder counts.
    const std::string head1 = elsewhere.Write("Head1.lst", "[ListIndex]\nCount=1\nName1=X\n");
    dir.Write("Head11.lst", "[ListIndex]\nCount=0\n");
    const ListCommandResult again = ImportPlanList(ws, dir.Path(), head1);
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(ws.PlanListName[again.index].Name, "Head12");

    // Saving the import writes the conformity-index fields back unchanged.
    ASSERT_TRUE(SavePlanList(ws, dir.Path(), 0).ok());
    EXPECT_EQ(LoadPlanListFile(ListPath("Head"), "Head").list.IndexData[0].ValueCI, 42.5f);

    // A file that cannot be read is refused rather than imported as an empty list.
    std::filesystem::create_directory(elsewhere.File("Dir.lst"));
    EXPECT_EQ(ImportPlanList(ws, dir.Path(), elsewhere.File("Dir.lst")).status,
              ListCommandStatus::Failed);
    EXPECT_EQ(ImportPlanList(ws, dir.Path(), elsewhere.File("None.lst")).status,
              ListCommandStatus::Failed);
    EXPECT_EQ(ws.PlanListNameCount(), 4);
}

TEST_F(PlanListCommands, ExportCopiesTheSavedFileWritableAndNeverOverwrites) {
    TempFolder out;
    NewPlanList(ws, dir.Path(), "Draft");
    EXPECT_EQ(ExportPlanList(dir.Path(), "Draft", out.File("Draft.lst")).status,
              ListCommandStatus::NothingToDo);
    EXPECT_FALSE(platform::FileExists(out.File("Draft.lst")));

    AddSavedList("Head");
    ASSERT_TRUE(ExportPlanList(dir.Path(), "Head", out.File("Head.lst")).ok());
    EXPECT_EQ(ReadFileText(out.File("Head.lst")), ReadFileText(ListPath("Head")));
    EXPECT_FALSE(platform::IsReadOnly(out.File("Head.lst")));

    out.Write("Taken.lst", "mine");
    const ListCommandResult refused = ExportPlanList(dir.Path(), "Head", out.File("Taken.lst"));
    EXPECT_EQ(refused.status, ListCommandStatus::Failed);
    EXPECT_FALSE(refused.message.empty());
    EXPECT_EQ(out.Read("Taken.lst"), "mine");
}

TEST_F(PlanListCommands, ClearingTheNameStoreTouchesOnlyThatSectionOfTheFile) {
    const int i = AddSavedList("Head");
    UpdatePlanListFile(ListPath("Head"), [](platform::IniFile& ini) {
        ini.WriteInteger("SNameDB", "Count", 1);
        ini.WriteString("SNameDB", "Name1", "Cord");
    });
    ws.PlanListName[i].SNameDB = {"Cord"};
    ASSERT_TRUE(ClearStructureNameList(dir.Path(), "Head").ok());
    platform::IniFile file(ListPath("Head"));
    file.Load();
    EXPECT_FALSE(file.SectionExists("SNameDB"));
    EXPECT_EQ(file.ReadString("ListIndex", "Name1", ""), "PTV");
    EXPECT_TRUE(platform::IsReadOnly(ListPath("Head")));
    EXPECT_EQ(ws.PlanListName[i].SNameDB.size(), 1u);  // memory keeps it until the next start
    EXPECT_EQ(ClearStructureNameList(dir.Path(), "None").status, ListCommandStatus::NothingToDo);
}

TEST_F(PlanListCommands, ModifiedListsAreOfferedInListOrder) {
    AddSavedList("A");
    NewPlanList(ws, dir.Path(), "B");
    AddSavedList("C");
    ImportPlanList(ws, dir.Path(), ListPath("A"));  // "A1", modified
    EXPECT_EQ(ModifiedPlanLists(ws), (std::vector<int>{1, 3}));
}

TEST_F(PlanListCommands, ProtocolBuiltFromNothingSurvivesARestartExactly) {
    const int i = NewPlanList(ws, dir.Path(), "Prostate").index;
    PlanListNameClass& list = ws.PlanListName[i];
    for (int kind = 0; kind <= 16; ++kind) {
        IndexDataClass& row = list.IndexData[kind];
        row.Name = kind < 8 ? "Rectum" : "PTV";
        row.Items = kind;
        row.Value = 0.1f * static_cast<float>(kind + 1);
        row.ConstraintsON = kind % 2 == 0;
        row.Constraints = kind % 3 == 0 ? -50.25f : 70.5f;
        row.ItemsCI = kind == 16 ? 7 : -1;
        row.ValueCI = kind == 16 ? 95 : 0;
        row.ConstraintFontColorG = static_cast<unsigned char>(kind * 15);
    }
    list.StructureDB.push_back({"PTV", true, 255, 0, 0, true});
    ASSERT_TRUE(SavePlanList(ws, dir.Path(), i).ok());

    // Quit and start again: the start-up loading finds it through the register.
    Workspace restarted;
    LoadSettingsAndPlanLists(restarted, dir.Path());
    ASSERT_EQ(restarted.PlanListNameCount(), 1);
    const PlanListNameClass& back = restarted.PlanListName[0];
    EXPECT_EQ(back.Name, "Prostate");
    EXPECT_FALSE(back.Modified);
    ASSERT_EQ(back.IndexDataCount(), 17);  // the three trailing empty rows are dropped
    for (int r = 0; r < 17; ++r) {
        EXPECT_EQ(back.IndexData[r].Name, list.IndexData[r].Name) << r;
        EXPECT_EQ(back.IndexData[r].Value, list.IndexData[r].Value) << r;
        EXPECT_EQ(back.IndexData[r].Constraints, list.IndexData[r].Constraints) << r;
        EXPECT_EQ(back.IndexData[r].ConstraintsON, list.IndexData[r].ConstraintsON) << r;
        EXPECT_EQ(back.IndexData[r].ConstraintFontColorG,
                  list.IndexData[r].ConstraintFontColorG) << r;
    }
    EXPECT_EQ(back.IndexData[16].ItemsCI, 7);
    EXPECT_EQ(back.StructureDB.at(0).Name, "PTV");

    // Exported and imported again, it comes back under another name with the same rows.
    TempFolder out;
    ASSERT_TRUE(ExportPlanList(dir.Path(), "Prostate", out.File("Prostate.lst")).ok());
    const ListCommandResult imported = ImportPlanList(restarted, dir.Path(), out.File("Prostate.lst"));
    ASSERT_TRUE(imported.ok());
    const PlanListNameClass& again = restarted.PlanListName[imported.index];
    EXPECT_EQ(again.Name, "Prostate1");
    ASSERT_EQ(again.IndexDataCount(), 17);
    EXPECT_EQ(again.IndexData[16].ValueCI, 95.0f);
    EXPECT_TRUE(again.Modified);
}

TEST_F(PlanListCommands, NamesWithEdgeBlanksOrQuotesSurviveARestart) {
    // Ini readers trim values and drop one pair of quotes: the writers must keep such names
    // readable, or the register would name a file that is not there and drop the list.
    const std::vector<std::string> names = {" Head", "Neck ", " "};
    for (const std::string& name : names) {
        const int i = NewPlanList(ws, dir.Path(), name).index;
        ASSERT_GE(i, 0) << name;
        ws.PlanListName[i].IndexData[0].Name = "\"" + name + "PTV\"";
        ws.PlanListName[i].StructureDB.push_back({" Cord", true, 1, 2, 3, true});
        ASSERT_TRUE(SavePlanList(ws, dir.Path(), i).ok()) << name;
    }
    Workspace restarted;
    LoadSettingsAndPlanLists(restarted, dir.Path());
    ASSERT_EQ(restarted.PlanListNameCount(), static_cast<int>(names.size()));
    for (std::size_t k = 0; k < names.size(); ++k) {
        EXPECT_EQ(restarted.PlanListName[k].Name, names[k]);
        EXPECT_EQ(restarted.PlanListName[k].IndexData.at(0).Name, "\"" + names[k] + "PTV\"");
        EXPECT_EQ(restarted.PlanListName[k].StructureDB.at(0).Name, " Cord");
    }
    EXPECT_EQ(Register(), names);
}

TEST_F(PlanListCommands, SavingARegisteredListLeavesTheSettingsFileUntouched) {
    // The register is written only when the list is not in it yet: a settings file that cannot
    // be written now must not turn every later save of a registered list into a failure.
    const int i = AddSavedList("Head");
    const std::string settings = SettingsFilePath(dir.Path());
    UpdateSettingsFile(settings, [](platform::IniFile& ini) {
        ini.WriteString("Notes", "Text", std::string(4000, 'x'));
    });
    const std::string before = ReadFileText(settings);
    ws.PlanListName[i].IndexData[1].Name = "Rectum";
    ws.PlanListName[i].Modified = true;
    ListCommandResult saved;
    {
        FileSizeLimit disk(2000);  // the list fits, the settings file does not
        saved = SavePlanList(ws, dir.Path(), i);
    }
    EXPECT_TRUE(saved.ok()) << saved.message;
    EXPECT_FALSE(ws.PlanListName[i].Modified);
    EXPECT_EQ(ReadFileText(settings), before);
}

TEST_F(PlanListCommands, RenamingAnUnregisteredListLeavesTheSettingsFileUntouched) {
    AddSavedList("Head");  // makes the settings file
    const std::string settings = SettingsFilePath(dir.Path());
    UpdateSettingsFile(settings, [](platform::IniFile& ini) {
        ini.WriteString("Notes", "Text", std::string(4000, 'x'));
    });
    const std::string before = ReadFileText(settings);
    const int draft = NewPlanList(ws, dir.Path(), "Draft").index;
    ListCommandResult renamed;
    {
        FileSizeLimit disk(2000);  // the settings file cannot be rewritten now
        renamed = RenamePlanList(ws, dir.Path(), draft, "Pelvis");
    }
    EXPECT_TRUE(renamed.ok()) << renamed.message;
    EXPECT_EQ(ws.PlanListName[draft].Name, "Pelvis");
    EXPECT_EQ(ReadFileText(settings), before);
}
