// Open, save and folder dialogs with a panel of the caller's, answered as a user would.
#include "dialogs/TCOpenDialog.h"
#include "dialogs/TCSelectFolderDialog.h"
#include "dialogs/TCustomDialogWindow.h"

#include "../support/QtTestApp.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QSizeGrip>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class CustomFileDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        QFile file(Path("plan.txt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        QDir(m_dir.path()).mkpath("sub");
        m_panel.resize(120, 70);
    }
    QString Path(const char* name) const { return QDir::cleanPath(m_dir.filePath(name)); }

    /// Runs `execute`; `answer` acts on the dialog window and its file view while shown.
    bool Run(const std::function<bool()>& execute,
             const std::function<void(TCustomDialogWindow*, QFileDialog*)>& answer) {
        bool result = false;
        const bool answered = AnswerModal([&] { result = execute(); }, [&](QWidget* w) {
            auto* window = qobject_cast<TCustomDialogWindow*>(w);
            ASSERT_NE(window, nullptr);
            auto* files = window->findChild<QFileDialog*>();
            ASSERT_NE(files, nullptr);
            answer(window, files);
        });
        EXPECT_TRUE(answered);
        return result;
    }

    struct AppFirst {
        AppFirst() { TestApp(); }
    } m_app;
    QTemporaryDir m_dir;
    QWidget m_owner;
    QWidget m_panel;  // the caller's panel: a preview, say
};

TEST_F(CustomFileDialogsTest, OpenChoosesAFileOrCancelsAndShowsTheWindowOncePlaced) {
    TCOpenDialog dialog(&m_owner);
    dialog.InitialDir = m_dir.path();
    dialog.Filter = "Text (*.txt);;All files (*)";
    dialog.FilterIndex = 2;
    dialog.SetSubForm(&m_panel);
    dialog.SetSubFormPos(fpRight);
    int shownWindows = 0;
    QSize sizeWhenShown;
    dialog.OnShowWindow = [&](TCOpenDialog* sender) {
        ++shownWindows;
        sizeWhenShown = sender->Handle()->size();
    };
    EXPECT_TRUE(Run([&] { return dialog.Execute(); }, [&](TCustomDialogWindow* window, QFileDialog* files) {
        EXPECT_EQ(window->windowTitle(), "Open");
        EXPECT_EQ(m_panel.parentWidget(), window);
        EXPECT_EQ(m_panel.geometry().left(), files->geometry().right() + 1);  // beside the file view
        EXPECT_NE(window->findChild<QSizeGrip*>(), nullptr);                    // sizes itself
        files->selectFile(Path("plan.txt"));
        static_cast<QDialog*>(files)->accept();
    }));
    EXPECT_EQ(dialog.FileName, Path("plan.txt"));
    EXPECT_EQ(dialog.FilterIndex, 2);
    EXPECT_EQ(shownWindows, 1);
    EXPECT_EQ(sizeWhenShown, dialog.Handle() ? QSize() : sizeWhenShown);  // no window after Execute
    EXPECT_EQ(m_panel.parentWidget(), nullptr);                           // given back
    EXPECT_NE(dialog.Left(), -1);

    EXPECT_FALSE(Run([&] { return dialog.Execute(); },
                     [](TCustomDialogWindow* window, QFileDialog*) { window->reject(); }));
    EXPECT_EQ(dialog.FileName, Path("plan.txt"));
    EXPECT_EQ(shownWindows, 2);
}

TEST_F(CustomFileDialogsTest, SaveTakesANewNameWithAPanelBelowAndStaysFixedInTheOldStyle) {
    TCSaveDialog dialog(&m_owner);
    dialog.InitialDir = m_dir.path();
    dialog.DefaultExt = "txt";
    dialog.Options = ofOldStyleDialog | ofOverwritePrompt;
    dialog.SetSubForm(&m_panel);
    dialog.SetSubFormPos(fpBottom);
    EXPECT_TRUE(Run([&] { return dialog.Execute(); }, [&](TCustomDialogWindow* window, QFileDialog* files) {
        EXPECT_EQ(window->windowTitle(), "Save As");
        EXPECT_EQ(window->minimumSize(), window->maximumSize());
        EXPECT_EQ(m_panel.geometry().top(), files->geometry().bottom() + 1);
        EXPECT_EQ(m_panel.height(), 70);
        files->findChild<QLineEdit*>("fileNameEdit")->setText("new");
        static_cast<QDialog*>(files)->accept();
    }));
    EXPECT_EQ(dialog.FileName, Path("new.txt"));
    EXPECT_FALSE(QFile::exists(Path("new.txt")));  // choosing a name writes nothing
}

TEST_F(CustomFileDialogsTest, FolderPickerInTheHostChoosesAndGrowsItsViewWithSizing) {
    TCSelectFolderDialog picker(&m_owner);
    picker.SetSubForm(&m_panel);
    picker.SetSubFormPos(fpLeft);
    picker.SetDialogSizing(true);  // old style: fixed unless asked
    picker.SetSelectFolder(m_dir.path());
    EXPECT_TRUE(Run([&] { return picker.Execute(); }, [&](TCustomDialogWindow* window, QFileDialog* files) {
        EXPECT_EQ(files, picker.Handle());
        EXPECT_NE(window->findChild<QSizeGrip*>(), nullptr);
        const int viewWidth = files->width();
        window->resize(window->width() + 50, window->height());
        EXPECT_EQ(files->width(), viewWidth + 50);
        EXPECT_EQ(m_panel.geometry(), QRect(0, 0, 120, window->height()));
        files->setDirectory(Path("sub"));
        static_cast<QDialog*>(files)->accept();
    }));
    EXPECT_EQ(picker.GetSelectFolder(), Path("sub"));
    EXPECT_EQ(m_panel.parentWidget(), nullptr);

    picker.SetDialogSizing(false);
    EXPECT_FALSE(Run([&] { return picker.Execute(); }, [&](TCustomDialogWindow* window, QFileDialog* files) {
        EXPECT_EQ(window->minimumSize(), window->maximumSize());
        files->reject();
    }));
    EXPECT_EQ(picker.GetSelectFolder(), Path("sub"));
}

}  // namespace
