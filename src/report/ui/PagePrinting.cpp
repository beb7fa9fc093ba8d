// Printing one page: the print dialog, the printer's page size, the job and its failure.
#include "report/ui/PagePrinting.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include <exception>

PrintOutcome PrintOnePage(QPrintDialog* dialog, QPrinter* printer, QPageLayout::Orientation orientation,
                          const std::function<void(QPainter& painter, QSizeF page)>& paint) {
    printer->setPageOrientation(orientation);
    if (dialog->exec() != QDialog::Accepted) return {PrintOutcome::Cancelled, {}};
    // The dialog may have brought another printer's own orientation along.
    printer->setPageOrientation(orientation);
    QPainter painter;
    if (!painter.begin(printer)) return {PrintOutcome::Failed, "The printer could not start printing."};
    try {
        paint(painter, QSizeF(printer->width(), printer->height()));
    } catch (const std::exception& error) {
        printer->abort();
        painter.end();
        return {PrintOutcome::Failed, error.what()};
    }
    if (!painter.end()) return {PrintOutcome::Failed, "The printer could not finish the page."};
    return {PrintOutcome::Printed, {}};
}
