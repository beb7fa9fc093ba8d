// The Save DVH flow over the store's files, with its questions asked through SaveDvhDialogs.
#include "import/SaveDvh.h"

#include "dvh/Workspace.h"
#include "import/BrainLabTable.h"
#include "dvh/ModFile.h"
#include "dvh/StoreCommit.h"
#include "platform/AtomicWrite.h"
#include "platform/FileLock.h"
#include "platform/OpenedFile.h"
#include "platform/Paths.h"
#include "platform/PermissionNeeded.h"

#include <cerrno>
#include <filesystem>

namespace {

const char* const kNoFolderText =
    "The specified path is an empty string.\nDo you want to set the path of directories ?";
const char* const kSaveError = "An error occurred while saving data.";

bool IsForbidden(unsigned char c) {
    return c < 32 || c == 127 || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' ||
           c == '>' || c == '|';
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec) && !ec;
}

/// What a save that would keep the store's export says when another save replaced that export
/// after the plan was read from it.
std::string SavedElsewhereText(const std::string& textFile) {
    return platform::FileNameOf(textFile) + " was saved elsewhere since the plan was opened; nothing was written.";
}

/// Writes the plan's two files as one change; the store stays as it was when it fails, and
/// the message names the file that could not be read or replaced. A plan read from the store's
/// export learns which version of it the store holds once the save is done.
platform::WriteResult WriteStoreFiles(PDatasetClass& plan, const SavedDvhPaths& paths) {
    if (!platform::MakeDirectories(paths.Folder))
        return {false, platform::CreationRefused("Cannot create the folder", paths.Folder, errno)};
    // Every write of the entry takes its turn, the companion's alone too, so that none comes
    // between the renames of another's.
    const platform::CommitRecord commit = StoreCommitOf(paths.TextFile);
    const platform::FileLock turn(commit.Lock);
    if (!turn.Held()) return {false, turn.Busy() ? StoreSaveBusyText(paths.TextFile) : turn.Error()};
    const std::string mod = ModFileText(plan);
    // A link in the store, which others may share, is replaced, never written through.
    const auto links = platform::LinkHandling::Replace;
    const bool table = plan.FileType == FileTypeBrainScan || plan.FileType == FileTypeIPlan;
    const bool readFromStore = SameFile(plan.FilePath, paths.TextFile);
    if (!table && readFromStore) {
        // A copy of the export that the store already holds: only the companion changes, once
        // a save of both that was cut short has ended, and only while that export is still the
        // one the plan was read from. Another instance or user may have saved another export
        // over it since, with a companion of its own that this one must not replace. A save
        // that left the pair part new, part old is ended by a save of both, the export as it is.
        const platform::CommitEnd interrupted = FinishInterruptedStoreSave(paths.TextFile);
        if (interrupted.Unfinished() && !interrupted.Partial())
            return {false, UnfinishedSaveText(paths.TextFile, interrupted)};
        if (!plan.ExportRead.Known() || platform::IdentityOfPath(paths.TextFile) != plan.ExportRead)
            return {false, SavedElsewhereText(paths.TextFile)};
        if (!interrupted.Partial())
            return platform::AtomicWriteFile(paths.ModFile, mod, platform::FileAccess::Keep, links);
    }
    std::string text;
    if (table) {
        // Written from the plan every time: one opened from the store may have gained
        // structures since.
        text = BrainLabTableText(plan);
    } else if (platform::OpenProblem problem;
               !platform::ReadWholeFile(plan.FilePath, text, std::size_t(1) << 31, &problem)) {
        return {false, "Cannot read \"" + plan.FilePath + "\": it " + platform::OpenProblemText(problem)};
    }
    // Both written before either is renamed, and renamed as one commit that holds the entry's
    // lock, so that two saves of it take turns: a save cut short between the renames is
    // completed by whoever opens or saves the entry next. The opener still takes a companion
    // only when it names as many structures as its export holds.
    const std::vector<std::string> targets = StoreCommitTargets(paths.TextFile);
    platform::WriteResult written = platform::AtomicWriteFiles(
        {{targets[0], mod, platform::FileAccess::Keep, links}, {targets[1], text, platform::FileAccess::Keep, links}},
        commit);
    if (written.ok && readFromStore) plan.ExportRead = platform::IdentityOfPath(paths.TextFile);
    return written;
}

void Write(Workspace& ws, int planIndex, const std::string& key, const SavedDvhPaths& paths,
           const std::string& planListName, SaveDvhDialogs& dialogs) {
    // A plan that went while the question waited is not saved in its place.
    if (planIndex >= ws.PDatasetCount() || ws.PDataset[planIndex].Key != key) return;
    PDatasetClass& plan = ws.PDataset[planIndex];
    if (const platform::WriteResult written = WriteStoreFiles(plan, paths); !written.ok) {
        dialogs.ShowError(std::string(kSaveError) + "\n" + written.message, "Error");
        return;
    }
    dialogs.ShowInformation("FILESAVE COMPLETED\n  " + plan.PatientID + "\n  " + plan.PatientName + "\n  " +
                                plan.PlanID + "\nSave Folder : " + planListName,
                            "FILESAVE COMPLETED");
}

}  // namespace

std::string StoreFileNamePart(std::string_view id) {
    std::string name(id);
    for (char& c : name)
        if (IsForbidden(static_cast<unsigned char>(c))) c = '_';
    return name;
}

SavedDvhPaths StorePaths(const std::string& saveFolder, const std::string& planListName,
                         const std::string& patientID, const std::string& planID) {
    SavedDvhPaths p;
    p.Folder = saveFolder + "/" + planListName;
    const std::string base = p.Folder + "/" + StoreFileNamePart(patientID) + "_" + StoreFileNamePart(planID);
    p.TextFile = base + ".txt";
    p.ModFile = base + ".mod";
    return p;
}

void SaveDvh(Workspace& ws, const std::string& planListName, bool listChosen, SaveDvhDialogs& dialogs) {
    if (ws.SaveFolder.empty()) {
        dialogs.AskOkCancel(kNoFolderText, "Directory path not found.", [&dialogs](bool ok) {
            if (ok) dialogs.ShowDirectoriesSettings();
        });
        return;
    }
    const int p = ws.CurrentPlanIndex;
    if (p < 0 || p >= ws.PDatasetCount() || !listChosen) return;
    const PDatasetClass& plan = ws.PDataset[p];
    if (plan.DVHDataset.empty()) {
        dialogs.ShowError("The plan has no structures to save.", "Save DVH");
        return;
    }
    const SavedDvhPaths paths = StorePaths(ws.SaveFolder, planListName, plan.PatientID, plan.PlanID);
    const std::string key = plan.Key;
    // A save of the entry that a kill cut short is ended before the question, which is about
    // what the store holds (the write ends one again, should another be cut short meanwhile).
    // One that cannot be ended is reported, and the entry is left as it is for the user to see;
    // one that left only part of its files is ended by this save of both.
    if (const platform::CommitEnd interrupted = FinishInterruptedStoreSave(paths.TextFile);
        interrupted.Unfinished() && !interrupted.Partial()) {
        dialogs.ShowError(std::string(kSaveError) + "\n" + RefusedStoreSaveText(paths.TextFile, interrupted), "Error");
        return;
    }
    if (platform::PathMayExist(paths.TextFile)) {
        dialogs.AskOkCancel("This Plan data already saved.\n Overwrite?", "Save DVH",
                            [&ws, &dialogs, p, key, paths, planListName](bool ok) {
                                if (ok) Write(ws, p, key, paths, planListName, dialogs);
                            });
        return;
    }
    Write(ws, p, key, paths, planListName, dialogs);
}
