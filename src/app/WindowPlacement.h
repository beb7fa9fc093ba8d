// Where a window opens: centred on the screen or on the window it belongs to.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

/// The top-left corner that centres a window of `size` in `area`; a window larger than
/// `area` keeps its top-left corner inside it, so that its title bar stays within reach.
QPoint CentredIn(const QSize& size, const QRect& area);

/// Moves a top-level window to the centre of the available area of its screen. Done before
/// it is shown, so that it opens there also where no window manager places it.
void CentreOnScreen(QWidget* window);
