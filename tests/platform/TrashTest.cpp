// Moving files to the desktop trash: exactly the named file, restorable, never deleted.
#include "platform/Trash.h"
#include "platform/Paths.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

class TrashTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("XDG_DATA_HOME");
        m_oldXdg = old ? old : "";
        m_hadXdg = old != nullptr;
        setenv("XDG_DATA_HOME", (m_data.Path() + "share").c_str(), 1);
    }
    void TearDown() override {
        if (m_hadXdg)
            setenv("XDG_DATA_HOME", m_oldXdg.c_str(), 1);
        else
            unsetenv("XDG_DATA_HOME");
    }
    TempFolder m_data;
    TempFolder m_files;
    std::string m_oldXdg;
    bool m_hadXdg = false;
};

}  // namespace

TEST_F(TrashTest, MovesTheFileAndRecordsWhereItCameFrom) {
    const std::string path = m_files.Write("plan 1;other.txt", "dvh");
    ASSERT_TRUE(platform::MoveToTrash(path));
    EXPECT_FALSE(platform::FileExists(path));
    const std::string trash = platform::TrashFolder();
    EXPECT_EQ(trash, m_data.Path() + "share/Trash");
    EXPECT_TRUE(platform::FileExists(trash + "/files/plan 1;other.txt"));
    std::ifstream info(trash + "/info/plan 1;other.txt.trashinfo");
    std::string text((std::istreambuf_iterator<char>(info)), {});
    EXPECT_NE(text.find("[Trash Info]"), std::string::npos);
    EXPECT_NE(text.find("plan%201%3Bother.txt"), std::string::npos);
}

TEST_F(TrashTest, SeparatorsInAPathNeverReachOtherFiles) {
    const std::string a = m_files.Write("a.txt", "a");
    const std::string b = m_files.Write("b.txt", "b");
    // A name that looks like two paths joined by ';' names no file: nothing moves.
    EXPECT_FALSE(platform::MoveToTrash(a + ";" + b));
    EXPECT_TRUE(platform::FileExists(a));
    EXPECT_TRUE(platform::FileExists(b));
}

TEST_F(TrashTest, SameNameTwiceKeepsBothAndMissingFilesFail) {
    const std::string first = m_files.Write("x.txt", "1");
    ASSERT_TRUE(platform::MoveToTrash(first));
    const std::string second = m_files.Write("x.txt", "2");
    ASSERT_TRUE(platform::MoveToTrash(second));
    const std::string trash = platform::TrashFolder();
    EXPECT_TRUE(platform::FileExists(trash + "/files/x.txt"));
    EXPECT_TRUE(platform::FileExists(trash + "/files/x.txt.2"));
    EXPECT_FALSE(platform::MoveToTrash(m_files.File("never.txt")));
    EXPECT_FALSE(platform::MoveToTrash(m_files.Path()));  // folders are not taken
}
