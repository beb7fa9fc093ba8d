// The modeless find and replace dialogs: widening, reports, and reopening in place.
#include "dialogs/TCFindDialog.h"
#include "dialogs/TCustomDialogWindow.h"

#include "../support/QtTestApp.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSizeGrip>

#include <gtest/gtest.h>

namespace {

template <class T>
T* Child(QWidget* window, const char* name) {
    T* child = window->findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
}

TEST(CustomFindDialogTest, WideningWidensTheEditAndMovesTheButtonsOnly) {
    TestApp();
    QWidget owner;
    TCFindDialog dialog(&owner);
    dialog.SetDialogSizing(true);
    ASSERT_TRUE(dialog.Execute());
    TCustomDialogWindow* window = dialog.Handle();
    ASSERT_NE(window->findChild<QSizeGrip*>(), nullptr);
    auto* edit = Child<QLineEdit>(window, "FindWhat");
    auto* findNext = Child<QPushButton>(window, "FindNext");
    auto* matchCase = Child<QCheckBox>(window, "MatchCase");
    const QRect editBefore = edit->geometry(), buttonBefore = findNext->geometry(),
                checkBefore = matchCase->geometry();
    window->resize(window->width() + 100, window->height() + 40);
    EXPECT_EQ(edit->geometry(), editBefore.adjusted(0, 0, 100, 0));
    EXPECT_EQ(findNext->geometry(), buttonBefore.translated(100, 0));
    EXPECT_EQ(matchCase->geometry(), checkBefore);

    // Closed and opened again: where the user left it.
    const QPoint moved = window->screen()->availableGeometry().topLeft() + QPoint(30, 40);
    window->move(moved);
    Child<QPushButton>(window, "Cancel")->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(dialog.Left(), moved.x());
    dialog.SetDialogSizing(false);
    dialog.Execute();
    EXPECT_EQ(window->pos(), moved);
    EXPECT_EQ(window->minimumSize(), window->maximumSize());  // fixed again without sizing
}

TEST(CustomFindDialogTest, ButtonsReportTheTextAndTheChosenOptions) {
    TestApp();
    QWidget owner;
    TCReplaceDialog dialog(&owner);
    dialog.SetFindText("D95");
    dialog.Options = frDown | frHideWholeWord;
    QStringList reports;
    dialog.OnFind = [&](TCFindDialog* sender) {
        reports << QString("find %1 %2").arg(sender->FindText()).arg(sender->Options, 0, 16);
    };
    dialog.OnReplace = [&](TCFindDialog* sender) {
        reports << QString("replace %1>%2 %3")
                       .arg(sender->FindText(), static_cast<TCReplaceDialog*>(sender)->ReplaceText())
                       .arg(sender->Options, 0, 16);
    };
    bool closed = false;
    dialog.OnClose = [&](TCFindDialog*) { closed = true; };
    dialog.Execute();
    QWidget* window = dialog.Handle();
    EXPECT_EQ(Child<QLineEdit>(window, "FindWhat")->text(), "D95");
    EXPECT_TRUE(Child<QCheckBox>(window, "WholeWord")->isHidden());
    EXPECT_EQ(window->findChild<QRadioButton*>("Up"), nullptr);  // replacing has no direction
    Child<QLineEdit>(window, "FindWhat")->setText("dose");
    Child<QCheckBox>(window, "MatchCase")->setChecked(true);
    Child<QPushButton>(window, "FindNext")->click();
    Child<QLineEdit>(window, "ReplaceWith")->setText("Dose");
    Child<QPushButton>(window, "ReplaceAll")->click();
    Child<QPushButton>(window, "Replace")->click();
    const auto hex = [](unsigned v) { return QString::number(v, 16); };
    EXPECT_EQ(reports, QStringList({"find dose " + hex(frDown | frHideWholeWord | frMatchCase | frFindNext),
                                    "replace dose>Dose " + hex(frDown | frHideWholeWord | frMatchCase | frReplaceAll),
                                    "replace dose>Dose " + hex(frDown | frHideWholeWord | frMatchCase | frReplace)}));
    dialog.CloseDialog();
    EXPECT_TRUE(closed);
}

}  // namespace
