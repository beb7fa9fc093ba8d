// The XiO dialog: its fields, the dose filter and unit, the checks of OK, and Cancel.
#include "import/ui/TFormXiO.h"

#include "app/TextBytes.h"
#include "import/PrescribedDoseText.h"
#include "import/XiOExport.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

namespace {

QLabel* Caption(QWidget* parent, const char* text, int y) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(16, y, 278, 18);
    return label;
}

}  // namespace

TFormXiO::TFormXiO(QWidget* owner) : TFormDialog(owner) {
    setObjectName("FormXiO");
    setWindowTitle("XiO");
    SetFixedDialogFrame(310, 553);

    QLineEdit** edits[] = {&Edit1, &Edit2, &Edit3, &Edit4, &Edit5};
    const char* captions[] = {"Patient Name", "Patient ID", "Plan Name", "Plan ID", "Prescribed Dose"};
    for (int i = 0; i < 5; ++i) {
        Caption(this, captions[i], 10 + i * 50);
        *edits[i] = new QLineEdit(this);
        (*edits[i])->setObjectName(QString("Edit%1").arg(i + 1));
        (*edits[i])->setGeometry(16, 30 + i * 50, i == 4 ? 200 : 278, 24);
    }
    Label6 = new QLabel("Gy", this);
    Label6->setObjectName("Label6");
    Label6->setGeometry(226, 230, 60, 24);

    Caption(this, "Normal Tissue", 262);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->setGeometry(16, 282, 278, 26);

    Caption(this, "Select Plan", 316);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName("ListBox1");
    ListBox1->setGeometry(16, 336, 278, 160);
    QFont larger = ListBox1->font();
    larger.setPixelSize(16);  // the window font is pixel-sized, so it has no point size to scale
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
    connect(Edit5, &QLineEdit::textChanged, this, &TFormXiO::Edit5Change);
    connect(Button1, &QPushButton::clicked, this, &TFormXiO::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFormXiO::Button2Click);
}

void TFormXiO::Ask(const XiOLoadRequest& request, const std::string& patientName, const std::string& patientID,
                   const std::string& planName, const std::string& planID, const std::vector<std::string>& planLists) {
    ComboBox1->clear();
    ComboBox1->addItem("---");
    for (const std::string& name : request.Names) ComboBox1->addItem(FromBytes(name));
    ComboBox1->setCurrentIndex(XiONormalTissueItem(request.Names));
    ListBox1->clear();
    ListBox1->addItem("N/A");
    for (const std::string& name : planLists) ListBox1->addItem(FromBytes(name));
    ListBox1->setCurrentRow(0);
    Edit1->setText(FromBytes(patientName));
    Edit2->setText(FromBytes(patientID));
    Edit3->setText(FromBytes(planName));
    Edit4->setText(FromBytes(planID));
    if (request.UseModFile && !request.ModDoseText.empty())
        Edit5->setText(QString::fromStdString(FilterDoseInput("", request.ModDoseText)));
    FilePath = request.FilePath;
    UseModFile = request.UseModFile;
    ModFilePath = request.ModFilePath;
    show();
    raise();
}

void TFormXiO::FormShow() { SetOwnerEnabled(false); }

void TFormXiO::FormClose() {
    SetOwnerEnabled(true);
    UseModFile = false;
}

bool TFormXiO::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit5 && event->type() == QEvent::KeyPress) {
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        // Digits and one point pass; backspace, cursor keys and shortcuts (no text) too.
        if (typed.size() == 1 && typed[0].isPrint() &&
            FilterDoseInput(Edit5->text().toStdString(), typed.toStdString()).empty())
            return true;
    }
    return TFormDialog::eventFilter(watched, event);
}

void TFormXiO::Edit5Change() {
    Label6->setText(PrescribedDoseUnit(Edit5->text().toStdString()));
    update();
}

void TFormXiO::ShowError(const QString& text) {
    auto* box = new QMessageBox(QMessageBox::Critical, "XiO - DVH", text, QMessageBox::Ok, this);
    box->setObjectName("XiOErrorBox");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}

void TFormXiO::Button1Click() {
    const std::string dose = Edit5->text().toStdString();
    if (dose.empty()) return ShowError("Prescribed dose is not specified.");
    if (ListBox1->currentRow() < 0) return ShowError("Plan is not specified.");
    const auto doseGy = PrescribedDoseGy(dose);
    if (!doseGy) return ShowError("Prescribed dose must be a number greater than 0.");

    XiODialogAnswer answer;
    answer.PatientName = Edit1->text().toStdString();
    answer.PatientID = Edit2->text().toStdString();
    answer.PlanName = Edit3->text().toStdString();
    answer.PlanID = Edit4->text().toStdString();
    answer.DoseGy = *doseGy;
    answer.PlanListItem = ListBox1->currentRow();
    answer.NormalTissueItem = ComboBox1->currentIndex();
    close();
    QApplication::processEvents();  // the dialog disappears before the file is read
    if (OnOk) OnOk(answer);
}

void TFormXiO::Button2Click() {
    close();
    if (OnCancel) OnCancel();
}
