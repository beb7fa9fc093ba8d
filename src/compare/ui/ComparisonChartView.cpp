// The look and zoom of the comparison window's charts.
#include "compare/ui/ComparisonChartView.h"

#include "widgets/ChartLegend.h"

#include <qcustomplot.h>

QCustomPlot* MakeComparisonChart(QWidget* parent, const char* name, const char* leftTitle,
                                 bool legend, std::function<void()> zoomed) {
    auto* chart = new QCustomPlot(parent);
    chart->setObjectName(name);
    // The window's face colour; pages and saved pictures draw the charts on white.
    chart->setBackground(QBrush(chart->palette().color(QPalette::Button)));
    chart->xAxis->setLabel("Dose");
    chart->yAxis->setLabel(leftTitle);
    chart->yAxis->setRange(0, 105);
    const QPen grid(QColor(192, 192, 192), 0, Qt::DotLine);
    for (QCPAxis* axis : {chart->xAxis, chart->yAxis}) {
        axis->grid()->setPen(grid);
        axis->grid()->setSubGridPen(grid);
        axis->grid()->setSubGridVisible(true);
    }
    for (QCPAxis* axis : {chart->xAxis2, chart->yAxis2}) {
        axis->setVisible(true);
        axis->setTickLabels(false);
        axis->setTicks(false);
    }
    chart->setAutoAddPlottableToLegend(legend);
    // Shown once the chart has curves.
    chart->legend->setVisible(false);
    QFont legendFont("Tahoma");
    legendFont.setPixelSize(11);
    chart->legend->setIconSize(10, 8);  // the sample's width; its height follows the font
    SetLegendFont(chart->legend, legendFont);
    chart->axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignTop | Qt::AlignRight);
    if (zoomed) {
        chart->setSelectionRectMode(QCP::srmCustom);
        QObject::connect(chart->selectionRect(), &QCPSelectionRect::accepted, chart,
                         [chart, zoomed](const QRect& rect, QMouseEvent*) {
                             if (std::abs(rect.width()) < 4 && std::abs(rect.height()) < 4) return;
                             if (rect.width() < 0 || rect.height() < 0) {
                                 UndoComparisonZoom(chart);
                                 chart->replot();
                                 return;
                             }
                             const QRect r = rect.normalized();
                             chart->xAxis->setRange(chart->xAxis->pixelToCoord(r.left()),
                                                    chart->xAxis->pixelToCoord(r.right()));
                             chart->yAxis->setRange(chart->yAxis->pixelToCoord(r.bottom()),
                                                    chart->yAxis->pixelToCoord(r.top()));
                             zoomed();
                             chart->replot();
                         });
    }
    return chart;
}

std::unique_ptr<QCustomPlot> CopyComparisonChart(const QCustomPlot& screen, int maxSeries) {
    std::unique_ptr<QCustomPlot> copy(MakeComparisonChart(nullptr, "PageChart", "", true, nullptr));
    copy->resize(screen.size());
    copy->xAxis->setLabel(screen.xAxis->label());
    copy->yAxis->setLabel(screen.yAxis->label());
    for (int i = 0; i < screen.graphCount() && i < maxSeries; ++i) {
        const QCPGraph* curve = screen.graph(i);
        QCPGraph* graph = copy->addGraph();
        graph->setName(curve->name());
        graph->setPen(curve->pen());
        graph->data()->set(*curve->data());
    }
    copy->legend->setVisible(screen.legend->visible() && copy->graphCount() > 0);
    copy->xAxis->setRange(screen.xAxis->range());
    copy->yAxis->setRange(screen.yAxis->range());
    return copy;
}

void UndoComparisonZoom(QCustomPlot* chart) {
    bool any = false;
    for (int i = 0; i < chart->graphCount(); ++i) any = any || !chart->graph(i)->data()->isEmpty();
    if (any) chart->xAxis->rescale();
    chart->yAxis->setRange(0, 105);
}

void SetChartLook(QCustomPlot* chart, const QColor& background, int labelPointSize,
                  int titlePointSize, int legendPointSize) {
    chart->setBackground(background);
    for (QCPAxis* axis : {chart->xAxis, chart->yAxis}) {
        QFont labels = axis->tickLabelFont();
        labels.setPointSize(labelPointSize);
        axis->setTickLabelFont(labels);
        QFont title = axis->labelFont();
        title.setPointSize(titlePointSize);
        axis->setLabelFont(title);
    }
    QFont legend = chart->legend->font();
    legend.setPointSize(legendPointSize);
    SetLegendFont(chart->legend, legend);
}
