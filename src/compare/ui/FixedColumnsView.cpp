// The fixed columns of a grid: a second view of its model laid over its left edge.
#include "compare/ui/FixedColumnsView.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableWidget>

#include <algorithm>

FixedColumnsView::FixedColumnsView(QTableWidget* grid, int count)
    : QTableView(grid), m_grid(grid), m_count(count) {
    setObjectName(grid->objectName() + "FixedColumns");
    setModel(grid->model());
    setSelectionModel(grid->selectionModel());
    setSelectionMode(grid->selectionMode());
    setSelectionBehavior(grid->selectionBehavior());
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The grid keeps the keyboard (its copy key and cursor) when a fixed cell is clicked.
    setFocusPolicy(Qt::NoFocus);
    setFrameShape(QFrame::NoFrame);
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(grid->verticalHeader()->defaultSectionSize());
    horizontalHeader()->setHighlightSections(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(grid->verticalScrollMode());
    // By pixel, so that every scrolling column can be brought out from under the fixed ones.
    grid->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Above the grid's cells, below its scroll bars.
    grid->viewport()->stackUnder(this);

    connect(verticalScrollBar(), &QScrollBar::valueChanged, grid->verticalScrollBar(), &QScrollBar::setValue);
    connect(grid->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(), &QScrollBar::setValue);
    connect(grid->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int width) {
        if (column >= m_count) return;
        setColumnWidth(column, width);
        PlaceOverGrid();
    });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int width) {
        if (column < m_count) m_grid->setColumnWidth(column, width);
    });
    connect(grid->verticalHeader(), &QHeaderView::sectionResized, this,
            [this](int row, int, int height) { setRowHeight(row, height); });
    for (auto changed : {&QAbstractItemModel::columnsInserted, &QAbstractItemModel::columnsRemoved})
        connect(model(), changed, this, [this] { ShowFixedColumnsOnly(); });
    connect(model(), &QAbstractItemModel::modelReset, this, &FixedColumnsView::ShowFixedColumnsOnly);
    connect(grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &FixedColumnsView::KeepClearOfFixedColumns);
    connect(this, &QTableView::clicked, grid,
            [grid](const QModelIndex& cell) { emit grid->cellClicked(cell.row(), cell.column()); });
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, grid, [this](const QPoint& at) {
        emit m_grid->customContextMenuRequested(m_grid->viewport()->mapFromGlobal(viewport()->mapToGlobal(at)));
    });
    grid->installEventFilter(this);
    grid->viewport()->installEventFilter(this);
    ShowFixedColumnsOnly();
}

bool FixedColumnsView::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == m_grid || watched == m_grid->viewport()) && event->type() == QEvent::Resize)
        PlaceOverGrid();
    return QTableView::eventFilter(watched, event);
}

void FixedColumnsView::ShowFixedColumnsOnly() {
    for (int c = 0; c < model()->columnCount(); ++c) {
        setColumnHidden(c, c >= m_count);
        if (c < m_count) setColumnWidth(c, m_grid->columnWidth(c));
    }
    PlaceOverGrid();
}

int FixedColumnsView::FixedWidth() const {
    int width = 0;
    for (int c = 0; c < m_count && c < m_grid->columnCount(); ++c) width += m_grid->columnWidth(c);
    return width;
}

void FixedColumnsView::PlaceOverGrid() {
    const QRect cells = m_grid->viewport()->geometry();
    const int top = m_grid->horizontalHeader()->geometry().top();
    horizontalHeader()->setFixedHeight(m_grid->horizontalHeader()->height());
    setGeometry(cells.left(), top, std::min(FixedWidth(), cells.width()), cells.bottom() + 1 - top);
}

void FixedColumnsView::KeepClearOfFixedColumns(const QModelIndex& current) {
    if (!current.isValid() || current.column() < m_count) return;
    const int hidden = FixedWidth() - m_grid->visualRect(current).left();
    if (hidden > 0) m_grid->horizontalScrollBar()->setValue(m_grid->horizontalScrollBar()->value() - hidden);
}
