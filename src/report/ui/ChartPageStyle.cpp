// A chart restyled for a page while it is drawn there, and given back exactly as it was.
#include "report/ui/ChartPageStyle.h"
#include "widgets/ChartLegend.h"

#include <qcustomplot.h>

namespace {

QFont Sized(QFont font, int points) {
    font.setPointSize(points);
    return font;
}

}  // namespace

ChartPageStyle::ChartPageStyle(QCustomPlot* chart, std::optional<ChartPageFonts> fonts, const QBrush& background)
    : m_chart(chart),
      m_background(background),
      m_xTicks(chart->xAxis->tickLabelFont()),
      m_yTicks(chart->yAxis->tickLabelFont()),
      m_legend(chart->legend->font()),
      m_xTitle(chart->xAxis->labelFont()),
      m_yTitle(chart->yAxis->labelFont()),
      m_margins(chart->axisRect()->margins()) {
    chart->setBackground(Qt::white);
    if (!fonts) return;
    chart->xAxis->setTickLabelFont(Sized(m_xTicks, fonts->TickLabels));
    chart->yAxis->setTickLabelFont(Sized(m_yTicks, fonts->TickLabels));
    SetLegendFont(chart->legend, Sized(m_legend, fonts->Legend));
    chart->xAxis->setLabelFont(Sized(m_xTitle, fonts->AxisTitles));
    chart->yAxis->setLabelFont(Sized(m_yTitle, fonts->AxisTitles));
}

ChartPageStyle::~ChartPageStyle() {
    m_chart->setBackground(m_background);
    m_chart->xAxis->setTickLabelFont(m_xTicks);
    m_chart->yAxis->setTickLabelFont(m_yTicks);
    SetLegendFont(m_chart->legend, m_legend);
    m_chart->xAxis->setLabelFont(m_xTitle);
    m_chart->yAxis->setLabelFont(m_yTitle);
    m_chart->axisRect()->setMargins(m_margins);
    // Lay the chart out for the screen again at once, so that zoom and guide coordinates are
    // the screen's, but leave the repaint to the event loop: drawing into a page never touched
    // the screen's pixels, and repainting every curve now would double the cost of a page.
    QCPLayoutGrid* layout = m_chart->plotLayout();
    for (const auto phase : {QCPLayoutElement::upPreparation, QCPLayoutElement::upMargins,
                             QCPLayoutElement::upLayout})
        layout->update(phase);
    m_chart->replot(QCustomPlot::rpQueuedReplot);
}
