// The main window's client area: plan labels, chart, units, quick index, index grid, file list.
#include "app/TForm1.h"

#include "app/DesignedFont.h"
#include "planlist/IndexCalculator.h"
#include "planlist/IndexTexts.h"
#include "planlist/ui/IndexGridView.h"
#include "widgets/ChartLegend.h"
#include "widgets/SortedComboBox.h"

#include <QButtonGroup>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QStyle>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <qcustomplot.h>

namespace {

QGroupBox* MakeRadioGroup(QWidget* parent, const char* name, const QString& caption,
                          const QString& item0, const QString& item1) {
    auto* group = new QGroupBox(caption, parent);
    group->setObjectName(name);
    auto* buttons = new QButtonGroup(group);
    auto* layout = new QVBoxLayout(group);
    layout->setContentsMargins(4, 0, 4, 0);
    layout->setSpacing(0);
    int id = 0;
    for (const QString& text : {item0, item1}) {
        auto* radio = new QRadioButton(text, group);
        radio->setObjectName(QString(name) + "Item" + QString::number(id));
        buttons->addButton(radio, id++);
        layout->addWidget(radio);
    }
    buttons->button(1)->setChecked(true);
    return group;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

QLabel* MakeValueLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setMinimumWidth(120);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

}  // namespace

void TForm1::BuildCentral() {
    auto* central = new QWidget(this);
    central->setObjectName("Panel3");
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(4);

    auto* left = new QVBoxLayout;
    left->setSpacing(2);
    left->addWidget(BuildPlanLabels());
    BuildChart();
    left->addWidget(Chart1, 1);
    left->addWidget(BuildUnitRow());
    left->addWidget(BuildOpenFileList());
    row->addLayout(left, 1);
    row->addWidget(BuildIndexGridSide());
    setCentralWidget(central);

    SaveDialog1.MakeWith([this] {
        auto* dialog = new QFileDialog(this, "Save image");
        dialog->setObjectName("SaveDialog1");
        dialog->setOption(QFileDialog::DontUseNativeDialog);
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setNameFilter("Bitmap (*.bmp)");
        dialog->setDirectory(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        return dialog;
    });
    ColorDialog1 = new QColorDialog(this);
    ColorDialog1->setObjectName("ColorDialog1");
    ColorDialog1->setOption(QColorDialog::DontUseNativeDialog);
}

QWidget* TForm1::BuildPlanLabels() {
    auto* panel = new QWidget(this);
    panel->setObjectName("Panel2");
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(4, 0, 4, 0);
    grid->setVerticalSpacing(0);
    LabelPName = MakeValueLabel(panel, "LabelPName");
    LabelPID = MakeValueLabel(panel, "LabelPID");
    LabelPlanName = MakeValueLabel(panel, "LabelPlanName");
    LabelPlanID = MakeValueLabel(panel, "LabelPlanID");
    LabelPrescDose = MakeValueLabel(panel, "LabelPrescDose");
    const struct {
        const char* caption;
        QLabel* value;
        int row, column;
    } cells[] = {{"Patient Name", LabelPName, 0, 0}, {"Patient ID", LabelPID, 1, 0},
                 {"Plan Name", LabelPlanName, 0, 2}, {"Plan ID", LabelPlanID, 1, 2},
                 {"Prescribed Dose", LabelPrescDose, 0, 4}};
    for (const auto& cell : cells) {
        grid->addWidget(new QLabel(cell.caption, panel), cell.row, cell.column);
        grid->addWidget(cell.value, cell.row, cell.column + 1);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setColumnStretch(5, 1);
    return panel;
}

void TForm1::BuildChart() {
    Chart1 = new QCustomPlot(this);
    Chart1->setObjectName("Chart1");
    Chart1->setMinimumHeight(300);
    Chart1->xAxis->setLabel("Dose");
    Chart1->yAxis->setLabel("Volume");
    QPen grid(QColor(192, 192, 192), 0, Qt::DotLine);
    for (QCPAxis* axis : {Chart1->xAxis, Chart1->yAxis}) axis->grid()->setPen(grid);
    // The right and top axes are drawn as lines that close the frame.
    for (QCPAxis* axis : {Chart1->xAxis2, Chart1->yAxis2}) {
        axis->setVisible(true);
        axis->setTickLabels(false);
        axis->setTicks(false);
    }
    Chart1->axisRect()->setMargins(QMargins(1, 1, 1, 2));
    Chart1->axisRect()->setAutoMargins(QCP::msLeft | QCP::msBottom);
    m_chartColor = palette().window().color();
    Chart1->setBackground(m_chartColor);
    Chart1->legend->setVisible(false);  // shown while curves are drawn
    Chart1->setAutoAddPlottableToLegend(false);  // the drawing fills it
    QFont legendFont = font();
    legendFont.setPixelSize(10);
    SetLegendFont(Chart1->legend, legendFont);
    // The legend stands beside the plot, as a list of the drawn curves.
    auto* legendCell = new QCPLayoutGrid;
    Chart1->plotLayout()->addElement(0, 1, legendCell);
    Chart1->axisRect()->insetLayout()->take(Chart1->legend);
    legendCell->addElement(0, 0, Chart1->legend);
    // An empty cell below takes the spare height, so the legend's rows stay packed at the top.
    legendCell->addElement(1, 0, new QCPLayoutElement(Chart1));
    legendCell->setRowStretchFactor(0, 0.001);
    legendCell->setRowStretchFactor(1, 1);
    legendCell->setMargins(QMargins(2, 4, 2, 4));
    Chart1->plotLayout()->setColumnStretchFactor(1, 0.001);
    Chart1->legend->setMaximumSize(170, QWIDGETSIZE_MAX);
    Chart1->setNoAntialiasingOnDrag(true);
    // Hundreds of curves of thousands of points each: plain polylines keep a redraw fast.
    Chart1->setPlottingHint(QCP::phFastPolylines, true);
    Chart1->setNotAntialiasedElements(QCP::aePlottables);
    Chart1->setSelectionRectMode(QCP::srmCustom);
    connect(Chart1->selectionRect(), &QCPSelectionRect::accepted, this,
            [this](const QRect& rect, QMouseEvent*) { ChartSelectionRectAccepted(rect); });
}

QWidget* TForm1::BuildUnitRow() {
    auto* panel = new QWidget(this);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    RadioGroup1 = MakeRadioGroup(panel, "RadioGroup1", "Dose", "Absolute [Gy]", "Relative [%]");
    RadioGroup2 = MakeRadioGroup(panel, "RadioGroup2", "Volume", "Absolute [cc]", "Relative [%]");
    row->addWidget(RadioGroup1);
    row->addWidget(RadioGroup2);
    auto* buttons = new QVBoxLayout;
    BitBtn12 = MakeButton(panel, "BitBtn12", "Series");
    BitBtn13 = MakeButton(panel, "BitBtn13", "Report");
    for (QPushButton* button : {BitBtn12, BitBtn13}) button->setFixedWidth(64);
    buttons->addWidget(BitBtn12);
    buttons->addWidget(BitBtn13);
    row->addLayout(buttons);
    row->addWidget(BuildQuickIndexPanel(), 1);
    return panel;
}

QWidget* TForm1::BuildQuickIndexPanel() {
    Panel1 = new QGroupBox(this);
    Panel1->setObjectName("Panel1");
    auto* grid = new QGridLayout(Panel1);
    grid->setContentsMargins(4, 0, 4, 2);
    grid->setVerticalSpacing(1);
    grid->setHorizontalSpacing(3);
    LabelStructureName = new QLabel("Structure", Panel1);
    LabelStructureName->setObjectName("LabelStructureName");
    ComboBox2 = new QComboBox(Panel1);
    ComboBox2->setObjectName("ComboBox2");
    ComboBox2->setMaxVisibleItems(15);
    // Long names and kind texts show in the drop-down list; the boxes stay narrow.
    ComboBox2->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    ComboBox2->setMinimumContentsLength(6);
    ComboBox3 = new QComboBox(Panel1);
    ComboBox3->setObjectName("ComboBox3");
    ComboBox3->setMaxVisibleItems(17);
    ComboBox3->setFocusPolicy(Qt::ClickFocus);
    for (int kind = 0; kind < IndexKindCount; ++kind)
        ComboBox3->addItem(QString::fromStdString(QuickIndexKindText(kind)));
    ComboBox3->setCurrentIndex(0);
    // Every kind text whole: its bracket is the unit of the result beside it.
    ComboBox3->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    Edit1 = new QLineEdit(Panel1);
    Edit1->setObjectName("Edit1");
    Edit1->setFixedWidth(42);
    Label1 = new QLabel("---", Panel1);
    Label1->setObjectName("Label1");
    Edit2 = new QLineEdit(Panel1);
    Edit2->setObjectName("Edit2");
    Edit2->setReadOnly(true);
    Edit2->setFocusPolicy(Qt::NoFocus);
    Edit2->setFixedWidth(52);
    grid->addWidget(LabelStructureName, 0, 0);
    grid->addWidget(ComboBox2, 1, 0);
    grid->addWidget(ComboBox3, 1, 1);
    grid->addWidget(Edit1, 1, 2);
    grid->addWidget(Label1, 1, 3);
    grid->addWidget(Edit2, 1, 4);
    return Panel1;
}

QWidget* TForm1::BuildIndexGridSide() {
    auto* side = new QWidget(this);
    side->setFixedWidth(322);
    auto* column = new QVBoxLayout(side);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);

    ComboBox1 = new QComboBox(side);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->setMaxVisibleItems(20);
    ComboBox1->setContextMenuPolicy(Qt::CustomContextMenu);  // the plan-list popup
    KeepSorted(ComboBox1);
    column->addWidget(ComboBox1);

    StringGrid1 = new QTableWidget(0, 3, side);
    StringGrid1->setObjectName("StringGrid1");
    StringGrid1->setHorizontalHeaderLabels({"Structure", "Index", "Value"});
    StringGrid1->setColumnWidth(0, 110);
    StringGrid1->setColumnWidth(1, IndexLabelColumnWidth);
    StringGrid1->setColumnWidth(2, 75);
    StringGrid1->verticalHeader()->setVisible(false);
    StringGrid1->verticalHeader()->setDefaultSectionSize(22);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    StringGrid1->setFocusPolicy(Qt::ClickFocus);
    StringGrid1->setContextMenuPolicy(Qt::CustomContextMenu);  // "Copy to Clipboard"
    StringGrid1->setFont(DesignedFont(13));
    QPalette face = StringGrid1->palette();
    face.setColor(QPalette::Base, palette().color(QPalette::Button));
    StringGrid1->setPalette(face);
    column->addWidget(StringGrid1);

    Panel4 = new QWidget(side);
    Panel4->setObjectName("Panel4");
    auto* buttons = new QGridLayout(Panel4);
    buttons->setContentsMargins(0, 2, 0, 0);
    buttons->setSpacing(2);
    BEditIndex = MakeButton(Panel4, "BEditIndex", "Edit Index ");
    BAddIndex = MakeButton(Panel4, "BAddIndex", "Insert Index");
    BDelIndex = MakeButton(Panel4, "BDelIndex", "Delete Index");
    BCopyList = MakeButton(Panel4, "BCopyList", "Copy List  ");
    BClearIndex = MakeButton(Panel4, "BClearIndex", "Clear Index");
    BCopyIndex = MakeButton(Panel4, "BCopyIndex", "Copy Index");
    BDVHSeries = MakeButton(Panel4, "BDVHSeries", "Graph style");
    BSaveList = MakeButton(Panel4, "BSaveList", "Save List    ");
    BNewList = MakeButton(Panel4, "BNewList", "New List  ");
    BUp = MakeButton(Panel4, "BUp", QString());
    BUp->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    BUp->setToolTip("Up");
    BDown = MakeButton(Panel4, "BDown", QString());
    BDown->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    BDown->setToolTip("Down");
    BKey = MakeButton(Panel4, "BKey", QString());
    BKey->setIcon(style()->standardIcon(QStyle::SP_MessageBoxWarning));
    BKey->setToolTip("Lock");
    QPushButton* order[4][3] = {{BEditIndex, BAddIndex, BDelIndex},
                                {BClearIndex, BCopyIndex, BDVHSeries},
                                {BNewList, BCopyList, BSaveList},
                                {BUp, BDown, BKey}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c) buttons->addWidget(order[r][c], r, c);
    column->addWidget(Panel4);
    column->addStretch(1);

    ApplyIndexGridLayout(false);
    for (QPushButton* button : ListEditButtons()) button->setEnabled(false);
    return side;
}

QWidget* TForm1::BuildOpenFileList() {
    auto* panel = new QWidget(this);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    ListView1 = new QTreeWidget(panel);
    ListView1->setObjectName("ListView1");
    ListView1->setColumnCount(5);
    ListView1->setHeaderLabels({"Patient ID", "Patient Name", "Plan ID", "DVH File Name", "Date-time"});
    const int widths[5] = {75, 145, 105, 105, 135};
    for (int c = 0; c < 5; ++c) ListView1->setColumnWidth(c, widths[c]);
    ListView1->setRootIsDecorated(false);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->header()->setSectionsClickable(true);
    ListView1->header()->setSortIndicatorShown(false);
    ListView1->setContextMenuPolicy(Qt::ActionsContextMenu);
    ListView1->setFixedHeight(150);
    row->addWidget(ListView1, 1);

    auto* buttons = new QVBoxLayout;
    Button8 = MakeButton(panel, "Button8", "Scan");
    Button7 = MakeButton(panel, "Button7", "OK");
    Button11 = MakeButton(panel, "Button11", "Reload");
    Button9 = MakeButton(panel, "Button9", "Save");
    for (QPushButton* button : {Button8, Button7, Button11, Button9}) buttons->addWidget(button);
    buttons->addStretch(1);
    row->addLayout(buttons);
    return panel;
}

int TForm1::RadioGroupIndex(const QGroupBox* group) const {
    const auto* buttons = group->findChild<QButtonGroup*>();
    return buttons ? buttons->checkedId() : -1;
}

void TForm1::SetRadioGroupIndex(QGroupBox* group, int index) {
    auto* buttons = group->findChild<QButtonGroup*>();
    if (buttons && buttons->button(index)) buttons->button(index)->click();
}

std::vector<QPushButton*> TForm1::ListEditButtons() const {
    return {BEditIndex, BAddIndex, BDelIndex, BCopyList, BClearIndex, BCopyIndex,
            BDVHSeries, BSaveList, BUp, BDown, BKey};
}
