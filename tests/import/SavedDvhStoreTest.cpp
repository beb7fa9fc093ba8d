// The saved-DVH store: its sub-folders and the ".txt" files in one of them, and what a save
// into one of its entries is told before it writes.
#include "import/SavedDvhStore.h"

#include "dvh/StoreEntry.h"
#include "../support/RefusedMemory.h"

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

TEST(SavedDvhStore, ASaveThatFindsNoMemoryToTellWhetherTheEntryChangedSaysSoNeverThatItChanged) {
    const fs::path root = fs::temp_directory_path() / ("tessaray-unchanged-" + std::to_string(::getpid()));
    fs::create_directories(root);
    const std::string textFile = (root / "12_H1.txt").string(), companion = (root / "12_H1.mod").string();
    std::ofstream(textFile) << "the export";
    std::ofstream(companion) << "the names";
    // A plan read from the entry, which is as it read it: Reload, which drops the names changed
    // here since, mends no want of memory.
    const StoreSaveSource read{textFile, platform::VersionOfPath(textFile),
                               CompanionVersion::Of(platform::VersionOfPath(companion))};
    int told = 0;
    FailingEachAllocation(
        [&]() -> std::string {
            try {
                return StoreSaveRefusal(textFile, read);
            } catch (const std::bad_alloc&) {
                return "no memory to tell it";
            }
        },
        [&](const std::string& said, bool, long n) {
            if (said == "There is not enough memory to save the plan; nothing was written.")
                ++told;
            else
                EXPECT_TRUE(said.empty() || said == "no memory to tell it") << n << ": " << said;
        });
    // The digest of each of the two files.
    EXPECT_EQ(told, 2);
    fs::remove_all(root);
}

}  // namespace
