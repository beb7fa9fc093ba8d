// Everything the main window owns: plans, files, plan lists, settings, and the routines on them.
#pragma once

#include "dvh/Records.h"
#include "dvh/RoundToDigits.h"
#include "dvh/SettingsFile.h"
#include "dvh/WorkspaceHost.h"

#include <string>
#include <string_view>
#include <vector>

/// The program's data and the routines that work on it alone. The main window inherits it,
/// so the documented names (`TForm1::PDataset`, `TForm1::CalcIndex`...) stay as they are while
/// everything here is tested without a window. Questions and progress go up through the one
/// `WorkspaceHost`.
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
    int SelectedIndexRow = -1;
    std::vector<TColor> IndexRowColor;
    std::string CommentLine[3];
    std::vector<bool> ReportOmitIndex;
    std::vector<bool> ReportOmitStructure;
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
    /// What start-up tells the window: the tool bars to show and messages for the user.
    struct StartupResult {
        ToolBarSettings ToolBars;
        std::vector<std::string> Messages;
    };
    /// Start-up: reads "Tessaray.ini" of `programFolder` (folders and tool bars of section
    /// "...-" + `ComputerName`, shared options), loads every registered plan list whose file
    /// exists, rewrites the register to keep only those (and lists whose files exist but cannot
    /// be read, which are refused rather than loaded empty), then empties the plan containers.
    StartupResult LoadSettingsAndPlanLists(const std::string& programFolder);
    /// Empties plans and files; no plan is current.
    void ResetPlanContainers();
    // ---- recognition, readers, plan datasets and the open-file list ----
    // ---- plan lists ----
    // ---- index calculator ----
    /// One index of structure `structureIndex` of the plan `CurrentPlanIndex` (kinds 0-16;
    /// `ciReference`/`ciValue` for kind 16 only). Unrounded; -1 for no value, 0 for a level
    /// the curve never crosses. See CalcPlanIndex (planlist/IndexCalculator.h).
    float CalcIndex(int structureIndex, int kind, float value, int ciReference, float ciValue) const;
    /// Volume/dose resampling of an explicit plan (kinds 0-3 of its own numbering), leaving
    /// `CurrentPlanIndex` alone. See CalcDatasetIndex (planlist/IndexCalculator.h).
    float CalcIndexForDataset(int structureIndex, int kind, float value, int planIndex) const;
    /// The structure of `plan` an index row named `rowName` stands for (last display-name
    /// match under the live "Case sensitivity"), -1 for none.
    int IndexRowStructure(const PDatasetClass& plan, std::string_view rowName) const;

protected:
    WorkspaceHost* m_host = nullptr;
};
