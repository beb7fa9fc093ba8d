// The plan view: making a plan current, drawing its DVH chart, units, zoom, colour, pictures.
#include "app/TForm1.h"
#include "dialogs/QtColor.h"

#include "widgets/BitmapFile.h"
#include "app/ChartCurveCache.h"
#include "app/Forms.h"
#include "app/TFormGraphView.h"
#include "app/TFormSList.h"
#include "widgets/TextBytes.h"
#include "dvh/FileNames.h"
#include "dvh/PlanView.h"
#include "platform/AtomicWrite.h"
#include "report/ui/TFormComment.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QTableWidget>

#include <qcustomplot.h>

#include <algorithm>

namespace {


}  // namespace

void TForm1::ShowPlan(int planIndex) {
    if (planIndex < 0 || planIndex >= PDatasetCount()) return;
    CurrentPlanIndex = planIndex;
    UpdateBrainLabActions();
    const PDatasetClass& plan = PDataset[planIndex];
    const int count = plan.DVHDatasetCount();

    QTableWidget* list = FormSList ? FormSList->StringGrid1 : nullptr;
    if (list) list->setRowCount(count);
    QListWidget* checks = FormGraphView ? FormGraphView->CheckListBox1 : nullptr;
    if (checks) checks->clear();
    ComboBox2->clear();
    for (int k = 0; k < count; ++k) {
        const DVHDatasetClass& s = plan.DVHDataset[k];
        const QString name = FromBytes(s.DisplayName());
        if (list) {
            list->setItem(k, 0, new QTableWidgetItem(name));
            for (int c = 1; c <= 4; ++c) list->setItem(k, c, new QTableWidgetItem(QString()));
        }
        if (checks) {
            auto* item = new QListWidgetItem(name, checks);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(s.Visible ? Qt::Checked : Qt::Unchecked);
        }
        ComboBox2->addItem(name);
    }
    ComboBox2->setCurrentIndex(-1);  // refilled lists keep no selection
    // A quick-index result belongs to the plan it was computed for.
    Edit2->clear();
}

void TForm1::DrawDvhChart(int planIndex) {
    if (planIndex < 0 || planIndex >= PDatasetCount()) return;
    const PDatasetClass& plan = PDataset[planIndex];

    LabelPName->setText(FromBytes(plan.PatientName));
    LabelPID->setText(FromBytes(plan.PatientID));
    LabelPlanName->setText(FromBytes(plan.PlanName));
    LabelPlanID->setText(FromBytes(plan.PlanID));
    LabelPrescDose->setText(QString::fromStdString(PrescribedDoseText(plan)));

    // Every newly drawn plan starts without report comment.
    for (std::string& line : CommentLine) line.clear();
    if (FormComment) FormComment->ClearComment();

    const bool dosePercent = RadioGroupIndex(RadioGroup1) == 1;
    const bool volumePercent = RadioGroupIndex(RadioGroup2) == 1;
    // The graph view's ticks decide what is drawn; before that dialog exists, `Visible` does.
    const QListWidget* checks = FormGraphView ? FormGraphView->CheckListBox1 : nullptr;
    // Curves come from the kept chart data: only curves whose points or units changed, and
    // structures ticked since the last draw, are built from their points.
    struct Curve {
        const ChartCurveCache::Curve* data;
        QString title;
        QPen pen;
    };
    std::vector<Curve> curves;
    QCPRange doseRange, volumeRange;
    bool hasDose = false, hasVolume = false;
    for (int k = 0; k < plan.DVHDatasetCount(); ++k) {
        const DVHDatasetClass& s = plan.DVHDataset[k];
        const bool ticked = (checks && k < checks->count())
                                ? checks->item(k)->checkState() == Qt::Checked
                                : s.Visible;
        if (!ticked) continue;
        const ChartCurveCache::Curve& curve = m_curveCache->CurveOf(s, dosePercent, volumePercent);
        curves.push_back({&curve, FromBytes(CurveTitle(s.DisplayName())), QPen(ToQColor(s.Color), s.LineWidth)});
        if (curve.hasDose) {
            doseRange = hasDose ? doseRange.expanded(curve.doseRange) : curve.doseRange;
            hasDose = true;
        }
        if (curve.hasVolume) {
            volumeRange = hasVolume ? volumeRange.expanded(curve.volumeRange) : curve.volumeRange;
            hasVolume = true;
        }
    }
    m_curveCache->DropUnused();

    // The graphs of the last draw stay when they show the same curves, titles and pens.
    bool sameGraphs =
        Chart1->graphCount() == static_cast<int>(curves.size()) && StructureSeries.size() == curves.size();
    for (std::size_t n = 0; sameGraphs && n < curves.size(); ++n) {
        const QCPGraph* g = StructureSeries[n];
        sameGraphs = g->data().data() == curves[n].data->data.data() && g->name() == curves[n].title &&
                     g->pen() == curves[n].pen;
    }
    const QCPRange doseBefore = Chart1->xAxis->range(), volumeBefore = Chart1->yAxis->range();
    const QString doseTitleBefore = Chart1->xAxis->label(), volumeTitleBefore = Chart1->yAxis->label();
    const int legendBefore = Chart1->legend->itemCount();
    const bool legendShownBefore = Chart1->legend->visible();
    if (!sameGraphs) {
        Chart1->clearGraphs();
        StructureSeries.clear();
        for (const Curve& c : curves) {
            QCPGraph* graph = Chart1->addGraph();
            StructureSeries.push_back(graph);
            graph->setName(c.title);
            graph->setPen(c.pen);
            graph->setAdaptiveSampling(true);
            graph->setData(c.data->data);
        }
    }
    if (!curves.empty()) {
        Chart1->xAxis->setLabel(dosePercent ? "Dose [%]" : "Dose [Gy]");
        Chart1->yAxis->setLabel(volumePercent ? "Volume [%]" : "Volume [cc]");
    }

    // Automatic ranges from the curves' kept ranges; relative volume is fixed to 0 .. 105.
    if (!StructureSeries.empty()) {
        RescaleAxis(Chart1->xAxis, doseRange, hasDose);
        if (volumePercent)
            Chart1->yAxis->setRange(0, 105);
        else
            RescaleAxis(Chart1->yAxis, volumeRange, hasVolume);
    }
    // The legend lists the curves from the top as far as its height allows, also in the
    // taller saved picture; entries beyond that could never be seen. (Listing hundreds of
    // entries would cost more than drawing all the curves.) An empty legend would show as a
    // bare frame.
    // A row is as high as its sample or its label, whichever is higher.
    const int rowHeight =
        std::max({1, Chart1->legend->iconSize().height(), QFontMetrics(Chart1->legend->font()).height()});
    const int capacity = ChartExportSize({Chart1->width(), Chart1->height()}).height / rowHeight + 1;
    const int listed = std::min(static_cast<int>(StructureSeries.size()), capacity);
    if (Chart1->legend->itemCount() != listed) {
        Chart1->legend->clearItems();
        for (int n = 0; n < listed; ++n) StructureSeries[static_cast<std::size_t>(n)]->addToLegend();
    }
    Chart1->legend->setVisible(!StructureSeries.empty());
    m_doseMin = Chart1->xAxis->range().lower;
    m_doseMax = Chart1->xAxis->range().upper;
    m_volumeMin = Chart1->yAxis->range().lower;
    m_volumeMax = Chart1->yAxis->range().upper;
    // A drawing that changes nothing the curves' layers show (same graphs, axes and legend)
    // repaints only the constraint marks, whose rows may have changed; the curves keep their
    // pixels. Anything else is drawn whole.
    const bool samePicture =
        sameGraphs && Chart1->xAxis->range() == doseBefore && Chart1->yAxis->range() == volumeBefore &&
        Chart1->xAxis->label() == doseTitleBefore && Chart1->yAxis->label() == volumeTitleBefore &&
        Chart1->legend->itemCount() == legendBefore && Chart1->legend->visible() == legendShownBefore;
    if (samePicture && m_guideLayer)
        m_guideLayer->replot();
    else
        Chart1->replot();

    // Select the plan's list by name; a list index that no longer exists counts as none.
    int item = -1;
    if (const PlanListNameClass* list = PlanListOfPlan(*this, planIndex)) {
        const QString name = FromBytes(list->Name);
        for (int i = 0; i < ComboBox1->count(); ++i)
            if (ComboBox1->itemText(i) == name) item = i;
    }
    ComboBox1->setCurrentIndex(item);
    ComboBox1Change();
}

void TForm1::RadioGroup1Click() {
    if (CurrentPlanIndex > -1) DrawDvhChart(CurrentPlanIndex);
}

void TForm1::ChartSelectionRectAccepted(const QRect& rect) {
    // A rectangle drawn towards the upper left undoes the zoom; tiny ones are clicks.
    if (std::abs(rect.width()) < 4 && std::abs(rect.height()) < 4) return;
    if (rect.width() < 0 || rect.height() < 0) {
        UndoZoom();
        return;
    }
    const QRect r = rect.normalized();
    Chart1->xAxis->setRange(Chart1->xAxis->pixelToCoord(r.left()), Chart1->xAxis->pixelToCoord(r.right()));
    Chart1->yAxis->setRange(Chart1->yAxis->pixelToCoord(r.bottom()), Chart1->yAxis->pixelToCoord(r.top()));
    Chart1Zoom();
    Chart1->replot();
}

void TForm1::Chart1Zoom() {
    const QCPRange range = Chart1->yAxis->range();
    if (range.lower >= 0) return;
    // Volumes below 0 do not exist. A rectangle entirely below 0 keeps its height above 0.
    const double upper = range.upper > 0 ? range.upper : range.size();
    Chart1->yAxis->setRange(0, upper);
}

void TForm1::UndoZoom() {
    Chart1->xAxis->setRange(m_doseMin, m_doseMax);
    Chart1->yAxis->setRange(m_volumeMin, m_volumeMax);
    Chart1->replot();
}

void TForm1::BackColor1Click() {
    ColorDialog1->setCurrentColor(m_chartColor);
    const bool chosen = ColorDialog1->exec() == QDialog::Accepted;
    SetChart1Color(chosen ? ColorDialog1->currentColor() : palette().window().color());
}

void TForm1::SetChart1Color(const QColor& color) {
    m_chartColor = color;
    Chart1->setBackground(color);
    Chart1->replot();
}

bool TForm1::SaveScreenBitmap(const QString& path) {
    const int top = menuBar()->height();
    return SaveScreenBitmapFrom(grab(QRect(0, top, width(), height() - top)).toImage(), path);
}

bool TForm1::SaveScreenBitmapFrom(const QImage& image, const QString& path) {
    const platform::WriteResult result = WriteBitmap(image, path);
    if (!result) ReportWriteFailure(result.message);
    return result.ok;
}

void TForm1::Screen1Click() {
    // The copy is taken before any dialog covers the window.
    const int top = menuBar()->height();
    const QImage shot = grab(QRect(0, top, width(), height() - top)).toImage();
    SaveDialog1->selectNameFilter("Bitmap (*.bmp)");
    if (SaveDialog1->exec() != QDialog::Accepted || SaveDialog1->selectedFiles().isEmpty()) return;
    const QString path = QString::fromStdString(
        ChangeFileExt(SaveDialog1->selectedFiles().first().toStdString(), ".bmp"));
    SaveScreenBitmapFrom(shot, path);
}

bool TForm1::SaveChartBitmap(const QString& path) {
    const PixelSize size = ChartExportSize({Chart1->width(), Chart1->height()});
    const QMargins margins = Chart1->axisRect()->margins();
    Chart1->setBackground(Qt::white);
    const QImage image = Chart1->toPixmap(size.width, size.height).toImage();
    Chart1->axisRect()->setMargins(margins);
    Chart1->setBackground(m_chartColor);
    Chart1->replot();
    const platform::WriteResult result = WriteBitmap(image, path);
    if (!result) ReportWriteFailure(result.message);
    return result.ok;
}

void TForm1::Graph3Click() {
    SaveDialog1->selectNameFilter("Bitmap (*.bmp)");
    if (SaveDialog1->exec() != QDialog::Accepted || SaveDialog1->selectedFiles().isEmpty()) return;
    SaveChartBitmap(QString::fromStdString(
        ChangeFileExt(SaveDialog1->selectedFiles().first().toStdString(), ".bmp")));
}
