// The structure list: names laid out by the plan view, numbers written when shown.
#include "app/TFormSList.h"

#include "app/TForm1.h"
#include "dvh/NumberText.h"
#include "dvh/RoundToDigits.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

void SetNumber(QTableWidget* grid, int row, int column, float value) {
    auto* item = new QTableWidgetItem(QString::fromStdString(FormatFixed(RoundToDigits(value, 2), 2)));
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->setItem(row, column, item);
}

}  // namespace

TFormSList::TFormSList(TForm1* main) : QDialog(main), m_main(main) {
    setObjectName("FormSList");
    setWindowTitle("Structure List");
    setFixedSize(600, 420);

    StringGrid1 = new QTableWidget(0, 5, this);
    StringGrid1->setObjectName("StringGrid1");
    StringGrid1->verticalHeader()->setVisible(false);
    StringGrid1->verticalHeader()->setDefaultSectionSize(20);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);

    GroupBox1 = new QGroupBox("Dose", this);
    GroupBox1->setObjectName("GroupBox1");
    RadioButton1 = new QRadioButton("Absolute [Gy]", GroupBox1);
    RadioButton1->setObjectName("RadioButton1");
    RadioButton2 = new QRadioButton("Relative [%]", GroupBox1);
    RadioButton2->setObjectName("RadioButton2");
    RadioButton1->setChecked(true);
    auto* radios = new QHBoxLayout(GroupBox1);
    radios->addWidget(RadioButton1);
    radios->addWidget(RadioButton2);

    Button1 = new QPushButton("Close", this);
    Button1->setObjectName("Button1");
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(GroupBox1);
    bottom->addStretch(1);
    bottom->addWidget(Button1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(StringGrid1, 1);
    layout->addLayout(bottom);

    connect(RadioButton1, &QRadioButton::clicked, this, &TFormSList::RadioButton1Click);
    connect(RadioButton2, &QRadioButton::clicked, this, &TFormSList::RadioButton2Click);
    connect(Button1, &QPushButton::clicked, this, &TFormSList::Button1Click);
    FormCreate();
}

void TFormSList::FormCreate() {
    SetColumnWidths();
    StringGrid1->setHorizontalHeaderLabels(
        {"Structure Name", "Volume [cc]", "Dose minimum", "Dose maximum", "Dose mean"});
}

void TFormSList::SetColumnWidths() {
    // Columns share the grid's width: 30 %, 15 %, then 17 % for each dose column.
    const int width = StringGrid1->width();
    const double share[5] = {0.30, 0.15, 0.17, 0.17, 0.17};
    for (int c = 0; c < 5; ++c) StringGrid1->setColumnWidth(c, static_cast<int>(share[c] * width));
}

void TFormSList::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    SetColumnWidths();
}

void TFormSList::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TFormSList::FormShow() { FillGrid(); }

void TFormSList::FillGrid() {
    const int planIndex = m_main->CurrentPlanIndex;
    if (planIndex < 0 || planIndex >= m_main->PDatasetCount()) return;
    const PDatasetClass& plan = m_main->PDataset[planIndex];
    const bool gy = RadioButton1->isChecked();
    if (plan.DVHDatasetCount() > 0) {
        // A plan without structures leaves the headers as they were.
        StringGrid1->setHorizontalHeaderLabels(
            {"Structure Name", "Volume [cc]", gy ? "Minimum [Gy]" : "Minimum [%]",
             gy ? "Maximum [Gy]" : "Maximum [%]", gy ? "Mean [Gy]" : "Mean [%]"});
    }
    // The rows were laid out by the plan view; never write beyond them.
    const int rows = std::min(plan.DVHDatasetCount(), StringGrid1->rowCount());
    for (int i = 0; i < rows; ++i) {
        const DVHDatasetClass& s = plan.DVHDataset[i];
        SetNumber(StringGrid1, i, 1, s.Volume);
        SetNumber(StringGrid1, i, 2, gy ? s.MinDoseGy : s.MinDosePercent);
        SetNumber(StringGrid1, i, 3, gy ? s.MaxDoseGy : s.MaxDosePercent);
        SetNumber(StringGrid1, i, 4, gy ? s.MeanDoseGy : s.MeanDosePercent);
    }
}

void TFormSList::RadioButton1Click() { FillGrid(); }

void TFormSList::RadioButton2Click() { FillGrid(); }

void TFormSList::Button1Click() { close(); }
