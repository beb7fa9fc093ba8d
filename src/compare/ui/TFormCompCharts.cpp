// Charts A-D of the comparison window: drawing, dose unit, line width, zoom, saving chart A,
// and the report style pictures.
#include "compare/ui/TFormComp.h"

#include "widgets/TextBytes.h"
#include "compare/ComparisonCurves.h"
#include "compare/ui/ComparisonChartView.h"
#include "compare/ui/TFormCompReport.h"
#include "dvh/FileNames.h"
#include "dvh/Workspace.h"
#include "report/ui/PageImageFile.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QRadioButton>
#include <QToolButton>

#include <qcustomplot.h>

void TFormComp::DrawChart(int chart) {
    if (chart < 0 || chart > 3) return;
    QCustomPlot* plot = ChartAD[static_cast<std::size_t>(chart)];
    std::vector<QCPGraph*>& series = ChartSeries[static_cast<std::size_t>(chart)];
    plot->clearGraphs();
    series.clear();
    const int choice = StructureChoice[static_cast<std::size_t>(chart)]->currentIndex();
    ReconcilePlans();
    if (!Compared.Empty() && choice >= 0 && choice < static_cast<int>(StructureNames.size())) {
        const bool percent = DoseAxis == 2;
        for (const ComparisonSeries& s :
             ComparisonCurves(Compared, m_ws.PDataset, StructureNames[static_cast<std::size_t>(choice)],
                              percent)) {
            QCPGraph* graph = plot->addGraph();
            graph->setName(FromBytes(s.Title));
            graph->setPen(QPen(ToQColor(s.Color), LineWidth));
            QVector<QCPGraphData> points;
            points.reserve(static_cast<qsizetype>(s.Points.size()));
            for (const ChartPoint& p : s.Points) points.append(QCPGraphData(p.x, p.y));
            graph->data()->set(points);
            series.push_back(graph);
            if (!s.Points.empty()) plot->xAxis->setLabel(percent ? "Dose [%]" : "Dose [Gy]");
        }
        UndoComparisonZoom(plot);
    }
    // An empty legend would show as a bare frame.
    plot->legend->setVisible(!series.empty());
    plot->replot();
}

void TFormComp::DrawAllCharts() {
    for (int c = 0; c < 4; ++c) DrawChart(c);
}

void TFormComp::RadioGroup1Click() {
    DoseAxis = DoseButtons->checkedId() + 1;
    DrawAllCharts();
}

void TFormComp::ResetDisplayOptions() {
    DoseAxis = 2;
    LineWidth = 2;
    DoseButtons->button(1)->setChecked(true);
    RadioButton2->setChecked(true);
    DrawAllCharts();
}

void TFormComp::RadioButton1Click() {
    const QRadioButton* buttons[4] = {RadioButton1, RadioButton2, RadioButton3, RadioButton4};
    for (int i = 0; i < 4; ++i)
        if (buttons[i]->isChecked()) {
            LineWidth = i + 1;
            break;
        }
    DrawAllCharts();
}

void TFormComp::ChartZoom(QCustomPlot* chart) {
    const QCPRange range = chart->yAxis->range();
    if (range.lower >= 0) return;
    chart->yAxis->setRange(0, range.upper > 0 ? range.upper : range.size());
}

void TFormComp::BitBtn3Click() {
    QFileDialog* dialog = BitmapDialog ? BitmapDialog() : nullptr;
    if (!dialog) return;
    dialog->selectNameFilter("Bitmap (*.bmp)");
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return;
    SaveChartABitmap(PathText(ChangeFileExt(PathBytes(dialog->selectedFiles().first()), ".bmp")));
}

bool TFormComp::SaveChartABitmap(const QString& path) {
    // A larger picture on white; the chart on screen keeps its size and colour.
    Chart1->setBackground(QBrush(Qt::white));
    const QImage image =
        Chart1->toPixmap(Chart1->width() * 3 / 2, Chart1->height() * 3 / 2).toImage();
    Chart1->setBackground(QBrush(palette().color(QPalette::Button)));
    Chart1->replot();
    const platform::WriteResult written = WritePageImage(image, PathBytes(path), PageImageFormat::Bitmap);
    // The write's own words name the file and why it could not be written (a folder, a pipe).
    if (!written.ok) ShowMessage(FromBytes(written.message), "Error");
    return written.ok;
}

void TFormComp::ImageClick() { SetReportStyle(NextReportStyle(ReportStyle)); }

void TFormComp::SetReportStyle(int style) {
    ReportStyle = style >= 1 && style <= 5 ? style : 1;
    for (int s = 0; s < 5; ++s) Image[static_cast<std::size_t>(s)]->setVisible(s + 1 == ReportStyle);
    const QColor shown = palette().color(QPalette::Active, QPalette::WindowText);
    const QColor grey = palette().color(QPalette::Disabled, QPalette::Text);
    for (int c = 0; c < 4; ++c) {
        const QColor colour = ReportStyleUsesChart(ReportStyle, c) ? shown : grey;
        for (QLabel* label : {Labels[static_cast<std::size_t>(c)], Labels[static_cast<std::size_t>(c + 4)]}) {
            QPalette p = label->palette();
            p.setColor(QPalette::WindowText, colour);
            label->setPalette(p);
        }
    }
    FormCompReport->ShowStyle(ReportStyle);
}
