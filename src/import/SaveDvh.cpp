// The Save DVH flow over the store's files, with its questions asked through SaveDvhDialogs.
#include "import/SaveDvh.h"

#include "dvh/Workspace.h"
#include "import/BrainLabTable.h"
#include "dvh/ModFile.h"
#include "dvh/StoreEntry.h"
#include "platform/AtomicWrite.h"
#include "platform/Paths.h"
#include "platform/PermissionNeeded.h"

#include <cerrno>
#include <new>

namespace {

const char* const kNoFolderText =
    "The specified path is an empty string.\nDo you want to set the path of directories ?";
const char* const kSaveError = "An error occurred while saving data.";
// Made at start-up, so that telling a save that found no memory needs none.
const std::string kOutOfMemoryText =
    std::string(kSaveError) + "\nThere is not enough memory to save the plan; nothing was written.";
const std::string kErrorCaption = "Error";
const std::string kCompletedCaption = "FILESAVE COMPLETED";

bool IsForbidden(unsigned char c) {
    return c < 32 || c == 127 || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' ||
           c == '>' || c == '|';
}

/// What `plan` was read from.
StoreSaveSource SourceOf(const PDatasetClass& plan) { return {plan.FilePath, plan.ExportRead, plan.CompanionRead}; }

/// What the store keeps of `plan`, and what the plan was read from.
StoreSave StoreSaveOf(const PDatasetClass& plan) {
    StoreSave save;
    save.Companion = ModFileText(plan);
    // Written from the plan every time: one opened from the store may have gained structures since.
    if (plan.FileType == FileTypeBrainScan || plan.FileType == FileTypeIPlan) save.Table = BrainLabTableText(plan);
    save.Source = SourceOf(plan);
    return save;
}

/// Writes the plan's two files into the store as one change; the store stays as it was when it
/// fails, and the message says why. Once they are written the plan is the entry's, whatever it
/// was read from: it knows which versions of its files the store holds, so that a later save of
/// it replaces only those, and Reload reads the entry.
platform::WriteResult WriteStoreFiles(PDatasetClass& plan, const SavedDvhPaths& paths) {
    if (!platform::MakeDirectories(paths.Folder))
        return {false, platform::CreationRefused("Cannot create the folder", paths.Folder, errno)};
    // Copied before the write, so that nothing after it can fail.
    std::string entry = paths.TextFile;
    const platform::WriteResult written =
        SaveStoreEntry(paths.TextFile, StoreSaveOf(plan), &plan.ExportRead, &plan.CompanionRead);
    if (written.ok) plan.FilePath.swap(entry);
    return written;
}

void Write(Workspace& ws, int planIndex, const std::string& key, const SavedDvhPaths& paths,
           const std::string& planListName, SaveDvhDialogs& dialogs) {
    // A plan that went while the question waited is not saved in its place.
    if (planIndex >= ws.PDatasetCount() || ws.PDataset[planIndex].Key != key) return;
    PDatasetClass& plan = ws.PDataset[planIndex];
    // Made before the write: once the files are written, the save has nothing left that could fail.
    const std::string completed = "FILESAVE COMPLETED\n  " + plan.PatientID + "\n  " + plan.PatientName + "\n  " +
                                  plan.PlanID + "\nSave Folder : " + planListName;
    if (const platform::WriteResult written = WriteStoreFiles(plan, paths); !written.ok) {
        dialogs.ShowError(std::string(kSaveError) + "\n" + written.message, kErrorCaption);
        return;
    }
    dialogs.ShowInformation(completed, kCompletedCaption);
}

/// Runs one step of the save flow: memory that runs out in it is the save's error, told with
/// its text, never an exception out of the save or out of the answer to its question, which the
/// window's event loop calls.
template <class Step>
void SaveStep(SaveDvhDialogs& dialogs, Step step) {
    try {
        step();
    } catch (const std::bad_alloc&) {
        try {
            dialogs.ShowError(kOutOfMemoryText, kErrorCaption);
        } catch (const std::bad_alloc&) {
            // Not even the message could be shown; the store is as the save left it.
        }
    }
}

void AskAndSave(Workspace& ws, const std::string& planListName, bool listChosen, SaveDvhDialogs& dialogs);

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
    SaveStep(dialogs, [&] { AskAndSave(ws, planListName, listChosen, dialogs); });
}

namespace {

void AskAndSave(Workspace& ws, const std::string& planListName, bool listChosen, SaveDvhDialogs& dialogs) {
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
    // One that cannot be ended is reported, and the entry is left as it is for the user to see,
    // as is one saved by another since this plan was read from it.
    if (const std::string refused = StoreSaveRefusal(paths.TextFile, SourceOf(plan)); !refused.empty()) {
        dialogs.ShowError(std::string(kSaveError) + "\n" + refused, kErrorCaption);
        return;
    }
    if (platform::PathMayExist(paths.TextFile)) {
        dialogs.AskOkCancel("This Plan data already saved.\n Overwrite?", "Save DVH",
                            [&ws, &dialogs, p, key, paths, planListName](bool ok) {
                                if (ok) SaveStep(dialogs, [&] { Write(ws, p, key, paths, planListName, dialogs); });
                            });
        return;
    }
    Write(ws, p, key, paths, planListName, dialogs);
}

}  // namespace
