// The comparison's plan choice: check the plans to compare.
#include "compare/ui/TFormCompSelect.h"

#include <QListWidget>
#include <QPushButton>

TFormCompSelect::TFormCompSelect(QWidget* formComp) : TFormDialog(formComp, true) {
    setObjectName("FormCompSelect");
    setWindowTitle("Select Plan");
    SetFixedDialogFrame(550, 475);
    CheckListBox1 = new QListWidget(this);
    CheckListBox1->setObjectName("CheckListBox1");
    CheckListBox1->setGeometry(12, 12, 526, 400);
    QFont font("Tahoma");
    font.setPixelSize(13);
    CheckListBox1->setFont(font);
    Button1 = new QPushButton("OK", this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(350, 428, 88, 30);
    Button2 = new QPushButton("Cancel", this);
    Button2->setObjectName("Button2");
    Button2->setGeometry(450, 428, 88, 30);
    for (QPushButton* b : {Button1, Button2}) b->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &TFormCompSelect::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFormCompSelect::Button2Click);
}

void TFormCompSelect::FormShow() { SetOwnerEnabled(false); }
void TFormCompSelect::FormClose() { SetOwnerEnabled(true); }

void TFormCompSelect::Button1Click() {
    std::vector<int> chosen;
    for (int i = 0; i < CheckListBox1->count() && i < static_cast<int>(ItemDatasetIndex.size()); ++i)
        if (CheckListBox1->item(i)->checkState() == Qt::Checked)
            chosen.push_back(ItemDatasetIndex[static_cast<std::size_t>(i)]);
    close();
    if (OnChosen) OnChosen(chosen);
}

void TFormCompSelect::Button2Click() { close(); }
