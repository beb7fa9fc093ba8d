// The folder picker answered by the test as a user would: choose, cancel, refuse, validate.
#include "dialogs/TSelectFolderDialog.h"

#include "../support/QtTestApp.h"

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

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
