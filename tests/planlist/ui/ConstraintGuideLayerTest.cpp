// Constraint marks drawn over a QCustomPlot chart.
#include "planlist/ui/ConstraintGuideLayer.h"

#include "UiTestMain.h"

#include <gtest/gtest.h>

namespace {

const QColor kMark(0, 0, 255);

struct Chart {
    QCustomPlot plot;
    std::vector<GuideMark> marks;
    Chart() {
        plot.resize(400, 300);
        plot.xAxis->setRange(0, 100);
        plot.yAxis->setRange(0, 100);
        plot.setBackground(Qt::white);
        new ConstraintGuideLayer(&plot, [this](QCPPainter* p) { PaintGuideMarks(p, &plot, marks); });
    }
    QImage Render() {
        plot.replot();
        return plot.toPixmap(400, 300).toImage();
    }
    QPoint Pixel(double x, double y) const {
        return {static_cast<int>(std::lround(plot.xAxis->coordToPixel(x))),
                static_cast<int>(std::lround(plot.yAxis->coordToPixel(y)))};
    }
};

bool IsMark(const QImage& image, QPoint p) { return image.pixelColor(p) == kMark; }

// Mark pixels in a row from `from` (included) in direction `step`.
int MarkRun(const QImage& image, QPoint from, QPoint step) {
    int n = 0;
    for (QPoint p = from; image.rect().contains(p) && IsMark(image, p); p += step) ++n;
    return n;
}

TEST(ConstraintGuideLayer, CornerAndArmsSitWhereTheAxesMapTheMark) {
    TestApplication();
    Chart chart;
    chart.plot.addGraph()->setData({0, 100}, {100, 0});
    chart.marks = {{40, 60, RgbColor(0, 0, 255), true}, {70, 20, RgbColor(0, 0, 255), false}};
    QImage image = chart.Render();
    // A line runs from its first pixel up to, not including, its end point: the arm from
    // (X, Y) to (X, Y + 9) covers Y .. Y + 8, 9 pixels; the one to (X - 8, Y) covers
    // X - 7 .. X, 8 pixels. The corner counts in both.
    const QPoint lower = chart.Pixel(40, 60);
    EXPECT_EQ(MarkRun(image, lower, {0, 1}), 9);    // arm down
    EXPECT_EQ(MarkRun(image, lower, {-1, 0}), 8);   // arm left
    EXPECT_EQ(MarkRun(image, lower, {0, -1}), 1);   // nothing above the corner
    EXPECT_EQ(MarkRun(image, lower, {1, 0}), 1);    // nothing right of it
    const QPoint upper = chart.Pixel(70, 20);
    EXPECT_EQ(MarkRun(image, upper, {0, -1}), 9);   // arm up
    EXPECT_EQ(MarkRun(image, upper, {1, 0}), 8);    // arm right
    EXPECT_EQ(MarkRun(image, upper, {0, 1}), 1);
    EXPECT_EQ(MarkRun(image, upper, {-1, 0}), 1);
    // Every replot draws the marks again at the new zoom.
    chart.plot.xAxis->setRange(0, 50);
    image = chart.Render();
    EXPECT_TRUE(IsMark(image, chart.Pixel(40, 60)));
    EXPECT_FALSE(IsMark(image, lower + QPoint(0, 5)));
}

TEST(ConstraintGuideLayer, MarksOutsideThePlotAreaOrWithoutSeriesAreNotDrawn) {
    TestApplication();
    Chart chart;
    chart.marks = {{40, 60, RgbColor(0, 0, 255), true}};
    QImage image = chart.Render();
    EXPECT_FALSE(IsMark(image, chart.Pixel(40, 60)));  // no graph: nothing
    chart.plot.addGraph();
    chart.plot.xAxis->setRange(0, 30);  // the corner now lies right of the plot area
    chart.marks = {{40, 60, RgbColor(0, 0, 255), true}, {30, 60, RgbColor(0, 0, 255), false}};
    image = chart.Render();
    int blue = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) blue += IsMark(image, {x, y});
    EXPECT_EQ(blue, 0);  // 30 sits exactly on the right edge: outside too
}

}  // namespace
