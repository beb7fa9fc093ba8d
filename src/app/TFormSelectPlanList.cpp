// The plan-list choice: the list box, its OK and the hand-back to the load that waits.
#include "app/TFormSelectPlanList.h"

#include "widgets/TextBytes.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>

TFormSelectPlanList::TFormSelectPlanList(QWidget* owner) : TFormDialog(owner) {
    setObjectName("FormSelectPlanList");
    setWindowTitle("Select Plan");
    SetFixedDialogFrame(250, 330);

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName("ListBox1");
    ListBox1->setGeometry(12, 12, 226, 260);
    Button1 = new QPushButton("OK", this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(85, 286, 80, 28);
    Button1->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &TFormSelectPlanList::Button1Click);
}

void TFormSelectPlanList::Ask(int openFileIndex, const std::vector<std::string>& names) {
    OpenFileIndex = openFileIndex;
    ListBox1->clear();
    ListBox1->addItem("N/A");
    for (const std::string& name : names) ListBox1->addItem(FromBytes(name));
    ListBox1->setCurrentRow(0);
    show();
    raise();
}

void TFormSelectPlanList::FormShow() {
    SetOwnerEnabled(false);
}

void TFormSelectPlanList::FormClose() {
    SetOwnerEnabled(true);
}

void TFormSelectPlanList::Button1Click() {
    // Row 0 is "N/A"; row k names list k - 1. No selection counts as "N/A".
    const int listIndex = ListBox1->currentRow() - 1;
    close();
    QApplication::processEvents();  // the dialog disappears before the file is read
    if (OnChosen) OnChosen(listIndex < 0 ? -1 : listIndex);
}
