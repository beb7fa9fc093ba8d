// Draws the program's picture, so that it needs no image plug-in and stays sharp at any size.
#include "app/ProgramPicture.h"

#include <QPainter>
#include <QPainterPath>

QPixmap ProgramPicture(int size) {
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 177.0, size / 177.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x12, 0x35, 0x5b));
    p.drawRoundedRect(QRectF(0, 0, 177, 177), 18, 18);

    // Three cumulative curves: flat at 100 %, then falling off at different doses.
    const struct { QColor color; double knee; } curves[] = {
        {QColor(0xf2, 0xb1, 0x34), 95}, {QColor(0x4f, 0xb0, 0xc6), 70}, {QColor(0xed, 0x55, 0x3b), 45}};
    for (const auto& c : curves) {
        QPainterPath path(QPointF(22, 35));
        path.lineTo(c.knee, 35);
        path.cubicTo(c.knee + 25, 35, c.knee + 20, 150, 165, 152);
        p.setPen(QPen(c.color, 7, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
    p.setPen(QPen(Qt::white, 5));
    p.drawLine(QPointF(20, 20), QPointF(20, 160));
    p.drawLine(QPointF(20, 160), QPointF(165, 160));
    return picture;
}
