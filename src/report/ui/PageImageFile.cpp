// Saving a page picture as BMP or JPEG: the save dialog, the name, the atomic write.
#include "report/ui/PageImageFile.h"

#include "widgets/TextBytes.h"
#include "report/JpegWriter.h"
#include "widgets/ReplaceQuestion.h"

#include <QBuffer>
#include <QFileDialog>
#include <QMessageBox>

platform::WriteResult WritePageImage(const QImage& picture, const std::string& path,
                                     PageImageFormat format) {
    if (format == PageImageFormat::Bitmap) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!picture.save(&buffer, "BMP")) return {false, "Cannot encode the picture " + path};
        return platform::AtomicWriteFile(path, std::string_view(bytes.constData(), bytes.size()));
    }
    if (format == PageImageFormat::Jpeg) {
        const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
        const JpegResult jpeg = EncodeJpeg(rgb.constBits(), rgb.width(), rgb.height(),
                                           static_cast<std::size_t>(rgb.bytesPerLine()), 100);
        if (!jpeg.ok) return {false, "Cannot encode the picture " + path + ": " + jpeg.message};
        return platform::AtomicWriteFile(path, jpeg.bytes);
    }
    return {false, "No picture format chosen for " + path};
}

namespace {

int FilterIndexOf(const QFileDialog* dialog) {
    const QStringList filters = dialog->nameFilters();
    return static_cast<int>(filters.indexOf(dialog->selectedNameFilter())) + 1;
}

}  // namespace

std::string SavePageImage(QWidget* parent, QFileDialog* dialog, const std::function<QImage()>& picture) {
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    if (dialog->nameFilters().size() != 2) dialog->setNameFilter(PageImageFilters());
    for (;;) {
        if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return {};
        const std::string chosen = PathBytes(dialog->selectedFiles().first());
        const PageImageFormat format = PageImageFormatOfFilter(FilterIndexOf(dialog));
        const std::string path = PageImagePath(chosen, format);
        if (path.empty()) return {};
        // The dialog asked about the name the user typed; a name the filter changed is asked
        // about here, before a file the user never confirmed is replaced.
        if (path != chosen && !MayReplace(parent, dialog->windowTitle(), PathText(path))) continue;
        const platform::WriteResult written = WritePageImage(picture(), path, format);
        if (written) return path;
        auto* box =
            new QMessageBox(QMessageBox::Critical, "Error", FromBytes(written.message), QMessageBox::Ok, parent);
        box->setObjectName("PageImageWriteFailure");
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->show();
        return {};
    }
}
