// The constraint marks over a QCustomPlot chart, drawn again at every replot.
#include "planlist/ui/ConstraintGuideLayer.h"

#include <cmath>

namespace {
const char* const kLayerName = "constraintGuides";

QCPLayer* GuideLayer(QCustomPlot* plot) {
    if (QCPLayer* layer = plot->layer(kLayerName)) return layer;
    // Above the curves and the axes, as an after-draw painting would be.
    plot->addLayer(kLayerName, plot->layer("axes"), QCustomPlot::limAbove);
    return plot->layer(kLayerName);
}
}  // namespace

void PaintGuideMarks(QPainter* painter, const QCustomPlot* plot, const std::vector<GuideMark>& marks) {
    if (plot->graphCount() == 0) return;
    const QCPGraph* first = plot->graph(0);
    const QCPAxis* keyAxis = first->keyAxis();
    const QCPAxis* valueAxis = first->valueAxis();
    const QRect area = keyAxis->axisRect()->rect();
    const PixelRect inside{area.left(), area.top(), area.left() + area.width(),
                           area.top() + area.height()};
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    for (const GuideMark& m : marks) {
        const double px = keyAxis->coordToPixel(m.X);
        const double py = valueAxis->coordToPixel(m.Y);
        if (!std::isfinite(px) || !std::isfinite(py)) continue;
        const int x = static_cast<int>(std::lround(px));
        const int y = static_cast<int>(std::lround(py));
        if (!inside.Contains(x, y)) continue;
        painter->setPen(QPen(QColor(ColorRed(m.Color), ColorGreen(m.Color), ColorBlue(m.Color)), 1,
                             Qt::SolidLine));
        for (const PixelLine& line : GuideArms(x, y, m.LowerLimit)) {
            // An arm paints from its corner up to, not including, its end point, so it is as
            // many pixels long as the end lies from the corner (9 up or down, 8 across). The
            // painter paints both ends of a line (and its flat cap drops the wrong one for
            // lines drawn up or left), so the line is stopped one pixel short.
            const int lastX = line.X1 - (line.X1 > line.X0) + (line.X1 < line.X0);
            const int lastY = line.Y1 - (line.Y1 > line.Y0) + (line.Y1 < line.Y0);
            painter->drawLine(line.X0, line.Y0, lastX, lastY);
        }
    }
    painter->restore();
}

void PaintPlanConstraintGuides(QPainter* painter, const QCustomPlot* plot, const Workspace& ws,
                               int planIndex, GuideAxes axes) {
    if (plot->graphCount() == 0 || planIndex < 0 || planIndex >= ws.PDatasetCount()) return;
    const PDatasetClass& plan = ws.PDataset[planIndex];
    if (plan.PlanListIndex < 0 || plan.PlanListIndex >= ws.PlanListNameCount()) return;
    PaintGuideMarks(painter, plot,
                    ConstraintGuideMarks(plan, ws.PlanListName[plan.PlanListIndex], axes,
                                         ws.CaseSensitiveNow()));
}

ConstraintGuideLayer::ConstraintGuideLayer(QCustomPlot* plot, DrawFunction draw)
    : QCPLayerable(plot, QString()), m_draw(std::move(draw)) {
    setLayer(GuideLayer(plot));
}

void ConstraintGuideLayer::applyDefaultAntialiasingHint(QCPPainter* painter) const {
    applyAntialiasingHint(painter, false, QCP::aeOther);
}

void ConstraintGuideLayer::draw(QCPPainter* painter) {
    if (m_draw) m_draw(painter);
}
