// A plan built from a BrainSCAN clipboard table is kept with Save DVH, opens again, and once it
// saved its entry is that entry's plan: Reload reads what others saved there.
#include "dvh/Workspace.h"
#include "import/ClipboardDvh.h"
#include "import/ClipboardPlan.h"
#include "import/ImportHandOver.h"
#include "import/SaveDvh.h"
#include "platform/OpenedFile.h"

#include "../dvh/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

struct AgreeingDialogs : SaveDvhDialogs {
    std::vector<std::string> errors;
    void AskOkCancel(const std::string&, const std::string&, std::function<void(bool)> answer) override { answer(true); }
    void ShowDirectoriesSettings() override {}
    void ShowError(const std::string& text, const std::string&) override { errors.push_back(text); }
    void ShowInformation(const std::string&, const std::string&) override {}
};

class ClipboardSave : public ::testing::Test {
protected:
    /// A workspace of the store, with the plan list "Head", that reads BrainSCAN tables.
    void SetUpWorkspace(Workspace& instance) const {
        InstallImportReaders(instance);
        instance.SaveFolder = m_store.Path();
        instance.PlanListName.emplace_back().Name = "Head";
    }
    /// Makes the BrainSCAN table `table` the current plan of `ws`, as its dialog's OK does.
    static void AppendTable(Workspace& ws, const char* table) {
        ws.ImportPlanNumber = 1;
        std::vector<DVHDatasetClass> structures;
        ASSERT_TRUE(ParseBrainScanTable(table, 60, BrainScanUse::NewPlan, structures));
        ws.CurrentPlanIndex = AppendClipboardPlan(ws, FileTypeBrainScan, {"Doe", "12", "BrainSCAN", "Plan_1", 0, 0},
                                                  "2026/12/07", "10:30:05", std::move(structures));
    }
    std::string Entry() const { return m_store.Path() + "/Head/12_Plan_1.txt"; }
    std::string Companion() const { return m_store.Path() + "/Head/12_Plan_1.mod"; }

    Workspace ws;
    AgreeingDialogs dialogs;
    dvhtest::TempFolder m_store{"clipboard-save"};
};

std::string TextOf(const std::string& path) {
    std::string text;
    platform::ReadWholeFile(path, text);
    return text;
}

}  // namespace

TEST_F(ClipboardSave, SavedClipboardPlanReopensWithTheFileReadersMinimum) {
    SetUpWorkspace(ws);
    ASSERT_NO_FATAL_FAILURE(AppendTable(ws, "\tPTV\r\n\t10\r\n  1\t100\r\n  2\t100\r\n  3\t50\r\n  4\t0\r\n"));
    SaveDvh(ws, "Head", true, dialogs);
    EXPECT_TRUE(dialogs.errors.empty());
    ASSERT_TRUE(fs::exists(Entry()));
    const int reopened = ws.LoadDvhFileHeadless(Entry(), 0);
    ASSERT_GE(reopened, 0) << ws.LastReadResult.detail;
    const DVHDatasetClass& before = ws.PDataset[0].DVHDataset.at(0);
    const DVHDatasetClass& after = ws.PDataset[reopened].DVHDataset.at(0);
    EXPECT_EQ(ws.PDataset[reopened].FileType, FileTypeBrainScan);
    ASSERT_EQ(after.DVset.size(), before.DVset.size());
    for (std::size_t j = 0; j < before.DVset.size(); ++j) {
        EXPECT_NEAR(after.DVset[j].VolumePercent, before.DVset[j].VolumePercent, 1e-3);
        EXPECT_NEAR(after.DVset[j].DoseGy, before.DVset[j].DoseGy, 1e-3);
    }
    EXPECT_NEAR(after.MeanDosePercent, before.MeanDosePercent, 1e-3);
    // The clipboard table takes the last dose still at 100 %, the file reader the first below it.
    EXPECT_FLOAT_EQ(before.MinDosePercent, 2);
    EXPECT_FLOAT_EQ(after.MinDosePercent, 3);
}

TEST_F(ClipboardSave, AColleaguesSaveOfTheEntryIsReloadedAndTheNextSaveKeepsBothUsersNames) {
    // The plan from the clipboard is saved with its user's alias; a colleague opens the entry
    // from the store, names another structure and saves.
    SetUpWorkspace(ws);
    ASSERT_NO_FATAL_FAILURE(AppendTable(ws, "\tPTV\tCord\r\n\t10\t5\r\n  1\t100\t100\r\n  2\t100\t60\r\n"
                                            "  3\t50\t20\r\n  4\t0\t0\r\n"));
    ws.PDataset[0].DVHDataset[0].ModifiedName = "Target";
    SaveDvh(ws, "Head", true, dialogs);
    ASSERT_TRUE(dialogs.errors.empty()) << dialogs.errors[0];
    Workspace colleague;
    SetUpWorkspace(colleague);
    const DvhHeader h = RecogniseDvhHeaderFile(Entry());
    ASSERT_EQ(colleague.BeginLoadFromStore(Entry(), h.FileType, h.fields, "Head", nullptr).Step, LoadStep::Read);
    ASSERT_EQ(colleague.ReadPendingPlan(), 0);
    colleague.FinishPendingLoad();
    colleague.CurrentPlanIndex = 0;
    ASSERT_EQ(colleague.PDataset[0].DVHDatasetCount(), 2);
    colleague.PDataset[0].DVHDataset[1].ModifiedName = "Spinal cord";
    AgreeingDialogs colleagueSays;
    SaveDvh(colleague, "Head", true, colleagueSays);
    ASSERT_TRUE(colleagueSays.errors.empty()) << colleagueSays.errors[0];
    const std::string saved = TextOf(Companion());

    // The first user's save is refused and sends them to Reload, which shows the entry as the
    // colleague left it.
    ws.PDataset[0].DVHDataset[0].ModifiedName = "GTV";
    SaveDvh(ws, "Head", true, dialogs);
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_NE(dialogs.errors[0].find("; nothing was written. Press Reload"), std::string::npos) << dialogs.errors[0];
    EXPECT_EQ(TextOf(Companion()), saved);
    ASSERT_EQ(ws.BeginReload(ws.PDataset[0].Key, 0).Step, LoadStep::Read);
    ASSERT_EQ(ws.ReadPendingPlan(), 0);
    ws.FinishPendingLoad();
    ASSERT_EQ(ws.PDatasetCount(), 1);
    ASSERT_EQ(ws.PDataset[0].DVHDatasetCount(), 2);
    EXPECT_EQ(ws.PDataset[0].DVHDataset[0].ModifiedName, "Target");
    EXPECT_EQ(ws.PDataset[0].DVHDataset[1].ModifiedName, "Spinal cord");

    // Its next save goes through and keeps the colleague's name beside its own.
    ws.PDataset[0].DVHDataset[0].ModifiedName = "GTV";
    SaveDvh(ws, "Head", true, dialogs);
    EXPECT_EQ(dialogs.errors.size(), 1u);
    const std::string mod = TextOf(Companion());
    EXPECT_NE(mod.find("0\tGTV\r\n1\tSpinal cord\r\n"), std::string::npos) << mod;
}
