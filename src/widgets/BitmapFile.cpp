// BMP encoding into memory, then the atomic write.
#include "widgets/BitmapFile.h"

#include <QBuffer>

platform::WriteResult WriteBitmap(const QImage& image, const QString& path) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "BMP")) return {false, "Cannot encode the picture " + path.toStdString()};
    return platform::AtomicWriteFile(path.toStdString(), std::string_view(bytes.constData(), bytes.size()));
}
