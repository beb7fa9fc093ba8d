// "Batch processing - Results": the result grid, the overlaid curves, the histogram, the exports.
#pragma once

#include "widgets/TFormDialog.h"
#include "batch/BatchRecords.h"
#include "dvh/Workspace.h"

#include <QString>

#include <string>
#include <vector>

class QCPBars;
class QCPGraph;
class QCustomPlot;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

/// One batch evaluation: a grid of the plan list's index rows; selecting a row overlays that
/// structure's curve of every batch plan in `Chart1` and shows the histogram of the row's
/// values in `Chart2`. Buttons save both charts as bitmaps and write the two text exports;
/// "Close" and the close box close it.
class TFormBatchResult : public TFormDialog {
    Q_OBJECT
public:
    using BVClass = ::BVClass;

    TFormBatchResult(Workspace& workspace, QWidget* owner = nullptr);

    QTableWidget* StringGrid1;  // "Structure", "Index"; table row r - 1 is grid row r
    QCustomPlot* Chart1;        // the curves
    QCustomPlot* Chart2;        // the histogram
    QCPBars* Series1;
    QGroupBox* GroupBox1;       // "Dose"
    QRadioButton* RadioButton1; // "[Gy]"
    QRadioButton* RadioButton2; // "[%]"
    QLabel* Label1;             // "Step"
    QLineEdit* Edit1;           // the dose step of the DVH export
    QLabel* Label2;             // "Gy" or "%"
    QPushButton* Button1;       // "Close"
    QPushButton* BitBtn1;       // "DVH " bitmap
    QPushButton* BitBtn2;       // "Index" bitmap
    QPushButton* BitBtn4;       // "DVH " text export
    QPushButton* BitBtn3;       // "Index" text export

    // The evaluation's results (one entry of `BV` per index row of list `PlanListIndex`).
    std::vector<BVClass> BV;
    int PlanCount = 0;
    std::vector<int> PlanDatasetIndex;
    int PlanListIndex = -1;
    /// The grid row selected (from 1), -1 for none.
    int SelectedRow = -1;
    std::string ChartStructureName;
    float CurveEndDoseGy = 0;
    float CurveEndDosePercent = 0;
    /// The bars of `Chart2`, from its first bar.
    std::vector<int> Histogram;
    std::vector<QCPGraph*> PlanSeries;

    /// A new evaluation: its plans (indices and keys, in batch order) and result rows. Fills
    /// the grid, clears both charts and the curve ends, sets the step to "0.5".
    void SetResults(const std::vector<int>& planDatasetIndex, const std::vector<std::string>& planKeys,
                    std::vector<BVClass> bv);
    void FillResultGrid();
    void StringGrid1SelectCell(int column, int row);
    void RadioButton1Click();
    void DrawDvhChart();
    void DrawIndexBarChart();
    /// True drops the typed key: only digits, backspace and one ".".
    bool Edit1KeyPress(QKeyEvent* key);

    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void Button1Click();

    /// Writes `chart` enlarged by 1.5 on white as a bitmap under `path` with ".bmp".
    bool SaveChartBitmap(QCustomPlot* chart, const QString& path);
    /// Checks the step field; a message and false when it holds no usable step.
    bool StepUsable();
    /// The DVH export of the selected row / the index export, under `chosenPath` with ".txt".
    bool ExportDvh(const std::string& chosenPath);
    bool ExportIndex(const std::string& chosenPath);

protected:
    void FormShow() override;
    void FormClose() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildCharts();
    /// The batch plans' indices, -1 for a plan that is gone or no longer the one evaluated.
    std::vector<int> LivePlanIndex() const;
    const PlanListNameClass* List() const;
    void ClearCharts();
    /// Asks for the file of one export with a save dialog named `dialogName`, proposing no
    /// name, in `folder` (the export's last folder, which a save updates); the chosen path with
    /// `extension`, "" on cancel or a replace refused.
    std::string AskPath(const char* dialogName, const char* filter, const char* extension, QString& folder);
    void WriteFailed(const std::string& message);

    Workspace& m_ws;
    std::vector<std::string> m_planKeys;
    // The folder each export last wrote to; "" until it has.
    QString m_bitmapFolder;
    QString m_dvhFolder;
    QString m_indexFolder;
};
