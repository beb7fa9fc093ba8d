// Page operations on a QPainter; charts through QCustomPlot's own drawing.
#include "report/ui/PagePainter.h"
#include "dialogs/QtColor.h"

#include "platform/FaultPoint.h"
#include "widgets/TextBytes.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <qcustomplot.h>

#include <algorithm>
#include <cmath>
#include <exception>

namespace {


template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};

QImage PreviewPicture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    const int dotsPerMeter = static_cast<int>(std::lround(PagePreviewDpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

// The application's face at the text's point size, taken at the drawing device's resolution.
QFont PageTextFont(const PageText& text) {
    QFont font;
    font.setPointSize(std::max(1, text.PointSize));
    font.setBold(text.Bold);
    return font;
}

// The text as the device shows it: cut to its room, as the device's font measures it.
QString ShownText(const PageText& text, const QFontMetrics& metrics) {
    const QString whole = FromBytes(text.Text);
    if (text.MaxWidth <= 0) return whole;
    // Glyphs may reach past their advance (an ellipsis in bold does): the room is narrowed by
    // what the ink of the cut text overhangs, until the ink keeps within it too.
    int room = text.MaxWidth;
    QString shown = metrics.elidedText(whole, Qt::ElideRight, room);
    for (int over; room > 0 && (over = metrics.boundingRect(shown).right() + 1 - text.MaxWidth) > 0;) {
        room -= over;
        shown = metrics.elidedText(whole, Qt::ElideRight, room);
    }
    return shown;
}

void PaintText(QPainter& painter, const PageText& text) {
    const QFont font = PageTextFont(text);
    painter.setFont(font);
    painter.setPen(ToQColor(text.Color));
    painter.setBackgroundMode(text.Opaque ? Qt::OpaqueMode : Qt::TransparentMode);
    painter.setBackground(Qt::white);
    const QFontMetrics metrics(font, painter.device());
    painter.drawText(QPoint(text.X, text.Y + metrics.ascent()), ShownText(text, metrics));
}

void PaintLine(QPainter& painter, const PageLine& line) {
    painter.setPen(QPen(ToQColor(line.Color), std::max(1, line.Width), Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(line.X1, line.Y1, line.X2, line.Y2);
}

void PaintRectangle(QPainter& painter, const PageRectangle& r) {
    if (r.Right <= r.Left || r.Bottom <= r.Top) return;
    painter.fillRect(QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top), ToQColor(r.Color));
}

}  // namespace

QRect PageTextRect(const PageText& text, const QPaintDevice* device) {
    const QFontMetrics metrics(PageTextFont(text), device);
    const QString s = ShownText(text, metrics);
    const QRect line(text.X, text.Y, metrics.horizontalAdvance(s), metrics.height());
    // Glyphs may reach beyond the font's line: a descender below its descent, an overhang
    // past the advance.
    return line | metrics.boundingRect(s).translated(text.X, text.Y + metrics.ascent());
}

PageTextMeasure PageTextMeasureOn(const QPaintDevice* device) {
    return [device](const PageText& text) {
        const QRect r = PageTextRect(text, device);
        return PageBox{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    };
}

PageTextMeasure PreviewTextMeasure() {
    static const QImage picture = PreviewPicture(1, 1);
    return PageTextMeasureOn(&picture);
}

bool PaintPageOperations(QPainter& painter, const std::vector<PageOperation>& operations,
                         const PageChartPainter& chart) {
    try {
        for (const PageOperation& operation : operations) {
            std::visit(Overloaded{
                           [&](const PageText& t) { PaintText(painter, t); },
                           [&](const PageLine& l) { PaintLine(painter, l); },
                           [&](const PageRectangle& r) { PaintRectangle(painter, r); },
                           [&](const PageChart& c) {
                               if (!chart) return;
                               // The chart may leave the painter in any state, also by throwing.
                               struct Restore {
                                   QPainter& p;
                                   ~Restore() { p.restore(); }
                               } restore{(painter.save(), painter)};
                               chart(painter, QRect(QPoint(c.Left, c.Top), QPoint(c.Right - 1, c.Bottom - 1)),
                                     c.Chart);
                               // Where a printed page is half on its way to its file.
                               platform::FaultPoint("page: chart drawn");
                           },
                       },
                       operation);
        }
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

QImage RenderPageImage(const PageDrawing& page, const PageChartPainter& chart, bool* complete) {
    QImage image = PreviewPicture(static_cast<int>(page.Width), static_cast<int>(page.Height));
    image.fill(Qt::white);
    QPainter painter(&image);
    const bool done = PaintPageOperations(painter, page.Operations, chart);
    if (complete) *complete = done;
    return image;
}

void PaintChartIntoRect(QPainter& painter, QCustomPlot& plot, const QRect& target, QSize logicalSize) {
    if (target.isEmpty() || logicalSize.isEmpty()) return;
    const double scale = std::min(double(target.width()) / logicalSize.width(),
                                  double(target.height()) / logicalSize.height());
    const int width = std::max(1, static_cast<int>(std::lround(target.width() / scale)));
    const int height = std::max(1, static_cast<int>(std::lround(target.height() / scale)));
    constexpr double finest = 3.0;
    const QPixmap picture = plot.toPixmap(width, height, std::min(scale, finest));
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawPixmap(target, picture);
}

QImage ScaledPagePicture(const QImage& picture, QSize size) {
    if (picture.size() == size) return picture;
    return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}
