// Printing one page: the print dialog, the printer's page size, the job and its failure.
#include "report/ui/PagePrinting.h"

#include "platform/AtomicWrite.h"
#include "widgets/ReplaceQuestion.h"
#include "widgets/TextBytes.h"

#include <QDialogButtonBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include <exception>
#include <optional>

namespace {

/// Runs `dialog` until the user cancels it or confirms a printer, and a file to print to that
/// exists may be replaced. False when cancelled.
bool RunPrintDialog(QPrintDialog* dialog, QPrinter* printer) {
    for (;;) {
        // The dialog's own Print button asks about an existing file before it closes the
        // dialog; only a confirmation that did not come through it is asked about here.
        bool dialogAsked = false;
        QMetaObject::Connection asked;
        const auto buttons = dialog->findChildren<QDialogButtonBox*>(Qt::FindDirectChildrenOnly);
        if (!buttons.isEmpty())
            asked = QObject::connect(buttons.first(), &QDialogButtonBox::accepted, [&] { dialogAsked = true; });
        const int answer = dialog->exec();
        QObject::disconnect(asked);
        if (answer != QDialog::Accepted) return false;
        const QString file = printer->outputFileName();
        if (file.isEmpty() || dialogAsked || MayReplace(dialog->parentWidget(), dialog->windowTitle(), file))
            return true;
    }
}

/// Points the printer at a temporary beside its file for one job, and back at its file after.
class PrintToTemporary {
public:
    explicit PrintToTemporary(QPrinter* printer) : m_printer(printer), m_file(printer->outputFileName()) {
        if (m_file.isEmpty()) return;
        m_replacement.emplace(PathBytes(m_file));
        if (!m_replacement->Path().empty()) m_printer->setOutputFileName(PathText(m_replacement->Path()));
    }
    ~PrintToTemporary() { m_printer->setOutputFileName(m_file); }
    PrintToTemporary(const PrintToTemporary&) = delete;
    PrintToTemporary& operator=(const PrintToTemporary&) = delete;

    /// Why no temporary could be made ("" when printing can go on).
    std::string Problem() const { return m_replacement ? m_replacement->Error() : std::string(); }
    /// The finished page takes the file's name.
    platform::WriteResult Commit() { return m_replacement ? m_replacement->Commit() : platform::WriteResult{}; }

private:
    QPrinter* m_printer;
    QString m_file;
    std::optional<platform::FileReplacement> m_replacement;
};

}  // namespace

PrintOutcome PrintOnePage(QPrintDialog* dialog, QPrinter* printer, QPageLayout::Orientation orientation,
                          const PagePrint& paint) {
    printer->setPageOrientation(orientation);
    if (!RunPrintDialog(dialog, printer)) return {PrintOutcome::Cancelled, {}};
    // The dialog may have brought another printer's own orientation along.
    printer->setPageOrientation(orientation);
    PrintToTemporary file(printer);
    if (!file.Problem().empty()) return {PrintOutcome::Failed, file.Problem()};
    QPainter painter;
    if (!painter.begin(printer)) return {PrintOutcome::Failed, "The printer could not start printing."};
    std::optional<std::string> failure;
    try {
        if (!paint(painter, QSizeF(printer->width(), printer->height())))
            failure = "The page could not be drawn.";
    } catch (const std::exception& error) {
        failure = error.what();
    }
    if (failure) {
        printer->abort();
        painter.end();
        return {PrintOutcome::Failed, *failure};
    }
    if (!painter.end()) return {PrintOutcome::Failed, "The printer could not finish the page."};
    if (const platform::WriteResult written = file.Commit(); !written)
        return {PrintOutcome::Failed, written.message};
    return {PrintOutcome::Printed, {}};
}
