// The index grid widget: writing the grid content into a QTableWidget, its value colours,
// reading its texts back and copying it to the clipboard.
#include "planlist/ui/IndexGridView.h"
#include "dialogs/QtColor.h"

#include "widgets/TextBytes.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPainter>
#include <QTableWidget>

#include <algorithm>
#include <cmath>

namespace {

QTableWidgetItem* CellItem(const std::string& bytes) {
    auto* item = new QTableWidgetItem(FromBytes(bytes));
    item->setData(IndexGridBytesRole, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);  // not editable in place
    return item;
}

std::string CellBytes(const QTableWidgetItem* item) {
    if (!item) return {};
    const QVariant bytes = item->data(IndexGridBytesRole);
    if (bytes.isValid()) {
        const QByteArray b = bytes.toByteArray();
        return std::string(b.constData(), static_cast<std::size_t>(b.size()));
    }
    return ToBytes(item->text());
}


}  // namespace

void FillIndexGrid(QTableWidget* grid, const IndexGridContent& content) {
    const int rows = content.RowCount() - 1;
    grid->setColumnCount(3);
    QStringList header;
    for (const std::string& title : content.Cells.empty() ? IndexGridHeader() : content.Cells[0])
        header << FromBytes(title);
    grid->setHorizontalHeaderLabels(header);
    grid->setRowCount(rows > 0 ? rows : 0);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < 3; ++c) grid->setItem(r, c, CellItem(content.Cells[r + 1][c]));
        const TColor color = r < static_cast<int>(content.RowColor.size()) ? content.RowColor[r] : 0;
        grid->item(r, 2)->setData(IndexGridColorRole, color);
    }
}

void FitColumnToTexts(QTableWidget* grid, int column, int designedWidth) {
    // The view asks each cell's delegate how wide it must be, and adds the grid line.
    const int needed = static_cast<QAbstractItemView*>(grid)->sizeHintForColumn(column);
    grid->setColumnWidth(column, std::max(designedWidth, needed));
}

void ClearIndexGridCells(QTableWidget* grid) {
    for (int r = 0; r < grid->rowCount(); ++r)
        for (int c = 0; c < grid->columnCount(); ++c) grid->setItem(r, c, CellItem(""));
}

std::vector<std::vector<std::string>> IndexGridCells(const QTableWidget* grid) {
    std::vector<std::vector<std::string>> cells(grid->rowCount() + 1);
    for (int c = 0; c < grid->columnCount(); ++c) {
        const QTableWidgetItem* h = grid->horizontalHeaderItem(c);
        cells[0].push_back(h ? ToBytes(h->text()) : std::string());
    }
    for (int r = 0; r < grid->rowCount(); ++r)
        for (int c = 0; c < grid->columnCount(); ++c) cells[r + 1].push_back(CellBytes(grid->item(r, c)));
    return cells;
}

void CopyIndexGridToClipboard(const PDatasetClass& plan, const QTableWidget* grid) {
    const std::string text = IndexGridClipboardText(plan, IndexGridCells(grid));
    QGuiApplication::clipboard()->setText(FromBytes(text));
}

void GridTextDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    QStyleOptionViewItem cell(option);
    initStyleOption(&cell, index);
    const QString text = cell.text;
    cell.text.clear();
    const QWidget* view = option.widget;
    (view ? view->style() : QApplication::style())
        ->drawControl(QStyle::CE_ItemViewItem, &cell, painter, view);
    // The style would keep a wider margin and shorten "Homogeneity Index" to fit it.
    painter->save();
    painter->setClipRect(option.rect);
    painter->setFont(cell.font);
    const QPalette::ColorGroup group = !(cell.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (cell.state & QStyle::State_Active) ? QPalette::Active
                                                                             : QPalette::Inactive;
    const bool selected = cell.state & QStyle::State_Selected;
    painter->setPen(cell.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(option.rect.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, text);
    painter->restore();
}

QSize GridTextDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem cell(option);
    initStyleOption(&cell, index);
    const QFontMetricsF metrics(cell.font);
    // The text's own width between the two pixels this delegate leaves on either side.
    const int width = static_cast<int>(std::ceil(metrics.horizontalAdvance(cell.text))) + 2 * 2;
    return {width, QStyledItemDelegate::sizeHint(option, index).height()};
}

IndexValueDelegate::IndexValueDelegate(std::function<bool()> editMode, QObject* parent)
    : QStyledItemDelegate(parent), m_editMode(std::move(editMode)) {}

void IndexValueDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    if (m_editMode && m_editMode()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    painter->save();
    // The system's window colour, not the grid's own background (button face): the values
    // stand out as a white column.
    painter->fillRect(option.rect, QGuiApplication::palette().color(QPalette::Active, QPalette::Base));
    const QVariant color = index.data(IndexGridColorRole);
    painter->setPen(color.isValid() ? ToQColor(color.toInt())
                                    : option.palette.color(QPalette::Active, QPalette::Text));
    painter->setFont(option.font);
    const QRect text = option.rect.adjusted(2, 2, 0, 0);
    painter->drawText(text, Qt::AlignLeft | Qt::AlignTop, index.data(Qt::DisplayRole).toString());
    painter->restore();
}
