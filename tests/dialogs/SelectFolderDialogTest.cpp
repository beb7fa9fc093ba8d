// The folder picker answered by the test as a user would: choose, cancel, refuse, validate.
#include "dialogs/TSelectFolderDialog.h"

#include "../support/QtTestApp.h"

#include <QDir>
#include <QFileDialog>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QToolButton>
#include <QUrl>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <tuple>

namespace {

class SelectFolderDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestApp();
        ASSERT_TRUE(m_dir.isValid());
        for (const char* sub : {"a", "b", "a/inner"}) QDir(m_dir.path()).mkpath(sub);
    }
    QString Sub(const char* name) const { return QDir::cleanPath(m_dir.filePath(name)); }

    /// Runs Execute; `answer` acts on the picker window while it is shown.
    bool Run(const std::function<void(QFileDialog*)>& answer) {
        bool result = false;
        const bool answered = AnswerModal([&] { result = m_picker.Execute(); }, [&](QWidget* w) {
            auto* window = qobject_cast<QFileDialog*>(w);
            ASSERT_NE(window, nullptr);
            EXPECT_EQ(window, m_picker.Handle());
            answer(window);
        });
        EXPECT_TRUE(answered);
        EXPECT_EQ(m_picker.Handle(), nullptr);
        return result;
    }
    static void Ok(QFileDialog* w) { static_cast<QDialog*>(w)->accept(); }

    struct AppFirst {
        AppFirst() { TestApp(); }
    } m_app;  // the widgets below need the application object
    QTemporaryDir m_dir;
    QWidget m_owner;
    TSelectFolderDialog m_picker{&m_owner};
};

}  // namespace

TEST_F(SelectFolderDialogTest, ChosenFolderBecomesTheSelectionAndTheNextStart) {
    EXPECT_EQ(m_picker.GetSelectFolder(), "");
    EXPECT_EQ(m_picker.Options, unsigned(bifReturnOnlyFSDirs));
    const QString before = QDir::currentPath();
    EXPECT_TRUE(Run([&](QFileDialog* w) {
        w->setDirectory(Sub("a/inner"));
        Ok(w);
    }));
    EXPECT_EQ(m_picker.GetSelectFolder(), Sub("a/inner"));
    EXPECT_EQ(m_picker.DisplayName(), "inner");
    EXPECT_EQ(QDir::currentPath(), before);  // browsing never moves the process

    QString startedIn;
    EXPECT_TRUE(Run([&](QFileDialog* w) {
        startedIn = QDir::cleanPath(w->directory().absolutePath());
        Ok(w);  // OK at once chooses the same folder again
    }));
    EXPECT_EQ(startedIn, Sub("a/inner"));
    EXPECT_EQ(m_picker.GetSelectFolder(), Sub("a/inner"));
}

TEST_F(SelectFolderDialogTest, CancelAfterBrowsingKeepsTheEarlierSelection) {
    m_picker.SetSelectFolder(Sub("a"));
    int changes = 0;
    m_picker.OnFolderChange = [&](TSelectFolderDialog* sender) {
        EXPECT_EQ(sender, &m_picker);
        ++changes;
    };
    EXPECT_FALSE(Run([&](QFileDialog* w) {
        w->setDirectory(Sub("b"));
        emit w->directoryEntered(Sub("b"));
        EXPECT_EQ(m_picker.GetSelectFolder(), Sub("b"));  // followed live while shown
        w->reject();
    }));
    EXPECT_GE(changes, 1);
    EXPECT_EQ(m_picker.GetSelectFolder(), Sub("a"));
}

TEST_F(SelectFolderDialogTest, SettersKeepOnlyExistingFolders) {
    m_picker.SetSelectFolder(Sub("missing"));
    EXPECT_EQ(m_picker.GetSelectFolder(), "");
    m_picker.SetRootFolder(Sub("missing"));
    EXPECT_EQ(m_picker.GetRootFolder(), "");
    m_picker.SetRootFolder(Sub("a") + "/../a/");
    EXPECT_EQ(m_picker.GetRootFolder(), Sub("a"));
    m_picker.SetEnableOK(false);  // idle: nothing to act on, nothing stored
    m_picker.SetStatusText("Choose");
    EXPECT_EQ(m_picker.GetStatusText(), "Choose");
}

TEST_F(SelectFolderDialogTest, TheRootBoundsTheChoiceAndStartsTheBrowsing) {
    m_picker.SetRootFolder(Sub("a"));
    QString startedIn;
    EXPECT_TRUE(Run([&](QFileDialog* w) {
        startedIn = QDir::cleanPath(w->directory().absolutePath());
        w->setDirectory(Sub("b"));
        Ok(w);  // outside the root: refused, the picker stays
        EXPECT_TRUE(w->isVisible());
        w->setDirectory(Sub("a/inner"));
        Ok(w);
    }));
    EXPECT_EQ(startedIn, Sub("a"));
    EXPECT_EQ(m_picker.GetSelectFolder(), Sub("a/inner"));
}

TEST_F(SelectFolderDialogTest, NothingAboveTheRootIsShownOrReached) {
    m_picker.SetRootFolder(Sub("a"));
    const auto at = [](QFileDialog* w) { return QDir::cleanPath(w->directory().absolutePath()); };
    EXPECT_TRUE(Run([&](QFileDialog* w) {
        auto* up = w->findChild<QToolButton*>("toParentButton");
        ASSERT_NE(up, nullptr);
        EXPECT_FALSE(up->isEnabled());  // at the root
        EXPECT_EQ(w->sidebarUrls(), QList<QUrl>{QUrl::fromLocalFile(Sub("a"))});
        w->setDirectory(Sub("a/inner"));
        emit w->directoryEntered(Sub("a/inner"));
        ASSERT_TRUE(up->isEnabled());
        up->click();
        EXPECT_EQ(at(w), Sub("a"));
        EXPECT_FALSE(up->isEnabled());
        // "Look in" would list the folders above: it stays shut.
        auto* lookIn = w->findChild<QComboBox*>("lookInCombo");
        ASSERT_NE(lookIn, nullptr);
        EXPECT_FALSE(lookIn->isEnabled());
        // A folder above entered all the same (typed, from the history) leads back to the root.
        w->setDirectory(m_dir.path());
        emit w->directoryEntered(m_dir.path());
        EXPECT_EQ(at(w), Sub("a"));
        Ok(w);
    }));
    EXPECT_EQ(m_picker.GetSelectFolder(), Sub("a"));
}

TEST_F(SelectFolderDialogTest, SpecialFoldersWithALinuxMeaningAreRootsAndSelections) {
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", m_dir.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", m_dir.filePath("config").toUtf8());  // no user-dirs file
    for (const char* sub : {"Desktop", "Documents"}) QDir(m_dir.path()).mkpath(sub);
    m_picker.SetRootSpecialFolder(sfProfile);
    EXPECT_EQ(m_picker.GetRootFolder(), Sub("."));
    EXPECT_EQ(m_picker.GetRootSpecialFolder(), sfProfile);
    m_picker.SetRootSpecialFolder(sfDesktop);  // the top of the tree
    EXPECT_EQ(m_picker.GetRootFolder(), "");
    EXPECT_EQ(m_picker.GetRootSpecialFolder(), sfDesktop);
    const std::tuple<TSpecialFolder, QString, TSpecialFolder> selections[] = {
        {sfDesktop, Sub("Desktop"), sfDesktop},
        {sfMyDocuments, Sub("Documents"), sfPersonal},  // two values, one folder: the lower
        {sfProfile, Sub("."), sfProfile},
        {sfDrives, "/", sfDrives},
        {sfMyMusic, "", sfNone},  // no such folder here
        {sfFonts, "", sfNone},    // no Linux meaning
    };
    for (const auto& [folder, path, readBack] : selections) {
        SCOPED_TRACE(folder);
        m_picker.SetSelectSpecialFolder(folder);
        EXPECT_EQ(m_picker.GetSelectFolder(), path);
        EXPECT_EQ(m_picker.GetSelectSpecialFolder(), readBack);
    }
    qputenv("HOME", home);
    qunsetenv("XDG_CONFIG_HOME");
}

TEST_F(SelectFolderDialogTest, TitleAboveTheTreeAndTheStatusTextOnItsOwnLine) {
    m_picker.Title = "Choose the folder of the exports";
    m_picker.Options = bifReturnOnlyFSDirs | bifStatusText;
    m_picker.SetStatusText("Nothing chosen yet");
    EXPECT_FALSE(Run([&](QFileDialog* w) {
        auto* title = w->findChild<QLabel*>("TitleLabel");
        auto* status = w->findChild<QLabel*>("StatusLabel");
        ASSERT_NE(title, nullptr);
        ASSERT_NE(status, nullptr);
        EXPECT_EQ(title->text(), m_picker.Title);
        EXPECT_EQ(status->text(), "Nothing chosen yet");
        m_picker.SetStatusText("Now this");
        EXPECT_EQ(status->text(), "Now this");
        EXPECT_NE(w->windowTitle(), m_picker.Title);
        w->show();
        const QWidget* tree = w->findChild<QListView*>("listView");
        ASSERT_NE(tree, nullptr);
        EXPECT_LT(title->mapTo(w, QPoint()).y(), status->mapTo(w, QPoint()).y());
        EXPECT_LT(status->mapTo(w, QPoint()).y(), tree->mapTo(w, QPoint()).y());
        EXPECT_NE(w->labelText(QFileDialog::LookIn), "Now this");  // not in place of a label
        w->reject();
    }));
}

TEST_F(SelectFolderDialogTest, CanCloseHandlerKeepsThePickerOpenUntilCancel) {
    int asked = 0;
    m_picker.OnCanClose = [&](TSelectFolderDialog*, bool& canClose) {
        ++asked;
        canClose = false;
    };
    bool shown = false, closed = false;
    m_picker.OnShow = [&](TSelectFolderDialog*) { shown = true; };
    m_picker.OnClose = [&](TSelectFolderDialog*) { closed = true; };
    EXPECT_FALSE(Run([&](QFileDialog* w) {
        w->setDirectory(Sub("b"));
        Ok(w);
        EXPECT_TRUE(w->isVisible());
        w->reject();
    }));
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(closed);
    EXPECT_EQ(m_picker.GetSelectFolder(), "");
}

TEST_F(SelectFolderDialogTest, ATypedFolderThatDoesNotExistGoesToTheValidationHandler) {
    m_picker.Options = bifReturnOnlyFSDirs | bifEditBox | bifValidate;
    for (const bool closeOnFailure : {true, false}) {
        SCOPED_TRACE(closeOnFailure);
        QString failed;
        m_picker.OnValidateFailed = [&](TSelectFolderDialog*, const QString& folder, bool& canClose) {
            failed = folder;
            canClose = closeOnFailure;
        };
        EXPECT_FALSE(Run([&](QFileDialog* w) {
            w->setDirectory(m_dir.path());
            w->findChild<QLineEdit*>("fileNameEdit")->setText("nowhere");
            Ok(w);
            if (!closeOnFailure) {
                EXPECT_TRUE(w->isVisible());
                w->reject();
            }
        }));
        EXPECT_EQ(QDir::cleanPath(failed), Sub("nowhere"));
    }
}
