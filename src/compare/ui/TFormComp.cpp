// The comparison window: its controls, their wiring, and showing and closing it.
#include "compare/ui/TFormComp.h"

#include "compare/ui/ComparisonChartView.h"
#include "compare/ui/FixedColumnsView.h"
#include "compare/ui/ReportStylePicture.h"
#include "compare/ui/TFormCompRList.h"
#include "compare/ui/TFormCompReport.h"
#include "compare/ui/TFormCompSelect.h"
#include "dvh/Workspace.h"
#include "widgets/SortedComboBox.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QColorDialog>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionHeader>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>

#include <qcustomplot.h>

namespace {

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, QRect at) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(at);
    button->setAutoDefault(false);
    return button;
}

QComboBox* MakeChoice(QWidget* parent, const char* name, QRect at, int visibleItems) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setGeometry(at);
    box->setMaxVisibleItems(visibleItems);
    return box;
}

void SetUpGrid(QTableWidget* grid, const char* name, QRect at) {
    grid->setObjectName(name);
    grid->setGeometry(at);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->verticalHeader()->setVisible(false);
    grid->verticalHeader()->setDefaultSectionSize(20);
    grid->horizontalHeader()->setHighlightSections(false);
    QFont font("Tahoma");
    font.setPixelSize(13);
    grid->setFont(font);
}

/// A header whose titles wider than their sections end in an ellipsis, whatever the style
/// draws (some clip a centred title at both ends), so that a long plan ID shows its start.
class ElidingHeader : public QHeaderView {
public:
    using QHeaderView::QHeaderView;

protected:
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override {
        QHeaderView::initStyleOptionForIndex(option, logicalIndex);
        QStyleOptionHeader label = *option;
        label.rect = QRect(0, 0, sectionSize(logicalIndex), height());
        const int room = style()->subElementRect(QStyle::SE_HeaderLabel, &label, this).width();
        option->text = option->fontMetrics.elidedText(option->text, Qt::ElideRight, room);
    }
};

}  // namespace

TFormComp::TFormComp(Workspace& workspace, QWidget* owner)
    : QWidget(nullptr, Qt::Window), m_ws(workspace), m_owner(owner) {
    setObjectName("FormComp");
    setWindowTitle("Plan Comparison");
    setFixedSize(1000, 720);
    QFont font("Tahoma");
    font.setPixelSize(12);
    setFont(font);

    ComboBox1 = MakeChoice(this, "ComboBox1", QRect(775, 4, 220, 22), 20);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    PageControl1->setGeometry(5, 8, 990, 540);
    auto* dvhPage = new QWidget;
    dvhPage->setObjectName("TabSheetDVH");
    auto* indexPage = new QWidget;
    indexPage->setObjectName("TabSheetIndex");
    PageControl1->addTab(dvhPage, "DVH");
    PageControl1->addTab(indexPage, "Index");
    ComboBox1->raise();
    BuildDvhPage(dvhPage);
    BuildIndexPage(indexPage);
    BuildPlanArea();

    FormCompSelect = new TFormCompSelect(this);
    FormCompSelect->OnChosen = [this](const std::vector<int>& chosen) { PlansChosen(chosen); };
    FormCompReport = new TFormCompReport(*this);
    FormCompRList = new TFormCompRList(FormCompReport);
    FormCompRList->OnClosed = [this] {
        DrawReport();
        FormCompReport->show();
        FormCompReport->raise();
    };
    ColorDialog1 = new QColorDialog(this);
    ColorDialog1->setObjectName("ColorDialog1");
    ColorDialog1->setOption(QColorDialog::DontUseNativeDialog);
    ConnectControls();

    // FormCreate: titles, style 1, no plans, no selections.
    SetReportStyle(1);
    RefreshPlanGrid();
    FillTitleOnlyTable();
    PageControl1->setCurrentIndex(1);
}

TFormComp::~TFormComp() {
    // Before the grid goes: the grid's model announces its own end to the fixed columns, which
    // must not then look at a grid half torn down.
    delete m_fixedColumns;
    delete FormCompRList;
    delete FormCompReport;
    delete FormCompSelect;
}

void TFormComp::BuildDvhPage(QWidget* page) {
    const QRect chartAt[4] = {{5, 5, 400, 253}, {410, 5, 400, 253},
                              {5, 262, 400, 253}, {410, 262, 400, 253}};
    const char* chartNames[4] = {"Chart1", "Chart2", "Chart3", "Chart4"};
    for (int c = 0; c < 4; ++c) {
        ChartAD[static_cast<std::size_t>(c)] = MakeComparisonChart(
            page, chartNames[c], "Volume [%]", true,
            [this, c] { ChartZoom(ChartAD[static_cast<std::size_t>(c)]); });
        ChartAD[static_cast<std::size_t>(c)]->setGeometry(chartAt[c]);
    }
    Chart1 = ChartAD[0];
    Chart2 = ChartAD[1];
    Chart3 = ChartAD[2];
    Chart4 = ChartAD[3];

    QFont letter("Tahoma");
    letter.setPixelSize(17);
    letter.setBold(true);
    const char* letters = "ABCD";
    const QPoint cross[4] = {{850, 4}, {885, 4}, {850, 26}, {885, 26}};
    for (int i = 0; i < 8; ++i) {
        auto* label = new QLabel(QString(QChar(letters[i % 4])), page);
        label->setObjectName(QString("Label%1").arg(i + 1));
        label->setFont(letter);
        label->move(i < 4 ? cross[i] : QPoint(818, 58 + 28 * (i - 4)));
        label->resize(22, 22);
        Labels[static_cast<std::size_t>(i)] = label;
    }
    const char* choiceNames[4] = {"ComboBox2", "ComboBox3", "ComboBox4", "ComboBox5"};
    for (int c = 0; c < 4; ++c)
        StructureChoice[static_cast<std::size_t>(c)] =
            MakeChoice(page, choiceNames[c], QRect(840, 58 + 28 * c, 138, 22), 20);
    ComboBox2 = StructureChoice[0];
    ComboBox3 = StructureChoice[1];
    ComboBox4 = StructureChoice[2];
    ComboBox5 = StructureChoice[3];

    auto* sets = new QGroupBox("Structure Set", page);
    sets->setObjectName("GroupBoxStructureSet");
    sets->setGeometry(818, 176, 160, 84);
    ComboBox6 = MakeChoice(sets, "ComboBox6", QRect(8, 20, 144, 22), 12);
    KeepSorted(ComboBox6);
    BitBtn4 = MakeButton(sets, "BitBtn4", "Save", QRect(8, 50, 70, 26));
    BitBtn5 = MakeButton(sets, "BitBtn5", "Delete", QRect(82, 50, 70, 26));

    RadioGroup1 = new QGroupBox("Dose", page);
    RadioGroup1->setObjectName("RadioGroup1");
    RadioGroup1->setGeometry(818, 266, 160, 62);
    DoseButtons = new QButtonGroup(RadioGroup1);
    const char* doseItems[2] = {"Absolute [Gy]", "Relative [%]"};
    for (int i = 0; i < 2; ++i) {
        auto* item = new QRadioButton(doseItems[i], RadioGroup1);
        item->setObjectName(QString("RadioGroup1Item%1").arg(i));
        item->setGeometry(10, 18 + 20 * i, 140, 20);
        DoseButtons->addButton(item, i);
    }
    DoseButtons->button(1)->setChecked(true);

    auto* widths = new QGroupBox("Line Width", page);
    widths->setObjectName("GroupBoxLineWidth");
    widths->setGeometry(818, 334, 160, 104);
    QRadioButton** buttons[4] = {&RadioButton1, &RadioButton2, &RadioButton3, &RadioButton4};
    const int sampleHeight[4] = {1, 2, 4, 6};
    for (int i = 0; i < 4; ++i) {
        *buttons[i] = new QRadioButton(widths);
        (*buttons[i])->setObjectName(QString("RadioButton%1").arg(i + 1));
        (*buttons[i])->setGeometry(10, 18 + 21 * i, 20, 20);
        auto* sample = new QFrame(widths);
        sample->setGeometry(36, 28 + 21 * i - sampleHeight[i] / 2, 100, sampleHeight[i]);
        sample->setStyleSheet("background-color: black;");
    }
    RadioButton2->setChecked(true);

    BitBtn3 = MakeButton(page, "BitBtn3", "DVH(A) ", QRect(818, 446, 160, 28));
}

void TFormComp::BuildIndexPage(QWidget* page) {
    // "Structure" and "Index" stay in view however many plans are compared.
    auto* grid = new FixedColumnsGrid(2, page);
    grid->setHorizontalHeader(new ElidingHeader(Qt::Horizontal, grid));
    SetUpGrid(grid, "StringGrid1", QRect(5, 5, 722, 500));
    StringGrid1 = grid;
    m_fixedColumns = new FixedColumnsView(grid);
    StringGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    StringGrid1->installEventFilter(this);
    PopupMenu1 = new QMenu(StringGrid1);
    PopupMenu1->setObjectName("PopupMenu1");
    CopytoClipboard1 = PopupMenu1->addAction("Copy to Clipboard");
    CopytoClipboard1->setObjectName("CopytoClipboard1");

    Chart5 = MakeComparisonChart(page, "Chart5", "Volume", false, [this] { ChartZoom(Chart5); });
    Chart5->setGeometry(733, 5, 245, 222);
    Panel3 = new QLabel(page);
    Panel3->setObjectName("Panel3");
    Panel3->setGeometry(733, 229, 245, 20);
    Panel3->setAlignment(Qt::AlignCenter);
    Panel3->setFrameShape(QFrame::Panel);
    Chart6 = MakeComparisonChart(page, "Chart6", "", false, nullptr);
    Chart6->xAxis->setLabel("Plan");
    Chart6->setGeometry(733, 256, 245, 222);
    Panel2 = new QLabel(page);
    Panel2->setObjectName("Panel2");
    Panel2->setGeometry(733, 480, 245, 20);
    Panel2->setAlignment(Qt::AlignCenter);
    Panel2->setFrameShape(QFrame::Panel);
}

void TFormComp::BuildPlanArea() {
    StringGrid2 = new QTableWidget(this);
    SetUpGrid(StringGrid2, "StringGrid2", QRect(5, 555, 515, 133));
    StringGrid2->setColumnCount(4);
    StringGrid2->setHorizontalHeaderLabels({"Color", "Patient ID", "Patient Name", "Plan ID"});
    const int widths[4] = {35, 75, 190, 185};
    for (int c = 0; c < 4; ++c) StringGrid2->setColumnWidth(c, widths[c]);
    StringGrid2->viewport()->installEventFilter(this);

    Button4 = MakeButton(this, "Button4", "Add ALL", QRect(530, 555, 95, 28));
    Button1 = MakeButton(this, "Button1", "Select Plan", QRect(530, 590, 95, 28));
    Button2 = MakeButton(this, "Button2", "Remove", QRect(530, 625, 95, 28));
    Button3 = MakeButton(this, "Button3", "Clear", QRect(530, 660, 95, 28));
    BUp = MakeButton(this, "BUp", QString::fromUtf8("\u25B2"), QRect(632, 590, 30, 28));
    BDown = MakeButton(this, "BDown", QString::fromUtf8("\u25BC"), QRect(632, 625, 30, 28));

    auto* report = new QGroupBox("Report", this);
    report->setObjectName("GroupBoxReport");
    report->setGeometry(680, 552, 315, 136);
    for (int s = 0; s < 5; ++s) {
        auto* image = new QToolButton(report);
        image->setObjectName(QString("Image%1").arg(s + 1));
        image->setGeometry(12, 22, 55, 70);
        image->setIcon(ReportStylePicture(s + 1));
        image->setIconSize(QSize(55, 70));
        image->setToolTip("Report Style");
        image->setCursor(Qt::PointingHandCursor);
        image->setAutoRaise(true);
        Image[static_cast<std::size_t>(s)] = image;
    }
    BitBtn2 = MakeButton(report, "BitBtn2", "PreView", QRect(90, 30, 100, 28));
    BitBtn1 = MakeButton(report, "BitBtn1", "Print", QRect(90, 66, 100, 28));
}

void TFormComp::ConnectControls() {
    connect(Button1, &QPushButton::clicked, this, &TFormComp::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFormComp::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TFormComp::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TFormComp::Button4Click);
    connect(BUp, &QPushButton::clicked, this, &TFormComp::BUpClick);
    connect(BDown, &QPushButton::clicked, this, &TFormComp::BDownClick);
    connect(StringGrid2, &QTableWidget::currentCellChanged, this,
            [this](int row, int col, int, int) {
                if (row >= 0) StringGrid2SelectCell(col, row + 1);
            });
    connect(StringGrid2, &QTableWidget::cellClicked, this,
            [this](int row, int col) { StringGrid2SelectCell(col, row + 1); });
    connect(ComboBox1, qOverload<int>(&QComboBox::activated), this, [this](int) { ComboBox1Change(); });
    connect(StringGrid1, &QTableWidget::cellClicked, this,
            [this](int row, int col) { StringGrid1SelectCell(col, row + 1); });
    connect(StringGrid1, &QTableWidget::currentCellChanged, this,
            [this](int row, int col, int, int) {
                if (row >= 0 && row + 1 != IndexGridRow) StringGrid1SelectCell(col, row + 1);
            });
    connect(StringGrid1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(StringGrid1->viewport()->mapToGlobal(at)); });
    connect(CopytoClipboard1, &QAction::triggered, this, &TFormComp::CopytoClipboard1Click);
    for (int c = 0; c < 4; ++c)
        connect(StructureChoice[static_cast<std::size_t>(c)], qOverload<int>(&QComboBox::activated),
                this, [this, c](int) { DrawChart(c); });
    connect(DoseButtons, &QButtonGroup::idClicked, this, [this](int) { RadioGroup1Click(); });
    for (QRadioButton* b : {RadioButton1, RadioButton2, RadioButton3, RadioButton4})
        connect(b, &QRadioButton::clicked, this, &TFormComp::RadioButton1Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TFormComp::BitBtn3Click);
    connect(BitBtn4, &QPushButton::clicked, this, &TFormComp::BitBtn4Click);
    connect(BitBtn5, &QPushButton::clicked, this, &TFormComp::BitBtn5Click);
    connect(ComboBox6, qOverload<int>(&QComboBox::activated), this, [this](int) { ComboBox6Change(); });
    for (QToolButton* image : Image) connect(image, &QToolButton::clicked, this, &TFormComp::ImageClick);
    connect(BitBtn2, &QPushButton::clicked, this, &TFormComp::BitBtn2Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TFormComp::PrintReport);
}

void TFormComp::showEvent(QShowEvent* event) {
    if (!m_shownOnce && m_owner) {
        m_shownOnce = true;
        move(m_owner->frameGeometry().center() - rect().center());
    }
    ReadStructureSets();
    // Plans may have gone while the window was closed.
    if (ReconcilePlans()) MainPlansChanged();
    QWidget::showEvent(event);
}

void TFormComp::closeEvent(QCloseEvent* event) {
    // The plan choice goes with the window.
    if (FormCompSelect->isVisible()) FormCompSelect->close();
    QWidget::closeEvent(event);
}

bool TFormComp::eventFilter(QObject* watched, QEvent* event) {
    if (watched == StringGrid1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_C && (key->modifiers() & Qt::ControlModifier)) {
            CopytoClipboard1Click();
            return true;
        }
    }
    if (StringGrid2 && watched == StringGrid2->viewport() &&
        event->type() == QEvent::MouseButtonDblClick) {
        StringGrid2DblClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TFormComp::ShowMessage(const QString& text, const QString& caption) {
    auto* box = new QMessageBox(QMessageBox::Critical, caption, text, QMessageBox::Ok, this);
    box->setObjectName("CompMessage");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

bool TFormComp::ReconcilePlans() { return Compared.Reconcile(m_ws.PDataset); }

std::vector<const PDatasetClass*> TFormComp::ComparedPlanPointers() const {
    return Compared.Plans(m_ws.PDataset);
}
