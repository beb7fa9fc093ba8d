// The Save DVH flow over the store's files, with its questions asked through SaveDvhDialogs.
#include "import/SaveDvh.h"

#include "dvh/Workspace.h"
#include "import/BrainLabTable.h"
#include "import/XiOLoad.h"
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
    std::string(kSaveError) + "\n" + std::string(kNoMemoryToSaveText);
// A save that wrote its pair is never told as one that wrote nothing, also where showing what
// it saved finds no memory.
const std::string kSavedUntoldText =
    "FILESAVE COMPLETED\nThe plan was saved, but there was not enough memory to show its details.";
const std::string kErrorCaption = "Error";
const std::string kCompletedCaption = "FILESAVE COMPLETED";
const char* const kSaveCaption = "Save DVH";

bool IsForbidden(unsigned char c) {
    return c < 32 || c == 127 || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' ||
           c == '>' || c == '|';
}

/// What `plan` was read from.
StoreSaveSource SourceOf(const PDatasetClass& plan) { return {plan.FilePath, plan.ExportRead, plan.CompanionRead}; }

/// One save of a plan, as it was decided before its question: the plan, found again by its key,
/// and where it goes. `ExpectsNoEntry` when no export was there, so that nobody was asked.
struct SaveOrder {
    int PlanIndex = -1;
    std::string Key;
    SavedDvhPaths Paths;
    std::string PlanListName;
    bool ExpectsNoEntry = false;
    bool CompanionSeen = false;
};

/// Whether a load of the plan with `key` waits for the user (a plan-list choice, a dose, the XiO
/// dialog): its structures are those of the last read, or none, until it is answered.
bool LoadPending(const Workspace& ws, const std::string& key) {
    for (const int p : {ws.PendingPlanIndex(), XiORequestPlanIndex(ws)})
        if (p >= 0 && ws.PDataset[p].Key == key) return true;
    return false;
}

/// Why the plan of `order` cannot be saved now, or empty: it is gone, a load of it waits, or it
/// has no structures. Asked again after the question, which the user may answer much later.
const char* NotSavable(const Workspace& ws, const SaveOrder& order) {
    const int p = order.PlanIndex;
    if (p < 0 || p >= ws.PDatasetCount() || ws.PDataset[p].Key != order.Key)
        return "The plan is no longer open; nothing was written.";
    if (LoadPending(ws, order.Key))
        return "The plan is being loaded again; nothing was written. Save again once it is loaded.";
    if (ws.PDataset[p].DVHDataset.empty()) return "The plan has no structures to save.";
    return "";
}

/// What the store keeps of `plan`, what the plan was read from, and what the save found there.
StoreSave StoreSaveOf(const PDatasetClass& plan, const SaveOrder& order) {
    StoreSave save;
    save.ExpectsNoEntry = order.ExpectsNoEntry;
    save.CompanionSeen = order.CompanionSeen;
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
platform::WriteResult WriteStoreFiles(PDatasetClass& plan, const SaveOrder& order) {
    const SavedDvhPaths& paths = order.Paths;
    if (!platform::MakeDirectories(paths.Folder))
        return {false, platform::CreationRefused("Cannot create the folder", paths.Folder, errno)};
    // Copied before the write, so that nothing after it can fail.
    std::string entry = paths.TextFile;
    const platform::WriteResult written =
        SaveStoreEntry(paths.TextFile, StoreSaveOf(plan, order), &plan.ExportRead, &plan.CompanionRead);
    if (written.ok) plan.FilePath.swap(entry);
    return written;
}

/// Writes the plan of `order` into the folder and list it names, those of the question, whatever
/// was chosen since; a plan that can no longer be saved is not, and the user is told why.
void Write(Workspace& ws, const SaveOrder& order, SaveDvhDialogs& dialogs) {
    if (const char* why = NotSavable(ws, order); *why) {
        dialogs.ShowError(why, kSaveCaption);
        return;
    }
    PDatasetClass& plan = ws.PDataset[order.PlanIndex];
    // Made before the write: once the files are written, the save has nothing left that could fail.
    const std::string completed = "FILESAVE COMPLETED\n  " + plan.PatientID + "\n  " + plan.PatientName + "\n  " +
                                  plan.PlanID + "\nSave Folder : " + order.PlanListName;
    if (const platform::WriteResult written = WriteStoreFiles(plan, order); !written.ok) {
        dialogs.ShowError(std::string(kSaveError) + "\n" + written.message, kErrorCaption);
        return;
    }
    try {
        dialogs.ShowInformation(completed, kCompletedCaption);
    } catch (const std::bad_alloc&) {
        // The pair is written: the save's out-of-memory error, which says nothing was, would
        // be untrue. Told with a text made at start-up, if at all.
        try {
            dialogs.ShowInformation(kSavedUntoldText, kCompletedCaption);
        } catch (const std::bad_alloc&) {
            // Not even that could be shown; the entry holds the plan.
        }
    }
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
    SaveOrder order{p, plan.Key, StorePaths(ws.SaveFolder, planListName, plan.PatientID, plan.PlanID), planListName};
    if (const char* why = NotSavable(ws, order); *why) {
        dialogs.ShowError(why, kSaveCaption);
        return;
    }
    const SavedDvhPaths& paths = order.Paths;
    // A save of the entry that a kill cut short is ended before the question, which is about
    // what the store holds (the write ends one again, should another be cut short meanwhile).
    // One that cannot be ended is reported, and the entry is left as it is for the user to see,
    // as is one saved by another since this plan was read from it.
    if (const std::string refused = StoreSaveRefusal(paths.TextFile, SourceOf(plan)); !refused.empty()) {
        dialogs.ShowError(std::string(kSaveError) + "\n" + refused, kErrorCaption);
        return;
    }
    if (platform::PathMayExist(paths.TextFile)) {
        dialogs.AskOkCancel("This Plan data already saved.\n Overwrite?", kSaveCaption,
                            [&ws, &dialogs, order = std::move(order)](bool ok) {
                                if (ok) SaveStep(dialogs, [&] { Write(ws, order, dialogs); });
                            });
        return;
    }
    // Nobody was asked: the save writes nothing over an entry that another save makes before its
    // turn. A companion there now without its export is replaced, as it was before.
    order.ExpectsNoEntry = true;
    order.CompanionSeen = platform::PathMayExist(paths.ModFile);
    Write(ws, order, dialogs);
}

}  // namespace
