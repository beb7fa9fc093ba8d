// The settings dialog's flow: chosen folders, OK, Cancel, the close box and the live option.
#include "MainWindowFixture.h"
#include "../support/LockHeldElsewhere.h"

#include "dialogs/TSelectFolderDialog.h"
#include "dvh/SettingsFile.h"
#include "platform/AtomicWrite.h"
#include "platform/IniFile.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QtTest/QTest>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>

namespace {

platform::IniFile ReadIni(const QString& path) {
    platform::IniFile ini(path.toStdString());
    ini.Load();
    return ini;
}

/// Answers the folder picker that `button` opens with `folder` (or Cancel when empty).
void PickFolder(QPushButton* button, const QString& folder) {
    const bool answered = AnswerModal([button] { button->click(); }, [folder](QWidget* w) {
        auto* picker = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(picker, nullptr);
        if (folder.isEmpty()) {
            picker->reject();
            return;
        }
        picker->setDirectory(folder);  // the user enters the folder and presses OK
        static_cast<QDialog*>(picker)->accept();
    });
    EXPECT_TRUE(answered);
}

}  // namespace

class SettingsDialogTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        QDir(Home()).mkpath("read");
        QDir(Home()).mkpath("save");
        FormOption->RunScan = [this] {
            ++m_scans;
            // The settings are on disk before the scan starts.
            m_readAtScan = ReadIni(IniPath()).ReadString("FileLocation-" + Form1->ComputerName, "Read", "none");
        };
    }
    static std::string Section() { return "FileLocation-" + Form1->ComputerName; }
    int m_scans = 0;
    std::string m_readAtScan;
};

TEST_F(SettingsDialogTest, OkWritesFoldersAndOptionsAsOneOrTwo) {
    Form1->ReadFolder = Home().toStdString() + "/read";
    Form1->AutoScan = true;
    Form1->Settings1Click();
    EXPECT_TRUE(FormOption->isVisible());
    EXPECT_FALSE(Form1->FormEnabled());  // the opener is disabled while the dialog shows
    EXPECT_TRUE(FormOption->CheckBox1->isEnabled());
    EXPECT_TRUE(FormOption->CheckBox1->isChecked());
    EXPECT_EQ(FormOption->Edit1->text().toStdString(), Form1->ReadFolder);

    FormOption->CheckBox1->setChecked(false);
    FormOption->CheckBox2->setChecked(true);
    FormOption->Button1->click();

    EXPECT_FALSE(FormOption->isVisible());
    EXPECT_TRUE(Form1->FormEnabled());
    const platform::IniFile ini = ReadIni(IniPath());
    EXPECT_EQ(ini.ReadString(Section(), "Read", "0"), Form1->ReadFolder);
    EXPECT_TRUE(ini.ValueExists(Section(), "Save"));
    EXPECT_EQ(ini.ReadString(Section(), "Save", "0"), "");
    EXPECT_EQ(ini.ReadInteger("Option", "AutoScan", 0), 2);  // off is 2, not 0
    EXPECT_EQ(ini.ReadInteger("Option", "CaseSensitivity", 0), 1);
    EXPECT_FALSE(Form1->AutoScan);
    EXPECT_TRUE(Form1->CaseSensitivity);
    EXPECT_EQ(m_scans, 0);  // not opened by Scan
}

TEST_F(SettingsDialogTest, TheWindowsShortcutsRestWhileTheDialogShows) {
    Form1->show();
    QApplication::setActiveWindow(Form1);
    int hits = 0;
    QAction* probe = Form1->File1->addAction("Probe");
    probe->setShortcut(QKeySequence("Ctrl+J"));
    QObject::connect(probe, &QAction::triggered, [&] { ++hits; });
    QTest::keyClick(Form1, Qt::Key_J, Qt::ControlModifier);
    EXPECT_EQ(hits, 1);
    Form1->Settings1Click();
    QApplication::setActiveWindow(Form1);  // a click on the disabled window
    QTest::keyClick(Form1, Qt::Key_J, Qt::ControlModifier);
    EXPECT_EQ(hits, 1);
    FormOption->Button2->click();
    QApplication::setActiveWindow(Form1);
    QTest::keyClick(Form1, Qt::Key_J, Qt::ControlModifier);
    EXPECT_EQ(hits, 2);
}

TEST_F(SettingsDialogTest, CancelWritesNothingButTheCaseBoxCountsLiveUntilTheNextShow) {
    Form1->Settings1Click();
    EXPECT_FALSE(Form1->CaseSensitive());
    EXPECT_TRUE(Form1->NamesEqual("PTV", "ptv"));
    FormOption->CheckBox2->setChecked(true);
    // Every comparison reads the box at the moment of comparing, before any OK.
    EXPECT_TRUE(Form1->CaseSensitive());
    EXPECT_FALSE(Form1->NamesEqual("PTV", "ptv"));
    FormOption->Button2->click();
    EXPECT_FALSE(QFile::exists(IniPath()));
    EXPECT_TRUE(Form1->FormEnabled());
    EXPECT_FALSE(Form1->CaseSensitivity);
    EXPECT_FALSE(Form1->NamesEqual("PTV", "ptv"));  // the box keeps its tick after Cancel
    Form1->Settings1Click();                       // ... until the dialog shows again
    EXPECT_FALSE(FormOption->CheckBox2->isChecked());
    EXPECT_TRUE(Form1->NamesEqual("PTV", "ptv"));
    FormOption->close();
}

TEST_F(SettingsDialogTest, ScanWithoutReadFolderNeedsAFolderThenWritesAndScansOnce) {
    FormOption->FolderChanged = true;  // as the Scan command does
    FormOption->ShowDirectories();
    EXPECT_EQ(FormOption->PageControl1->currentWidget(), FormOption->TabSheet2);
    EXPECT_FALSE(FormOption->Button1->isEnabled());

    const QString read = Home() + "/read";
    PickFolder(FormOption->Button3, read);
    EXPECT_EQ(FormOption->Edit1->text(), read);
    EXPECT_EQ(Form1->ReadFolder, read.toStdString());
    EXPECT_TRUE(FormOption->Button1->isEnabled());

    FormOption->Button1->click();
    EXPECT_EQ(m_scans, 1);
    EXPECT_EQ(m_readAtScan, read.toStdString());
    EXPECT_FALSE(FormOption->FolderChanged);

    Form1->Settings1Click();  // the next OK does not scan again
    FormOption->Button1->click();
    EXPECT_EQ(m_scans, 1);
}

TEST_F(SettingsDialogTest, CloseBoxAndCancelLeaveNoPendingScan) {
    for (const bool byCloseBox : {true, false}) {
        SCOPED_TRACE(byCloseBox ? "close box" : "Cancel");
        FormOption->FolderChanged = true;
        FormOption->ShowDirectories();
        if (byCloseBox)
            FormOption->close();
        else
            FormOption->Button2->click();
        EXPECT_FALSE(FormOption->FolderChanged);
        EXPECT_TRUE(Form1->FormEnabled());
        Form1->Settings1Click();
        EXPECT_TRUE(FormOption->Button1->isEnabled());
        FormOption->Button1->click();
        EXPECT_EQ(m_scans, 0);
    }
}

TEST_F(SettingsDialogTest, ChosenFoldersCountAtOnceButReachTheFileOnlyByOk) {
    const std::string oldRead = Home().toStdString() + "/old";
    Form1->ReadFolder = oldRead;
    Form1->Settings1Click();
    PickFolder(FormOption->Button3, Home() + "/read");
    PickFolder(FormOption->Button4, Home() + "/save");
    EXPECT_EQ(Form1->SaveFolder, (Home() + "/save").toStdString());
    EXPECT_EQ(FormOption->Edit2->text(), Home() + "/save");
    PickFolder(FormOption->Button4, QString());  // a cancelled picker changes nothing
    EXPECT_EQ(Form1->SaveFolder, (Home() + "/save").toStdString());
    FormOption->Button2->click();
    EXPECT_EQ(Form1->ReadFolder, (Home() + "/read").toStdString());
    EXPECT_FALSE(QFile::exists(IniPath()));

    // The picker opens again at the folder chosen last with it.
    QString opened;
    Form1->Settings1Click();
    AnswerModal([] { FormOption->Button4->click(); }, [&](QWidget* w) {
        opened = qobject_cast<QFileDialog*>(w)->selectedFiles().value(0);
        qobject_cast<QDialog*>(w)->reject();
    });
    EXPECT_EQ(opened, Home() + "/save");
    FormOption->close();
}

TEST_F(SettingsDialogTest, CreationScansOnlyWithAutoScanAndAReadFolder) {
    const struct {
        bool autoScan;
        bool folder;
        int scans;
    } cases[] = {{true, true, 1}, {true, false, 0}, {false, true, 0}};
    for (const auto& c : cases) {
        m_scans = 0;
        Form1->AutoScan = c.autoScan;
        Form1->ReadFolder = c.folder ? Home().toStdString() : "";
        FormOption->FormCreate();
        EXPECT_EQ(m_scans, c.scans);
        EXPECT_EQ(FormOption->CheckBox1->isChecked(), c.autoScan);
    }
}

TEST_F(SettingsDialogTest, AFailedWriteStillClosesAndEnablesTheWindowAndChangesNoOption) {
    QDir(Home()).mkpath("Tessaray.ini");  // a folder where the file should be
    Form1->Settings1Click();
    FormOption->CheckBox2->setChecked(true);
    FormOption->Button1->click();
    EXPECT_FALSE(FormOption->isVisible());
    EXPECT_TRUE(Form1->FormEnabled());
    EXPECT_NE(Form1->findChild<QWidget*>("WriteFailureBox"), nullptr);
    EXPECT_TRUE(QFileInfo(IniPath()).isDir());
    EXPECT_FALSE(Form1->CaseSensitivity);
    EXPECT_FALSE(FormOption->CheckBox2->isChecked());
}

TEST_F(SettingsDialogTest, AnOkRefusedForAnotherInstancesTurnLeavesTheOptionsAndFoldersInEffectShown) {
    const std::string ini = IniPath().toStdString();
    ASSERT_TRUE(platform::AtomicWriteFile(ini, "[Option]\r\nAutoScan=2\r\nCaseSensitivity=2\r\n").ok);
    const std::string save = Home().toStdString() + "/save";
    Form1->SaveFolder = save;
    FormOption->FolderChanged = true;  // opened by Scan for want of a read folder
    FormOption->ShowDirectories();
    FormOption->CheckBox1->setChecked(true);
    FormOption->CheckBox2->setChecked(true);
    PickFolder(FormOption->Button3, Home() + "/read");
    PickFolder(FormOption->Button4, Home());
    {
        const LockHeldElsewhere other(SettingsLockPath(ini));
        FormOption->Button1->click();
    }
    auto* refused = Form1->findChild<QMessageBox*>("WriteFailureBox");
    ASSERT_NE(refused, nullptr);
    EXPECT_EQ(refused->text().toStdString(), SettingsBusyText());
    EXPECT_EQ(ReadIni(IniPath()).ReadInteger("Option", "CaseSensitivity", 0), 2);
    // The session keeps the options the file holds, the case box that name comparisons read
    // included, and the folders it had; the dialog opens again with them. The scan waits for a
    // read folder that is in effect.
    EXPECT_FALSE(Form1->AutoScan);
    EXPECT_FALSE(Form1->CaseSensitivity);
    EXPECT_TRUE(Form1->NamesEqual("PTV", "ptv"));
    EXPECT_EQ(Form1->ReadFolder, "");
    EXPECT_EQ(Form1->SaveFolder, save);
    EXPECT_EQ(m_scans, 0);
    Form1->Settings1Click();
    EXPECT_FALSE(FormOption->CheckBox1->isChecked());
    EXPECT_FALSE(FormOption->CheckBox2->isChecked());
    EXPECT_EQ(FormOption->Edit1->text(), "");
    EXPECT_EQ(FormOption->Edit2->text().toStdString(), save);

    // Once the other instance is done, the same choice is written and takes effect.
    FormOption->CheckBox2->setChecked(true);
    PickFolder(FormOption->Button3, Home() + "/read");
    FormOption->Button1->click();
    EXPECT_EQ(ReadIni(IniPath()).ReadInteger("Option", "CaseSensitivity", 0), 1);
    EXPECT_EQ(ReadIni(IniPath()).ReadString(Section(), "Read", ""), (Home() + "/read").toStdString());
    EXPECT_TRUE(Form1->CaseSensitivity);
    EXPECT_FALSE(Form1->NamesEqual("PTV", "ptv"));
    EXPECT_EQ(Form1->ReadFolder, (Home() + "/read").toStdString());
}
