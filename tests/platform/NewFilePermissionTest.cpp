// The permission of what the program writes: a new file is never more open than its maker's
// umask, but for the group of a folder shared with it; a replaced file keeps its own; and a
// permission the file system cannot keep does not stop a write.
#include "platform/AtomicWrite.h"
#include "platform/FaultPoint.h"
#include "platform/FileLock.h"
#include "platform/IniFile.h"
#include "platform/Permissions.h"
#include "GroupAndMode.h"
#include "TempFolder.h"
#include "UserMask.h"
#include "WithoutLinks.h"
#include "../support/KilledAt.h"
#include "../support/OtherUser.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

/// Permission bits of `path`, or -1 when nothing is there.
int ModeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
}

constexpr auto kReplace = platform::LinkHandling::Replace;
constexpr auto kKeep = platform::FileAccess::Keep;
constexpr auto kReadOnly = platform::FileAccess::ReadOnly;

/// A store entry's pair written as one recorded change in `folder`.
platform::WriteResult SaveEntry(const std::string& folder, std::string_view text) {
    const platform::CommitRecord record{folder + "12_H1.txt.commit", folder + "12_H1.txt.lock"};
    return platform::AtomicWriteFiles(
        {{folder + "12_H1.mod", text, kKeep, kReplace}, {folder + "12_H1.txt", text, kKeep, kReplace}}, record);
}

/// What `MakeEveryKindOfFile` makes, but the read-only plan list and the entry's lock file.
constexpr const char* kNewFiles[] = {"12_H1.mod", "12_H1.txt", "export.txt", "Tessaray.ini", "exported.lst", "page1.bmp"};
constexpr const char* kLockFile = "12_H1.txt.lock";

/// Every kind of file the program makes, new in `folder`: the store's pair, an export, a plan
/// list (read-only), the settings, a list exported under a new name and a printed page. True
/// when all were written.
bool MakeEveryKindOfFile(const std::string& folder) {
    bool written = SaveEntry(folder, "rows").ok;
    written = platform::AtomicWriteFile(folder + "export.txt", "rows").ok && written;
    written = platform::AtomicWriteFile(folder + "Head.lst", "list", kReadOnly).ok && written;
    platform::IniFile settings(folder + "Tessaray.ini");
    settings.WriteInteger("Option", "AutoScan", 1);
    written = settings.Save().ok && written;
    written = platform::WriteNewFile(folder + "exported.lst", "list").ok && written;
    platform::FileReplacement page(folder + "page1.bmp");
    std::ofstream(page.Path(), std::ios::binary) << "BM";
    return page.Commit().ok && written;
}

}  // namespace

TEST(NewFilePermission, EveryNewFileIsAsClosedAsTheUmaskAsksAndAReplacedOneKeepsItsOwn) {
    const struct {
        mode_t mask;
        int file;
    } cases[] = {{077, 0600}, {027, 0640}, {002, 0664}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mask);
        TempFolder dir;
        // A folder that all may read and write in, but shares no group (no setgid bit).
        ASSERT_EQ(::chmod(dir.Path().c_str(), 0777), 0);
        const std::string kept = dir.Write("kept.txt", "old"), program = dir.Write("run.sh", "old");
        ASSERT_EQ(::chmod(kept.c_str(), 0604), 0);
        ASSERT_EQ(::chmod(program.c_str(), 07755), 0);
        const UserMask masked(c.mask);
        ASSERT_TRUE(MakeEveryKindOfFile(dir.Path()));
        for (const char* name : kNewFiles) EXPECT_EQ(ModeOf(dir.File(name)), c.file) << name;
        EXPECT_EQ(ModeOf(dir.File(kLockFile)), c.file);
        EXPECT_EQ(ModeOf(dir.File("Head.lst")), c.file & 0444);
        // The record of a change, seen where a kill left it.
        EXPECT_TRUE(KilledAt("atomic write: commit recorded", [&] { SaveEntry(dir.Path(), "again"); }));
        EXPECT_EQ(ModeOf(dir.File("12_H1.txt.commit")), c.file);

        ASSERT_TRUE(platform::AtomicWriteFile(kept, "new").ok);
        EXPECT_EQ(ModeOf(kept), 0604);
        // A set-id bit would run the file as the user who saved it last: it is never kept.
        ASSERT_TRUE(platform::AtomicWriteFile(program, "new").ok);
        EXPECT_EQ(ModeOf(program), 0755);
    }
}

TEST(NewFilePermission, ANewFileInAFolderSharedWithItsGroupMayBeReadByThatGroupWhateverTheUmask) {
    TempFolder dir;
    // Shared as `chgrp` and `chmod g+ws` leave it: every file made in it takes its group. Only
    // root may give it a group that is not the maker's own.
    const std::string shared = dir.File("store");
    ASSERT_EQ(::mkdir(shared.c_str(), 0700), 0);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(shared.c_str(), static_cast<uid_t>(-1), 47100), 0);
    }
    ASSERT_EQ(::chmod(shared.c_str(), 02770), 0);
    // A folder its group may write in but that gives new files no group of its own is shared
    // with no one: the umask alone decides there.
    const std::string writable = dir.File("writable");
    ASSERT_EQ(::mkdir(writable.c_str(), 0700), 0);
    ASSERT_EQ(::chmod(writable.c_str(), 0770), 0);
    {
        const UserMask masked(077);
        ASSERT_TRUE(MakeEveryKindOfFile(shared + "/"));
        ASSERT_TRUE(MakeEveryKindOfFile(writable + "/"));
    }
    struct stat folder {};
    ASSERT_EQ(::stat(shared.c_str(), &folder), 0);
    for (const char* name : kNewFiles) {
        SCOPED_TRACE(name);
        struct stat st {};
        ASSERT_EQ(::stat((shared + "/" + name).c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0640u);
        EXPECT_EQ(st.st_gid, folder.st_gid);
        EXPECT_EQ(ModeOf(writable + "/" + name), 0600);
    }
    EXPECT_EQ(ModeOf(shared + "/Head.lst"), 0440);
    EXPECT_EQ(ModeOf(writable + "/Head.lst"), 0400);
    // A lock file holds nothing: the group that shares the folder writes it too, to take its
    // turn on NFS.
    struct stat lock {};
    ASSERT_EQ(::stat((shared + "/" + kLockFile).c_str(), &lock), 0);
    EXPECT_EQ(lock.st_mode & 07777, 0660u);
    EXPECT_EQ(lock.st_gid, folder.st_gid);
    EXPECT_EQ(ModeOf(writable + "/" + kLockFile), 0600);

    // A file that has not the folder's group (a file system that ignores the setgid bit) is not
    // opened to it, nor to its own.
    struct stat other = folder;
    other.st_gid = folder.st_gid + 1;
    EXPECT_EQ(platform::NewFileMode(other, folder, 077), 0600u);
    EXPECT_EQ(platform::NewFileMode(folder, folder, 077), 0640u);
}

TEST(NewFilePermission, AReplacedFileKeepsItsGroupOrIsOpenedToNoOtherGroup) {
    // A user whose own group is 47101, and who is a member of 47102 too, replaces files of
    // another user, 0640: in a folder that all may write in, one of a group they are no member
    // of and one of their other group; in a folder that their other group shares as the README
    // sets it up, one kept from that group (made before it was shared, or narrowed by hand to a
    // group they are no member of) and one narrowed to their own group.
    TempFolder dir;
    constexpr uid_t kMaker = 47101;
    constexpr gid_t kStranger = 47100, kOtherGroup = 47102;
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
    if (const std::string why = otheruser::WhyCannotActAs({kMaker}, kOtherGroup, dir.Path()); !why.empty())
        GTEST_SKIP() << why;
    const std::string open = dir.File("open"), shared = dir.File("shared");
    ASSERT_EQ(::mkdir(open.c_str(), 0777), 0);
    ASSERT_EQ(::chmod(open.c_str(), 0777), 0);
    ASSERT_EQ(::mkdir(shared.c_str(), 0777), 0);
    ASSERT_EQ(::chown(shared.c_str(), 0, kOtherGroup), 0);
    ASSERT_EQ(::chmod(shared.c_str(), 02775), 0);
    const auto old = [&](const std::string& path, gid_t group) {
        std::ofstream(path) << "old";
        return ::chown(path.c_str(), 0, group) == 0 && ::chmod(path.c_str(), 0640) == 0;
    };
    ASSERT_TRUE(old(open + "/theirs.txt", kStranger));
    ASSERT_TRUE(old(open + "/ours.txt", kOtherGroup));
    ASSERT_TRUE(old(shared + "/before.txt", kStranger));
    ASSERT_TRUE(old(shared + "/mine.txt", kMaker));
    const std::string written = otheruser::RunAs(kMaker, kOtherGroup, [&] {
        ::umask(022);
        for (const std::string& path :
             {open + "/theirs.txt", open + "/ours.txt", shared + "/before.txt", shared + "/mine.txt"})
            if (const platform::WriteResult saved = platform::AtomicWriteFile(path, "new"); !saved.ok)
                return saved.message;
        return std::string();
    });
    ASSERT_EQ(written, "");
    EXPECT_EQ(GroupAndMode(open + "/theirs.txt"), std::to_string(kMaker) + " 0600");
    EXPECT_EQ(GroupAndMode(open + "/ours.txt"), std::to_string(kOtherGroup) + " 0640");
    // The folder's group, which the file kept out, may not read it now either.
    EXPECT_EQ(GroupAndMode(shared + "/before.txt"), std::to_string(kOtherGroup) + " 0600");
    EXPECT_EQ(GroupAndMode(shared + "/mine.txt"), std::to_string(kMaker) + " 0640");
}

namespace {

/// Another member of a shared folder's group who takes the lock `lock` (without waiting) at the
/// first meeting of the point where a new file has its bits and not yet its name; `said` is
/// "held", or why their lock was refused.
struct MemberAtTheName {
    std::string lock;
    uid_t user = 0;
    gid_t group = 0;
    bool met = false;
    std::string said;
};

MemberAtTheName& Member() {
    static MemberAtTheName member;
    return member;
}

void MemberTakesTheLock(std::string_view point) {
    MemberAtTheName& member = Member();
    // Met once: the member's own making of the file meets the point in their process too.
    if (point != "new file: before its name" || member.met) return;
    member.met = true;
    member.said = otheruser::RunAs(member.user, member.group, [&] {
        const platform::FileLock lock(member.lock, platform::LockWait::None);
        return lock.Held() ? std::string("held") : lock.Error();
    });
}

/// While it lives, `MemberTakesTheLock` runs at the fault points.
struct MemberAtFaultPoints {
    MemberAtFaultPoints() { platform::SetFaultHook(&MemberTakesTheLock); }
    ~MemberAtFaultPoints() { platform::SetFaultHook(nullptr); }
    MemberAtFaultPoints(const MemberAtFaultPoints&) = delete;
    MemberAtFaultPoints& operator=(const MemberAtFaultPoints&) = delete;
};

}  // namespace

TEST(NewFilePermission, AMemberOfTheSharedGroupTakesALockFileThatIsBeingMadeAndItsMakerWaitsItsTurn) {
    // The maker's umask gives a new file no group bits; a member of the folder's group looks
    // for the lock file while it is being made.
    TempFolder dir;
    constexpr uid_t kMember = 47103;
    constexpr gid_t kShared = 47104;
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
    if (const std::string why = otheruser::WhyCannotActAs({kMember}, kShared, dir.Path()); !why.empty())
        GTEST_SKIP() << why;
    const std::string store = dir.File("store");
    ASSERT_EQ(::mkdir(store.c_str(), 0700), 0);
    ASSERT_EQ(::chown(store.c_str(), 0, kShared), 0);
    ASSERT_EQ(::chmod(store.c_str(), 02770), 0);
    const std::string lockPath = store + "/" + kLockFile;
    Member() = {lockPath, kMember, kShared, false, ""};
    const UserMask masked(077);
    {
        const MemberAtFaultPoints member;
        const platform::FileLock lock(lockPath, platform::LockWait::None);
        ASSERT_TRUE(Member().met);
        EXPECT_EQ(Member().said, "held");
        // The maker's turn is on the member's file, the only one there: no second lock file, no
        // temporary left.
        EXPECT_TRUE(lock.Held()) << lock.Error();
        struct stat made {};
        ASSERT_EQ(::stat(lockPath.c_str(), &made), 0);
        EXPECT_EQ(made.st_uid, kMember);
        EXPECT_EQ(GroupAndMode(lockPath), std::to_string(kShared) + " 0660");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(store), std::filesystem::directory_iterator()),
                  1);
        const int other = ::open(lockPath.c_str(), O_RDWR | O_CLOEXEC);
        ASSERT_GE(other, 0);
        EXPECT_NE(::flock(other, LOCK_EX | LOCK_NB), 0);
        ::close(other);
    }
}

namespace {

/// Every permission change of the process fails with `error` while it lives.
struct RefusedModeChanges {
    explicit RefusedModeChanges(int error) { platform::SetRefusedModeChanges(error); }
    ~RefusedModeChanges() { platform::SetRefusedModeChanges(0); }
    RefusedModeChanges(const RefusedModeChanges&) = delete;
    RefusedModeChanges& operator=(const RefusedModeChanges&) = delete;
};

}  // namespace

TEST(NewFilePermission, AWriteGoesOnWhereTheFileSystemKeepsNoPermissionButNotWhereTheChangeFails) {
    // vfat without "quiet" refuses a permission it cannot keep with EPERM, FUSE file systems
    // with ENOSYS or ENOTSUP.
    for (const int refusal : {EPERM, ENOSYS, EOPNOTSUPP}) {
        SCOPED_TRACE(refusal);
        TempFolder dir;
        dir.Write("export.txt", "old");
        const RefusedModeChanges refused(refusal);
        EXPECT_TRUE(MakeEveryKindOfFile(dir.Path()));
        EXPECT_EQ(dir.Read("12_H1.mod") + "," + dir.Read("12_H1.txt"), "rows,rows");
        EXPECT_EQ(dir.Read("export.txt"), "rows");
        EXPECT_EQ(dir.Read("exported.lst"), "list");
    }
    // A change that fails for another reason fails the write: the old file stays.
    TempFolder dir;
    dir.Write("export.txt", "old");
    const RefusedModeChanges refused(EIO);
    EXPECT_FALSE(platform::AtomicWriteFile(dir.File("export.txt"), "new").ok);
    EXPECT_FALSE(platform::WriteNewFile(dir.File("exported.lst"), "list").ok);
    EXPECT_EQ(dir.Read("export.txt"), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), std::filesystem::directory_iterator()),
              1);
}

TEST(NewFilePermission, ALockFileMadeAtItsNameHasTheSharedGroupsBitsOrGetsThemAtItsMakersNextTake) {
    // Where links and renames that replace nothing are refused (exFAT through FUSE), a lock file
    // is made at its name and given its group and bits right after; a member who may act as
    // another user is shut out of it until then.
    TempFolder dir;
    constexpr uid_t kMember = 47103;
    constexpr gid_t kShared = 47104;
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
    const bool asMember = otheruser::WhyCannotActAs({kMember}, kShared, dir.Path()).empty();
    const std::string store = dir.File("store"), lockPath = store + "/" + kLockFile;
    ASSERT_EQ(::mkdir(store.c_str(), 0700), 0);
    if (asMember) {
        ASSERT_EQ(::chown(store.c_str(), 0, kShared), 0);
    }
    ASSERT_EQ(::chmod(store.c_str(), 02770), 0);
    struct stat folder {};
    ASSERT_EQ(::stat(store.c_str(), &folder), 0);
    const std::string group = std::to_string(folder.st_gid);
    const auto memberSays = [&] {
        return otheruser::RunAs(kMember, kShared, [&] {
            const platform::FileLock lock(lockPath, platform::LockWait::None);
            return lock.Held() ? std::string("held") : lock.Error();
        });
    };
    const WithoutLinks refused(EPERM, EINVAL);
    const UserMask masked(077);
    for (const bool killedBeforeItsBits : {false, true}) {
        SCOPED_TRACE(killedBeforeItsBits);
        std::filesystem::remove(lockPath);
        {
            // What a kill right after the making leaves, as a change that fails does.
            std::optional<RefusedModeChanges> unkept;
            if (killedBeforeItsBits) unkept.emplace(EPERM);
            const platform::FileLock made(lockPath, platform::LockWait::None);
            ASSERT_TRUE(made.Held()) << made.Error();
        }
        EXPECT_EQ(GroupAndMode(lockPath), group + (killedBeforeItsBits ? " 0600" : " 0660"));
        if (asMember && killedBeforeItsBits) {
            EXPECT_NE(memberSays(), "held");
        }
        // Its maker's next take gives it what it lacks.
        { const platform::FileLock again(lockPath, platform::LockWait::None); }
        EXPECT_EQ(GroupAndMode(lockPath), group + " 0660");
        if (asMember) {
            EXPECT_EQ(memberSays(), "held");
        }
    }
}
