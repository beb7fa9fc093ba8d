// The fields of an imported plan's dialog, and the dose field's filter and unit.
#include "import/ui/TFormPlanFields.h"

#include "widgets/TextBytes.h"
#include "import/PrescribedDoseText.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

namespace {

void Caption(QWidget* parent, int number, const char* text, int y) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString("Label%1").arg(number));
    label->setGeometry(16, y, 278, 18);
}

}  // namespace

TFormPlanFields::TFormPlanFields(QWidget* owner, bool closableByUser) : TFormDialog(owner, closableByUser) {
    SetFixedDialogFrame(310, 553);
    QLineEdit** edits[] = {&Edit1, &Edit2, &Edit3, &Edit4, &Edit5};
    const char* captions[] = {"Patient Name", "Patient ID", "Plan Name", "Plan ID", "Prescribed Dose"};
    for (int i = 0; i < 5; ++i) {
        Caption(this, i + 1, captions[i], 10 + i * 50);
        *edits[i] = new QLineEdit(this);
        (*edits[i])->setObjectName(QString("Edit%1").arg(i + 1));
        (*edits[i])->setGeometry(16, 30 + i * 50, i == 4 ? 200 : 278, 24);
    }
    Label6 = new QLabel("Gy", this);
    Label6->setObjectName("Label6");
    Label6->setGeometry(226, 230, 60, 24);

    Caption(this, 8, "Normal Tissue", 262);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->setGeometry(16, 282, 278, 26);

    Caption(this, 7, "Select Plan", 316);
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
    connect(Edit5, &QLineEdit::textChanged, this, &TFormPlanFields::Edit5Change);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
}

void TFormPlanFields::FillChoices(const std::vector<std::string>& names, int normalTissueItem,
                                  const std::vector<std::string>& planLists) {
    ComboBox1->clear();
    ComboBox1->addItem("---");
    for (const std::string& name : names) ComboBox1->addItem(FromBytes(name));
    ComboBox1->setCurrentIndex(normalTissueItem);
    ListBox1->clear();
    ListBox1->addItem("N/A");
    for (const std::string& name : planLists) ListBox1->addItem(FromBytes(name));
    ListBox1->setCurrentRow(0);
}

bool TFormPlanFields::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit5 && event->type() == QEvent::KeyPress) {
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        // Digits and one point pass; backspace, cursor keys and shortcuts (no text) too.
        if (typed.size() == 1 && typed[0].isPrint() &&
            FilterDoseInput(Edit5->text().toStdString(), typed.toStdString()).empty())
            return true;
    }
    return TFormDialog::eventFilter(watched, event);
}

void TFormPlanFields::Edit5Change() {
    Label6->setText(PrescribedDoseUnit(Edit5->text().toStdString()));
    update();
}

void TFormPlanFields::ShowError(const char* boxName, const QString& caption, const QString& text) {
    auto* box = new QMessageBox(QMessageBox::Critical, caption, text, QMessageBox::Ok, this);
    box->setObjectName(boxName);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}
