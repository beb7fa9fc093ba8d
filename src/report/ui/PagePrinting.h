// Printing one page: the print dialog, the printer's page size, the job and its failure.
#pragma once

#include <QPageLayout>
#include <QSizeF>

#include <functional>
#include <string>

class QPainter;
class QPrintDialog;
class QPrinter;

/// How a print command ended.
struct PrintOutcome {
    enum Status { Printed, Cancelled, Failed };
    Status status = Cancelled;
    std::string message;  ///< why it failed
};

/// Sets `printer` to `orientation` (a printer that refuses is left as it is), runs `dialog`
/// and, when the user confirms, prints one page: `paint` draws it on a painter of the printer
/// given the printable area in device units. A cancelled dialog calls nothing. An exception
/// out of `paint`, or a printer that cannot start, aborts the job and gives `Failed`.
PrintOutcome PrintOnePage(QPrintDialog* dialog, QPrinter* printer, QPageLayout::Orientation orientation,
                          const std::function<void(QPainter& painter, QSizeF page)>& paint);
