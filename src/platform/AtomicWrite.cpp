// Atomic replacement of user files.
#include "platform/AtomicWrite.h"

#include "platform/Descriptor.h"
#include "platform/FaultPoint.h"
#include "platform/HardLink.h"
#include "platform/OpenedFile.h"
#include "platform/Paths.h"
#include "platform/PermissionNeeded.h"
#include "platform/Permissions.h"
#include "platform/TemporaryFiles.h"
#include "platform/TemporaryWrite.h"
#include "platform/Unsupported.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace detail {

namespace {
/// Between a target's name and the six letters or digits that mkstemp chooses.
constexpr std::string_view kTemporaryMark = ".tmp-";
}  // namespace

bool IsTemporaryOf(std::string_view name, std::string_view targetName) {
    constexpr std::size_t kChosen = 6;
    if (targetName.empty() || name.size() != targetName.size() + kTemporaryMark.size() + kChosen) return false;
    if (name.substr(0, targetName.size()) != targetName) return false;
    if (name.substr(targetName.size(), kTemporaryMark.size()) != kTemporaryMark) return false;
    for (const char c : name.substr(name.size() - kChosen))
        if (!std::isalnum(static_cast<unsigned char>(c))) return false;
    return true;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string FolderPrefixOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void SyncFolderOf(const std::string& path) noexcept {
    // Comes after renames that are made already: a folder name that finds no memory leaves
    // the flush to the system rather than report a change as failed that was made.
    try {
        const Descriptor dir(::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (dir.Open()) ::fsync(dir.Get());
    } catch (const std::bad_alloc&) {
    }
}

std::string SystemError(const std::string& what, const std::string& path) {
    return what + " \"" + path + "\": " + std::strerror(errno);
}

bool StillNamed(const std::string& path, int fd) {
    return IdentityOfDescriptor(fd).SameFile(IdentityOfName(path));
}

bool RemoveIfStill(const std::string& path, int fd) { return StillNamed(path, fd) && ::unlink(path.c_str()) == 0; }

bool FolderLetsReplace(uid_t fileOwner, uid_t folderOwner, mode_t folderMode, bool writable, uid_t user) {
    return fileOwner == user || (writable && (!(folderMode & S_ISVTX) || folderOwner == user));
}

namespace {

/// Whether the folder of `path` lets this user replace `file`, which has that name.
bool MayReplace(const std::string& path, const struct stat& file) {
    const uid_t user = ::geteuid();
    if (file.st_uid == user) return true;
    const std::string folder = FolderOf(path);
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0) return false;
    const bool writable = ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
    return FolderLetsReplace(file.st_uid, st.st_uid, st.st_mode, writable, user);
}

/// Whether `file`, which has the name `path`, is a regular file that `whose` allows.
bool Allowed(const std::string& path, const struct stat& file, Taking whose) {
    return S_ISREG(file.st_mode) && (whose == Taking::OwnOnly ? file.st_uid == ::geteuid() : MayReplace(path, file));
}

}  // namespace

Descriptor LockIfDead(const std::string& path, Taking whose, NotDead* why) {
    NotDead none;
    NotDead& reason = why ? *why : none;
    // Open for writing where the file allows it, for an exclusive lock; a temporary that has
    // the permission of a read-only file, or another user's, gets a shared one, which needs no
    // more on a network folder (NFS) either, and still fails while its writer holds its lock.
    constexpr int kFlags = O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW;
    Descriptor fd(::open(path.c_str(), O_RDWR | kFlags));
    const bool writable = fd.Open();
    if (!writable && (errno == EACCES || errno == EROFS)) fd = Descriptor(::open(path.c_str(), O_RDONLY | kFlags));
    if (!fd.Open()) {
        reason = errno == ENOENT ? NotDead::Missing : errno == EACCES ? NotDead::Unreadable : NotDead::Protected;
        return {};
    }
    struct stat st {};
    const bool taken = ::fstat(fd.Get(), &st) == 0 && Allowed(path, st, whose);
    if (!taken) {
        reason = NotDead::Protected;
        return {};
    }
    int locked;
    while ((locked = ::flock(fd.Get(), (writable ? LOCK_EX : LOCK_SH) | LOCK_NB)) != 0 && errno == EINTR) {
    }
    // The name must still be the file locked: a writer that finished meanwhile has given it
    // to its target, and what has the name now is no temporary.
    if (locked != 0 || !StillNamed(path, fd.Get())) {
        reason = locked != 0 ? NotDead::InUse : NotDead::Missing;
        return {};
    }
    return fd;
}

}  // namespace detail

namespace {

using namespace detail;

/// Creates an empty temporary file beside `path`, locked until its descriptor closes; `name`
/// receives its name. Returns the descriptor, or none (errno set).
Descriptor CreateLockedTemporary(const std::string& path, std::string& name) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        std::string made = path + std::string(kTemporaryMark) + "XXXXXX";
        Descriptor fd(mkostemp(made.data(), O_CLOEXEC));
        if (!fd.Open()) return {};
        int locked;
        while ((locked = ::flock(fd.Get(), LOCK_EX)) != 0 && errno == EINTR) {
        }
        if (locked != 0) {
            // Unlocked, it would look dead to every clean-up: no write goes through it.
            const int error = errno;
            ::unlink(made.c_str());
            errno = error;
            return {};
        }
        // Between its creation and the lock the new file looked like a dead writer's to
        // another writer's clean-up, which may have removed it: then it is made again.
        struct stat st {};
        if (::fstat(fd.Get(), &st) == 0 && st.st_nlink > 0) {
            name = std::move(made);
            return fd;
        }
    }
    errno = EAGAIN;
    return {};
}

}  // namespace

namespace detail {

std::string WriteTarget(const std::string& linkOrPath, LinkHandling links) {
    std::string path = linkOrPath;
    if (links == LinkHandling::Replace) return path;
    if (char* real = ::realpath(linkOrPath.c_str(), nullptr)) {
        path = real;
        std::free(real);
    }
    return path;
}

WriteResult InspectTarget(const std::string& named, const std::string& target, LinkHandling links,
                          TargetState& state) {
    struct stat st {};
    const int found = links == LinkHandling::Replace ? ::lstat(target.c_str(), &st) : ::stat(target.c_str(), &st);
    // What cannot be looked at (no such file, or a folder without search permission) is left
    // for the write itself to find or fail on.
    if (found != 0 || S_ISLNK(st.st_mode)) return {};
    if (!S_ISREG(st.st_mode))
        return {false, "Cannot replace \"" + named + "\": it " +
                           OpenProblemText(S_ISDIR(st.st_mode) ? OpenProblem::Folder : OpenProblem::NotRegular)};
    state.regular = true;
    state.mode = st.st_mode & 07777;
    state.group = st.st_gid;
    return {};
}

int RemoveDeadTemporaries(const std::string& target, const std::vector<RecordedFile>& spared, Taking whose,
                          int heldLock) {
    const std::string folder = FolderOf(target);
    const std::string prefix = FolderPrefixOf(target);
    const std::string targetName = FileNameOf(target);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsTemporaryOf(entry->d_name, targetName)) continue;
        if (std::any_of(spared.begin(), spared.end(),
                        [&](const RecordedFile& file) { return file.TemporaryName == entry->d_name; }))
            continue;
        const std::string path = prefix + entry->d_name;
        if (heldLock >= 0 && StillNamed(path, heldLock)) {
            // The held lock file under its temporary's name as well: its maker holds its lock
            // from before the first name until the second goes, so while this process holds
            // it, that maker was killed in between.
            struct stat st {};
            if (::lstat(path.c_str(), &st) == 0 && Allowed(path, st, whose) && ::unlink(path.c_str()) == 0)
                ++removed;
            continue;
        }
        const Descriptor held = LockIfDead(path, whose);
        // Removed while locked, so that no writer takes it up in between.
        if (held.Open() && ::unlink(path.c_str()) == 0) ++removed;
    }
    ::closedir(dir);
    return removed;
}

}  // namespace detail

namespace {

/// A failed write whose `message` was made after the failure, which may have changed errno:
/// errno is the failure's `error` again, for a caller that tells failures apart by it.
WriteResult FailedWith(int error, std::string message) {
    errno = error;
    return {false, std::move(message)};
}

}  // namespace

namespace detail {

/// The permission a write gives its file: the bits and group of the file it replaces (`kept`,
/// `keptGroup`), or, for a new file, those that the user's umask and a folder shared with its
/// group allow (see `NewFileMode`); either without write permission for `FileAccess::ReadOnly`.
/// A new file that its group writes too (`groupWrites`, a lock file) has, in a folder shared
/// with its group, that group and write permission for it whatever the umask.
struct WriteMode {
    std::optional<mode_t> kept;
    FileAccess access = FileAccess::Keep;
    gid_t keptGroup = 0;
    bool groupWrites = false;

    /// The bits for the written file `fd`, which is to have a name in `folder`. A file that
    /// replaces another takes the old file's group back where it was given another (a shared
    /// folder's, another user's save, a group changed by hand), as far as its maker may give it
    /// that group (a member of it, or root); its bits never open it to any other group, not even
    /// to that of a folder shared with it, whose members the old file may have kept out.
    mode_t For(int fd, const std::string& folder) const {
        mode_t mode = 0;
        if (kept) {
            struct stat file {};
            // A file that cannot be looked at has no group that the old file's bits may open it to.
            if (::fstat(fd, &file) != 0) file.st_gid = keptGroup + 1;
            if (file.st_gid != keptGroup && ::fchown(fd, static_cast<uid_t>(-1), keptGroup) == 0)
                file.st_gid = keptGroup;
            mode = ReplacedFileMode(file, *kept, keptGroup);
        } else {
            // The file's group as made: where the folder's setgid bit gave it, the group may
            // read. A folder that cannot be looked at shares nothing: the umask alone decides.
            struct stat file {}, above {};
            if (::fstat(fd, &file) != 0 || ::stat(folder.c_str(), &above) != 0) above = {};
            // The setgid bit gave it the group already, but where the file system ignores the
            // bit; the change fails only where the maker is no member of that group.
            if (groupWrites && SharedWithGroup(above) && file.st_gid != above.st_gid &&
                ::fchown(fd, static_cast<uid_t>(-1), above.st_gid) == 0)
                file.st_gid = above.st_gid;
            mode = NewFileMode(file, above, UserFileMask());
            if (groupWrites && SharedWithGroup(above) && file.st_gid == above.st_gid) mode |= S_IWGRP;
        }
        if (access == FileAccess::ReadOnly) mode &= ~mode_t(S_IWUSR | S_IWGRP | S_IWOTH);
        return mode;
    }
};

Temporary::~Temporary() {
    if (m_fd.Open() && !m_named) ::unlink(m_name.c_str());
}

bool Temporary::Create(const std::string& path) {
    m_fd = CreateLockedTemporary(path, m_name);
    return m_fd.Open();
}

WriteResult Temporary::Write(const std::string& path, std::string_view contents, const WriteMode& mode) {
    if (!Create(path)) {
        const int error = errno;
        return FailedWith(error, CreationRefused("Cannot create a file in the folder of", path, error));
    }
    const char* data = contents.data();
    std::size_t left = contents.size();
    while (left > 0) {
        const ssize_t n = ::write(m_fd.Get(), data, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return {false, SystemError("Cannot write", path)};
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    return Flush(path, mode);
}

WriteResult Temporary::Write(const std::string& path, std::string_view contents, const TargetState& found,
                             FileAccess access) {
    return Write(path, contents, WriteMode{found.mode, access, found.group});
}

WriteResult Temporary::Flush(const std::string& path, const WriteMode& mode) {
    if ((!ChangeMode(m_fd.Get(), mode.For(m_fd.Get(), FolderOf(path))) && !UnsupportedHere(errno, EPERM)) ||
        ::fsync(m_fd.Get()) != 0)
        return {false, SystemError("Cannot write", path)};
    return {};
}

WriteResult Temporary::RenameOver(const std::string& target) {
    if (std::rename(m_name.c_str(), target.c_str()) != 0) return {false, SystemError("Cannot replace", target)};
    m_named = true;
    return {};
}

bool Temporary::LinkAs(const std::string& target, Naming naming) {
    if (HardLink(m_name, target)) {
        // A kill here leaves the file with both names, the temporary's unlocked: dead, as any
        // other temporary a kill leaves.
        FaultPoint("new file: named, its temporary not yet gone");
        ::unlink(m_name.c_str());
        m_named = true;
        return true;
    }
    if (!UnsupportedHere(errno, EPERM)) return false;
    const bool renamed = naming == Naming::ExclusiveOnly ? RenameNoReplace(m_name, target)
                                                         : RenameToFreeName(m_name, target);
    if (!renamed) return false;
    m_named = true;
    return true;
}

}  // namespace detail

using detail::Temporary;

namespace {

/// Writes `contents` into `temporary`, beside `path`, with the permission `mode` gives, and
/// gives it the name `path` only where no file has that name, as `naming` allows. When the name
/// was taken, errno is EEXIST after it.
WriteResult WriteUnderFreeName(Temporary& temporary, const std::string& path, std::string_view contents,
                               const WriteMode& mode, Naming naming = Naming::LookThenRenameWhereNeeded) {
    RemoveDeadTemporaries(path);
    if (WriteResult written = temporary.Write(path, contents, mode); !written.ok) return written;
    // Whoever looks for `path` until it is named finds no file, and may make one of their own.
    FaultPoint("new file: before its name");
    if (!temporary.LinkAs(path, naming)) {
        const int error = errno;
        return FailedWith(error, error == EEXIST ? "\"" + path + "\" already exists; it was not overwritten."
                                                 : SystemError("Cannot create", path));
    }
    SyncFolderOf(path);
    return {};
}

}  // namespace

WriteResult WriteNewFile(const std::string& path, std::string_view contents) {
    Temporary temporary;
    return WriteUnderFreeName(temporary, path, contents, WriteMode{});
}

namespace {

/// Makes the lock file `path` at its name, exclusively (O_EXCL), and gives it its group and
/// permission only then: for a file system with neither hard links nor renames that replace
/// nothing (exFAT through FUSE), where a look and a rename could give two makers a lock file
/// each, and so a lock each. A member who opens it in between may find it not yet writable for
/// them, and waits or tries again.
Descriptor MakeLockFileAtItsName(const std::string& path) {
    // Where another taker may make the same lock file first.
    FaultPoint("lock file: made at its name next");
    constexpr mode_t kReadWrite = S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP | S_IROTH | S_IWOTH;
    Descriptor fd(::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, kReadWrite));
    if (!fd.Open()) return fd;
    WriteMode mode;
    mode.groupWrites = true;
    // The file has its name, and others may hold it open already: a permission that cannot be
    // given leaves it as made, and the lock works all the same.
    (void)ChangeMode(fd.Get(), mode.For(fd.Get(), FolderOf(path)));
    SyncFolderOf(path);
    return fd;
}

}  // namespace

namespace detail {

Descriptor MakeLockFile(const std::string& path) {
    Descriptor made;
    int error = 0;
    {
        Temporary temporary;
        WriteMode mode;
        mode.groupWrites = true;
        // Never a look and a rename: two takers who both found no lock file would each lock a
        // file of their own.
        if (WriteUnderFreeName(temporary, path, {}, mode, Naming::ExclusiveOnly).ok)
            made = temporary.TakeNamed();
        else
            error = errno;
    }
    if (!made.Open() && UnsupportedHere(error, EINVAL)) return MakeLockFileAtItsName(path);
    // Removing a temporary that did not take the name must not hide why it did not.
    errno = error;
    return made;
}

void MendLockFile(const std::string& path, int fd) {
    const std::string folder = FolderOf(path);
    struct stat file {}, above {};
    if (::fstat(fd, &file) != 0 || file.st_uid != ::geteuid() || ::stat(folder.c_str(), &above) != 0 ||
        !SharedWithGroup(above))
        return;
    constexpr mode_t kGroupWrites = S_IRGRP | S_IWGRP;
    if (file.st_gid == above.st_gid && (file.st_mode & kGroupWrites) == kGroupWrites) return;
    WriteMode mode;
    mode.groupWrites = true;
    (void)ChangeMode(fd, (file.st_mode & 07777) | mode.For(fd, folder));
}

}  // namespace detail

WriteResult AtomicWriteFile(const std::string& path, std::string_view contents, FileAccess access,
                            LinkHandling links) {
    return AtomicWriteFiles({FileWrite{path, contents, access, links}});
}

FileReplacement::FileReplacement(const std::string& target) : m_target(WriteTarget(target, LinkHandling::Follow)) {
    TargetState found;
    if (WriteResult usable = InspectTarget(target, m_target, LinkHandling::Follow, found); !usable.ok) {
        m_error = usable.message;
        return;
    }
    m_mode = found.mode;
    m_group = found.group;
    RemoveDeadTemporaries(m_target);
    auto temporary = std::make_unique<Temporary>();
    if (temporary->Create(m_target))
        m_temporary = std::move(temporary);
    else
        m_error = CreationRefused("Cannot create a file in the folder of", m_target, errno);
}

FileReplacement::~FileReplacement() = default;

const std::string& FileReplacement::Path() const {
    static const std::string none;
    return m_temporary ? m_temporary->Name() : none;
}

WriteResult FileReplacement::Commit() {
    if (!m_temporary) return {false, m_error.empty() ? "Nothing to replace \"" + m_target + "\" with" : m_error};
    // The writer wrote through a descriptor of its own; the temporary's reaches the same file.
    const WriteMode mode{m_mode, FileAccess::Keep, m_group};
    if (WriteResult flushed = m_temporary->Flush(m_target, mode); !flushed.ok) return flushed;
    if (WriteResult renamed = m_temporary->RenameOver(m_target); !renamed.ok) return renamed;
    m_temporary.reset();
    SyncFolderOf(m_target);
    return {};
}

int RemoveStaleTemporariesOf(const std::string& target, LinkHandling links) {
    return RemoveDeadTemporaries(WriteTarget(target, links));
}

}  // namespace platform
