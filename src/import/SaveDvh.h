// Save DVH: keeping the current plan in the saved-DVH store, a ".txt" and its ".mod" companion.
#pragma once

#include <functional>
#include <string>
#include <string_view>

class Workspace;

/// The questions and messages of Save DVH. The main window answers them with message boxes,
/// tests directly. An answer may come later: the flow goes on from it.
class SaveDvhDialogs {
public:
    virtual ~SaveDvhDialogs() = default;
    /// An OK/Cancel question; `answer(true)` for OK.
    virtual void AskOkCancel(const std::string& text, const std::string& caption,
                             std::function<void(bool ok)> answer) = 0;
    /// The settings dialog on its "Directories" page.
    virtual void ShowDirectoriesSettings() = 0;
    virtual void ShowError(const std::string& text, const std::string& caption) = 0;
    virtual void ShowInformation(const std::string& text, const std::string& caption) = 0;
};

/// Where a plan is kept in the store.
struct SavedDvhPaths {
    std::string Folder;    ///< save folder / plan list
    std::string TextFile;  ///< Folder / patient ID "_" plan ID ".txt"
    std::string ModFile;   ///< the same with ".mod"
};

/// An ID as a file name takes it: `/ \ : * ? " < > |` and control characters become "_".
std::string StoreFileNamePart(std::string_view id);
SavedDvhPaths StorePaths(const std::string& saveFolder, const std::string& planListName,
                         const std::string& patientID, const std::string& planID);

/// Save DVH of the current plan under the plan list `planListName` (`listChosen` false when
/// the main window has none chosen). Without a save folder it offers the settings; without a
/// plan or list it does nothing; a plan without structures, or one whose load waits for the
/// user, is refused. An existing ".txt" is replaced only after the user agrees: OK saves the
/// plan the question named, found again by its key, into the folder and list it named, and
/// only while it can still be saved; otherwise it writes nothing and says why. A save that found
/// no ".txt" asks nothing, and writes nothing over one that another user or instance saved
/// before its turn came ("12_H1.txt was saved by another user or instance meanwhile; ...").
/// BrainSCAN and iPlan plans are written as table files
/// from the plan, others copied from their export, unless the export is the store's file
/// itself, which is kept; the ".mod" follows. A plan read from the entry it is saved into
/// replaces that entry only while its export and companion are still those the plan read: one
/// that another save changed since is refused before the question ("12_H1.mod changed since the
/// plan was read; nothing was written. Press Reload ..."), and again after it should it change
/// meanwhile; a plan read from another file replaces the entry once the user agrees. A plan that
/// saved an entry is that entry's plan from then on, as if read from it: its later saves are
/// guarded so, and its Reload reads the entry. Both files
/// are replaced as one atomic change, which a save killed midway leaves for the next opening or
/// save of the entry to complete or discard; a link in their place is replaced, not followed. A
/// failure says "An error occurred while saving data." with the file it could not read or
/// replace, or that there was not enough memory, and leaves the store as it was. The completion
/// message ends a good save; one that finds no memory for it is told, with a text made
/// beforehand, that the plan was saved.
void SaveDvh(Workspace& ws, const std::string& planListName, bool listChosen, SaveDvhDialogs& dialogs);
