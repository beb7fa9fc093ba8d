// The forms created at start-up: their captions, and the main window given back however a
// dialog that holds it is left.
#include "app/Forms.h"
#include "app/TForm1.h"
#include "app/TFormFileList.h"
#include "app/TFormGraphView.h"
#include "app/TAboutBox.h"
#include "app/TFormDVHmatch.h"
#include "app/TFormInputBox.h"
#include "app/TFormProgress.h"
#include "app/TFormSList.h"
#include "app/TessarayApplication.h"
#include "planlist/ui/TFormDVHs.h"
#include "app/TFormOption.h"
#include "app/TFormSelectPlanList.h"
#include "planlist/ui/TFormIndex.h"
#include "../support/QtTestApp.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <functional>

namespace {

/// The forms as start-up makes them, in a private program folder.
class Forms : public ::testing::Test {
protected:
    void SetUp() override {
        TestApp();
        ASSERT_TRUE(m_home.isValid());
        qputenv("TESSARAY_HOME", m_home.path().toUtf8());
        CreateForms();
        Form1->show();
    }
    void TearDown() override {
        delete Form1;  // its dialogs go with it
        Form1 = nullptr;
        qunsetenv("TESSARAY_HOME");
    }
    QTemporaryDir m_home;
};

}  // namespace

TEST_F(Forms, CaptionsAreTheFormsOwnTexts) {
    const std::pair<QWidget*, const char*> captions[] = {
        {Form1, "Tessaray"},           {AboutBox, "About Tessaray"},
        {FormOption, "Settings..."},   {FormSList, "Structure List"},
        {FormGraphView, "Current graph view"}, {FormProgress, "Please wait..."},
        {FormIndex, "Edit Index"},     {FormDVHs, "DVH Series"},
        {FormSelectPlanList, "Select Plan"}, {FormDVHmatch, "DVH Series"},
        {FormInputBox, "Tessaray"},    {FormFileList, "File List"},
    };
    for (const auto& [form, caption] : captions) EXPECT_EQ(form->windowTitle(), caption);

    // The window system appends an application display name to every caption, so the program
    // must not set one: the display name then follows the application name.
    const QString testName = QCoreApplication::applicationName();
    NameApplication();
    QCoreApplication::setApplicationName("renamed");
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), "renamed");
    QCoreApplication::setApplicationName(testName);
}

TEST_F(Forms, TheMainWindowIsEnabledExactlyWhenNoDialogHoldsIt) {
    struct Way {
        const char* name;
        std::function<void(QDialog*)> leave;
    };
    const Way ways[] = {
        {"Escape", [](QDialog* d) {
             QTest::keyClick(d->focusWidget() ? d->focusWidget() : d, Qt::Key_Escape);
         }},
        // The window system's close box arrives as a spontaneous close of the window.
        {"close box", [](QDialog* d) { d->windowHandle()->close(); }},
        {"Cancel", [](QDialog* d) {
             for (QPushButton* b : d->findChildren<QPushButton*>())
                 if (b->text() == "Cancel") b->click();
         }},
        {"OK", [](QDialog* d) {
             for (QPushButton* b : d->findChildren<QPushButton*>())
                 if (b->text() == "OK") b->click();
         }},
        {"hide", [](QDialog* d) { d->hide(); }},
    };
    QDialog* const dialogs[] = {FormOption,    FormGraphView, FormIndex,
                                FormSelectPlanList, FormInputBox, FormFileList};
    for (QDialog* dialog : dialogs) {
        for (const Way& way : ways) {
            SCOPED_TRACE(dialog->windowTitle().toStdString() + " / " + way.name);
            dialog->show();
            ASSERT_TRUE(dialog->isVisible());
            EXPECT_FALSE(Form1->FormEnabled());
            way.leave(dialog);
            // A dialog may refuse a way out (the plan-list choice has only OK); then it still
            // holds the main window. Gone, it must have let go of it.
            EXPECT_EQ(Form1->FormEnabled(), !dialog->isVisible());
            dialog->hide();
            EXPECT_TRUE(Form1->FormEnabled());
        }
    }
}
