// Chart legends whose entries stand apart, each label level with its line sample.
#include "widgets/ChartLegend.h"

#include <QFontMetrics>

#include <qcustomplot.h>

void SetLegendFont(QCPLegend* legend, const QFont& font) {
    legend->setFont(font);
    // One pixel more than a line of the font: the label's baseline falls a fraction below the
    // font's rounded ascent, which puts the underscore of a name like "Femur_L" on the next
    // pixel row, and an entry clips its drawing to its own height.
    legend->setIconSize(legend->iconSize().width(), QFontMetrics(font).height() + 1);
    legend->setRowSpacing(0);
}
