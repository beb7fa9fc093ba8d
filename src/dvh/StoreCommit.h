// The one commit in which Save DVH replaces a store entry's ".txt" and its ".mod" companion.
#pragma once

#include "dvh/FileNames.h"
#include "platform/AtomicWrite.h"
#include "platform/Paths.h"

#include <string>
#include <string_view>
#include <vector>

/// What the name of an entry's commit record adds to the name of its ".txt" file.
inline constexpr std::string_view kStoreRecordSuffix = ".commit";

/// The record that a Save DVH of the store file `textFile` keeps beside it while it renames
/// the entry's two files (`textFile` + ".commit"), and the lock file that every save and
/// completion of the entry holds (`textFile` + ".lock", which stays).
inline platform::CommitRecord StoreCommitOf(const std::string& textFile) {
    return {textFile + std::string(kStoreRecordSuffix), textFile + ".lock"};
}

/// The ".txt" file of the entry whose commit record `path` names, or "" when `path` is named
/// like no record ("<entry>.txt.commit").
inline std::string StoreTextFileOfRecord(const std::string& path) {
    const std::string ending = ".txt" + std::string(kStoreRecordSuffix);
    const std::string name = platform::FileNameOf(path);
    if (name.size() <= ending.size() || !name.ends_with(ending)) return {};
    return path.substr(0, path.size() - kStoreRecordSuffix.size());
}

/// The files of that commit, in the order they take their names: the companion, then the export.
inline std::vector<std::string> StoreCommitTargets(const std::string& textFile) {
    return {ChangeFileExt(textFile, ".mod"), textFile};
}

/// Completes the save of the entry of `textFile` that a kill cut short once both its files were
/// written, or discards one cut short before: whatever opens or saves the entry calls it first,
/// so that it never sees a new companion beside an old export. When it cannot, the record stays
/// and the result says why.
/// Another program's save of the entry is waited for as `wait` says.
inline platform::CommitEnd FinishInterruptedStoreSave(const std::string& textFile,
                                                      platform::LockWait wait = platform::LockWait::UpToLimit) {
    return platform::FinishInterruptedCommit(StoreCommitOf(textFile), StoreCommitTargets(textFile), wait);
}

/// "Another save of 12_H1.txt is under way": another program held the entry's lock throughout
/// the wait.
inline std::string SaveUnderWayText(const std::string& textFile) {
    return "Another save of " + platform::FileNameOf(textFile) + " is under way";
}

/// What the user is told of a save of the entry of `textFile` that could not take its turn.
inline std::string StoreSaveBusyText(const std::string& textFile) {
    return SaveUnderWayText(textFile) + "; nothing was written.";
}

/// What the user is told of an entry whose interrupted save `end` could not be completed.
inline std::string UnfinishedSaveText(const std::string& textFile, const platform::CommitEnd& end) {
    if (end.Busy()) return SaveUnderWayText(textFile);
    return "An earlier save of " + platform::FileNameOf(textFile) + " could not be completed (" + end.message + ")";
}

/// Why Save DVH writes nothing over the entry of `textFile` whose interrupted save `end` could
/// not be completed.
inline std::string RefusedStoreSaveText(const std::string& textFile, const platform::CommitEnd& end) {
    return end.Busy() ? StoreSaveBusyText(textFile) : UnfinishedSaveText(textFile, end) + ".";
}
