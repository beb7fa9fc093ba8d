// Changes of several files that are only right together, recorded while their temporaries take their names.
#include "platform/AtomicWrite.h"

#include "platform/FaultPoint.h"
#include "platform/FileIdentity.h"
#include "platform/FileLock.h"
#include "platform/OpenedFile.h"
#include "platform/Paths.h"
#include "platform/TemporaryFiles.h"
#include "platform/TemporaryWrite.h"

#include <cerrno>
#include <optional>
#include <string>
#include <vector>
#include <unistd.h>

namespace platform {

namespace {

using namespace detail;

/// Why a change was not made: something that is no record of it has its record's name.
WriteResult RecordNameTaken(const std::string& path) {
    return {false, "\"" + path + "\" already exists and is no record of this change; it was not overwritten."};
}

/// What the record of a change tells of one of its files: the temporary that holds `contents`
/// for `target`, and what `target` held before (`old`, read already, or read here when not
/// given; none where no regular file had its name).
WriteResult RecordFile(const Temporary& temporary, const std::string& target, std::string_view contents,
                       bool regular, const std::string* old, RecordedFile& file) {
    file.TemporaryName = FileNameOf(temporary.Name());
    file.TargetName = FileNameOf(target);
    file.New = ContentOf(contents);
    if (!regular) return {};
    if (old) {
        file.Old = ContentOf(*old);
        return {};
    }
    OpenProblem problem = OpenProblem::None;
    file.Old = ContentOfFile(target, &problem);
    if (!file.Old) return {false, "Cannot read \"" + target + "\": it " + OpenProblemText(problem)};
    return {};
}

/// Writes the record `change` and gives it its name; `record` holds it, locked, until the
/// change is made. The name must be free, or have the record `kept` of an earlier change of the
/// same files, which this one supersedes.
WriteResult WriteCommitRecord(const std::string& path, const RecordedChange& change,
                              const std::optional<FileIdentity>& kept, Temporary& record) {
    RemoveDeadTemporaries(path);
    // Readable as a new file is, by the group of a folder shared with it whatever the umask, so
    // that whoever shares the folder sees that the entry waits for its end.
    const WriteResult written = record.Write(path, CommitRecordText(change), TargetState{}, FileAccess::Keep);
    if (!written.ok) return written;
    if (kept) {
        // Replaced in one step, so that the earlier change's files are never without a record.
        if (!IdentityOfName(path).SameFile(*kept)) return RecordNameTaken(path);
        if (WriteResult replaced = record.RenameOver(path); !replaced.ok) return replaced;
    } else if (!record.LinkAs(path)) {
        return errno == EEXIST ? RecordNameTaken(path) : WriteResult{false, SystemError("Cannot create", path)};
    }
    SyncFolderOf(path);
    return {};
}

}  // namespace

WriteResult AtomicWriteFiles(const std::vector<FileWrite>& files, const CommitRecord& commit) {
    const std::size_t n = files.size();
    const bool recorded = !commit.Path.empty();
    std::vector<std::string> targets;
    for (const FileWrite& file : files) {
        // The record names its files in its own folder, as they are there: a link followed
        // would put the change somewhere else.
        if (recorded && file.Links != LinkHandling::Replace)
            return {false, "Cannot record a change of \"" + file.Path + "\" made through links"};
        targets.push_back(WriteTarget(file.Path, file.Links));
        if (recorded && FolderOf(targets.back()) != FolderOf(commit.Path))
            return {false, "Cannot record a change of \"" + targets.back() + "\" beside \"" + commit.Path + "\""};
    }
    // Two writers of one change take turns, and so do they with whoever ends one that a kill
    // cut short; a change that cannot take its turn is not made.
    std::optional<FileLock> turn;
    // A record of these files that stays, and what it names: spared until this change's record
    // has replaced it. What it left part new, part old, this change's record says so too.
    KeptRecord kept;
    std::optional<FileIdentity> keptId;
    RecordedChange change;
    if (recorded) {
        turn.emplace(commit.Lock);
        if (!turn->Held()) return {false, turn->Error()};
        // A change that a kill interrupted is ended before its temporaries could look dead. One
        // that cannot be ended is replaced by this one as a whole; a file of the record's name
        // that is no record of these files is never replaced, and nothing is changed then.
        FinishInterruptedCommit(commit, targets);
        switch (InspectRecordName(commit.Path, targets, kept)) {
            case RecordName::Free: break;
            case RecordName::Kept:
                keptId = kept.Id;
                change.LeftPartNew = PartNewTargetOf(commit.Path, kept.Change);
                break;
            case RecordName::Taken: return RecordNameTaken(commit.Path);
        }
    }
    std::vector<TargetState> found(n);
    for (std::size_t i = 0; i < n; ++i) {
        if (WriteResult usable = InspectTarget(files[i].Path, targets[i], files[i].Links, found[i]); !usable.ok)
            return usable;
        // What a killed write of this file left goes with its next write.
        RemoveDeadTemporaries(targets[i], kept.Change.Files);
    }
    // What a failed rename puts back: the old contents of every file but the last.
    std::vector<std::string> oldContents(n);
    for (std::size_t i = 0; i + 1 < n; ++i) {
        OpenProblem problem = OpenProblem::None;
        if (found[i].regular && !ReadWholeFile(targets[i], oldContents[i], std::size_t(1) << 31, &problem))
            return {false, "Cannot read \"" + targets[i] + "\": it " + OpenProblemText(problem)};
    }
    std::vector<Temporary> temporaries(n);
    for (std::size_t i = 0; i < n; ++i) {
        WriteResult written = temporaries[i].Write(targets[i], files[i].Contents, found[i], files[i].Access);
        if (!written.ok) return written;
    }
    FaultPoint("atomic write: temporary written");
    // Held, and so locked, until the change is made: no one ends a commit still under way.
    Temporary record;
    if (recorded) {
        // The record tells its files by what they hold, which a copy of the folder keeps.
        for (std::size_t i = 0; i < n; ++i)
            if (WriteResult told = RecordFile(temporaries[i], targets[i], files[i].Contents, found[i].regular,
                                              i + 1 < n ? &oldContents[i] : nullptr, change.Files.emplace_back());
                !told.ok)
                return told;
        if (WriteResult written = WriteCommitRecord(commit.Path, change, keptId, record); !written.ok) return written;
        FaultPoint("atomic write: commit recorded");
        // What the superseded record named goes now, also where another user's save left it
        // in a folder that lets this user replace their files, as the record did.
        if (keptId)
            for (const std::string& target : targets) RemoveDeadTemporaries(target, {}, Taking::Replaceable);
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (WriteResult renamed = temporaries[i].RenameOver(targets[i]); !renamed.ok) {
            // Put back by hand, not completed by the next one who comes by; the record goes
            // only once every file is old again, so that a kill meanwhile leaves it to be ended.
            // Until then it names the rest, which stay with it, for a later completion to finish
            // the change should the files not all be put back.
            if (recorded)
                for (std::size_t k = i; k < n; ++k) temporaries[k].Keep();
            FaultPoint("atomic write: restoring");
            bool restored = true;
            for (std::size_t j = 0; j < i; ++j) {
                const bool back = found[j].regular
                                      ? AtomicWriteFile(targets[j], oldContents[j], files[j].Access, files[j].Links).ok
                                      : ::unlink(targets[j].c_str()) == 0;
                restored = restored && back;
            }
            FaultPoint("atomic write: files put back");
            // Files put back as a superseded change left them, part new, part old, still read so:
            // this change's record stays, which says it, for as long as nothing of it is renamed.
            // Nothing is written for that, so nothing can fail or be cut short in between.
            const bool ended = recorded && restored &&
                               (!change.LeftPartNew.empty() || RemoveIfStill(commit.Path, record.Fd()));
            if (ended)
                for (std::size_t k = i; k < n; ++k) temporaries[k].Remove();
            return renamed;
        }
        if (i + 1 < n) FaultPoint("atomic write: one of several renamed");
    }
    // Make the renames themselves durable, before the record that would complete them goes.
    for (const std::string& target : targets) SyncFolderOf(target);
    if (recorded) {
        FaultPoint("atomic write: all renamed");
        RemoveIfStill(commit.Path, record.Fd());
        SyncFolderOf(commit.Path);
    }
    return {};
}

}  // namespace platform
