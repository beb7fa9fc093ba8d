// The fixed item height of the program's list boxes: a delegate that answers one height.
#include "widgets/ItemHeight.h"

#include <QAbstractItemView>
#include <QListView>
#include <QStyledItemDelegate>

namespace {

class FixedHeightDelegate : public QStyledItemDelegate {
public:
    FixedHeightDelegate(int height, QObject* parent) : QStyledItemDelegate(parent), m_height(height) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), m_height};
    }

private:
    int m_height;
};

}  // namespace

void SetItemHeight(QAbstractItemView* list, int height) {
    list->setItemDelegate(new FixedHeightDelegate(height, list));
    // Every row is as high as the first, so the list need not ask each one.
    if (auto* rows = qobject_cast<QListView*>(list)) rows->setUniformItemSizes(true);
}
