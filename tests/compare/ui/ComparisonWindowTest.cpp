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
#include <QMessageBox>
#include <QRadioButton>
#include <QTableWidget>

#include <qcustomplot.h>

#include <filesystem>

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
    // A folder of the name is refused with the reason.
    std::filesystem::create_directory(m_dir.File("folder.bmp"));
    EXPECT_FALSE(m_form->SaveChartABitmap(QString::fromStdString(m_dir.File("folder.bmp"))));
    auto* box = m_form->findChild<QMessageBox*>("CompMessage");
    ASSERT_NE(box, nullptr);
    const QString text = box->text();
    EXPECT_TRUE(text.contains("folder.bmp") && text.contains("is a folder")) << text.toStdString();
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

/// Checks that the plan columns of `grid` scroll by whole columns: one starts exactly at the right
/// edge of the fixed columns, none lies partly under them, and each one shown shows its whole
/// value where the user sees it.
void ExpectWholePlanColumns(QTableWidget* grid, const std::string& when) {
    SCOPED_TRACE(when + ", scroll value " + std::to_string(grid->horizontalScrollBar()->value()));
    const QWidget* fixed = grid->findChild<QWidget*>(grid->objectName() + "FixedColumns");
    ASSERT_NE(fixed, nullptr);
    const int edge = fixed->geometry().right() + 1 - grid->viewport()->geometry().left();
    const int shown = grid->viewport()->width();
    int atEdge = 0;
    for (int c = 2; c < grid->columnCount(); ++c) {
        const QRect cell = grid->visualRect(grid->model()->index(0, c));
        EXPECT_EQ(cell.left(), grid->columnViewportPosition(c));
        if (cell.right() < edge || cell.left() >= shown) continue;  // scrolled away
        SCOPED_TRACE("column " + std::to_string(c));
        EXPECT_GE(cell.left(), edge);  // never partly under the fixed columns
        atEdge += cell.left() == edge;
        const QString text = grid->item(0, c)->text();
        const int room = std::min(cell.right() + 1, shown) - cell.left();
        EXPECT_LT(grid->fontMetrics().horizontalAdvance(text) + 4, room) << text.toStdString();
        const QPoint seen = grid->viewport()->geometry().topLeft() + QPoint(cell.left() + 2, cell.center().y());
        EXPECT_EQ(SeenAt(grid, seen), text);
    }
    EXPECT_EQ(atEdge, 1);
}

}  // namespace

TEST_F(ComparisonWindow, StructureAndIndexStayInViewWhilePlansScrollByWholeColumns) {
    for (int i = 0; i < 5; ++i) {
        PDatasetClass plan = m_ws.PDataset[0];
        plan.Key += std::to_string(i);
        m_ws.PDataset.push_back(plan);
    }
    m_form->show();
    m_form->Button4->click();
    QTableWidget* grid = m_form->StringGrid1;
    ASSERT_EQ(grid->columnCount(), 10);  // 8 plans
    QScrollBar* sideways = grid->horizontalScrollBar();
    ASSERT_GT(sideways->maximum(), 0);
    for (int value = sideways->minimum(); value <= sideways->maximum(); ++value) {
        sideways->setValue(value);
        ExpectWholePlanColumns(grid, "set");
        sideways->setSliderDown(true);  // dragged
        sideways->setSliderPosition(value);
        sideways->setSliderDown(false);
        ExpectWholePlanColumns(grid, "dragged");
    }
    // The last position shows the last plan whole.
    const QRect last = grid->visualRect(grid->model()->index(0, grid->columnCount() - 1));
    EXPECT_LE(last.right(), grid->viewport()->width());

    const QPoint title = grid->horizontalHeader()->geometry().topLeft() + QPoint(5, 5);
    const QPoint firstRow = grid->viewport()->geometry().topLeft() + QPoint(5, 5);
    EXPECT_EQ(SeenAt(grid, title), "Structure");
    EXPECT_EQ(SeenAt(grid, title + QPoint(115, 0)), "Index");
    EXPECT_EQ(SeenAt(grid, firstRow), "PTV");
    EXPECT_EQ(SeenAt(grid, firstRow + QPoint(115, 20)), "Mean dose [Gy]");

    // Steps, pages and small wheel turns both ways.
    for (const auto action : {QAbstractSlider::SliderToMinimum, QAbstractSlider::SliderSingleStepAdd,
                              QAbstractSlider::SliderPageStepAdd, QAbstractSlider::SliderSingleStepSub}) {
        sideways->triggerAction(action);
        ExpectWholePlanColumns(grid, "action " + std::to_string(action));
    }
    for (const int turn : {-30, 30, 30}) {
        QWheelEvent wheel(QPointF(300, 30), grid->viewport()->mapToGlobal(QPointF(300, 30)), QPoint(),
                          QPoint(turn, 0), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        const int before = sideways->value();
        QApplication::sendEvent(grid->viewport(), &wheel);
        EXPECT_NE(sideways->value(), before);
        ExpectWholePlanColumns(grid, "wheel " + std::to_string(turn));
    }

    // The keyboard moves the current cell to every plan, to the end and home.
    grid->setFocus();
    grid->setCurrentCell(0, 2);
    for (int c = 3; c < grid->columnCount(); ++c) {
        QTest::keyClick(grid, Qt::Key_Right);
        ASSERT_EQ(grid->currentColumn(), c);
        ExpectWholePlanColumns(grid, "right to " + std::to_string(c));
    }
    QTest::keyClick(grid, Qt::Key_Home);
    EXPECT_EQ(sideways->value(), 0);
    QTest::keyClick(grid, Qt::Key_End);
    ExpectWholePlanColumns(grid, "end");
    EXPECT_EQ(sideways->value(), sideways->maximum());
    // Across the whole table, as after a resize of the window, and narrower again.
    grid->resize(1200, grid->height());
    EXPECT_EQ(sideways->maximum(), 0);
    ExpectWholePlanColumns(grid, "wide");
    grid->resize(600, grid->height());
    grid->setCurrentCell(0, grid->columnCount() - 1);
    ExpectWholePlanColumns(grid, "narrow");

    // A click on a fixed cell selects its row, and leaves the plans where the user scrolled them,
    // as the keys that move within the fixed columns do; Home goes back to the first plans.
    grid->resize(722, grid->height());
    sideways->triggerAction(QAbstractSlider::SliderToMaximum);
    const int place = sideways->value();
    ASSERT_GT(place, 0);
    QWidget* cell = grid->childAt(firstRow);
    QTest::mouseClick(cell, Qt::LeftButton, {}, cell->mapFrom(grid, firstRow));
    EXPECT_EQ(m_form->Panel2->text(), "PTV - Max dose [Gy]");
    EXPECT_EQ(sideways->value(), place);
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Right, Qt::Key_Up}) {
        QTest::keyClick(grid, key);
        EXPECT_LT(grid->currentColumn(), 2);
        EXPECT_EQ(sideways->value(), place) << "key " << key;
        ExpectWholePlanColumns(grid, "key " + std::to_string(key));
    }
    QTest::keyClick(grid, Qt::Key_Home);
    EXPECT_EQ(sideways->value(), 0);
    m_form->hide();
}
