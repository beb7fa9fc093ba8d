// The comparison window as a user sees it: plans, charts A-D, the index table, sets, plans going.
#include "ComparisonFixture.h"

#include "compare/ui/TFormCompSelect.h"

#include <QButtonGroup>
#include <QHeaderView>
#include <QScrollBar>
#include <QTest>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QTableWidget>

#include <qcustomplot.h>

TEST_F(ComparisonWindow, AddAllFillsGridTableAndOneSeriesPerPosition) {
    m_form->Button4->click();
    ASSERT_EQ(m_form->StringGrid2->rowCount(), 3);
    EXPECT_EQ(Cell(m_form->StringGrid2, 1, 3), "B");
    EXPECT_EQ(m_form->StringGrid2->item(2, 0)->background().color(), QColor(0, 0, 255));
    EXPECT_EQ(m_form->ComboBox1->currentText(), "Prostate");  // the first plan's list
    EXPECT_EQ(m_form->StringGrid1->horizontalHeaderItem(4)->text(), "C");
    EXPECT_EQ(Cell(m_form->StringGrid1, 0, 2), "40.00");
    EXPECT_EQ(Cell(m_form->StringGrid1, 0, 3), "");
    EXPECT_EQ(m_form->StringGrid1->item(0, 2)->foreground().color(), QColor(0, 0, 255));
    EXPECT_EQ(m_form->StringGrid1->item(1, 2)->foreground().color(), QColor(0, 0, 0));
    EXPECT_EQ(m_form->ComboBox2->count(), 3);  // PTV, Body, CTV

    m_form->ComboBox2->setCurrentIndex(0);
    m_form->ComboBox2Change();
    ASSERT_EQ(m_form->Chart1->graphCount(), 3);
    EXPECT_EQ(m_form->Chart1->graph(0)->data()->size(), 5);
    EXPECT_EQ(m_form->Chart1->graph(1)->data()->size(), 0);  // B keeps its empty series
    EXPECT_EQ(m_form->Chart1->graph(1)->name(), "B");
    EXPECT_EQ(m_form->Chart1->xAxis->label(), "Dose [%]");
    EXPECT_DOUBLE_EQ(m_form->Chart1->graph(0)->data()->at(2)->key, 40);  // 20 Gy of 50 Gy
    m_form->DoseButtons->button(0)->click();
    EXPECT_EQ(m_form->Chart1->xAxis->label(), "Dose [Gy]");
    EXPECT_DOUBLE_EQ(m_form->Chart1->graph(0)->data()->at(2)->key, 20);
    m_form->RadioButton4->click();
    EXPECT_EQ(m_form->Chart1->graph(0)->pen().width(), 4);
}

TEST_F(ComparisonWindow, SelectedRowDrawsItsChartsAndCtrlCCopiesTheTable) {
    m_form->Button4->click();
    m_form->StringGrid1SelectCell(2, 1);
    EXPECT_EQ(m_form->Panel2->text(), "PTV - Max dose [Gy]");
    ASSERT_EQ(m_form->Chart6->graphCount(), 1);
    EXPECT_EQ(m_form->Chart6->graph(0)->data()->size(), 2);  // A and C; B has no PTV
    EXPECT_DOUBLE_EQ(m_form->Chart6->xAxis->range().upper, 3.5);
    EXPECT_EQ(m_form->Chart5->graphCount(), 3);
    QKeyEvent ctrlC(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier, "c");
    QApplication::sendEvent(m_form->StringGrid1, &ctrlC);
    EXPECT_EQ(QApplication::clipboard()->text(),
              "Structure\tIndex\tA\tB\tC\nPTV\tMax dose [Gy]\t40.00\t\t40.00\n"
              "\tMean dose [Gy]\t25.00\t\t25.00\n");
}

TEST_F(ComparisonWindow, ChoiceOrderArrowsAndPlansGoingBeneathTheWindow) {
    m_form->Button1->click();
    QListWidget* items = m_form->FormCompSelect->CheckListBox1;
    ASSERT_EQ(items->count(), 3);
    EXPECT_EQ(items->item(0)->text(), "A // P-001 // Doe^Jane //  ");
    items->item(2)->setCheckState(Qt::Checked);
    items->item(0)->setCheckState(Qt::Checked);
    m_form->FormCompSelect->Button1->click();
    ASSERT_EQ(m_form->PlanComp.size(), 2u);
    EXPECT_EQ(m_form->PlanComp[1].DatasetIndex, 2);

    m_form->ComboBox2->setCurrentIndex(0);
    m_form->ComboBox2Change();
    m_form->StringGrid2SelectCell(1, 2);
    m_form->BUp->click();
    EXPECT_EQ(m_form->PlanComp[0].DatasetIndex, 2);
    EXPECT_EQ(Cell(m_form->StringGrid2, 0, 3), "C");
    // The move redraws the charts too: grid, charts and table agree.
    EXPECT_EQ(m_form->Chart1->graphCount(), 0);
    EXPECT_EQ(m_form->StringGrid1->horizontalHeaderItem(2)->text(), "C");
    // "Remove" on the last row leaves the row selected without a plan: it removes no more.
    m_form->StringGrid2SelectCell(1, 2);
    m_form->Button2->click();
    m_form->Button2->click();
    ASSERT_EQ(m_form->PlanComp.size(), 1u);
    EXPECT_EQ(m_form->Compared.PlanGridRow, 2);

    // The main window deletes the first plan: C moves to index 1 and is found by its key.
    m_ws.PDataset.erase(m_ws.PDataset.begin());
    m_form->MainPlansChanged();
    ASSERT_EQ(m_form->PlanComp.size(), 1u);
    EXPECT_EQ(m_form->PlanComp[0].DatasetIndex, 1);
    // The list goes: the table shows the titles of the plans now compared.
    m_ws.PlanListName.clear();
    m_form->PlanListDeleted(0);
    EXPECT_EQ(m_form->PlanListIndex, -1);
    EXPECT_EQ(m_form->StringGrid1->rowCount(), 0);
    EXPECT_EQ(m_form->StringGrid1->horizontalHeaderItem(2)->text(), "C");
    m_ws.PDataset.clear();
    m_form->MainPlansChanged();
    EXPECT_TRUE(m_form->PlanComp.empty());
    EXPECT_EQ(m_form->StringGrid2->rowCount(), 1);
    EXPECT_EQ(m_form->StringGrid1->horizontalHeaderItem(2)->text(), "");
}

TEST_F(ComparisonWindow, StructureSetsSaveApplyAndDelete) {
    m_form->Button4->click();
    m_form->ComboBox3->setCurrentIndex(2);  // chart B: CTV
    EXPECT_FALSE(m_form->StructureSetNameEntered("Pelvis"));
    EXPECT_TRUE(m_form->StructureSetNameEntered("Pelvis"));  // a duplicate keeps the box open
    EXPECT_EQ(m_form->ComboBox6->count(), 1);

    m_form->Button4->click();  // choices emptied
    m_form->ComboBox6->setCurrentIndex(0);
    m_form->ComboBox6Change();
    EXPECT_EQ(m_form->ComboBox3->currentText(), "CTV");
    EXPECT_EQ(m_form->ComboBox2->currentIndex(), -1);  // an empty structure selects nothing
    EXPECT_EQ(m_form->Chart2->graph(1)->data()->size(), 5);

    m_form->CompDVHrep.clear();
    m_form->ReadStructureSets();  // as at every show
    ASSERT_EQ(m_form->CompDVHrep.size(), 1u);
    m_form->ComboBox6->setCurrentIndex(0);
    m_form->BitBtn5->click();
    EXPECT_TRUE(m_form->CompDVHrep.empty());
    EXPECT_EQ(m_form->ComboBox6->count(), 0);
}

TEST_F(ComparisonWindow, ChartABitmapIsLargerAndAFailedWriteSaysSo) {
    m_form->Button4->click();
    const std::string path = m_dir.File("plan.bmp");
    ASSERT_TRUE(m_form->SaveChartABitmap(QString::fromStdString(path)));
    const QImage image(QString::fromStdString(path));
    EXPECT_EQ(image.size(), QSize(600, 379));
    EXPECT_FALSE(m_form->SaveChartABitmap(QString::fromStdString(m_dir.File("no/such/a.bmp"))));
    auto* box = m_form->findChild<QWidget*>("CompMessage");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->findChild<QLabel*>() != nullptr);
}

namespace {

/// The text a user sees at `at` of `grid`: a column title or a cell.
QString SeenAt(QTableWidget* grid, QPoint at) {
    QWidget* seen = grid->childAt(at);
    if (!seen) return {};
    const QPoint local = seen->mapFrom(grid, at);
    if (auto* header = qobject_cast<QHeaderView*>(seen->parentWidget()))
        return header->model()->headerData(header->logicalIndexAt(local), Qt::Horizontal).toString();
    auto* view = qobject_cast<QAbstractItemView*>(seen->parentWidget());
    return view ? view->indexAt(local).data().toString() : QString();
}

}  // namespace

TEST_F(ComparisonWindow, StructureAndIndexStayInViewWhileManyPlansScroll) {
    for (int i = 0; i < 5; ++i) {
        PDatasetClass plan = m_ws.PDataset[0];
        plan.Key += std::to_string(i);
        m_ws.PDataset.push_back(plan);
    }
    m_form->show();
    m_form->Button4->click();
    QTableWidget* grid = m_form->StringGrid1;
    QScrollBar* sideways = grid->horizontalScrollBar();
    ASSERT_GT(sideways->maximum(), 0);
    sideways->setValue(sideways->maximum());
    const QPoint title = grid->horizontalHeader()->geometry().topLeft() + QPoint(5, 5);
    const QPoint firstRow = grid->viewport()->geometry().topLeft() + QPoint(5, 5);
    EXPECT_EQ(SeenAt(grid, title), "Structure");
    EXPECT_EQ(SeenAt(grid, title + QPoint(115, 0)), "Index");
    EXPECT_EQ(SeenAt(grid, firstRow), "PTV");
    EXPECT_EQ(SeenAt(grid, firstRow + QPoint(115, 20)), "Mean dose [Gy]");
    EXPECT_EQ(SeenAt(grid, firstRow + QPoint(grid->viewport()->width() - 10, 0)), "40.00");

    // A click on a fixed cell selects its row.
    QWidget* cell = grid->childAt(firstRow);
    QTest::mouseClick(cell, Qt::LeftButton, {}, cell->mapFrom(grid, firstRow));
    EXPECT_EQ(m_form->Panel2->text(), "PTV - Max dose [Gy]");
    m_form->hide();
}
