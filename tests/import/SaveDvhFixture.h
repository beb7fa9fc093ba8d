// The Save DVH tests' fixture: a BrainSCAN plan saved into a store of its own, dialogs that
// answer from a script, and the other instances that open or save its entry.
#pragma once

#include "import/SaveDvh.h"

#include "dvh/FileNames.h"
#include "dvh/StoreEntry.h"
#include "dvh/Workspace.h"
#include "import/ImportHandOver.h"
#include "platform/OpenedFile.h"

#include "../dvh/TestSupport.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace savetest {

using namespace dvhtest;
namespace fs = std::filesystem;

/// Answers the questions from a queue and records everything shown.
struct ScriptedDialogs : SaveDvhDialogs {
    std::deque<bool> answers;
    std::vector<std::string> asked, errors, information;
    int settingsShown = 0;
    void AskOkCancel(const std::string& text, const std::string&, std::function<void(bool)> answer) override {
        asked.push_back(text);
        const bool ok = !answers.empty() && answers.front();
        if (!answers.empty()) answers.pop_front();
        answer(ok);
    }
    void ShowDirectoriesSettings() override { ++settingsShown; }
    void ShowError(const std::string& text, const std::string&) override { errors.push_back(text); }
    void ShowInformation(const std::string& text, const std::string&) override { information.push_back(text); }
};

inline std::string Read(const std::string& path) {
    std::string text;
    platform::ReadWholeFile(path, text);
    return text;
}

/// What a save refused for `file`, changed since the plan was read, says: the way on, and what
/// it drops of the user's own edits.
inline std::string RefusedAsChanged(const std::string& file) {
    return "An error occurred while saving data.\n" + file +
           " changed since the plan was read; nothing was written. Press Reload to read it as it is now, then save "
           "again. Reload drops the names changed here since the plan was read or saved: note them first.";
}

/// Makes `plan` one read from the export at `path` and the companion beside it, as they are now.
inline void ReadFrom(PDatasetClass& plan, const std::string& path) {
    plan.FilePath = path;
    plan.ExportRead = platform::VersionOfPath(path);
    const std::string companion = ChangeFileExt(path, ".mod");
    plan.CompanionRead = fs::exists(companion) ? CompanionVersion::Of(platform::VersionOfPath(companion))
                                               : CompanionVersion::Missing();
}

class SaveDvhTest : public ::testing::Test {
protected:
    void SetUp() override {
        store = (fs::temp_directory_path() / ("tessaray-save-" + std::to_string(::getpid()))).string();
        fs::remove_all(store);
        fs::create_directories(store);
        ws.SaveFolder = store;
        PDatasetClass plan;
        plan.Key = "12H1";
        plan.PatientName = "Doe";
        plan.PatientID = "12";
        plan.PlanName = "Head";
        plan.PlanID = "H1";
        plan.Date = "2024/01/05";
        plan.Time = "10:30:00";
        plan.FileType = FileTypeBrainScan;
        for (const char* name : {"PTV", "Brainstem", "Body"}) {
            DVHDatasetClass s;
            s.Name = name;
            s.PrescribedDose = 45.678f;
            s.Volume = 10;
            s.SetPoints({{0, 0, 100, 10}, {1, 0.45678f, 50, 5}, {2, 0.91356f, 0, 0}});
            plan.DVHDataset.push_back(s);
        }
        plan.DVHDataset[1].ModifiedName = "BS";
        ws.PDataset.push_back(plan);
        ws.CurrentPlanIndex = 0;
    }
    void TearDown() override { fs::remove_all(store); }
    std::string TextFile() const { return store + "/Head/12_H1.txt"; }
    long FilesInEntryFolder() const {
        return std::distance(fs::directory_iterator(store + "/Head"), fs::directory_iterator());
    }
    std::string ModFile() const { return store + "/Head/12_H1.mod"; }
    /// Saves the plan of `reader`, whose export `path` no longer holds the bytes `read` that it
    /// was read from: the save is refused with the text of that file, and `entry` is not
    /// written; once the bytes read are back in the file, the same save writes them.
    void ExpectRefusedUntilPutBack(Workspace& reader, const std::string& path, const std::string& read,
                                   const std::string& entry) {
        dialogs.errors.clear();
        SaveDvh(reader, "Head", true, dialogs);
        ASSERT_EQ(dialogs.errors.size(), 1u);
        EXPECT_EQ(dialogs.errors[0], RefusedAsChanged(fs::path(path).filename().string()));
        EXPECT_FALSE(fs::exists(entry));
        ASSERT_TRUE(WriteInPlace(path, read));
        SaveDvh(reader, "Head", true, dialogs);
        EXPECT_EQ(dialogs.errors.size(), 1u);
        EXPECT_EQ(Read(entry), read);
    }
    /// Saves the plan of `ws` over its first save and has the save killed between its renames;
    /// then the export's temporary goes, as a cleaner would take it: the entry is part new.
    void LeaveEntryPartNew();
    /// The entry, part new, opens without its companion and says why, until a save of `ws` ends
    /// it: it then opens with `saved` (structure names and volumes, as `NamesAndVolumes`).
    void ExpectPartNewUntilSavedWhole(const std::vector<std::string>& saved);
    /// Opens the saved plan from the store as the saved-file list does, in a workspace of its
    /// own, as its plan 0; `reader` keeps what its status bar was told. Call it through
    /// ASSERT_NO_FATAL_FAILURE: a plan that did not open ends the test.
    void Reopen(Workspace& reader) const {
        InstallImportReaders(reader);
        reader.PlanListName.emplace_back().Name = "Head";
        const DvhHeader h = RecogniseDvhHeaderFile(TextFile());
        ASSERT_EQ(h.FileType, FileTypeBrainScan);
        ASSERT_EQ(reader.BeginLoadFromStore(TextFile(), h.FileType, h.fields, "Head", nullptr).Step, LoadStep::Read);
        ASSERT_EQ(reader.ReadPendingPlan(), 0);
        EXPECT_TRUE(reader.LastReadResult) << reader.LastReadResult.detail;
        ASSERT_EQ(reader.FinishPendingLoad(), 0);
        ASSERT_EQ(reader.PDatasetCount(), 1);
    }
    /// `Reopen` as the current plan of `instance`, ready to be saved again into the store.
    void ReopenToSave(Workspace& instance) const {
        instance.SaveFolder = store;
        ASSERT_NO_FATAL_FAILURE(Reopen(instance));
        instance.CurrentPlanIndex = 0;
    }
    /// Opens the entry's one-plan export as another instance of the program would, as the
    /// current plan of `instance`, ready to be saved again (through ASSERT_NO_FATAL_FAILURE).
    void OpenExportFromStore(Workspace& instance) const { OpenExportFromStore(instance, TextFile()); }
    /// The same of the entry whose export is `textFile`.
    void OpenExportFromStore(Workspace& instance, const std::string& textFile) const {
        instance.PlanListName.emplace_back().Name = "Head";
        instance.SaveFolder = store;
        const DvhHeader h = RecogniseDvhHeaderFile(textFile);
        ASSERT_EQ(instance.BeginLoadFromStore(textFile, h.FileType, h.fields, "Head", nullptr).Step, LoadStep::Read);
        ASSERT_EQ(instance.ReadPendingPlan(), 0);
        ASSERT_EQ(instance.FinishPendingLoad(), 0);
        ASSERT_EQ(instance.PDatasetCount(), 1);
        ASSERT_EQ(instance.PDataset[0].DVHDatasetCount(), 2);
        instance.CurrentPlanIndex = 0;
    }
    /// Saves the current plan of `instance` as a user who answers "Overwrite?" with OK; the save
    /// goes through.
    static void SaveWithOk(Workspace& instance) {
        ScriptedDialogs says;
        says.answers = {true};
        SaveDvh(instance, "Head", true, says);
        ASSERT_TRUE(says.errors.empty()) << says.errors[0];
    }
    /// Saves head_H1.txt with the plan name `planName` and the first structure's volume `volume`
    /// as the plan of `ws`, with that plan name and `alias` for its first structure.
    void SaveHeadExport(const std::string& planName, const std::string& volume, const std::string& alias) {
        std::string text = Read(std::string(TESSARAY_TEST_DATA) + "/opening/head_H1.txt");
        text.replace(text.find("Head IMRT - H1"), 14, planName + " - H1");
        text.replace(text.find("Volume [cm^3]        : 80.0"), 27, "Volume [cm^3]        : " + volume);
        PDatasetClass& plan = ws.PDataset[0];
        plan.FileType = FileTypePlan;
        plan.PlanName = planName;
        plan.DVHDataset.resize(2);
        plan.DVHDataset[0].ModifiedName = alias;
        ReadFrom(plan, m_sources.Write(planName + ".txt", text));
        dialogs.answers = {true};
        SaveDvh(ws, "Head", true, dialogs);
    }
    /// The names of `plan`'s structures, each with its alias after a "=".
    static std::vector<std::string> Names(const PDatasetClass& plan) {
        std::vector<std::string> names;
        for (const DVHDatasetClass& s : plan.DVHDataset) names.push_back(s.Name + "=" + s.ModifiedName);
        return names;
    }

    std::string store;
    Workspace ws;
    ScriptedDialogs dialogs;
    TempFolder m_sources{"save-sources"};
};

}  // namespace savetest
