// A combo box sorted by its items' case-folded texts.
#include "widgets/SortedComboBox.h"

#include <QComboBox>
#include <QStandardItemModel>

namespace {

constexpr int kSortKeyRole = Qt::UserRole + 77;

}  // namespace

void KeepSorted(QComboBox* box) {
    auto* model = qobject_cast<QStandardItemModel*>(box->model());
    model->setSortRole(kSortKeyRole);
    QObject::connect(model, &QAbstractItemModel::rowsInserted, box,
                     [box, model](const QModelIndex&, int first, int last) {
                         for (int row = first; row <= last; ++row) {
                             QStandardItem* item = model->item(row);
                             item->setData(item->text().toCaseFolded() + QChar(0) + item->text(), kSortKeyRole);
                         }
                         model->sort(0);
                         // A sorted list box never selects an item by itself: the first item
                         // added to an empty box stays unselected.
                         if (first == 0 && last == model->rowCount() - 1) box->setCurrentIndex(-1);
                     });
}
