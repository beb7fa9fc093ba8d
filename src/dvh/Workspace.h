// Everything the main window owns: plans, files, plan lists, settings, and the routines on them.
#pragma once

#include "dvh/DvhExportRecogniser.h"
#include "dvh/ReadResult.h"
#include "dvh/Records.h"
#include "dvh/RoundToDigits.h"
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
    // ---- recognition, readers, plan datasets and the open-file list ----
    /// Recognises the DVH export at `path` and returns its file type code (0 unreadable, 2, 3,
    /// 5, 6, 7, 12, 13; never 4 or 14). The header fields go to `target`, or to the `Header...`
    /// members when it is null; they are written only when the first line was one the program
    /// knows. A differential DVH is refused through the host's information message. The reason
    /// for a 0 stays in `LastHeaderResult`.
    int ReadDvhHeader(const std::string& path, DvhHeaderFields* target = nullptr);
    ReadResult LastHeaderResult;
    // ---- plan lists ----
    // ---- index calculator ----

protected:
    WorkspaceHost* m_host = nullptr;
};
