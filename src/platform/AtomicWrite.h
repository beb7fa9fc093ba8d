// One way to write a user file: a temporary file beside it, flushed, then renamed over it.
#pragma once

#include "platform/FileLock.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>
#include <sys/types.h>

namespace platform {

/// Outcome of a file write; `message` says what failed, for the user, when `ok` is false.
struct WriteResult {
    bool ok = true;
    std::string message;
    explicit operator bool() const { return ok; }
};

/// The permission of a file that `AtomicWriteFile` writes.
enum class FileAccess {
    Keep,      ///< the old file's permission bits and group (or no group bits where it cannot
               ///< have that group: see `ReplacedFileMode`); for a new file, what the user's umask
               ///< allows (but the group of a folder shared with it may read it: see `NewFileMode`)
    ReadOnly,  ///< those bits without any write permission (saved plan lists)
};

/// What a write does with a target that is a symbolic link. Either way an existing target that
/// is no regular file (a folder, a FIFO, a device) is refused with its name: a rename would
/// turn a pipe or a device into a file, and a folder cannot be replaced.
enum class LinkHandling {
    Follow,   ///< the file the link points to is replaced where it lies (settings, lists, a user's saves)
    Replace,  ///< the link itself is replaced, never followed: a link planted in a folder that
              ///< others share (the saved-DVH store) must not send a save to another file
};

/// Replaces `path` with `contents` so that a failure or a kill at any point leaves the old file
/// whole. The new file has its final permission before it takes the name, so no crash leaves it
/// writable when it should not be (the rename needs a writable folder, not a writable file).
/// A permission that the file system cannot keep (vfat, FUSE) does not stop the write.
/// The temporary file beside it (its name + ".tmp-" + 6 characters) is locked from its creation
/// until it has its final name, so that `RemoveStaleTemporariesOf` can tell one left by a
/// killed writer; those of the same target are removed first.
WriteResult AtomicWriteFile(const std::string& path, std::string_view contents,
                            FileAccess access = FileAccess::Keep, LinkHandling links = LinkHandling::Follow);

/// One file of a change that `AtomicWriteFiles` makes.
struct FileWrite {
    std::string Path;
    std::string_view Contents;
    FileAccess Access = FileAccess::Keep;
    LinkHandling Links = LinkHandling::Follow;
};

/// Where a change of several files that are only right together is recorded while it is made.
struct CommitRecord {
    /// The record, in the files' own folder: it names the flushed temporaries and their
    /// targets from before the first rename until the last, and tells them by what they hold
    /// (the size and digest of each temporary, and of each target's old file), which a copy of
    /// the folder, a backup restored or a file system that numbers its files anew keeps.
    std::string Path;
    /// A lock file beside it, never renamed nor removed: whoever makes, completes or discards
    /// the change holds its lock throughout, so that two writers of the same files take turns.
    std::string Lock;
};

/// Replaces files that are only right together, as `AtomicWriteFile` replaces one: every
/// temporary is written and flushed first, so that a failure up to then leaves every file as
/// it was; then they take their names in the order given, one right after the other. When a
/// rename fails, the files renamed before it get their old contents back (one that did not
/// exist, or was a link replaced, goes again).
/// With a `commit` record the change is one commit even when the writer is killed between two
/// renames: `FinishInterruptedCommit` completes a change that has its record. Its files must
/// be replaced as links (`LinkHandling::Replace`), since the record names them in its own
/// folder. The record takes its name only where no file has it, or over a record of the same
/// files that stays (one that could not be ended, which this change supersedes, and whose
/// temporaries then go); anything else of that name refuses the change, and no file is touched.
/// When a rename fails and a file cannot be put back, the record stays with the temporaries it
/// names; when all are put back, the record goes, unless the change superseded one that left
/// the files part new, part old: its own record, which says so, then stays, so that they still
/// read so, whatever cuts the change short after its record took its name. Without a record,
/// such a kill leaves the first files new and the rest old, and whoever reads them checks
/// that they belong together.
WriteResult AtomicWriteFiles(const std::vector<FileWrite>& files, const CommitRecord& commit = {});

/// What `FinishInterruptedCommit` found and did.
struct CommitEnd {
    enum class State {
        NoRecord,    ///< nothing has the record's name
        Completed,   ///< the recorded files all have their new contents; the record is gone
        Discarded,   ///< what was left could not be completed: the temporaries and record are gone
        Unfinished,  ///< the record stays, and `message` says why (another user's, a rename failed)
        Busy,        ///< another program holds the change's lock (`message` says so); nothing was looked at
        Partial,     ///< some files are new, and a temporary of the rest is gone (or nothing of it is new
                     ///< yet, and the change superseded one that left them so, or a file holds what
                     ///< none of them wrote, or an older build's record finds none of its files where
                     ///< it lies): the record stays, and with it what it names, until a new change of
                     ///< all the files supersedes it
        Unreachable, ///< this user may not enter the record's folder, so whether a record is there
                     ///< cannot be told: `message` says what the folder needs; nothing was looked at
    };
    State state = State::NoRecord;
    std::string message;
    /// The files are those of one change: there was no record, or the change was completed or
    /// discarded. Only then may a reader take them together.
    bool Whole() const { return state == State::NoRecord || state == State::Completed || state == State::Discarded; }
    /// A record stays that a new change of the files may not supersede now: it could not be
    /// ended, or another program is at it; or none can be looked for.
    bool Blocked() const { return state == State::Unfinished || state == State::Busy || Unreachable(); }
    bool Busy() const { return state == State::Busy; }
    bool Unreachable() const { return state == State::Unreachable; }
    bool Partial() const { return state == State::Partial; }
};

/// Ends the change of `AtomicWriteFiles` to `targets` (in their order there) whose writer was
/// killed after it wrote the `commit` record. A temporary counts as there when a file of its
/// name holds what the record says it held; one that is gone counts as renamed only when its
/// target now holds that (a record of an older build: when its target is that very file, by
/// device and inode). Files are read only where a record is found. When those before are
/// renamed and the rest are still there, whole, dead and this user's (or another user's in a
/// folder that lets this user replace their files: writable, and without the sticky bit unless
/// it is this user's), the rest take their names; when none is renamed and one is gone, what is
/// left of the change goes, unless the change superseded one that left the files part new, part
/// old, or a file holds neither its old content nor its new; when some are renamed and one of
/// the rest is gone, the files are part new and part old. Those three are `Partial`. A file
/// that cannot be read leaves the change `Unfinished`: nothing is taken for missing that may
/// still be the change's. The record goes once the files are whole, and only while it is
/// still the file read. Anything else at the record's name (a record cut short to any length,
/// zeroed, changed, of other files, of a later version, or another program's file, which
/// nothing tells apart from those) is left as it is, and leaves the change `Unfinished`: what
/// it said of the files is lost, and they are never taken for one change's.
/// Another program's turn is waited for as `wait` says (a list of many entries waits for none).
CommitEnd FinishInterruptedCommit(const CommitRecord& commit, const std::vector<std::string>& targets,
                                  LockWait wait = LockWait::UpToLimit);

/// Whether anything has the name of the record of a change of `targets` now, or this user may
/// not look: a change of them is under way, or was cut short, or its record is damaged. Nothing
/// is locked or waited for.
bool CommitRecorded(const CommitRecord& commit, const std::vector<std::string>& targets);

namespace detail {
class Temporary;
}

/// A new version of `target` written by something that opens files by name itself (a
/// printer): it writes `Path()`, a temporary beside `target` named and locked as
/// `AtomicWriteFile`'s own, and `Commit` flushes it and renames it over `target`, which keeps
/// its permission bits (a new file has those of `FileAccess::Keep`). Until then `target` is
/// untouched; a temporary never committed is removed when this goes, and one left by a kill
/// goes with the next write of the same target. A
/// `target` that exists and is no regular file (after links) is refused: `Path()` is empty then.
class FileReplacement {
public:
    explicit FileReplacement(const std::string& target);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    /// Where to write; empty when no temporary could be made (`Error` says why).
    const std::string& Path() const;
    const std::string& Error() const { return m_error; }
    /// Gives the written temporary the target's name.
    WriteResult Commit();

private:
    std::string m_target;
    std::string m_error;
    std::optional<mode_t> m_mode;  // the replaced file's permission bits; none for a new file
    gid_t m_group = 0;             // and its group
    std::unique_ptr<detail::Temporary> m_temporary;  // none when it could not be made, or once committed
};

/// Removes the temporaries that writes of `target` left when they were killed: only files named
/// exactly as its own (its file name, ".tmp-" and six letters or digits), in its folder, owned
/// by the current user, regular, and whose lock nobody holds, so never the temporary of a
/// write that another thread or process is making, nor any other file of the folder. `links`
/// says where the writes of `target` put their temporaries. Returns how many went. Every write
/// above calls it for its target, so what a kill left goes with the next write of that file.
int RemoveStaleTemporariesOf(const std::string& target, LinkHandling links = LinkHandling::Follow);

/// Writes `contents` to a file `path` that must not exist: written whole beside it first, then
/// given its name only if no file has that name by then, so an existing file is never replaced.
/// Its permission is a new file's (see `FileAccess::Keep`). On a file system without hard links
/// a rename that replaces nothing gives the name, as vfat and exFAT do; where that is refused
/// too (sshfs) the name is looked at right before a rename gives it: a file that another
/// program makes there in between is replaced.
WriteResult WriteNewFile(const std::string& path, std::string_view contents);

}  // namespace platform
