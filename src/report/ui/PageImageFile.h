// Saving a page picture as BMP or JPEG: the save dialog, the name, the atomic write.
#pragma once

#include "platform/AtomicWrite.h"
#include "report/PageImageName.h"

#include <QImage>

#include <functional>
#include <string>

class QFileDialog;
class QWidget;

/// The save dialog's filters of page pictures; filter 1 is the bitmap, 2 the JPEG.
inline const char* PageImageFilters() { return "Bitmap (*.bmp);;JPEG (*.jpg)"; }

/// Encodes `picture` as a Windows bitmap or as a JPEG of quality 100 and writes it to `path`
/// through the atomic write, so a failure leaves any old file whole.
platform::WriteResult WritePageImage(const QImage& picture, const std::string& path,
                                     PageImageFormat format);

/// The save command of a page window. Runs `dialog` (filters `PageImageFilters()`); when the
/// name it gives is changed by the chosen filter's extension and a file of the new name exists,
/// asks before replacing it and, on "No", runs the dialog again. Then `picture()` gives the
/// page to write (the window may zoom in first) and it is written; a failed write shows its
/// message (the file and the reason) on `parent`. Returns the path written, "" when nothing was.
std::string SavePageImage(QWidget* parent, QFileDialog* dialog, const std::function<QImage()>& picture);
