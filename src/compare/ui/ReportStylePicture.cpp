// Drawing the comparison report's layout pictures from the layouts themselves.
#include "compare/ui/ReportStylePicture.h"

#include "compare/ComparisonCurves.h"

#include <QPainter>

QPixmap ReportStylePicture(int style, QSize size) {
    QPixmap picture(size);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    const double w = size.width() - 1, h = size.height() - 1;
    painter.setPen(Qt::darkGray);
    painter.drawRect(QRectF(0, 0, w, h));
    // Chart boxes where the layout puts them (fractions of the page).
    struct Box { double l, t, r, b; };
    const Box quarter[4] = {{0.06, 0.03, 0.48, 0.27}, {0.54, 0.03, 0.94, 0.27},
                            {0.06, 0.30, 0.48, 0.57}, {0.54, 0.30, 0.94, 0.57}};
    const Box wide[2] = {{0.06, 0.03, 0.94, 0.35}, {0.06, 0.38, 0.94, 0.73}};
    double tableTop = 0.06;
    painter.setBrush(QColor(180, 200, 230));
    for (int c = 0; c < 4; ++c) {
        if (!ReportStyleUsesChart(style, c)) continue;
        const Box& box = (style == 2 || style == 4) ? wide[c] : quarter[c];
        painter.drawRect(QRectF(box.l * w, box.t * h, (box.r - box.l) * w, (box.b - box.t) * h));
        tableTop = std::max(tableTop, box.b + 0.04);
    }
    painter.setPen(QColor(90, 90, 90));
    for (double y = tableTop; y < 0.9; y += 0.05) painter.drawLine(QPointF(0.1 * w, y * h), QPointF(0.9 * w, y * h));
    return picture;
}
