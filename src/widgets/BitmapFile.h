// Writing a picture as a Windows bitmap through the one atomic file write.
#pragma once

#include "platform/AtomicWrite.h"

#include <QImage>
#include <QString>

/// Encodes `image` as BMP and writes it to `path`; a failure leaves any old file whole.
platform::WriteResult WriteBitmap(const QImage& image, const QString& path);
