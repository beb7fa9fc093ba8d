// The index grid widget: contents, exact bytes, value colours and the clipboard.
#include "planlist/ui/IndexGridView.h"

#include "UiTestMain.h"

#include <QImage>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace {

IndexGridContent SmallGrid() {
    IndexGridContent g;
    g.Cells = {IndexGridHeader(),
               {"PTV", "D95% [%]", "93.10"},
               {"", "Mean dose [Gy]", "Null"},
               {"R\xe9" "ctum", "V50Gy [%]", ""}};  // a Windows-1252 byte, not UTF-8
    g.RowColor = {RgbColor(255, 0, 0), 0, 0};
    return g;
}

TEST(IndexGridView, FillsRowsBelowTheHeaderAndKeepsTheBytes) {
    TestApplication();
    QTableWidget grid;
    FillIndexGrid(&grid, SmallGrid());
    ASSERT_EQ(grid.rowCount(), 3);
    ASSERT_EQ(grid.columnCount(), 3);
    EXPECT_EQ(grid.horizontalHeaderItem(0)->text(), "Structure");
    EXPECT_EQ(grid.horizontalHeaderItem(2)->text(), "Value");
    EXPECT_EQ(grid.item(0, 1)->text(), "D95% [%]");
    EXPECT_EQ(grid.item(1, 2)->text(), "Null");
    EXPECT_EQ(grid.item(2, 0)->text(), QString::fromUtf8("R\xc3\xa9" "ctum"));  // shown as é
    EXPECT_FALSE(grid.item(0, 0)->flags() & Qt::ItemIsEditable);
    const auto cells = IndexGridCells(&grid);
    ASSERT_EQ(cells.size(), 4u);
    EXPECT_EQ(cells[3][0], "R\xe9" "ctum");  // the original byte comes back
    EXPECT_EQ(cells[0][1], "Index");
    // A shorter list shrinks the grid; an empty one leaves the header only.
    FillIndexGrid(&grid, BuildIndexGrid(PlanListNameClass{}, nullptr, false));
    EXPECT_EQ(grid.rowCount(), 0);
    EXPECT_EQ(IndexGridCells(&grid).size(), 1u);
}

int RedPixels(const QImage& image, const QRect& rect) {
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 150 && c.green() < 90 && c.blue() < 90) ++n;
        }
    return n;
}

TEST(IndexGridView, ValueColumnPaintsConstraintColoursInViewModeOnly) {
    TestApplication();
    bool editMode = false;
    QTableWidget grid;
    grid.resize(400, 200);
    grid.setItemDelegateForColumn(2, new IndexValueDelegate([&] { return editMode; }, &grid));
    FillIndexGrid(&grid, SmallGrid());
    grid.selectRow(0);  // a selected row is painted the same way
    grid.show();
    const auto valueCell = [&](int row) {
        return grid.visualItemRect(grid.item(row, 2)).translated(grid.viewport()->pos());
    };
    QImage shot = grid.grab().toImage();
    EXPECT_GT(RedPixels(shot, valueCell(0)), 5);  // broken constraint: red text
    EXPECT_EQ(RedPixels(shot, valueCell(1)), 0);
    editMode = true;
    grid.viewport()->update();
    shot = grid.grab().toImage();
    EXPECT_EQ(RedPixels(shot, valueCell(0)), 0);
}

}  // namespace
