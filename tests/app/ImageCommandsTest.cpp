// File > Save image: the window's client area and the chart in its portrait export size.
#include "MainWindowFixture.h"

#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QMenuBar>

#include <qcustomplot.h>

namespace {

/// Types `path` into a save dialog's name box, as a user does, and presses Save.
void TypeAndSave(QFileDialog* dialog, const QString& path) {
    dialog->setDirectory(QFileInfo(path).absolutePath());
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText(QFileInfo(path).fileName());
    static_cast<QDialog*>(dialog)->accept();
}

/// Answers `SaveDialog1` with `path` (Cancel when empty) while `command` runs.
void SaveAs(void (TForm1::*command)(), const QString& path) {
    const bool answered = AnswerModal([command] { (Form1->*command)(); }, [path](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->objectName(), "SaveDialog1");
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        TypeAndSave(dialog, path);
    });
    EXPECT_TRUE(answered);
}

}  // namespace

TEST_F(MainWindowTest, ScreenImageIsTheClientAreaAsBitmap) {
    const int p = AddPlan();
    Form1->show();
    Form1->ShowPlan(p);
    Form1->DrawDvhChart(p);
    SaveAs(&TForm1::Screen1Click, Home() + "/window.png");
    EXPECT_FALSE(QFile::exists(Home() + "/window.png"));
    QImage image(Home() + "/window.bmp", "BMP");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 992);
    EXPECT_EQ(image.height(), 674);

    SaveAs(&TForm1::Screen1Click, QString());  // Cancel writes nothing
    EXPECT_EQ(QDir(Home()).entryList({"*.bmp"}).size(), 1);
}

TEST_F(MainWindowTest, ChartImageIsPortraitOnWhiteAndTheChartIsRestored) {
    const int p = AddPlan();
    Form1->show();
    Form1->ShowPlan(p);
    Form1->DrawDvhChart(p);
    Form1->SetChart1Color(QColor(255, 255, 200));
    const QSize before = Form1->Chart1->size();
    const QMargins margins = Form1->Chart1->axisRect()->margins();

    SaveAs(&TForm1::Graph3Click, Home() + "/chart");
    QImage image(Home() + "/chart.bmp", "BMP");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), static_cast<int>(1.5 * before.height()));
    EXPECT_EQ(image.height(), static_cast<int>(1.5 * image.width()));
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::white));
    EXPECT_EQ(Form1->Chart1->size(), before);
    EXPECT_EQ(Form1->Chart1->axisRect()->margins(), margins);
    EXPECT_EQ(Form1->Chart1Color(), QColor(255, 255, 200));
    EXPECT_EQ(Form1->Chart1->graphCount(), 3);

    // The tool button runs the same command.
    AnswerModal([] { Form1->ToolButton2->trigger(); }, [this](QWidget* w) {
        TypeAndSave(qobject_cast<QFileDialog*>(w), Home() + "/tool.bmp");
    });
    EXPECT_EQ(QImage(Home() + "/tool.bmp", "BMP").size(), image.size());
}

TEST_F(MainWindowTest, AFailedPictureWriteIsReportedAndAGoodOneReplacesTheFile) {
    QFile old(Home() + "/keep.bmp");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    EXPECT_FALSE(Form1->SaveChartBitmap(Home() + "/missing-folder/chart.bmp"));
    EXPECT_NE(Form1->findChild<QWidget*>("WriteFailureBox"), nullptr);
    EXPECT_TRUE(Form1->SaveChartBitmap(Home() + "/keep.bmp"));
    EXPECT_FALSE(QImage(Home() + "/keep.bmp", "BMP").isNull());
}
