// The face the windows are designed in, Tahoma, or the nearest face in widths where it is missing.
#include "app/DesignedFont.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>

namespace {

// Wine's font package ships a metric-compatible Tahoma in its own folder, where fontconfig
// does not look. Its bold face has the bold widths but thin strokes, so bold text is
// emboldened from the regular face instead.
const char* const kPackagedTahoma = "/usr/share/wine/fonts/tahoma.ttf";

// Faces about as wide as Tahoma at the same size (Liberation Sans narrower, DejaVu Sans
// Condensed a few per cent wider), so that texts laid out for it still fit.
const char* const kFittingFaces[] = {"Liberation Sans", "DejaVu Sans Condensed"};

QString ChooseFamily() {
    if (QFontDatabase::families().contains("Tahoma", Qt::CaseInsensitive)) return "Tahoma";
    if (QFile::exists(kPackagedTahoma)) {
        const int id = QFontDatabase::addApplicationFont(kPackagedTahoma);
        if (id >= 0 && QFontDatabase::applicationFontFamilies(id).contains("Tahoma")) return "Tahoma";
    }
    const QStringList installed = QFontDatabase::families();
    for (const char* face : kFittingFaces)
        if (installed.contains(face, Qt::CaseInsensitive)) return face;
    return QFont().defaultFamily();
}

}  // namespace

QString DesignedFontFamily() {
    static const QString family = ChooseFamily();
    return family;
}

QFont DesignedFont(int pixelSize, bool bold) {
    QFont font(DesignedFontFamily());
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

void UseDesignedFont() { QApplication::setFont(DesignedFont(12)); }
