// Atomic replacement: a failed write leaves the old file whole and says why.
#include "platform/AtomicWrite.h"
#include "platform/OpenedFile.h"
#include "platform/Descriptor.h"
#include "platform/FaultPoint.h"
#include "platform/FileLock.h"
#include "platform/FileVersion.h"
#include "platform/HardLink.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/TemporaryFiles.h"
#include "platform/WaitNotice.h"
#include "TempFolder.h"
#include "WithoutLinks.h"
#include "../support/KilledAt.h"
#include "../support/OtherUser.h"

#include <gtest/gtest.h>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

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

TEST(AtomicWrite, AVersionIsTheFileAsReadWhateverMovedOnlyItsTimesOrPermission) {
    TempFolder dir;
    // Long enough for reads in several pieces, and no whole number of words.
    std::string text(200003, 'x');
    for (std::size_t i = 0; i < text.size(); i += 7) text[i] = static_cast<char>('a' + i % 26);
    const std::string path = dir.Write("a.txt", text);
    const auto held = platform::OpenedFile::Open(path);
    ASSERT_TRUE(held);
    const platform::FileVersion read = platform::VersionOf(*held);
    ASSERT_TRUE(read.Known());
    EXPECT_EQ(read.Digest, platform::ContentDigest(text));
    EXPECT_TRUE(platform::HoldsVersion(text, read));

    // A permission, a touch, the same bytes renamed over it: still the version read.
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), nullptr, 0), 0);
    EXPECT_TRUE(platform::FileHoldsVersion(path, read));
    ASSERT_TRUE(platform::AtomicWriteFile(path, text));
    EXPECT_TRUE(platform::FileHoldsVersion(path, read));

    // One byte other, or one more: another version, and a digest of its own.
    std::string other = text;
    other[100000] = 'X';
    EXPECT_NE(platform::ContentDigest(other), read.Digest);
    EXPECT_NE(platform::ContentDigest(text + "\n"), read.Digest);
    ASSERT_TRUE(platform::AtomicWriteFile(path, other));
    EXPECT_FALSE(platform::FileHoldsVersion(path, read));
    EXPECT_FALSE(platform::HoldsVersion(other, read));
    EXPECT_FALSE(platform::FileHoldsVersion(path, platform::FileVersion{}));

    // A file written in place after it was opened holds no version known from that open.
    const auto opened = platform::OpenedFile::Open(path);
    ASSERT_TRUE(opened);
    {
        std::ofstream(path, std::ios::binary | std::ios::app) << "y";
    }
    EXPECT_FALSE(platform::VersionOf(*opened).Known());
}

TEST(AtomicWrite, AVersionsDigestIsXxh3OfTheBytesWhereverTheyWereCutInPieces) {
    // XXH3's 64-bit digest, the same in every build and on every processor, since other
    // programs compare what one build wrote down: its published value for no bytes.
    EXPECT_EQ(platform::ContentDigest(""), 0x2D06800538D394C2ull);
    // Fed in two pieces cut anywhere (inside and at the ends of its 64-byte stripes and 1,024-
    // byte blocks, below and above its short-input sizes), or in many, the digest of the whole.
    std::string text(2500, ' ');
    for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>(i * 31 + i / 7);
    const std::size_t sizes[] = {1, 17, 240, 241, 2500};
    for (const std::size_t size : sizes) {
        const std::string_view whole(text.data(), size);
        for (std::size_t cut = 0; cut <= size; ++cut) {
            platform::ContentDigester digest;
            digest.Add(whole.substr(0, cut));
            digest.Add(whole.substr(cut));
            ASSERT_EQ(digest.Digest(), platform::ContentDigest(whole)) << size << " cut at " << cut;
            ASSERT_EQ(digest.Bytes(), static_cast<long long>(size));
        }
    }
    platform::ContentDigester lines;
    for (std::size_t at = 0; at < text.size(); at += 37) lines.Add(std::string_view(text).substr(at, 37));
    EXPECT_EQ(lines.Digest(), platform::ContentDigest(text));
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

TEST(AtomicWrite, AWriteClearsOnlyTheDeadTemporariesOfItsOwnTarget) {
    TempFolder dir;
    const std::string dead = dir.Write("export.txt.tmp-Ab12Cd", "left by a killed save");
    const std::string live = dir.Write("export.txt.tmp-Zz99yY", "being written");
    const int liveFd = ::open(live.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(liveFd, LOCK_EX), 0);
    // Not ours to touch: a user's file, another file's temporary (another program's live one,
    // perhaps), and names of our pattern that are no regular file or belong to another user.
    std::vector<std::string> kept = {dir.Write("thesis.tmp-backup", "a user's copy"),
                                     dir.Write("export.csv.tmp-a1B2c3", "another program's"),
                                     dir.Write("xexport.txt.tmp-Qq11Qq", "another name"),
                                     dir.File("export.txt.tmp-Fold3r")};
    std::filesystem::create_directory(kept.back());
    kept.push_back(dir.File("export.txt.tmp-L1nked"));
    ASSERT_EQ(symlink(dir.File("thesis.tmp-backup").c_str(), kept.back().c_str()), 0);
    if (geteuid() == 0) {
        kept.push_back(dir.Write("export.txt.tmp-0ther5", "another user's"));
        ASSERT_EQ(chown(kept.back().c_str(), 4242, 4242), 0);
    }

    // A clean-up while this write waits between its temporary and the rename leaves it alone.
    g_folder = dir.Path();
    platform::SetFaultHook([](std::string_view point) {
        if (point == "atomic write: temporary written")
            g_removedMeanwhile = platform::RemoveStaleTemporariesOf(g_folder + "export.txt");
    });
    const platform::WriteResult written = platform::AtomicWriteFile(dir.File("export.txt"), "rows");
    platform::SetFaultHook(nullptr);
    EXPECT_TRUE(written.ok) << written.message;
    EXPECT_EQ(g_removedMeanwhile, 0);
    EXPECT_EQ(dir.Read("export.txt"), "rows");
    EXPECT_FALSE(std::filesystem::exists(dead));
    EXPECT_TRUE(std::filesystem::exists(live));
    for (const std::string& path : kept) EXPECT_TRUE(std::filesystem::symlink_status(path).type() !=
                                                     std::filesystem::file_type::not_found) << path;
    ::close(liveFd);
}

TEST(AtomicWrite, ATargetThatIsNoRegularFileIsRefusedAndAStoreLinkIsReplaced) {
    TempFolder dir;
    const std::string fifo = dir.File("page.bmp");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string linkToFifo = dir.File("export.txt");
    ASSERT_EQ(symlink(fifo.c_str(), linkToFifo.c_str()), 0);
    for (const std::string& target : {fifo, linkToFifo}) {
        SCOPED_TRACE(target);
        const platform::WriteResult written = platform::AtomicWriteFile(target, "x");
        EXPECT_FALSE(written.ok);
        EXPECT_NE(written.message.find(target), std::string::npos) << written.message;
        const platform::FileReplacement printed(target);
        EXPECT_TRUE(printed.Path().empty());
        EXPECT_NE(printed.Error().find(target), std::string::npos) << printed.Error();
    }
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_TRUE(std::filesystem::is_symlink(linkToFifo));

    // A store's file: a link planted there is replaced, the file it points to untouched; a FIFO
    // that is no link is refused all the same.
    const std::string elsewhere = dir.Write("elsewhere", "someone's file");
    const std::string planted = dir.File("12_H1.mod");
    ASSERT_EQ(symlink(elsewhere.c_str(), planted.c_str()), 0);
    const auto replace = platform::LinkHandling::Replace;
    ASSERT_TRUE(platform::AtomicWriteFile(planted, "companion", platform::FileAccess::Keep, replace).ok);
    EXPECT_FALSE(std::filesystem::is_symlink(planted));
    EXPECT_EQ(dir.Read("12_H1.mod"), "companion");
    EXPECT_EQ(dir.Read("elsewhere"), "someone's file");
    EXPECT_FALSE(platform::AtomicWriteFile(fifo, "x", platform::FileAccess::Keep, replace).ok);
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
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

namespace {

using State = platform::CommitEnd::State;
State g_endedMeanwhile = State::Completed;

/// A commit of "a.mod" and "a.txt" in `dir`, recorded as the store records one.
struct PairCommit {
    explicit PairCommit(const std::string& folder)
        : mod(folder + "a.mod"), txt(folder + "a.txt"), record{folder + "a.txt.commit", folder + "a.txt.lock"} {}
    platform::WriteResult Write(std::string_view a, std::string_view b) const {
        const auto replace = platform::LinkHandling::Replace;
        const auto keep = platform::FileAccess::Keep;
        return platform::AtomicWriteFiles({{mod, a, keep, replace}, {txt, b, keep, replace}}, record);
    }
    platform::CommitEnd Finish() const { return platform::FinishInterruptedCommit(record, {mod, txt}); }
    /// "a.mod" and "a.txt" with old texts in `dir`, then a change to new ones killed at `point`.
    bool OldThenKilledAt(TempFolder& dir, const char* point) const {
        dir.Write("a.mod", "old a");
        dir.Write("a.txt", "old b");
        return KilledAt(point, [&] { Write("new a", "new b"); });
    }
    /// Such a change killed between its renames, whose rest a cleaner then removed: "a.mod" is
    /// new, "a.txt" old, and nothing can finish the change. True when it got there.
    bool LeftPartNew(TempFolder& dir) const {
        const bool killed = OldThenKilledAt(dir, "atomic write: one of several renamed");
        return killed && std::filesystem::remove(TemporaryOf(dir, "a.txt"));
    }
    /// The one temporary of `target` there is, or "".
    static std::string TemporaryOf(const TempFolder& dir, const std::string& target) {
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
            if (entry.path().filename().string().rfind(target + ".tmp-", 0) == 0) return entry.path().string();
        return {};
    }
    std::string mod, txt;
    platform::CommitRecord record;
};

std::size_t FilesIn(const TempFolder& dir) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir.Path()),
                                                  std::filesystem::directory_iterator()));
}

}  // namespace

TEST(AtomicWrite, ACommitKilledAtAnyStepEndsWhollyOldOrWhollyNew) {
    const struct {
        const char* point;
        bool becomesNew;
        State end;
    } steps[] = {
        {"atomic write: temporary written", false, State::NoRecord},
        {"atomic write: commit recorded", true, State::Completed},
        {"atomic write: one of several renamed", true, State::Completed},
        {"atomic write: all renamed", true, State::Completed},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.point);
        TempFolder dir;
        const PairCommit commit(dir.Path());
        EXPECT_TRUE(commit.OldThenKilledAt(dir, step.point));
        EXPECT_EQ(commit.Finish().state, step.end);
        EXPECT_EQ(dir.Read("a.mod") + "," + dir.Read("a.txt"), step.becomesNew ? "new a,new b" : "old a,old b");
        EXPECT_FALSE(std::filesystem::exists(commit.record.Path));
        // The next commit clears the dead temporaries, and no one ends a commit under way.
        g_folder = dir.Path();
        platform::SetFaultHook([](std::string_view point) {
            if (point == "atomic write: commit recorded") g_endedMeanwhile = PairCommit(g_folder).Finish().state;
        });
        const platform::WriteResult again = commit.Write("c", "d");
        platform::SetFaultHook(nullptr);
        EXPECT_TRUE(again.ok) << again.message;
        EXPECT_EQ(g_endedMeanwhile, State::Unfinished);
        EXPECT_EQ(dir.Read("a.mod") + "," + dir.Read("a.txt"), "c,d");
        EXPECT_EQ(FilesIn(dir), 3u);  // the two files and the lock, which stays
    }
}

TEST(AtomicWrite, ACommitIsCompletedOnlyFromItsOwnWholeTemporariesAndItsRecordGoesLast) {
    // A temporary that something else removed is no rename: the rest is not completed over it.
    {
        TempFolder dir;
        const PairCommit commit(dir.Path());
        EXPECT_TRUE(commit.OldThenKilledAt(dir, "atomic write: commit recorded"));
        std::filesystem::remove(PairCommit::TemporaryOf(dir, "a.mod"));
        EXPECT_EQ(commit.Finish().state, State::Discarded);
        EXPECT_EQ(dir.Read("a.mod") + "," + dir.Read("a.txt"), "old a,old b");
        EXPECT_EQ(FilesIn(dir), 3u);
        // A record names its files where they lie: a change through links is not recorded.
        EXPECT_FALSE(platform::AtomicWriteFiles({{commit.mod, "x"}}, commit.record).ok);
        EXPECT_EQ(dir.Read("a.mod"), "old a");
    }
    // Nor is a file that holds neither its old text nor its new (another day's backup put
    // back beside this one): the files are no save's pair, and say so.
    {
        TempFolder dir;
        const PairCommit commit(dir.Path());
        EXPECT_TRUE(commit.OldThenKilledAt(dir, "atomic write: commit recorded"));
        std::filesystem::remove(PairCommit::TemporaryOf(dir, "a.mod"));
        dir.Write("a.mod", "other a");
        const platform::CommitEnd end = commit.Finish();
        EXPECT_EQ(end.state, State::Partial);
        EXPECT_EQ(end.message, "a.mod holds neither what it held before that save nor what it wrote");
        EXPECT_EQ(dir.Read("a.mod") + "," + dir.Read("a.txt"), "other a,old b");
        EXPECT_FALSE(PairCommit::TemporaryOf(dir, "a.txt").empty());
    }
    // Nor is a file replaced that another program wrote at a name the change has still to take
    // (a backup put back, an export copied in by hand): the files are no save's pair.
    for (const char* point : {"atomic write: commit recorded", "atomic write: one of several renamed"}) {
        SCOPED_TRACE(point);
        TempFolder dir;
        const PairCommit commit(dir.Path());
        EXPECT_TRUE(commit.OldThenKilledAt(dir, point));
        const std::string before = dir.Read("a.mod");
        dir.Write("a.txt", "other b");
        const platform::CommitEnd end = commit.Finish();
        EXPECT_EQ(end.state, State::Partial);
        EXPECT_EQ(end.message, "a.txt holds neither what it held before that save nor what it wrote");
        EXPECT_EQ(dir.Read("a.mod") + "," + dir.Read("a.txt"), before + ",other b");
        EXPECT_TRUE(std::filesystem::exists(commit.record.Path));
        // A commit of both that fails at its first rename (a folder took the name once its
        // record was written) leaves them reading so.
        g_folder = dir.Path();
        platform::SetFaultHook([](std::string_view at) {
            if (at != "atomic write: commit recorded") return;
            std::filesystem::rename(g_folder + "a.mod", g_folder + "a.mod.aside");
            std::filesystem::create_directory(g_folder + "a.mod");
        });
        EXPECT_FALSE(commit.Write("c", "d").ok);
        platform::SetFaultHook(nullptr);
        std::filesystem::remove(commit.mod);
        std::filesystem::rename(dir.File("a.mod.aside"), commit.mod);
        EXPECT_EQ(commit.Finish().state, State::Partial);
        const platform::WriteResult again = commit.Write("c", "d");
        EXPECT_TRUE(again.ok) << again.message;
        EXPECT_EQ(dir.Read("a.mod") + "," + dir.Read("a.txt"), "c,d");
        EXPECT_EQ(FilesIn(dir), 3u);
    }
    // A completion that cannot rename keeps the record, says why, and ends the change later.
    {
        TempFolder dir;
        const PairCommit commit(dir.Path());
        EXPECT_TRUE(commit.OldThenKilledAt(dir, "atomic write: one of several renamed"));
        std::filesystem::remove(commit.txt);
        std::filesystem::create_directory(commit.txt);
        const platform::CommitEnd blocked = commit.Finish();
        EXPECT_EQ(blocked.state, State::Unfinished);
        EXPECT_NE(blocked.message.find("a.txt"), std::string::npos) << blocked.message;
        EXPECT_TRUE(std::filesystem::exists(commit.record.Path));
        std::filesystem::remove(commit.txt);
        EXPECT_EQ(commit.Finish().state, State::Completed);
        EXPECT_EQ(dir.Read("a.mod") + "," + dir.Read("a.txt"), "new a,new b");
    }
    // A rename that fails puts the first file back before the record goes: a kill while it does
    // leaves the record for the next one to end.
    {
        TempFolder dir;
        const PairCommit commit(dir.Path());
        dir.Write("a.mod", "old a");
        dir.Write("a.txt", "old b");
        g_folder = dir.Path();
        EXPECT_TRUE(KilledAt("atomic write: restoring", [&] {
            platform::SetFaultHook([](std::string_view point) {
                if (point == "atomic write: one of several renamed") {
                    std::filesystem::remove(g_folder + "a.txt");
                    std::filesystem::create_directory(g_folder + "a.txt");
                }
                killtest::KillAtNamedPoint(point);
            });
            commit.Write("new a", "new b");
        }));
        EXPECT_TRUE(std::filesystem::exists(commit.record.Path));
        EXPECT_EQ(commit.Finish().state, State::Unfinished);
    }
}

TEST(AtomicWrite, ALockHeldElsewhereIsBusyAfterTheWait) {
    TempFolder dir;
    const std::string path = dir.File("12_H1.txt.lock");
    // Another program that stopped while it held the lock: a descriptor of its own.
    const int other = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_EQ(::flock(other, LOCK_EX), 0);
    platform::SetLockWaitLimit(std::chrono::milliseconds(20));
    {
        const platform::FileLock lock(path);
        EXPECT_FALSE(lock.Held());
        EXPECT_TRUE(lock.Busy());
        EXPECT_EQ(lock.Error(), "Cannot lock \"" + path + "\": another program holds the lock of that file");
    }
    platform::SetLockWaitLimit(std::chrono::seconds(5));
    ::close(other);
}

TEST(AtomicWrite, ALockFileWhoseMakingWasKilledIsMadeByTheNextLockWhichClearsWhatTheKillLeft) {
    TempFolder dir;
    const std::string path = dir.File("12_H1.txt.lock");
    EXPECT_TRUE(KilledAt("new file: before its name", [&] { const platform::FileLock lock(path); }));
    EXPECT_FALSE(std::filesystem::exists(path));
    {
        const platform::FileLock lock(path, platform::LockWait::None);
        EXPECT_TRUE(lock.Held()) << lock.Error();
    }
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"12_H1.txt.lock"});
}

namespace {
std::string g_lockBeingMade;
int g_removedWhileMade = -1;
bool g_takenWhileMade = true;
}  // namespace

TEST(AtomicWrite, ALockFileKilledRightAfterItTookItsNameLeavesATemporaryThatItsNextLockRemoves) {
    TempFolder dir;
    const std::string path = dir.File("12_H1.txt.lock");
    EXPECT_TRUE(KilledAt("new file: named, its temporary not yet gone", [&] { const platform::FileLock lock(path); }));
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(FilesIn(dir), 2u);  // the lock file, and its temporary, the same file
    // Another taker's temporary, alive: its maker holds its lock.
    const std::string live = dir.Write("12_H1.txt.lock.tmp-Zz99yY", "");
    const int liveFd = ::open(live.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(liveFd, LOCK_EX), 0);
    {
        const platform::FileLock lock(path, platform::LockWait::None);
        EXPECT_TRUE(lock.Held()) << lock.Error();
    }
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_TRUE(std::filesystem::exists(live));
    EXPECT_EQ(FilesIn(dir), 2u);
    ::close(liveFd);

    // One that is being made right now, with both names, is alive: neither a clean-up nor
    // another taker, who finds it busy, removes its temporary.
    g_lockBeingMade = dir.File("13_H1.txt.lock");
    platform::SetFaultHook([](std::string_view point) {
        if (point != "new file: named, its temporary not yet gone" || g_removedWhileMade >= 0) return;
        g_removedWhileMade = platform::RemoveStaleTemporariesOf(g_lockBeingMade, platform::LinkHandling::Replace);
        g_takenWhileMade = platform::FileLock(g_lockBeingMade, platform::LockWait::None).Held();
    });
    {
        const platform::FileLock lock(g_lockBeingMade, platform::LockWait::None);
        platform::SetFaultHook(nullptr);
        EXPECT_TRUE(lock.Held()) << lock.Error();
    }
    EXPECT_EQ(g_removedWhileMade, 0);
    EXPECT_FALSE(g_takenWhileMade);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"12_H1.txt.lock", "12_H1.txt.lock.tmp-Zz99yY", "13_H1.txt.lock"}));
}

TEST(AtomicWrite, ALockFileThatIsNoRegularFileIsRefusedAtOnceNamingIt) {
    TempFolder dir;
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
    const std::string fifo = dir.File("fifo.txt.lock"), folder = dir.File("folder.txt.lock");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0444), 0);
    ASSERT_EQ(::mkdir(folder.c_str(), 0555), 0);
    // Taken by a user who may only read them: this test's own, or, for root, who may write
    // anything, another user where that one can enter the folder.
    constexpr uid_t kReader = 47103;
    const bool asReader = otheruser::WhyCannotActAs({kReader}, kReader, dir.Path()).empty();
    const struct {
        std::string path;
        platform::OpenProblem problem;
    } cases[] = {{fifo, platform::OpenProblem::NotRegular}, {folder, platform::OpenProblem::Folder}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const auto lock = [&c] {
            // An open of the FIFO for reading would wait for a writer that never comes; the
            // alarm ends such a child, so that the test fails rather than hangs.
            ::alarm(120);
            const platform::FileLock lock(c.path);
            return lock.Held() ? std::string("held") : lock.Error();
        };
        const std::string error =
            asReader ? otheruser::RunAs(kReader, kReader, lock) : otheruser::RunInChild(lock);
        EXPECT_EQ(error, "Cannot lock \"" + c.path + "\": it " + platform::OpenProblemText(c.problem));
    }
}

TEST(AtomicWrite, ADescriptorGivenAnotherClosesItsOwnAndLeavesTheOneMovedFromOwningNothing) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    platform::detail::Descriptor kept(ends[0]), given(ends[1]);
    kept = std::move(given);
    EXPECT_EQ(kept.Get(), ends[1]);
    EXPECT_FALSE(given.Open());
    EXPECT_EQ(::fcntl(ends[0], F_GETFD), -1) << "the descriptor it owned before stays open";
    // Given itself, it keeps what it owns.
    platform::detail::Descriptor& same = kept;
    kept = std::move(same);
    EXPECT_EQ(kept.Get(), ends[1]);
    EXPECT_NE(::fcntl(ends[1], F_GETFD), -1);
}

namespace {

/// What the window would be told of lock waits; it spoils errno as a window's painting may,
/// refuses to show a wait when told to, and lets the other holder go at a pause when given its
/// descriptor.
struct RecordingWaitWatcher : platform::WaitWatcher {
    std::vector<std::string> told;
    bool refuse = false;
    int releasedAtPause = -1;
    void WaitBegins(const std::string& lockPath) override {
        errno = EIO;
        if (refuse) throw std::runtime_error("no window");
        told.push_back("begins " + lockPath);
    }
    void StillWaiting() override {
        errno = EIO;
        if (told.back() != "still") told.push_back("still");
        if (releasedAtPause >= 0) ::close(std::exchange(releasedAtPause, -1));
    }
    void WaitEnds() override {
        errno = EIO;
        told.push_back("ends");
    }
};

RecordingWaitWatcher* g_watcher = nullptr;
std::vector<std::string> g_toldWhenBusy;

/// The recording watcher installed for as long as this lives; the wait and the hook are as
/// usual again after it, however the test ended.
struct WatchedWaits {
    RecordingWaitWatcher watcher;
    WatchedWaits() {
        g_watcher = &watcher;
        platform::SetWaitWatcher(&watcher);
    }
    ~WatchedWaits() {
        platform::SetFaultHook(nullptr);
        platform::SetWaitWatcher(nullptr);
        platform::SetLockWaitLimit(std::chrono::seconds(5));
        g_watcher = nullptr;
    }
};

}  // namespace

TEST(AtomicWrite, ALockWaitIsToldToTheWatchersThreadAloneFromItsStartToItsEnd) {
    TempFolder dir;
    const std::string path = dir.File("12_H1.txt.lock");
    WatchedWaits watched;
    RecordingWaitWatcher& watcher = watched.watcher;
    {
        const platform::FileLock free(path);
        ASSERT_TRUE(free.Held());
    }
    EXPECT_TRUE(watcher.told.empty()) << "a lock taken at once is no wait";

    const int other = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_EQ(::flock(other, LOCK_EX), 0);
    platform::SetLockWaitLimit(std::chrono::milliseconds(20));
    platform::SetFaultHook([](std::string_view point) {
        if (point == "lock busy") g_toldWhenBusy = g_watcher->told;
    });
    {
        const platform::FileLock lock(path);
        // The watcher's errno does not change what the lock says of its wait.
        EXPECT_TRUE(lock.Busy());
        EXPECT_EQ(lock.Error(),
                  "Cannot lock \"" + path + "\": another program holds the lock of that file");
    }
    EXPECT_EQ(g_toldWhenBusy, std::vector<std::string>{"begins " + path})
        << "shown before the first pause";
    ASSERT_FALSE(watcher.told.empty());
    EXPECT_EQ(watcher.told.front(), "begins " + path);
    EXPECT_EQ(watcher.told.back(), "ends");

    // A worker's wait is not the window's.
    watcher.told.clear();
    std::thread([&] { EXPECT_TRUE(platform::FileLock(path).Busy()); }).join();
    EXPECT_TRUE(watcher.told.empty());

    // A watcher that cannot show the wait is told nothing more, and the wait is as before.
    watcher.refuse = true;
    EXPECT_TRUE(platform::FileLock(path).Busy());
    EXPECT_TRUE(watcher.told.empty());

    // A turn that comes during the wait ends it as taken, however long the wait may be.
    watcher.refuse = false;
    platform::SetLockWaitLimit(std::chrono::minutes(1));
    watcher.releasedAtPause = other;
    EXPECT_TRUE(platform::FileLock(path).Held());
    EXPECT_EQ(watcher.told, (std::vector<std::string>{"begins " + path, "still", "ends"}));
}

TEST(AtomicWrite, ACommitThatLeftPartOfItsFilesNewKeepsItsRecordUntilANewCommitOfThemAll) {
    TempFolder dir;
    const PairCommit commit(dir.Path());
    ASSERT_TRUE(commit.LeftPartNew(dir));
    const platform::CommitEnd partial = commit.Finish();
    EXPECT_EQ(partial.state, State::Partial);
    EXPECT_FALSE(partial.Whole());
    EXPECT_FALSE(partial.Blocked());
    // Named by the file the user knows, never by a temporary's name.
    EXPECT_EQ(partial.message, "only part of it was written: the new a.txt of that save is missing");
    EXPECT_TRUE(std::filesystem::exists(commit.record.Path));
    EXPECT_EQ(dir.Read("a.mod") + "," + dir.Read("a.txt"), "new a,old b");

    const platform::WriteResult again = commit.Write("c", "d");
    EXPECT_TRUE(again.ok) << again.message;
    EXPECT_EQ(dir.Read("a.mod") + "," + dir.Read("a.txt"), "c,d");
    EXPECT_EQ(FilesIn(dir), 3u);
}

TEST(AtomicWrite, ACommitThatSupersedesAPartOldRecordAndFailsLeavesItPartOld) {
    TempFolder dir;
    const PairCommit commit(dir.Path());
    ASSERT_TRUE(commit.LeftPartNew(dir));
    ASSERT_EQ(commit.Finish().state, State::Partial);
    // The next commit of both renames "a.mod", then cannot rename "a.txt" (moved aside, a
    // folder in its place): "a.mod" gets back the text of the part-old pair, in a new file.
    g_folder = dir.Path();
    platform::SetFaultHook([](std::string_view point) {
        if (point != "atomic write: one of several renamed") return;
        std::filesystem::rename(g_folder + "a.txt", g_folder + "a.txt.aside");
        std::filesystem::create_directory(g_folder + "a.txt");
    });
    const platform::WriteResult failed = commit.Write("c", "d");
    platform::SetFaultHook(nullptr);
    EXPECT_FALSE(failed.ok);
    std::filesystem::remove(dir.File("a.txt"));
    std::filesystem::rename(dir.File("a.txt.aside"), dir.File("a.txt"));
    EXPECT_EQ(dir.Read("a.mod") + "," + dir.Read("a.txt"), "new a,old b");
    // Still part new, part old, as many times as it is looked at, until a commit of both ends it.
    for (int look = 0; look < 2; ++look) {
        const platform::CommitEnd end = commit.Finish();
        EXPECT_EQ(end.state, State::Partial) << end.message;
        EXPECT_EQ(end.message, "only part of it was written: the new a.txt of that save is missing");
        EXPECT_TRUE(std::filesystem::exists(commit.record.Path));
    }
    EXPECT_EQ(FilesIn(dir), 4u);  // the pair, the record and the lock: no temporary is left
    const platform::WriteResult again = commit.Write("c", "d");
    EXPECT_TRUE(again.ok) << again.message;
    EXPECT_EQ(dir.Read("a.mod") + "," + dir.Read("a.txt"), "c,d");
    EXPECT_EQ(FilesIn(dir), 3u);
}

TEST(AtomicWrite, ARollbackThatCannotPutAFileBackKeepsWhatItsRecordNames) {
    TempFolder dir;
    const PairCommit commit(dir.Path());
    dir.Write("a.mod", "old a");
    dir.Write("a.txt", "old b");
    g_folder = dir.Path();
    // "a.txt" cannot take its new text (a folder has its name), nor "a.mod" its old one (moved
    // aside, a folder in its place).
    platform::SetFaultHook([](std::string_view point) {
        if (point == "atomic write: one of several renamed") {
            std::filesystem::remove(g_folder + "a.txt");
            std::filesystem::create_directory(g_folder + "a.txt");
        }
        if (point == "atomic write: restoring") {
            std::filesystem::rename(g_folder + "a.mod", g_folder + "a.mod.aside");
            std::filesystem::create_directory(g_folder + "a.mod");
        }
    });
    const platform::WriteResult failed = commit.Write("new a", "new b");
    platform::SetFaultHook(nullptr);
    EXPECT_FALSE(failed.ok);
    EXPECT_TRUE(std::filesystem::exists(commit.record.Path));

    // Once the obstacles are gone, the change ends forward.
    std::filesystem::remove(dir.File("a.txt"));
    std::filesystem::remove(dir.File("a.mod"));
    std::filesystem::rename(dir.File("a.mod.aside"), dir.File("a.mod"));
    EXPECT_EQ(commit.Finish().state, State::Completed);
    EXPECT_EQ(dir.Read("a.mod") + "," + dir.Read("a.txt"), "new a,new b");
}

namespace {

/// Copies what `from` holds into `to` as a backup or a move to another disk does: the same
/// names, bytes, modes and times, in files numbered anew.
void CopyFolder(const TempFolder& from, const TempFolder& to) {
    const std::string command = "cp -a '" + from.Path() + ".' '" + to.Path() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

/// Whether a commit below can open no file once it has put its files back.
bool g_noDescriptorAfterPutBack = false;

/// A commit that supersedes the record of a pair left part new ("new a", "old b"), and whose
/// rename of "a.txt" fails: a folder has taken that name, which the caller removes again.
void SupersedeAndFailAtTheSecondRename(const PairCommit& commit) {
    platform::SetFaultHook([](std::string_view point) {
        if (point == "atomic write: one of several renamed") {
            std::filesystem::rename(g_folder + "a.txt", g_folder + "a.txt.aside");
            std::filesystem::create_directory(g_folder + "a.txt");
        }
        if (point == "atomic write: files put back" && g_noDescriptorAfterPutBack) {
            const rlimit none{0, 0};
            ::setrlimit(RLIMIT_NOFILE, &none);
        }
        killtest::KillAtNamedPoint(point);
    });
    commit.Write("c", "d");
}

void PutTheSecondFileBack(const TempFolder& dir) {
    std::filesystem::remove(dir.File("a.txt"));
    std::filesystem::rename(dir.File("a.txt.aside"), dir.File("a.txt"));
}

}  // namespace

TEST(AtomicWrite, ACommitCutShortIsEndedInACopyOfItsFolderByWhatItsFilesHold) {
    TempFolder dir;
    const PairCommit original(dir.Path());
    ASSERT_TRUE(original.OldThenKilledAt(dir, "atomic write: one of several renamed"));
    // The copy has other inode numbers; its files hold what the original's do.
    {
        TempFolder copy;
        CopyFolder(dir, copy);
        const PairCommit commit(copy.Path());
        EXPECT_EQ(commit.Finish().state, State::Completed);
        EXPECT_EQ(copy.Read("a.mod") + "," + copy.Read("a.txt"), "new a,new b");
        EXPECT_EQ(FilesIn(copy), 3u);
    }
    // Without the export's temporary, or with other bytes in it, the copy is part new, and
    // says so until a commit of both ends it.
    for (const bool removed : {true, false}) {
        SCOPED_TRACE(removed ? "temporary removed" : "temporary of other bytes, of the same size");
        TempFolder copy;
        CopyFolder(dir, copy);
        const std::string temporary = PairCommit::TemporaryOf(copy, "a.txt");
        ASSERT_FALSE(temporary.empty());
        if (removed)
            std::filesystem::remove(temporary);
        else
            std::ofstream(temporary, std::ios::binary) << "NEW B";
        const PairCommit commit(copy.Path());
        const platform::CommitEnd end = commit.Finish();
        EXPECT_EQ(end.state, State::Partial);
        EXPECT_EQ(end.message, "only part of it was written: the new a.txt of that save is missing");
        EXPECT_EQ(copy.Read("a.mod") + "," + copy.Read("a.txt"), "new a,old b");
        EXPECT_TRUE(std::filesystem::exists(commit.record.Path));
        const platform::WriteResult again = commit.Write("c", "d");
        EXPECT_TRUE(again.ok) << again.message;
        EXPECT_EQ(copy.Read("a.mod") + "," + copy.Read("a.txt"), "c,d");
    }
}

TEST(AtomicWrite, ARecordTellsAFileReadInPiecesByAllItsBytes) {
    // Around the size of the buffer a file is read with (128 KiB): the content of the file read
    // a buffer at a time is that of its bytes held whole, the version a plan keeps of them, and
    // a change of the last byte alone is another content.
    TempFolder dir;
    constexpr std::size_t kPiece = std::size_t(1) << 17;
    for (const std::size_t size : {std::size_t(0), std::size_t(1), kPiece - 1, kPiece, kPiece + 1, 8 * kPiece + 5}) {
        SCOPED_TRACE(size);
        std::string bytes(size, 'x');
        for (std::size_t i = 0; i < size; i += 4099) bytes[i] = static_cast<char>('a' + i % 23);
        const auto read = platform::detail::ContentOfFile(dir.Write("f", bytes), nullptr);
        ASSERT_TRUE(read.has_value());
        EXPECT_EQ(*read, platform::detail::ContentOf(bytes));
        EXPECT_EQ(read->Digest, platform::ContentDigest(bytes));
        if (size == 0) continue;
        bytes.back() = 'y';
        EXPECT_NE(*read, platform::detail::ContentOf(bytes));
        EXPECT_NE(*platform::detail::ContentOfFile(dir.Write("f", bytes), nullptr), *read);
    }
}

TEST(AtomicWrite, ARecordOfAnOlderBuildIsEndedWhereItWasWrittenAndReadsPartNewInACopy) {
    TempFolder dir;
    const PairCommit commit(dir.Path());
    ASSERT_TRUE(commit.OldThenKilledAt(dir, "atomic write: one of several renamed"));
    const std::string temporary = PairCommit::TemporaryOf(dir, "a.txt");
    const std::string modTemporary = platform::FileNameOf(temporary).replace(0, 5, "a.mod");
    const platform::FileIdentity renamed = platform::IdentityOfName(commit.mod);
    const platform::FileIdentity waiting = platform::IdentityOfName(temporary);
    using namespace std::string_literals;
    dir.Write("a.txt.commit", "Tessaray commit record 1\0"s + modTemporary + "\0a.mod\0"s +
                                  std::to_string(renamed.Device) + "\0"s + std::to_string(renamed.Inode) + "\0"s +
                                  platform::FileNameOf(temporary) + "\0a.txt\0"s + std::to_string(waiting.Device) +
                                  "\0"s + std::to_string(waiting.Inode) + "\0"s);
    // A copy of the folder numbers its files anew, with or without the waiting temporary (a
    // backup that leaves temporaries out): the record finds none of its files, so the pair,
    // "new a" beside "old b", reads part new until a commit of both ends it.
    for (const bool withTemporary : {true, false}) {
        SCOPED_TRACE(withTemporary ? "temporary copied" : "temporary left out");
        TempFolder copy;
        CopyFolder(dir, copy);
        if (!withTemporary) std::filesystem::remove(PairCommit::TemporaryOf(copy, "a.txt"));
        const PairCommit copied(copy.Path());
        const platform::CommitEnd end = copied.Finish();
        EXPECT_EQ(end.state, State::Partial) << end.message;
        EXPECT_NE(end.message.find("older version"), std::string::npos) << end.message;
        EXPECT_TRUE(std::filesystem::exists(copied.record.Path));
        EXPECT_EQ(copy.Read("a.mod") + "," + copy.Read("a.txt"), "new a,old b");
        // A commit of both that fails at its first rename (a folder took the name once its
        // record was written) leaves it reading so.
        g_folder = copy.Path();
        platform::SetFaultHook([](std::string_view point) {
            if (point != "atomic write: commit recorded") return;
            std::filesystem::rename(g_folder + "a.mod", g_folder + "a.mod.aside");
            std::filesystem::create_directory(g_folder + "a.mod");
        });
        EXPECT_FALSE(copied.Write("c", "d").ok);
        platform::SetFaultHook(nullptr);
        std::filesystem::remove(copied.mod);
        std::filesystem::rename(copy.File("a.mod.aside"), copied.mod);
        EXPECT_EQ(copied.Finish().state, State::Partial);
        const platform::WriteResult again = copied.Write("c", "d");
        EXPECT_TRUE(again.ok) << again.message;
        EXPECT_EQ(copy.Read("a.mod") + "," + copy.Read("a.txt"), "c,d");
    }
    EXPECT_EQ(commit.Finish().state, State::Completed);
    EXPECT_EQ(dir.Read("a.mod") + "," + dir.Read("a.txt"), "new a,new b");
    EXPECT_EQ(FilesIn(dir), 3u);
}

TEST(AtomicWrite, ACommitThatSupersedesAPartNewPairAndFailsLeavesItPartNewWhatComesAfterTheRestore) {
    // Killed once the first file has its old text back, or unable to open any file from then
    // on (no descriptor left): either way the pair reads part new until a commit of both.
    for (const bool killed : {true, false}) {
        SCOPED_TRACE(killed ? "killed" : "no file can be opened");
        TempFolder dir;
        const PairCommit commit(dir.Path());
        ASSERT_TRUE(commit.LeftPartNew(dir));
        g_folder = dir.Path();
        // In a child, killed there, or left to end on its own (that kill point is never met).
        g_noDescriptorAfterPutBack = !killed;
        EXPECT_EQ(KilledAt(killed ? "atomic write: files put back" : "no such point",
                           [&] { SupersedeAndFailAtTheSecondRename(commit); }),
                  killed);
        PutTheSecondFileBack(dir);
        EXPECT_EQ(dir.Read("a.mod") + "," + dir.Read("a.txt"), "new a,old b");
        const platform::CommitEnd end = commit.Finish();
        EXPECT_EQ(end.state, State::Partial) << end.message;
        EXPECT_EQ(end.message, "only part of it was written: the new a.txt of that save is missing");
        const platform::WriteResult again = commit.Write("c", "d");
        EXPECT_TRUE(again.ok) << again.message;
        EXPECT_EQ(dir.Read("a.mod") + "," + dir.Read("a.txt"), "c,d");
        EXPECT_EQ(FilesIn(dir), 3u);
    }
    g_noDescriptorAfterPutBack = false;
}

TEST(AtomicWrite, ACommitThatSupersedesAPartNewPairKilledAtAnyStepLeavesItsPairOrThePartNewOne) {
    const struct {
        const char* point;
        bool failsAtTheSecondRename;
        State end;
    } steps[] = {
        {"atomic write: temporary written", false, State::Partial},
        {"atomic write: commit recorded", false, State::Completed},
        {"atomic write: one of several renamed", false, State::Completed},
        {"atomic write: all renamed", false, State::Completed},
        {"atomic write: restoring", true, State::Completed},
        {"atomic write: files put back", true, State::Partial},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.point);
        TempFolder dir;
        const PairCommit commit(dir.Path());
        ASSERT_TRUE(commit.LeftPartNew(dir));
        g_folder = dir.Path();
        if (step.failsAtTheSecondRename) {
            EXPECT_TRUE(KilledAt(step.point, [&] { SupersedeAndFailAtTheSecondRename(commit); }));
            PutTheSecondFileBack(dir);
        } else {
            EXPECT_TRUE(KilledAt(step.point, [&] { commit.Write("c", "d"); }));
        }
        EXPECT_EQ(commit.Finish().state, step.end);
        EXPECT_EQ(dir.Read("a.mod") + "," + dir.Read("a.txt"), step.end == State::Completed ? "c,d" : "new a,old b");
    }
}

TEST(AtomicWrite, ACommitAndANewFileTakeTheirNamesWhereTheFileSystemHasNoHardLinks) {
    // vfat and exFAT refuse a hard link with EPERM but rename without replacing; sshfs refuses
    // a link with ENOTSUP or ENOSYS, and such a rename with EINVAL.
    const struct {
        int links, renames;
    } systems[] = {{EPERM, 0}, {EOPNOTSUPP, EINVAL}, {ENOSYS, EINVAL}, {EPERM, ENOSYS}};
    for (const auto& system : systems) {
        SCOPED_TRACE(std::to_string(system.links) + " " + std::to_string(system.renames));
        TempFolder dir;
        const PairCommit commit(dir.Path());
        dir.Write("a.mod", "old a");
        dir.Write("a.txt", "old b");
        const WithoutLinks refused(system.links, system.renames);
        const platform::WriteResult saved = commit.Write("new a", "new b");
        const platform::WriteResult made = platform::WriteNewFile(dir.File("list.lst"), "made");
        const platform::WriteResult again = platform::WriteNewFile(dir.File("list.lst"), "again");
        EXPECT_TRUE(saved.ok) << saved.message;
        EXPECT_EQ(dir.Read("a.mod") + "," + dir.Read("a.txt"), "new a,new b");
        EXPECT_FALSE(std::filesystem::exists(commit.record.Path));
        EXPECT_TRUE(made.ok) << made.message;
        EXPECT_FALSE(again.ok);
        EXPECT_NE(again.message.find("already exists"), std::string::npos) << again.message;
        EXPECT_EQ(dir.Read("list.lst"), "made");
        EXPECT_EQ(FilesIn(dir), 4u);  // the pair, the entry's lock and the new file
    }
    // A link or a rename that fails for another reason is no file system without them:
    // nothing is renamed.
    for (const auto& system : {std::pair{EIO, 0}, std::pair{EPERM, EIO}}) {
        TempFolder dir;
        const PairCommit commit(dir.Path());
        dir.Write("a.mod", "old a");
        dir.Write("a.txt", "old b");
        const WithoutLinks refused(system.first, system.second);
        EXPECT_FALSE(commit.Write("new a", "new b").ok);
        EXPECT_FALSE(platform::WriteNewFile(dir.File("list.lst"), "made").ok);
        EXPECT_EQ(dir.Read("a.mod") + "," + dir.Read("a.txt"), "old a,old b");
        // Nor is the entry's lock file made: it takes its name as a new file does.
        EXPECT_EQ(FilesIn(dir), 2u);
    }
}

namespace {
std::string g_madeMeanwhile;
}  // namespace

TEST(AtomicWrite, WithoutHardLinksAFileMadeRightBeforeANewNameIsTakenIsNeverReplaced) {
    // Another program makes a list's new file, or a record's name, at the last moment before
    // this program takes it, on a USB stick's file system (no hard links, renames that replace
    // nothing).
    TempFolder dir;
    const PairCommit commit(dir.Path());
    dir.Write("a.mod", "old a");
    dir.Write("a.txt", "old b");
    const WithoutLinks refused(EPERM, 0);
    platform::SetFaultHook([](std::string_view point) {
        if (point == "free name: taken next" && !std::filesystem::exists(g_madeMeanwhile))
            std::ofstream(g_madeMeanwhile) << "another program's";
    });
    g_madeMeanwhile = dir.File("list.lst");
    const platform::WriteResult made = platform::WriteNewFile(dir.File("list.lst"), "made");
    EXPECT_FALSE(made.ok);
    EXPECT_NE(made.message.find("already exists"), std::string::npos) << made.message;
    EXPECT_EQ(dir.Read("list.lst"), "another program's");

    g_madeMeanwhile = commit.record.Path;
    const platform::WriteResult saved = commit.Write("new a", "new b");
    EXPECT_FALSE(saved.ok);
    EXPECT_NE(saved.message.find(commit.record.Path), std::string::npos) << saved.message;
    EXPECT_EQ(dir.Read("a.txt.commit"), "another program's");
    EXPECT_EQ(dir.Read("a.mod") + "," + dir.Read("a.txt"), "old a,old b");
    EXPECT_EQ(FilesIn(dir), 5u);  // the pair, the lock and the two files the other program made
}

namespace {

/// A second taker of a lock file that is missing, on a thread of its own (flock tells its open
/// of the file from the first taker's), who makes the file right before the first one's making
/// gives it its name and holds it until `release` is set.
struct SecondTaker {
    std::string path;
    int looks = 0;
    bool started = false;
    bool held = false;
    std::promise<void> release;
    std::thread thread;
};

SecondTaker& Second() {
    static SecondTaker second;
    return second;
}

void SecondTakerMakesTheLockFile(std::string_view point) {
    SecondTaker& second = Second();
    // The first taker's second meeting of the free name's point comes after its look found the
    // name free; a maker at the name itself meets its own point.
    if (second.started) return;
    if (point == "free name: taken next" && ++second.looks < 2) return;
    if (point != "free name: taken next" && point != "lock file: made at its name next") return;
    second.started = true;
    std::promise<bool> taken;
    std::future<bool> told = taken.get_future();
    std::future<void> released = second.release.get_future();
    second.thread = std::thread([&second, &taken, released = std::move(released)]() mutable {
        const platform::FileLock lock(second.path, platform::LockWait::None);
        taken.set_value(lock.Held());
        released.wait();
    });
    second.held = told.get();
}

}  // namespace

TEST(AtomicWrite, WithoutLinksOrRenamesThatReplaceNothingTwoTakersOfANewLockFileNeverBothHoldIt) {
    // exFAT through FUSE, as a USB stick is often mounted: a link is refused with EPERM, a
    // rename that replaces nothing with EINVAL. Two saves of an entry that has no lock file yet.
    TempFolder dir;
    const std::string path = dir.File("12_H1.txt.lock");
    const WithoutLinks refused(EPERM, EINVAL);
    SecondTaker& second = Second();
    second.path = path;
    platform::SetFaultHook(&SecondTakerMakesTheLockFile);
    {
        const platform::FileLock first(path, platform::LockWait::None);
        ASSERT_TRUE(second.started);
        const bool bothHeld = first.Held() && second.held;
        second.release.set_value();
        second.thread.join();
        EXPECT_FALSE(bothHeld);
        EXPECT_TRUE(first.Busy()) << first.Error();
    }
    // One lock file, which every taker locks.
    EXPECT_EQ(FilesIn(dir), 1u);
    const platform::FileLock after(path, platform::LockWait::None);
    EXPECT_TRUE(after.Held()) << after.Error();
}

TEST(AtomicWrite, AnotherUsersCutShortSaveIsTakenUpOnlyWhereTheFolderLetsThisUserReplaceIt) {
    using platform::detail::FolderLetsReplace;
    constexpr uid_t kMe = 1000, kOther = 1001, kRoot = 0;
    // Their own files, whatever the folder.
    EXPECT_TRUE(FolderLetsReplace(kMe, kRoot, 01755, false, kMe));
    // Another user's: in a folder this user may write in, unless it is sticky and not theirs.
    EXPECT_TRUE(FolderLetsReplace(kOther, kRoot, 02775, true, kMe));
    EXPECT_FALSE(FolderLetsReplace(kOther, kRoot, 02775, false, kMe));
    EXPECT_FALSE(FolderLetsReplace(kOther, kRoot, 03775, true, kMe));
    EXPECT_FALSE(FolderLetsReplace(kOther, kOther, 01777, true, kMe));
    EXPECT_TRUE(FolderLetsReplace(kOther, kMe, 03775, true, kMe));
}

TEST(AtomicWrite, ACommitNeverReplacesAFileAtItsRecordsNameThatIsNoRecordOfIt) {
    TempFolder dir;
    const PairCommit commit(dir.Path());
    const PairCommit other(dir.Path() + "b-");
    dir.Write("a.mod", "old a");
    dir.Write("a.txt", "old b");
    dir.Write("b-a.txt", "old b-");
    EXPECT_TRUE(KilledAt("atomic write: commit recorded", [&] { other.Write("x", "y"); }));
    std::string otherRecord;
    ASSERT_TRUE(platform::ReadWholeFile(other.record.Path, otherRecord));
    for (const std::string& inTheWay : {std::string("a user's notes\n"), otherRecord}) {
        const std::string path = dir.Write("a.txt.commit", inTheWay);
        const platform::WriteResult refused = commit.Write("new a", "new b");
        EXPECT_FALSE(refused.ok);
        EXPECT_NE(refused.message.find(path), std::string::npos) << refused.message;
        EXPECT_EQ(dir.Read("a.txt.commit"), inTheWay);
        EXPECT_EQ(dir.Read("a.mod") + "," + dir.Read("a.txt"), "old a,old b");
        EXPECT_TRUE(PairCommit::TemporaryOf(dir, "a.mod").empty());
    }
}
