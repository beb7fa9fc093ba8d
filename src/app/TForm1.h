// The main window "Tessaray": owns every plan, file and plan list through Workspace.
#pragma once

#include "dvh/Workspace.h"

#include <QColor>
#include <QMainWindow>

#include <string>
#include <vector>

class QAction;
class QButtonGroup;
class QColorDialog;
class QComboBox;
class QCPGraph;
class QCustomPlot;
class QFileDialog;
class QGroupBox;
class QImage;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QWidget;

/// The main window. Its members are grouped by job; each group's handlers live in their own
/// source file, named in the group's heading.
class TForm1 : public QMainWindow, public Workspace, public WorkspaceHost {
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
    QFileDialog* SaveDialog1;    // "Bitmap (*.bmp)"
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
    void SetFormEnabled(bool enabled);
    bool FormEnabled() const;
    /// Shows a failed write of a user file to the user, without a modal loop.
    void ReportWriteFailure(const std::string& message);

    // ==== launchers of the dialogs (TForm1Launchers.cpp) ====

    void StructureList1Click();
    void GSeriesClick();
    void Exit1Click();
    void AboutTessaray1Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
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
    void ApplyIndexGridLayout(bool editing);
    void SetToolBarShown(QAction* item, QToolBar* bar, bool shown);
    void ToggleToolBar(QAction* item, QToolBar* bar, const char* key);
    void ChartSelectionRectAccepted(const QRect& rect);

    // The ranges the last drawing gave the axes, for undoing a zoom.
    double m_doseMin = 0, m_doseMax = 1, m_volumeMin = 0, m_volumeMax = 1;
    bool m_shownOnce = false;
    QColor m_chartColor;
};
