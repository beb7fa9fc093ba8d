// The comparison report window: PreView, zoom, styles in step, the row list, pictures and print.
#include "ComparisonFixture.h"

#include "compare/ui/TFormCompRList.h"
#include "compare/ui/TFormCompReport.h"

#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

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

TEST_F(ComparisonWindow, ALongPlanIdStaysInItsOwnColumnOnThePageAndInTheTableHeader) {
    const std::string longId = "VMAT_Boost_Phase2_Revision3";
    const auto compare = [&](const std::string& id) {
        m_ws.PDataset[1].PlanID = id;
        m_form->Button4->click();
        m_form->BitBtn2->click();
        return m_form->PagePicture;
    };
    // The title row of style 1 on the 840 x 1188 page, above its line. Each plan's title has
    // 0.135 W of it, from 0.284 W on; B's is the second.
    const QRect titles(0, 712, 840, 16);
    const int left = static_cast<int>(0.419 * 840), right = static_cast<int>(0.554 * 840);
    const QImage shortTitle = compare("X");
    const QImage longTitle = compare(longId);
    int first = 840, last = -1, changedElsewhere = 0;
    for (int y = titles.top(); y <= titles.bottom(); ++y)
        for (int x = titles.left(); x <= titles.right(); ++x) {
            if (x < left || x >= right) {
                changedElsewhere += longTitle.pixel(x, y) != shortTitle.pixel(x, y);
            } else if (qGray(longTitle.pixel(x, y)) < 128) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
    EXPECT_EQ(changedElsewhere, 0);  // A's and C's titles as they are beside a short one
    EXPECT_LT(first, left + 4);      // the ID's start shows, from the column's edge
    EXPECT_GT(last, right - 20);
    m_form->FormCompReport->hide();

    // The table's header shows the ID's start as a prefix of it shows, and the whole ID as a tip.
    m_form->show();
    QHeaderView* header = m_form->StringGrid1->horizontalHeader();
    const auto section = [&](const std::string& id) {
        m_ws.PDataset[1].PlanID = id;
        m_form->Button4->click();
        return header->grab(QRect(header->sectionViewportPosition(3), 0, header->sectionSize(3), header->height()))
            .toImage();
    };
    const QString start = QString::fromStdString(longId.substr(0, 10));
    const QImage prefix = section(start.toStdString());
    const QImage whole = section(longId);
    const int shown = header->fontMetrics().horizontalAdvance(start.chopped(1));
    int differing = 0;
    for (int y = 0; y < prefix.height(); ++y)
        for (int x = 0; x < shown; ++x) differing += whole.pixel(x, y) != prefix.pixel(x, y);
    EXPECT_EQ(differing, 0);
    const QPoint middle(header->sectionViewportPosition(3) + header->sectionSize(3) / 2, header->height() / 2);
    QHelpEvent tip(QEvent::ToolTip, middle, header->viewport()->mapToGlobal(middle));
    QApplication::sendEvent(header->viewport(), &tip);
    EXPECT_EQ(QToolTip::text().toStdString(), longId);
    m_form->hide();
}
