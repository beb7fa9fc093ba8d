// The report comment: three lines at most, their colour, and templates kept in their file.
#include "ReportWindowFixture.h"

#include "platform/IniFile.h"

#include <QClipboard>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

TEST_F(ReportWindowTest, TheCommentKeepsThreeLinesTypedOrPastedAndADrawnPlanClearsIt) {
    Form1->Report2Click();
    FormReport->BitBtn5Click();
    EXPECT_FALSE(FormReport->isEnabled());
    QPlainTextEdit* memo = FormComment->Memo1;
    memo->setFocus();
    QTest::keyClicks(memo, "one");
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, "two");
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, "three");
    QTest::keyClick(memo, Qt::Key_Return);  // a fourth line is taken back at once
    EXPECT_EQ(memo->toPlainText(), "one\ntwo\nthree");
    QApplication::clipboard()->setText("x\ny");
    memo->paste();
    EXPECT_EQ(memo->toPlainText(), "one\ntwo\nthree");
    QTest::keyClicks(memo, "!");  // typing goes on where it was
    EXPECT_EQ(memo->toPlainText(), "one\ntwo\nthree!");

    FormComment->CommentFontColor = RgbColor(0, 0, 255);
    FormComment->Button1->click();
    EXPECT_FALSE(FormComment->isVisible());
    EXPECT_TRUE(FormReport->isEnabled());
    EXPECT_EQ(Form1->CommentLine[0], "one");
    EXPECT_EQ(Form1->CommentLine[2], "three!");
    // The first comment line is on the page in its colour (0.685 W, 0.946 H).
    bool blue = false;
    for (int x = 575; x < 640; ++x)
        for (int y = 1123; y < 1140; ++y)
            if (FormReport->Page().pixelColor(x, y).blue() > 150 && FormReport->Page().pixelColor(x, y).red() < 100)
                blue = true;
    EXPECT_TRUE(blue);

    Form1->DrawDvhChart(m_plan);
    EXPECT_TRUE(memo->toPlainText().isEmpty());
    EXPECT_EQ(FormComment->CommentFontColor, 0);
    EXPECT_TRUE(Form1->CommentLine[0].empty());
    FormComment->show();
    FormComment->Button1Click();  // "OK" on an empty memo
    for (const std::string& line : Form1->CommentLine) EXPECT_TRUE(line.empty());
}

TEST_F(ReportWindowTest, TemplatesAreReadAddedDeletedAndWrittenBack) {
    const QString path = Home() + "/Tessaray_ReportComment.ini";
    {
        platform::IniFile ini(path.toStdString());
        ini.Parse("[Comment]\nCount=3\n[Comment0]\nText0=Plan approved\nText1=by\nText2=\n"
                  "[Comment1]\nText0=Check PTV\nText1=\nText2=\n[Comment2]\nText0=Third\nText1=b\nText2=c\n");
        ASSERT_TRUE(ini.Save());
    }
    FormReport->BitBtn5Click();
    QListWidget* list = FormComment->ListBox1;
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(0)->text(), "Plan approved");
    list->setCurrentRow(2);
    FormComment->Button4->click();  // "Replace", empty lines included
    EXPECT_EQ(FormComment->Memo1->toPlainText(), "Third\nb\nc");
    FormComment->Memo1->clear();
    list->setCurrentRow(0);
    FormComment->Button5->click();  // "Add": the lines that are not empty
    EXPECT_EQ(FormComment->Memo1->toPlainText(), "Plan approved\nby");

    // Ctrl+Delete asks first; "OK" deletes the second template.
    list->setCurrentRow(1);
    QTest::keyClick(list, Qt::Key_Delete, Qt::ControlModifier);
    auto* box = FormComment->findChild<QMessageBox*>("DeleteTemplateBox");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), "Do you want to delete this template?");
    box->button(QMessageBox::Ok)->click();
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(1)->text(), "Third");
    FormComment->close();
    EXPECT_TRUE(FormReport->isEnabled());
    platform::IniFile written(path.toStdString());
    ASSERT_EQ(written.Load(), platform::IniFile::LoadStatus::Ok);
    EXPECT_EQ(written.ReadInteger("Comment", "Count", -1), 2);
    EXPECT_EQ(written.ReadString("Comment1", "Text0", ""), "Third");
    EXPECT_FALSE(written.SectionExists("Comment2"));  // "Third" was read from it: not left to be read twice

    // "Add template" takes nothing from an empty memo, a one-line memo with two empty lines.
    FormComment->show();
    FormComment->Memo1->clear();
    FormComment->Savethiscommenttotemplate1->trigger();
    EXPECT_EQ(list->count(), 2);
    FormComment->Memo1->setPlainText("Reviewed");
    FormComment->Savethiscommenttotemplate1->trigger();
    FormComment->close();
    platform::IniFile again(path.toStdString());
    ASSERT_EQ(again.Load(), platform::IniFile::LoadStatus::Ok);
    EXPECT_EQ(again.ReadInteger("Comment", "Count", -1), 3);
    EXPECT_EQ(again.ReadString("Comment2", "Text0", ""), "Reviewed");
    EXPECT_TRUE(again.ValueExists("Comment2", "Text1"));
    EXPECT_EQ(again.ReadString("Comment2", "Text1", "x"), "");
}
