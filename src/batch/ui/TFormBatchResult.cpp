// The batch result window: layout, the grid and its selection, the step field.
#include "batch/ui/TFormBatchResult.h"

#include "widgets/TextBytes.h"
#include "batch/BatchExports.h"
#include "batch/ui/BatchWidgets.h"
#include "planlist/QuickIndex.h"
#include "planlist/ui/QuickIndexPanel.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <qcustomplot.h>

TFormBatchResult::TFormBatchResult(Workspace& workspace, QWidget* owner) : TFormDialog(owner, true), m_ws(workspace) {
    setObjectName("FormBatchResult");
    setWindowTitle("Batch processing - Results");
    SetFixedDialogFrame(850, 685);

    StringGrid1 = Placed<QTableWidget>(this, "StringGrid1", QRect(12, 12, 222, 610), 0, 2);
    StringGrid1->setHorizontalHeaderLabels({"Structure", "Index"});
    StringGrid1->setColumnWidth(0, 100);
    StringGrid1->setColumnWidth(1, 100);
    StringGrid1->verticalHeader()->setVisible(false);
    StringGrid1->verticalHeader()->setDefaultSectionSize(22);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The selected row is tinted light blue; its text keeps the grid's colour.
    QPalette palette = StringGrid1->palette();
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(g, QPalette::Highlight, QColor(235, 245, 255));
        palette.setColor(g, QPalette::HighlightedText, palette.color(QPalette::Text));
    }
    StringGrid1->setPalette(palette);
    connect(StringGrid1, &QTableWidget::currentCellChanged, this,
            [this](int row, int column, int, int) { StringGrid1SelectCell(column, row + 1); });

    BuildCharts();

    GroupBox1 = Placed<QGroupBox>(this, "GroupBox1", QRect(246, 630, 150, 46), "Dose");
    RadioButton1 = Placed<QRadioButton>(GroupBox1, "RadioButton1", QRect(8, 18, 60, 22), "[Gy]");
    RadioButton1->setChecked(true);
    RadioButton2 = Placed<QRadioButton>(GroupBox1, "RadioButton2", QRect(76, 18, 60, 22), "[%]");
    connect(RadioButton1, &QRadioButton::clicked, this, &TFormBatchResult::RadioButton1Click);
    connect(RadioButton2, &QRadioButton::clicked, this, &TFormBatchResult::RadioButton1Click);

    Label1 = Placed<QLabel>(this, "Label1", QRect(410, 646, 34, 22), "Step");
    Edit1 = Placed<QLineEdit>(this, "Edit1", QRect(446, 644, 60, 24));
    Edit1->installEventFilter(this);
    Label2 = Placed<QLabel>(this, "Label2", QRect(510, 646, 30, 22), "Gy");

    BitBtn1 = BatchButton(this, "BitBtn1", "DVH ", 560, 630);
    BitBtn2 = BatchButton(this, "BitBtn2", "Index", 644, 630);
    BitBtn4 = BatchButton(this, "BitBtn4", "DVH ", 560, 656);
    BitBtn3 = BatchButton(this, "BitBtn3", "Index", 644, 656);
    Button1 = BatchButton(this, "Button1", "Close", 758, 644);
    BitBtn1->setToolTip("Save the curves as a bitmap");
    BitBtn2->setToolTip("Save the histogram as a bitmap");
    BitBtn4->setToolTip("Write the curves as text");
    BitBtn3->setToolTip("Write the index values as text");
    connect(BitBtn1, &QPushButton::clicked, this, &TFormBatchResult::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TFormBatchResult::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TFormBatchResult::BitBtn3Click);
    connect(BitBtn4, &QPushButton::clicked, this, &TFormBatchResult::BitBtn4Click);
    connect(Button1, &QPushButton::clicked, this, &TFormBatchResult::Button1Click);
}

void TFormBatchResult::FormShow() { SetOwnerEnabled(false); }
void TFormBatchResult::FormClose() { SetOwnerEnabled(true); }
void TFormBatchResult::Button1Click() { close(); }

const PlanListNameClass* TFormBatchResult::List() const {
    return PlanListIndex >= 0 && PlanListIndex < m_ws.PlanListNameCount() ? &m_ws.PlanListName[PlanListIndex] : nullptr;
}

std::vector<int> TFormBatchResult::LivePlanIndex() const {
    std::vector<int> live = PlanDatasetIndex;
    for (std::size_t i = 0; i < live.size(); ++i) {
        const int p = live[i];
        if (p < 0 || p >= m_ws.PDatasetCount() || i >= m_planKeys.size() || m_ws.PDataset[p].Key != m_planKeys[i])
            live[i] = -1;
    }
    return live;
}

void TFormBatchResult::SetResults(const std::vector<int>& planDatasetIndex, const std::vector<std::string>& planKeys,
                                  std::vector<BVClass> bv) {
    PlanCount = static_cast<int>(planDatasetIndex.size());
    PlanDatasetIndex = planDatasetIndex;
    m_planKeys = planKeys;
    BV = std::move(bv);
    SelectedRow = -1;
    ChartStructureName.clear();
    Edit1->setText("0.5");
    ClearCharts();
    FillResultGrid();
}

void TFormBatchResult::FillResultGrid() {
    const QSignalBlocker quiet(StringGrid1);
    const PlanListNameClass* list = List();
    const std::vector<ResultGridRow> rows = list ? ResultGridRows(*list) : std::vector<ResultGridRow>{};
    StringGrid1->clearContents();
    StringGrid1->setRowCount(static_cast<int>(rows.size()));
    for (int j = 0; j < static_cast<int>(rows.size()); ++j) {
        StringGrid1->setItem(j, 0, new QTableWidgetItem(FromBytes(rows[j].Structure)));
        StringGrid1->setItem(j, 1, new QTableWidgetItem(FromBytes(rows[j].Index)));
    }
    StringGrid1->setCurrentCell(-1, -1);
    StringGrid1->clearSelection();
}

void TFormBatchResult::StringGrid1SelectCell(int, int row) {
    SelectedRow = row;
    DrawIndexBarChart();
    const PlanListNameClass* list = List();
    const int j = row - 1;
    const std::string name = list && j >= 0 && j < list->IndexDataCount() ? list->IndexData[j].Name : std::string();
    // Rows of one structure share their curves: only the histogram changes between them.
    if (name != ChartStructureName) {
        DrawDvhChart();
        ChartStructureName = name;
    }
}

void TFormBatchResult::RadioButton1Click() {
    DrawDvhChart();
    Label2->setText(RadioButton1->isChecked() ? "Gy" : "%");
}

bool TFormBatchResult::Edit1KeyPress(QKeyEvent* key) {
    // The quick-index value field's rule: digits and one point; keys that type nothing pass.
    return QuickValueKeyRefused(Edit1->text(), key->text());
}

bool TFormBatchResult::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit1 && event->type() == QEvent::KeyPress && Edit1KeyPress(static_cast<QKeyEvent*>(event)))
        return true;
    return TFormDialog::eventFilter(watched, event);
}
