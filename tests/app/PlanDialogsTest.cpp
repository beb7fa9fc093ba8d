// The structure list and the graph view after ShowPlan, and their commands.
#include "MainWindowFixture.h"

#include <QColorDialog>
#include <QKeyEvent>
#include <QListWidget>
#include <QRadioButton>
#include <QTableWidget>
#include <QHeaderView>

#include <qcustomplot.h>

namespace {

QString Cell(QTableWidget* grid, int row, int column) {
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text() : QString("<none>");
}

}  // namespace

TEST_F(MainWindowTest, StructureListShowsRoundedStatisticsInTheChosenUnit) {
    const int p = AddPlan();
    DVHDatasetClass& s = Form1->PDataset[p].DVHDataset[1];
    s.Volume = 30;
    s.MinDoseGy = 5;
    s.MaxDoseGy = 12.3456f;
    s.MeanDoseGy = 2.675f;  // stored below the half: 2.67
    s.MinDosePercent = 10;
    s.MaxDosePercent = 24.691f;
    s.MeanDosePercent = 99.999f;
    QTableWidget* grid = FormSList->StringGrid1;

    Form1->ShowPlan(p);
    EXPECT_EQ(Cell(grid, 1, 2), "");  // numbers wait for the dialog to show
    Form1->StructureList1->trigger();
    EXPECT_TRUE(FormSList->isVisible());
    EXPECT_TRUE(Form1->FormEnabled());  // the structure list leaves the window usable
    EXPECT_EQ(Cell(grid, 1, 0), "Rectum wall");
    EXPECT_EQ(Cell(grid, 1, 1), "30.00");
    EXPECT_EQ(Cell(grid, 1, 2), "5.00");
    EXPECT_EQ(Cell(grid, 1, 3), "12.35");
    EXPECT_EQ(Cell(grid, 1, 4), "2.67");
    EXPECT_EQ(grid->horizontalHeaderItem(2)->text(), "Minimum [Gy]");
    EXPECT_TRUE(grid->item(1, 3)->textAlignment() & Qt::AlignRight);

    FormSList->RadioButton2->click();
    EXPECT_EQ(grid->horizontalHeaderItem(4)->text(), "Mean [%]");
    EXPECT_EQ(Cell(grid, 1, 1), "30.00");  // volume stays in cc
    EXPECT_EQ(Cell(grid, 1, 3), "24.69");
    EXPECT_EQ(Cell(grid, 1, 4), "100.00");
    FormSList->Button1->click();
    EXPECT_FALSE(FormSList->isVisible());
}

TEST_F(MainWindowTest, StructureListWithoutPlanOrStructuresKeepsWhatItShows) {
    QTableWidget* grid = FormSList->StringGrid1;
    EXPECT_EQ(grid->horizontalHeaderItem(2)->text(), "Dose minimum");
    FormSList->show();  // no current plan
    EXPECT_EQ(grid->rowCount(), 0);
    EXPECT_EQ(grid->horizontalHeaderItem(2)->text(), "Dose minimum");
    Form1->PDataset.push_back(PDatasetClass{});
    Form1->ShowPlan(0);
    FormSList->FillGrid();
    EXPECT_EQ(grid->horizontalHeaderItem(2)->text(), "Dose minimum");

    grid->setFixedWidth(562);
    FormSList->SetColumnWidths();
    const int widths[5] = {168, 84, 95, 95, 95};
    for (int c = 0; c < 5; ++c) EXPECT_EQ(grid->columnWidth(c), widths[c]) << c;
}

TEST_F(MainWindowTest, GraphViewEditsWidthAndColourAtOnceAndVisibilityAtOk) {
    const int p = AddPlan();
    Form1->PDataset[p].DVHDataset[1].LineWidth = 4;
    Form1->ShowPlan(p);
    Form1->DrawDvhChart(p);
    QListWidget* list = FormGraphView->CheckListBox1;

    Form1->GSeries->trigger();
    EXPECT_TRUE(FormGraphView->isVisible());
    EXPECT_FALSE(Form1->FormEnabled());
    EXPECT_TRUE(FormGraphView->isEnabled());

    FormGraphView->RadioButton4->click();  // no item selected: nothing changes
    for (const DVHDatasetClass& s : Form1->PDataset[p].DVHDataset) EXPECT_NE(s.LineWidth, 6);

    list->setCurrentRow(1);
    EXPECT_TRUE(FormGraphView->RadioButton3->isChecked());  // 4 px
    FormGraphView->RadioButton1->click();
    EXPECT_EQ(Form1->PDataset[p].DVHDataset[1].LineWidth, 1);
    EXPECT_EQ(Form1->Chart1->graph(1)->pen().width(), 4);  // the chart waits for OK

    QColor offered;
    AnswerModal([] { FormGraphView->BitBtn1->click(); }, [&](QWidget* w) {
        auto* dialog = qobject_cast<QColorDialog*>(w);
        offered = dialog->currentColor();
        dialog->setCurrentColor(QColor(1, 2, 3));
        dialog->accept();
    });
    EXPECT_EQ(offered, QColor(10, 20, 30));  // opens on the structure's colour
    EXPECT_EQ(Form1->PDataset[p].DVHDataset[1].Color, RgbColor(1, 2, 3));
    AnswerModal([] { FormGraphView->BitBtn1->click(); }, [](QWidget* w) {
        qobject_cast<QColorDialog*>(w)->setCurrentColor(Qt::red);
        qobject_cast<QDialog*>(w)->reject();
    });
    EXPECT_EQ(Form1->PDataset[p].DVHDataset[1].Color, RgbColor(1, 2, 3));

    list->item(0)->setCheckState(Qt::Unchecked);
    FormGraphView->Button1->click();
    EXPECT_FALSE(FormGraphView->isVisible());
    EXPECT_TRUE(Form1->FormEnabled());
    EXPECT_FALSE(Form1->PDataset[p].DVHDataset[0].Visible);
    ASSERT_EQ(Form1->Chart1->graphCount(), 2);
    EXPECT_EQ(Form1->Chart1->graph(0)->pen().width(), 1);
    EXPECT_EQ(Form1->Chart1->graph(0)->pen().color(), QColor(1, 2, 3));
}

TEST_F(MainWindowTest, GraphViewKeysTickAllAndCloseBoxDropsTicks) {
    FormGraphView->show();  // OK with an empty list only closes
    FormGraphView->Button1->click();
    EXPECT_FALSE(FormGraphView->isVisible());
    EXPECT_EQ(Form1->Chart1->graphCount(), 0);

    const int p = AddPlan();
    for (DVHDatasetClass& s : Form1->PDataset[p].DVHDataset) s.Visible = false;
    Form1->ShowPlan(p);
    QListWidget* list = FormGraphView->CheckListBox1;
    FormGraphView->show();

    QKeyEvent ctrlA(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier);
    QApplication::sendEvent(list, &ctrlA);
    for (int i = 0; i < list->count(); ++i) EXPECT_EQ(list->item(i)->checkState(), Qt::Checked);
    FormGraphView->close();  // the close box: ticks are not applied
    EXPECT_TRUE(Form1->FormEnabled());
    EXPECT_FALSE(Form1->PDataset[p].DVHDataset[0].Visible);

    FormGraphView->show();
    QKeyEvent ctrlShiftA(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    QApplication::sendEvent(list, &ctrlA);
    QApplication::sendEvent(list, &ctrlShiftA);
    EXPECT_EQ(list->item(2)->checkState(), Qt::Unchecked);
    QApplication::sendEvent(list, &ctrlA);
    FormGraphView->Button1->click();
    for (const DVHDatasetClass& s : Form1->PDataset[p].DVHDataset) EXPECT_TRUE(s.Visible);
    EXPECT_EQ(Form1->Chart1->graphCount(), 3);
}
