// The pictures of the comparison report's five layouts, shown on the style buttons.
#pragma once

#include <QPixmap>

/// A small page of layout `style` (1-5): the charts it prints as boxes, the table as lines.
QPixmap ReportStylePicture(int style, QSize size = QSize(55, 70));
