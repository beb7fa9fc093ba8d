// Atomic replacement: a failed write leaves the old file whole and says why.
#include "platform/AtomicWrite.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
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
