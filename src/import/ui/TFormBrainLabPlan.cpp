// The shared plan dialog of the BrainLAB import: its fields, the dose filter and unit, OK and Cancel.
#include "import/ui/TFormBrainLabPlan.h"

#include "app/TextBytes.h"
#include "dvh/Workspace.h"
#include "import/ClipboardPlan.h"
#include "import/PrescribedDoseText.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTime>

namespace {

QLabel* Caption(QWidget* parent, const char* name, const char* text, int y) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(16, y, 278, 18);
    return label;
}

}  // namespace

TFormBrainLabPlan::TFormBrainLabPlan(Workspace& ws, QWidget* owner, const char* objectName, const char* kind,
                                     int fileType)
    : TFormDialog(owner, true), m_ws(ws), m_kind(kind), m_fileType(fileType) {
    setObjectName(objectName);
    setWindowTitle(kind);
    SetFixedDialogFrame(310, 553);
    // The close box stays: closing the dialog so is its Cancel.
    setWindowFlags(windowFlags() | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    QFont tahoma("Tahoma");
    tahoma.setPixelSize(12);
    setFont(tahoma);

    QLineEdit** edits[] = {&Edit1, &Edit2, &Edit3, &Edit4, &Edit5};
    const char* captions[] = {"Patient Name", "Patient ID", "Plan Name", "Plan ID", "Prescribed Dose"};
    for (int i = 0; i < 5; ++i) {
        Caption(this, QString("Label%1").arg(i + 1).toLatin1().constData(), captions[i], 10 + i * 50);
        *edits[i] = new QLineEdit(this);
        (*edits[i])->setObjectName(QString("Edit%1").arg(i + 1));
        (*edits[i])->setGeometry(16, 30 + i * 50, i == 4 ? 200 : 278, 24);
    }
    Label6 = new QLabel("Gy", this);
    Label6->setObjectName("Label6");
    Label6->setGeometry(226, 230, 60, 24);

    Caption(this, "Label8", "Normal Tissue", 262);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->setGeometry(16, 282, 278, 26);

    Caption(this, "Label7", "Select Plan", 316);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName("ListBox1");
    ListBox1->setGeometry(16, 336, 269, 160);
    QFont larger = ListBox1->font();
    larger.setPixelSize(16);
    ListBox1->setFont(larger);

    Button1 = new QPushButton("OK", this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(60, 510, 88, 30);
    Button2 = new QPushButton("Cancel", this);
    Button2->setObjectName("Button2");
    Button2->setGeometry(162, 510, 88, 30);
    for (QPushButton* b : {Button1, Button2}) b->setAutoDefault(false);

    Edit5->installEventFilter(this);
    // Pasted text keeps only what could have been typed.
    connect(Edit5, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QString kept = QString::fromStdString(FilterDoseInput("", text.toStdString()));
        if (kept != text) Edit5->setText(kept);
    });
    connect(Edit5, &QLineEdit::textChanged, this, &TFormBrainLabPlan::Edit5Change);
    connect(Button1, &QPushButton::clicked, this, &TFormBrainLabPlan::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFormBrainLabPlan::Button2Click);
}

void TFormBrainLabPlan::Fill(const std::vector<std::string>& names, int normalTissueItem) {
    ComboBox1->clear();
    ComboBox1->addItem("---");
    for (const std::string& name : names) ComboBox1->addItem(FromBytes(name));
    ComboBox1->setCurrentIndex(normalTissueItem);
    ++m_ws.ImportPlanNumber;
    if (Edit1->text().isEmpty()) Edit1->setText("temp");
    if (Edit2->text().isEmpty()) Edit2->setText("temp");
    Edit3->setText(m_kind);
    Edit4->setText(QString("Plan_%1").arg(m_ws.ImportPlanNumber));
    ListBox1->clear();
    ListBox1->addItem("N/A");
    for (const PlanListNameClass& list : m_ws.PlanListName) ListBox1->addItem(FromBytes(list.Name));
    ListBox1->setCurrentRow(0);
}

void TFormBrainLabPlan::FormShow() {
    m_added = false;
    SetOwnerEnabled(false);
}

void TFormBrainLabPlan::FormClose() {
    // However the dialog goes without a plan (Cancel, the close box), its opening is taken back.
    if (!m_added) --m_ws.ImportPlanNumber;
    m_added = true;
    SetOwnerEnabled(true);
}

bool TFormBrainLabPlan::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit5 && event->type() == QEvent::KeyPress) {
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        // Digits and one point pass; backspace, cursor keys and shortcuts (no text) too.
        if (typed.size() == 1 && typed[0].isPrint() &&
            FilterDoseInput(Edit5->text().toStdString(), typed.toStdString()).empty())
            return true;
    }
    return TFormDialog::eventFilter(watched, event);
}

void TFormBrainLabPlan::Edit5Change() {
    Label6->setText(PrescribedDoseUnit(Edit5->text().toStdString()));
    update();
}

void TFormBrainLabPlan::ShowError(const QString& caption, const QString& text) {
    auto* box = new QMessageBox(QMessageBox::Critical, caption, text, QMessageBox::Ok, this);
    box->setObjectName("BrainLabErrorBox");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}

void TFormBrainLabPlan::Button1Click() {
    if (!FieldsAccepted()) return;
    float doseGy = 0;
    if (NeedsTypedDose()) {
        const auto dose = PrescribedDoseGy(Edit5->text().toStdString());
        if (!dose) return ShowError(MessageCaption(), "Prescribed dose must be a number greater than 0.");
        doseGy = *dose;
    }
    std::vector<DVHDatasetClass> structures;
    if (const ReadResult read = BuildStructures(doseGy, structures); !read) {
        QString where = read.line > 0 ? QString(" (line %1)").arg(read.line) : QString();
        return ShowError(MessageCaption(), "The copied table cannot be read" + where + ": " +
                                               FromBytes(read.detail) + ". No plan was added.");
    }
    // Fixed formats: the key must not carry a locale's words, zone names or AM/PM, and saved
    // tables take exactly ten date characters.
    const std::string date = QDate::currentDate().toString("yyyy/MM/dd").toStdString();
    const std::string time = QTime::currentTime().toString("HH:mm:ss").toStdString();
    ClipboardPlanFields fields;
    fields.PatientName = ToBytes(Edit1->text());
    fields.PatientID = ToBytes(Edit2->text());
    fields.PlanName = ToBytes(Edit3->text());
    fields.PlanID = ToBytes(Edit4->text());
    fields.PlanListItem = ListBox1->currentRow();
    fields.NormalTissueItem = ComboBox1->currentIndex();
    const int plan = AppendClipboardPlan(m_ws, m_fileType, fields, date, time, std::move(structures));
    m_added = true;
    close();
    if (OnPlanAdded) OnPlanAdded(plan);
}

void TFormBrainLabPlan::Button2Click() { close(); }
