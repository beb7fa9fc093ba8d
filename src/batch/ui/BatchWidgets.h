// What the batch windows share: placed widgets, the plan lists and their stable column sort,
// the information box.
#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

#include <string>
#include <utility>

class QPushButton;
class QTreeWidget;
class QWidget;

/// A new widget of `parent` with its object name and place.
template <class W, class... Args>
W* Placed(QWidget* parent, const char* name, const QRect& geometry, Args&&... args) {
    auto* w = new W(std::forward<Args>(args)..., parent);
    w->setObjectName(name);
    w->setGeometry(geometry);
    return w;
}

/// A push button that Enter does not press.
QPushButton* BatchButton(QWidget* parent, const char* name, const char* text, int x, int y, int width = 80);

/// A read-only list of plans, one row each, with clickable column titles `labels`.
QTreeWidget* BatchPlanList(QWidget* parent, const QStringList& labels, const QRect& geometry, int columnWidth);

/// Sorts the rows of `list` by the text of `column` (letters a-z folded, then bytes), keeping
/// rows of equal text in their order. Ticks and selection go with their rows.
void SortListViewRows(QTreeWidget* list, int column, bool ascending);

/// The rows' texts of `column` as bytes (what the core compares and keys).
std::string RowText(const QTreeWidget* list, int row, int column);

/// An information box with an OK button, shown without a modal loop over `parent`.
void ShowBatchMessage(QWidget* parent, const QString& text, const QString& caption, const QString& objectName);
