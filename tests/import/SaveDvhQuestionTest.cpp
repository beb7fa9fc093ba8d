// Save DVH's question and what acts without one: OK on "Overwrite?", given while the window went
// on, saves only the plan it asked about, where it said, while that plan can be saved; a first
// save, which asks nothing, replaces no entry that another save made before its turn.
#include "SaveDvhFixture.h"

#include "import/BrainLabTable.h"
#include "platform/FaultPoint.h"

#include "../support/LockHeldElsewhere.h"

#include <functional>
#include <optional>

using namespace savetest;

namespace {

/// Keeps the answer to "Overwrite?" for the test to give, as the window gives it when the user
/// answers, long after Save DVH returned.
struct AnsweredLater : ScriptedDialogs {
    std::function<void(bool)> kept;
    void AskOkCancel(const std::string& text, const std::string&, std::function<void(bool)> answer) override {
        asked.push_back(text);
        kept = std::move(answer);
    }
};

/// What the first of two saves that expected no entry says once the other made it.
const char* const kSavedMeanwhile =
    "An error occurred while saving data.\n12_H1.txt was saved by another user or instance meanwhile; nothing "
    "was written. Save again to be asked whether to replace it.";

/// What runs at the first and the second wait for a lock, each once.
std::function<void()> g_atWait[2];
int g_waits = 0;

void AtLockWait(std::string_view point) {
    if (point == "lock busy" && g_waits < 2) g_atWait[g_waits++]();
}

}  // namespace

TEST_F(SaveDvhTest, OkWritesNothingAndSaysWhyOnceThePlanItAskedAboutCannotBeSaved) {
    SaveDvh(ws, "Head", true, dialogs);
    const std::string text = Read(TextFile()), mod = Read(ModFile());
    const auto expectEntryKept = [&] {
        EXPECT_EQ(Read(TextFile()), text);
        EXPECT_EQ(Read(ModFile()), mod);
    };
    // The plan lost its structures while the question waited, as a reload of an XiO plan
    // leaves it until the XiO dialog is answered.
    ws.PDataset[0].DVHDataset[0].ModifiedName = "Target";
    AnsweredLater says;
    SaveDvh(ws, "Head", true, says);
    ASSERT_TRUE(says.kept);
    const std::vector<DVHDatasetClass> structures = ws.PDataset[0].DVHDataset;
    ws.PDataset[0].DVHDataset.clear();
    says.kept(true);
    EXPECT_EQ(says.errors, std::vector<std::string>{"The plan has no structures to save."});
    EXPECT_TRUE(says.information.empty());
    expectEntryKept();
    // The plan was closed while the question waited.
    ws.PDataset[0].DVHDataset = structures;
    says.errors.clear();
    SaveDvh(ws, "Head", true, says);
    ws.RemovePlan(0);
    says.kept(true);
    EXPECT_EQ(says.errors, std::vector<std::string>{"The plan is no longer open; nothing was written."});
    EXPECT_TRUE(says.information.empty());
    expectEntryKept();
}

TEST_F(SaveDvhTest, OkWritesNothingWhileALoadOfThePlanWaitsAndSavesItWhereItAskedOnceItCan) {
    // A plan opened from an export, saved once; a second save of it asks "Overwrite?".
    Workspace one;
    one.SaveFolder = store;
    const std::string source =
        m_sources.Write("head.txt", Read(std::string(TESSARAY_TEST_DATA) + "/opening/head_H1.txt"));
    ASSERT_EQ(one.LoadDvhFileHeadless(source, 0), 0);
    one.CurrentPlanIndex = 0;
    SaveDvh(one, "Head", true, dialogs);
    ASSERT_TRUE(dialogs.errors.empty()) << dialogs.errors[0];
    const SavedDvhPaths entry = StorePaths(store, "Head", one.PDataset[0].PatientID, one.PDataset[0].PlanID);
    const std::string text = Read(entry.TextFile), mod = Read(entry.ModFile);
    one.PDataset[0].DVHDataset[0].ModifiedName = "Target";
    AnsweredLater says;
    SaveDvh(one, "Head", true, says);
    ASSERT_TRUE(says.kept);
    // Meanwhile a reload of the plan waits for the user's choice of its plan list.
    EXPECT_EQ(one.BeginReload(one.PDataset[0].Key).Step, LoadStep::ChoosePlanList);
    ASSERT_EQ(one.PendingPlanIndex(), 0);
    says.kept(true);
    EXPECT_EQ(says.errors, std::vector<std::string>{"The plan is being loaded again; nothing was written. Save "
                                                    "again once it is loaded."});
    EXPECT_TRUE(says.information.empty());
    EXPECT_EQ(Read(entry.TextFile), text);
    EXPECT_EQ(Read(entry.ModFile), mod);

    // Once that load is given up, OK saves the plan it asked about into the folder it named,
    // whatever plan is current and whatever save folder the settings give since.
    one.CancelPendingLoad();
    says.errors.clear();
    SaveDvh(one, "Head", true, says);
    one.PDataset.push_back(ws.PDataset[0]);
    one.CurrentPlanIndex = 1;
    one.SaveFolder = m_sources.Path() + "/chosen since";
    says.kept(true);
    EXPECT_TRUE(says.errors.empty()) << says.errors[0];
    EXPECT_EQ(says.information.size(), 1u);
    EXPECT_EQ(Read(entry.TextFile), text);
    EXPECT_EQ(Read(entry.ModFile), ModFileText(one.PDataset[0]));
    EXPECT_NE(Read(entry.ModFile).find("0\tTarget\r\n"), std::string::npos);
    EXPECT_FALSE(fs::exists(one.SaveFolder));
}

TEST_F(SaveDvhTest, OfTwoFirstSavesOfOneEntryTheOneThatTakesItsTurnLastWritesNothingOverTheOther) {
    // Two instances save the same new entry: each finds none and so asks nothing, and each
    // waits for the entry's lock, which a third party holds. The second's wait starts within
    // the first's; the third party lets go within the second's, which then takes its turn first.
    Workspace second;
    second.SaveFolder = store;
    second.PDataset.push_back(ws.PDataset[0]);
    second.PDataset[0].DVHDataset[0].ModifiedName = "Second";
    second.CurrentPlanIndex = 0;
    ws.PDataset[0].DVHDataset[0].ModifiedName = "First";
    fs::create_directories(store + "/Head");
    std::optional<LockHeldElsewhere> third(std::in_place, StoreCommitOf(TextFile()).Lock);
    ScriptedDialogs secondSays;
    g_waits = 0;
    g_atWait[0] = [&] { SaveDvh(second, "Head", true, secondSays); };
    g_atWait[1] = [&] { third.reset(); };
    platform::SetFaultHook(&AtLockWait);
    SaveDvh(ws, "Head", true, dialogs);
    platform::SetFaultHook(nullptr);
    ASSERT_EQ(g_waits, 2);

    EXPECT_TRUE(secondSays.errors.empty()) << secondSays.errors[0];
    EXPECT_EQ(secondSays.information.size(), 1u);
    EXPECT_EQ(dialogs.errors, std::vector<std::string>{kSavedMeanwhile});
    EXPECT_TRUE(dialogs.information.empty());
    EXPECT_TRUE(dialogs.asked.empty() && secondSays.asked.empty());
    EXPECT_EQ(Read(TextFile()), BrainLabTableText(second.PDataset[0]));
    EXPECT_EQ(Read(ModFile()), ModFileText(second.PDataset[0]));
    EXPECT_EQ(FilesInEntryFolder(), 3);

    // Saved again, the plan asks, and replaces the other's pair once the user agrees.
    dialogs.answers = {true};
    SaveDvh(ws, "Head", true, dialogs);
    EXPECT_EQ(dialogs.asked, std::vector<std::string>{"This Plan data already saved.\n Overwrite?"});
    EXPECT_EQ(dialogs.information.size(), 1u);
    EXPECT_EQ(Read(ModFile()), ModFileText(ws.PDataset[0]));
}
