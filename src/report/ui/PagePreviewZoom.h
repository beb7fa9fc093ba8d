// The two sizes of a page preview in a scroll box: full size and reduced.
#pragma once

#include <QImage>
#include <QRect>

class QLabel;
class QScrollArea;

/// Where the page picture sits in its scroll box at full size and reduced.
inline QRect FullPageGeometry() { return QRect(0, 0, 840, 1188); }
inline QRect ReducedPageGeometry() { return QRect(187, 0, 481, 680); }

/// Places `image` in a holder widget inside `box`, at full size.
void SetUpPagePreview(QScrollArea* box, QLabel* image);
/// The picture's height tells its state: 1188 is full size.
bool PageIsFullSize(const QLabel* image);
/// Gives the picture `geometry` (one of the two above) and scrolls back to the top left.
/// Returns false, changing nothing, when it already has that size.
bool SetPageGeometry(QScrollArea* box, QLabel* image, const QRect& geometry);
/// Shows `page` on `image`, scaled to the picture's current size.
void ShowPagePicture(QLabel* image, const QImage& page);
