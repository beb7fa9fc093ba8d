// Save DVH: the questions, the store's files for tables and copies, overwriting, failures that
// leave the store as it was, and a saved plan opened again from the store.
#include "SaveDvhFixture.h"

#include "dvh/Workspace.h"
#include "import/BrainLabTable.h"
#include "import/ImportHandOver.h"
#include "import/ClipboardPlan.h"
#include "import/SavedDvhStore.h"
#include "dvh/FileNames.h"
#include "dvh/StoreEntry.h"
#include "platform/AtomicWrite.h"
#include "platform/FileLock.h"
#include "platform/OpenedFile.h"
#include "platform/PermissionNeeded.h"

#include "../dvh/TestSupport.h"
#include "../support/KilledAt.h"
#include "../support/LockHeldElsewhere.h"
#include "../support/OtherUser.h"
#include "../support/ReplacedNew.h"
#include "../support/RewrittenAt.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <grp.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace dvhtest;
using namespace savetest;

TEST_F(SaveDvhTest, NothingIsWrittenWithoutFolderListOrStructures) {
    ws.SaveFolder.clear();
    dialogs.answers = {false, true};
    SaveDvh(ws, "Head", true, dialogs);  // Cancel
    SaveDvh(ws, "Head", true, dialogs);  // OK: the settings on their "Directories" page
    EXPECT_EQ(dialogs.asked.size(), 2u);
    EXPECT_EQ(dialogs.settingsShown, 1);

    ws.SaveFolder = store;
    SaveDvh(ws, "", false, dialogs);  // no list chosen: silent
    ws.PDataset[0].DVHDataset.clear();
    SaveDvh(ws, "Head", true, dialogs);
    EXPECT_EQ(dialogs.errors, std::vector<std::string>{"The plan has no structures to save."});
    EXPECT_EQ(dialogs.asked.size(), 2u);
    EXPECT_TRUE(dialogs.information.empty());
    EXPECT_TRUE(fs::is_empty(store));
}

TEST_F(SaveDvhTest, TableAndCompanionThenOverwriteOnlyWhenAsked) {
    SaveDvh(ws, "Head", true, dialogs);
    ASSERT_EQ(dialogs.information.size(), 1u);
    EXPECT_EQ(dialogs.information[0], "FILESAVE COMPLETED\n  12\n  Doe\n  H1\nSave Folder : Head");
    EXPECT_EQ(Read(TextFile()), BrainLabTableText(ws.PDataset[0]));
    EXPECT_EQ(Read(ModFile()), "Patient Name\tDoe\r\nPatient ID\t12\r\nPlan Name\tHead\r\nPlan ID\tH1\r\n"
                               "Prescribed dose [cGy]\t4567.8\r\n0\t\r\n1\tBS\r\n2\t\r\n");

    // Again: Cancel keeps both files byte for byte; OK replaces them.
    const std::string firstText = Read(TextFile()), firstMod = Read(ModFile());
    ws.PDataset[0].DVHDataset[0].ModifiedName = "Target";
    ws.PDataset[0].DVHDataset[0].Volume = 11;
    dialogs.answers = {false};
    SaveDvh(ws, "Head", true, dialogs);
    EXPECT_EQ(dialogs.asked, std::vector<std::string>{"This Plan data already saved.\n Overwrite?"});
    EXPECT_EQ(Read(TextFile()), firstText);
    EXPECT_EQ(Read(ModFile()), firstMod);
    dialogs.answers = {true};
    SaveDvh(ws, "Head", true, dialogs);
    EXPECT_NE(Read(TextFile()).find("\t11.000\t"), std::string::npos);
    EXPECT_NE(Read(ModFile()).find("0\tTarget\r\n"), std::string::npos);
    EXPECT_EQ(dialogs.information.size(), 2u);
}

TEST_F(SaveDvhTest, CopiesOtherExportsAndKeepsAStoreFileThatIsTheSource) {
    TempFolder source("save-source");
    const std::string exportText = "Patient Name: any bytes\r\n\x01\xff stay as they are";
    PDatasetClass& plan = ws.PDataset[0];
    plan.FileType = FileTypePlan;
    plan.PatientID = "a/b:c";  // not a folder, not a drive: "_" in the file name only
    ReadFrom(plan, source.Write("export.txt", exportText));
    SaveDvh(ws, "Head", true, dialogs);
    const std::string copied = store + "/Head/a_b_c_H1.txt";
    EXPECT_EQ(Read(copied), exportText);
    EXPECT_NE(Read(store + "/Head/a_b_c_H1.mod").find("Patient ID\ta/b:c\r\n"), std::string::npos);

    // The plan now read from the store is saved onto its own file: the file stays, the
    // companion is written again.
    ReadFrom(plan, copied);
    plan.DVHDataset[2].ModifiedName = "Skin";
    dialogs.answers = {true};
    SaveDvh(ws, "Head", true, dialogs);
    EXPECT_EQ(Read(copied), exportText);
    EXPECT_NE(Read(store + "/Head/a_b_c_H1.mod").find("2\tSkin\r\n"), std::string::npos);
    EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(SaveDvhTest, AStoreExportIsKeptOnlyWhileItIsTheOneThePlanWasReadFrom) {
    // Instance 2 saves an export into the store; instance 1 opens it from there.
    TempFolder source("save-source");
    const std::string head = Read(std::string(TESSARAY_TEST_DATA) + "/opening/head_H1.txt");
    PDatasetClass& plan = ws.PDataset[0];
    plan.FileType = FileTypePlan;
    ReadFrom(plan, source.Write("first.txt", head));
    plan.DVHDataset.resize(2);
    SaveDvh(ws, "Head", true, dialogs);
    Workspace one;
    ASSERT_NO_FATAL_FAILURE(OpenExportFromStore(one));

    // Instance 2 saves another export of the same plan over it, with the same structures.
    std::string second = head;
    second.replace(second.find("Volume [cm^3]        : 80.0"), 27, "Volume [cm^3]        : 81.0");
    ReadFrom(plan, source.Write("second.txt", second));
    plan.DVHDataset[0].ModifiedName = "Two";
    dialogs.answers = {true};
    SaveDvh(ws, "Head", true, dialogs);
    const std::string secondModFile = Read(ModFile());
    ASSERT_EQ(Read(TextFile()), second);

    // Instance 1 saves its plan: its export is no longer the store's, so nothing is written.
    one.PDataset[0].DVHDataset[0].ModifiedName = "One";
    dialogs.answers = {true};
    SaveDvh(one, "Head", true, dialogs);
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0], RefusedAsChanged("12_H1.txt"));
    EXPECT_EQ(dialogs.information.size(), 2u);
    EXPECT_EQ(Read(TextFile()), second);
    EXPECT_EQ(Read(ModFile()), secondModFile);

    // Opened again, its save keeps the export and writes its companion, in its turn: while
    // another holds the entry's lock it writes nothing either.
    Workspace again;
    ASSERT_NO_FATAL_FAILURE(OpenExportFromStore(again));
    EXPECT_EQ(again.PDataset[0].DVHDataset[0].ModifiedName, "Two");
    again.PDataset[0].DVHDataset[0].ModifiedName = "Again";
    {
        const int held = ::open(StoreCommitOf(TextFile()).Lock.c_str(), O_RDWR | O_CLOEXEC);
        ASSERT_EQ(::flock(held, LOCK_EX), 0);
        platform::SetLockWaitLimit(std::chrono::milliseconds(20));
        dialogs.answers = {true};
        SaveDvh(again, "Head", true, dialogs);
        platform::SetLockWaitLimit(std::chrono::seconds(5));
        ::close(held);
        ASSERT_EQ(dialogs.errors.size(), 2u);
        EXPECT_EQ(dialogs.errors[1], "An error occurred while saving data.\nAnother save of 12_H1.txt is under way; "
                                     "nothing was written.");
        EXPECT_EQ(Read(ModFile()), secondModFile);
    }
    dialogs.answers = {true};
    SaveDvh(again, "Head", true, dialogs);
    EXPECT_EQ(dialogs.errors.size(), 2u);
    EXPECT_EQ(Read(TextFile()), second);
    EXPECT_NE(Read(ModFile()).find("0\tAgain\r\n"), std::string::npos);
}

TEST_F(SaveDvhTest, AReloadAfterARefusedSaveShowsThePlanNowSavedAndSavesItsNames) {
    // Instance 2 saves a plan into the store; instance 1 opens it from there.
    SaveHeadExport("ProstateVMAT", "80.0", "VMAT target");
    Workspace one;
    ASSERT_NO_FATAL_FAILURE(OpenExportFromStore(one));
    ASSERT_EQ(one.PDataset[0].PlanName, "ProstateVMAT");

    // Instance 2 saves another plan with the same IDs as that entry; instance 1's save is
    // refused and says how to go on.
    SaveHeadExport("ProstateIMRT", "81.0", "IMRT target");
    const std::string imrtText = Read(TextFile());
    dialogs.answers = {true};
    SaveDvh(one, "Head", true, dialogs);
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_NE(dialogs.errors[0].find("12_H1.txt changed since the plan was read; nothing was written. Press Reload"),
              std::string::npos)
        << dialogs.errors[0];

    // Reload shows the plan the entry holds now, names, curves and aliases of one save, and
    // the listed entry says so too.
    ASSERT_EQ(one.BeginReload(one.PDataset[0].Key).Step, LoadStep::Read);
    ASSERT_EQ(one.ReadPendingPlan(), 0);
    one.FinishPendingLoad();
    ASSERT_EQ(one.PDatasetCount(), 1);
    const PDatasetClass& reloaded = one.PDataset[0];
    EXPECT_EQ(reloaded.PlanName, "ProstateIMRT");
    EXPECT_FLOAT_EQ(reloaded.DVHDataset[0].Volume, 81.0f);
    EXPECT_EQ(reloaded.DVHDataset[0].ModifiedName, "IMRT target");
    EXPECT_EQ(one.OpenFile.at(0).PlanName, "ProstateIMRT");

    // Its save now goes ahead and stores names that belong to the export beside them.
    one.PDataset[0].DVHDataset[1].ModifiedName = "Rectum";
    dialogs.answers = {true};
    SaveDvh(one, "Head", true, dialogs);
    EXPECT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(Read(TextFile()), imrtText);
    const std::string mod = Read(ModFile());
    EXPECT_NE(mod.find("Plan Name\tProstateIMRT\r\n"), std::string::npos) << mod;
    EXPECT_NE(mod.find("1\tRectum\r\n"), std::string::npos) << mod;
}

TEST_F(SaveDvhTest, AnotherUsersEditOfTheCompanionIsNeverSavedOverUnseen) {
    const std::string refused = RefusedAsChanged("12_H1.mod");
    // What the second user changes in Plan Information, or in the structure names, before saving.
    const std::pair<const char*, void (*)(PDatasetClass&)> edits[] = {
        {"plan name", [](PDatasetClass& plan) { plan.PlanName = "Renamed"; }},
        {"alias", [](PDatasetClass& plan) { plan.DVHDataset[1].ModifiedName = "Bladder"; }},
    };
    for (const auto& [what, edit] : edits) {
        SCOPED_TRACE(what);
        fs::remove_all(store + "/Head");
        SaveHeadExport("ProstateVMAT", "80.0", "VMAT target");
        const std::string text = Read(TextFile());
        // The first user loads the entry, then another plan after it; the second opens the
        // entry later, edits it and saves: only the companion is written.
        Workspace first, second;
        ASSERT_NO_FATAL_FAILURE(OpenExportFromStore(first));
        ASSERT_EQ(first.LoadDvhFileHeadless(std::string(TESSARAY_TEST_DATA) + "/opening/prostate_P2.txt", 0), 1);
        ASSERT_NO_FATAL_FAILURE(OpenExportFromStore(second));
        edit(second.PDataset[0]);
        ScriptedDialogs firstSays;
        ASSERT_NO_FATAL_FAILURE(SaveWithOk(second));
        const std::string edited = Read(ModFile());
        ASSERT_EQ(Read(TextFile()), text);

        // The first user's save is refused before the question, and again should the companion
        // change while it waits for the answer; nothing of the second user's is lost.
        firstSays.answers = {true};
        SaveDvh(first, "Head", true, firstSays);
        EXPECT_EQ(firstSays.errors, std::vector<std::string>{refused});
        EXPECT_TRUE(firstSays.asked.empty());
        EXPECT_TRUE(firstSays.information.empty());
        EXPECT_EQ(Read(ModFile()), edited);
        EXPECT_EQ(Read(TextFile()), text);

        // Reload reads the pair as it is now; the first user's saves then keep what the second
        // saved and add their own, twice in a row.
        ASSERT_EQ(first.BeginReload(first.PDataset[0].Key).Step, LoadStep::Read);
        ASSERT_EQ(first.ReadPendingPlan(), 0);
        first.FinishPendingLoad();
        PDatasetClass expected = second.PDataset[0];
        EXPECT_EQ(first.PDataset[0].PlanName, expected.PlanName);
        EXPECT_EQ(Names(first.PDataset[0]), Names(expected));
        for (const char* alias : {"Target", "PTV 1"}) {
            first.PDataset[0].DVHDataset[0].ModifiedName = alias;
            expected.DVHDataset[0].ModifiedName = alias;
            firstSays.answers = {true};
            SaveDvh(first, "Head", true, firstSays);
            EXPECT_EQ(firstSays.errors.size(), 1u);
            EXPECT_EQ(Read(ModFile()), ModFileText(expected));
        }
        EXPECT_EQ(firstSays.information.size(), 2u);
        EXPECT_EQ(Read(TextFile()), text);

        // The plan that made the entry is the entry's plan since its save, and is refused as
        // the first user's was: its "Overwrite?", asked at each of its saves, says nothing of
        // the edits of others.
        const std::size_t asked = dialogs.asked.size();
        dialogs.answers = {true};
        SaveDvh(ws, "Head", true, dialogs);
        EXPECT_EQ(dialogs.errors, std::vector<std::string>{refused});
        EXPECT_EQ(dialogs.asked.size(), asked);
        EXPECT_EQ(Read(ModFile()), ModFileText(expected));

        // A plan read from another file and saved over the entry after "Overwrite?" replaces
        // both, whatever the entry's companion holds: the user chose to.
        dialogs.errors.clear();
        ReadFrom(ws.PDataset[0], m_sources.Write("other.txt", text));
        dialogs.answers = {true};
        SaveDvh(ws, "Head", true, dialogs);
        EXPECT_EQ(dialogs.asked.back(), "This Plan data already saved.\n Overwrite?");
        EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors[0];
        EXPECT_EQ(Read(ModFile()), ModFileText(ws.PDataset[0]));
    }
}

TEST_F(SaveDvhTest, ThePlanThatSavedAnEntryKeepsItAsItsOwnAndReloadsFromIt) {
    // One user opens an export and saves it, a new entry; a colleague opens the entry from the
    // store, renames the plan and saves.
    const std::string source =
        m_sources.Write("head.txt", Read(std::string(TESSARAY_TEST_DATA) + "/opening/head_H1.txt"));
    const std::string entry = store + "/Head/111_H1.txt";
    Workspace first, second;
    first.SaveFolder = store;
    first.PlanListName.emplace_back().Name = "Head";
    ASSERT_EQ(first.TakeFiles({source}, false).Accepted, 1);
    ASSERT_EQ(first.BeginLoadByKey(first.OpenFile.at(0).Key).Step, LoadStep::Read);
    ASSERT_EQ(first.ReadPendingPlan(), 0);
    first.FinishPendingLoad();
    first.CurrentPlanIndex = 0;
    ScriptedDialogs firstSays;
    SaveDvh(first, "Head", true, firstSays);
    ASSERT_TRUE(firstSays.errors.empty()) << firstSays.errors[0];
    ASSERT_NO_FATAL_FAILURE(OpenExportFromStore(second, entry));
    second.PDataset[0].PlanName = "Renamed";
    second.PDataset[0].DVHDataset[0].ModifiedName = "Target";
    ASSERT_NO_FATAL_FAILURE(SaveWithOk(second));
    const std::string edited = Read(ChangeFileExt(entry, ".mod"));

    // The first user's next save is refused before its question; the colleague's edit stays.
    firstSays.answers = {true};
    SaveDvh(first, "Head", true, firstSays);
    EXPECT_EQ(firstSays.errors, std::vector<std::string>{RefusedAsChanged("111_H1.mod")});
    EXPECT_TRUE(firstSays.asked.empty());
    EXPECT_EQ(Read(ChangeFileExt(entry, ".mod")), edited);

    // Reload reads the entry as it is now, not the export the plan was first read from; the
    // saves after it keep the colleague's names.
    ASSERT_EQ(first.BeginReload(first.PDataset[0].Key, 0).Step, LoadStep::Read);
    ASSERT_EQ(first.ReadPendingPlan(), 0);
    first.FinishPendingLoad();
    EXPECT_EQ(first.PDataset[0].FilePath, entry);
    EXPECT_EQ(first.PDataset[0].PlanName, "Renamed");
    EXPECT_EQ(Names(first.PDataset[0]), Names(second.PDataset[0]));
    first.PDataset[0].DVHDataset[1].ModifiedName = "Brainstem";
    firstSays.answers = {true};
    SaveDvh(first, "Head", true, firstSays);
    EXPECT_EQ(firstSays.errors.size(), 1u);
    const std::string mod = Read(ChangeFileExt(entry, ".mod"));
    EXPECT_NE(mod.find("Plan Name\tRenamed\r\n"), std::string::npos) << mod;
    EXPECT_NE(mod.find("0\tTarget\r\n1\tBrainstem\r\n"), std::string::npos) << mod;
}

TEST_F(SaveDvhTest, AReloadAfterARefusedSaveReadsTheEntryAlsoWhereTheListNamesTheExportItWasSavedFrom) {
    // The export the entry was saved from is listed, as the scan of the export folder lists it,
    // and the plan is opened from the store: the list keeps one row of the key, the export's.
    SaveHeadExport("ProstateVMAT", "80.0", "VMAT target");
    const std::string source = m_sources.Path() + "/ProstateVMAT.txt";
    Workspace first, second;
    first.TakeFiles({source}, false);
    ASSERT_NO_FATAL_FAILURE(OpenExportFromStore(first));
    ASSERT_EQ(first.OpenFile.at(0).FilePath, source);
    ASSERT_NO_FATAL_FAILURE(OpenExportFromStore(second));
    second.PDataset[0].DVHDataset[1].ModifiedName = "Bladder";
    ScriptedDialogs firstSays;
    ASSERT_NO_FATAL_FAILURE(SaveWithOk(second));
    firstSays.answers = {true};
    SaveDvh(first, "Head", true, firstSays);
    ASSERT_EQ(firstSays.errors.size(), 1u);

    // Reload, as the refusal says, reads the entry the plan came from, not the listed export
    // without the second user's names; the save after it keeps them.
    ASSERT_EQ(first.BeginReload(first.PDataset[0].Key, 0).Step, LoadStep::Read);
    ASSERT_EQ(first.ReadPendingPlan(), 0);
    first.FinishPendingLoad();
    EXPECT_EQ(first.PDataset[0].FilePath, TextFile());
    EXPECT_EQ(Names(first.PDataset[0]), Names(second.PDataset[0]));
    first.PDataset[0].DVHDataset[0].ModifiedName = "Target";
    firstSays.answers = {true};
    SaveDvh(first, "Head", true, firstSays);
    EXPECT_EQ(firstSays.errors.size(), 1u);
    const std::string mod = Read(ModFile());
    EXPECT_NE(mod.find("1\tBladder\r\n"), std::string::npos) << mod;
    EXPECT_NE(mod.find("0\tTarget\r\n"), std::string::npos) << mod;
    EXPECT_EQ(first.OpenFile.at(0).FilePath, source);
}

TEST_F(SaveDvhTest, ACompanionThatCameWhereTheReadFoundNoneIsNotSavedOver) {
    // An entry without a companion, whose export names the patient as the entry does.
    SaveHeadExport("ProstateVMAT", "80.0", "VMAT target");
    fs::remove(ModFile());
    std::string text = Read(TextFile());
    text.replace(text.find("Patient ID           : 111"), 26, "Patient ID           : 12");
    ASSERT_TRUE(platform::AtomicWriteFile(TextFile(), text));
    Workspace first, second;
    ASSERT_NO_FATAL_FAILURE(OpenExportFromStore(first));
    ASSERT_NO_FATAL_FAILURE(OpenExportFromStore(second));
    second.PDataset[0].DVHDataset[1].ModifiedName = "Bladder";
    ScriptedDialogs firstSays;
    ASSERT_NO_FATAL_FAILURE(SaveWithOk(second));
    const std::string added = Read(ModFile());

    firstSays.answers = {true};
    SaveDvh(first, "Head", true, firstSays);
    ASSERT_EQ(firstSays.errors.size(), 1u);
    EXPECT_NE(firstSays.errors[0].find("12_H1.mod changed since the plan was read; nothing was written."),
              std::string::npos)
        << firstSays.errors[0];
    EXPECT_EQ(Read(ModFile()), added);

    // Shown again from the store, the plan takes that companion's names and may then save over it.
    const DvhHeader h = RecogniseDvhHeaderFile(TextFile());
    ASSERT_EQ(first.BeginLoadFromStore(TextFile(), h.FileType, h.fields, "Head", nullptr).Step, LoadStep::ShowExisting);
    EXPECT_EQ(first.PDataset[0].DVHDataset[1].ModifiedName, "Bladder");
    first.PDataset[0].DVHDataset[0].ModifiedName = "Target";
    firstSays.answers = {true};
    SaveDvh(first, "Head", true, firstSays);
    EXPECT_EQ(firstSays.errors.size(), 1u);
    EXPECT_EQ(Read(ModFile()), ModFileText(first.PDataset[0]));
}

TEST_F(SaveDvhTest, ACompanionTheOpenCouldNotReadIsNotSavedOverAndTheRefusalSaysWhy) {
    // An entry whose export names the patient as the entry does, so that its plan saves back into it.
    SaveHeadExport("ProstateVMAT", "80.0", "VMAT target");
    std::string text = Read(TextFile());
    text.replace(text.find("Patient ID           : 111"), 26, "Patient ID           : 12");
    ASSERT_TRUE(platform::AtomicWriteFile(TextFile(), text));
    const struct {
        const char* what;
        void (*make)(const std::string& path);
        const char* why;
    } cases[] = {
        {"a FIFO", [](const std::string& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); },
         "is no regular file (a pipe or a device)"},
        {"over 16 MB", [](const std::string& path) { fs::resize_file(path, (std::size_t(16) << 20) + 1); },
         "is too large (over 16 MB)"},
    };
    for (const auto& unreadable : cases) {
        SCOPED_TRACE(unreadable.what);
        if (std::string(unreadable.what) == "a FIFO") fs::remove(ModFile());
        unreadable.make(ModFile());
        std::error_code noSize;  // a FIFO has none
        const auto size = fs::file_size(ModFile(), noSize);
        Workspace reader;
        ASSERT_NO_FATAL_FAILURE(OpenExportFromStore(reader));
        ScriptedDialogs says;
        says.answers = {true};
        SaveDvh(reader, "Head", true, says);
        // Reload would read no more of it: the text says why, and sends nobody there.
        EXPECT_EQ(says.errors, std::vector<std::string>{"An error occurred while saving data.\n12_H1.mod " +
                                                        std::string(unreadable.why) +
                                                        ": the plan was opened without it, and a save never replaces "
                                                        "a companion it has not read; nothing was written."});
        EXPECT_EQ(fs::status(ModFile()).type(), std::string(unreadable.what) == "a FIFO" ? fs::file_type::fifo
                                                                                          : fs::file_type::regular);
        EXPECT_EQ(fs::file_size(ModFile(), noSize), size);
        // Once it is gone, the plan's save writes its own.
        fs::remove(ModFile());
        SaveDvh(reader, "Head", true, says);
        EXPECT_EQ(says.errors.size(), 1u);
        EXPECT_EQ(Read(ModFile()), ModFileText(reader.PDataset[0]));
    }
}

TEST_F(SaveDvhTest, ACompanionSavedWhileTheQuestionWaitsIsNotSavedOverAfterOk) {
    // The fixture's table plan, opened from its entry, and the one-plan export: the save of
    // the first writes both files, that of the second the companion alone.
    const std::pair<const char*, std::function<void()>> entries[] = {
        {"table", [this] { SaveDvh(ws, "Head", true, dialogs); }},
        {"export", [this] { SaveHeadExport("ProstateVMAT", "80.0", "VMAT target"); }},
    };
    // The first user either opened the entry, or is the one whose save made it.
    for (const auto& [kind, saveEntry] : entries) {
        for (const bool madeIt : {false, true}) {
            SCOPED_TRACE(std::string(kind) + (madeIt ? ", saved by the first user" : ", opened by the first user"));
            fs::remove_all(store + "/Head");
            saveEntry();
            const bool table = std::string(kind) == "table";
            Workspace opened, second;
            Workspace& first = madeIt ? ws : opened;
            if (table) {
                if (!madeIt) {
                    ASSERT_NO_FATAL_FAILURE(ReopenToSave(first));
                }
                ASSERT_NO_FATAL_FAILURE(ReopenToSave(second));
            } else {
                if (!madeIt) {
                    ASSERT_NO_FATAL_FAILURE(OpenExportFromStore(first));
                }
                ASSERT_NO_FATAL_FAILURE(OpenExportFromStore(second));
            }
            const std::string text = Read(TextFile());
            first.PDataset[0].DVHDataset[0].ModifiedName = "First";
            second.PDataset[0].DVHDataset[0].ModifiedName = "Second";
            // The first user's question is still open when the second user saves.
            struct SecondSavesMeanwhile : ScriptedDialogs {
                std::function<void()> meanwhile;
                void AskOkCancel(const std::string& text, const std::string& caption,
                                 std::function<void(bool)> answer) override {
                    meanwhile();
                    ScriptedDialogs::AskOkCancel(text, caption, std::move(answer));
                }
            } firstSays;
            firstSays.meanwhile = [&] {
                SaveWithOk(second);
            };
            firstSays.answers = {true};
            SaveDvh(first, "Head", true, firstSays);
            EXPECT_EQ(firstSays.errors, std::vector<std::string>{RefusedAsChanged("12_H1.mod")});
            EXPECT_EQ(Read(ModFile()), ModFileText(second.PDataset[0]));
            if (!table) {
                EXPECT_EQ(Read(TextFile()), text);
            }
        }
    }
}

TEST_F(SaveDvhTest, ATablePlanReadFromItsEntryIsNotSavedOverAnotherSavesExport) {
    // A BrainSCAN table saved, then opened from its entry; another save puts other values into
    // the entry's export and leaves the companion's bytes as they were. The table plan writes
    // its export from itself, but what it would replace is still another save's.
    SaveDvh(ws, "Head", true, dialogs);
    Workspace first;
    ASSERT_NO_FATAL_FAILURE(ReopenToSave(first));
    std::string other = Read(TextFile());
    const std::size_t digit = other.find_last_of("0123456789");
    ASSERT_NE(digit, std::string::npos);
    other[digit] = other[digit] == '9' ? '8' : static_cast<char>(other[digit] + 1);
    const std::string companion = Read(ModFile());
    ASSERT_TRUE(platform::AtomicWriteFile(TextFile(), other).ok);
    ScriptedDialogs says;
    says.answers = {true};
    SaveDvh(first, "Head", true, says);
    EXPECT_EQ(says.errors, std::vector<std::string>{RefusedAsChanged("12_H1.txt")});
    EXPECT_EQ(Read(TextFile()), other);
    EXPECT_EQ(Read(ModFile()), companion);
}

TEST_F(SaveDvhTest, ASaveWritesTheExportAsItWasReadOrNothing) {
    // A plan read from an export that is written over under its name afterwards.
    SaveHeadExport("ProstateVMAT", "80.0", "Target");
    ASSERT_EQ(dialogs.information.size(), 1u);
    // The entry the save made goes: the plan is one read from its export again.
    const std::string source = m_sources.Path() + "/ProstateVMAT.txt";
    const std::string read = Read(source), storedMod = Read(ModFile());
    fs::remove_all(store + "/Head");
    ReadFrom(ws.PDataset[0], source);

    std::string other = read;
    other.replace(other.find("ProstateVMAT - H1"), 17, "ProstateIMRT - H1");
    ASSERT_TRUE(platform::AtomicWriteFile(source, other));
    SaveDvh(ws, "Head", true, dialogs);
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0], RefusedAsChanged("ProstateVMAT.txt"));
    EXPECT_FALSE(fs::exists(TextFile()));
    EXPECT_FALSE(fs::exists(ModFile()));

    // The same bytes again, by a copy over it, a touch or a change of its permission bits: the
    // export is the one read, and the save goes ahead.
    ASSERT_TRUE(platform::AtomicWriteFile(source, read));
    ASSERT_EQ(::chmod(source.c_str(), 0640), 0);
    SaveDvh(ws, "Head", true, dialogs);
    EXPECT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(Read(TextFile()), read);
    EXPECT_EQ(Read(ModFile()), storedMod);

    // Also a plan read from the store's own export, when only the export's times moved.
    Workspace one;
    ASSERT_NO_FATAL_FAILURE(OpenExportFromStore(one));
    ASSERT_EQ(::chmod(TextFile().c_str(), 0640), 0);
    one.PDataset[0].DVHDataset[0].ModifiedName = "Moved";
    dialogs.answers = {true};
    SaveDvh(one, "Head", true, dialogs);
    EXPECT_EQ(dialogs.errors.size(), 1u);
    EXPECT_NE(Read(ModFile()).find("0\tMoved\r\n"), std::string::npos);
}

TEST_F(SaveDvhTest, AnExportChangedOnlyInItsLastByteIsNotTheOneReadAndIsNotSaved) {
    // A digest that left out the last bytes of a file would take each of these for the export
    // the plan was read from. The export of the examples (1,263 bytes, no whole number of the
    // digest's blocks), the same filled to 2,048 (whole blocks, nothing after them), each
    // loaded as File > Open loads it; a one-byte file taken as an export.
    const std::string head = Read(std::string(TESSARAY_TEST_DATA) + "/opening/head_H1.txt");
    const std::string filled = head + std::string(2048 - head.size() - 2, ' ') + "\r\n";
    const std::string refused = RefusedAsChanged("last.txt");
    const std::string entry = store + "/Head/111_H1.txt";  // the export's patient and plan
    const auto lastByteOther = [](std::string text) {
        text.back() = text.back() == 'x' ? 'y' : 'x';
        return text;
    };
    for (const std::string& text : {head, filled}) {
        SCOPED_TRACE(std::to_string(text.size()) + " bytes");
        fs::remove_all(store + "/Head");
        const std::string path = m_sources.Write("last.txt", text);
        Workspace reader;
        reader.SaveFolder = store;
        ASSERT_EQ(reader.LoadDvhFileHeadless(path, 0), 0);
        reader.CurrentPlanIndex = 0;
        EXPECT_EQ(reader.PDataset[0].ExportRead.Identity.Size, static_cast<long long>(text.size()));
        EXPECT_EQ(reader.PDataset[0].ExportRead.Digest, platform::ContentDigest(text));

        // Refused until the byte is put back: then the export read is saved.
        ASSERT_TRUE(WriteInPlace(path, lastByteOther(text)));
        ASSERT_NO_FATAL_FAILURE(ExpectRefusedUntilPutBack(reader, path, text, entry));

        // The same of the store's own export, opened from the store.
        Workspace one;
        ASSERT_NO_FATAL_FAILURE(OpenExportFromStore(one, entry));
        EXPECT_EQ(one.PDataset[0].ExportRead.Digest, platform::ContentDigest(text));
        ASSERT_TRUE(WriteInPlace(entry, lastByteOther(text)));
        dialogs.answers = {true};
        SaveDvh(one, "Head", true, dialogs);
        ASSERT_EQ(dialogs.errors.size(), 2u);
        EXPECT_NE(dialogs.errors[1].find("111_H1.txt changed since the plan was read"), std::string::npos);
    }

    fs::remove_all(store + "/Head");
    PDatasetClass& plan = ws.PDataset[0];
    plan.FileType = FileTypePlan;
    ReadFrom(plan, m_sources.Write("last.txt", "a"));
    ASSERT_TRUE(WriteInPlace(plan.FilePath, "b"));
    dialogs.errors.clear();
    SaveDvh(ws, "Head", true, dialogs);
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0], refused);
    EXPECT_FALSE(fs::exists(TextFile()));
}

TEST_F(SaveDvhTest, APlanKeepsTheVersionOfTheBytesItsReadTookWhateverIsWrittenIntoItsExportAfter) {
    // Another program writes another plan name into the export, in place and of the same size,
    // the moment the reader's pass has read it to its end (the look at the header read it to its
    // end before): the plan is of the bytes read, and so is the version it keeps.
    const std::string head = Read(std::string(TESSARAY_TEST_DATA) + "/opening/head_H1.txt");
    std::string other = head;
    other.replace(other.find("Head IMRT"), 9, "Head VMAT");
    const std::string path = m_sources.Write("rewritten.txt", head);
    const std::string entry = store + "/Head/111_H1.txt";
    Workspace reader;
    reader.SaveFolder = store;
    {
        const RewrittenAt rewrite("line cursor: file read to its end", 2, path, other);
        ASSERT_EQ(reader.LoadDvhFileHeadless(path, 0), 0);
        ASSERT_EQ(rewrite.Met(), 2);
    }
    ASSERT_EQ(Read(path), other);
    EXPECT_EQ(reader.PDataset[0].PlanName, "Head IMRT");
    const platform::FileVersion& read = reader.PDataset[0].ExportRead;
    ASSERT_TRUE(read.Known());
    EXPECT_EQ(read.Digest, platform::ContentDigest(head));
    EXPECT_EQ(read.Identity.Size, static_cast<long long>(head.size()));

    // Its save refuses the export as it is now, and saves the one read once it is back.
    reader.CurrentPlanIndex = 0;
    ASSERT_NO_FATAL_FAILURE(ExpectRefusedUntilPutBack(reader, path, head, entry));

    // So does the main open's, File > Open's, of its own read, whatever the file holds after it.
    Workspace opened;
    opened.PlanListName.emplace_back().Name = "Head";
    ASSERT_EQ(opened.TakeFiles({path}, false).Accepted, 1);
    ASSERT_EQ(opened.BeginLoadByKey(opened.OpenFile.at(0).Key).Step, LoadStep::Read);
    {
        const RewrittenAt rewrite("line cursor: file read to its end", 2, path, other);
        ASSERT_EQ(opened.ReadPendingPlan(), 0);
        ASSERT_EQ(rewrite.Met(), 2);
    }
    opened.FinishPendingLoad();
    EXPECT_EQ(opened.PDataset.at(0).PlanName, "Head IMRT");
    EXPECT_EQ(opened.PDataset[0].ExportRead.Digest, platform::ContentDigest(head));
    EXPECT_EQ(opened.PDataset[0].ExportRead.Identity.Size, static_cast<long long>(head.size()));
    ASSERT_TRUE(WriteInPlace(path, head));

    // Written into as the look at the header reached the end, before the reader's pass: the
    // load's passes read two versions, and the plan keeps none that a save could take.
    Workspace mixed;
    {
        const RewrittenAt rewrite("line cursor: file read to its end", 1, path, other);
        ASSERT_EQ(mixed.LoadDvhFileHeadless(path, 0), 0);
    }
    EXPECT_FALSE(mixed.PDataset[0].ExportRead.Known());
}

TEST_F(SaveDvhTest, APlanOpenedFromAnEntryLeftPartNewPartOldSavesBothItsFiles) {
    SaveHeadExport("ProstateVMAT", "80.0", "First");
    const std::string first = Read(TextFile());
    Workspace one;
    ASSERT_NO_FATAL_FAILURE(OpenExportFromStore(one));
    // Another save of the entry is killed between its renames, and its export's temporary is
    // then removed: the new companion stands beside the old export.
    std::string text = Read(std::string(TESSARAY_TEST_DATA) + "/opening/head_H1.txt");
    ws.PDataset[0].DVHDataset[0].ModifiedName = "Second";
    ReadFrom(ws.PDataset[0], m_sources.Write("second.txt", text));
    dialogs.answers = {true};
    EXPECT_TRUE(KilledAt("atomic write: one of several renamed", [&] { SaveDvh(ws, "Head", true, dialogs); }));
    for (const auto& entry : fs::directory_iterator(store + "/Head"))
        if (entry.path().filename().string().rfind("12_H1.txt.tmp-", 0) == 0) fs::remove(entry.path());
    ASSERT_EQ(FinishInterruptedStoreSave(TextFile()).state, platform::CommitEnd::State::Partial);

    // The plan read from the old export saves it, as it was read, with its own companion.
    one.PDataset[0].DVHDataset[0].ModifiedName = "Mine";
    dialogs.answers = {true};
    SaveDvh(one, "Head", true, dialogs);
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors[0];
    EXPECT_EQ(Read(TextFile()), first);
    EXPECT_NE(Read(ModFile()).find("0\tMine\r\n"), std::string::npos);
    EXPECT_FALSE(fs::exists(StoreCommitOf(TextFile()).Path));
    EXPECT_EQ(FinishInterruptedStoreSave(TextFile()).state, platform::CommitEnd::State::NoRecord);
}

TEST_F(SaveDvhTest, FailedWritesNameTheFileAndLeaveNoHalfSave) {
    // Each failure says the program's words, then which file it could not make or replace.
    auto lastErrorNames = [this](const std::string& file) {
        return !dialogs.errors.empty() && dialogs.errors.back().rfind("An error occurred while saving data.\n", 0) == 0 &&
               dialogs.errors.back().find(file) != std::string::npos;
    };
    // The list folder cannot be made (a file has its name).
    ASSERT_TRUE(platform::AtomicWriteFile(store + "/Head", "a file"));
    SaveDvh(ws, "Head", true, dialogs);
    EXPECT_TRUE(lastErrorNames(store + "/Head"));
    fs::remove(store + "/Head");

    // The ".txt" cannot be replaced (a folder has its name): no ".mod" appears.
    fs::create_directories(TextFile());
    dialogs.answers = {true};
    SaveDvh(ws, "Head", true, dialogs);
    EXPECT_TRUE(lastErrorNames("12_H1.txt"));
    EXPECT_FALSE(fs::exists(ModFile()));

    // A ".mod" that is a FIFO is no file to replace: the save says so, the store stays.
    fs::remove_all(store + "/Head");
    SaveDvh(ws, "Head", true, dialogs);
    const std::string savedText = Read(TextFile());
    fs::remove(ModFile());
    ASSERT_EQ(::mkfifo(ModFile().c_str(), 0600), 0);
    dialogs.answers = {true};
    SaveDvh(ws, "Head", true, dialogs);
    EXPECT_TRUE(lastErrorNames("12_H1.mod"));
    EXPECT_TRUE(fs::is_fifo(ModFile()));
    EXPECT_EQ(Read(TextFile()), savedText);
    EXPECT_EQ(dialogs.information.size(), 1u);

    // A source export that vanished: nothing is written.
    fs::remove_all(store + "/Head");
    ws.PDataset[0].FileType = FileTypePlan;
    ws.PDataset[0].FilePath = store + "/gone.txt";
    SaveDvh(ws, "Head", true, dialogs);
    EXPECT_TRUE(lastErrorNames("gone.txt"));
    EXPECT_FALSE(fs::exists(TextFile()));
    EXPECT_FALSE(fs::exists(ModFile()));
    EXPECT_EQ(dialogs.errors.size(), 4u);
}

TEST_F(SaveDvhTest, ASaveThatRunsOutOfMemoryAnywhereIsTheSavesErrorAndLeavesTheEntryOldOrNew) {
    // Its messages go into room made beforehand; a box that shows one needs memory of its own,
    // as the copy each takes first does here. The answer to "Overwrite?" is given at once, or
    // kept and given later, as the window's event loop gives it once Save DVH returned.
    struct RoomyDialogs : SaveDvhDialogs {
        bool later = false;
        std::function<void(bool)> kept;
        std::string error, information;
        int errors = 0, completed = 0;
        RoomyDialogs() {
            error.reserve(4096);
            information.reserve(4096);
        }
        void AskOkCancel(const std::string&, const std::string&, std::function<void(bool)> answer) override {
            if (later)
                kept = std::move(answer);
            else
                answer(true);
        }
        void ShowDirectoriesSettings() override {}
        void ShowError(const std::string& text, const std::string&) override {
            const std::string shown(text);
            ++errors;
            error.assign(shown);
        }
        void ShowInformation(const std::string& text, const std::string&) override {
            const std::string shown(text);
            ++completed;
            information.assign(shown);
        }
    };
    // The entry as a first save left it; a plan read elsewhere, with another alias and volume,
    // is saved over it after "Overwrite?".
    SaveDvh(ws, "Head", true, dialogs);
    const std::string oldText = Read(TextFile()), oldMod = Read(ModFile());
    PDatasetClass changed = ws.PDataset[0];
    changed.FilePath.clear();
    changed.DVHDataset[0].ModifiedName = "Renamed";
    changed.DVHDataset[0].Volume = 11;
    const std::string newText = BrainLabTableText(changed), newMod = ModFileText(changed);
    for (const bool later : {false, true}) {
        long runs = 0;
        for (bool reached = true; reached;) {
            ++runs;
            SCOPED_TRACE((later ? "answered later, run " : "answered at once, run ") + std::to_string(runs));
            ws.PDataset[0] = changed;
            RoomyDialogs says;
            says.later = later;
            {
                const AllocationFailsAt failing(runs);
                SaveDvh(ws, "Head", true, says);
                // No memory while the answer acts is the save's error too, never an exception
                // into the event loop.
                if (says.kept) {
                    EXPECT_NO_THROW(says.kept(true));
                }
                reached = failing.Reached();
            }
            const std::string text = Read(TextFile()), mod = Read(ModFile());
            const bool isNew = text == newText && mod == newMod;
            EXPECT_TRUE(isNew || (text == oldText && mod == oldMod)) << says.error;
            // A save that wrote its pair is told as saved, whatever ran out after the write; one
            // that wrote nothing, as an error.
            EXPECT_EQ(says.completed, isNew ? 1 : 0) << says.error;
            EXPECT_EQ(says.errors, isNew ? 0 : 1) << says.information;
            if (says.errors) {
                EXPECT_EQ(says.error.rfind("An error occurred while saving data.\n", 0), 0u) << says.error;
            }
            EXPECT_EQ(FilesInEntryFolder(), 3);  // the pair and its lock file: nothing left over
            ASSERT_TRUE(platform::AtomicWriteFile(TextFile(), oldText).ok);
            ASSERT_TRUE(platform::AtomicWriteFile(ModFile(), oldMod).ok);
        }
        EXPECT_GT(runs, 20);
    }
}

TEST_F(SaveDvhTest, ALinkInTheStoreIsReplacedNotWrittenThrough) {
    // Links planted in a shared store folder would send the save to files of their choosing.
    TempFolder elsewhere("save-elsewhere");
    const std::string victimText = elsewhere.Write("victim.txt", "keep me");
    const std::string victimMod = elsewhere.Write("victim.mod", "keep me too");
    fs::create_directories(store + "/Head");
    fs::create_symlink(victimText, TextFile());
    fs::create_symlink(victimMod, ModFile());
    dialogs.answers = {true};
    SaveDvh(ws, "Head", true, dialogs);
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_EQ(Read(victimText), "keep me");
    EXPECT_EQ(Read(victimMod), "keep me too");
    EXPECT_FALSE(fs::is_symlink(TextFile()));
    EXPECT_FALSE(fs::is_symlink(ModFile()));
    EXPECT_EQ(Read(TextFile()), BrainLabTableText(ws.PDataset[0]));
}

TEST_F(SaveDvhTest, ASavedPlanOpensFromTheStoreWithItsNamesPointsAndAliases) {
    SaveDvh(ws, "Head", true, dialogs);
    const PDatasetClass saved = ws.PDataset[0];

    Workspace reader;
    ASSERT_NO_FATAL_FAILURE(Reopen(reader));
    const PDatasetClass& back = reader.PDataset[0];
    EXPECT_EQ(back.PlanListIndex, 0);
    EXPECT_EQ(back.PatientName, "Doe");
    EXPECT_EQ(back.PlanID, "H1");
    ASSERT_EQ(back.DVHDatasetCount(), saved.DVHDatasetCount());
    for (int k = 0; k < back.DVHDatasetCount(); ++k) {
        SCOPED_TRACE(k);
        const DVHDatasetClass &a = saved.DVHDataset[k], &b = back.DVHDataset[k];
        EXPECT_EQ(b.Name, a.Name);
        EXPECT_EQ(b.ModifiedName, a.ModifiedName);
        EXPECT_FLOAT_EQ(b.Volume, a.Volume);
        ASSERT_EQ(b.DVset.size(), a.DVset.size());
        for (std::size_t j = 0; j < a.DVset.size(); ++j) {
            EXPECT_FLOAT_EQ(b.DVset[j].DosePercent, a.DVset[j].DosePercent);
            EXPECT_NEAR(b.DVset[j].DoseGy, a.DVset[j].DoseGy, 1e-5);
            EXPECT_FLOAT_EQ(b.DVset[j].VolumePercent, a.DVset[j].VolumePercent);
        }
    }
}

namespace {

// Two structures more for the plan, from a BrainSCAN table copied later, one with an alias.
void AddTwoStructures(Workspace& ws) {
    ws.ClipboardText = "\tCord\tEye\r\n\t5\t2\r\n  1\t100\t100\r\n  2\t40\t0\r\n";
    ASSERT_EQ(AppendClipboardStructures(ws).Outcome, AddStructuresOutcome::Added);
    ws.PDataset[ws.CurrentPlanIndex].DVHDataset.back().ModifiedName = "Eye L";
}

}  // namespace

TEST_F(SaveDvhTest, APlanReopenedFromTheStoreKeepsTheStructuresAddedToIt) {
    SaveDvh(ws, "Head", true, dialogs);
    Workspace reader;
    ASSERT_NO_FATAL_FAILURE(ReopenToSave(reader));
    AddTwoStructures(reader);
    dialogs.answers = {true};
    SaveDvh(reader, "Head", true, dialogs);
    ASSERT_EQ(dialogs.information.size(), 2u);

    Workspace again;
    ASSERT_NO_FATAL_FAILURE(Reopen(again));
    EXPECT_EQ(Names(again.PDataset[0]),
              (std::vector<std::string>{"PTV=", "Brainstem=BS", "Body=", "Cord=", "Eye=Eye L"}));
}

namespace {

// Another alias and another volume for the first structure: the structure count stays.
void RenameAndResize(Workspace& ws) {
    DVHDatasetClass& first = ws.PDataset[ws.CurrentPlanIndex].DVHDataset[0];
    first.ModifiedName = "Target";
    first.Volume = 11;
}

/// Each structure's name, its alias after a "=" and its volume after a "/".
std::vector<std::string> NamesAndVolumes(const PDatasetClass& plan) {
    std::vector<std::string> names;
    for (const DVHDatasetClass& s : plan.DVHDataset)
        names.push_back(s.Name + "=" + s.ModifiedName + "/" + std::to_string(static_cast<int>(s.Volume)));
    return names;
}

}  // namespace

void savetest::SaveDvhTest::LeaveEntryPartNew() {
    SaveDvh(ws, "Head", true, dialogs);
    RenameAndResize(ws);
    dialogs.answers = {true};
    EXPECT_TRUE(KilledAt("atomic write: one of several renamed", [&] { SaveDvh(ws, "Head", true, dialogs); }));
    for (const auto& entry : fs::directory_iterator(store + "/Head"))
        if (entry.path().filename().string().rfind("12_H1.txt.tmp-", 0) == 0) fs::remove(entry.path());
}

void savetest::SaveDvhTest::ExpectPartNewUntilSavedWhole(const std::vector<std::string>& saved) {
    RecordingHost host;
    Workspace reader;
    reader.SetHost(&host);
    ASSERT_NO_FATAL_FAILURE(Reopen(reader));
    EXPECT_EQ(NamesAndVolumes(reader.PDataset[0]), (std::vector<std::string>{"PTV=/10", "Brainstem=/10", "Body=/10"}));
    EXPECT_EQ(host.status, std::vector<std::string>{"An earlier save of 12_H1.txt could not be completed (only part "
                                                    "of it was written: the new 12_H1.txt of that save is missing): "
                                                    "the plan is opened without its companion."});
    dialogs.answers = {true};
    SaveDvh(ws, "Head", true, dialogs);
    EXPECT_TRUE(dialogs.errors.empty());
    Workspace again;
    ASSERT_NO_FATAL_FAILURE(Reopen(again));
    EXPECT_EQ(NamesAndVolumes(again.PDataset[0]), saved);
    EXPECT_EQ(FilesInEntryFolder(), 3);
}

TEST_F(SaveDvhTest, ASaveKilledAtAnyStepOpensAsTheOldSaveOrTheNewNeverAMixAndLeavesNoTemporary) {
    const PDatasetClass first = ws.PDataset[0];
    const std::vector<std::string> before{"PTV=/10", "Brainstem=BS/10", "Body=/10"};
    const struct Change {
        void (*apply)(Workspace&);
        std::vector<std::string> after;
    } changes[] = {
        {RenameAndResize, {"PTV=Target/11", "Brainstem=BS/10", "Body=/10"}},
        {AddTwoStructures, {"PTV=/10", "Brainstem=BS/10", "Body=/10", "Cord=/5", "Eye=Eye L/2"}},
    };
    const struct Step {
        const char* point;
        bool becomesNew;  // what the store gives afterwards
    } steps[] = {
        {"atomic write: temporary written", false},
        {"atomic write: commit recorded", true},
        {"atomic write: one of several renamed", true},
        {"atomic write: all renamed", true},
        {"nowhere: the save ends", true},
    };
    for (const Change& change : changes) {
        for (const Step& step : steps) {
            SCOPED_TRACE(std::string(step.point) + ", structures " + std::to_string(change.after.size()));
            fs::remove_all(store + "/Head");
            ws.PDataset[0] = first;
            SaveDvh(ws, "Head", true, dialogs);
            change.apply(ws);
            dialogs.answers = {true};
            EXPECT_EQ(KilledAt(step.point, [&] { SaveDvh(ws, "Head", true, dialogs); }),
                      std::string(step.point).rfind("atomic", 0) == 0);

            RecordingHost host;
            Workspace reader;
            reader.SetHost(&host);
            ASSERT_NO_FATAL_FAILURE(Reopen(reader));
            EXPECT_EQ(NamesAndVolumes(reader.PDataset[0]), step.becomesNew ? change.after : before);
            EXPECT_TRUE(host.status.empty());

            // The next save of the entry clears what the killed one left there.
            dialogs.answers = {true};
            SaveDvh(ws, "Head", true, dialogs);
            EXPECT_EQ(FilesInEntryFolder(), 3);  // the pair and the entry's lock
        }
    }
}

TEST_F(SaveDvhTest, AFirstSaveKilledBetweenItsRenamesIsListedWhole) {
    // The new companion has its name, the export not yet: the store's list ends the save.
    EXPECT_TRUE(KilledAt("atomic write: one of several renamed", [&] { SaveDvh(ws, "Head", true, dialogs); }));
    EXPECT_FALSE(fs::exists(TextFile()));
    EXPECT_EQ(StoreTextFiles(store + "/Head"), std::vector<std::string>{TextFile()});
    EXPECT_EQ(Read(TextFile()), BrainLabTableText(ws.PDataset[0]));
    EXPECT_EQ(FilesInEntryFolder(), 3);
}

TEST_F(SaveDvhTest, AnEntryWhoseInterruptedSaveCannotBeEndedOpensWithoutItsCompanionAndIsNotSavedOver) {
    SaveDvh(ws, "Head", true, dialogs);
    RenameAndResize(ws);
    dialogs.answers = {true};
    EXPECT_TRUE(KilledAt("atomic write: one of several renamed", [&] { SaveDvh(ws, "Head", true, dialogs); }));
    // The new companion has its name; another program holds the export's temporary.
    std::string temporary;
    for (const auto& entry : fs::directory_iterator(store + "/Head"))
        if (entry.path().filename().string().rfind("12_H1.txt.tmp-", 0) == 0) temporary = entry.path().string();
    const int held = ::open(temporary.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    RecordingHost host;
    Workspace reader;
    reader.SetHost(&host);
    ASSERT_NO_FATAL_FAILURE(Reopen(reader));
    EXPECT_EQ(NamesAndVolumes(reader.PDataset[0]), (std::vector<std::string>{"PTV=/10", "Brainstem=/10", "Body=/10"}));
    ASSERT_EQ(host.status.size(), 1u);
    EXPECT_NE(host.status[0].find("An earlier save of 12_H1.txt could not be completed"), std::string::npos)
        << host.status[0];
    dialogs.answers = {true};
    SaveDvh(ws, "Head", true, dialogs);
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_NE(dialogs.errors[0].find("12_H1.txt could not be completed"), std::string::npos) << dialogs.errors[0];

    ::close(held);
    Workspace again;
    ASSERT_NO_FATAL_FAILURE(Reopen(again));
    EXPECT_EQ(NamesAndVolumes(again.PDataset[0]), (std::vector<std::string>{"PTV=Target/11", "Brainstem=BS/10", "Body=/10"}));
}

namespace {

// Two saves of one entry at once, each in a process of its own: the first pauses between its
// renames until the second waits for its turn (or, were there no turns, has ended).
int g_paused[2], g_release[2], g_waiting[2];

void PauseBetweenRenames(std::string_view point) {
    char byte = 1;
    if (point != "atomic write: one of several renamed") return;
    EXPECT_EQ(::write(g_paused[1], &byte, 1), 1);
    EXPECT_EQ(::read(g_release[0], &byte, 1), 1);
}

void SayWaiting(std::string_view point) {
    char byte = 1;
    if (point == "lock busy") {
        EXPECT_EQ(::write(g_waiting[1], &byte, 1), 1);
    }
}

template <class Work>
pid_t InChild(Work work) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        work();
        ::_exit(0);
    }
    return pid;
}

}  // namespace

TEST_F(SaveDvhTest, TwoSavesOfOneEntryAtOnceTakeTurnsAndLeaveOneSavesPair) {
    const PDatasetClass first = ws.PDataset[0];
    void (*const changes[])(Workspace&) = {RenameAndResize, AddTwoStructures};
    // The second waits as long as the first takes, however busy the machine; the wait is short
    // again after the test, also one that failed.
    platform::SetLockWaitLimit(std::chrono::hours(1));
    const struct WaitShortAgain {
        ~WaitShortAgain() { platform::SetLockWaitLimit(std::chrono::seconds(5)); }
    } waitShortAgain;
    for (int order = 0; order < 2; ++order) {
        SCOPED_TRACE(order);
        fs::remove_all(store + "/Head");
        SaveDvh(ws, "Head", true, dialogs);
        // Each save is then of a plan read elsewhere, the user's deliberate overwrite of the entry.
        ws.PDataset[0] = first;
        const auto save = [this](void (*change)(Workspace&), platform::FaultHook hook) {
            change(ws);
            platform::SetFaultHook(hook);
            dialogs.answers = {true};
            SaveDvh(ws, "Head", true, dialogs);
        };
        ASSERT_EQ(::pipe(g_paused), 0);
        ASSERT_EQ(::pipe(g_release), 0);
        const pid_t pausing = InChild([&] { save(changes[order], PauseBetweenRenames); });
        ::close(g_paused[1]);
        char byte = 0;
        ASSERT_EQ(::read(g_paused[0], &byte, 1), 1);
        ASSERT_EQ(::pipe(g_waiting), 0);
        const pid_t second = InChild([&] { save(changes[1 - order], SayWaiting); });
        ::close(g_waiting[1]);
        (void)!::read(g_waiting[0], &byte, 1);
        EXPECT_EQ(::write(g_release[1], &byte, 1), 1);
        int status = 0;
        ::waitpid(pausing, &status, 0);
        ::waitpid(second, &status, 0);
        for (const int fd : {g_paused[0], g_release[0], g_release[1], g_waiting[0]}) ::close(fd);

        Workspace expected;
        expected.PDataset.push_back(first);
        expected.CurrentPlanIndex = 0;
        changes[1 - order](expected);
        RecordingHost host;
        Workspace reader;
        reader.SetHost(&host);
        ASSERT_NO_FATAL_FAILURE(Reopen(reader));
        EXPECT_EQ(NamesAndVolumes(reader.PDataset[0]), NamesAndVolumes(expected.PDataset[0]));
        EXPECT_TRUE(host.status.empty()) << host.status[0];
    }
}

namespace {

int g_lockWaits = 0;

}  // namespace

TEST_F(SaveDvhTest, ASaveThatCannotTakeItsTurnSaysAnotherIsUnderWayAndWritesNothing) {
    const std::string busy = "An error occurred while saving data.\n"
                             "Another save of 12_H1.txt is under way; nothing was written.";
    fs::create_directories(store + "/Head");
    {
        const LockHeldElsewhere other(StoreCommitOf(TextFile()).Lock);
        SaveDvh(ws, "Head", true, dialogs);
    }
    EXPECT_EQ(dialogs.errors, std::vector<std::string>{busy});
    EXPECT_FALSE(fs::exists(TextFile()));
    EXPECT_FALSE(fs::exists(ModFile()));

    // Once the other has written its record, the check before the question says so.
    SaveDvh(ws, "Head", true, dialogs);
    RenameAndResize(ws);
    dialogs.answers = {true};
    EXPECT_TRUE(KilledAt("atomic write: one of several renamed", [&] { SaveDvh(ws, "Head", true, dialogs); }));
    const std::string text = Read(TextFile()), mod = Read(ModFile());
    {
        const LockHeldElsewhere other(StoreCommitOf(TextFile()).Lock);
        SaveDvh(ws, "Head", true, dialogs);
    }
    EXPECT_EQ(dialogs.errors, (std::vector<std::string>{busy, busy}));
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_EQ(Read(TextFile()), text);
    EXPECT_EQ(Read(ModFile()), mod);
}

TEST_F(SaveDvhTest, AnEntryAnotherProgramIsSavingIsListedAtOnceAndOpensWithoutItsCompanion) {
    SaveDvh(ws, "Head", true, dialogs);
    RenameAndResize(ws);
    dialogs.answers = {true};
    EXPECT_TRUE(KilledAt("atomic write: one of several renamed", [&] { SaveDvh(ws, "Head", true, dialogs); }));
    const LockHeldElsewhere other(StoreCommitOf(TextFile()).Lock);

    // The list waits for no entry's turn.
    platform::SetFaultHook([](std::string_view point) { g_lockWaits += point == "lock busy"; });
    const std::vector<std::string> listed = StoreTextFiles(store + "/Head");
    platform::SetFaultHook(nullptr);
    EXPECT_EQ(listed, std::vector<std::string>{TextFile()});
    EXPECT_EQ(g_lockWaits, 0);
    EXPECT_TRUE(fs::exists(StoreCommitOf(TextFile()).Path));

    RecordingHost host;
    Workspace reader;
    reader.SetHost(&host);
    ASSERT_NO_FATAL_FAILURE(Reopen(reader));
    EXPECT_EQ(NamesAndVolumes(reader.PDataset[0]), (std::vector<std::string>{"PTV=/10", "Brainstem=/10", "Body=/10"}));
    EXPECT_EQ(host.status, std::vector<std::string>{"Another save of 12_H1.txt is under way: the plan is opened "
                                                    "without its companion."});
}

TEST_F(SaveDvhTest, AnEntryLeftPartNewPartOldOpensWithoutItsCompanionUntilItIsSavedAgain) {
    ASSERT_NO_FATAL_FAILURE(LeaveEntryPartNew());
    ASSERT_NO_FATAL_FAILURE(ExpectPartNewUntilSavedWhole({"PTV=Target/11", "Brainstem=BS/10", "Body=/10"}));
}

namespace {

/// The entry folder whose export a folder takes the place of, at the named point below.
std::string g_entryFolder;

/// At the rename of the export, moves it aside and puts a folder in its place, so that the
/// save cannot rename it; then kills the save where `killtest` says.
void ExportBlockedThenKilled(std::string_view point) {
    if (point == "atomic write: one of several renamed") {
        fs::rename(g_entryFolder + "/12_H1.txt", g_entryFolder + "/12_H1.txt.aside");
        fs::create_directory(g_entryFolder + "/12_H1.txt");
    }
    killtest::KillAtNamedPoint(point);
}

}  // namespace

TEST_F(SaveDvhTest, ASaveOverAPartNewEntryCutShortOnceItPutItsCompanionBackLeavesItPartNew) {
    ASSERT_NO_FATAL_FAILURE(LeaveEntryPartNew());
    // The next save, of other names, renames the companion, cannot rename the export, puts
    // the companion of the part-new pair back and is killed right then.
    ws.PDataset[0].DVHDataset[0].ModifiedName = "Other";
    g_entryFolder = store + "/Head";
    dialogs.answers = {true};
    EXPECT_TRUE(KilledAt("atomic write: files put back", [&] {
        platform::SetFaultHook(&ExportBlockedThenKilled);
        SaveDvh(ws, "Head", true, dialogs);
    }));
    fs::remove(TextFile());
    fs::rename(TextFile() + ".aside", TextFile());
    ASSERT_NO_FATAL_FAILURE(ExpectPartNewUntilSavedWhole({"PTV=Other/11", "Brainstem=BS/10", "Body=/10"}));
}

namespace {

constexpr gid_t kShared = 47100;
constexpr uid_t kFirst = 47101, kSecond = 47102;

/// Makes this (child) process act as `user` (whose own group has its number), a member of the
/// group `kShared` too; it ends at once where it cannot.
void BecomeUser(uid_t user) {
    const gid_t own = user;
    if (::setgroups(1, &kShared) != 0 || ::setgid(own) != 0 || ::setuid(user) != 0) ::_exit(1);
}

/// Saves the plan in a child process that acts as `user`, a member of the group `kShared`;
/// returns the errors it was shown, one a line.
std::string SaveAs(Workspace& ws, uid_t user) {
    return otheruser::RunAs(user, kShared, [&ws] {
        ScriptedDialogs dialogs;
        dialogs.answers = {true};
        SaveDvh(ws, "Head", true, dialogs);
        std::string errors;
        for (const std::string& error : dialogs.errors) errors += error + "\n";
        if (dialogs.information.size() != 1) errors += "no save\n";
        return errors;
    });
}

}  // namespace

TEST_F(SaveDvhTest, MembersOfTheFoldersGroupSaveAnEntryWhoeverMadeItsLockFile) {
    if (const std::string why = otheruser::WhyCannotActAs({kFirst, kSecond}, kShared, store); !why.empty())
        GTEST_SKIP() << why;
    const std::string folder = store + "/Head";
    // A shared folder without setgid: a new file takes its creator's own group.
    fs::create_directories(folder);
    ASSERT_EQ(::chown(folder.c_str(), 0, kShared), 0);
    ASSERT_EQ(::chmod(folder.c_str(), 0770), 0);
    EXPECT_EQ(SaveAs(ws, kFirst), "");
    EXPECT_EQ(SaveAs(ws, kSecond), "");

    // The first user's folder, shared (group and setgid) after their first save.
    fs::remove_all(folder);
    fs::create_directories(folder);
    ASSERT_EQ(::chown(folder.c_str(), kFirst, kFirst), 0);
    ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
    EXPECT_EQ(SaveAs(ws, kFirst), "");
    ASSERT_EQ(::chown(folder.c_str(), kFirst, kShared), 0);
    ASSERT_EQ(::chmod(folder.c_str(), 02775), 0);
    EXPECT_EQ(SaveAs(ws, kSecond), "");

    // A lock file that its owner keeps to themselves: the save says which needs what.
    const std::string lock = TextFile() + ".lock";
    ASSERT_EQ(::chmod(lock.c_str(), 0600), 0);
    EXPECT_NE(SaveAs(ws, kSecond).find("Cannot lock \"" + lock + "\": it needs write permission for you"),
              std::string::npos);

    // A folder that its owner keeps to themselves: the save names it and says what it needs.
    ASSERT_EQ(::chmod(folder.c_str(), 0700), 0);
    const std::string refused = SaveAs(ws, kSecond);
    EXPECT_NE(refused.find("\nThe folder \"" + folder + "\" needs read and search (execute) permission for you (" +
                           platform::OwnerGroupAndMode(folder) + "); nothing was written.\n"),
              std::string::npos)
        << refused;
}

TEST_F(SaveDvhTest, MembersOfASaveFolderSharedAsTheReadmeSaysSaveIntoAPlanListWhoeverMadeItsFolder) {
    if (const std::string why = otheruser::WhyCannotActAs({kFirst, kSecond}, kShared, store); !why.empty())
        GTEST_SKIP() << why;
    // The README's set-up of an empty save folder: `chgrp <group>` and `chmod g+ws`. The first
    // save into the plan list makes its folder; each member then saves the other's entry and
    // one of their own in it.
    ASSERT_EQ(::chown(store.c_str(), static_cast<uid_t>(-1), kShared), 0);
    ASSERT_EQ(::chmod(store.c_str(), 02775), 0);
    EXPECT_EQ(SaveAs(ws, kFirst), "");
    EXPECT_EQ(SaveAs(ws, kSecond), "");
    ws.PDataset[0].PlanID = "H2";
    EXPECT_EQ(SaveAs(ws, kSecond), "");
    EXPECT_EQ(SaveAs(ws, kFirst), "");

    // A folder its group may not write in: the refusal says whose it is and what it needs, for
    // an entry whose lock file is there, for a new one, and for a plan list's folder.
    const std::string folder = store + "/Head";
    ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
    const auto needs = [](const std::string& what) {
        return "the folder \"" + what + "\" needs write permission for you (" +
               platform::OwnerGroupAndMode(what) +
               "); a folder that a group shares needs write permission and the setgid bit for "
               "that group (chmod g+ws)";
    };
    const std::string entry = "Cannot create a file in the folder of \"" + folder + "/12_H2.mod\": ";
    EXPECT_NE(SaveAs(ws, kSecond).find(entry + needs(folder)), std::string::npos);
    ws.PDataset[0].PlanID = "H3";
    const std::string lock = "Cannot lock \"" + folder + "/12_H3.txt.lock\": ";
    EXPECT_NE(SaveAs(ws, kSecond).find(lock + needs(folder)), std::string::npos);
    fs::remove_all(folder);
    ASSERT_EQ(::chmod(store.c_str(), 0755), 0);
    const std::string planList = "Cannot create the folder \"" + folder + "\": ";
    EXPECT_NE(SaveAs(ws, kSecond).find(planList + needs(store)), std::string::npos);
}

TEST_F(SaveDvhTest, AMembersSaveEndsAnotherMembersCutShortWhereTheFolderLetsThemReplaceItsFiles) {
    if (const std::string why = otheruser::WhyCannotActAs({kFirst, kSecond}, kShared, store); !why.empty())
        GTEST_SKIP() << why;
    const std::string folder = store + "/Head";
    const PDatasetClass first = ws.PDataset[0];
    // A folder of the group, with `mode`, where the first user's save of the entry is killed
    // between its renames (the new companion has its name), its export's temporary perhaps
    // removed then by a cleaner.
    const auto cutShort = [&](mode_t mode, bool restRemoved) {
        fs::remove_all(folder);
        fs::create_directories(folder);
        EXPECT_EQ(::chown(folder.c_str(), 0, kShared), 0);
        EXPECT_EQ(::chmod(folder.c_str(), mode), 0);
        ws.PDataset[0] = first;
        EXPECT_EQ(SaveAs(ws, kFirst), "");
        RenameAndResize(ws);
        EXPECT_TRUE(KilledAt("atomic write: one of several renamed", [&] {
            BecomeUser(kFirst);
            dialogs.answers = {true};
            SaveDvh(ws, "Head", true, dialogs);
        }));
        for (const auto& entry : fs::directory_iterator(folder))
            if (restRemoved && entry.path().filename().string().rfind("12_H1.txt.tmp-", 0) == 0)
                fs::remove(entry.path());
    };
    // A folder that the group may write in, without the sticky bit: the second user's save ends
    // the first's, whether it completes it or supersedes what it left part new.
    for (const bool restRemoved : {false, true}) {
        SCOPED_TRACE(restRemoved ? "part new" : "to be completed");
        cutShort(02775, restRemoved);
        AddTwoStructures(ws);
        EXPECT_EQ(SaveAs(ws, kSecond), "");
        Workspace reader;
        ASSERT_NO_FATAL_FAILURE(Reopen(reader));
        EXPECT_EQ(NamesAndVolumes(reader.PDataset[0]), NamesAndVolumes(ws.PDataset[0]));
        EXPECT_EQ(FilesInEntryFolder(), 3);
    }
    // With the sticky bit, only the first user (or the folder's owner) may replace their files:
    // the save names whose save it was, and what would end it.
    cutShort(03775, true);
    const std::string mod = Read(ModFile());
    const std::string name = platform::UserName(kFirst);
    EXPECT_NE(SaveAs(ws, kSecond).find("it was left by " + name + "'s save, which only " + name +
                                                " or a save in a folder that lets you replace their files can end"),
              std::string::npos);
    EXPECT_EQ(Read(ModFile()), mod);
    EXPECT_TRUE(fs::exists(StoreCommitOf(TextFile()).Path));
}
