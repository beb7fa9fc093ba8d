// Stable sorting of list-view rows and the batch windows' message boxes.
#include "batch/ui/BatchListView.h"

#include "dvh/FileListOrder.h"

#include <QMessageBox>
#include <QTreeWidget>

#include <algorithm>
#include <string>
#include <vector>

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
