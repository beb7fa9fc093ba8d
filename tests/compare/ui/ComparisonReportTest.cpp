// The comparison report window: PreView, zoom, styles in step, the row list, pictures and print.
#include "ComparisonFixture.h"

#include "compare/ui/TFormCompRList.h"
#include "compare/ui/TFormCompReport.h"

#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

TEST_F(ComparisonWindow, PreviewOpensReducedAndStylesStayInStep) {
    m_form->BitBtn2->click();
    EXPECT_FALSE(m_form->FormCompReport->isVisible());  // no plan: nothing happens
    m_form->Button4->click();
    m_form->BitBtn2->click();
    TFormCompReport* report = m_form->FormCompReport;
    ASSERT_TRUE(report->isVisible());
    EXPECT_EQ(report->Image1->geometry(), QRect(187, 0, 481, 680));
    EXPECT_EQ(m_form->PagePicture.size(), QSize(840, 1188));
    QListWidget* rows = m_form->FormCompRList->CheckListBox1;
    ASSERT_EQ(rows->count(), 2);
    EXPECT_EQ(rows->item(1)->text(), "PTV / Mean dose [Gy]");

    // Rows unchecked by hand come back with a style change, and both windows show the style.
    rows->item(0)->setCheckState(Qt::Unchecked);
    report->StyleImage[0]->click();
    EXPECT_EQ(m_form->ReportStyle, 2);
    EXPECT_TRUE(m_form->Image[1]->isVisibleTo(m_form.get()));
    EXPECT_FALSE(m_form->Image[0]->isVisibleTo(m_form.get()));
    EXPECT_EQ(rows->item(0)->checkState(), Qt::Checked);
    for (int i = 0; i < 4; ++i) m_form->Image[static_cast<std::size_t>((2 + i) % 5)]->click();
    EXPECT_EQ(m_form->ReportStyle, 1);
    EXPECT_TRUE(report->StyleImage[0]->isVisibleTo(report));

    // "OK" of the row list draws the page again; the window is usable again.
    report->BitBtn5->click();
    EXPECT_FALSE(report->isEnabled());
    m_form->FormCompRList->Button2->click();
    EXPECT_TRUE(report->isEnabled());
    report->hide();
}

TEST_F(ComparisonWindow, PageSavedAsJpegAt840x1188AndPrintedToPdf) {
    m_form->Button4->click();
    m_form->BitBtn2->click();
    TFormCompReport* report = m_form->FormCompReport;
    // Answered as a user would, once the save dialog shows.
    QTimer answer;
    answer.setInterval(10);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (!report->SaveDialog1->isVisible()) return;
        answer.stop();
        report->SaveDialog1->findChild<QLineEdit*>("fileNameEdit")->setText("page.bmp");
        static_cast<QDialog*>(report->SaveDialog1)->accept();
    });
    report->SaveDialog1->setDirectory(QString::fromStdString(m_dir.Path()));
    answer.start();
    report->BitBtn3->click();
    const QImage jpeg(QString::fromStdString(m_dir.File("page.jpg")));
    EXPECT_EQ(jpeg.size(), QSize(840, 1188));
    EXPECT_EQ(report->Image1->height(), 1188);  // saved while reduced: now at full size

    const std::string pdf = m_dir.File("page.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    QPrintDialog dialog(&printer);  // made once the printer has its file: the dialog takes it
    m_form->PrintDialog = [&] { return &dialog; };
    ASSERT_TRUE(AnswerModal([&] { report->BitBtn4->click(); },
                            [](QWidget* modal) { qobject_cast<QDialog*>(modal)->accept(); }));
    QFile file(QString::fromStdString(pdf));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("%PDF"));
    report->hide();

    // Without a plan list the print command does nothing, not even its dialog.
    m_form->ComboBox1->setCurrentIndex(-1);
    EXPECT_FALSE(AnswerModal([&] { m_form->BitBtn1->click(); },
                             [](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); }));
}

TEST_F(ComparisonWindow, ThePageDrawsEachChartAsItStandsOnScreen) {
    m_form->Button4->click();
    m_form->SetReportStyle(4);  // chart A alone, full width
    m_form->ComboBox2->setCurrentIndex(0);
    m_form->ComboBox2Change();
    m_form->DoseButtons->button(0)->click();  // Gy
    m_form->RadioButton4->click();
    m_form->BitBtn2->click();
    const QImage shown = m_form->PagePicture;
    // Options changed without a redraw of the chart leave the page as the screen shows it.
    m_form->DoseAxis = 2;
    m_form->LineWidth = 2;
    m_form->BitBtn2->click();
    EXPECT_TRUE(m_form->PagePicture == shown);
    m_form->FormCompReport->hide();
}
