// The page painter: operations land where the page says, charts go into their rectangle.
#include "report/ui/PagePainter.h"

#include "../../support/QtTestApp.h"

#include <QFontMetrics>
#include <QPainter>

#include <qcustomplot.h>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

bool IsWhite(const QImage& image, int x, int y) { return image.pixel(x, y) == qRgb(255, 255, 255); }

int DarkPixels(const QImage& image, const QRect& area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128) ++n;
    return n;
}

}  // namespace

TEST(PagePainter, DrawsEachOperationAtItsPageCoordinates) {
    TestApp();
    PageDrawing page{200, 120, {}};
    page.Operations.push_back(PageRectangle{10, 10, 20, 20, RgbColor(255, 0, 0)});
    page.Operations.push_back(PageLine{0, 100, 199, 100, 2, 0});
    page.Operations.push_back(PageRectangle{100, 40, 200, 80, 0});
    page.Operations.push_back(PageText{110, 50, "acemn", 10, false, 0, true});
    QRect chartTarget;
    page.Operations.push_back(PageChart{30, 5, 80, 45, 7});
    int chartNumber = -1;
    const QImage image = RenderPageImage(page, [&](QPainter&, const QRect& target, int chart) {
        chartTarget = target;
        chartNumber = chart;
    });
    ASSERT_EQ(image.size(), QSize(200, 120));
    EXPECT_EQ(image.dotsPerMeterX(), 3780);  // 96 dpi: point sizes as on screen
    EXPECT_EQ(image.pixel(10, 10), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(19, 19), qRgb(255, 0, 0));
    EXPECT_TRUE(IsWhite(image, 20, 20));  // right and bottom edges are outside the fill
    EXPECT_TRUE(IsWhite(image, 9, 9));
    EXPECT_LT(qGray(image.pixel(150, 100)), 64);
    EXPECT_EQ(chartTarget, QRect(30, 5, 50, 40));
    EXPECT_EQ(chartNumber, 7);

    // Opaque text clears its cell to white over the black block, and its top-left corner is
    // the point given: glyph ink below y 50 and right of x 110 only.
    QFont font;
    font.setPointSize(10);
    const QFontMetrics metrics(font, const_cast<QImage*>(&image));
    const int baseline = 50 + metrics.ascent();
    EXPECT_TRUE(IsWhite(image, 111, baseline + 1));
    EXPECT_EQ(DarkPixels(image, QRect(100, 40, 10, 40)), 400);  // block left of the text untouched
    EXPECT_LT(DarkPixels(image, QRect(110, 50, 60, metrics.height())),
              60 * metrics.height() / 2);  // ink, not a black cell
    EXPECT_GT(DarkPixels(image, QRect(110, 50, 60, metrics.height())), 10);
}

TEST(PagePainter, AChartThatFailsStopsThePageThere) {
    TestApp();
    PageDrawing page{50, 50, {}};
    page.Operations.push_back(PageRectangle{0, 0, 10, 10, 0});
    page.Operations.push_back(PageChart{10, 10, 40, 40, 0});
    page.Operations.push_back(PageRectangle{40, 40, 50, 50, 0});
    bool complete = true;
    const QImage image = RenderPageImage(
        page, [](QPainter&, const QRect&, int) { throw std::runtime_error("chart failed"); }, &complete);
    EXPECT_FALSE(complete);
    EXPECT_EQ(image.pixel(5, 5), qRgb(0, 0, 0));
    EXPECT_TRUE(IsWhite(image, 45, 45));
}

TEST(PagePainter, PutsARealChartIntoItsRectangleOnly) {
    TestApp();
    QCustomPlot plot;
    plot.resize(400, 300);
    plot.addGraph()->setData({0, 10, 20}, {100, 50, 0});
    plot.graph(0)->setPen(QPen(Qt::red, 2));
    plot.rescaleAxes();
    plot.setBackground(Qt::white);
    PageDrawing page{300, 300, {}};
    page.Operations.push_back(PageChart{20, 30, 280, 200, 0});
    const QImage image = RenderPageImage(page, [&](QPainter& painter, const QRect& target, int) {
        PaintChartIntoRect(painter, plot, target, plot.size());
    });
    int red = 0, outside = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 300; ++x) {
            const QRgb p = image.pixel(x, y);
            const bool inside = QRect(20, 30, 260, 170).contains(x, y);
            if (inside && qRed(p) > 200 && qGreen(p) < 80) ++red;
            if (!inside && p != qRgb(255, 255, 255)) ++outside;
        }
    EXPECT_GT(red, 100);  // the curve
    EXPECT_EQ(outside, 0);
    EXPECT_GT(DarkPixels(image, QRect(20, 30, 260, 170)), 100);  // axes and tick labels
}
