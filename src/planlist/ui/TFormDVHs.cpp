// The DVH series editor: every change goes straight into the list in memory and marks it modified.
#include "planlist/ui/TFormDVHs.h"

#include "dvh/Workspace.h"
#include "planlist/ui/PlanListWindowHost.h"
#include "widgets/TextBytes.h"
#include "planlist/PlanListCommands.h"
#include "planlist/PlanListNaming.h"
#include "planlist/StructureDBEdit.h"
#include "planlist/ui/EditorChoices.h"
#include "planlist/ui/UserQuestion.h"

#include <QActionGroup>
#include <QColorDialog>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QTableWidgetItem* Cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

// Paints the cells plainly (no selection colour, so the swatches stay visible) and frames the
// selected database cell in red.
class SeriesCellDelegate : public QStyledItemDelegate {
public:
    SeriesCellDelegate(const TFormDVHs* form, QObject* parent)
        : QStyledItemDelegate(parent), m_form(form) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem plain = option;
        plain.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
        QStyledItemDelegate::paint(painter, plain, index);
        if (index.row() == m_form->SelectedRow && index.column() == m_form->SelectedCol &&
            m_form->SelectedRow >= 0 && index.row() < index.model()->rowCount() - 1) {
            painter->save();
            painter->setPen(QPen(QColor(255, 0, 0), 1));
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
            painter->restore();
        }
    }

private:
    const TFormDVHs* m_form;
};

}  // namespace

TFormDVHs::TFormDVHs(PlanListWindowHost* main)
    : QDialog(main->HostWindow()), m_host(main), m_main(&main->HostWorkspace()) {
    setObjectName("FormDVHs");
    setWindowTitle("DVH Series");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowStaysOnTopHint);

    StringGrid1 = new QTableWidget(this);
    StringGrid1->setObjectName("StringGrid1");
    StringGrid1->setColumnCount(6);
    StringGrid1->setHorizontalHeaderLabels({"Structure", "Color", "R", "G", "B", "Show graph"});
    const int widths[6] = {212, 62, 40, 40, 40, 70};
    for (int c = 0; c < 6; ++c) StringGrid1->setColumnWidth(c, widths[c]);
    StringGrid1->verticalHeader()->hide();
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);
    StringGrid1->setItemDelegate(new SeriesCellDelegate(this, StringGrid1));

    GroupBox1 = new QGroupBox("Add Structure", this);
    GroupBox1->setObjectName("GroupBox1");
    ComboBox1 = new QComboBox(GroupBox1);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    Button4 = new QPushButton("OK", GroupBox1);
    Button4->setObjectName("Button4");
    auto* add = new QHBoxLayout(GroupBox1);
    add->addWidget(ComboBox1, 1);
    add->addWidget(Button4);

    const NameChoiceMenu names = MakeNameChoiceMenu(this);
    PopupMenu1 = names.menu;
    CurrentPlan1 = names.currentPlan;
    All1 = names.all;

    PickColor = MakeColorPicker(this, ColorDialog1);

    Button1 = new QPushButton("Delete", this);
    Button1->setObjectName("Button1");
    Button3 = new QPushButton("OK", this);
    Button3->setObjectName("Button3");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addStretch(1);
    buttons->addWidget(Button3);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(StringGrid1, 1);
    layout->addWidget(GroupBox1);
    layout->addLayout(buttons);
    resize(500, 420);

    connect(StringGrid1, &QTableWidget::currentCellChanged, this,
            [this](int row, int col, int, int) { StringGrid1SelectCell(col, row + 1); });
    connect(StringGrid1, &QTableWidget::cellDoubleClicked, this,
            [this](int, int) { StringGrid1DblClick(); });
    connect(ComboBox1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(ComboBox1->mapToGlobal(at)); });
    connect(CurrentPlan1, &QAction::triggered, this, &TFormDVHs::CurrentPlan1Click);
    connect(All1, &QAction::triggered, this, &TFormDVHs::All1Click);
    connect(Button4, &QPushButton::clicked, this, &TFormDVHs::Button4Click);
    connect(Button1, &QPushButton::clicked, this, &TFormDVHs::Button1Click);
    connect(Button3, &QPushButton::clicked, this, &TFormDVHs::Button3Click);
}

PlanListNameClass* TFormDVHs::EditedList() {
    if (PlanListIndex < 0 || PlanListIndex >= m_main->PlanListNameCount()) return nullptr;
    return &m_main->PlanListName[static_cast<std::size_t>(PlanListIndex)];
}

void TFormDVHs::Open(int list) {
    if (list < 0 || list >= m_main->PlanListNameCount() ||
        m_main->PlanListName[static_cast<std::size_t>(list)].Lock)
        return;
    PlanListIndex = list;
    CurrentPlan1Click();
    SelectedRow = -1;
    SelectedCol = -1;
    FillSeriesGrid();
    show();
    raise();
}

void TFormDVHs::FillSeriesGrid() {
    const PlanListNameClass* list = EditedList();
    const int n = list ? list->StructureDBCount() : 0;
    const QSignalBlocker quiet(StringGrid1);
    StringGrid1->clearContents();
    StringGrid1->setRowCount(n + 1);
    for (int i = 0; i < n; ++i) {
        const StructureDBClass& s = list->StructureDB[static_cast<std::size_t>(i)];
        auto* name = Cell(FromBytes(s.Name));
        name->setFlags(Qt::ItemIsEnabled);  // the fixed column
        StringGrid1->setItem(i, 0, name);
        auto* swatch = Cell(QString());
        swatch->setBackground(QColor(s.ColorR, s.ColorG, s.ColorB));
        StringGrid1->setItem(i, 1, swatch);
        StringGrid1->setItem(i, 2, Cell(QString::number(s.ColorR)));
        StringGrid1->setItem(i, 3, Cell(QString::number(s.ColorG)));
        StringGrid1->setItem(i, 4, Cell(QString::number(s.ColorB)));
        StringGrid1->setItem(i, 5, Cell(s.View ? "true" : "false"));
    }
    for (int c = 0; c < 6; ++c) {
        auto* empty = Cell(QString());
        empty->setFlags(Qt::ItemIsEnabled);  // the last row cannot be selected
        StringGrid1->setItem(n, c, empty);
    }
    StringGrid1->viewport()->update();
}

void TFormDVHs::StringGrid1SelectCell(int col, int row) {
    SelectedRow = -1;
    SelectedCol = -1;
    if (row >= 1 && row < StringGrid1->rowCount()) {
        SelectedRow = row - 1;
        SelectedCol = col;
    }
    StringGrid1->viewport()->update();
}

void TFormDVHs::StringGrid1DblClick() {
    PlanListNameClass* list = EditedList();
    if (!list || SelectedRow < 0 || SelectedRow >= list->StructureDBCount() || SelectedCol < 1)
        return;
    if (SelectedCol == 5) {
        ToggleStructureDBView(*list, SelectedRow);
    } else {
        QColor color;
        if (PickColor && PickColor(color))
            SetStructureDBColor(*list, SelectedRow, RgbColor(color.red(), color.green(), color.blue()));
        else
            TouchStructureDB(*list, SelectedRow);  // a cancelled choice still counts as an edit
    }
    FillSeriesGrid();
}

void TFormDVHs::Button4Click() {
    PlanListNameClass* list = EditedList();
    if (!list) return;
    const QString shown = ComboBox1->currentText();
    const auto known = m_nameBytes.constFind(shown);
    const std::string name = known != m_nameBytes.constEnd() ? *known : ToBytes(shown);
    for (const StructureDBClass& s : list->StructureDB) {
        if (s.Name != name) continue;
        ShowUserMessage(this, BoxRole::Report, StructureRegisteredMessage(name), QMessageBox::Warning,
                        QMessageBox::Ok, "DuplicateStructureBox");
        ComboBox1->setFocus();
        return;
    }
    QColor color;
    if (PickColor && PickColor(color)) {
        // The colour dialog may have let the list go away meanwhile: look it up again.
        list = EditedList();
        if (list) AddStructureDBEntry(*list, name, RgbColor(color.red(), color.green(), color.blue()));
    }
    FillSeriesGrid();
}

void TFormDVHs::Button1Click() {
    PlanListNameClass* list = EditedList();
    if (!list || !DeleteStructureDBEntry(*list, SelectedRow)) return;
    FillSeriesGrid();
}

void TFormDVHs::Button3Click() { close(); }

void TFormDVHs::FillNames(const std::vector<std::string>& names, QAction* checked) {
    ComboBox1->clear();
    for (const std::string& n : names) {
        m_nameBytes.insert(FromBytes(n), n);
        ComboBox1->addItem(FromBytes(n));
    }
    checked->setChecked(true);
    ComboBox1->update();
    ComboBox1->setFocus();
}

void TFormDVHs::CurrentPlan1Click() {
    std::vector<std::string> names;
    if (m_main->CurrentPlanIndex >= 0 && m_main->CurrentPlanIndex < m_main->PDatasetCount())
        for (const DVHDatasetClass& s : m_main->PDataset[m_main->CurrentPlanIndex].DVHDataset)
            names.push_back(s.Name);
    FillNames(names, CurrentPlan1);
}

void TFormDVHs::All1Click() {
    const PlanListNameClass* list = EditedList();
    FillNames(list ? list->SNameDB : std::vector<std::string>{}, All1);
}

void TFormDVHs::PlanListDeleted(int deleted) {
    PlanListIndex = PlanListIndexAfterDelete(PlanListIndex, deleted);
    if (PlanListIndex < 0) {
        SelectedRow = -1;
        FillSeriesGrid();
        close();
    }
}
