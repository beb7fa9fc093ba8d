// Runs a page's drawing operations with a QPainter: on the preview picture or on a printer.
#pragma once

#include "report/PageOperations.h"

#include <QImage>
#include <QRect>
#include <QSize>

#include <functional>

class QCustomPlot;
class QPaintDevice;
class QPainter;

/// Draws chart number `chart` of a page into `target`, in the device units of `painter`.
using PageChartPainter = std::function<void(QPainter& painter, const QRect& target, int chart)>;

/// Resolution of preview pictures, so that a point size means on them what it means on screen.
constexpr int PagePreviewDpi = 96;

/// The rectangle `text` covers when `device` draws it: its line (its advance wide, ascent and
/// descent high, from its top-left corner) and wherever its glyphs reach beyond that.
QRect PageTextRect(const PageText& text, const QPaintDevice* device);

/// Sizes texts as `device` draws them; the device must outlive the result.
PageTextMeasure PageTextMeasureOn(const QPaintDevice* device);

/// Sizes texts as the page pictures (`PagePreviewDpi`) draw them.
PageTextMeasure PreviewTextMeasure();

/// Runs `operations` on `painter` in order. Point sizes are taken at the device's own
/// resolution, so the same page reads alike on a 96 dpi picture and a 600 dpi printer. Text is
/// placed by its top-left corner. Charts go through `chart` (none drawn when it is empty).
/// An exception out of a chart or the painter stops the drawing there: the page keeps what was
/// drawn so far, and the result is false.
bool PaintPageOperations(QPainter& painter, const std::vector<PageOperation>& operations,
                         const PageChartPainter& chart);

/// A white picture of the page's size at `PagePreviewDpi` with the page painted on it.
QImage RenderPageImage(const PageDrawing& page, const PageChartPainter& chart,
                       bool* complete = nullptr);

/// Draws `plot` into `target` of `painter`, laid out as a chart of about `logicalSize` pixels
/// (the longer way stretched to the target's shape) and scaled up to the target, so that its
/// fonts and pens keep their size relative to that chart. On devices finer than three times
/// that size the chart is drawn as a picture at three times and smoothed up.
void PaintChartIntoRect(QPainter& painter, QCustomPlot& plot, const QRect& target, QSize logicalSize);

/// `picture` scaled smoothly to `size` (the reduced preview), or itself when it has that size.
QImage ScaledPagePicture(const QImage& picture, QSize size);
