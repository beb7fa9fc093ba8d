// A chart restyled for a page while it is drawn there, and given back exactly as it was.
#pragma once

#include <QBrush>
#include <QFont>
#include <QMargins>

#include <optional>

class QCustomPlot;

/// Point sizes of a chart's texts on a page.
struct ChartPageFonts {
    int TickLabels = 9;
    int Legend = 5;
    int AxisTitles = 8;
};

/// While it lives, `chart` has a white background and, when `fonts` is given, those point
/// sizes for its tick labels, legend and axis titles. On destruction the chart gets its fonts
/// and margins back, and `background` (its own colour, which the chart cannot tell), and is
/// replotted, so what the user chose stays.
class ChartPageStyle {
public:
    ChartPageStyle(QCustomPlot* chart, std::optional<ChartPageFonts> fonts, const QBrush& background);
    ~ChartPageStyle();
    ChartPageStyle(const ChartPageStyle&) = delete;
    ChartPageStyle& operator=(const ChartPageStyle&) = delete;

private:
    QCustomPlot* m_chart;
    QBrush m_background;
    QFont m_xTicks, m_yTicks, m_legend, m_xTitle, m_yTitle;
    QMargins m_margins;
};
