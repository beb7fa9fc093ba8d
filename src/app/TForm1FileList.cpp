// The open-file list view: refilling, sorting by column, keys, deleting files to the desktop
// trash and the list reset.
#include "app/TForm1.h"

#include "app/ChartCurveCache.h"
#include "app/Forms.h"
#include "widgets/TextBytes.h"
#include "compare/ui/TFormComp.h"
#include "dvh/FileListOrder.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTreeWidget>
#include <qcustomplot.h>

#include <algorithm>

namespace {

// Each row remembers the entry it was made from and that entry's file, so a command on the
// row acts on exactly that file even when two entries share a key.
constexpr int kEntryRole = Qt::UserRole;
constexpr int kPathRole = Qt::UserRole + 1;

}  // namespace

void TForm1::RefillFileList() {
    ListView1->clear();
    QList<QTreeWidgetItem*> rows;
    for (int i = 0; i < OpenFileCount(); ++i) {
        auto* row = new QTreeWidgetItem;
        for (int c = 0; c < FileListColumnCount; ++c)
            row->setText(c, FromBytes(FileListCellText(OpenFile[i], c)));
        row->setData(0, kEntryRole, i);
        row->setData(0, kPathRole, QByteArray::fromStdString(OpenFile[i].FilePath));
        rows.push_back(row);
    }
    ListView1->addTopLevelItems(rows);
    SortFileList(SortAfterRefill(FileListSortColumn, FileListSortFlag));
}

void TForm1::OpenFilesChanged() {
    // A read changed an entry's names under the user's selected row: the row stays selected, so
    // that Reload or OK act on it again.
    const QTreeWidgetItem* current = ListView1->currentItem();
    const int selected = current && current->isSelected() ? RowEntry(current) : -1;
    RefillFileList();
    for (int i = 0; selected >= 0 && i < ListView1->topLevelItemCount(); ++i)
        if (QTreeWidgetItem* row = ListView1->topLevelItem(i); RowEntry(row) == selected) {
            ListView1->setCurrentItem(row);
            row->setSelected(true);
        }
}

void TForm1::ListView1ColumnClick(int column) {
    SortFileList(ClickSortColumn(FileListSortColumn, FileListSortFlag, FileListColumnCount, column));
}

void TForm1::SortFileList(bool ascending) {
    QTreeWidgetItem* current = ListView1->currentItem();
    const bool selected = current && current->isSelected();
    QList<QTreeWidgetItem*> rows;
    while (ListView1->topLevelItemCount() > 0) rows.push_back(ListView1->takeTopLevelItem(0));
    const int column = FileListSortColumn;
    std::stable_sort(rows.begin(), rows.end(), [&](QTreeWidgetItem* a, QTreeWidgetItem* b) {
        return CompareFileListText(a->text(column).toStdString(), b->text(column).toStdString(),
                                   ascending) < 0;
    });
    ListView1->addTopLevelItems(rows);
    if (current) {
        ListView1->setCurrentItem(current);
        current->setSelected(selected);
    }
}

std::string TForm1::RowKey(const QTreeWidgetItem* item) const {
    const int e = RowEntry(item);
    if (e >= 0) return OpenFile[e].Key;
    return FileListRowKey(ToBytes(item->text(FileListPatientID)), ToBytes(item->text(FileListPlanID)),
                          ToBytes(item->text(FileListDateTime)));
}

int TForm1::RowEntry(const QTreeWidgetItem* item) const {
    bool ok = false;
    const int e = item->data(0, kEntryRole).toInt(&ok);
    if (!ok || e < 0 || e >= OpenFileCount()) return -1;
    if (OpenFile[e].FilePath != item->data(0, kPathRole).toByteArray().toStdString()) return -1;
    return e;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ListView1 && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete && (key->modifiers() & Qt::ControlModifier)) {
            ListView1KeyDown(key->key(), key->modifiers());
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::ListView1KeyDown(int key, Qt::KeyboardModifiers shift) {
    if (ListView1->topLevelItemCount() == 0 || key != Qt::Key_Delete) return;
    if ((shift & Qt::ControlModifier) && (shift & Qt::ShiftModifier)) {
        // Delete ALL; a cancelled question deletes nothing, not even the selected file.
        DeleteAll1Click();
        return;
    }
    if (shift & Qt::ControlModifier) Delete1Click();
}

bool TForm1::DeleteFilesToRecycleBin(const std::string& path) {
    // Only a full path names a file for sure: plans built from the clipboard carry the
    // placeholder "temp", which must never reach a file of that name in the working folder.
    if (path.empty() || path[0] != '/') return false;
    return MoveToTrash(path);
}

void TForm1::Delete1Click() {
    QTreeWidgetItem* row = ListView1->currentItem();
    if (!row || !row->isSelected() || FileReadDepth > 0) return;
    const std::string path = row->data(0, kPathRole).toByteArray().toStdString();
    if (DeleteFilesToRecycleBin(path)) delete row;
}

void TForm1::DeleteAll1Click() {
    if (ListView1->topLevelItemCount() == 0 || FileReadDepth > 0) return;
    AskOkCancel("DeleteAllBox", "Do you really want to delete all files?", "Delete", [this] {
        if (FileReadDepth > 0) return;
        for (int i = ListView1->topLevelItemCount() - 1; i >= 0; --i) {
            QTreeWidgetItem* row = ListView1->topLevelItem(i);
            ListView1->setCurrentItem(row);
            if (DeleteFilesToRecycleBin(row->data(0, kPathRole).toByteArray().toStdString()))
                delete row;
        }
        ListReset(true);
    });
}

void TForm1::ClearList1Click() { ListReset(false); }

bool TForm1::ListReset(bool clearIndexRowColor) {
    if (!ResetLists(clearIndexRowColor)) {
        StatusText("The list cannot be cleared while a file is being read.");
        return false;
    }
    Chart1->clearGraphs();
    StructureSeries.clear();
    m_curveCache->Clear();
    Chart1->replot();
    ListView1->clear();
    ComboBox2->clear();
    Edit2->clear();
    ComboBox1Change();
    for (QLabel* label : {LabelPName, LabelPID, LabelPlanName, LabelPlanID, LabelPrescDose})
        label->setText("");
    // The comparison must not keep plans that are gone.
    if (FormComp) FormComp->MainPlansChanged();
    return true;
}
