// Atomic replacement: a failed write leaves the old file whole and says why.
#include "platform/AtomicWrite.h"
#include "platform/FaultPoint.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

TEST(AtomicWrite, ReplacesTheFileAndKeepsItsPermissions) {
    TempFolder dir;
    const std::string path = dir.Write("list.lst", "old");
    chmod(path.c_str(), 0640);
    ASSERT_TRUE(platform::AtomicWriteFile(path, "new content").ok);
    EXPECT_EQ(dir.Read("list.lst"), "new content");
    struct stat st {};
    stat(path.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()), 1);
}

TEST(AtomicWrite, AFailedWriteLeavesTheOldFileAndReports) {
    TempFolder dir;
    // The target's folder does not exist: nothing can be written.
    const auto noFolder = platform::AtomicWriteFile(dir.File("gone/list.lst"), "x");
    EXPECT_FALSE(noFolder.ok);
    EXPECT_NE(noFolder.message.find("gone/list.lst"), std::string::npos);

    // A target that is a folder cannot be replaced; the folder and its content survive.
    std::filesystem::create_directory(dir.File("target"));
    dir.Write("target/inside", "keep");
    EXPECT_FALSE(platform::AtomicWriteFile(dir.File("target"), "x").ok);
    EXPECT_EQ(dir.Read("target/inside"), "keep");

    if (geteuid() != 0) {
        const std::string path = dir.Write("Tessaray.ini", "[Option]\nAutoScan=1\n");
        chmod(dir.Path().c_str(), 0555);  // folder not writable
        platform::IniFile ini(path);
        ini.Load();
        ini.WriteInteger("Option", "AutoScan", 2);
        EXPECT_FALSE(ini.Save().ok);
        chmod(dir.Path().c_str(), 0755);
        EXPECT_EQ(dir.Read("Tessaray.ini"), "[Option]\nAutoScan=1\n");
    }
}

TEST(AtomicWrite, ReadWholeFileRefusesFoldersAndOversizedFiles) {
    TempFolder dir;
    std::string text;
    dir.Write("a.txt", std::string(100, 'x'));
    EXPECT_TRUE(platform::ReadWholeFile(dir.File("a.txt"), text));
    EXPECT_EQ(text.size(), 100u);
    EXPECT_FALSE(platform::ReadWholeFile(dir.File("a.txt"), text, 99));
    EXPECT_FALSE(platform::ReadWholeFile(dir.Path(), text));
    EXPECT_FALSE(platform::ReadWholeFile(dir.File("missing"), text));
}

TEST(AtomicWrite, ANewFileNeverReplacesOneThatAppearedMeanwhile) {
    TempFolder dir;
    const std::string path = dir.File("export.lst");
    ASSERT_TRUE(platform::WriteNewFile(path, "first").ok);
    EXPECT_EQ(dir.Read("export.lst"), "first");
    // A file that exists by the time of the write stays as it was, and no temporary is left.
    const platform::WriteResult second = platform::WriteNewFile(path, "second");
    EXPECT_FALSE(second.ok);
    EXPECT_NE(second.message.find("export.lst"), std::string::npos);
    EXPECT_EQ(dir.Read("export.lst"), "first");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()), 1);
}

TEST(AtomicWrite, AFileReachedThroughALinkIsReplacedWhereItLies) {
    // A settings file or list linked from a shared folder stays linked: the write replaces the
    // file the link points to, not the link.
    TempFolder dir;
    const std::string shared = dir.Write("shared.ini", "old");
    const std::string link = dir.File("Tessaray.ini");
    ASSERT_EQ(symlink(shared.c_str(), link.c_str()), 0);
    ASSERT_TRUE(platform::AtomicWriteFile(link, "new").ok);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(dir.Read("shared.ini"), "new");
}

namespace {
std::string g_folder;
int g_removedMeanwhile = -1;
}  // namespace

TEST(AtomicWrite, AWriteClearsTheTemporariesOfKilledWritesButNeverOneBeingWritten) {
    TempFolder dir;
    const std::string dead = dir.Write("plan.txt.tmp-Ab12Cd", "left by a killed save");
    const std::string live = dir.Write("plan.mod.tmp-Zz99yY", "being written");
    const int liveFd = ::open(live.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(liveFd, LOCK_EX), 0);
    const std::string foreign = dir.Write("notes.tmp-later", "not ours");

    // A clean-up while this write waits between its temporary and the rename leaves it alone.
    g_folder = dir.Path();
    platform::SetFaultHook([](std::string_view point) {
        if (point == "atomic write: temporary written") g_removedMeanwhile = platform::RemoveStaleTemporaries(g_folder);
    });
    const platform::WriteResult written = platform::AtomicWriteFile(dir.File("export.txt"), "rows");
    platform::SetFaultHook(nullptr);
    EXPECT_TRUE(written.ok) << written.message;
    EXPECT_EQ(g_removedMeanwhile, 0);
    EXPECT_EQ(dir.Read("export.txt"), "rows");
    EXPECT_FALSE(std::filesystem::exists(dead));
    EXPECT_TRUE(std::filesystem::exists(live));
    EXPECT_TRUE(std::filesystem::exists(foreign));
    ::close(liveFd);
}

TEST(AtomicWrite, FilesWrittenTogetherAreAllReplacedOrNoneIs) {
    TempFolder dir;
    dir.Write("a.mod", "old a");
    // The second cannot take its name (a folder has it): the first gets its old text back.
    std::filesystem::create_directory(dir.File("b.txt"));
    EXPECT_FALSE(platform::AtomicWriteFiles({{dir.File("a.mod"), "new a"}, {dir.File("b.txt"), "new b"}}).ok);
    EXPECT_EQ(dir.Read("a.mod"), "old a");
    std::filesystem::remove(dir.File("b.txt"));
    ASSERT_TRUE(platform::AtomicWriteFiles({{dir.File("a.mod"), "new a"}, {dir.File("b.txt"), "new b"}}).ok);
    EXPECT_EQ(dir.Read("a.mod"), "new a");
    EXPECT_EQ(dir.Read("b.txt"), "new b");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()), 2);
}
