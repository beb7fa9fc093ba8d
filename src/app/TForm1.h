// The main window "Tessaray": owns every plan, file and plan list through Workspace.
#pragma once

#include "app/LazyFileDialog.h"
#include "dvh/Workspace.h"
#include "import/XiOLoad.h"
#include "planlist/IndexRowCommands.h"
#include "planlist/WorkspaceIndex.h"
#include "planlist/ui/PlanListWindowHost.h"
#include "platform/IniFile.h"
#include "report/PageOperations.h"
#include "report/ui/ReportHost.h"

#include <QColor>
#include <QMainWindow>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class ChartCurveCache;
class HelpPage;
class LockWaitDisplay;
class QAction;
class QButtonGroup;
class QColorDialog;
class QComboBox;
class QCPGraph;
class QCPLayer;
class QDragEnterEvent;
class QDropEvent;
class QCustomPlot;
class QFileDialog;
class QGroupBox;
class QImage;
class QKeyEvent;
class QPainter;
class QPrintDialog;
class QPrinter;
struct ReportPageInput;
struct ReportPageLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
class SaveDvhDialogs;

/// The main window. Its members are grouped by job; each group's handlers live in their own
/// source file, named in the group's heading.
class TForm1 : public QMainWindow, public Workspace, public WorkspaceHost, public ReportHost,
               public PlanListWindowHost {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // ==== frame: creation, host services (TForm1.cpp) ====

    /// Start-up work while the splash shows: host name, settings, plan lists.
    void FormCreate();
    /// Show handler: applies the BrainLAB tool bar setting.
    void FormShow();

    // WorkspaceHost
    /// The live "Case sensitivity" box of the settings dialog; the saved value before the
    /// dialog exists.
    bool CaseSensitive() const override;
    void StatusText(const std::string& text) override;
    /// Refills the file list, keeping the row of the entry that was selected selected.
    void OpenFilesChanged() override;
    /// An information box with an OK button, shown without a modal loop.
    void Inform(const std::string& text, const std::string& caption) override;
    bool MoveToTrash(const std::string& path) override;

    // The index calculator over this window's plans, under the names the forms use.
    float CalcIndex(int structureIndex, int kind, float value, int ciReference, float ciValue) const {
        return ::CalcIndex(*this, structureIndex, kind, value, ciReference, ciValue);
    }
    float CalcIndexForDataset(int structureIndex, int kind, float value, int planIndex) const {
        return ::CalcIndexForDataset(*this, structureIndex, kind, value, planIndex);
    }
    int IndexRowStructure(const PDatasetClass& plan, std::string_view rowName) const {
        return ::IndexRowStructure(*this, plan, rowName);
    }
    // The XiO load's continuations over this window's plans.
    int HandOverPendingXiO() { return ::HandOverPendingXiO(*this); }
    ReadResult FinishXiOLoad(const XiODialogAnswer& answer) { return ::FinishXiOLoad(*this, answer); }
    bool CancelXiOLoad() { return ::CancelXiOLoad(*this); }

    // ==== menus (TForm1Menus.cpp) ====

    QMenu* File1;
    QAction* Open1;             // "Open..." Ctrl+O
    QAction* Scan1;             // "Scan"
    QAction* Save1;             // "Save DVH" Ctrl+S
    QAction* OpenFileList1;     // "Open DVH File List"
    QAction* SavePlanList1;     // "Export List Data"
    QAction* ImportPlanList1;   // "Import List Data"
    QMenu* SaveImage1;          // "Save image"
    QAction* Screen1;           // "Screen"
    QAction* Graph3;            // "Graph"
    QAction* Report2;           // "Preview Report"
    QMenu* Print1;              // "Print"
    QAction* Report1;           // "Report"
    QAction* PrintScreen1;      // "Print Screen"
    QAction* Batchprocessing1;  // "Batch processing"
    QAction* Exit1;

    QMenu* EditMenu1;           // "&Edit", hidden in the layout
    QMenu* PlanList1;           // "Plan List"
    QAction* ClearStructureList1;

    QMenu* View1;
    QMenu* ToolBar1;            // "ToolBar"
    QAction* Standard1;
    QAction* Project1;
    QAction* BrainLABRTP1;
    QMenu* Graph1;              // "Graph"
    QAction* GSeries;           // "Series"
    QAction* BackColor1;        // "BackColor"

    QMenu* Project2;            // "&Project"
    QAction* Settings1;         // "Settings..."
    QAction* EditPlanList1;     // "Edit Plan List" (checked in the editing layout)
    QAction* StructureList1;    // "Structure List"
    QAction* StructureName1;    // "Plan Information"
    QAction* PlanComparison1;   // "Plan Comparison"

    QMenu* Help2;
    QAction* Help1;
    QAction* AboutTessaray1;

    // ==== tool bars (TForm1Menus.cpp) ====

    QToolBar* ToolBar2;  // Standard
    QAction* ToolButton7;   // "File Open"
    QAction* ToolButton22;  // "Scan"
    QAction* ToolButton23;  // "Save DVH File"
    QAction* ToolButton24;  // "Open File List"
    QAction* ToolButton39;  // "Batch processing"
    QAction* ToolButton2;   // "Save image"
    QAction* ToolButton3;   // "Preview report"
    QAction* ToolButton4;   // "Print report"
    QToolBar* ToolBar4;  // Project
    QAction* ToolButton29;  // "Edit plan information"
    QAction* ToolButton30;  // "Structure List"
    QAction* ToolButton31;  // "Plan comparison"
    QAction* ToolButton11;  // "Edit Plan List", check style
    QToolBar* ToolBar5;  // BrainLAB RTP
    QAction* SpeedButton1;  // "Import BrainSCAN/iPlan DVH data from clipboard"
    QAction* Adddatatocurrentplan1 = nullptr;  // "Add BrainSCAN structures from clipboard to current plan"

    // ==== plan view: labels, chart, units (layout in TForm1Layout.cpp, TForm1Chart.cpp) ====

    QLabel* LabelPName;
    QLabel* LabelPID;
    QLabel* LabelPlanName;
    QLabel* LabelPlanID;
    QLabel* LabelPrescDose;
    QCustomPlot* Chart1;
    QGroupBox* RadioGroup1;  // "Dose": item 0 "Absolute [Gy]", item 1 "Relative [%]"
    QGroupBox* RadioGroup2;  // "Volume": item 0 "Absolute [cc]", item 1 "Relative [%]"
    QPushButton* BitBtn12;   // "Series"
    QPushButton* BitBtn13;   // "Report"
    LazyFileDialog SaveDialog1;    // "Bitmap (*.bmp)"
    QColorDialog* ColorDialog1;  // chart background
    /// One graph per drawn structure, in drawing order (visible structures only). No limit.
    std::vector<QCPGraph*> StructureSeries;

    /// The chosen item (0 or 1) of `RadioGroup1` or `RadioGroup2`.
    int RadioGroupIndex(const QGroupBox* group) const;
    void SetRadioGroupIndex(QGroupBox* group, int index);

    /// Makes plan `planIndex` current and fills the structure lists of the dialogs.
    void ShowPlan(int planIndex);
    /// Redraws the labels and `Chart1` for plan `planIndex` and selects its plan list.
    void DrawDvhChart(int planIndex);
    /// A unit change: redraws the current plan, if any.
    void RadioGroup1Click();
    /// After a zoom by the user: a volume minimum below 0 becomes 0.
    void Chart1Zoom();
    /// Undoes every zoom: the ranges of the last drawing.
    void UndoZoom();
    void BackColor1Click();
    /// The chart's background colour (the window face colour at start).
    QColor Chart1Color() const { return m_chartColor; }
    void SetChart1Color(const QColor& color);
    /// File > Save image > Screen: the window's client area as ".bmp".
    void Screen1Click();
    /// File > Save image > Graph: the chart, portrait, on white, as ".bmp".
    void Graph3Click();
    /// Writes the window's client area to `path`; false when the write failed.
    bool SaveScreenBitmap(const QString& path);
    bool SaveScreenBitmapFrom(const QImage& image, const QString& path);
    /// Writes the chart in its export size to `path`; false when the write failed.
    bool SaveChartBitmap(const QString& path);

    // ==== quick index panel (layout only here; handlers belong to the quick-index work) ====

    QWidget* Panel1;
    QLabel* LabelStructureName;  // "Structure"
    QComboBox* ComboBox2;        // structures of the current plan, in dataset order
    QComboBox* ComboBox3;        // the 17 index kinds
    QLineEdit* Edit1;            // parameter
    QLabel* Label1;              // "---"
    QLineEdit* Edit2;            // result, read-only

    // ---- quick index handlers (TForm1QuickIndex.cpp) ----
    /// `Edit1`'s key filter: true drops the typed character (all but digits, backspace and
    /// one point).
    bool Edit1KeyPress(QKeyEvent* key);
    /// Value typed: the result with 2 decimals (nothing while `Edit1` is empty).
    void Edit1Change();
    /// Kind chosen: sets up `Edit1`, then the result with 2 decimals.
    void ComboBox3Change();
    /// Structure chosen: the result with 3 decimals.
    void ComboBox2Change();
    /// The panel's query through `CalcIndex`; -1 when incomplete or without value.
    float CalcQuickIndex();

    // ==== index grid and plan lists (layout here; handlers belong to the index work) ====

    QComboBox* ComboBox1;    // plan-list names, kept sorted
    /// Three columns "Structure", "Index", "Value" in the horizontal header; table row r - 1
    /// holds grid row r (index row r - 1).
    QTableWidget* StringGrid1;
    /// 2 in the viewing layout, 0 in the editing layout.
    int StringGrid1FixedCols = 2;
    QWidget* Panel4;         // list-editing buttons, shown in the editing layout
    QPushButton* BEditIndex;
    QPushButton* BAddIndex;
    QPushButton* BDelIndex;
    QPushButton* BCopyList;
    QPushButton* BClearIndex;
    QPushButton* BCopyIndex;
    QPushButton* BDVHSeries;
    QPushButton* BSaveList;
    QPushButton* BUp;
    QPushButton* BDown;
    QPushButton* BKey;
    QPushButton* BNewList;
    /// The eleven buttons that follow the chosen list (all but `BNewList`), in enabling order.
    std::vector<QPushButton*> ListEditButtons() const;

    /// Refreshes the index grid for the chosen plan list.
    void ComboBox1Change();

    // ---- index grid, its keys and clipboard, constraint guides (TForm1IndexGrid.cpp) ----
    QMenu* PopupMenu2;            // the grid's popup menu
    QAction* CopytoClipboard1;    // "Copy to Clipboard"
    /// Refills `StringGrid1` and `IndexRowColor` with list `listIndex` evaluated for the
    /// current plan.
    void UpdateIndexGrid(int listIndex) override;
    /// A grid cell was selected (`row` 1-based, as the grid rows count): recorded in
    /// `SelectedIndexRow` in the editing layout while a list is chosen.
    void StringGrid1SelectCell(int col, int row);
    /// Ctrl+C / Ctrl+X / Ctrl+V / Delete on the selected row, in the editing layout only;
    /// true when the key was taken.
    bool StringGrid1KeyDown(QKeyEvent* key);
    /// The patient header and the grid as tab-separated text on the clipboard.
    void CopytoClipboard1Click();
    /// Draws the constraint marks of plan `planIndex` with `painter` over `Chart1`.
    void DrawConstraintGuides(int planIndex, QPainter* painter);
    /// Runs after every drawing of `Chart1`: the marks of the current plan.
    void Chart1AfterDraw(QPainter* painter);

    // ==== plan-list commands: whole lists, rows, import/export, exit prompt (TForm1PlanLists.cpp) ====

    QMenu* PopupMenu4;        // of ComboBox1
    QAction* NewList1;        // "New List"
    QAction* CopyList1;       // "Copy List"
    QAction* EditListName1;   // "Rename List Title"
    QAction* DeleteList1;     // "Delete List"
    LazyFileDialog SaveDialog2; // "List data (*.lst)", no overwrite prompt (never overwrites)
    LazyFileDialog ImportDialog;  // the open dialog of "Import List Data"

    /// Builds the plan-list popup and dialogs and wires the list commands.
    void ConnectPlanListCommands();
    /// The chosen list: the last one named like `ComboBox1`'s text, -1 without a selection.
    int SelectedPlanList() const;
    /// Selects the item named `name` in `ComboBox1` and runs the selection handler.
    void SelectPlanList(const std::string& name);
    void PopupMenu4Popup();
    void BNewListClick();
    void BCopyListClick();
    void EditListName1Click();
    void DeleteList1Click();
    void BSaveListClick();
    void BKeyClick();
    void BAddIndexClick();
    void BEditIndexClick();
    void BClearIndexClick();
    void BUpClick();
    void BDownClick();
    void BDelIndexClick();
    void BCopyIndexClick();
    void BDVHSeriesClick();
    void SavePlanList1Click();
    void ImportPlanList1Click();
    void ClearStructureList1Click();
    /// Loads row `row` of list `list` into the index editor's controls.
    void LoadIndexIntoFormIndex(int list, int row);
    /// The input box's OK in modes 1 (new list), 2 (rename `listIndex`) and 3 (copy the chosen
    /// list): forbidden characters are dropped from `text` first. Returns true to keep the box
    /// open for another name; `box` owns the questions and is closed when one is answered
    /// Cancel.
    bool PlanListNameEntered(int mode, const QString& text, int listIndex, QWidget* box);
    /// Shows the input box for a list name in mode 1, 2 or 3 with `text` in its field.
    void ShowListNameBox(int mode, const QString& text, int listIndex);
    /// Saves the list at `list` (none for -1); false (and the failure shown) when it could not
    /// be saved.
    bool SavePlanListAt(int list);
    /// Offers each modified list for saving, one question after another, then runs `then`.
    /// "Yes" saves the list the question names, found again by its name (none if it went). A
    /// save that fails stops the questions without running `then`. While the questions run, a
    /// second call asks nothing and runs nothing.
    void AskToSaveModifiedLists(std::function<void()> then);
    /// The program folder where lists live ('/' at the end); tests may set it.
    std::string PlanListFolder;

    // ==== open-file list (layout here; handlers belong to the opening work) ====

    /// "Patient ID", "Patient Name", "Plan ID", "DVH File Name", "Date-time".
    QTreeWidget* ListView1;
    QPushButton* Button8;   // "Scan"
    QPushButton* Button7;   // "OK"
    QPushButton* Button11;  // "Reload"
    QPushButton* Button9;   // "Save"

    void Scan1Click();
    /// Scans the read folder into the open-file list.
    void ScanDirectory();

    // ==== opening plans and the open-file list's commands (TForm1Opening.cpp,
    //      TForm1FileList.cpp) ====

    LazyFileDialog OpenDialog1;  // "Open DVH Files", several files
    QAction* Delete1;          // context menu of ListView1: "Delete"
    QAction* DeleteAll1;       // "Delete ALL"
    QAction* ClearList1;       // "Clear List"

    /// File > Open: runs `OpenDialog1`, then `OpenFiles`.
    void Open1Click();
    /// Open with the files chosen, in order: an unreadable file ends the command.
    void OpenFiles(const std::vector<std::string>& paths);
    /// Files dropped on the window, in drop order: unreadable files are skipped.
    void WMDropFiles(const std::vector<std::string>& paths);
    /// "OK": loads the selected row's plan.
    void Button7Click();
    /// "Reload": reads the selected row's file again into its plan.
    void Button11Click();
    /// Carries out the next step of a load (show, ask a list or a dose, read, refuse).
    void RunLoadStep(const LoadOrder& order);
    /// Wires the dialogs that continue a load back to this window; called once they exist.
    void ConnectOpeningDialogs();

    /// Rebuilds `ListView1` from `OpenFile`, sorted by "Date-time" descending.
    void RefillFileList();
    void ListView1ColumnClick(int column);
    /// Ctrl+Delete deletes the selected row's file, Ctrl+Shift+Delete all files.
    void ListView1KeyDown(int key, Qt::KeyboardModifiers shift);
    void Delete1Click();
    void DeleteAll1Click();
    void ClearList1Click();
    /// Moves exactly the one file `path` to the desktop trash; true when it went there.
    bool DeleteFilesToRecycleBin(const std::string& path);

    // WorkspaceHost: the readers' progress drives `FormProgress`.
    void ProgressBegin(int maximum) override;
    void ProgressStep(int position) override;
    void ProgressEnd() override;

    /// Project > "Plan Information": the plan information dialog for the current plan.
    void StructureName1Click();
    /// File > "Open DVH File List": the saved-DVH browser over the save folder.
    void OpenFileList1Click();
    /// Save DVH (`Save1`, `Button9`, `ToolButton23`): the current plan into the saved-DVH store.
    void Save1Click();

    // ==== settings, tool bars, grid layout, help (TForm1Settings.cpp) ====

    void Settings1Click();
    void Standard1Click();
    void Project1Click();
    void BrainLABRTP1Click();
    void ToolButton11Click();
    void EditPlanList1Click();
    /// True in the editing layout of the index grid (`ToolButton11` down).
    bool IndexGridEditMode() const;
    void Help1Click();
    /// Enables or disables the window's controls (menus, tool bars, client area) while a
    /// dialog that it opened is shown; the dialogs it owns stay usable.
    void SetFormEnabled(bool enabled) override;
    // PlanListWindowHost: the editors of the plan lists
    QWidget* HostWindow() override { return this; }
    Workspace& HostWorkspace() override { return *this; }
    bool FormEnabled() const;
    /// Shows a failed write of a user file to the user, without a modal loop.
    void ReportWriteFailure(const std::string& message);

    // ==== single-plan report: preview, printing, print screen (TForm1Report.cpp) ====

    QAction* PrintReport1;   // `Chart1`'s popup: "Print Report"
    QAction* PrintScreen2;   // `Chart1`'s popup: "Print Screen"
    /// The print dialog of the report and the screen, over `Printer`; both made at first use.
    /// Tests give it a PDF printer (the dialog takes the printer's file when it is made).
    QPrintDialog* PrintDialog1 = nullptr;
    QPrinter* Printer = nullptr;

    /// "Preview Report": the row choice from the list, the report window at full size, the page.
    void Report2Click();
    /// "Print Report": the row choice from the list, then the page on the printer.
    void Report1Click();
    /// "Print Screen": the window's client area in landscape, scaled to the printable area.
    void PrintScreen1Click();
    // ReportHost
    Workspace& ReportWorkspace() override { return *this; }
    const PlanListNameClass* ReportPlanList() const override;
    int IndexGridRowCount() const override;
    /// Lays out the page of the current plan at 840 x 1188 and shows it in the report window.
    void DrawReportPreview() override;
    /// Asks for the printer, then prints the page of the current plan on it.
    void PrintReport() override;

    // ==== launchers of the dialogs (TForm1Launchers.cpp) ====

    void StructureList1Click();
    void GSeriesClick();
    /// File > "Batch processing": the batch plan choice with every listed file and plan list.
    void Batchprocessing1Click();
    void Exit1Click();
    void AboutTessaray1Click();

    // ==== plan comparison (TForm1Comparison.cpp) ====

    // ==== BrainLAB clipboard import (TForm1BrainLab.cpp) ====
    /// The clipboard's table opens its plan dialog; anything else opens the capture window.
    void SpeedButton1Click();
    /// Adds the structures of a BrainSCAN table on the clipboard to the current BrainSCAN plan,
    /// refusing a table that repeats one of its names.
    void Adddatatocurrentplan1Click();
    /// Appends the table in `ClipboardText` to the current plan, all or nothing, and shows it.
    void ParseClipboardStructure();
    /// Wires the BrainLAB dialogs and tool bar; called once the dialogs exist.
    void ConnectBrainLab();
    /// Adding structures is offered only while the current plan is a BrainSCAN plan.
    void UpdateBrainLabActions();

    /// Project > Plan Comparison: the comparison window with this window's plan-list choice.
    void PlanComparison1Click();
    /// Wires the comparison window to this window, the input box and the program folder;
    /// called once they exist.
    void ConnectComparison();
    /// Closes the comparison window and its report windows.
    void CloseComparisonWindows();

protected:
    void showEvent(QShowEvent* event) override;
    /// Offers the modified plan lists for saving before the window closes.
    void closeEvent(QCloseEvent* event) override;
    // Dropped files (TForm1Opening.cpp) and the open-file list's keys (TForm1FileList.cpp).
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ConnectOpeningCommands();
    void ConnectSaveDvh();
    /// The message boxes of Save DVH (a child of the window).
    SaveDvhDialogs* m_saveDvhDialogs = nullptr;
    /// Says on the status bar why a file taken by Open or drop was refused.
    void ReportRefusedFile(const TakeFilesResult& taken);
    /// Reads the waiting file and shows the plan (the end of every load).
    void ReadPendingAndShow();
    /// The open-file list's rows in the order of `ascending` on `FileListSortColumn`.
    void SortFileList(bool ascending);
    /// The list reset of "Delete ALL" and "Clear List"; false while a file is being read.
    bool ListReset(bool clearIndexRowColor);
    /// The key and entry of a row (its entry when the row still belongs to it, else by key).
    std::string RowKey(const QTreeWidgetItem* item) const;
    int RowEntry(const QTreeWidgetItem* item) const;
    /// Asks an OK/Cancel question without a modal loop; `onOk` runs on OK.
    void AskOkCancel(const QString& objectName, const QString& text, const QString& caption,
                     std::function<void()> onOk);

    void BuildMenus();
    void BuildToolBars();
    void BuildCentral();
    QWidget* BuildPlanLabels();
    QWidget* BuildUnitRow();
    QWidget* BuildQuickIndexPanel();
    QWidget* BuildIndexGridSide();
    QWidget* BuildOpenFileList();
    void BuildChart();
    void ConnectCommands();
    /// Wires the report commands and `Chart1`'s popup.
    void ConnectReportCommands();
    /// Steps 1 to 7 of the two report commands; false when there is nothing to report.
    bool PrepareReport();
    /// The report page's input for a page of `width` x `height` device units, whose device
    /// sizes texts as `measure` says.
    ReportPageInput ReportInput(double width, double height, PageTextMeasure measure) const;
    /// Clears the bits the page left off and shows its message, if any.
    void FinishReportPage(const ReportPageLayout& layout);
    /// Makes `Printer` and `PrintDialog1` when they do not exist yet.
    void EnsurePrinter();
    std::shared_ptr<QPrinter> m_printer;
    /// Value-column painting, key hooks, grid popup, chart guide layer and the signals of
    /// the index grid and the quick-index panel.
    void SetUpIndexViews();
    /// The store behind `IndexClipboard` / `IndexClipboardCut` for the grid's keys.
    IndexRowClipboard m_indexRowClipboard;
    void ApplyIndexGridLayout(bool editing);
    void SetToolBarShown(QAction* item, QToolBar* bar, bool shown);
    void ToggleToolBar(QAction* item, QToolBar* bar, const char* key);
    void ChartSelectionRectAccepted(const QRect& rect);

    // The ranges the last drawing gave the axes, for undoing a zoom.
    double m_doseMin = 0, m_doseMax = 1, m_volumeMin = 0, m_volumeMax = 1;
    // The drawn plan's chart data, kept between draws until points, units or ticks change.
    std::unique_ptr<ChartCurveCache> m_curveCache;
    // The layer of the constraint marks, buffered on its own so that it can be repainted
    // without drawing the curves again.
    QCPLayer* m_guideLayer = nullptr;
    bool m_shownOnce = false;
    bool m_listsOffered = false;  // the exit prompt ran: the next close goes through
    bool m_offeringLists = false;  // the exit prompt's questions are under way
    QColor m_chartColor;
    std::unique_ptr<HelpPage> m_helpPage;  // made on the first Help > Help
    // The wait cursor and status text while a lock is waited for on this window's thread.
    std::unique_ptr<LockWaitDisplay> m_lockWaitDisplay;
    // Swallows the window's keyboard shortcuts while a dialog keeps it disabled.
    QObject* m_shortcutBlocker = nullptr;
};
