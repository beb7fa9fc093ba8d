// The fixed columns of a grid: a second view of its model laid over its left edge.
#include "compare/ui/FixedColumnsView.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>

namespace {

/// The first of `stops` at or after `value`, or the last.
int StopFrom(const std::vector<int>& stops, int value) {
    const auto at = std::lower_bound(stops.begin(), stops.end(), value);
    return at == stops.end() ? stops.back() : *at;
}

/// The last of `stops` at or before `value`, or the first.
int StopUpTo(const std::vector<int>& stops, int value) {
    const auto after = std::upper_bound(stops.begin(), stops.end(), value);
    return after == stops.begin() ? stops.front() : *(after - 1);
}

int NearestStop(const std::vector<int>& stops, int value) {
    const int up = StopFrom(stops, value), down = StopUpTo(stops, value);
    return up - value < value - down ? up : down;
}

}  // namespace

FixedColumnsGrid::FixedColumnsGrid(int count, QWidget* parent) : QTableWidget(parent), m_count(count) {}

void FixedColumnsGrid::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (index.column() >= m_count) {
        QTableWidget::scrollTo(index, hint);
        return;
    }
    // Only the row of a fixed cell is scrolled to: the table would take the scrolling columns
    // back to the first to reach the fixed cell's place, and that move is undone before anything
    // follows it.
    QScrollBar* sideways = horizontalScrollBar();
    const QSignalBlocker unseen(sideways);
    const int kept = sideways->value();
    QTableWidget::scrollTo(index, hint);
    sideways->setValue(kept);
}

void FixedColumnsGrid::keyPressEvent(QKeyEvent* event) {
    // Home, with Ctrl or without, goes to the start of the table: the first scrolling columns too.
    if (event->key() == Qt::Key_Home) horizontalScrollBar()->setValue(0);
    QTableWidget::keyPressEvent(event);
}

FixedColumnsView::FixedColumnsView(FixedColumnsGrid* grid)
    : QTableView(grid), m_grid(grid), m_count(grid->FixedCount()) {
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
    // By pixel, so that the scroll value is the columns' offset and a column can be placed at
    // the fixed edge rather than at the grid's; the stops below keep it on whole columns.
    grid->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Above the grid's cells, below its scroll bars.
    grid->viewport()->stackUnder(this);

    connect(verticalScrollBar(), &QScrollBar::valueChanged, grid->verticalScrollBar(), &QScrollBar::setValue);
    connect(grid->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(), &QScrollBar::setValue);
    QScrollBar* sideways = grid->horizontalScrollBar();
    // The grid sets the range it would scroll by pixel whenever its geometry changes; the range
    // is made to end at the last stop before that value is bounded by it.
    connect(sideways, &QScrollBar::rangeChanged, this, &FixedColumnsView::FitScrollRange);
    connect(sideways, &QScrollBar::actionTriggered, this, &FixedColumnsView::SnapScrollAction);
    connect(sideways, &QScrollBar::valueChanged, this, &FixedColumnsView::SnapScrollValue);
    connect(grid->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int width) {
        if (column < m_count) {
            setColumnWidth(column, width);
            PlaceOverGrid();
        }
        FitScrollRange();
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
    if ((watched == m_grid || watched == m_grid->viewport()) && event->type() == QEvent::Resize) {
        PlaceOverGrid();
        FitScrollRange();
    }
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
    if (!current.isValid()) return;
    // A fixed cell is in view wherever the others stand (the grid scrolls to its row only).
    if (current.column() < m_count) return;
    QScrollBar* sideways = m_grid->horizontalScrollBar();
    const int hidden = FixedWidth() - m_grid->visualRect(current).left();
    if (hidden > 0) sideways->setValue(sideways->value() - hidden);
}

std::vector<int> FixedColumnsView::ScrollStops() const {
    const QHeaderView* header = m_grid->horizontalHeader();
    const int fixed = FixedWidth();
    const int room = m_grid->viewport()->width() - fixed;  // what the scrolling columns are shown in
    const int end = header->length() - fixed;
    std::vector<int> stops{0};
    for (int visual = m_count; visual < header->count() && stops.back() + room < end; ++visual) {
        const int column = header->logicalIndex(visual);
        if (header->isSectionHidden(column)) continue;
        const int stop = header->sectionPosition(column) - fixed;
        if (stop > stops.back()) stops.push_back(stop);
    }
    return stops;
}

void FixedColumnsView::FitScrollRange() {
    QScrollBar* sideways = m_grid->horizontalScrollBar();
    const std::vector<int> stops = ScrollStops();
    sideways->setRange(0, stops.back());
    // Columns resized or gone: the columns shown stay, the first of them at the fixed edge.
    if (!std::binary_search(stops.begin(), stops.end(), sideways->value()))
        sideways->setValue(StopUpTo(stops, sideways->value()));
}

void FixedColumnsView::SnapScrollAction(int action) {
    QScrollBar* sideways = m_grid->horizontalScrollBar();
    const std::vector<int> stops = ScrollStops();
    const int from = sideways->value(), to = sideways->sliderPosition();
    const int room = m_grid->viewport()->width() - FixedWidth();
    int stop = to;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: stop = StopFrom(stops, from + 1); break;
    case QAbstractSlider::SliderSingleStepSub: stop = StopUpTo(stops, from - 1); break;
    // A page on brings the column cut at the right edge to the fixed edge; a page back undoes it.
    case QAbstractSlider::SliderPageStepAdd:
        stop = std::max(StopFrom(stops, from + 1), StopUpTo(stops, from + room));
        break;
    case QAbstractSlider::SliderPageStepSub:
        stop = std::min(StopUpTo(stops, from - 1), StopFrom(stops, from - room));
        break;
    default:
        // A dragged slider goes to the stop nearest the mouse; a wheel turn moves on by at
        // least one column, however small.
        if (sideways->isSliderDown() || to == from) stop = NearestStop(stops, to);
        else stop = to > from ? StopFrom(stops, to) : StopUpTo(stops, to);
    }
    sideways->setSliderPosition(stop);
}

void FixedColumnsView::SnapScrollValue(int value) {
    const std::vector<int> stops = ScrollStops();
    if (std::binary_search(stops.begin(), stops.end(), value)) {
        m_scroll = value;
        return;
    }
    m_grid->horizontalScrollBar()->setValue(value > m_scroll ? StopFrom(stops, value) : StopUpTo(stops, value));
}
