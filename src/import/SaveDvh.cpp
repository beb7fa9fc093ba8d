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

namespace {

const char* const kNoFolderText =
    "The specified path is an empty string.\nDo you want to set the path of directories ?";
const char* const kSaveError = "An error occurred while saving data.";

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
/// fails, and the message says why. A plan read from the entry learns which versions of its
/// files the store holds once the save is done.
platform::WriteResult WriteStoreFiles(PDatasetClass& plan, const SavedDvhPaths& paths) {
    if (!platform::MakeDirectories(paths.Folder))
        return {false, platform::CreationRefused("Cannot create the folder", paths.Folder, errno)};
    return SaveStoreEntry(paths.TextFile, StoreSaveOf(plan), &plan.ExportRead, &plan.CompanionRead);
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
    // One that cannot be ended is reported, and the entry is left as it is for the user to see,
    // as is one saved by another since this plan was read from it.
    if (const std::string refused = StoreSaveRefusal(paths.TextFile, SourceOf(plan)); !refused.empty()) {
        dialogs.ShowError(std::string(kSaveError) + "\n" + refused, "Error");
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
