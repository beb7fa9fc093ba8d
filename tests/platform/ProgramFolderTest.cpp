// Where settings and plan lists live: never in a build folder that a rebuild or `make clean`
// would take with it; and the sharing of the folders the program makes.
#include "platform/Paths.h"

#include "GroupAndMode.h"
#include "TempFolder.h"
#include "UserMask.h"
#include "../support/OtherUser.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

TEST(ProgramFolder, ChosenByTheEnvironmentOrAPortableInstall) {
    TempFolder build;     // an executable's folder without settings, as a build folder is
    TempFolder portable;  // one that already holds the settings
    portable.Write("Tessaray.ini", "[PlanList]\nCount=0\n");
    const struct {
        std::string tessarayHome, executableFolder, xdgConfigHome, home, expected;
    } cases[] = {
        {"/data/tess", portable.Path(), "/cfg", "/home/u", "/data/tess/"},
        {"", portable.Path(), "/cfg", "/home/u", portable.Path()},
        {"", build.Path(), "/cfg/", "/home/u", "/cfg/Tessaray/"},
        {"", build.Path(), "", "/home/u", "/home/u/.config/Tessaray/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(platform::ChooseProgramFolder(c.tessarayHome, c.executableFolder,
                                                c.xdgConfigHome, c.home),
                  c.expected);
    }
}

TEST(ProgramFolder, AFolderMadeTakesTheSharingOfTheFolderItIsMadeIn) {
    TempFolder dir;
    // A folder that its group shares, as `chgrp` and `chmod g+ws` leave it: every level made
    // in it keeps its group, the group's write permission and the setgid bit. Only root may
    // give it a group that is not the maker's own.
    const std::string shared = dir.File("shared");
    ASSERT_EQ(::mkdir(shared.c_str(), 0700), 0);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(shared.c_str(), static_cast<uid_t>(-1), 47100), 0);
    }
    ASSERT_EQ(::chmod(shared.c_str(), 02770), 0);
    // One that no group may write in: the user's umask decides, as for any folder.
    const std::string own = dir.File("own");
    ASSERT_EQ(::mkdir(own.c_str(), 0755), 0);
    {
        const UserMask masked(027);
        EXPECT_TRUE(platform::MakeDirectories(shared + "/Head/2024/"));
        EXPECT_TRUE(platform::MakeDirectories(own + "/Head"));
    }

    struct stat above {};
    ASSERT_EQ(::stat(shared.c_str(), &above), 0);
    for (const std::string& made : {shared + "/Head", shared + "/Head/2024"}) {
        SCOPED_TRACE(made);
        struct stat st {};
        ASSERT_EQ(::stat(made.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 02770u);
        EXPECT_EQ(st.st_gid, above.st_gid);
    }
    struct stat st {};
    ASSERT_EQ(::stat((own + "/Head").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0750u);
}

TEST(ProgramFolder, AFolderMadeWhereAGroupMayWriteWithoutTheSetgidBitIsAsClosedAsTheUmaskAsks) {
    TempFolder dir;
    // Without the setgid bit the folder gives its files no group of its own: what its maker
    // makes in it is no group's to share, and the umask alone decides. Root may give the parent
    // any group.
    const std::string team = dir.File("team");
    ASSERT_EQ(::mkdir(team.c_str(), 0700), 0);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(team.c_str(), static_cast<uid_t>(-1), 47100), 0);
    }
    ASSERT_EQ(::chmod(team.c_str(), 0770), 0);
    {
        const UserMask masked(027);
        EXPECT_TRUE(platform::MakeDirectories(team + "/Head/2024"));
    }
    EXPECT_EQ(GroupAndMode(team + "/Head"), std::to_string(::getegid()) + " 0750");
    EXPECT_EQ(GroupAndMode(team + "/Head/2024"), std::to_string(::getegid()) + " 0750");

    // A user whose own group is 47101, and who is a member of 47102 too, makes folders: in a
    // folder that everyone may write (1777) of a group they are no member of, in one of their
    // other group that this group may write, and in one that group shares with the setgid bit.
    // Only the last is shared, with the group it shares.
    constexpr uid_t kMaker = 47101;
    constexpr gid_t kOtherGroup = 47102;
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
    if (const std::string why = otheruser::WhyCannotActAs({kMaker}, kOtherGroup, dir.Path()); !why.empty())
        GTEST_SKIP() << why;
    const std::string open = dir.File("open"), theirs = dir.File("theirs"), shared = dir.File("shared");
    ASSERT_EQ(::mkdir(open.c_str(), 0700), 0);
    ASSERT_EQ(::chown(open.c_str(), 0, 47100), 0);
    ASSERT_EQ(::chmod(open.c_str(), 01777), 0);
    for (const std::string& folder : {theirs, shared}) {
        ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
        ASSERT_EQ(::chown(folder.c_str(), kMaker, kOtherGroup), 0);
    }
    ASSERT_EQ(::chmod(theirs.c_str(), 0775), 0);
    ASSERT_EQ(::chmod(shared.c_str(), 02775), 0);
    const std::string made = otheruser::RunAs(kMaker, kOtherGroup, [&] {
        ::umask(022);
        const bool all = platform::MakeDirectories(open + "/Head") && platform::MakeDirectories(theirs + "/Head") &&
                         platform::MakeDirectories(shared + "/Head");
        return all ? std::string() : std::string("not made: ") + std::strerror(errno);
    });
    ASSERT_EQ(made, "");
    EXPECT_EQ(GroupAndMode(open + "/Head"), std::to_string(kMaker) + " 0755");
    EXPECT_EQ(GroupAndMode(theirs + "/Head"), std::to_string(kMaker) + " 0755");
    EXPECT_EQ(GroupAndMode(shared + "/Head"), std::to_string(kOtherGroup) + " 2775");
}
