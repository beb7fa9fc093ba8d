// Placed widgets, plan lists and their stable sorting, and the batch windows' message boxes.
#include "batch/ui/BatchWidgets.h"

#include "dvh/FileListOrder.h"

#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>
#include <string>
#include <vector>

QPushButton* BatchButton(QWidget* parent, const char* name, const char* text, int x, int y, int width) {
    auto* b = Placed<QPushButton>(parent, name, QRect(x, y, width, 28), text);
    b->setAutoDefault(false);
    return b;
}

QTreeWidget* BatchPlanList(QWidget* parent, const QStringList& labels, const QRect& geometry, int columnWidth) {
    auto* list = Placed<QTreeWidget>(parent, "ListView1", geometry);
    list->setColumnCount(static_cast<int>(labels.size()));
    list->setHeaderLabels(labels);
    list->setRootIsDecorated(false);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->header()->setSectionsClickable(true);
    for (int c = 0; c < labels.size(); ++c) list->setColumnWidth(c, columnWidth);
    return list;
}

std::string RowText(const QTreeWidget* list, int row, int column) {
    const QTreeWidgetItem* item = list->topLevelItem(row);
    return item ? item->text(column).toStdString() : std::string();
}

void SortListViewRows(QTreeWidget* list, int column, bool ascending) {
    QTreeWidgetItem* current = list->currentItem();
    std::vector<std::pair<std::string, QTreeWidgetItem*>> rows;
    while (list->topLevelItemCount() > 0) {
        QTreeWidgetItem* item = list->takeTopLevelItem(0);
        rows.emplace_back(item->text(column).toStdString(), item);
    }
    std::stable_sort(rows.begin(), rows.end(), [ascending](const auto& a, const auto& b) {
        return CompareFileListText(a.first, b.first, ascending) < 0;
    });
    for (const auto& row : rows) list->addTopLevelItem(row.second);
    if (current) list->setCurrentItem(current);
}

void ShowBatchMessage(QWidget* parent, const QString& text, const QString& caption, const QString& objectName) {
    auto* box = new QMessageBox(QMessageBox::Information, caption, text, QMessageBox::Ok, parent);
    box->setObjectName(objectName);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}
