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

TEST(ConstraintGuideLayer, CornerAndArmsSitWhereTheAxesMapTheMark) {
    TestApplication();
    Chart chart;
    chart.plot.addGraph()->setData({0, 100}, {100, 0});
    chart.marks = {{40, 60, RgbColor(0, 0, 255), true}, {70, 20, RgbColor(0, 0, 255), false}};
    QImage image = chart.Render();
    const QPoint lower = chart.Pixel(40, 60);
    EXPECT_TRUE(IsMark(image, lower));
    EXPECT_TRUE(IsMark(image, lower + QPoint(0, 9)));   // arm down, 9 pixels
    EXPECT_TRUE(IsMark(image, lower + QPoint(-8, 0)));  // arm left, 8 pixels
    EXPECT_FALSE(IsMark(image, lower + QPoint(0, -3)));
    EXPECT_FALSE(IsMark(image, lower + QPoint(3, 0)));
    const QPoint upper = chart.Pixel(70, 20);
    EXPECT_TRUE(IsMark(image, upper + QPoint(0, -9)));
    EXPECT_TRUE(IsMark(image, upper + QPoint(8, 0)));
    EXPECT_FALSE(IsMark(image, upper + QPoint(0, 3)));
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
