// View > ToolBar toggles written to the settings, read back, and the index grid's layouts.
#include "MainWindowFixture.h"
#include "LockWaitShown.h"
#include "../support/LockHeldElsewhere.h"

#include "dvh/SettingsFile.h"
#include "platform/AtomicWrite.h"
#include "platform/IniFile.h"

#include <QAction>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolBar>

namespace {

int ToolBarValue(const QString& ini, const char* key) {
    platform::IniFile file(ini.toStdString());
    file.Load();
    return file.ReadInteger("ToolBar-" + Form1->ComputerName, key, 0);
}

}  // namespace

TEST_F(MainWindowTest, ToolBarTogglesWriteOneOrTwoAndKeepBarAndCheckInStep) {
    const struct {
        QAction* item;
        QToolBar* bar;
        const char* key;
        bool startsShown;
    } toggles[] = {{Form1->Standard1, Form1->ToolBar2, "Standard", true},
                   {Form1->Project1, Form1->ToolBar4, "Project", true},
                   {Form1->BrainLABRTP1, Form1->ToolBar5, "BrainLABRTP", false}};
    for (const auto& t : toggles) {
        SCOPED_TRACE(t.key);
        EXPECT_EQ(t.item->isChecked(), t.startsShown);
        t.item->trigger();
        EXPECT_EQ(ToolBarValue(IniPath(), t.key), t.startsShown ? 2 : 1);
        EXPECT_EQ(t.bar->isVisibleTo(Form1), !t.startsShown);
        EXPECT_EQ(t.item->isChecked(), !t.startsShown);
        t.item->trigger();
        EXPECT_EQ(ToolBarValue(IniPath(), t.key), t.startsShown ? 1 : 2);
        EXPECT_EQ(t.bar->isVisibleTo(Form1), t.startsShown);
    }
    Form1->BrainLABRTP1->trigger();
    EXPECT_TRUE(Form1->BrainLABToolbar);
    Form1->Standard1->trigger();

    // The next start on this computer reads the same bars back.
    TForm1 next;
    next.FormCreate();
    next.show();
    EXPECT_FALSE(next.ToolBar2->isVisible());
    EXPECT_FALSE(next.Standard1->isChecked());
    EXPECT_TRUE(next.ToolBar4->isVisible());
    EXPECT_TRUE(next.ToolBar5->isVisible());
    EXPECT_TRUE(next.BrainLABRTP1->isChecked());
    EXPECT_TRUE(next.BrainLABToolbar);
}

TEST_F(MainWindowTest, FirstShowAppliesTheBrainLabSetting) {
    Form1->BrainLABToolbar = true;
    Form1->show();
    EXPECT_TRUE(Form1->ToolBar5->isVisible());
    Form1->hide();
    Form1->BrainLABToolbar = false;
    Form1->show();  // shown once only: a later show changes nothing
    EXPECT_TRUE(Form1->ToolBar5->isVisible());
}

TEST_F(MainWindowTest, AFailedToolBarWriteLeavesBarAndCheckAsTheyWere) {
    QDir(Home()).mkpath("Tessaray.ini");
    Form1->Project1->trigger();
    EXPECT_TRUE(Form1->Project1->isChecked());
    EXPECT_TRUE(Form1->ToolBar4->isVisibleTo(Form1));
    EXPECT_NE(Form1->findChild<QWidget*>("WriteFailureBox"), nullptr);
}

TEST_F(MainWindowTest, AToolBarToggleWaitsVisiblyForAnotherInstanceAndThenChangesNothing) {
    const std::string ini = IniPath().toStdString();
    const std::string before = "[ToolBar-" + Form1->ComputerName + "]\r\nProject=1\r\n";
    ASSERT_TRUE(platform::AtomicWriteFile(ini, before).ok);
    Form1->show();
    {
        const LockHeldElsewhere other(SettingsLockPath(ini));
        const LockWaitShown shown(Form1->Button7);  // the user clicks "OK" under the list meanwhile
        Form1->Project1->trigger();
        EXPECT_EQ(shown.Waits(), 1);
        EXPECT_TRUE(shown.WaitCursor());
        EXPECT_EQ(shown.Status(), "Waiting for another instance's change of Tessaray.ini ...");
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    auto* refused = Form1->findChild<QMessageBox*>("WriteFailureBox");
    ASSERT_NE(refused, nullptr);
    EXPECT_EQ(refused->text().toStdString(), SettingsBusyText());
    EXPECT_EQ(Form1->statusBar()->currentMessage().toStdString(), SettingsBusyText());
    // The click waited for the wait's end, and the box that tells of the refusal lets it act.
    int clicks = 0;
    QObject::connect(Form1->Button7, &QPushButton::clicked, [&clicks] { ++clicks; });
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(ToolBarValue(IniPath(), "Project"), 1);
    // The window shows what the file holds and this session uses: the bar, and its check mark.
    EXPECT_TRUE(Form1->ToolBar4->isVisibleTo(Form1));
    EXPECT_TRUE(Form1->Project1->isChecked());

    // The BrainLAB bar's session flag, which the window's first show reads, stays as well.
    {
        const LockHeldElsewhere other(SettingsLockPath(ini));
        Form1->BrainLABRTP1->trigger();
    }
    EXPECT_FALSE(Form1->BrainLABRTP1->isChecked());
    EXPECT_FALSE(Form1->ToolBar5->isVisibleTo(Form1));
    EXPECT_FALSE(Form1->BrainLABToolbar);
    EXPECT_EQ(ToolBarValue(IniPath(), "BrainLABRTP"), 0);
}

TEST_F(MainWindowTest, EditPlanListButtonAndMenuItemSwitchTheGridLayoutsInStep) {
    EXPECT_EQ(Form1->StringGrid1->height(), 590);
    EXPECT_EQ(Form1->StringGrid1FixedCols, 2);
    EXPECT_FALSE(Form1->Panel4->isVisibleTo(Form1));
    EXPECT_EQ(Form1->StringGrid1->horizontalHeaderItem(0)->text(), "Structure");
    EXPECT_EQ(Form1->StringGrid1->horizontalHeaderItem(1)->text(), "Index");
    EXPECT_EQ(Form1->StringGrid1->horizontalHeaderItem(2)->text(), "Value");
    EXPECT_EQ(Form1->StringGrid1->columnWidth(1), 115);

    Form1->ToolButton11->trigger();
    EXPECT_TRUE(Form1->IndexGridEditMode());
    EXPECT_EQ(Form1->StringGrid1->height(), 490);
    EXPECT_EQ(Form1->StringGrid1FixedCols, 0);
    EXPECT_TRUE(Form1->Panel4->isVisibleTo(Form1));
    EXPECT_TRUE(Form1->EditPlanList1->isChecked());

    Form1->EditPlanList1->trigger();
    EXPECT_FALSE(Form1->ToolButton11->isChecked());
    EXPECT_EQ(Form1->StringGrid1->height(), 590);
    EXPECT_FALSE(Form1->Panel4->isVisibleTo(Form1));
    EXPECT_FALSE(Form1->EditPlanList1->isChecked());

    Form1->EditPlanList1->trigger();
    EXPECT_TRUE(Form1->ToolButton11->isChecked());
    EXPECT_EQ(Form1->StringGrid1->height(), 490);
}
