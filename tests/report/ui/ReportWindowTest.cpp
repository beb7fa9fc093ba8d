// The report commands, the preview window, its pictures, printing and the row choice, driven
// as a user drives them.
#include "ReportWindowFixture.h"
#include "../JpegDecode.h"

#include "report/ui/PageImageFile.h"
#include "report/ui/TFormComment.h"
#include "report/ui/TFormRepoList.h"
#include "report/ui/TFormReport.h"
#include "platform/FaultPoint.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>

#include <qcustomplot.h>

#include <fstream>
#include <sys/stat.h>
#include <stdexcept>

namespace {

/// Chooses `name` in `folder` with filter `filter` of a save dialog and presses Save.
std::function<void(QWidget*)> SaveAnswer(const QString& folder, const QString& name, const QString& filter) {
    return [=](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        dialog->setDirectory(folder);
        dialog->selectNameFilter(filter);
        // The dialog's list may still select a file it has just found in the folder; the name
        // typed is what the user means.
        for (auto* view : dialog->findChildren<QAbstractItemView*>())
            if (view->selectionModel()) view->selectionModel()->clearSelection();
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(name);
        static_cast<QDialog*>(dialog)->accept();
    };
}

QColor PixelOf(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

}  // namespace

TEST_F(ReportWindowTest, PreviewReportChoosesRowsFromTheListAndShowsTheFullPage) {
    FormReport->show();
    FormReport->BitBtn2Click();
    ASSERT_EQ(FormReport->Image1->size(), QSize(481, 680));
    ASSERT_TRUE(Form1->BitBtn13->isEnabled());
    const QRect plotArea = Form1->Chart1->axisRect()->rect();
    const double x10 = Form1->Chart1->xAxis->coordToPixel(10);
    Form1->BitBtn13->click();
    EXPECT_TRUE(FormReport->isVisible());
    // The chart is laid out for the screen again before its repaint comes round, so a zoom
    // straight after the preview maps the screen's pixels.
    EXPECT_EQ(Form1->Chart1->axisRect()->rect(), plotArea);
    EXPECT_EQ(Form1->Chart1->xAxis->coordToPixel(10), x10);
    EXPECT_EQ(FormReport->Image1->geometry(), QRect(0, 0, 840, 1188));
    EXPECT_EQ(FormReport->Image1->pixmap().size(), QSize(840, 1188));
    EXPECT_EQ(Form1->ReportPrintIndex, (std::vector<bool>{true, false, true}));
    EXPECT_EQ(Form1->ReportPrintStructure, (std::vector<bool>{true, true, true}));
    QListWidget* rows = FormRepoList->CheckListBox1;
    ASSERT_EQ(rows->count(), 3);
    EXPECT_TRUE(rows->item(0)->text().startsWith("PTV [1] / "));
    EXPECT_EQ(rows->item(2)->text(), "     NULL");
    EXPECT_EQ(rows->item(1)->checkState(), Qt::Unchecked);
    EXPECT_EQ(FormRepoList->CheckListBox2->item(1)->text(), "Rectum");  // `Name`, not the alias
    EXPECT_EQ(FirstSquare(), QColor(200, 0, 0));
    // The chart is on the page: something other than white in its rectangle.
    EXPECT_NE(FormReport->Page().copy(16, 11, 824, 523).convertToFormat(QImage::Format_Mono).bits()[0], 0xff);

    // The row choice leaves the first structure off; "Cancel" changes nothing.
    FormReport->BitBtn6Click();
    EXPECT_FALSE(FormReport->isEnabled());
    FormRepoList->CheckListBox2->item(0)->setCheckState(Qt::Unchecked);
    FormRepoList->Button2->click();
    EXPECT_TRUE(Form1->ReportPrintStructure[0]);
    EXPECT_TRUE(FormReport->isEnabled());
    FormReport->BitBtn6->click();
    EXPECT_EQ(FormRepoList->CheckListBox2->item(0)->checkState(), Qt::Checked);
    FormRepoList->CheckListBox2->item(0)->setCheckState(Qt::Unchecked);
    FormRepoList->Button1->click();
    EXPECT_FALSE(Form1->ReportPrintStructure[0]);
    EXPECT_EQ(FirstSquare(), QColor(0, 160, 0));
    // A new preview includes every structure again.
    Form1->Report2->trigger();
    EXPECT_EQ(FirstSquare(), QColor(200, 0, 0));

    // Zooming redraws only when the size changes; the reduced picture is the page scaled.
    FormReport->BitBtn2->click();
    EXPECT_EQ(FormReport->Image1->geometry(), QRect(187, 0, 481, 680));
    EXPECT_EQ(FormReport->Image1->pixmap().size(), QSize(481, 680));
    EXPECT_EQ(FormReport->Page().size(), QSize(840, 1188));
}

TEST_F(ReportWindowTest, TheRowChoiceStaysWithinItsBitsWhenThePlanChanges) {
    Form1->Report2Click();
    PDatasetClass bigger = Form1->PDataset[m_plan];
    bigger.DVHDataset.push_back(LinearStructure("Bladder", 30, 90));
    bigger.DVHDataset.push_back(LinearStructure("Femur", 30, 90));
    Form1->PDataset.push_back(bigger);
    Form1->ShowPlan(1);
    Form1->DrawDvhChart(1);
    FormReport->BitBtn6Click();
    for (int j = 0; j < FormRepoList->CheckListBox2->count(); ++j)
        FormRepoList->CheckListBox2->item(j)->setCheckState(Qt::Unchecked);
    FormRepoList->Button1Click();
    // The bits belong to the plan the command prepared: never more of them, none read past.
    EXPECT_EQ(Form1->ReportPrintStructure, (std::vector<bool>{false, false, false}));
    Form1->CurrentPlanIndex = -1;  // the plan closed while the window stayed open
    FormReport->BitBtn2Click();
    EXPECT_EQ(PixelOf(FormReport->Page(), 420, 1110), QColor(Qt::white));  // a blank page
    EXPECT_EQ(Form1->findChild<QMessageBox*>("ReportMessageBox"), nullptr);
}

TEST_F(ReportWindowTest, PagePicturesAreFullSizeBmpAndJpegFromEitherZoom) {
    Form1->Report2Click();
    FormReport->BitBtn2Click();
    const QString folder = Home();
    EXPECT_EQ(1, AnswerModals([] { FormReport->BitBtn3->click(); },
                              {SaveAnswer(folder, "page", "Bitmap (*.bmp)")}));
    EXPECT_EQ(FormReport->Image1->size(), QSize(840, 1188));  // saved from the full page
    const QImage bitmap(folder + "/page.bmp", "BMP");
    EXPECT_EQ(bitmap.size(), QSize(840, 1188));
    EXPECT_EQ(bitmap.pixelColor(48, 648), QColor(200, 0, 0));

    // The JPEG filter gives ".jpg" to a name typed with ".bmp"; libjpeg reads it back whole.
    EXPECT_EQ(1, AnswerModals([] { FormReport->BitBtn3Click(); },
                              {SaveAnswer(folder, "other.bmp", "JPEG (*.jpg)")}));
    EXPECT_FALSE(QFile::exists(folder + "/other.bmp"));
    std::ifstream in((folder + "/other.jpg").toStdString(), std::ios::binary);
    const DecodedJpeg jpeg = DecodeJpeg(std::string(std::istreambuf_iterator<char>(in), {}));
    EXPECT_EQ(jpeg.Width, 840);
    EXPECT_EQ(jpeg.Height, 1188);
    EXPECT_GT(jpeg.Pixel(48, 648)[0], 170);
    EXPECT_LT(jpeg.Pixel(48, 648)[1], 40);

    // Again "other.bmp" as JPEG: "other.jpg" now exists and was never confirmed, so the user is
    // asked; "No" brings the dialog back, where Cancel ends it with the file untouched.
    const auto before = QFileInfo(folder + "/other.jpg").lastModified();
    bool asked = false;
    EXPECT_EQ(3, AnswerModals([] { FormReport->BitBtn3Click(); },
                              {SaveAnswer(folder, "other.bmp", "JPEG (*.jpg)"),
                               [&](QWidget* w) {
                                   auto* box = qobject_cast<QMessageBox*>(w);
                                   ASSERT_NE(box, nullptr);
                                   asked = box->text().contains("other.jpg");
                                   box->button(QMessageBox::No)->click();
                               },
                               [](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); }}));
    EXPECT_TRUE(asked);
    EXPECT_EQ(QFileInfo(folder + "/other.jpg").lastModified(), before);

    // A picture that cannot be written leaves nothing behind and says so.
    EXPECT_FALSE(WritePageImage(FormReport->Page(), (folder + "/no/such/page.bmp").toStdString(),
                                PageImageFormat::Bitmap));

    // A folder or a pipe of the name the filter gives is no file to replace: nobody is asked, and
    // the save is refused with the reason, as the main window's saves are.
    ASSERT_TRUE(QDir(folder).mkdir("taken.bmp"));
    ASSERT_EQ(mkfifo(QFile::encodeName(folder + "/pipe.jpg").constData(), 0600), 0);
    const struct {
        QString typed, filter, reason;
    } refused[] = {{"taken", "Bitmap (*.bmp)", "is a folder, not a file"},
                   {"pipe.bmp", "JPEG (*.jpg)", "is no regular file"}};
    for (const auto& target : refused) {
        EXPECT_EQ(1, AnswerModals([] { FormReport->BitBtn3Click(); },
                                  {SaveAnswer(folder, target.typed, target.filter), AnswerYes}))
            << target.typed.toStdString();
        auto* failure = FormReport->findChild<QMessageBox*>("PageImageWriteFailure");
        ASSERT_NE(failure, nullptr);
        EXPECT_TRUE(failure->text().contains(target.reason)) << failure->text().toStdString();
        delete failure;
    }
    EXPECT_TRUE(QFileInfo(folder + "/taken.bmp").isDir());
}

TEST_F(ReportWindowTest, PrintingGoesToAPdfInPortraitAndTheScreenInLandscape) {
    QTemporaryDir out;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(out.filePath("report.pdf"));
    Form1->Printer = &printer;
    Form1->PrintDialog1 = new QPrintDialog(&printer, Form1);
    Form1->SetChart1Color(QColor(255, 255, 200));
    const QSize chartSize = Form1->Chart1->size();
    const QFont tickFont = Form1->Chart1->xAxis->tickLabelFont();

    // A cancelled dialog: nothing printed, masks and chart as they were.
    Form1->Report2Click();
    Form1->ReportPrintStructure[1] = false;
    AnswerModal([] { FormReport->BitBtn4->click(); }, [](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
    EXPECT_FALSE(QFile::exists(out.filePath("report.pdf")));
    EXPECT_EQ(Form1->ReportPrintStructure, (std::vector<bool>{true, false, true}));

    const auto mediaBox = [](const QString& path) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        const auto match = QRegularExpression(R"(/MediaBox \[0 0 ([\d.]+) ([\d.]+)\])").match(file.readAll());
        return match.hasMatch() ? QSizeF(match.captured(1).toDouble(), match.captured(2).toDouble()) : QSizeF();
    };
    const auto accept = [](QWidget* w) { qobject_cast<QDialog*>(w)->accept(); };
    EXPECT_TRUE(AnswerModal([] { Form1->Report1->trigger(); }, accept));
    const QSizeF portrait = mediaBox(out.filePath("report.pdf"));
    EXPECT_GT(portrait.height(), portrait.width());
    EXPECT_EQ(Form1->Chart1->size(), chartSize);
    EXPECT_EQ(Form1->Chart1Color(), QColor(255, 255, 200));
    EXPECT_EQ(Form1->Chart1->toPixmap(50, 50).toImage().pixelColor(1, 1), QColor(255, 255, 200));
    EXPECT_EQ(Form1->Chart1->xAxis->tickLabelFont(), tickFont);
    EXPECT_TRUE(Form1->Chart1->isVisible());

    printer.setOutputFileName(out.filePath("screen.pdf"));
    delete Form1->PrintDialog1;
    Form1->PrintDialog1 = new QPrintDialog(&printer, Form1);
    EXPECT_TRUE(AnswerModal([] { Form1->PrintScreen1->trigger(); }, accept));
    const QSizeF landscape = mediaBox(out.filePath("screen.pdf"));
    EXPECT_GT(landscape.width(), landscape.height());
    Form1->Printer = nullptr;
}

namespace {

QString g_printedFile;
QByteArray g_leftAtChart;

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

TEST_F(ReportWindowTest, PrintingOverAFileAsksFirstAndAPageThatFailsLeavesTheOldFile) {
    QTemporaryDir out;
    g_printedFile = out.filePath("report.pdf");
    {
        QFile old(g_printedFile);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old report");
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(g_printedFile);
    Form1->Printer = &printer;
    Form1->PrintDialog1 = new QPrintDialog(&printer, Form1);
    const auto confirm = [](QWidget* w) { qobject_cast<QDialog*>(w)->accept(); };
    const auto reply = [](QMessageBox::StandardButton button) {
        return [button](QWidget* w) { qobject_cast<QMessageBox*>(w)->button(button)->click(); };
    };

    // "No" to replacing brings the dialog back; then the page fails while it is drawn. What a
    // kill there would leave, and what the failure leaves, is the old file.
    platform::SetFaultHook([](std::string_view point) {
        if (point != "page: chart drawn") return;
        g_leftAtChart = FileBytes(g_printedFile);
        throw std::runtime_error("The chart could not be drawn.");
    });
    EXPECT_EQ(4, AnswerModals([] { Form1->Report1->trigger(); },
                              {confirm, reply(QMessageBox::No), confirm, reply(QMessageBox::Yes)}));
    platform::SetFaultHook(nullptr);
    EXPECT_EQ(g_leftAtChart, "old report");
    EXPECT_EQ(FileBytes(g_printedFile), "old report");
    auto* failure = Form1->findChild<QMessageBox*>("WriteFailureBox");
    ASSERT_NE(failure, nullptr);
    EXPECT_EQ(failure->text(), "The page could not be drawn.");

    // The dialog's own Print button asks about the file itself, and only once.
    const auto print = [](QWidget* w) {
        // Queued: the button's question must not open inside this answer.
        QMetaObject::invokeMethod(w->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), "click",
                                  Qt::QueuedConnection);
    };
    EXPECT_EQ(2, AnswerModals([] { Form1->Report1->trigger(); },
                              {print, reply(QMessageBox::Yes), reply(QMessageBox::Yes)}));
    EXPECT_TRUE(FileBytes(g_printedFile).startsWith("%PDF"));
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files), QStringList{"report.pdf"});  // no temporary left
    Form1->Printer = nullptr;
}
