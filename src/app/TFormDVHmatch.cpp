// The plan information dialog: a paged grid of structure names with alias boxes over it.
#include "app/TFormDVHmatch.h"

#include "widgets/TextBytes.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTableWidget>

namespace {

QTableWidgetItem* Cell(QTableWidget* grid, int row, int column) {
    QTableWidgetItem* item = grid->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        grid->setItem(row, column, item);
    }
    return item;
}

}  // namespace

TFormDVHmatch::TFormDVHmatch(QWidget* owner) : TFormDialog(owner, true) {
    setObjectName("FormDVHmatch");
    setWindowTitle("DVH Series");
    setFixedSize(360, 520);

    StringGrid1 = new QTableWidget(kRowsPerPage + 1, 2, this);
    StringGrid1->setObjectName("StringGrid1");
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setColumnWidth(0, 148);
    StringGrid1->setColumnWidth(1, 148);
    for (int r = 0; r <= kRowsPerPage; ++r) StringGrid1->setRowHeight(r, 20);
    StringGrid1->setGeometry(12, 12, 300, 326);
    // While an alias box has the focus, the grid's current cell looks like any other cell.
    QPalette palette = StringGrid1->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Base));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText, palette.color(QPalette::Text));
    StringGrid1->setPalette(palette);
    Cell(StringGrid1, 0, 0)->setText("Orijinal Structure Name");
    Cell(StringGrid1, 0, 1)->setText("Modified Structure Name");

    for (int i = 0; i < kRowsPerPage; ++i) {
        // Lies over column 1 of its row, above the grid rather than inside it, so giving it the
        // focus does not move the grid's current cell.
        ComboBox[i] = new QComboBox(StringGrid1->viewport());
        ComboBox[i]->setObjectName(QString("ComboBox%1").arg(i + 1));
        ComboBox[i]->setEditable(true);
        ComboBox[i]->setInsertPolicy(QComboBox::NoInsert);
        ComboBox[i]->hide();
        connect(ComboBox[i], &QComboBox::currentTextChanged, this,
                [this, i](const QString&) { ComboBoxChange(i); });
    }

    ScrollBar1 = new QScrollBar(Qt::Vertical, this);
    ScrollBar1->setObjectName("ScrollBar1");
    ScrollBar1->setGeometry(314, 12, 17, 326);
    ScrollBar1->setRange(0, 0);
    ScrollBar1->setPageStep(1);
    ScrollBar1->hide();

    const char* labels[4] = {"Patient Name", "Patient ID", "Plan Name", "Plan ID"};
    QLineEdit** edits[4] = {&Edit1, &Edit2, &Edit3, &Edit4};
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLabel(labels[i], this);
        label->setObjectName(QString("Label%1").arg(i + 1));
        label->setGeometry(12, 350 + i * 28, 90, 24);
        *edits[i] = new QLineEdit(this);
        (*edits[i])->setObjectName(QString("Edit%1").arg(i + 1));
        (*edits[i])->setGeometry(104, 350 + i * 28, 208, 24);
    }
    Button1 = new QPushButton("OK", this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(150, 476, 80, 28);
    Button2 = new QPushButton("Cancel", this);
    Button2->setObjectName("Button2");
    Button2->setGeometry(236, 476, 80, 28);
    Button1->setAutoDefault(false);
    Button2->setAutoDefault(false);

    connect(StringGrid1, &QTableWidget::cellClicked, this,
            [this](int row, int column) { StringGrid1SelectCell(column, row); });
    connect(StringGrid1, &QTableWidget::currentCellChanged, this,
            [this](int row, int column, int, int) { StringGrid1SelectCell(column, row); });
    connect(ScrollBar1, &QScrollBar::valueChanged, this, &TFormDVHmatch::ScrollBar1Change);
    connect(Button1, &QPushButton::clicked, this, &TFormDVHmatch::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFormDVHmatch::Button2Click);
}

int TFormDVHmatch::Page() const { return ScrollBar1->value(); }

void TFormDVHmatch::HideCombos() {
    for (QComboBox* c : ComboBox) c->hide();
}

void TFormDVHmatch::FillAndShow(const PDatasetClass& plan, int planIndex,
                                const std::vector<std::string>& indexGridNames) {
    m_planIndex = planIndex;
    m_planKey = plan.Key;
    SelectedRow = -1;
    const PlanInformation info = PlanInformationOf(plan);
    m_structureNames.clear();
    for (const DVHDatasetClass& s : plan.DVHDataset) m_structureNames.push_back(s.Name);
    ModifiedNames = info.ModifiedNames;

    IndexStructureNames = DistinctNames(indexGridNames);
    for (QComboBox* c : ComboBox) {
        const QSignalBlocker block(c);
        c->clear();
        c->setCurrentIndex(-1);
        for (const std::string& name : IndexStructureNames) c->addItem(FromBytes(name));
        c->setCurrentIndex(-1);
    }

    {
        const QSignalBlocker block(ScrollBar1);
        const int maximum = plan.DVHDatasetCount() / kRowsPerPage;
        ScrollBar1->setRange(0, maximum);
        ScrollBar1->setValue(0);
        ScrollBar1->setVisible(maximum > 0);
    }
    ShowPage();

    m_shown = info;
    Edit1->setText(FromBytes(info.PatientName));
    Edit2->setText(FromBytes(info.PatientID));
    Edit3->setText(FromBytes(info.PlanName));
    Edit4->setText(FromBytes(info.PlanID));
    show();
    raise();
    HideCombos();
}

void TFormDVHmatch::ShowPage() {
    HideCombos();
    const QSignalBlocker block(StringGrid1);
    const int first = Page() * kRowsPerPage;
    for (int r = 1; r <= kRowsPerPage; ++r) {
        const int k = first + r - 1;
        const bool has = k < static_cast<int>(m_structureNames.size()) &&
                         k < static_cast<int>(ModifiedNames.size());
        Cell(StringGrid1, r, 0)->setText(has ? FromBytes(m_structureNames[k]) : "");
        Cell(StringGrid1, r, 1)->setText(has ? FromBytes(ModifiedNames[k]) : "");
    }
}

void TFormDVHmatch::ScrollBar1Change() {
    SelectedRow = -1;
    ShowPage();
    StringGrid1->setFocus();
}

void TFormDVHmatch::StringGrid1SelectCell(int column, int row) {
    if (m_selecting) return;
    const QScopedValueRollback<bool> guard(m_selecting, true);
    SelectedRow = -1;
    HideCombos();
    if (column != 1 || row < 1 || row > kRowsPerPage) return;
    if (Cell(StringGrid1, row, 0)->text().isEmpty()) return;
    const int k = Page() * kRowsPerPage + row - 1;
    if (k >= static_cast<int>(ModifiedNames.size())) return;
    SelectedRow = row;
    QComboBox* box = ComboBox[row - 1];
    box->setGeometry(StringGrid1->visualItemRect(Cell(StringGrid1, row, 1)));
    box->show();
    box->setCurrentText(FromBytes(ModifiedNames[k]));
    box->setFocus();
}

void TFormDVHmatch::ComboBoxChange(int comboIndex) {
    // Only the box of the selected row edits; a hidden box being cleared must not.
    if (SelectedRow != comboIndex + 1) return;
    const int k = Page() * kRowsPerPage + SelectedRow - 1;
    if (k < 0 || k >= static_cast<int>(ModifiedNames.size())) return;
    QComboBox* box = ComboBox[comboIndex];
    const QString text = box->currentText();
    // A choice from the list is the index row's name byte for byte, so that the alias finds
    // its row; typed text keeps the encoding of the alias it replaces.
    int choice = box->currentIndex();
    if (choice < 0 || box->itemText(choice) != text)
        choice = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (choice >= 0 && choice < static_cast<int>(IndexStructureNames.size()))
        ModifiedNames[k] = IndexStructureNames[static_cast<std::size_t>(choice)];
    else
        ModifiedNames[k] = ToBytes(text, ModifiedNames[k]);
    const QSignalBlocker block(StringGrid1);
    Cell(StringGrid1, SelectedRow, 1)->setText(text);
}

void TFormDVHmatch::Button1Click() {
    PlanInformation info;
    info.PatientName = ToBytes(Edit1->text(), m_shown.PatientName);
    info.PatientID = ToBytes(Edit2->text(), m_shown.PatientID);
    info.PlanName = ToBytes(Edit3->text(), m_shown.PlanName);
    info.PlanID = ToBytes(Edit4->text(), m_shown.PlanID);
    info.ModifiedNames = ModifiedNames;
    if (OnApply) OnApply(m_planIndex, m_planKey, info);
    close();
}

void TFormDVHmatch::Button2Click() { close(); }
