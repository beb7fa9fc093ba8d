// Plan lists under kills and concurrent sessions: a child process is killed at a named step, or
// two processes write one register, and the next start must find every list.
#include "planlist/PlanListCommands.h"
#include "planlist/PlanListStartup.h"

#include "PlanListTestSupport.h"
#include "../support/KilledAt.h"
#include "dvh/SettingsFile.h"
#include "planlist/PlanListFile.h"
#include "planlist/PlanListRegister.h"
#include "platform/AtomicWrite.h"
#include "platform/FaultPoint.h"
#include "platform/FileLock.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

std::vector<std::string> Register(const std::string& folder) {
    platform::IniFile ini(SettingsFilePath(folder));
    ini.Load();
    return ReadPlanListRegister(ini);
}

std::vector<std::string> Sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

// The parent's side of the two-process test: the thread that waits for the lock says so.
std::mutex g_mutex;
std::condition_variable g_changed;
bool g_waitingForLock = false;

void NoteLockWait(std::string_view point) {
    if (point != "lock busy") return;
    std::lock_guard<std::mutex> hold(g_mutex);
    g_waitingForLock = true;
    g_changed.notify_all();
}

int g_toParent = -1, g_toChild = -1;

// The child's side: it stops with the register read (and the lock held) until told to go on.
void PauseAfterRead(std::string_view point) {
    if (point != "register read") return;
    char c = 1;
    if (::write(g_toParent, &c, 1) != 1 || ::read(g_toChild, &c, 1) != 1) ::_exit(3);
}

}  // namespace

TEST(PlanListCrash, AKillAtAnyStepOfARenameLeavesTheListFoundAtTheNextStart) {
    struct Step {
        const char* point;
        const char* nameAfter;
    };
    for (const Step step : {Step{"rename: new name registered", "Old"}, Step{"rename: file renamed", "New"},
                            Step{"nowhere: the rename ends", "New"}}) {
        SCOPED_TRACE(step.point);
        TempFolder dir;
        Workspace ws;
        for (const char* name : {"Other", "Old"}) {
            const int i = NewPlanList(ws, dir.Path(), name).index;
            ws.PlanListName[i].IndexData[0].Name = std::string("PTV of ") + name;
            ASSERT_TRUE(SavePlanList(ws, dir.Path(), i).ok());
        }
        const bool killed = KilledAt(step.point, [&] { RenamePlanList(ws, dir.Path(), 1, "New"); });
        EXPECT_EQ(killed, std::string(step.point).rfind("rename", 0) == 0);

        Workspace next;
        LoadSettingsAndPlanLists(next, dir.Path());
        ASSERT_EQ(next.PlanListNameCount(), 2);
        const int renamed = next.PlanListName[0].Name == "Other" ? 1 : 0;
        EXPECT_EQ(next.PlanListName[renamed].Name, step.nameAfter);
        EXPECT_EQ(next.PlanListName[renamed].IndexData.at(0).Name, "PTV of Old");
        EXPECT_EQ(Sorted(Register(dir.Path())), Sorted({"Other", step.nameAfter}));
    }
}

TEST(PlanListCrash, TwoProcessesRegisteringAtOnceKeepBothLists) {
    TempFolder dir;
    dir.Write("Tessaray.ini", "[PlanList]\r\nCount=1\r\nListName1=First\r\n");
    int toParent[2], toChild[2];
    ASSERT_EQ(::pipe(toParent), 0);
    ASSERT_EQ(::pipe(toChild), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        g_toParent = toParent[1];
        g_toChild = toChild[0];
        platform::SetFaultHook(&PauseAfterRead);
        ::_exit(RegisterPlanList(dir.Path(), "FromChild").ok ? 0 : 1);
    }
    char c = 0;
    ASSERT_EQ(::read(toParent[0], &c, 1), 1);  // the child has read the register

    // This process registers its own list meanwhile: it must wait for the child's write, never
    // write first and then be overwritten by the child's older picture of the register.
    platform::SetFaultHook(&NoteLockWait);
    bool done = false;
    std::thread other([&] {
        RegisterPlanList(dir.Path(), "FromParent");
        std::lock_guard<std::mutex> hold(g_mutex);
        done = true;
        g_changed.notify_all();
    });
    {
        std::unique_lock<std::mutex> hold(g_mutex);
        g_changed.wait(hold, [&] { return done || g_waitingForLock; });
    }
    ASSERT_EQ(::write(toChild[1], &c, 1), 1);  // the child may write now
    other.join();
    platform::SetFaultHook(nullptr);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    for (int fd : {toParent[0], toParent[1], toChild[0], toChild[1]}) ::close(fd);
    EXPECT_EQ(Sorted(Register(dir.Path())), Sorted({"First", "FromChild", "FromParent"}));
}

TEST(PlanListCrash, AKilledSaveLeavesNoWritableListAndItsTemporaryGoesAtTheNextStart) {
    TempFolder dir;
    Workspace ws;
    const int i = NewPlanList(ws, dir.Path(), "Head").index;
    ws.PlanListName[i].IndexData[0].Name = "PTV";
    ASSERT_TRUE(SavePlanList(ws, dir.Path(), i).ok());
    const std::string before = ReadFileText(PlanListFilePath(dir.Path(), "Head"));

    // A save killed with its new text written beside the list, before the rename.
    ws.PlanListName[i].IndexData[0].Name = "Changed";
    ASSERT_TRUE(KilledAt("atomic write: temporary written", [&] { SavePlanList(ws, dir.Path(), i); }));
    EXPECT_TRUE(platform::IsReadOnly(PlanListFilePath(dir.Path(), "Head")));
    std::string dead;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        if (entry.path().filename().string().rfind("Head.lst.tmp-", 0) == 0) dead = entry.path();
    ASSERT_FALSE(dead.empty());
    // One that a live writer still holds locked, and files that only look like temporaries:
    // a user's copy and another program's, named for no file of ours.
    const std::string live = dir.Write("Tessaray.ini.tmp-Zz99yY", "being written");
    const int liveFd = ::open(live.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(liveFd, LOCK_EX), 0);
    const std::string foreign = dir.Write("thesis.tmp-backup", "not ours");
    const std::string foreignToo = dir.Write("export.csv.tmp-a1B2c3", "not ours either");

    Workspace next;
    LoadSettingsAndPlanLists(next, dir.Path());
    EXPECT_FALSE(platform::FileExists(dead));
    EXPECT_TRUE(platform::FileExists(live));
    EXPECT_TRUE(platform::FileExists(foreign));
    EXPECT_TRUE(platform::FileExists(foreignToo));
    ::close(liveFd);
    ASSERT_EQ(next.PlanListNameCount(), 1);
    EXPECT_TRUE(platform::IsReadOnly(PlanListFilePath(dir.Path(), "Head")));
    EXPECT_EQ(ReadFileText(PlanListFilePath(dir.Path(), "Head")), before);
}

TEST(PlanListCrash, ASettingsLockWhoseMakingWasKilledAfterItsNameLeavesATemporaryThatTheNextStartRemoves) {
    TempFolder dir;
    // The first change of the settings, killed once their lock file had its name and before its
    // temporary went; no settings file was written.
    const std::string lockPath = SettingsLockPath(SettingsFilePath(dir.Path()));
    ASSERT_TRUE(KilledAt("new file: named, its temporary not yet gone",
                         [&] { const platform::FileLock lock(lockPath); }));
    const auto temporaries = [&] {
        int found = 0;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
            if (entry.path().filename().string().rfind("Tessaray.ini.lock.tmp-", 0) == 0) ++found;
        return found;
    };
    ASSERT_EQ(temporaries(), 1);

    Workspace next;
    LoadSettingsAndPlanLists(next, dir.Path());
    EXPECT_EQ(temporaries(), 0);
    EXPECT_TRUE(platform::FileExists(lockPath));
}
