// One entry of the saved-DVH store, a ".txt" export and its ".mod" companion: what an open takes
// of it, what a save writes into it, and what the user is told of either.
#pragma once

#include "dvh/ModFile.h"
#include "platform/AtomicWrite.h"
#include "platform/FileVersion.h"
#include "platform/OpenedFile.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// What the name of an entry's commit record adds to the name of its ".txt" file.
inline constexpr std::string_view kStoreRecordSuffix = ".commit";

/// The record that a save of the entry of `textFile` keeps beside it while it renames the
/// entry's two files (`textFile` + ".commit"), and the lock file that every save and completion
/// of the entry holds (`textFile` + ".lock", which stays).
platform::CommitRecord StoreCommitOf(const std::string& textFile);
/// The files of that commit, in the order they take their names: the companion, then the export.
std::vector<std::string> StoreCommitTargets(const std::string& textFile);

/// The ".txt" file of the entry whose commit record `path` names, or "" when `path` is named
/// like no record ("<entry>.txt.commit").
std::string StoreTextFileOfRecord(const std::string& path);

/// Whether the paths `a` and `b` name one file now (one entry of the store, or one folder),
/// however each is spelt; false where either names nothing.
bool SameStoreEntry(const std::string& a, const std::string& b);

/// Whether `path` is an entry of the store under `saveFolder`: a ".txt" file in a sub-folder of it.
bool IsStoreEntryFile(const std::string& saveFolder, const std::string& path);
/// The plan list an entry of the store is kept under: the name of its folder.
std::string StoreListNameOf(const std::string& path);

/// Ends the save of the entry of `textFile` that a kill cut short once both its files were
/// written, or discards one cut short before, so that nothing sees a new companion beside an old
/// export. When it cannot, the record stays and the result says why. Another program's save of
/// the entry is waited for as `wait` says (the store's list waits for none).
platform::CommitEnd FinishInterruptedStoreSave(const std::string& textFile,
                                               platform::LockWait wait = platform::LockWait::UpToLimit);

/// A store entry as one save of it left it.
struct StoreEntryRead {
    /// The export, held open so that every pass of the plan's read takes this very file; none
    /// when it cannot be opened (the read then says why).
    std::shared_ptr<const platform::OpenedFile> Export;
    /// The companion saved with it; none when there is none, when it cannot be read, or when no
    /// companion of the export's own save could be had.
    std::optional<ModFileContent> Companion;
    /// What was taken of the companion: the version of the bytes read (also of one that the
    /// plan then leaves out, as another save's, so that its save may mend it), that there was
    /// none, or that none was taken (one that could not be read, or not with this export).
    CompanionVersion CompanionRead;
    /// Why a companion that is there was left out, for the status bar; empty otherwise.
    std::string Problem;
};

/// Takes the entry of the store file `textFile`, without a lock of its own. A save of it that a
/// kill cut short is ended first; one that cannot be ended leaves the export without its
/// companion. Then the export and the companion are opened and read, and they are taken together
/// only when no save of the entry came between: its commit record is not there and both files
/// still have their names. A save under way is waited for, as long as a lock is
/// (`platform::LockWaitLimit`); then the export is taken without its companion.
StoreEntryRead ReadStoreEntry(const std::string& textFile);

/// What a plan was read from, which a save into the entry it was read from may replace.
struct StoreSaveSource {
    /// The export the plan was read from, and the version of it read.
    std::string ExportPath;
    platform::FileVersion ExportRead;
    /// The companion beside that export as the plan's read took it.
    CompanionVersion CompanionRead;
};

/// What Save DVH keeps of a plan in an entry.
struct StoreSave {
    /// The ".mod" text.
    std::string Companion;
    /// The ".txt" text of a plan written from itself (a BrainSCAN or iPlan table); none for a
    /// plan kept as its export, which is then the export it was read from, as it was read.
    std::optional<std::string> Table;
    StoreSaveSource Source;
    /// The save found no export at the entry's name and so asked nobody whether to replace
    /// one: it writes only while no other save made the entry meanwhile. False once the user
    /// agreed to replace what is there.
    bool ExpectsNoEntry = false;
    /// With `ExpectsNoEntry`: a companion was there without its export when the save looked
    /// (its export removed by hand), which the save replaces.
    bool CompanionSeen = false;
};

/// Why Save DVH cannot save a plan read from `source` into the entry of `textFile` now, asked
/// before its question:
/// a save cut short is ended first; one that cannot be ended refuses, unless it left the pair
/// part new, part old, which a save of both ends. A plan read from this very entry is refused
/// as `SaveStoreEntry` refuses it when the entry's export or companion is no longer what it
/// read. Empty when the entry can be saved.
std::string StoreSaveRefusal(const std::string& textFile, const StoreSaveSource& source);

/// Writes `save` into the entry of `textFile` as one change, under the entry's lock: both files,
/// or only the companion when the plan was read from this entry's own export and the entry is
/// whole. A plan kept as its export is written only while that export still holds the version
/// read (`ExportChangedText` otherwise). A plan read from this very entry, whole, replaces its
/// export only while it is still the one read (a table written from the plan too), and its
/// companion only while it is still the one read, and none that came where the read found none
/// or took none (`ExportChangedText` of the companion otherwise, or why a companion the read
/// could not read or did not take is not replaced); another plan saved over the entry replaces
/// what is there once the user agreed to it. A save that `ExpectsNoEntry` and finds the export
/// there under the lock, or a companion that it did not see, writes nothing: another user or
/// instance saved the entry since the save looked, unasked (`SavedMeanwhileText`). A failure
/// leaves the entry as it was and says why.
/// Once saved, the plan is the entry's, whatever it was read from: `storedExport` receives the
/// version of the export (or table) there, `storedCompanion` that of the companion written, so
/// that its next save is guarded as one of a plan read from the entry.
platform::WriteResult SaveStoreEntry(const std::string& textFile, const StoreSave& save,
                                     platform::FileVersion* storedExport = nullptr,
                                     CompanionVersion* storedCompanion = nullptr);

/// What a save that expected no entry says of one that another save made meanwhile:
/// "12_H1.txt was saved by another user or instance meanwhile; nothing was written. ...".
std::string SavedMeanwhileText(const std::string& textFile);

/// What a save that found no memory for a step says; the store is as it was.
inline constexpr std::string_view kNoMemoryToSaveText =
    "There is not enough memory to save the plan; nothing was written.";

/// The one event of an export that is no longer what a plan was read from:
/// "12_H1.txt changed since the plan was read". The program cannot tell a save of another plan
/// from any other change of the file, so it names none.
std::string ExportChangedText(const std::string& path);
/// What a save of a plan whose export changed says: nothing was written, and the way on, with
/// what Reload drops.
std::string ExportChangedSaveText(const std::string& path);
/// What showing such a plan again from the store says: it keeps what was read, and the way on.
std::string ExportChangedShowText(const std::string& path);
/// What showing it again says where there was no memory to tell whether its export changed.
std::string ExportUncheckedShowText(const std::string& path);
