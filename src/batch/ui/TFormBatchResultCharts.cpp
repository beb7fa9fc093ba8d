// The batch result window's charts, their bitmaps and the two text exports.
#include "batch/ui/TFormBatchResult.h"

#include "widgets/BitmapFile.h"
#include "widgets/ReplaceQuestion.h"
#include "widgets/TextBytes.h"
#include "batch/BatchCharts.h"
#include "batch/BatchExports.h"
#include "dvh/FileNames.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QStandardPaths>

#include <qcustomplot.h>

namespace {

void StyleChart(QCustomPlot* chart, const char* name) {
    chart->setObjectName(name);
    chart->legend->setVisible(false);
    for (QCPAxis* axis : {chart->xAxis, chart->yAxis}) {
        QPen grid(QColor(192, 192, 192));
        grid.setStyle(Qt::DotLine);
        axis->grid()->setPen(grid);
    }
}

/// While it lives: the hourglass cursor.
struct BusyCursor {
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

void TFormBatchResult::BuildCharts() {
    Chart1 = new QCustomPlot(this);
    StyleChart(Chart1, "Chart1");
    Chart1->setGeometry(246, 12, 592, 330);
    Chart1->xAxis->setLabel("Dose");
    Chart1->yAxis->setLabel("Volume [%]");
    Chart1->setSelectionRectMode(QCP::srmZoom);
    // Hundreds of overlaid curves: joined polylines without antialiasing keep a redraw fast.
    Chart1->setPlottingHint(QCP::phFastPolylines, true);
    Chart1->setNotAntialiasedElements(QCP::aePlottables);
    // No legend: adding each of 500 curves to it would cost a search of it every time.
    Chart1->setAutoAddPlottableToLegend(false);
    // A zoom never shows volumes below 0.
    connect(Chart1->yAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this, [this](const QCPRange& r) {
        if (r.lower < 0) Chart1->yAxis->setRangeLower(0);
    });

    Chart2 = new QCustomPlot(this);
    StyleChart(Chart2, "Chart2");
    Chart2->setGeometry(246, 350, 592, 272);
    Chart2->yAxis->setLabel("Frequency");
    Series1 = new QCPBars(Chart2->xAxis, Chart2->yAxis);
    Series1->setPen(QPen(QColor(128, 0, 0)));
    Series1->setBrush(QColor(128, 0, 0));
    Series1->setWidth(0.7);
}

void TFormBatchResult::ClearCharts() {
    Chart1->clearGraphs();
    PlanSeries.clear();
    CurveEndDoseGy = CurveEndDosePercent = 0;
    Chart1->xAxis->setLabel("Dose");
    Chart1->replot();
    Histogram.clear();
    Series1->data()->clear();
    Chart2->replot();
}

void TFormBatchResult::DrawDvhChart() {
    BusyCursor busy;
    Chart1->clearGraphs();
    PlanSeries.clear();
    CurveEndDoseGy = CurveEndDosePercent = 0;
    const int j = SelectedRow - 1;
    if (SelectedRow < 1 || j >= static_cast<int>(BV.size()) || BV[j].StructureIndex.empty()) {
        Chart1->replot();
        return;
    }
    const bool percent = RadioButton2->isChecked();
    Chart1->xAxis->setLabel(percent ? "Dose [%]" : "Dose [Gy]");
    const std::vector<int> live = LivePlanIndex();
    const QPen navy(QColor(0, 0, 128), 2);
    for (std::size_t i = 0; i < live.size(); ++i) {
        const DVHDatasetClass* s = BatchStructure(m_ws.PDataset, live, BV[j].StructureIndex, i);
        if (!s) continue;
        QVector<QCPGraphData> points(static_cast<qsizetype>(s->DVset.size()));
        for (qsizetype k = 0; k < points.size(); ++k)
            points[k] = {percent ? s->DVset[k].DosePercent : s->DVset[k].DoseGy, s->DVset[k].VolumePercent};
        QCPGraph* graph = Chart1->addGraph();
        graph->setPen(navy);
        // A curve whose doses fall somewhere is sorted by the chart; the others are taken as they are.
        const DvhPointOrder order = s->DVset.Order();
        graph->data()->set(points, percent ? order.DosePercentNeverFalls : order.DoseGyNeverFalls);
        PlanSeries.push_back(graph);
    }
    const CurveEnds ends = BatchCurveEnds(m_ws.PDataset, live, BV[j].StructureIndex);
    CurveEndDoseGy = ends.DoseGy;
    CurveEndDosePercent = ends.DosePercent;
    Chart1->xAxis->rescale();
    Chart1->yAxis->setRange(0, 100);
    Chart1->replot();
}

void TFormBatchResult::DrawIndexBarChart() {
    BusyCursor busy;
    Histogram.clear();
    Series1->data()->clear();
    const PlanListNameClass* list = List();
    const int j = SelectedRow - 1;
    const bool rowOk = list && SelectedRow >= 1 && j < list->IndexDataCount() && j < static_cast<int>(BV.size()) &&
                       !list->IndexData[j].Name.empty() && list->IndexData[j].Items != -1;
    const BatchHistogram h = rowOk ? MakeBatchHistogram(BV[j].Value) : BatchHistogram{};
    if (h.Empty()) {
        Chart2->replot();
        return;
    }
    Histogram = h.Counts;
    QVector<double> keys, values;
    for (std::size_t b = 0; b < h.Counts.size(); ++b) {
        keys << h.FirstBin + static_cast<double>(b);
        values << h.Counts[b];
    }
    Series1->setData(keys, values, true);
    Chart2->yAxis->setRange(0, h.LargestCount() + 2);
    const double last = h.FirstBin + static_cast<double>(h.Counts.size());
    Chart2->xAxis->setRange(h.MinValue <= 0 ? 0 : h.FirstBin - 1, last);
    Chart2->replot();
}

bool TFormBatchResult::SaveChartBitmap(QCustomPlot* chart, const QString& path) {
    // The charts are drawn on white: the picture is the chart at 1.5 times its size.
    const QImage image =
        chart->toPixmap(static_cast<int>(chart->width() * 1.5), static_cast<int>(chart->height() * 1.5)).toImage();
    chart->replot();
    const platform::WriteResult result = WriteBitmap(image, PathText(ChangeFileExt(PathBytes(path), ".bmp")));
    if (!result) WriteFailed(result.message);
    return result.ok;
}

void TFormBatchResult::WriteFailed(const std::string& message) {
    auto* box = new QMessageBox(QMessageBox::Critical, "Error", FromBytes(message), QMessageBox::Ok, this);
    box->setObjectName("BatchWriteFailure");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}

std::string TFormBatchResult::AskPath(const char* dialogName, const char* filter, const char* extension,
                                      QString& folder) {
    // A dialog of its own each time, so that no earlier name (nor a folder name taken for
    // one) is offered: the user names every export.
    QFileDialog dialog(this, "Save", QString(), filter);
    dialog.setObjectName(dialogName);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (folder.isEmpty()) {
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        folder = QFileInfo(documents).isDir() ? documents : QDir::homePath();
    }
    dialog.setDirectory(folder);
    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
        const std::string chosen = PathBytes(dialog.selectedFiles().first());
        const std::string path = ChangeFileExt(chosen, extension);
        // The dialog asked about the name typed; a name the extension changed is asked here,
        // before a file the user never confirmed is replaced.
        if (path != chosen && !MayReplace(this, windowTitle(), PathText(path))) continue;
        folder = QFileInfo(PathText(path)).absolutePath();
        return path;
    }
}

void TFormBatchResult::BitBtn1Click() {
    const std::string path = AskPath("SaveDialog1", "Bitmap (*.bmp)", ".bmp", m_bitmapFolder);
    if (!path.empty()) SaveChartBitmap(Chart1, PathText(path));
}

void TFormBatchResult::BitBtn2Click() {
    const std::string path = AskPath("SaveDialog1", "Bitmap (*.bmp)", ".bmp", m_bitmapFolder);
    if (!path.empty()) SaveChartBitmap(Chart2, PathText(path));
}

bool TFormBatchResult::StepUsable() {
    const std::optional<double> step = ParseStepText(Edit1->text().toStdString());
    const float end = RadioButton1->isChecked() ? CurveEndDoseGy : CurveEndDosePercent;
    const char* refusal = !step ? "Step size is not specified."
                          : DvhExportLineCount(end, *step) > kMaxDvhExportLines ? "Step size is too small."
                                                                                 : nullptr;
    if (!refusal) return true;
    auto* box = new QMessageBox(QMessageBox::Information, "Step size", refusal, QMessageBox::Ok, this);
    box->setObjectName("StepSizeMessage");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
    return false;
}

void TFormBatchResult::BitBtn4Click() {
    const int j = SelectedRow - 1;
    const PlanListNameClass* list = List();
    if (SelectedRow < 1 || !list || j >= list->IndexDataCount() || j >= static_cast<int>(BV.size()) ||
        list->IndexData[j].Name.empty() || BV[j].StructureIndex.empty())
        return;
    if (!StepUsable()) return;
    const std::string path = AskPath("SaveDialog2", "data (*.txt)", ".txt", m_dvhFolder);
    if (!path.empty()) ExportDvh(path);
}

void TFormBatchResult::BitBtn3Click() {
    const std::string path = AskPath("SaveDialog2", "data (*.txt)", ".txt", m_indexFolder);
    if (!path.empty()) ExportIndex(path);
}

bool TFormBatchResult::ExportDvh(const std::string& chosenPath) {
    const int j = SelectedRow - 1;
    const PlanListNameClass* list = List();
    if (SelectedRow < 1 || !list || j >= list->IndexDataCount() || j >= static_cast<int>(BV.size()) ||
        BV[j].StructureIndex.empty())
        return false;
    const std::string stepText = Edit1->text().toStdString();
    const std::optional<double> step = ParseStepText(stepText);
    if (!step) return false;
    DvhExportRequest request;
    request.StructureName = list->IndexData[j].Name;
    request.RelativeDose = !RadioButton1->isChecked();
    request.Step = *step;
    request.Decimals = StepDecimals(stepText);
    request.Lines = DvhExportLineCount(request.RelativeDose ? CurveEndDosePercent : CurveEndDoseGy, *step);
    if (request.Lines > kMaxDvhExportLines) return false;
    const std::vector<int> live = LivePlanIndex();
    std::vector<BatchExportPlan> plans;
    for (std::size_t i = 0; i < live.size(); ++i)
        plans.push_back({live[i] >= 0 ? &m_ws.PDataset[live[i]] : nullptr,
                         i < BV[j].StructureIndex.size() ? BV[j].StructureIndex[i] : kNoBatchStructure});
    const platform::WriteResult r = WriteBatchExport(chosenPath, BatchDvhExportText(request, plans));
    if (!r) WriteFailed(r.message);
    return r.ok;
}

bool TFormBatchResult::ExportIndex(const std::string& chosenPath) {
    const PlanListNameClass noList;
    const PlanListNameClass* list = List();
    std::vector<BatchExportPlan> plans;
    for (int p : LivePlanIndex()) plans.push_back({p >= 0 ? &m_ws.PDataset[p] : nullptr});
    const platform::WriteResult r =
        WriteBatchExport(chosenPath, BatchIndexExportText(list ? *list : noList, plans, BV));
    if (!r) WriteFailed(r.message);
    return r.ok;
}
