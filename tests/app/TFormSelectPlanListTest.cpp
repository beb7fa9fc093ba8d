// The plan-list choice: its list, the answer it hands back, and the disabled main window.
#include "app/TFormSelectPlanList.h"
#include "QtTestApp.h"

#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

TEST(SelectPlanList, OffersNotApplicableAndEveryListAndHandsBackTheIndex) {
    EnsureQtApp();
    QWidget main;
    main.show();
    TFormSelectPlanList dialog(&main);
    std::vector<int> answers;
    bool mainEnabledAtAnswer = false;
    dialog.OnChosen = [&](int list) {
        answers.push_back(list);
        mainEnabledAtAnswer = main.isEnabled();
    };

    dialog.Ask(3, {"Prostate", "Head"});
    auto* list = dialog.findChild<QListWidget*>("ListBox1");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(0)->text(), "N/A");
    EXPECT_EQ(list->item(2)->text(), "Head");
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(dialog.OpenFileIndex, 3);
    EXPECT_EQ(dialog.windowTitle(), "Select Plan");
    EXPECT_FALSE(main.isEnabled());

    dialog.findChild<QPushButton*>("Button1")->click();
    dialog.Ask(3, {"Prostate", "Head"});
    list->setCurrentRow(1);
    dialog.findChild<QPushButton*>("Button1")->click();
    dialog.Ask(3, {"Prostate", "Head"});
    list->setCurrentRow(2);
    dialog.findChild<QPushButton*>("Button1")->click();

    EXPECT_EQ(answers, (std::vector<int>{-1, 0, 1}));
    EXPECT_TRUE(mainEnabledAtAnswer);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(main.isEnabled());
}

}  // namespace
