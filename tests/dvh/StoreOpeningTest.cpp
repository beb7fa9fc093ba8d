// Opening from the saved-DVH store: the list named like the folder, the ".mod" companion's
// names and dose, and what happens without one.
#include "dvh/Workspace.h"
#include "dvh/FileNames.h"
#include "dvh/StoreEntry.h"
#include "TestSupport.h"
#include "../support/KilledAt.h"
#include "../support/LockHeldElsewhere.h"
#include "../support/RefusedMemory.h"
#include "platform/WaitNotice.h"
#include "platform/FaultPoint.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <new>
#include <optional>
#include <fstream>
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {

const std::string kData = std::string(TESSARAY_TEST_DATA) + "/opening/";

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

const char* const kCompanion =
    "Patient Name\tNULL\r\n"
    "Patient ID\t333\r\n"
    "Plan Name\tBoost sum\r\n"
    "Plan ID\tSum-1\r\n"
    "Prescribed dose [cGy]\t6000\r\n"
    "0\tPTV 60\r\n"
    "1\t\r\n";

class StoreOpening : public ::testing::Test {
protected:
    void SetUp() override {
        ws.SetHost(&host);
        for (const char* n : {"Head", "Prostate"}) {
            PlanListNameClass l;
            l.Name = n;
            ws.PlanListName.push_back(l);
        }
    }
    /// Recognises `path` as the browser does and hands it to the opener.
    LoadOrder Open(const std::string& path, const std::string& folder, bool* listed = nullptr) {
        DvhHeaderFields header;
        const int code = ws.ReadDvhHeader(path, &header);
        EXPECT_GT(code, 1) << path;
        bool changed = false;
        const LoadOrder order = ws.BeginLoadFromStore(path, code, header, folder, &changed);
        if (listed) *listed = changed;
        return order;
    }
    void ReadAndFinish() {
        ws.ReadPendingPlan();
        ws.FinishPendingLoad();
    }
    dvhtest::RecordingHost host;
    Workspace ws;
    dvhtest::TempFolder store{"store"};
};

TEST_F(StoreOpening, CompanionGivesTheDoseNamesAndAliasesOfAPlanSum) {
    const std::string sum = store.Write("333_Sum.txt", ReadText(kData + "plansum_S1.txt"));
    store.Write("333_Sum.mod", kCompanion);
    bool listed = false;
    const LoadOrder order = Open(sum, "Head", &listed);
    EXPECT_TRUE(listed);
    ASSERT_EQ(order.Step, LoadStep::Read);  // no dose prompt: 6000 cGy from the companion
    EXPECT_EQ(ws.PDataset[0].PlanListIndex, 0);
    ReadAndFinish();
    const PDatasetClass& plan = ws.PDataset[0];
    ASSERT_EQ(plan.DVHDatasetCount(), 2);
    EXPECT_FLOAT_EQ(plan.DVHDataset[0].PrescribedDose, 60.0f);
    EXPECT_EQ(plan.PatientName, "Poe Ann");  // "NULL" keeps the file's name
    EXPECT_EQ(plan.PlanName, "Boost sum");
    EXPECT_EQ(plan.PlanID, "Sum-1");
    EXPECT_EQ(plan.DVHDataset[0].ModifiedName, "PTV 60");
    EXPECT_EQ(plan.DVHDataset[1].ModifiedName, "");
    EXPECT_EQ(plan.PatientExtra, "");
    EXPECT_FALSE(ws.Pending.Active);

    // Opened again: shown, no second plan or entry, the companion applied again.
    ws.PDataset[0].DVHDataset[0].ModifiedName = "edited";
    const LoadOrder again = Open(sum, "Head", &listed);
    EXPECT_FALSE(listed);
    EXPECT_EQ(again.Step, LoadStep::ShowExisting);
    EXPECT_EQ(ws.PDatasetCount(), 1);
    EXPECT_EQ(ws.OpenFileCount(), 1);
    EXPECT_EQ(ws.PDataset[0].DVHDataset[0].ModifiedName, "PTV 60");
}

TEST_F(StoreOpening, WithoutCompanionOrWithABrokenDoseThePlanSumAsks) {
    const std::string sum = store.Write("333_Sum.txt", ReadText(kData + "plansum_S1.txt"));
    EXPECT_EQ(Open(sum, "Head").Step, LoadStep::AskDose);
    ws.CancelPendingLoad();
    EXPECT_EQ(ws.PDatasetCount(), 0);

    // A dose line that is no number leaves the dose unknown instead of stopping the command.
    store.Write("333_Sum.mod", "a\tNULL\nb\tNULL\nc\tNULL\nd\tNULL\ne\tsixty\nf\tPTV x\ng\t\n");
    ASSERT_EQ(Open(sum, "Head").Step, LoadStep::AskDose);
    ASSERT_EQ(ws.DoseEntered(50.0f).Step, LoadStep::Read);
    ReadAndFinish();
    ASSERT_EQ(ws.PDataset[0].DVHDatasetCount(), 2);
    EXPECT_FLOAT_EQ(ws.PDataset[0].DVHDataset[0].PrescribedDose, 50.0f);
    EXPECT_EQ(ws.PDataset[0].DVHDataset[0].ModifiedName, "PTV x");
}

TEST_F(StoreOpening, ACompanionOfAnotherSaveIsLeftOutAndTheStatusBarSaysSo) {
    // A save cut short between its two files: the companion of a plan of three structures
    // beside an export of two. Its dose, names and aliases stay unused.
    const std::string sum = store.Write("333_Sum.txt", ReadText(kData + "plansum_S1.txt"));
    store.Write("333_Sum.mod", std::string(kCompanion) + "2\tCord\r\n");
    ASSERT_EQ(Open(sum, "Head").Step, LoadStep::AskDose);
    ASSERT_EQ(host.status.size(), 1u);
    EXPECT_NE(host.status[0].find("333_Sum.mod"), std::string::npos);
    ASSERT_EQ(ws.DoseEntered(50.0f).Step, LoadStep::Read);
    ReadAndFinish();
    const PDatasetClass& plan = ws.PDataset[0];
    EXPECT_FLOAT_EQ(plan.DVHDataset.at(0).PrescribedDose, 50.0f);
    EXPECT_NE(plan.PlanName, "Boost sum");
    EXPECT_EQ(plan.DVHDataset[0].ModifiedName, "");

    // Shown again, the loaded plan keeps its names as well.
    EXPECT_EQ(Open(sum, "Head").Step, LoadStep::ShowExisting);
    EXPECT_EQ(host.status.size(), 2u);
    EXPECT_EQ(ws.PDataset[0].DVHDataset[0].ModifiedName, "");
}

TEST_F(StoreOpening, ACompanionThatCannotBeReadIsLeftOutAndTheStatusBarNamesIt) {
    const std::string plan = store.Write("111_H1.txt", ReadText(kData + "head_H1.txt"));
    const std::string companion = ChangeFileExt(plan, ".mod");
    const struct {
        const char* what;
        void (*make)(const std::string& path);
        const char* why;
    } cases[] = {
        {"a folder", [](const std::string& path) { std::filesystem::create_directory(path); },
         "is a folder, not a file"},
        {"a FIFO", [](const std::string& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); },
         "is no regular file (a pipe or a device)"},
        {"over 16 MB",
         [](const std::string& path) {
             std::ofstream(path) << "Patient Name\tBig\r\n";
             std::filesystem::resize_file(path, (std::size_t(16) << 20) + 1);
         },
         "is too large (over 16 MB)"},
    };
    for (const auto& unreadable : cases) {
        SCOPED_TRACE(unreadable.what);
        std::filesystem::remove_all(companion);
        unreadable.make(companion);
        ws.ResetLists(false);
        host.status.clear();
        ASSERT_EQ(Open(plan, "Head").Step, LoadStep::Read);
        ReadAndFinish();
        EXPECT_EQ(host.status, std::vector<std::string>{"111_H1.mod " + std::string(unreadable.why) +
                                                        ": the plan is opened without it."});
        ASSERT_EQ(ws.PDataset.at(0).DVHDatasetCount(), 2);
        EXPECT_EQ(ws.PDataset[0].DVHDataset[0].ModifiedName, "");
    }
}

TEST_F(StoreOpening, APlanKeepsWhatItsReadTookOfTheCompanionForItsSave) {
    // Its save replaces the companion only while it is still that: the bytes read, or none.
    const std::string plan = store.Write("111_H1.txt", ReadText(kData + "head_H1.txt"));
    const std::string companion = ChangeFileExt(plan, ".mod");
    const std::string own = "Patient Name\tNULL\r\nPatient ID\t111\r\nPlan Name\tHead\r\nPlan ID\tH1\r\n"
                            "Prescribed dose [cGy]\t7000\r\n0\tTarget\r\n1\t\r\n";
    const auto openFromStore = [&] {
        ws.ResetLists(false);
        EXPECT_EQ(Open(plan, "Head").Step, LoadStep::Read);
        ReadAndFinish();
        return ws.PDataset.at(0).CompanionRead;
    };
    using State = CompanionVersion::State;
    for (const std::string& text : {own, own + "2\tCord\r\n"}) {
        // Applied, or left out as another save's: either way its save may replace those bytes.
        store.Write("111_H1.mod", text);
        const CompanionVersion read = openFromStore();
        EXPECT_EQ(read.Took, State::Read);
        EXPECT_EQ(read.Version.Digest, platform::ContentDigest(text));
        EXPECT_EQ(read.Version.Identity.Size, static_cast<long long>(text.size()));
    }
    EXPECT_EQ(ws.PDataset[0].DVHDataset[0].ModifiedName, "");

    std::filesystem::remove(companion);
    EXPECT_EQ(openFromStore().Took, State::None);
    ASSERT_EQ(::mkfifo(companion.c_str(), 0600), 0);
    EXPECT_EQ(openFromStore().Took, State::Unreadable);

    // The export opened by itself, as File > Open takes it, reads no companion.
    std::filesystem::remove(companion);
    store.Write("111_H1.mod", own);
    ws.ResetLists(false);
    const auto taken = ws.TakeFiles({plan}, true);
    ASSERT_EQ(ws.BeginLoadByKey(taken.LastKey).Step, LoadStep::Read);
    ReadAndFinish();
    EXPECT_EQ(ws.PDataset.at(0).CompanionRead.Took, State::TookNone);
}

TEST_F(StoreOpening, AFolderNamedLikeNoListAsksForTheListAndStillAppliesTheCompanion) {
    const std::string sum = store.Write("333_Sum.txt", ReadText(kData + "plansum_S1.txt"));
    store.Write("333_Sum.mod", kCompanion);
    // The folder differs from the list "Head" only by case: no link.
    ASSERT_EQ(Open(sum, "head").Step, LoadStep::ChoosePlanList);
    EXPECT_EQ(ws.PDataset[0].PlanListIndex, -1);
    // The companion's dose spares the prompt after the choice.
    ASSERT_EQ(ws.PlanListChosen(1).Step, LoadStep::Read);
    ReadAndFinish();
    EXPECT_EQ(ws.PDataset[0].PlanListIndex, 1);
    EXPECT_FLOAT_EQ(ws.PDataset[0].DVHDataset[0].PrescribedDose, 60.0f);
    EXPECT_EQ(ws.PDataset[0].DVHDataset[0].ModifiedName, "PTV 60");
}

TEST_F(StoreOpening, AListedFileGetsAPlanButNoSecondEntryAndTheLaterEqualListWins) {
    PlanListNameClass twin;
    twin.Name = "Head";
    ws.PlanListName.push_back(twin);  // two lists named "Head"
    const std::string plan = store.Write("111_H1.txt", ReadText(kData + "head_H1.txt"));
    ws.TakeFiles({plan}, false);
    ASSERT_EQ(ws.OpenFileCount(), 1);
    bool listed = true;
    const LoadOrder order = Open(plan, "Head", &listed);
    EXPECT_FALSE(listed);
    ASSERT_EQ(order.Step, LoadStep::Read);
    EXPECT_EQ(ws.PDataset[0].PlanListIndex, 2);
    ReadAndFinish();
    EXPECT_EQ(ws.PDataset[0].DVHDatasetCount(), 2);
    EXPECT_EQ(ws.PDataset[0].DVHDataset[0].ModifiedName, "");  // no companion, no aliases
}

/// The entry of head_H1.txt as save `which` ("A" or "B") leaves it: the same patient, plan and
/// number of structures, other structure names and aliases, and a long first table, so that a
/// read takes a while.
std::pair<std::string, std::string> SaveOf(const std::string& which) {
    std::string text = ReadText(kData + "head_H1.txt");
    for (const std::string name : {"S - PTV", "S - Rectum"}) text.replace(text.find(name), name.size(), name + which);
    std::string rows;
    for (int i = 0; i < 20000; ++i) rows += std::to_string(3500 + i % 3000) + "\t100.0\t50.0\n";
    text.insert(text.find("3500\t100.0\t50.0"), rows);
    std::string companion = "Patient Name\tNULL\r\nPatient ID\tNULL\r\nPlan Name\tNULL\r\nPlan ID\tNULL\r\n"
                            "Prescribed dose [cGy]\t7000\r\n0\tTarget " + which + "\r\n1\tRectum " + which + "\r\n";
    return {text, companion};
}

/// Saves `save` into the entry of `path` as Save DVH does: both files as one commit.
bool SaveEntry(const std::string& path, const std::pair<std::string, std::string>& save) {
    const std::vector<std::string> targets = StoreCommitTargets(path);
    const auto links = platform::LinkHandling::Replace;
    return platform::AtomicWriteFiles({{targets[0], save.second, platform::FileAccess::Keep, links},
                                       {targets[1], save.first, platform::FileAccess::Keep, links}},
                                      StoreCommitOf(path))
        .ok;
}

/// Steps that the opener runs at its named points, each once, in order.
std::vector<std::pair<std::string, std::function<void()>>>& g_steps() {
    static std::vector<std::pair<std::string, std::function<void()>>> steps;
    return steps;
}
void RunStepAt(std::string_view point) {
    auto& steps = g_steps();
    if (steps.empty() || steps.front().first != point) return;
    const auto step = std::move(steps.front().second);
    steps.erase(steps.begin());
    step();
}

TEST_F(StoreOpening, OpensBesideAnotherProgramSavingTheEntryTakeExportAndCompanionOfOneSave) {
    const std::string path = store.Write("111_H1.txt", SaveOf("A").first);
    store.Write("111_H1.mod", SaveOf("A").second);
    const pid_t saver = ::fork();
    if (saver == 0) {
        // Another instance saves the entry again and again, as Save DVH does: both files as one
        // commit under the entry's lock.
        const auto links = platform::LinkHandling::Replace;
        const std::vector<std::string> targets = StoreCommitTargets(path);
        const auto a = SaveOf("A"), b = SaveOf("B");
        // A short pause between saves, as between a user's: an open waits for such a moment.
        for (long round = 0;; ++round) {
            const auto& save = round % 2 ? a : b;
            platform::AtomicWriteFiles({{targets[0], save.second, platform::FileAccess::Keep, links},
                                        {targets[1], save.first, platform::FileAccess::Keep, links}},
                                       StoreCommitOf(path));
            ::usleep(2000);
        }
    }
    ASSERT_GT(saver, 0);
    int withCompanion = 0;
    for (int open = 0; open < 200; ++open) {
        SCOPED_TRACE(open);
        ws.ResetLists(false);
        ASSERT_EQ(Open(path, "Head").Step, LoadStep::Read);
        ReadAndFinish();
        const PDatasetClass& plan = ws.PDataset.at(0);
        ASSERT_EQ(plan.DVHDatasetCount(), 2);
        const std::string which = plan.DVHDataset[0].Name.substr(plan.DVHDataset[0].Name.size() - 1);
        const std::string alias = plan.DVHDataset[0].ModifiedName;
        // Without a companion when saves kept coming between the two reads; never another save's.
        if (!alias.empty()) {
            ++withCompanion;
            EXPECT_EQ(alias, "Target " + which);
            EXPECT_EQ(plan.DVHDataset[1].ModifiedName, "Rectum " + which);
        }
    }
    ::kill(saver, SIGKILL);
    ::waitpid(saver, nullptr, 0);
    EXPECT_GT(withCompanion, 0);
}

TEST_F(StoreOpening, APlanShownAgainAfterItsExportWasSavedOverKeepsItsNames) {
    const std::string path = store.Write("111_H1.txt", SaveOf("A").first);
    store.Write("111_H1.mod", SaveOf("A").second);
    ASSERT_EQ(Open(path, "Head").Step, LoadStep::Read);
    ReadAndFinish();
    EXPECT_EQ(ws.PDataset.at(0).DVHDataset.at(0).ModifiedName, "Target A");

    // Another save puts B's pair in its place: the plan shown still holds A's curves.
    ASSERT_TRUE(SaveEntry(path, SaveOf("B")));
    host.status.clear();
    EXPECT_EQ(Open(path, "Head").Step, LoadStep::ShowExisting);
    EXPECT_EQ(ws.PDataset[0].DVHDataset[0].Name, "PTVA");
    EXPECT_EQ(ws.PDataset[0].DVHDataset[0].ModifiedName, "Target A");
    ASSERT_EQ(host.status.size(), 1u);
    EXPECT_EQ(host.status[0], "111_H1.txt changed since the plan was read: the plan is shown as it was read, without "
                              "the new companion. Press Reload to read it as it is now.");

    // A touch of the export, or the same bytes written over it, is no change of what was read.
    ASSERT_TRUE(SaveEntry(path, SaveOf("A")));
    host.status.clear();
    ws.PDataset[0].DVHDataset[0].ModifiedName.clear();
    EXPECT_EQ(Open(path, "Head").Step, LoadStep::ShowExisting);
    EXPECT_TRUE(host.status.empty()) << host.status[0];
    EXPECT_EQ(ws.PDataset[0].DVHDataset[0].ModifiedName, "Target A");

    // No memory to tell is never told as a change, which sends the user to a Reload that drops names.
    DvhHeaderFields header;
    const int code = ws.ReadDvhHeader(path, &header);
    int unchecked = 0;  // looks that found no memory and said so
    const auto showAgain = [&] {
        host.status.clear();
        try { ws.BeginLoadFromStore(path, code, header, "Head", nullptr); } catch (const std::bad_alloc&) {}
        return true;
    };
    FailingEachAllocation(showAgain, [&](bool, bool, long n) {
        for (const std::string& text : host.status) {
            EXPECT_FALSE(text.starts_with("111_H1.txt changed")) << n << ": " << text;
            unchecked += text.starts_with("There was not enough memory to tell whether 111_H1.txt changed");
        }
    });
    EXPECT_GT(unchecked, 0);
}

TEST_F(StoreOpening, AReloadTakesTheEntryAsItIsNowWithTheNamesOfThatRead) {
    ws.SaveFolder = store.Path();
    std::filesystem::create_directory(store.Path() + "/Head");
    const std::string path = store.Write("Head/111_H1.txt", SaveOf("A").first);
    store.Write("Head/111_H1.mod", SaveOf("A").second);
    ASSERT_EQ(Open(path, "Head").Step, LoadStep::Read);
    ReadAndFinish();
    const std::string key = ws.PDataset.at(0).Key;

    // Another plan with the same IDs is saved as the entry: its own plan name, curves, aliases.
    auto other = SaveOf("B");
    other.first.replace(other.first.find("Head IMRT - H1"), 14, "Head VMAT - H1");
    ASSERT_TRUE(SaveEntry(path, other));
    ASSERT_EQ(ws.BeginReload(key).Step, LoadStep::Read);
    ReadAndFinish();
    ASSERT_EQ(ws.PDatasetCount(), 1);
    const PDatasetClass& plan = ws.PDataset[0];
    EXPECT_EQ(plan.DVHDataset[0].Name, "PTVB");
    EXPECT_EQ(plan.DVHDataset[0].ModifiedName, "Target B");
    EXPECT_EQ(plan.PlanName, "Head VMAT");
    EXPECT_EQ(plan.PlanListIndex, 0);
    // The listed entry says what the file holds now.
    ASSERT_EQ(ws.OpenFileCount(), 1);
    EXPECT_EQ(ws.OpenFile[0].PlanName, "Head VMAT");
    EXPECT_EQ(ws.OpenFile[0].Key, plan.Key);
}

TEST_F(StoreOpening, AnOpenTakesNoCompanionOfASaveThatCameBetweenItsReads) {
    // A save runs whole between the open of the export and the read of the companion, at the
    // opener's own point: however fast the reads, each of these states is met.
    const std::string path = store.Write("111_H1.txt", SaveOf("A").first);
    const std::string companion = store.Write("111_H1.mod", SaveOf("A").second);
    platform::SetFaultHook(&RunStepAt);
    const auto opensOneSave = [&](const std::string& which) {
        ws.ResetLists(false);
        host.status.clear();
        ASSERT_EQ(Open(path, "Head").Step, LoadStep::Read);
        ReadAndFinish();
        EXPECT_TRUE(g_steps().empty());
        const PDatasetClass& plan = ws.PDataset.at(0);
        EXPECT_EQ(plan.DVHDataset.at(0).Name, "PTV" + which);
        EXPECT_EQ(plan.DVHDataset.at(0).ModifiedName, "Target " + which);
        EXPECT_TRUE(host.status.empty()) << host.status[0];
    };
    {
        SCOPED_TRACE("a save that renamed both files: the export opened is no longer the entry's");
        g_steps() = {{"store entry: export opened", [&] { ASSERT_TRUE(SaveEntry(path, SaveOf("B"))); }}};
        opensOneSave("B");
    }
    {
        SCOPED_TRACE("a save cut short between its renames: its record is there");
        g_steps() = {{"store entry: export opened", [&] {
                          EXPECT_TRUE(KilledAt("atomic write: one of several renamed",
                                               [&] { SaveEntry(path, SaveOf("A")); }));
                      }}};
        opensOneSave("A");
    }
    {
        SCOPED_TRACE("a save that renamed the companion and then put the old one back");
        g_steps() = {{"store entry: export opened",
                      [&] {
                          EXPECT_TRUE(KilledAt("atomic write: one of several renamed",
                                               [&] { SaveEntry(path, SaveOf("B")); }));
                      }},
                     {"store entry: companion read", [&] {
                          // What the save's rollback does when its last rename fails: the old
                          // companion back under its name, and the record gone.
                          ASSERT_TRUE(platform::AtomicWriteFile(companion, SaveOf("A").second));
                          std::filesystem::remove(StoreCommitOf(path).Path);
                          const auto folder = std::filesystem::path(path).parent_path();
                          for (const auto& file : std::filesystem::directory_iterator(folder))
                              if (file.path().filename().string().find(".tmp-") != std::string::npos)
                                  std::filesystem::remove(file.path());
                      }}};
        opensOneSave("A");
    }
    platform::SetFaultHook(nullptr);
}

TEST_F(StoreOpening, ASaveCutShortOpensInACopyOfTheStoreAsItsOwnPairOrWithoutItsCompanion) {
    const std::string path = store.Write("111_H1.txt", SaveOf("A").first);
    store.Write("111_H1.mod", SaveOf("A").second);
    EXPECT_TRUE(KilledAt("atomic write: one of several renamed", [&] { SaveEntry(path, SaveOf("B")); }));
    // A backup of the store restored elsewhere: the same files, numbered anew.
    const auto copyStoreInto = [&](const dvhtest::TempFolder& copy) {
        const std::string command = "cp -a '" + store.Path() + "/.' '" + copy.Path() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
    };
    const auto opened = [&](const std::string& entry) {
        ws.ResetLists(false);
        host.status.clear();
        EXPECT_EQ(Open(entry, "Head").Step, LoadStep::Read);
        ReadAndFinish();
        return ws.PDataset.at(0).DVHDataset.at(0);
    };
    {
        const dvhtest::TempFolder copy("copy");
        copyStoreInto(copy);
        const DVHDatasetClass target = opened(copy.Path() + "/111_H1.txt");
        EXPECT_EQ(target.Name, "PTVB");
        EXPECT_EQ(target.ModifiedName, "Target B");
        EXPECT_TRUE(host.status.empty()) << host.status[0];
    }
    {
        const dvhtest::TempFolder copy("copy-without-export");
        copyStoreInto(copy);
        for (const auto& file : std::filesystem::directory_iterator(copy.Path()))
            if (file.path().filename().string().rfind("111_H1.txt.tmp-", 0) == 0) std::filesystem::remove(file);
        const DVHDatasetClass target = opened(copy.Path() + "/111_H1.txt");
        EXPECT_EQ(target.Name, "PTVA");
        EXPECT_EQ(target.ModifiedName, "");
        EXPECT_EQ(host.status, std::vector<std::string>{"An earlier save of 111_H1.txt could not be completed (only "
                                                        "part of it was written: the new 111_H1.txt of that save is "
                                                        "missing): the plan is opened without its companion."});
    }
}

TEST_F(StoreOpening, ASaveCutShortIsNeverTakenForPartNewNorDroppedForWantOfMemoryToReadItsFiles) {
    const std::string path = store.Write("111_H1.txt", SaveOf("A").first);
    store.Write("111_H1.mod", SaveOf("A").second);
    EXPECT_TRUE(KilledAt("atomic write: one of several renamed", [&] { SaveEntry(path, SaveOf("B")); }));
    using State = platform::CommitEnd::State;
    // A temporary that cannot be read whole may still be the save's: the end waits for a read.
    const long runs = FailingEachAllocation(
        [&]() -> std::optional<State> {
            try {
                return FinishInterruptedStoreSave(path).state;
            } catch (const std::bad_alloc&) {
                return std::nullopt;
            }
        },
        [&](const std::optional<State>& state, bool, long n) {
            SCOPED_TRACE(n);
            if (!state) return;
            // None is left only by a run before that completed the save.
            if (*state == State::NoRecord) {
                EXPECT_EQ(ReadText(path), SaveOf("B").first);
                EXPECT_FALSE(std::filesystem::exists(StoreCommitOf(path).Path));
            } else {
                EXPECT_TRUE(*state == State::Unfinished || *state == State::Completed) << int(*state);
            }
        });
    EXPECT_GT(runs, 1);
    EXPECT_EQ(ReadText(path), SaveOf("B").first);
    EXPECT_EQ(ReadText(ChangeFileExt(path, ".mod")), SaveOf("B").second);
    EXPECT_FALSE(std::filesystem::exists(StoreCommitOf(path).Path));
}

TEST_F(StoreOpening, ARecordCutShortOpensWithoutItsCompanionRefusesSavesAndIsLeftAsItIs) {
    const std::string path = store.Write("111_H1.txt", SaveOf("A").first);
    store.Write("111_H1.mod", SaveOf("A").second);
    // B's companion has its name; B's export waits in its temporary.
    EXPECT_TRUE(KilledAt("atomic write: one of several renamed", [&] { SaveEntry(path, SaveOf("B")); }));
    const std::string recordPath = StoreCommitOf(path).Path;
    const std::string record = ReadText(recordPath);
    StoreSave save;
    save.Companion = SaveOf("A").second;
    save.Table = SaveOf("A").first;
    const std::string why = "An earlier save of 111_H1.txt could not be completed (its record \"111_H1.txt.commit\" "
                            "is cut short or damaged: which of its files are new cannot be told)";
    // The same record as an older version wrote it: its temporaries by device and inode.
    std::vector<std::string> fields;
    for (std::size_t at = 0; at < record.size(); at = record.find('\0', at) + 1)
        fields.push_back(record.substr(at, record.find('\0', at) - at));
    ASSERT_EQ(fields.size(), 10u);
    std::string older = std::string("Tessaray commit record 1") + '\0';
    for (const std::size_t file : {2u, 6u}) {
        // The companion's temporary has its target's name now; the export's waits under its own.
        const std::string folder = store.Path() + "/";
        struct stat st {};
        if (::stat((folder + fields[file]).c_str(), &st) != 0) {
            ASSERT_EQ(::stat((folder + fields[file + 1]).c_str(), &st), 0);
        }
        for (const std::string& field : {fields[file], fields[file + 1], std::to_string(st.st_dev),
                                         std::to_string(st.st_ino)})
            older += field + '\0';
    }
    // A copy that ran out of room, to nothing or anywhere in its first field too, a failing
    // stick's zeros, a byte changed; a record of the older version cut short; and another
    // program's file at its name, which nothing tells apart from a damaged record.
    std::vector<std::string> damaged = {std::string(record.size(), '\0'), "X" + record.substr(1), "notes of my own"};
    for (const std::string& whole : {record, older})
        for (std::size_t length = 0; length < whole.size(); ++length) damaged.push_back(whole.substr(0, length));
    for (const std::string& cut : damaged) {
        SCOPED_TRACE(testing::PrintToString(cut));
        std::ofstream(recordPath, std::ios::binary | std::ios::trunc) << cut;
        const StoreEntryRead read = ReadStoreEntry(path);
        EXPECT_TRUE(read.Export);
        EXPECT_FALSE(read.Companion);
        EXPECT_EQ(read.Problem, why + ": the plan is opened without its companion.");
        const platform::WriteResult saved = SaveStoreEntry(path, save);
        EXPECT_FALSE(saved.ok);
        EXPECT_EQ(saved.message, why + ".");
        EXPECT_EQ(ReadText(recordPath), cut);
    }
    EXPECT_EQ(ReadText(path), SaveOf("A").first);
    EXPECT_EQ(ReadText(ChangeFileExt(path, ".mod")), SaveOf("B").second);
    // Whole again, as the older version wrote it too, it ends its save.
    std::ofstream(recordPath, std::ios::binary | std::ios::trunc) << older;
    EXPECT_EQ(FinishInterruptedStoreSave(path).state, platform::CommitEnd::State::Completed);
    EXPECT_EQ(ReadText(path), SaveOf("B").first);
}

/// What the window is told of the program's waits.
struct RecordedWaits : platform::WaitWatcher {
    std::vector<std::string> begun;
    int pauses = 0, ends = 0;
    void WaitBegins(const std::string& lockPath) override { begun.push_back(lockPath); }
    void StillWaiting() override { ++pauses; }
    void WaitEnds() override { ++ends; }
};

TEST_F(StoreOpening, AnOpenThatWaitsForAnotherSaveTellsTheWindowFromItsFirstPauseToItsEnd) {
    const std::string path = store.Write("111_H1.txt", SaveOf("A").first);
    store.Write("111_H1.mod", SaveOf("A").second);
    // Another program's save, recorded and holding the entry's lock throughout.
    EXPECT_TRUE(KilledAt("atomic write: one of several renamed", [&] { SaveEntry(path, SaveOf("B")); }));
    RecordedWaits waits;
    platform::SetWaitWatcher(&waits);
    {
        const LockHeldElsewhere other(StoreCommitOf(path).Lock);
        ASSERT_EQ(Open(path, "Head").Step, LoadStep::Read);
    }
    platform::SetWaitWatcher(nullptr);
    EXPECT_EQ(waits.begun, std::vector<std::string>{StoreCommitOf(path).Lock});
    EXPECT_GT(waits.pauses, 0);
    EXPECT_EQ(waits.ends, 1);
    EXPECT_EQ(host.status, std::vector<std::string>{"Another save of 111_H1.txt is under way: the plan is opened "
                                                    "without its companion."});
    // Nothing waits where nothing is under way.
    ws.ResetLists(false);
    platform::SetWaitWatcher(&waits);
    ASSERT_EQ(Open(path, "Head").Step, LoadStep::Read);
    platform::SetWaitWatcher(nullptr);
    EXPECT_EQ(waits.begun.size(), 1u);
}

}  // namespace
