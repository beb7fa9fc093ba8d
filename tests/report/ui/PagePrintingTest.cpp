// Printing one page through the print dialog onto a PDF printer.
#include "report/ui/PagePrinting.h"

#include "../../platform/TempFolder.h"
#include "../../support/QtTestApp.h"

#include <QDialog>
#include <QFile>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace {

QByteArray ReadAll(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct PdfPrinter {
    explicit PdfPrinter(const std::string& path) : printer(QPrinter::HighResolution) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(path));
        printer.setPageSize(QPageSize(QPageSize::A4));
        // Made once the printer has its file: the dialog takes the file name when it is made.
        dialog = std::make_unique<QPrintDialog>(&printer);
    }
    QPrinter printer;
    std::unique_ptr<QPrintDialog> dialog;
};

}  // namespace

TEST(PagePrinting, AConfirmedDialogPrintsOnePageInTheAskedOrientation) {
    TestApp();
    TempFolder folder;
    for (const auto orientation : {QPageLayout::Landscape, QPageLayout::Portrait}) {
        const std::string path = folder.File(orientation == QPageLayout::Landscape ? "l.pdf" : "p.pdf");
        PdfPrinter pdf(path);
        QSizeF page;
        PrintOutcome outcome;
        ASSERT_TRUE(AnswerModal(
            [&] {
                outcome = PrintOnePage(pdf.dialog.get(), &pdf.printer, orientation, [&](QPainter& painter, QSizeF size) {
                    page = size;
                    painter.drawLine(0, 0, 100, 100);
                    return true;
                });
            },
            [](QWidget* modal) { qobject_cast<QDialog*>(modal)->accept(); }));
        EXPECT_EQ(outcome.status, PrintOutcome::Printed);
        // The page handed to the drawing is the printable area in the printer's units.
        EXPECT_EQ(page, QSizeF(pdf.printer.width(), pdf.printer.height()));
        EXPECT_EQ(page.width() > page.height(), orientation == QPageLayout::Landscape);
        const QByteArray pdfBytes = ReadAll(path);
        EXPECT_TRUE(pdfBytes.startsWith("%PDF"));
        EXPECT_EQ(pdfBytes.count("/Type /Page\n") + pdfBytes.count("/Type /Page\r"), 1);
    }
}

TEST(PagePrinting, ACancelledDialogDrawsNothingAndAFailureAbortsTheJob) {
    TestApp();
    TempFolder folder;
    {
        PdfPrinter pdf(folder.File("cancelled.pdf"));
        bool painted = false;
        PrintOutcome outcome;
        AnswerModal([&] {
            outcome = PrintOnePage(pdf.dialog.get(), &pdf.printer, QPageLayout::Portrait,
                                   [&](QPainter&, QSizeF) { return painted = true; });
        }, [](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
        EXPECT_EQ(outcome.status, PrintOutcome::Cancelled);
        EXPECT_FALSE(painted);
        EXPECT_FALSE(QFile::exists(QString::fromStdString(folder.File("cancelled.pdf"))));
    }
    {
        PdfPrinter pdf(folder.File("failed.pdf"));
        PrintOutcome outcome;
        AnswerModal([&] {
            outcome = PrintOnePage(pdf.dialog.get(), &pdf.printer, QPageLayout::Portrait,
                                   [&](QPainter&, QSizeF) -> bool { throw std::runtime_error("out of paper"); });
        }, [](QWidget* modal) { qobject_cast<QDialog*>(modal)->accept(); });
        EXPECT_EQ(outcome.status, PrintOutcome::Failed);
        EXPECT_EQ(outcome.message, "out of paper");
    }
}
