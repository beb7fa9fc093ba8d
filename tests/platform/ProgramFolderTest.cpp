// Where settings and plan lists live: never in a build folder that a rebuild or `make clean`
// would take with it.
#include "platform/Paths.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

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
