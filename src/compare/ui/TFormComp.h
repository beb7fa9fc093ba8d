// The comparison window "Plan Comparison": compared plans, charts A-D, the index table, sets.
#pragma once

#include "compare/ComparedPlans.h"
#include "compare/ComparisonTable.h"
#include "compare/StructureSetFile.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <functional>
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
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableWidget;
class QToolButton;
class QPainter;
class FixedColumnsView;
class QPrintDialog;
class TFormCompReport;
class TFormCompRList;
class TFormCompSelect;
class Workspace;

/// Created once at start-up and shown without a modal loop. It reads the main window's plans
/// and lists through `Workspace` and keeps only positions into them, checked by key before
/// every use.
class TFormComp : public QWidget {
    Q_OBJECT
public:
    TFormComp(Workspace& workspace, QWidget* owner);
    ~TFormComp() override;

    /// The plan choice, created with the window and closed with it.
    TFormCompSelect* FormCompSelect;
    /// The report window and its row list, created with the window.
    TFormCompReport* FormCompReport;
    TFormCompRList* FormCompRList;

    // ---- controls ----
    QTabWidget* PageControl1;  // pages "DVH" and "Index"
    std::array<QCustomPlot*, 4> ChartAD{};  // Chart1 (A) ... Chart4 (D)
    QCustomPlot* Chart1;
    QCustomPlot* Chart2;
    QCustomPlot* Chart3;
    QCustomPlot* Chart4;
    QCustomPlot* Chart5;  // curves of the selected table row
    QCustomPlot* Chart6;  // values of the selected table row by plan
    QComboBox* ComboBox1;  // plan lists
    QComboBox* ComboBox2;  // structure of chart A
    QComboBox* ComboBox3;  // B
    QComboBox* ComboBox4;  // C
    QComboBox* ComboBox5;  // D
    QComboBox* ComboBox6;  // structure-set titles, sorted
    std::array<QComboBox*, 4> StructureChoice{};
    std::array<QLabel*, 8> Labels{};  // Label1-Label4 the cross, Label5-Label8 beside the choices
    QGroupBox* RadioGroup1;  // "Dose": "Absolute [Gy]", "Relative [%]"
    QButtonGroup* DoseButtons;
    QRadioButton* RadioButton1;  // line widths 1-4
    QRadioButton* RadioButton2;
    QRadioButton* RadioButton3;
    QRadioButton* RadioButton4;
    QPushButton* BitBtn1;  // "Print"
    QPushButton* BitBtn2;  // "PreView"
    QPushButton* BitBtn3;  // "DVH(A) "
    QPushButton* BitBtn4;  // "Save" (structure set)
    QPushButton* BitBtn5;  // "Delete" (structure set)
    std::array<QToolButton*, 5> Image{};  // Image1-Image5, one per report style
    QTableWidget* StringGrid1;  // index table; its header row holds table row 0
    QTableWidget* StringGrid2 = nullptr;  // compared plans; its header row holds grid row 0
    QLabel* Panel2;
    QLabel* Panel3;
    QPushButton* Button1;  // "Select Plan"
    QPushButton* Button2;  // "Remove"
    QPushButton* Button3;  // "Clear"
    QPushButton* Button4;  // "Add ALL"
    QPushButton* BUp;
    QPushButton* BDown;
    QMenu* PopupMenu1;
    QAction* CopytoClipboard1;  // "Copy to Clipboard"
    QColorDialog* ColorDialog1;

    // ---- members ----
    std::vector<CompDVHrepClass> CompDVHrep;
    /// The compared plans with `PlanComp`, `PlanColor`, `PlanGridRow` and `PlanGridCol`.
    ComparedPlans Compared;
    std::vector<PlanCompClass>& PlanComp = Compared.PlanComp;
    std::vector<TColor>& PlanColor = Compared.PlanColor;
    int ReportStyle = 1;
    int LineWidth = 2;
    int DoseAxis = 2;  // 2: dose in %, otherwise Gy
    int IndexGridRow = -1;
    int PlanListIndex = -1;
    /// The index table as last built.
    ComparisonTable Table;
    /// The structure names behind the items of `ComboBox2`-`ComboBox5`, as the plans hold them.
    std::vector<std::string> StructureNames;
    std::array<std::vector<QCPGraph*>, 4> ChartSeries;  // ChartASeries ... ChartDSeries
    std::vector<QCPGraph*> RowCurveSeries;
    QCPGraph* RowValueSeries = nullptr;

    // ---- hand-overs wired by the main window ----
    /// The folder holding the structure-set file ('/' at the end).
    std::string ProgramFolder;
    /// The main window's bitmap save dialog, used by "DVH(A) " (made by the main window when
    /// first asked for).
    std::function<QFileDialog*()> BitmapDialog;
    /// "Save" of a set: asks for the set's name (the input box in its mode 4).
    std::function<void()> AskStructureSetName;
    /// The main window's print dialog `PrintDialog1` over its printer (made by the main window
    /// when first asked for): one printer choice serves the plan report and the comparison.
    std::function<QPrintDialog*()> PrintDialog;

    // ---- plans (TFormCompPlans.cpp) ----
    void Button1Click();
    /// The plan choice's OK with the plans of `datasetIndices` checked, in load order.
    void PlansChosen(const std::vector<int>& datasetIndices);
    void Button4Click();
    void Button2Click();
    void Button3Click();
    void BUpClick();
    void BDownClick();
    void RefreshPlanGrid();
    /// After every change of the compared plans: grid, chart choices, table and charts.
    void ComparedPlansChanged();
    void StringGrid2SelectCell(int col, int row);
    void StringGrid2DblClick();
    /// The colour of a position changed: the grid and every chart that has its series.
    void SetPlanColor(int position, TColor color);
    /// The main window's plans or lists changed beneath the window: plans that went are
    /// dropped and everything shown is drawn again.
    void MainPlansChanged();
    /// Plan list `deleted` of the main window was deleted.
    void PlanListDeleted(int deleted);
    /// The compared plans as they stand in the main window (nullptr where one has gone).
    std::vector<const PDatasetClass*> ComparedPlanPointers() const;

    // ---- index table (TFormCompTable.cpp) ----
    void ComboBox1Change();
    void BuildIndexTable(int listIndex);
    void StringGrid1SelectCell(int col, int row);
    void CopytoClipboard1Click();
    /// The last plan list named like `ComboBox1`'s text, -1 without a selection or such a list.
    int ChosenPlanList() const;

    // ---- charts A-D and display options (TFormCompCharts.cpp) ----
    /// Draws chart `chart` (0 = A ... 3 = D) for the structure chosen for it.
    void DrawChart(int chart);
    void ComboBox2Change() { DrawChart(0); }
    void ComboBox3Change() { DrawChart(1); }
    void ComboBox4Change() { DrawChart(2); }
    void ComboBox5Change() { DrawChart(3); }
    void DrawAllCharts();
    void RadioGroup1Click();
    /// At every opening: dose in % and the second line width, their buttons set to match, and
    /// charts A-D drawn so.
    void ResetDisplayOptions();
    void RadioButton1Click();
    /// After a zoom by the user: a volume minimum below 0 becomes 0.
    void ChartZoom(QCustomPlot* chart);
    void BitBtn3Click();
    /// Writes chart A, 1.5 times its size on white, to `path`; false (and said) on failure.
    bool SaveChartABitmap(const QString& path);
    /// A style picture was clicked: the next report style.
    void ImageClick();
    /// Sets the report style and the pictures and letters that show it.
    void SetReportStyle(int style);

    // ---- the report page (TFormCompPage.cpp) ----
    /// The page as last drawn for the report window, 840 x 1188.
    QImage PagePicture;
    /// "PreView": rebuilds the table, refills the row list, draws the page and shows the
    /// report window reduced.
    void BitBtn2Click();
    /// Draws the page into the report window's picture.
    void DrawReport();
    /// "Print": the page on the printer after its print dialog; nothing without a compared
    /// plan and an existing plan list.
    void PrintReport();
    /// Fills the row list for plan list `listIndex` from its rows' print flags.
    void FillReportRowList(int listIndex);
    /// A style picture of the report window: the next style, and the page again.
    void ReportStyleClicked();

    // ---- structure sets (TFormCompSets.cpp) ----
    void ReadStructureSets();
    void BitBtn4Click();
    /// The input box's OK in mode 4 with the typed `name`: true keeps the box open (a
    /// duplicate name, or a failed write).
    bool StructureSetNameEntered(const std::string& name);
    void BitBtn5Click();
    void ComboBox6Change();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FixedColumnsView* m_fixedColumns = nullptr;  // "Structure" and "Index" over StringGrid1
    void BuildDvhPage(QWidget* page);
    void BuildIndexPage(QWidget* page);
    void BuildPlanArea();
    void ConnectControls();
    void PaintPlanGridColors();
    void PaintIndexTableColors();
    void ClearRowCharts();
    void FillTitleOnlyTable();
    void ShowMessage(const QString& text, const QString& caption);
    /// Drops compared plans that went from the main window; true when any did.
    bool ReconcilePlans();
    /// The row list refilled when it belongs to another list or length than list `listIndex`.
    void EnsureRowList(int listIndex);
    /// Draws page chart `chart` into `target`: the curves of positions 1 to 5 over the chart's
    /// current ranges, laid out at `logicalSize` with the page's fonts when `pageFonts`.
    void PaintPageChart(QPainter& painter, const QRect& target, int chart, QSize logicalSize,
                        bool pageFonts);

    Workspace& m_ws;
    QWidget* m_owner;
    bool m_shownOnce = false;
};
