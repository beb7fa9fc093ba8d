// What the batch windows' plan lists share: the stable column sort and the information box.
#pragma once

#include <QString>

class QTreeWidget;
class QWidget;

/// Sorts the rows of `list` by the text of `column` (letters a-z folded, then bytes), keeping
/// rows of equal text in their order. Ticks and selection go with their rows.
void SortListViewRows(QTreeWidget* list, int column, bool ascending);

/// The rows' texts of `column` as bytes (what the core compares and keys).
std::string RowText(const QTreeWidget* list, int row, int column);

/// An information box with an OK button, shown without a modal loop over `parent`.
void ShowBatchMessage(QWidget* parent, const QString& text, const QString& caption, const QString& objectName);
