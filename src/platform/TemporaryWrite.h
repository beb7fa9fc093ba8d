// The temporary file a write fills beside its target, and the looks at the target every write takes first.
#pragma once

#include "platform/AtomicWrite.h"
#include "platform/Descriptor.h"
#include "platform/TemporaryFiles.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>
#include <sys/types.h>

namespace platform::detail {

/// The file a write replaces. Following links, the file a link points to, since renaming over
/// the link itself would cut a shared settings file or list off from its link.
std::string WriteTarget(const std::string& linkOrPath, LinkHandling links);

/// What a write finds at its target.
struct TargetState {
    bool regular = false;         ///< a regular file has the name now
    std::optional<mode_t> mode;  ///< its permission bits; none where the write makes a new file
    gid_t group = 0;              ///< its group, where it has the name
};

/// Looks at `target` (the file `named` resolves to) before it is replaced: nothing, a regular
/// file, or a link that `LinkHandling::Replace` replaces are fine; anything else is refused.
WriteResult InspectTarget(const std::string& named, const std::string& target, LinkHandling links,
                          TargetState& state);

/// Removes the dead temporaries of `target`, which a write resolved already, that `whose`
/// allows, but those named in `spared` (those of a record that stays). `heldLock`, where given,
/// is the lock file `target` open, whose lock this process holds: a temporary that is that very
/// file is dead too, though its lock is held (its maker was killed between its two names).
int RemoveDeadTemporaries(const std::string& target, const std::vector<RecordedFile>& spared = {},
                          Taking whose = Taking::OwnOnly, int heldLock = -1);

struct WriteMode;

/// How a temporary takes a free name where the file system gives neither hard links nor renames
/// that replace nothing.
enum class Naming {
    LookThenRenameWhereNeeded,  ///< a look that finds the name free, then a rename
    ExclusiveOnly,              ///< not at all: `UnsupportedHere(errno, EINVAL)` says so then
};

/// A temporary file beside its target, locked for as long as this object holds it open: from
/// before its first byte until it has taken its final name. Destroyed before that (a failure,
/// an exception, a write never committed), it goes; it is removed while still locked, so no
/// clean-up takes it for a dead writer's in between.
class Temporary {
public:
    Temporary() = default;
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;
    ~Temporary();

    /// Creates it, empty, beside `path`; false (errno set) when it cannot be made.
    bool Create(const std::string& path);

    /// Creates it and writes `contents` into it, flushed, with the permission `mode` gives.
    WriteResult Write(const std::string& path, std::string_view contents, const WriteMode& mode);
    /// The same with the permission of a file that replaces what `found` saw at `path` (a new
    /// file's where nothing was there), as `access` asks.
    WriteResult Write(const std::string& path, std::string_view contents, const TargetState& found,
                      FileAccess access);

    /// Gives it the permission `mode` gives for `path` and flushes what was written to it,
    /// through this descriptor or another: an open descriptor writes whatever the bits say, so
    /// the file gets its final ones before it takes its name. Bits that the file system cannot
    /// keep (vfat, FUSE) do not stop the write: the file has what that file system gives every
    /// file, as any other program's file there has.
    WriteResult Flush(const std::string& path, const WriteMode& mode);

    /// Renames it over `target`; nothing is removed at the end then, and the lock goes with
    /// the descriptor, so that a commit record stays locked while its change is made.
    WriteResult RenameOver(const std::string& target);

    /// Gives it the name `target` only if no file has that name: a hard link fails where the
    /// name is taken, where a rename would replace that file. A file system without hard links
    /// gets a rename that replaces nothing instead (see `RenameNoReplace`): vfat and exFAT
    /// promise as much. Where that is refused too (sshfs, exFAT through FUSE), `naming` says
    /// whether a look and a rename give the name (see `RenameToFreeName`), which replaces a file
    /// that another program makes at that name right between the two. False (errno set, EEXIST
    /// where the name is taken) when it did not take the name.
    bool LinkAs(const std::string& target, Naming naming = Naming::LookThenRenameWhereNeeded);

    /// Its descriptor, still locked, once it has taken its final name; none before.
    Descriptor TakeNamed() { return m_named ? std::move(m_fd) : Descriptor(); }

    /// Leaves it where it is when this goes, unlocked: a record that stays names it, so that a
    /// later completion can finish the change.
    void Keep() { m_named = true; }
    /// Removes it after all, while it is still this file.
    void Remove() {
        if (m_fd.Open()) RemoveIfStill(m_name, m_fd.Get());
    }

    const std::string& Name() const { return m_name; }
    int Fd() const { return m_fd.Get(); }

private:
    std::string m_name;
    Descriptor m_fd;
    bool m_named = false;
};

}  // namespace platform::detail
