// The plan information dialog: pages of structures, alias editing and OK bound to its plan.
#include "app/TFormDVHmatch.h"
#include "QtTestApp.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

PDatasetClass PlanWith(int structures) {
    PDatasetClass p;
    p.Key = "K1";
    p.PatientName = "Doe";
    p.PatientID = "123";
    p.PlanName = "Plan A";
    p.PlanID = "P1";
    for (int i = 0; i < structures; ++i) {
        DVHDatasetClass s;
        s.Name = "S" + std::to_string(i);
        if (i == 0) s.ModifiedName = "PTV";
        p.DVHDataset.push_back(s);
    }
    return p;
}

QString CellText(TFormDVHmatch& d, int row, int column) {
    auto* item = d.StringGrid1->item(row, column);
    return item ? item->text() : QString();
}

TEST(DVHmatch, PagesOfFifteenStructuresAndTheScrollBar) {
    EnsureQtApp();
    TFormDVHmatch dialog;
    const PDatasetClass fourteen = PlanWith(14);
    dialog.FillAndShow(fourteen, 0, {});
    EXPECT_FALSE(dialog.findChild<QScrollBar*>("ScrollBar1")->isVisible());

    const PDatasetClass fifteen = PlanWith(15);  // a second, empty page
    dialog.FillAndShow(fifteen, 0, {});
    EXPECT_TRUE(dialog.ScrollBar1->isVisible());
    EXPECT_EQ(dialog.ScrollBar1->maximum(), 1);

    const PDatasetClass sixteen = PlanWith(16);
    dialog.FillAndShow(sixteen, 0, {});
    EXPECT_EQ(CellText(dialog, 0, 0), "Orijinal Structure Name");
    EXPECT_EQ(CellText(dialog, 1, 0), "S0");
    EXPECT_EQ(CellText(dialog, 1, 1), "PTV");
    EXPECT_EQ(CellText(dialog, 15, 0), "S14");
    dialog.ScrollBar1->setValue(1);
    EXPECT_EQ(CellText(dialog, 1, 0), "S15");
    EXPECT_EQ(CellText(dialog, 2, 0), "");
    // A row without a structure cannot be edited.
    dialog.StringGrid1SelectCell(1, 2);
    EXPECT_EQ(dialog.SelectedRow, -1);
    EXPECT_FALSE(dialog.findChild<QComboBox*>("ComboBox2")->isVisible());
    dialog.close();
}

TEST(DVHmatch, AliasesAreEditedPerStructureAndOkWritesThemToItsPlan) {
    EnsureQtApp();
    TFormDVHmatch dialog;
    int appliedPlan = -2;
    std::string appliedKey;
    PlanInformation applied;
    dialog.OnApply = [&](int plan, const std::string& key, const PlanInformation& info) {
        appliedPlan = plan;
        appliedKey = key;
        applied = info;
        return true;
    };
    const PDatasetClass plan = PlanWith(17);
    // The index grid names "PTV" twice and has empty rows: each name is offered once.
    dialog.FillAndShow(plan, 4, {"PTV", "", "Rectum", "PTV", "Bladder"});
    auto* box1 = dialog.findChild<QComboBox*>("ComboBox1");
    ASSERT_EQ(box1->count(), 3);
    EXPECT_EQ(box1->itemText(1), "Rectum");
    EXPECT_EQ(dialog.findChild<QComboBox*>("ComboBox15")->count(), 3);

    dialog.StringGrid1SelectCell(1, 2);  // structure S1
    ASSERT_EQ(dialog.SelectedRow, 2);
    auto* box2 = dialog.findChild<QComboBox*>("ComboBox2");
    EXPECT_TRUE(box2->isVisible());
    box2->setCurrentIndex(1);  // choose "Rectum"
    EXPECT_EQ(CellText(dialog, 2, 1), "Rectum");
    dialog.ScrollBar1->setValue(1);
    dialog.StringGrid1SelectCell(1, 1);  // structure S15
    auto* box1b = dialog.findChild<QComboBox*>("ComboBox1");
    box1b->setEditText("Typed  name");  // not among the choices: stored as typed
    dialog.ScrollBar1->setValue(0);
    EXPECT_EQ(CellText(dialog, 2, 1), "Rectum");  // edits survive paging

    dialog.findChild<QLineEdit*>("Edit3")->setText("Renamed plan");
    dialog.findChild<QPushButton*>("Button1")->click();
    EXPECT_EQ(appliedPlan, 4);
    EXPECT_EQ(appliedKey, "K1");
    ASSERT_EQ(applied.ModifiedNames.size(), 17u);
    EXPECT_EQ(applied.ModifiedNames[0], "PTV");
    EXPECT_EQ(applied.ModifiedNames[1], "Rectum");
    EXPECT_EQ(applied.ModifiedNames[15], "Typed  name");
    EXPECT_EQ(applied.ModifiedNames[16], "");
    EXPECT_EQ(applied.PlanName, "Renamed plan");
    EXPECT_EQ(applied.PatientID, "123");
    EXPECT_FALSE(dialog.isVisible());
}

TEST(DVHmatch, CancelWritesNothing) {
    EnsureQtApp();
    TFormDVHmatch dialog;
    bool applied = false;
    dialog.OnApply = [&](int, const std::string&, const PlanInformation&) {
        return applied = true;
    };
    dialog.FillAndShow(PlanWith(2), 0, {});
    dialog.StringGrid1SelectCell(1, 1);
    dialog.findChild<QComboBox*>("ComboBox1")->setEditText("changed");
    dialog.findChild<QPushButton*>("Button2")->click();
    EXPECT_FALSE(applied);
    EXPECT_FALSE(dialog.isVisible());
}

}  // namespace
