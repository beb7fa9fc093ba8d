// Enumerating the saved-DVH store: sub-folders and the ".txt" files in one of them.
#include "import/SavedDvhStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

TEST(SavedDvhStore, ListsSubFoldersAndExactlyTheTxtFiles) {
    const fs::path root = fs::temp_directory_path() / ("tessaray-store-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "Prostate" / "nested.txt");  // a folder named like a file
    fs::create_directories(root / "Head");
    for (const char* name : {"123_P1.txt", "123_P1.mod", "UPPER.TXT", "x.txt.bak", "notxt",
                             "a.b.txt", ".txt"})
        std::ofstream(root / "Prostate" / name) << "x";
    std::ofstream(root / "loose.txt") << "x";
    // A FIFO named like an export is no file to read: listing it would block the program.
    ASSERT_EQ(::mkfifo((root / "Prostate" / "fifo.txt").c_str(), 0600), 0);

    EXPECT_EQ(StoreSubFolders(root.string()), (std::vector<std::string>{"Head", "Prostate"}));
    const auto files = StoreTextFiles((root / "Prostate").string());
    std::vector<std::string> names;
    for (const auto& f : files) names.push_back(fs::path(f).filename().string());
    EXPECT_EQ(names, (std::vector<std::string>{".txt", "123_P1.txt", "a.b.txt"}));
    EXPECT_EQ(files[1], (root / "Prostate" / "123_P1.txt").string());
    // Files named like the records of interrupted saves that are none stay as they are, an empty
    // one that a full disk left too.
    for (const std::string text : {"a user's notes\n", ""}) {
        for (const char* name : {"notes.commit", "123_P1.txt.commit"}) {
            std::ofstream(root / "Prostate" / name) << text;
            StoreTextFiles((root / "Prostate").string());
            std::ifstream in(root / "Prostate" / name);
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), text) << name;
        }
    }

    EXPECT_TRUE(StoreSubFolders((root / "missing").string()).empty());
    EXPECT_TRUE(StoreTextFiles("").empty());
    fs::remove_all(root);
}

}  // namespace
