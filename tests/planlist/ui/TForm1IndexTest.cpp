// The main window's index grid, quick-index panel, guide marks and grid keys, wired together.
#include "app/TForm1.h"

#include "../PlanFixtures.h"
#include "UiTestMain.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

#include <qcustomplot.h>

#include <gtest/gtest.h>

namespace {

IndexDataClass Row(const std::string& name, int items, float value) {
    IndexDataClass r;
    r.Name = name;
    r.Items = items;
    r.Value = value;
    r.ItemsCI = 0;
    return r;
}

struct Window {
    TForm1 form;
    Window() {
        PDatasetClass plan = fixtures::ExamplePlan();
        plan.DVHDataset[0].Color = RgbColor(0, 0, 255);
        plan.DVHDataset[1].Visible = false;
        plan.PlanListIndex = 0;
        form.PDataset = {plan};
        PlanListNameClass list;
        list.Name = "Prostate";
        IndexDataClass d50 = Row("PTV", 1, 50);
        d50.ConstraintsON = d50.ConstraintsView = true;
        d50.Constraints = -30;  // 27.5 Gy is below 30: coloured and marked
        d50.ConstraintFontColorR = 255;
        list.IndexData = {d50, Row("PTV", 9, 0), Row("Missing", 9, 0)};
        form.PlanListName = {list};
        form.ComboBox1->addItem("Prostate");
        form.CurrentPlanIndex = 0;
    }
    QString Cell(int row, int col) const {
        const QTableWidgetItem* item = form.StringGrid1->item(row, col);
        return item ? item->text() : QString();
    }
};

TEST(TForm1Index, DrawingAPlanFillsTheGridAndCopiesIt) {
    TestApplication();
    Window w;
    w.form.ShowPlan(0);
    w.form.DrawDvhChart(0);
    ASSERT_EQ(w.form.StringGrid1->rowCount(), 3);
    EXPECT_EQ(w.Cell(0, 0), "PTV");
    EXPECT_EQ(w.Cell(0, 1), "D50% [Gy]");
    EXPECT_EQ(w.Cell(0, 2), "27.50");
    EXPECT_EQ(w.Cell(1, 0), "");
    EXPECT_EQ(w.Cell(1, 2), "25.00");
    EXPECT_EQ(w.Cell(2, 2), "");
    EXPECT_EQ(w.form.IndexRowColor, (std::vector<TColor>{RgbColor(255, 0, 0), 0, 0}));
    w.form.CopytoClipboard1Click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              "Patient Name\tDoe^Jane\nPatient ID\tP-001\nPlan\tProstate1\n\n"
              "Structure\tIndex\tValue\n"
              "PTV\tD50% [Gy]\t27.50\n"
              "\tMean dose [Gy]\t25.00\n"
              "Missing\tMean dose [Gy]\t\n");
    // No list chosen: the cells are emptied.
    w.form.ComboBox1->setCurrentIndex(-1);
    w.form.ComboBox1Change();
    EXPECT_EQ(w.Cell(0, 2), "");
}

TEST(TForm1Index, ValueColumnIsAWindowColouredColumnOnTheGreyGrid) {
    TestApplication();
    Window w;
    w.form.resize(1200, 800);
    w.form.show();
    w.form.ShowPlan(0);
    w.form.DrawDvhChart(0);
    ASSERT_FALSE(w.form.IndexGridEditMode());
    QTableWidget* grid = w.form.StringGrid1;
    const QImage shot = grid->viewport()->grab().toImage();
    // Bottom-right corner of each cell of the first row, clear of its text and grid lines.
    const auto background = [&](int col) {
        const QRect r = grid->visualItemRect(grid->item(0, col));
        return shot.pixelColor(r.right() - 3, r.bottom() - 3);
    };
    const QColor window = QGuiApplication::palette().color(QPalette::Active, QPalette::Base);
    const QColor face = QGuiApplication::palette().color(QPalette::Active, QPalette::Button);
    ASSERT_NE(window, face);
    EXPECT_EQ(background(2), window);  // the value column
    EXPECT_EQ(background(1), face);    // the rest of the grid keeps its face colour
}

TEST(TForm1Index, GuideMarkSitsOnTheChartAtTheConstraint) {
    TestApplication();
    Window w;
    w.form.show();  // the chart gets its designed size
    QApplication::processEvents();
    w.form.ShowPlan(0);
    w.form.DrawDvhChart(0);  // relative dose and volume by default
    QCustomPlot* chart = w.form.Chart1;
    chart->replot();
    const QImage image = chart->toPixmap(chart->width(), chart->height()).toImage();
    ASSERT_GT(chart->graphCount(), 0);
    // D50% >= 30 Gy on a % / % chart: the corner at (60 %, 50 %), arms down and left.
    const int x = static_cast<int>(std::lround(chart->graph(0)->keyAxis()->coordToPixel(60)));
    const int y = static_cast<int>(std::lround(chart->graph(0)->valueAxis()->coordToPixel(50)));
    const QColor blue(0, 0, 255);
    EXPECT_EQ(image.pixelColor(x, y + 7), blue);
    EXPECT_EQ(image.pixelColor(x - 6, y), blue);
    EXPECT_NE(image.pixelColor(x, y - 7), blue);
}

TEST(TForm1Index, QuickIndexPanel) {
    TestApplication();
    Window w;
    w.form.ShowPlan(0);
    w.form.ComboBox2->setCurrentIndex(0);
    w.form.ComboBox3->setCurrentIndex(1);  // "D**%  ---  [Gy]"
    w.form.ComboBox3Change();
    QTest::keyClicks(w.form.Edit1, "5-x,0.");  // only digits and one point stay
    EXPECT_EQ(w.form.Edit1->text(), "50.");
    EXPECT_EQ(w.form.Edit2->text(), "27.5");
    w.form.Edit1->selectAll();
    QTest::keyClick(w.form.Edit1, '.');  // a selected point still counts
    EXPECT_EQ(w.form.Edit1->text(), "50.");
    QTest::keyClick(w.form.Edit1, Qt::Key_Backspace);
    EXPECT_EQ(w.form.Edit1->text(), "");
    EXPECT_EQ(w.form.Edit2->text(), "27.5");  // an emptied value keeps the result
    // Keys that type no character keep their usual work.
    w.form.Edit1->setText("50");
    w.form.Edit1->setCursorPosition(0);
    QTest::keyClick(w.form.Edit1, Qt::Key_Delete);
    EXPECT_EQ(w.form.Edit1->text(), "0");
    for (const auto& [key, text] : {std::pair{Qt::Key_Tab, "\t"}, {Qt::Key_Return, "\r"},
                                    {Qt::Key_Escape, "\x1b"}, {Qt::Key_Delete, "\x7f"}}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString::fromLatin1(text));
        EXPECT_FALSE(w.form.Edit1KeyPress(&press)) << key;
    }
    w.form.ComboBox3->setCurrentIndex(9);  // "mean dose [Gy]"
    w.form.ComboBox3Change();
    EXPECT_TRUE(w.form.Edit1->isReadOnly());
    EXPECT_EQ(w.form.Edit2->text(), "25");
    // Refilled structures: no selection, and no number left beside a plan it was not
    // computed for; neither after the list is cleared.
    w.form.ShowPlan(0);
    EXPECT_EQ(w.form.ComboBox2->currentIndex(), -1);
    EXPECT_EQ(w.form.Edit2->text(), "");
    w.form.ComboBox2->setCurrentIndex(0);
    w.form.ComboBox2Change();
    EXPECT_EQ(w.form.Edit2->text(), "25");
    w.form.ClearList1Click();
    EXPECT_EQ(w.form.Edit2->text(), "");
}

TEST(TForm1Index, QuickIndexKindsAndDecimals) {
    TestApplication();
    Window w;
    ASSERT_EQ(w.form.ComboBox3->count(), 17);
    EXPECT_EQ(w.form.ComboBox3->currentIndex(), 0);  // starts on the first kind
    EXPECT_EQ(w.form.ComboBox3->itemText(3), "D**cc ---  [Gy]");
    EXPECT_EQ(w.form.ComboBox3->itemText(16), "Conformity Index");
    w.form.ShowPlan(0);
    w.form.ComboBox2->setCurrentIndex(0);
    w.form.ComboBox3->setCurrentIndex(1);  // dose in Gy at a volume in %
    w.form.ComboBox3Change();
    // D41.1%: segment 20 Gy / 80 % to 30 Gy / 40 %; the float 41.0999985 gives
    // 20 + 10 x 38.9000015 / 40 = 29.7250004: 29.73 with 2 decimals, 29.725 with 3.
    QTest::keyClicks(w.form.Edit1, "41.1");
    EXPECT_EQ(w.form.Edit2->text(), "29.73");
    w.form.ComboBox2Change();  // picking the structure shows 3 decimals
    EXPECT_EQ(w.form.Edit2->text(), "29.725");
    w.form.ComboBox3Change();  // the kind again: 2
    EXPECT_EQ(w.form.Edit2->text(), "29.73");
}

TEST(TForm1Index, GridKeysActInTheEditingLayoutOnly) {
    TestApplication();
    Window w;
    w.form.ComboBox1->setCurrentIndex(0);
    w.form.ComboBox1Change();
    w.form.StringGrid1->setCurrentCell(0, 0);  // viewing layout: the selection is not recorded
    EXPECT_EQ(w.form.SelectedIndexRow, 0);  // still the start value
    w.form.ToolButton11->setChecked(true);
    w.form.StringGrid1->setCurrentCell(1, 0);
    EXPECT_EQ(w.form.SelectedIndexRow, 2);
    w.form.ToolButton11->setChecked(false);
    QTest::keyClick(w.form.StringGrid1, Qt::Key_Delete);  // viewing layout: nothing
    EXPECT_EQ(w.form.PlanListName[0].IndexData[1].Name, "PTV");
    w.form.ToolButton11->setChecked(true);
    QTest::keyClick(w.form.StringGrid1, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(w.form.IndexClipboard.Items, 9);
    EXPECT_FALSE(w.form.IndexClipboardCut);
    w.form.SelectedIndexRow = 3;
    QTest::keyClick(w.form.StringGrid1, Qt::Key_V, Qt::ControlModifier);  // overwrites row 3
    EXPECT_EQ(w.form.PlanListName[0].IndexData[2].Name, "PTV");
    EXPECT_TRUE(w.form.PlanListName[0].Modified);
    EXPECT_EQ(w.Cell(2, 2), "25.00");  // the grid was refilled
    QTest::keyClick(w.form.StringGrid1, Qt::Key_Delete);
    EXPECT_EQ(w.form.PlanListName[0].IndexData[2].Name, "");
    EXPECT_EQ(w.form.StringGrid1->rowCount(), 3);
}

TEST(TForm1Index, AClickAlwaysChoosesItsRowAndViewingKeysLeaveTheClipboard) {
    TestApplication();
    Window w;
    w.form.show();
    w.form.ComboBox1->setCurrentIndex(0);
    w.form.ComboBox1Change();
    QTableWidget* grid = w.form.StringGrid1;
    const auto click = [grid](int row) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualItemRect(grid->item(row, 1)).center());
    };
    click(0);  // viewing layout: not recorded, but the row becomes the table's current one
    w.form.ToolButton11->setChecked(true);
    click(0);
    EXPECT_EQ(w.form.SelectedIndexRow, 1);
    click(1);
    w.form.BUp->click();  // the chosen row moves up and stays chosen, highlighted
    EXPECT_EQ(w.form.SelectedIndexRow, 1);
    EXPECT_EQ(grid->currentRow(), 0);
    click(1);
    EXPECT_EQ(w.form.SelectedIndexRow, 2);

    w.form.ToolButton11->setChecked(false);
    QGuiApplication::clipboard()->setText("kept");
    for (const auto key : {Qt::Key_C, Qt::Key_X, Qt::Key_V})
        QTest::keyClick(grid, key, Qt::ControlModifier);
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "kept");
    EXPECT_EQ(w.form.PlanListName[0].IndexDataCount(), 3);
    EXPECT_EQ(w.form.PlanListName[0].IndexData[1].Name, "PTV");  // the chosen row, not cleared
}

}  // namespace
