// The protocol of a store entry: its record and lock, the open that takes one save's pair, the
// save that writes one, and their texts.
#include "dvh/StoreEntry.h"

#include "dvh/FileNames.h"
#include "platform/FaultPoint.h"
#include "platform/FileLock.h"
#include "platform/Paths.h"
#include "platform/WaitNotice.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <thread>
#include <vector>

namespace {

/// A look at the entry whose save was under way is tried again after this pause.
constexpr std::chrono::milliseconds kPause{5};

/// What a refusal that sends the user to Reload adds: Reload reads the names from the files, and
/// those changed here and not saved are gone after it.
constexpr std::string_view kReloadDropsNames =
    " Reload drops the names changed here since the plan was read or saved: note them first.";

/// "Another save of 12_H1.txt is under way": another program held the entry's lock throughout
/// the wait.
std::string SaveUnderWayText(const std::string& textFile) {
    return "Another save of " + platform::FileNameOf(textFile) + " is under way";
}

/// What the user is told of a save of the entry that could not take its turn.
std::string SaveBusyText(const std::string& textFile) {
    return SaveUnderWayText(textFile) + "; nothing was written.";
}

/// `text` begun as a sentence: "The folder ..." for "the folder ...".
std::string AsSentence(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

/// What the user is told of an entry whose interrupted save `end` left it other than whole. A
/// folder that shuts the user out hides whether any save was cut short: only what it needs is told.
std::string UnfinishedSaveText(const std::string& textFile, const platform::CommitEnd& end) {
    if (end.Busy()) return SaveUnderWayText(textFile);
    if (end.Unreachable()) return AsSentence(end.message);
    return "An earlier save of " + platform::FileNameOf(textFile) + " could not be completed (" + end.message + ")";
}

/// Why a save writes nothing over an entry whose interrupted save `end` cannot be superseded.
std::string RefusedSaveText(const std::string& textFile, const platform::CommitEnd& end) {
    if (end.Busy()) return SaveBusyText(textFile);
    if (end.Unreachable()) return AsSentence(end.message) + "; nothing was written.";
    return UnfinishedSaveText(textFile, end) + ".";
}

/// What an open of the entry took without its companion says.
std::string WithoutCompanion(const std::string& why) { return why + ": the plan is opened without its companion."; }

/// One look at the entry: the export and the companion opened and read, and whether no save of
/// the entry came between, so that they belong to one save.
struct Look {
    StoreEntryRead Read;
    bool OneSave = false;
};

Look LookAtEntry(const std::string& textFile) {
    const std::string companion = ChangeFileExt(textFile, ".mod");
    Look look;
    look.Read.Export = platform::OpenedFile::Open(textFile);
    if (!look.Read.Export) {
        // The read says why the export cannot be had; there is nothing to pair.
        look.OneSave = true;
        return look;
    }
    platform::FaultPoint("store entry: export opened");
    platform::OpenProblem problem = platform::OpenProblem::None;
    const auto held = platform::OpenedFile::Open(companion, &problem);
    platform::FileVersion companionRead;
    if (held) look.Read.Companion = ReadModFile(*held, &problem, &companionRead);
    if (look.Read.Companion)
        look.Read.CompanionRead = CompanionVersion::Of(companionRead);
    else if (problem == platform::OpenProblem::Missing)
        look.Read.CompanionRead = CompanionVersion::Missing();
    else
        look.Read.CompanionRead = CompanionVersion::CouldNotRead(problem);
    platform::FaultPoint("store entry: companion read");
    // The export and the companion read belong to one save when, after the read, no save is
    // under way and both still have their names: a save records itself before its first rename
    // and removes the record after its last, so one that renamed a file before these looks
    // either is still recorded, or has given that file's name to another.
    // A companion that could not be opened is taken by none: only one that was missing and
    // has come since counts.
    const bool companionKept = held ? platform::IdentityOfPath(companion) == held->Identity()
                                    : problem != platform::OpenProblem::Missing || !platform::PathMayExist(companion);
    look.OneSave = !platform::CommitRecorded(StoreCommitOf(textFile), StoreCommitTargets(textFile)) &&
                   platform::IdentityOfPath(textFile) == look.Read.Export->Identity() && companionKept;
    if (look.OneSave && !look.Read.Companion && problem != platform::OpenProblem::Missing)
        look.Read.Problem = platform::FileNameOf(companion) + " " + ModFileProblemText(problem) +
                            ": the plan is opened without it.";
    return look;
}

/// Why a save may not replace `path`, which the plan read as `version`: it changed since, or
/// there was no memory to tell, which Reload, which drops the names changed here, would not
/// mend. Empty while it holds that version.
std::string ChangedSinceText(const std::string& path, const platform::FileVersion& version) {
    switch (platform::CheckFileVersion(path, version)) {
        case platform::VersionCheck::Holds: return {};
        case platform::VersionCheck::Differs: return ExportChangedSaveText(path);
        case platform::VersionCheck::NoMemory:
            return std::string(kNoMemoryToSaveText);
    }
    return {};
}

/// Why the companion of the entry of `textFile` is not what a read took of it, which a save
/// may replace: the bytes read, or, where the read found none or took none, none at all. Each
/// cause has its own words, so that the way on they give is one that leads somewhere: a
/// companion that could not be read is read no better by Reload. Empty when it is as read.
std::string CompanionNotAsRead(const std::string& textFile, const CompanionVersion& read) {
    const std::string companion = ChangeFileExt(textFile, ".mod");
    switch (read.Took) {
        case CompanionVersion::State::Read: return ChangedSinceText(companion, read.Version);
        case CompanionVersion::State::None:
            return platform::PathMayExist(companion) ? ExportChangedSaveText(companion) : std::string();
        case CompanionVersion::State::Unreadable:
            if (!platform::PathMayExist(companion)) return {};
            return platform::FileNameOf(companion) + " " + ModFileProblemText(read.Problem) +
                   ": the plan was opened without it, and a save never replaces a companion it has not read; "
                   "nothing was written.";
        case CompanionVersion::State::TookNone:
            if (!platform::PathMayExist(companion)) return {};
            return platform::FileNameOf(textFile) + " was loaded without its companion " +
                   platform::FileNameOf(companion) + "; nothing was written. Press Reload to read both, then save " +
                   "again." + std::string(kReloadDropsNames);
    }
    return {};
}

/// Why a save of a plan read from the whole entry of `textFile` may not replace it: its export
/// or its companion is no longer what the plan read. A table written from the plan checks the
/// export too: what it would replace may be another save's. Another
/// user or instance may have saved the entry since, and what they saved is not overwritten
/// unseen. Empty when both are as read.
std::string ChangedSinceRead(const std::string& textFile, const StoreSaveSource& read) {
    if (std::string changed = ChangedSinceText(textFile, read.ExportRead); !changed.empty()) return changed;
    return CompanionNotAsRead(textFile, read.CompanionRead);
}

}  // namespace

platform::CommitRecord StoreCommitOf(const std::string& textFile) {
    return {textFile + std::string(kStoreRecordSuffix), textFile + ".lock"};
}

std::vector<std::string> StoreCommitTargets(const std::string& textFile) {
    return {ChangeFileExt(textFile, ".mod"), textFile};
}

std::string StoreTextFileOfRecord(const std::string& path) {
    const std::string ending = ".txt" + std::string(kStoreRecordSuffix);
    const std::string name = platform::FileNameOf(path);
    if (name.size() <= ending.size() || !name.ends_with(ending)) return {};
    return path.substr(0, path.size() - kStoreRecordSuffix.size());
}

bool IsStoreEntryFile(const std::string& saveFolder, const std::string& path) {
    if (saveFolder.empty() || !path.ends_with(".txt")) return false;
    const std::filesystem::path file(path);
    return SameStoreEntry(file.parent_path().parent_path().string(), saveFolder);
}

std::string StoreListNameOf(const std::string& path) {
    return std::filesystem::path(path).parent_path().filename().string();
}

platform::CommitEnd FinishInterruptedStoreSave(const std::string& textFile, platform::LockWait wait) {
    return platform::FinishInterruptedCommit(StoreCommitOf(textFile), StoreCommitTargets(textFile), wait);
}

bool SameStoreEntry(const std::string& a, const std::string& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec) && !ec;
}

StoreEntryRead ReadStoreEntry(const std::string& textFile) {
    // As long as a lock is waited for: a save under way ends long before; one that does not is
    // stopped, and the export is taken without its companion.
    const auto deadline = std::chrono::steady_clock::now() + platform::LockWaitLimit();
    // The window shows that it waits from the first pause to the end of the open.
    std::optional<platform::AnnouncedWait> waiting;
    Look look;
    for (;;) {
        // A record whose writer is gone is ended here. The entry's lock is not waited for: a
        // save under way takes it again at once for the next save, and the open waits for a
        // moment between saves instead, when no record is there.
        const platform::CommitEnd interrupted = FinishInterruptedStoreSave(textFile, platform::LockWait::None);
        if (!interrupted.Busy()) {
            if (!interrupted.Whole()) {
                StoreEntryRead read;
                read.Export = platform::OpenedFile::Open(textFile);
                read.Problem = WithoutCompanion(UnfinishedSaveText(textFile, interrupted));
                return read;
            }
            look = LookAtEntry(textFile);
            if (look.OneSave) return std::move(look.Read);
        }
        // One look more after the last pause, whatever the pauses took on a busy machine.
        if (waiting && std::chrono::steady_clock::now() >= deadline) break;
        if (!waiting) waiting.emplace(StoreCommitOf(textFile).Lock);
        waiting->Pause();
        std::this_thread::sleep_for(kPause);
    }
    // The export as it is now: a save that keeps its lock may never end.
    StoreEntryRead read;
    read.Export = look.Read.Export ? std::move(look.Read.Export) : platform::OpenedFile::Open(textFile);
    read.Problem = WithoutCompanion(SaveUnderWayText(textFile));
    return read;
}

std::string StoreSaveRefusal(const std::string& textFile, const StoreSaveSource& source) {
    const platform::CommitEnd interrupted = FinishInterruptedStoreSave(textFile);
    if (interrupted.Blocked()) return RefusedSaveText(textFile, interrupted);
    // Told before the question, so that nobody agrees to an overwrite that cannot be made; the
    // save asks again under the entry's lock.
    if (interrupted.Whole() && SameStoreEntry(source.ExportPath, textFile)) return ChangedSinceRead(textFile, source);
    return {};
}

platform::WriteResult SaveStoreEntry(const std::string& textFile, const StoreSave& save,
                                     platform::FileVersion* storedExport, CompanionVersion* storedCompanion) {
    const std::string companion = ChangeFileExt(textFile, ".mod");
    // Every write of the entry takes its turn, the companion's alone too, so that none comes
    // between the renames of another's.
    const platform::CommitRecord commit = StoreCommitOf(textFile);
    const platform::FileLock turn(commit.Lock);
    if (!turn.Held()) return {false, turn.Busy() ? SaveBusyText(textFile) : turn.Error()};
    // A save cut short is ended first; one that left the pair part new, part old is ended by
    // this save of both, which supersedes its record.
    const platform::CommitEnd interrupted = FinishInterruptedStoreSave(textFile);
    if (interrupted.Blocked()) return {false, RefusedSaveText(textFile, interrupted)};
    // Looked at again in its turn: a first save asked nobody, and what another saved since it
    // looked is replaced only by one who agreed to it.
    if (save.ExpectsNoEntry &&
        (platform::PathMayExist(textFile) || (!save.CompanionSeen && platform::PathMayExist(companion))))
        return {false, SavedMeanwhileText(textFile)};
    // A link in the store, which others may share, is replaced, never written through.
    const auto links = platform::LinkHandling::Replace;
    // A plan read from this very entry replaces only what it read. One read from another file
    // and saved over the entry after the question is the user's deliberate overwrite. A pair
    // left part new, part old was no save's: it is superseded whole.
    const StoreSaveSource& read = save.Source;
    const bool fromEntry = SameStoreEntry(read.ExportPath, textFile);
    if (fromEntry && interrupted.Whole()) {
        if (const std::string changed = ChangedSinceRead(textFile, read); !changed.empty()) return {false, changed};
    }
    // Once written, the plan knows what the entry holds: it is the entry's plan from now on,
    // whose next save goes through while nobody else saved the entry, and is refused after.
    const auto learn = [&](const platform::WriteResult& written) {
        if (!written.ok) return;
        if (storedExport)
            *storedExport = {platform::IdentityOfPath(textFile),
                             save.Table ? platform::ContentDigest(*save.Table) : read.ExportRead.Digest};
        if (storedCompanion)
            *storedCompanion = CompanionVersion::Of(
                {platform::IdentityOfPath(companion), platform::ContentDigest(save.Companion)});
    };
    if (fromEntry && !save.Table && interrupted.Whole()) {
        // The store holds the export already, as the plan read it: only the companion changes.
        platform::WriteResult written =
            platform::AtomicWriteFile(companion, save.Companion, platform::FileAccess::Keep, links);
        learn(written);
        return written;
    }
    std::string text;
    if (save.Table) {
        text = *save.Table;
    } else {
        // The export as it was read, never what has its name now: a pair of it with names of
        // another read would show those names over another plan's values.
        platform::OpenProblem problem = platform::OpenProblem::None;
        if (!platform::ReadWholeFile(read.ExportPath, text, std::size_t(1) << 31, &problem)) {
            if (problem == platform::OpenProblem::Missing) return {false, ExportChangedSaveText(read.ExportPath)};
            return {false, "Cannot read \"" + read.ExportPath + "\": it " + platform::OpenProblemText(problem)};
        }
        if (!platform::HoldsVersion(text, read.ExportRead)) return {false, ExportChangedSaveText(read.ExportPath)};
    }
    // Both written before either is renamed, and renamed as one commit under the entry's lock:
    // a save cut short between the renames is completed by whoever opens or saves the entry next.
    const std::vector<std::string> targets = StoreCommitTargets(textFile);
    platform::WriteResult written = platform::AtomicWriteFiles(
        {{targets[0], save.Companion, platform::FileAccess::Keep, links},
         {targets[1], text, platform::FileAccess::Keep, links}},
        commit);
    learn(written);
    return written;
}

std::string SavedMeanwhileText(const std::string& textFile) {
    return platform::FileNameOf(textFile) +
           " was saved by another user or instance meanwhile; nothing was written. Save again to be asked whether "
           "to replace it.";
}

std::string ExportChangedText(const std::string& path) {
    return platform::FileNameOf(path) + " changed since the plan was read";
}

std::string ExportChangedSaveText(const std::string& path) {
    return ExportChangedText(path) + "; nothing was written. Press Reload to read it as it is now, then save again." +
           std::string(kReloadDropsNames);
}

std::string ExportChangedShowText(const std::string& path) {
    return ExportChangedText(path) +
           ": the plan is shown as it was read, without the new companion. Press Reload to read it as it is now.";
}

std::string ExportUncheckedShowText(const std::string& path) {
    return "There was not enough memory to tell whether " + platform::FileNameOf(path) +
           " changed since the plan was read: the plan is shown as it was read, without the companion.";
}
