// The constraint marks over a QCustomPlot chart, drawn again at every replot.
#pragma once

#include "dvh/Workspace.h"
#include "planlist/ConstraintGuides.h"

#include <qcustomplot.h>

#include <functional>
#include <vector>

/// Draws `marks` (in axis units) over `plot` through the axes of its first graph: each corner
/// is mapped with coordToPixel and drawn, with a solid 1-pixel pen in the structure's colour,
/// only when it lies inside the axis rectangle (right and bottom edges outside). Nothing is
/// drawn when the plot holds no graph.
void PaintGuideMarks(QPainter* painter, const QCustomPlot* plot, const std::vector<GuideMark>& marks);

/// The marks of plan `planIndex` of `ws` (its plan list's rows, names matched under the live
/// "Case sensitivity") painted over `plot`. Nothing without a plan, a plan list or a graph.
void PaintPlanConstraintGuides(QPainter* painter, const QCustomPlot* plot, const Workspace& ws,
                               int planIndex, GuideAxes axes);

/// A layer item above the curves whose drawing calls back at every replot, so the marks
/// always follow the current zoom, units and data.
class ConstraintGuideLayer : public QCPLayerable {
public:
    using DrawFunction = std::function<void(QCPPainter*)>;
    ConstraintGuideLayer(QCustomPlot* plot, DrawFunction draw);

protected:
    void applyDefaultAntialiasingHint(QCPPainter* painter) const override;
    void draw(QCPPainter* painter) override;

private:
    DrawFunction m_draw;
};
