// The index editor: loads a row into its controls; OK checks every number before the row changes.
#include "planlist/ui/TFormIndex.h"

#include "dvh/Workspace.h"
#include "planlist/ui/PlanListWindowHost.h"
#include "widgets/TextBytes.h"
#include "planlist/IndexTexts.h"
#include "planlist/ui/EditorChoices.h"
#include "planlist/ui/UserQuestion.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const char* const kKinds[17] = {
    "D**%  ---  [%]", "D**%  ---  [Gy]", "D**cc  ---  [%]", "D**cc  ---  [Gy]",
    "V**%  ---  [%]", "V**%  ---  [cc]", "V**Gy  ---  [%]", "V**Gy  ---  [cc]",
    "mean dose [%]",  "mean dose [Gy]",  "max dose [%]",    "max dose [Gy]",
    "min dose [%]",   "min dose [Gy]",   "volume [cc]",     "Homogeneity Index",
    "Conformity Index"};

QLineEdit* MakeNumberField(QWidget* parent, const char* name, QObject* filter) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->installEventFilter(filter);
    return field;
}

QString Q(const std::string& s) { return FromBytes(s); }

}  // namespace

TFormIndex::TFormIndex(PlanListWindowHost* main)
    : QDialog(main->HostWindow()),
      m_host(main),
      m_main(&main->HostWorkspace()),
      m_handlers(
          this, [this] { FormShow(); }, [this] { FormClose(); }) {
    setObjectName("FormIndex");
    setWindowTitle("Edit Index");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setFixedSize(435, 260);

    ComboBox2 = new QComboBox(this);
    ComboBox2->setObjectName("ComboBox2");
    ComboBox2->setEditable(true);
    ComboBox2->setInsertPolicy(QComboBox::NoInsert);
    ComboBox2->setMaxVisibleItems(15);
    ComboBox2->setContextMenuPolicy(Qt::CustomContextMenu);
    const NameChoiceMenu names = MakeNameChoiceMenu(this);
    PopupMenu1 = names.menu;
    CurrentPlan1 = names.currentPlan;
    All1 = names.all;

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->setMaxVisibleItems(17);
    for (const char* kind : kKinds) ComboBox1->addItem(kind);
    Edit1 = MakeNumberField(this, "Edit1", this);

    Panel2 = new QWidget(this);
    Panel2->setObjectName("Panel2");
    ComboBox3 = new QComboBox(Panel2);
    ComboBox3->setObjectName("ComboBox3");
    for (int r = 0; r < 8; ++r) ComboBox3->addItem(Q(ConformityReferenceName(r)));
    Edit3 = MakeNumberField(Panel2, "Edit3", this);
    ComboBox3->setSizeAdjustPolicy(QComboBox::AdjustToContents);  // "Prescribed dose" whole
    Edit3->setFixedWidth(40);
    auto* ci = new QHBoxLayout(Panel2);
    ci->setContentsMargins(0, 0, 0, 0);
    ci->setSpacing(2);
    for (QWidget* part : std::initializer_list<QWidget*>{
             new QLabel("Conformity Index =  Body-V[ ", Panel2), ComboBox3, Edit3,
             new QLabel("] / PTV volume", Panel2)})
        ci->addWidget(part);
    ci->addStretch(1);

    GroupBox1 = new QGroupBox("Constraint", this);
    GroupBox1->setObjectName("GroupBox1");
    RadioButton1 = new QRadioButton("None", GroupBox1);
    RadioButton1->setObjectName("RadioButton1");
    RadioButton2 = new QRadioButton("Upper", GroupBox1);
    RadioButton2->setObjectName("RadioButton2");
    RadioButton3 = new QRadioButton("Lower", GroupBox1);
    RadioButton3->setObjectName("RadioButton3");
    Edit2 = MakeNumberField(GroupBox1, "Edit2", this);
    CViewOnOff = new QCheckBox("Show constraint point", GroupBox1);
    CViewOnOff->setObjectName("CViewOnOff");
    auto* limits = new QGridLayout(GroupBox1);
    limits->addWidget(RadioButton1, 0, 0);
    limits->addWidget(RadioButton2, 0, 1);
    limits->addWidget(RadioButton3, 0, 2);
    limits->addWidget(new QLabel("Constraint Value", GroupBox1), 1, 0);
    limits->addWidget(Edit2, 1, 1);
    limits->addWidget(CViewOnOff, 1, 2);

    Shape1 = new QFrame(this);
    Shape1->setObjectName("Shape1");
    Shape1->setFixedSize(25, 25);
    Shape1->setFrameStyle(QFrame::Box);
    Shape1->setAutoFillBackground(true);
    BitBtn1 = new QPushButton("Font Color", this);
    BitBtn1->setObjectName("BitBtn1");
    CheckBox1 = new QCheckBox("Print report", this);
    CheckBox1->setObjectName("CheckBox1");
    Button1 = new QPushButton("OK", this);
    Button1->setObjectName("Button1");
    Button2 = new QPushButton("Cancel", this);
    Button2->setObjectName("Button2");
    PickColor = MakeColorPicker(this, ColorDialog1);

    auto* top = new QGridLayout;
    top->addWidget(new QLabel("Structure", this), 0, 0);
    top->addWidget(new QLabel("Index", this), 0, 1);
    top->addWidget(new QLabel("** Value", this), 0, 2);
    top->addWidget(ComboBox2, 1, 0);
    top->addWidget(ComboBox1, 1, 1);
    top->addWidget(Edit1, 1, 2);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Shape1);
    bottom->addWidget(BitBtn1);
    bottom->addWidget(CheckBox1);
    bottom->addStretch(1);
    bottom->addWidget(Button1);
    bottom->addWidget(Button2);
    top->setVerticalSpacing(2);
    // Each caption stands right above its field; the conformity line keeps its place while
    // hidden, so the controls below do not jump when the kind changes.
    QSizePolicy keepPlace = Panel2->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    Panel2->setSizePolicy(keepPlace);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Panel2);
    layout->addWidget(GroupBox1);
    layout->addStretch(1);
    layout->addLayout(bottom);

    connect(ComboBox1, &QComboBox::currentIndexChanged, this, &TFormIndex::ComboBox1Change);
    connect(ComboBox3, &QComboBox::currentIndexChanged, this, &TFormIndex::ComboBox3Change);
    connect(ComboBox2, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(ComboBox2->mapToGlobal(at)); });
    connect(CurrentPlan1, &QAction::triggered, this, &TFormIndex::CurrentPlan1Click);
    connect(All1, &QAction::triggered, this, &TFormIndex::All1Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TFormIndex::BitBtn1Click);
    connect(Button1, &QPushButton::clicked, this, &TFormIndex::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFormIndex::Button2Click);
}

void TFormIndex::SetFontColor(TColor color) {
    m_fontColor = color;
    QPalette p = Shape1->palette();
    p.setColor(QPalette::Window, QColor(ColorRed(color), ColorGreen(color), ColorBlue(color)));
    Shape1->setPalette(p);
}

void TFormIndex::LoadIndex(const IndexDataClass& row) {
    const IndexEdit e = IndexEditFromRow(row);
    m_nameBytes.insert(Q(e.Structure), e.Structure);
    ComboBox2->setCurrentIndex(-1);
    ComboBox2->setEditText(Q(e.Structure));
    ComboBox1->setCurrentIndex(e.Kind >= 0 && e.Kind < 17 ? e.Kind : -1);
    ComboBox3->setCurrentIndex(e.CIReference >= 0 && e.CIReference < 8 ? e.CIReference : -1);
    Edit3->setText(Q(e.ValueCIText));
    Edit1->setText(Q(e.ValueText));
    SetFontColor(e.FontColor);
    RadioButton1->setChecked(e.Constraint == ConstraintChoice::None);
    RadioButton2->setChecked(e.Constraint == ConstraintChoice::Upper);
    RadioButton3->setChecked(e.Constraint == ConstraintChoice::Lower);
    Edit2->setText(Q(e.ConstraintText));
    CViewOnOff->setChecked(e.ConstraintView);
    CheckBox1->setChecked(e.Print);
}

void TFormIndex::Open(int list, int row, bool headsGroup) {
    if (list < 0 || list >= m_main->PlanListNameCount()) return;
    const PlanListNameClass& l = m_main->PlanListName[static_cast<std::size_t>(list)];
    if (row < 0 || row >= l.IndexDataCount()) return;
    LoadIndex(l.IndexData[static_cast<std::size_t>(row)]);
    IndexRow = row;
    PlanListIndex = list;
    HeadsGroup = headsGroup;
    CurrentPlan1Click();
    ComboBox1Change();
    show();
    raise();
}

IndexEdit TFormIndex::Fields() const {
    IndexEdit e;
    const QString shown = ComboBox2->currentText();
    const auto known = m_nameBytes.constFind(shown);
    e.Structure = known != m_nameBytes.constEnd() ? *known : ToBytes(shown);
    e.Kind = ComboBox1->currentIndex();
    e.ValueText = Edit1->text().toStdString();
    e.CIReference = ComboBox3->currentIndex();
    e.ValueCIText = Edit3->text().toStdString();
    e.Constraint = RadioButton2->isChecked()   ? ConstraintChoice::Upper
                   : RadioButton3->isChecked() ? ConstraintChoice::Lower
                                               : ConstraintChoice::None;
    e.ConstraintText = Edit2->text().toStdString();
    e.ConstraintView = CViewOnOff->isChecked();
    e.FontColor = m_fontColor;
    e.Print = CheckBox1->isChecked();
    return e;
}

void TFormIndex::FormShow() {
    m_host->SetFormEnabled(false);
    ComboBox1Change();
}

void TFormIndex::FormClose() { m_host->SetFormEnabled(true); }

void TFormIndex::SetFieldEnabled(QLineEdit* field, bool enabled) {
    if (!enabled) field->clear();
    field->setEnabled(enabled);
    QPalette p = field->palette();
    p.setColor(QPalette::Base, palette().color(enabled ? QPalette::Base : QPalette::Button));
    field->setPalette(p);
}

void TFormIndex::ComboBox1Change() {
    const int kind = ComboBox1->currentIndex();
    Panel2->setVisible(kind == 16);
    SetFieldEnabled(Edit1, kind <= 7);
    if (kind == 16) ComboBox3Change();
}

void TFormIndex::ComboBox3Change() { SetFieldEnabled(Edit3, ComboBox3->currentIndex() > 3); }

void TFormIndex::OfferNames(const std::vector<std::string>& names, QAction* checked) {
    const QString text = ComboBox2->currentText();
    ComboBox2->clear();
    QStringList shown;
    for (const std::string& n : names) {
        m_nameBytes.insert(Q(n), n);
        shown << Q(n);
    }
    shown.sort();  // the box is a sorted one
    ComboBox2->addItems(shown);
    ComboBox2->setCurrentIndex(-1);
    ComboBox2->setEditText(text);
    checked->setChecked(true);
    ComboBox2->setFocus();
}

void TFormIndex::CurrentPlan1Click() {
    std::vector<std::string> names;
    if (m_main->CurrentPlanIndex >= 0 && m_main->CurrentPlanIndex < m_main->PDatasetCount())
        for (const DVHDatasetClass& s : m_main->PDataset[m_main->CurrentPlanIndex].DVHDataset)
            names.push_back(s.Name);
    OfferNames(names, CurrentPlan1);
}

void TFormIndex::All1Click() {
    std::vector<std::string> names;
    if (PlanListIndex >= 0 && PlanListIndex < m_main->PlanListNameCount())
        names = m_main->PlanListName[static_cast<std::size_t>(PlanListIndex)].SNameDB;
    OfferNames(names, All1);
}

void TFormIndex::BitBtn1Click() {
    QColor color(ColorRed(m_fontColor), ColorGreen(m_fontColor), ColorBlue(m_fontColor));
    if (PickColor && PickColor(color)) SetFontColor(RgbColor(color.red(), color.green(), color.blue()));
}

void TFormIndex::ShowBadNumber(QLineEdit* field) {
    auto* box = new QMessageBox(QMessageBox::Warning, "Edit Index",
                                "'" + field->text() + "' is not a valid number.", QMessageBox::Ok,
                                this);
    box->setObjectName("BadNumberBox");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
    field->setFocus();
    field->selectAll();
}

void TFormIndex::Button1Click() {
    if (PlanListIndex < 0 || PlanListIndex >= m_main->PlanListNameCount()) {
        close();  // the list went away while the editor was open: nothing to write
        return;
    }
    PlanListNameClass& list = m_main->PlanListName[static_cast<std::size_t>(PlanListIndex)];
    switch (ApplyIndexEdit(list, IndexRow, Fields(), HeadsGroup)) {
        case IndexEditStatus::Ok:
        case IndexEditStatus::NoRow:
            break;
        case IndexEditStatus::BadValue:
            ShowBadNumber(Edit1);
            return;
        case IndexEditStatus::BadValueCI:
            ShowBadNumber(Edit3);
            return;
        case IndexEditStatus::BadConstraint:
            ShowBadNumber(Edit2);
            return;
    }
    close();
    m_host->UpdateIndexGrid(PlanListIndex);
}

void TFormIndex::Button2Click() { close(); }

bool TFormIndex::eventFilter(QObject* watched, QEvent* event) {
    // The number fields take digits, one '.', and the keys that move or delete.
    if (event->type() == QEvent::KeyPress &&
        (watched == Edit1 || watched == Edit2 || watched == Edit3)) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (!text.isEmpty() && text[0].isPrint()) {
            const QChar c = text[0];
            const bool dot = c == '.';
            if (!(c.isDigit() && c.unicode() < 128) && !dot) return true;
            if (dot && static_cast<QLineEdit*>(watched)->text().contains('.')) return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
