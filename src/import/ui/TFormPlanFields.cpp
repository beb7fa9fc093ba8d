// The fields of an imported plan's dialog, and the dose field's filter and unit.
#include "import/ui/TFormPlanFields.h"

#include "widgets/ItemHeight.h"
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

// The fields stand in rows, each caption left of its control, so that the plan list below
// them keeps its designed 269 x 313 within the fixed window.
constexpr int kRowTop = 10, kRowPitch = 28, kFieldLeft = 124, kFieldWidth = 170;

int RowY(int row) { return kRowTop + row * kRowPitch; }

void Caption(QWidget* parent, int number, const char* text, QRect where) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString("Label%1").arg(number));
    label->setGeometry(where);
}

}  // namespace

TFormPlanFields::TFormPlanFields(QWidget* owner) : TFormDialog(owner, true) {
    SetFixedDialogFrame(310, 553);
    QLineEdit** edits[] = {&Edit1, &Edit2, &Edit3, &Edit4, &Edit5};
    const char* captions[] = {"Patient Name", "Patient ID", "Plan Name", "Plan ID", "Prescribed Dose"};
    for (int i = 0; i < 5; ++i) {
        Caption(this, i + 1, captions[i], QRect(16, RowY(i), kFieldLeft - 20, 24));
        *edits[i] = new QLineEdit(this);
        (*edits[i])->setObjectName(QString("Edit%1").arg(i + 1));
        (*edits[i])->setGeometry(kFieldLeft, RowY(i), i == 4 ? 120 : kFieldWidth, 24);
    }
    Label6 = new QLabel("Gy", this);
    Label6->setObjectName("Label6");
    Label6->setGeometry(kFieldLeft + 126, RowY(4), 44, 24);

    Caption(this, 8, "Normal Tissue", QRect(16, RowY(5), kFieldLeft - 20, 26));
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->setGeometry(kFieldLeft, RowY(5), kFieldWidth, 26);

    Caption(this, 7, "Select Plan", QRect(16, RowY(6) + 4, 278, 18));
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName("ListBox1");
    ListBox1->setGeometry(16, RowY(6) + 22, 269, 313);
    QFont larger = ListBox1->font();
    larger.setPixelSize(16);  // the window font is pixel-sized, so it has no point size to scale
    ListBox1->setFont(larger);
    SetItemHeight(ListBox1, 19);

    Button1 = new QPushButton("OK", this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(60, 520, 88, 26);
    Button2 = new QPushButton("Cancel", this);
    Button2->setObjectName("Button2");
    Button2->setGeometry(162, 520, 88, 26);
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
    const std::string shown = Label6->text().toStdString();
    Label6->setText(PrescribedDoseUnit(Edit5->text().toStdString(), shown.c_str()));
    update();
}

void TFormPlanFields::ShowError(const char* boxName, const QString& caption, const QString& text) {
    auto* box = new QMessageBox(QMessageBox::Critical, caption, text, QMessageBox::Ok, this);
    box->setObjectName(boxName);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}
