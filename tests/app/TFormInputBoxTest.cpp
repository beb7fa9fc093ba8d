// The input box: character filter, OK enabling, mode dispatch, dose entry and Cancel.
#include "app/TFormInputBox.h"
#include "../support/QtTestApp.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <optional>

namespace {

class InputBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_main.setObjectName("Form1");
        m_comp.setObjectName("FormComp");
        m_main.show();
        m_comp.show();
        m_box = new TFormInputBox(&m_main);
        m_box->OnDoseEntered = [this](float gy) {
            m_dose = gy;
            m_visibleWhileReading = m_box->isVisible();
        };
        m_box->OnDoseCancelled = [this] { ++m_cancelled; };
    }
    void TearDown() override { delete m_box; }

    QLineEdit* Edit() { return m_box->findChild<QLineEdit*>("Edit1"); }
    QPushButton* Ok() { return m_box->findChild<QPushButton*>("Button1"); }
    QPushButton* Cancel() { return m_box->findChild<QPushButton*>("Button2"); }

    QApplication* m_app = &TestApp();  // before any widget member
    QWidget m_main;
    QWidget m_comp;
    TFormInputBox* m_box = nullptr;
    std::optional<float> m_dose;
    bool m_visibleWhileReading = true;
    int m_cancelled = 0;
};

TEST_F(InputBoxTest, FilterDropsFileNameCharactersAsTheyAreTyped) {
    m_box->Mode = 1;
    m_box->show();
    QTest::keyClicks(Edit(), "a/b:c");
    EXPECT_EQ(Edit()->text(), "abc");
    QTest::keyClicks(Edit(), "\\*?\"<>| d");
    EXPECT_EQ(Edit()->text(), "abc d");
    // Pasted text loses them too: a list name never carries a path separator.
    QApplication::clipboard()->setText("e/f:g");
    Edit()->setCursorPosition(3);
    QTest::keyClick(Edit(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Edit()->text(), "abcefg d");
    EXPECT_EQ(Edit()->cursorPosition(), 6);
    Edit()->clear();
    QApplication::clipboard()->setText(QString::fromUtf8("T\u00e9te/Cou"));
    QTest::keyClick(Edit(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Edit()->text(), QString::fromUtf8("T\u00e9teCou"));
    EXPECT_EQ(Edit()->cursorPosition(), 7);
    m_box->close();
}

TEST_F(InputBoxTest, ShowingDisablesOkAndTheOpenersUntilClosed) {
    m_box->Edit1->setText("Current name");  // a rename puts the name in before showing
    m_box->Mode = 2;
    m_box->show();
    EXPECT_FALSE(Ok()->isEnabled());
    EXPECT_FALSE(m_main.isEnabled());
    EXPECT_FALSE(m_comp.isEnabled());
    EXPECT_TRUE(m_box->isEnabled());
    QTest::keyClicks(Edit(), "x");
    EXPECT_TRUE(Ok()->isEnabled());
    Edit()->clear();  // emptying the text never disables OK again
    EXPECT_TRUE(Ok()->isEnabled());
    Cancel()->click();
    EXPECT_FALSE(m_box->isVisible());
    EXPECT_TRUE(m_main.isEnabled());
    EXPECT_TRUE(m_comp.isEnabled());
    EXPECT_EQ(Edit()->text(), "");
    EXPECT_EQ(m_box->Mode, 2);  // Cancel keeps the mode
    EXPECT_EQ(m_cancelled, 0);  // only mode 9 drops a plan
}

TEST_F(InputBoxTest, OkDispatchesByModeAndKeepsTheBoxOpenWhenAsked) {
    int calls = 0;
    m_box->SetModeHandler(1, [&](TFormInputBox& box) {
        ++calls;
        return box.Edit1->text() == "taken";  // a duplicate name keeps the box open
    });
    m_box->Mode = 1;
    m_box->show();
    QTest::keyClicks(Edit(), "taken");
    Ok()->click();
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(m_box->isVisible());
    EXPECT_EQ(Edit()->text(), "");
    EXPECT_EQ(m_box->Mode, 1);
    EXPECT_TRUE(Ok()->isEnabled());
    QTest::keyClicks(Edit(), "fresh");
    Ok()->click();
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(m_box->isVisible());
    EXPECT_EQ(m_box->Mode, 0);

    // A mode nobody handles only closes the box.
    m_box->Mode = 7;
    m_box->show();
    QTest::keyClicks(Edit(), "x");
    Ok()->click();
    EXPECT_FALSE(m_box->isVisible());
    EXPECT_EQ(m_box->Mode, 0);
}

TEST_F(InputBoxTest, DoseIsRoundedToThreeDecimalsAndReadAfterTheBoxCloses) {
    m_box->AskPrescribedDose(4);
    EXPECT_EQ(m_box->windowTitle(), "Prescribed dose");
    EXPECT_EQ(m_box->Label1->text(), "Input prescribed dose [Gy].");
    EXPECT_EQ(m_box->OpenFileIndex, 4);
    QTest::keyClicks(Edit(), "45.6789");
    Ok()->click();
    ASSERT_TRUE(m_dose);
    EXPECT_FLOAT_EQ(*m_dose, 45.679f);
    EXPECT_FALSE(m_visibleWhileReading);
    EXPECT_FALSE(m_box->isVisible());
    EXPECT_EQ(m_box->Mode, 0);
    EXPECT_TRUE(m_main.isEnabled());
}

TEST_F(InputBoxTest, TextThatIsNoNumberOrNoDoseKeepsTheBoxWithoutReading) {
    m_box->AskPrescribedDose(0);
    // Text that is no number is dropped quietly; a dose of 0 or below is refused with a word.
    for (const auto& [typed, refused] : {std::pair{"sixty", false}, {"0", true}, {"-5", true}}) {
        SCOPED_TRACE(typed);
        QTest::keyClicks(Edit(), typed);
        Ok()->click();
        EXPECT_FALSE(m_dose);
        EXPECT_TRUE(m_box->isVisible());
        EXPECT_EQ(Edit()->text(), "");
        EXPECT_EQ(m_box->Mode, 9);
        EXPECT_EQ(m_box->PrescribedDose, 0.0f);
        EXPECT_FALSE(m_main.isEnabled());
        auto* box = m_box->findChild<QMessageBox*>("DoseRefusedBox");
        ASSERT_EQ(box != nullptr, refused);
        if (box) {
            EXPECT_EQ(box->text(), "Prescribed dose must be a number greater than 0.");
            delete box;
        }
    }
    QTest::keyClicks(Edit(), "70");
    Ok()->click();
    ASSERT_TRUE(m_dose);
    EXPECT_FLOAT_EQ(*m_dose, 70.0f);
}

TEST_F(InputBoxTest, EveryDosePromptStartsEmptyAndCancelDropsTheWaitingPlan) {
    m_box->AskPrescribedDose(1);
    QTest::keyClicks(Edit(), "60");
    Ok()->click();
    ASSERT_TRUE(m_dose);
    m_dose.reset();
    // The next plan sum must be given its own dose: nothing of the last one is offered.
    m_box->AskPrescribedDose(2);
    EXPECT_EQ(Edit()->text(), "");
    EXPECT_EQ(m_box->PrescribedDose, 0.0f);
    EXPECT_FALSE(Ok()->isEnabled());
    Cancel()->click();
    EXPECT_EQ(m_cancelled, 1);
    EXPECT_FALSE(m_dose);
    EXPECT_FALSE(m_box->isVisible());
    EXPECT_TRUE(m_main.isEnabled());
}

TEST_F(InputBoxTest, EveryModeOpensWithTheFocusInItsFieldAndTheTextSelected) {
    // Each mode as its caller prepares it (a rename proposes the current name), each ended by a
    // click on Cancel, which leaves that button focused for the next showing.
    for (const auto& [mode, proposed] : {std::pair{1, ""}, {2, "Current name"}, {3, ""}, {4, ""}, {9, ""}}) {
        SCOPED_TRACE(mode);
        m_box->Mode = mode;
        m_box->Edit1->setText(proposed);
        m_box->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_box));
        for (char c : std::string("a b")) QTest::keyClick(m_box->windowHandle(), c);  // to its focus
        EXPECT_TRUE(m_box->isVisible());
        EXPECT_EQ(Edit()->text(), "a b");
        QTest::mouseClick(Cancel(), Qt::LeftButton);
        ASSERT_FALSE(m_box->isVisible());
    }
}

TEST_F(InputBoxTest, EnterEscapeAndTheWindowCloseDoNothing) {
    m_box->AskPrescribedDose(0);
    QTest::keyClicks(Edit(), "50");
    QTest::keyClick(Edit(), Qt::Key_Return);
    QTest::keyClick(Edit(), Qt::Key_Escape);
    EXPECT_TRUE(m_box->isVisible());
    EXPECT_FALSE(m_dose);
    EXPECT_EQ(m_cancelled, 0);
    Ok()->click();
    EXPECT_TRUE(m_dose);
}

}  // namespace
