// A plan built from a BrainSCAN clipboard table is kept with Save DVH and opens again.
#include "dvh/Workspace.h"
#include "import/ClipboardDvh.h"
#include "import/ClipboardPlan.h"
#include "import/ImportHandOver.h"
#include "import/SaveDvh.h"

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

}  // namespace

TEST(ClipboardSave, SavedClipboardPlanReopensWithTheFileReadersMinimum) {
    const fs::path store = fs::temp_directory_path() / ("tessaray-clipboard-save-" + std::to_string(::getpid()));
    fs::remove_all(store);
    fs::create_directories(store);
    Workspace ws;
    InstallImportReaders(ws);
    ws.SaveFolder = store.string();
    ws.ImportPlanNumber = 1;
    std::vector<DVHDatasetClass> structures;
    ASSERT_TRUE(ParseBrainScanTable("\tPTV\r\n\t10\r\n  1\t100\r\n  2\t100\r\n  3\t50\r\n  4\t0\r\n", 60,
                                    BrainScanUse::NewPlan, structures));
    ws.CurrentPlanIndex = AppendClipboardPlan(ws, FileTypeBrainScan, {"Doe", "12", "BrainSCAN", "Plan_1", 0, 0},
                                              "2026/12/07", "10:30:05", std::move(structures));
    AgreeingDialogs dialogs;
    SaveDvh(ws, "Head", true, dialogs);
    EXPECT_TRUE(dialogs.errors.empty());
    const std::string saved = (store / "Head" / "12_Plan_1.txt").string();
    ASSERT_TRUE(fs::exists(saved));
    const int reopened = ws.LoadDvhFileHeadless(saved, 0);
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
    fs::remove_all(store);
}
