// The look and zoom of the comparison window's charts.
#pragma once

#include "dvh/Records.h"

#include <QColor>

#include <functional>
#include <memory>

class QCustomPlot;
class QWidget;

#include "dialogs/QtColor.h"
inline TColor FromQColor(const QColor& c) { return RgbColor(c.red(), c.green(), c.blue()); }

/// A DVH chart of the comparison: silver dotted grids, framed, bottom axis "Dose", left axis
/// `leftTitle` fixed at 0-105, with `legend` a legend of its curves (Tahoma 11 pixels), shown by
/// whoever draws them once there are any. With `zoomed` set the
/// user draws a rectangle to zoom in (towards the upper left to undo), and `zoomed` runs after
/// each zoom in; without it the chart does not zoom.
QCustomPlot* MakeComparisonChart(QWidget* parent, const char* name, const char* leftTitle,
                                 bool legend, std::function<void()> zoomed);
/// A copy of comparison chart `screen` as it stands: its first `maxSeries` curves with their
/// titles, pens and points, its axis titles and ranges, its size and legend. Pages draw the
/// copy, so the chart on screen keeps its look.
std::unique_ptr<QCustomPlot> CopyComparisonChart(const QCustomPlot& screen, int maxSeries);
/// Undoes any zoom: the bottom axis over the curves, the left axis 0 to 105.
void UndoComparisonZoom(QCustomPlot* chart);
/// The chart's background and the font sizes of its axis labels, titles and legend.
void SetChartLook(QCustomPlot* chart, const QColor& background, int labelPointSize,
                  int titlePointSize, int legendPointSize);
