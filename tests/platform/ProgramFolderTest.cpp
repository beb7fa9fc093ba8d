// Where settings and plan lists live: never in a build folder that a rebuild or `make clean`
// would take with it; and the sharing of the folders the program makes.
#include "platform/Paths.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

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
    const mode_t userMask = ::umask(027);
    EXPECT_TRUE(platform::MakeDirectories(shared + "/Head/2024/"));
    EXPECT_TRUE(platform::MakeDirectories(own + "/Head"));
    ::umask(userMask);

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
