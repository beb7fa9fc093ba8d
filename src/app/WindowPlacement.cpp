// Where a window opens: centred on the screen or on the window it belongs to.
#include "app/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

QPoint CentredIn(const QSize& size, const QRect& area) {
    const int x = area.left() + (area.width() - size.width()) / 2;
    const int y = area.top() + (area.height() - size.height()) / 2;
    return {std::max(x, area.left()), std::max(y, area.top())};
}

void CentreOnScreen(QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (screen) window->move(CentredIn(window->size(), screen->availableGeometry()));
}
