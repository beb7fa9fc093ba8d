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

/// Draws a page on a painter of the printer, given the printable area in device units; false
/// when the page could not be drawn whole.
using PagePrint = std::function<bool(QPainter& painter, QSizeF page)>;

/// Sets `printer` to `orientation` (a printer that refuses is left as it is), runs `dialog`
/// and, when the user confirms, prints one page with `paint`. A cancelled dialog calls nothing.
/// A page that was not drawn whole (false or an exception out of `paint`), or a printer that
/// cannot start, aborts the job and gives `Failed`.
/// A print to a file replaces an existing file only when the user agreed (asked here, "No"
/// runs the dialog again, unless the dialog's own Print button asked already), and only once
/// the page is whole: it is written beside the file first, so a failure or a kill leaves the
/// earlier file as it was.
PrintOutcome PrintOnePage(QPrintDialog* dialog, QPrinter* printer, QPageLayout::Orientation orientation,
                          const PagePrint& paint);
