// The fixed columns of a grid: its first columns stay in view while the others scroll sideways.
#pragma once

#include <QTableView>
#include <QTableWidget>

#include <vector>

/// A grid whose first `count` columns a `FixedColumnsView` keeps in view. Following its current
/// cell, it scrolls sideways only to a cell beside the fixed columns: a fixed cell is in view
/// wherever the others stand, so a click on one, or a key that moves within them, leaves the
/// scrolling columns where the user put them. Home goes back to the first of them.
class FixedColumnsGrid : public QTableWidget {
    Q_OBJECT
public:
    FixedColumnsGrid(int count, QWidget* parent);
    int FixedCount() const { return m_count; }
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    int m_count;
};

/// Laid over the left edge of `grid`, below its header's height, showing its fixed columns
/// from the same model and selection. It follows the grid's rows, scrolling and column
/// widths, so the grid reads as one table whose first columns never scroll out of view. A
/// click on a fixed cell is a click on the grid's cell (`cellClicked`).
///
/// The grid scrolls sideways by whole columns: at every position of its scroll bar, however it
/// got there (dragged, clicked, wheeled, or following the current cell), a scrolling column
/// starts exactly at the fixed columns' edge, so none is ever partly hidden under them and no
/// value shows without its leading digits. The last position shows the last column whole.
class FixedColumnsView : public QTableView {
    Q_OBJECT
public:
    explicit FixedColumnsView(FixedColumnsGrid* grid);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// Hides every column past the fixed ones (the grid's column count changes with its plans).
    void ShowFixedColumnsOnly();
    void PlaceOverGrid();
    /// A cell made current beside the fixed columns is scrolled out from under them.
    void KeepClearOfFixedColumns(const QModelIndex& current);
    int FixedWidth() const;

    /// The scroll values at which a scrolling column starts at the fixed edge, from 0 up to the
    /// first that shows the last column whole; ascending, never empty.
    std::vector<int> ScrollStops() const;
    /// Makes the scroll bar's range end at the last stop, and its value a stop.
    void FitScrollRange();
    /// Moves a scroll-bar action (step, page, drag, wheel) to a stop before it takes effect.
    void SnapScrollAction(int action);
    /// Moves a value set from outside (the grid following its current cell) on to a stop,
    /// past it in the direction it moved, so that the cell it was set for shows whole.
    void SnapScrollValue(int value);

    QTableWidget* m_grid;
    int m_count;
    int m_scroll = 0;  // the grid's last scroll value, always a stop
};
