// The index grid widget: writing the grid content into a QTableWidget, its value colours,
// reading its texts back and copying it to the clipboard.
#pragma once

#include "planlist/IndexGridModel.h"

#include <QStyledItemDelegate>

#include <functional>
#include <string>
#include <vector>

class QTableWidget;

/// Writes `content` into `grid`: row 0 of the content becomes the header labels, table row
/// r - 1 holds grid row r. Each cell keeps its exact bytes and each value cell the row's
/// constraint colour, so the clipboard and the painting read what the core built.
void FillIndexGrid(QTableWidget* grid, const IndexGridContent& content);

/// The designed width of the index-label column, in the index grid and the comparison table.
constexpr int IndexLabelColumnWidth = 115;

/// Gives `column` of `grid` its designed width, or more where one of its cells needs more to
/// show its text whole. The designed widths were measured for Windows' Tahoma, whose texts come
/// out a few pixels narrower than here.
void FitColumnToTexts(QTableWidget* grid, int column, int designedWidth);

/// Empties the cells of every row below the header (the row count stays).
void ClearIndexGridCells(QTableWidget* grid);

/// The grid's texts as displayed, the header first, each cell as its bytes.
std::vector<std::vector<std::string>> IndexGridCells(const QTableWidget* grid);

/// Puts the grid's clipboard text for `plan` on the system clipboard as plain text.
void CopyIndexGridToClipboard(const PDatasetClass& plan, const QTableWidget* grid);

/// Paints a cell's text whole at 2 pixels from its left and top edges, as the grid's column widths were
/// measured for; background, selection and focus as the style draws them.
class GridTextDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

/// Paints the value column in the viewing layout: a cell in the system window colour (white)
/// whatever the grid's own background, the row's constraint colour
/// (black when within bounds), text at 2 pixels from the left and top edges, the same for
/// selected and focused cells. In the editing layout the default painting is kept.
class IndexValueDelegate : public QStyledItemDelegate {
public:
    IndexValueDelegate(std::function<bool()> editMode, QObject* parent);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    std::function<bool()> m_editMode;
};

/// Item data roles of the grid's cells.
enum IndexGridRole {
    IndexGridBytesRole = Qt::UserRole + 1,  // QByteArray: the cell's exact text
    IndexGridColorRole,                     // int TColor: the value's font colour
};
