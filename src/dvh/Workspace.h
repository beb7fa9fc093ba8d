// Everything the main window owns: plans, files, plan lists, settings, and the routines on them.
#pragma once

#include "dvh/DvhExportRecogniser.h"
#include "dvh/DvhReading.h"
#include "dvh/ReadResult.h"
#include "dvh/PendingLoad.h"
#include "dvh/Records.h"
#include "dvh/RoundToDigits.h"
#include "dvh/SettingsFile.h"
#include "dvh/WorkspaceHost.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class ImportReaders;
struct StoreEntryRead;

/// The program's data and the routines that work on it alone. The main window inherits it,
/// so its members keep the names every form uses (`TForm1::PDataset`, `TForm1::ReadDvhFile`...)
/// while everything here is tested without a window. The subsystems' routines over it are
/// declared in their own headers (`CalcIndex` in planlist/WorkspaceIndex.h, `FinishXiOLoad` in
/// import/XiOLoad.h, ...). Questions and progress go up through the one `WorkspaceHost`.
class Workspace {
public:
    using DVsetClass = ::DVsetClass;
    using DVHDatasetClass = ::DVHDatasetClass;
    using PDatasetClass = ::PDatasetClass;
    using OpenFileClass = ::OpenFileClass;
    using PlanListNameClass = ::PlanListNameClass;
    using IndexDataClass = ::IndexDataClass;
    using StructureDBClass = ::StructureDBClass;

    Workspace();
    virtual ~Workspace() = default;
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    void SetHost(WorkspaceHost* host) { m_host = host; }
    WorkspaceHost* Host() const { return m_host; }

    // ---- members, in the order the main window declares them ----
    std::string ComputerName;
    std::string ReadFolder;
    std::string SaveFolder;
    int FileListSortColumn = 0;
    int CurrentPlanIndex = -1;
    bool AutoScan = false;
    bool CaseSensitivity = false;
    bool BrainLABToolbar = false;
    int SelectedIndexRow = 0;  // grid row, 1-based; 0 until a row is chosen
    std::vector<TColor> IndexRowColor;
    std::string CommentLine[3];
    /// The report's row choice: bit i for index row i of the chosen list, bit s for structure
    /// s of the current plan; a set bit means the row is printed.
    std::vector<bool> ReportPrintIndex;
    std::vector<bool> ReportPrintStructure;
    int ImportPlanNumber = 0;
    std::string ClipboardText;
    IndexDataClass IndexClipboard;
    bool IndexClipboardCut = false;
    std::vector<PlanListNameClass> PlanListName;
    std::vector<PDatasetClass> PDataset;
    std::vector<DVHDatasetClass> CaptureDVHDataset;
    std::vector<DVHDatasetClass> CaptureWork;
    float CapturePrescribedDose = 0;
    std::string HeaderPatientName;
    std::string HeaderPatientID;
    std::string HeaderPatientExtra;
    std::string HeaderPlanName;
    std::string HeaderPlanID;
    std::string HeaderDate;
    std::string HeaderTime;
    std::vector<OpenFileClass> OpenFile;

    int PlanListNameCount() const { return static_cast<int>(PlanListName.size()); }
    int PDatasetCount() const { return static_cast<int>(PDataset.size()); }
    int OpenFileCount() const { return static_cast<int>(OpenFile.size()); }
    int CaptureCount() const { return static_cast<int>(CaptureDVHDataset.size()); }

    /// Rounds half away from zero to `digits` decimals.
    static double RoundToDigits(double x, int digits) { return ::RoundToDigits(x, digits); }

    /// Structure names compare exactly when "Case sensitivity" is on at this moment,
    /// else without regard to ASCII case.
    bool NamesEqual(std::string_view a, std::string_view b) const;
    /// The live "Case sensitivity" state: the host's check box, else the saved option.
    bool CaseSensitiveNow() const;

    // ---- settings and the plan-list register ----
    /// What start-up (`LoadSettingsAndPlanLists`, with the plan lists) tells the window: the
    /// tool bars to show and messages for the user.
    struct StartupResult {
        ToolBarSettings ToolBars;
        std::vector<std::string> Messages;
    };
    /// Empties plans and files; no plan is current.
    void ResetPlanContainers();
    // ---- recognition, readers, plan datasets and the open-file list ----
    /// Recognises the DVH export at `path` and returns its file type code (0 unreadable, 2, 3,
    /// 5, 6, 7, 12, 13; never 4 or 14). The header fields go to `target`, or to the `Header...`
    /// members when it is null; they are written only when the first line was one the program
    /// knows. A differential DVH is refused through the host's information message, unless
    /// `informHost` is false (a caller with a window of its own shows it there). The reason
    /// for a 0 stays in `LastHeaderResult`.
    int ReadDvhHeader(const std::string& path, DvhHeaderFields* target = nullptr, bool informHost = true);
    /// The message that refuses the differential DVH at `path` (caption "Unsupported DVH Type").
    static std::string DifferentialRefusalText(const std::string& path);
    ReadResult LastHeaderResult;

    /// Gy; the prescribed dose that a plan sum (codes 3 and 13) gives every structure. Whoever
    /// asked the user for it (the prescribed-dose box) sets it before reading.
    float PlanSumPrescribedDose = 0;
    /// How the last `ReadDvhFile` / `ReadDvhTextBlocks` ended.
    ReadResult LastReadResult;

    /// Reads the body of the file at `path` into the last plan, by that plan's `FileType`: 2 and
    /// 3 here, 12 and 13 through `ReadDvhTextBlocks`, 5, 6 and 7 through the handed
    /// `ImportReaders` (refused with `UnknownFileType` when none were handed); 4 and 14 are
    /// refused with a status text. The plan's structures and `BodyIndex` change only when the
    /// whole read succeeds; a failure goes to the status bar with the file name and line. The
    /// caller shows and draws the plan afterwards (see `ShowPlanAfterRead`).
    ReadResult ReadDvhFile(const std::string& path);
    /// Reads a code 12 or 13 export ("Description" header) into the last plan, as `ReadDvhFile`.
    ReadResult ReadDvhTextBlocks(const std::string& path);
    /// Hands the workspace the readers of codes 5, 6 and 7, which live above the model.
    void SetImportReaders(const ImportReaders* readers) { m_importReaders = readers; }
    /// How many structures the export at `path` of file type `code` (2, 3, 12, 13, 5, 6, 7)
    /// holds, as its reader finds them; none when it cannot be read (5, 6, 7: nor without the
    /// handed readers).
    std::optional<std::size_t> ExportStructureCount(const std::string& path, int code) const;
    /// The XiO load waiting for the dialog's answer (import/XiOLoad.h).
    XiOLoadRequest PendingXiO;
    /// Removes plan `p` and keeps `CurrentPlanIndex` on the plan it named (-1 if it was `p`).
    void RemovePlan(int p);
    /// Whether the last plan is shown and drawn after a read that ended with `result`: not for
    /// multi-plan refusals, XiO hand-overs and a file without "Prescribed dose" line.
    static bool ShowPlanAfterRead(int fileType, const ReadResult& result);
    /// Gives a new structure its colour and visibility: from the plan list's structure database
    /// (names compared by `NamesEqual`, the last equal entry wins; not listed: hidden), else a
    /// random colour with each channel in 1-255 and visible.
    void SetStructureColour(DVHDatasetClass& structure, int planListIndex);
    /// Moves a plan read by `ParseDvhFile` / `ParseDvhTextBlocks` into the last plan: every
    /// structure gets its colour and visibility, and with `learnNames` the plan list's
    /// `SNameDB` gains the names it lacks (exact comparison). Readers that keep their own
    /// progress (the batch) parse and then call this. What it throws (no memory for a name)
    /// leaves the plan and the list as they were.
    void CommitParsedPlan(ParsedPlan&& parsed, bool learnNames);

    /// The dataset key: patient ID + plan ID + date + " " + time.
    static std::string DatasetKey(const std::string& patientID, const std::string& planID,
                                  const std::string& date, const std::string& time);
    /// The key of the header just read.
    std::string HeaderKey() const;
    /// Index of the last plan whose `Key` equals `key` exactly, -1 for none.
    int FindDatasetByKey(const std::string& key) const;
    /// Index of the last open-file entry whose `Key` equals `key` exactly, -1 for none.
    int FindOpenFileByKey(const std::string& key) const;
    /// Appends an open-file entry for `path` from the header just read; returns its index.
    int AppendOpenFileFromHeader(const std::string& path, int fileType);
    /// Appends an open-file entry copied from plan `planIndex`; returns its index.
    int AppendOpenFileFromPlan(int planIndex);
    /// Appends an empty plan (no structures, `BodyIndex` -1, `PlanListIndex` -1) taking its
    /// identification from open-file entry `openFileIndex`; returns the new plan's index.
    int AppendPlanFromOpenFile(int openFileIndex);
    /// What File > Open does for one file, without dialogs: recognise, add the open-file entry
    /// unless its key is listed, append a plan linked to `planListIndex` and read `path` into it
    /// (even when the listed entry of that key names another file), with
    /// `prescribedDoseGy` for a plan sum. Returns the new plan's index, or -1 when the file
    /// cannot be read (the plan is removed again; the reason is in `LastHeaderResult` or
    /// `LastReadResult`).
    int LoadDvhFileHeadless(const std::string& path, float prescribedDoseGy, int planListIndex = -1);
    // ---- opening plans: open, drop, scan, reload, dialog continuations, list reset ----
    // (bodies in PlanOpening.cpp)

    /// Direction flag of each open-file list column: 1 ascending, anything else descending.
    int FileListSortFlag[5] = {0, 0, 0, 0, 0};
    /// The load that a dialog (plan-list choice, dose prompt) is finishing.
    PendingLoad Pending;
    /// Above 0 while a file is being read; the lists are not cleared then.
    int FileReadDepth = 0;

    /// Result of taking several files for the open-file list.
    struct TakeFilesResult {
        int Accepted = 0;   ///< files of a code above 1
        int Appended = 0;   ///< entries added to `OpenFile`
        bool Stopped = false;  ///< an unreadable file ended the command (Open)
        std::string LastKey;   ///< the key of the last accepted file
        std::string RefusedPath;  ///< the last file of code 0, "" when none
        ReadResult Refused;       ///< why it was refused
    };
    /// Open and drop: recognises each path in order and appends an entry for every accepted
    /// file whose key is not listed yet. With `stopAtUnreadable` (Open) a file of code 0 ends
    /// the command; otherwise (drop) it is skipped.
    TakeFilesResult TakeFiles(const std::vector<std::string>& paths, bool stopAtUnreadable);
    /// The scan: rebuilds `OpenFile` from the readable files directly in `folder` (all of
    /// them, equal keys included), then lists the loaded plans that no entry has the key of
    /// and whose file still holds that plan, and the BrainSCAN/iPlan plans, each by the file it
    /// was opened from (`OpenedFrom`).
    void ScanFolder(const std::string& folder);

    /// Loading by key (Open, drop): shows a loaded plan, or appends a plan for the last entry
    /// with the key, links it to a plan list by its names and says what comes next.
    LoadOrder BeginLoadByKey(const std::string& key);
    /// The "OK" button on a row: as `BeginLoadByKey`, refusing multi-plan entries.
    /// `rowEntry` is the row's own entry; used when it still has the key, so a row whose key
    /// another entry shares loads its own file.
    LoadOrder BeginLoadOfRow(const std::string& key, int rowEntry = -1);
    /// "Reload" of a row: reads the row's file again into its loaded plan (or a new one).
    /// A plan that is an entry's of the store (opened from it, or saved into it) is read from
    /// that entry, export and companion, whatever file the row names; other BrainSCAN and iPlan
    /// plans are not read again.
    LoadOrder BeginReload(const std::string& key, int rowEntry = -1);
    /// The saved-DVH browser's OK for `path` in the store's sub-folder `folderName`, already
    /// recognised as `code` with `header`: lists the file unless its key is listed (then
    /// `*listChanged`), shows a loaded plan again with its companion re-applied, or appends a
    /// plan linked to the list named like the folder, with the companion's dose and names
    /// waiting for the read. A companion that names another number of structures than the
    /// export (or the loaded plan) holds is left out, as the status bar says.
    LoadOrder BeginLoadFromStore(const std::string& path, int code, const DvhHeaderFields& header,
                                 const std::string& folderName, bool* listChanged);
    /// The plan-list choice answered (`listIndex` -1 for "N/A"): asks the dose of a plan sum
    /// unless it is known, else reads.
    LoadOrder PlanListChosen(int listIndex);
    /// The dose prompt answered with `doseGy`: reads.
    LoadOrder DoseEntered(float doseGy);
    /// The dose prompt cancelled: removes the plan only when it was appended for this load
    /// and is still that plan; returns whether a plan was removed. Ends the pending load.
    bool CancelPendingLoad();
    /// The plan the pending load fills, or -1 when there is none or it is no longer the plan
    /// the load was started for.
    int PendingPlanIndex() const;
    /// Gives the waiting plan its identity and plan list before it is read.
    /// Returns the plan index, or -1 when the pending load is no longer valid.
    int PreparePendingRead();
    /// Reads the waiting file into the plan the pending load fills (a plan sum only with the
    /// dose given for this load). Returns that plan's index, -1 when the load is no longer
    /// valid; the reader's outcome is in `LastReadResult`.
    int ReadPendingPlan();
    /// After the read: applies a waiting name-override file to the plan it was read for and
    /// ends the pending load. Returns the plan index (-1 when none was valid).
    int FinishPendingLoad();
    /// Gives plan `planIndex` the names `read` of the file `path` its curves are read from: a
    /// plan's names and curves come from one read. Where they are no longer those of open-file
    /// entry `entryIndex` (while it still has the key `entryKey`), the plan takes what was read,
    /// and the entry is brought up to date, as the host is told. False, changing nothing, when
    /// the file now holds another loaded plan (the status bar says so). A header of another
    /// kind than the plan's, or none, changes nothing: the read says what it finds.
    bool TakeNamesOfRead(int planIndex, int entryIndex, const std::string& entryKey, const DvhHeader& read,
                         const std::string& path);
    /// The list reset of "Delete ALL" and "Clear List": empties plans and files and forgets the
    /// current plan and any waiting load. Refused (false, nothing changed) while a file is
    /// being read. `clearIndexRowColor` also empties `IndexRowColor`.
    bool ResetLists(bool clearIndexRowColor);

protected:
    WorkspaceHost* m_host = nullptr;

private:
    /// Given by `SetImportReaders`; while null, codes 5, 6 and 7 are refused.
    const ImportReaders* m_importReaders = nullptr;

    // Opening plans (PlanOpening.cpp).
    LoadOrder BeginLoadOfEntry(int openFileIndex);
    void StartPending(int openFileIndex, int planIndex, bool appended);
    LoadOrder NextStepAfterMatch(int planIndex);
    /// Starts the read of the store entry `path` (taken as `entry`) into plan `planIndex` for
    /// open-file entry `openFileIndex`: linked to the list named like `folderName`, the
    /// companion's dose and names waiting for the read (store open and Reload).
    LoadOrder BeginStoreEntryRead(const std::string& path, int openFileIndex, int planIndex, bool appended,
                                  const std::string& folderName, StoreEntryRead&& entry);
};
