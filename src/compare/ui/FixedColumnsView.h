// The fixed columns of a grid: its first columns stay in view while the others scroll sideways.
#pragma once

#include <QTableView>

class QTableWidget;

/// Laid over the left edge of `grid`, below its header's height, showing `count` of its
/// columns from the same model and selection. It follows the grid's rows, scrolling and column
/// widths, so the grid reads as one table whose first columns never scroll out of view. A
/// click on a fixed cell is a click on the grid's cell (`cellClicked`).
class FixedColumnsView : public QTableView {
    Q_OBJECT
public:
    FixedColumnsView(QTableWidget* grid, int count);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// Hides every column past the fixed ones (the grid's column count changes with its plans).
    void ShowFixedColumnsOnly();
    void PlaceOverGrid();
    /// A cell made current beside the fixed columns is scrolled out from under them.
    void KeepClearOfFixedColumns(const QModelIndex& current);
    int FixedWidth() const;

    QTableWidget* m_grid;
    int m_count;
};
