// The main window's index grid: refilling it, its selection, keys and clipboard copy, and the
// constraint marks over the DVH chart.
#include "app/TForm1.h"

#include "planlist/IndexGridModel.h"
#include "planlist/ui/ConstraintGuideLayer.h"
#include "planlist/ui/IndexGridView.h"
#include "planlist/ui/KeyPressHook.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>

#include <qcustomplot.h>

#include <algorithm>

void TForm1::SetUpIndexViews() {
    StringGrid1->setItemDelegate(new GridTextDelegate(StringGrid1));
    StringGrid1->setItemDelegateForColumn(
        2, new IndexValueDelegate([this] { return IndexGridEditMode(); }, StringGrid1));
    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName("PopupMenu2");
    CopytoClipboard1 = PopupMenu2->addAction("Copy to Clipboard");
    CopytoClipboard1->setObjectName("CopytoClipboard1");
    connect(CopytoClipboard1, &QAction::triggered, this, &TForm1::CopytoClipboard1Click);
    connect(StringGrid1, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        PopupMenu2->popup(StringGrid1->viewport()->mapToGlobal(pos));
    });
    connect(StringGrid1, &QTableWidget::currentCellChanged, this,
            [this](int row, int col, int, int) {
                if (row >= 0) StringGrid1SelectCell(col, row + 1);
            });
    // A click on the cell that is current already moves nothing, yet it is the user's choice
    // of row (after Up/Down moved the selected row, or after switching to the editing layout).
    connect(StringGrid1, &QTableWidget::cellPressed, this,
            [this](int row, int col) { StringGrid1SelectCell(col, row + 1); });
    new KeyPressHook(StringGrid1, [this](QKeyEvent* key) { return StringGrid1KeyDown(key); });
    connect(ComboBox1, &QComboBox::activated, this, [this](int) { ComboBox1Change(); });

    new KeyPressHook(Edit1, [this](QKeyEvent* key) { return Edit1KeyPress(key); });
    connect(Edit1, &QLineEdit::textChanged, this, &TForm1::Edit1Change);
    // Only the user's choices recalculate: refilling the structures for another plan does not.
    connect(ComboBox3, &QComboBox::activated, this, &TForm1::ComboBox3Change);
    connect(ComboBox2, &QComboBox::activated, this, &TForm1::ComboBox2Change);

    auto* guides = new ConstraintGuideLayer(Chart1, [this](QCPPainter* painter) { Chart1AfterDraw(painter); });
    m_guideLayer = guides->layer();
    m_guideLayer->setMode(QCPLayer::lmBuffered);
}

void TForm1::ComboBox1Change() {
    ClearIndexGridCells(StringGrid1);
    const int listIndex = SelectedPlanList();
    if (listIndex >= 0) UpdateIndexGrid(listIndex);
    const PlanListNameClass* chosen = listIndex >= 0 ? &PlanListName[listIndex] : nullptr;
    for (QPushButton* button : ListEditButtons())
        button->setEnabled(chosen && (!chosen->Lock || button == BCopyList || button == BKey));
}

void TForm1::UpdateIndexGrid(int listIndex) {
    if (listIndex < 0 || listIndex >= PlanListNameCount()) return;
    const PDatasetClass* plan = CurrentPlanIndex > -1 && CurrentPlanIndex < PDatasetCount()
                                    ? &PDataset[CurrentPlanIndex]
                                    : nullptr;
    const IndexGridContent grid = BuildIndexGrid(PlanListName[listIndex], plan, CaseSensitiveNow());
    IndexRowColor = grid.RowColor;
    {
        // Refilling moves the table's current cell; that is no selection by the user.
        const QSignalBlocker quiet(StringGrid1);
        FillIndexGrid(StringGrid1, grid);
        FitColumnToTexts(StringGrid1, 1, IndexLabelColumnWidth);
        // The highlighted row is the one the row commands act on (Up/Down move it).
        if (IndexGridEditMode() && SelectedIndexRow >= 1 && SelectedIndexRow <= StringGrid1->rowCount())
            StringGrid1->setCurrentCell(SelectedIndexRow - 1, std::max(0, StringGrid1->currentColumn()));
    }
    StringGrid1->viewport()->update();
    StringGrid1SelectCell(2, SelectedIndexRow);
}

void TForm1::StringGrid1SelectCell(int /*col*/, int row) {
    if (!IndexGridEditMode() || ComboBox1->currentText().isEmpty()) return;
    StringGrid1->viewport()->update();
    SelectedIndexRow = row;
}

bool TForm1::StringGrid1KeyDown(QKeyEvent* key) {
    const bool ctrl = key->modifiers() & Qt::ControlModifier;
    const int code = key->key();
    const bool known = code == Qt::Key_Delete ||
                       (ctrl && (code == Qt::Key_C || code == Qt::Key_X || code == Qt::Key_V));
    if (!known) return false;
    // In the viewing layout the keys do nothing: the table's own Ctrl+C would put one cell
    // on the system clipboard in place of what the user copied there.
    if (!IndexGridEditMode()) return true;
    PlanListNameClass* list = nullptr;
    if (const int i = SelectedPlanList(); i >= 0 && !PlanListName[i].Lock) list = &PlanListName[i];
    bool changed = false;
    if (code == Qt::Key_Delete)
        changed = DeleteKeyOnIndexRow(list, SelectedIndexRow, m_indexRowClipboard);
    else if (code == Qt::Key_C)
        CopyIndexRowToClipboard(list, SelectedIndexRow, m_indexRowClipboard);
    else if (code == Qt::Key_X)
        changed = CutIndexRowToClipboard(list, SelectedIndexRow, m_indexRowClipboard);
    else
        changed = PasteIndexRowFromClipboard(list, SelectedIndexRow, m_indexRowClipboard);
    IndexClipboard = m_indexRowClipboard.Row;
    IndexClipboardCut = m_indexRowClipboard.Cut;
    if (changed) UpdateIndexGrid(static_cast<int>(list - PlanListName.data()));
    return true;
}

void TForm1::CopytoClipboard1Click() {
    if (CurrentPlanIndex < 0 || CurrentPlanIndex >= PDatasetCount()) return;
    CopyIndexGridToClipboard(PDataset[CurrentPlanIndex], StringGrid1);
}

void TForm1::DrawConstraintGuides(int planIndex, QPainter* painter) {
    const GuideAxes axes{RadioGroupIndex(RadioGroup1) == 0, RadioGroupIndex(RadioGroup2) == 0};
    PaintPlanConstraintGuides(painter, Chart1, *this, planIndex, axes);
}

void TForm1::Chart1AfterDraw(QPainter* painter) { DrawConstraintGuides(CurrentPlanIndex, painter); }
