// The comparison report's row list.
#include "compare/ui/TFormCompRList.h"

#include <QListWidget>
#include <QPushButton>

TFormCompRList::TFormCompRList(QWidget* reportWindow) : TFormDialog(reportWindow, true) {
    setObjectName("FormCompRList");
    setWindowTitle("FormCompRList");
    SetFixedDialogFrame(285, 460);
    CheckListBox1 = new QListWidget(this);
    CheckListBox1->setObjectName("CheckListBox1");
    CheckListBox1->setGeometry(15, 16, 240, 360);
    QFont font("Tahoma");
    font.setPixelSize(13);
    CheckListBox1->setFont(font);
    Button1 = new QPushButton("OK", this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(91, 388, 77, 29);
    Button2 = new QPushButton("Cancel", this);
    Button2->setObjectName("Button2");
    Button2->setGeometry(175, 388, 77, 29);
    for (QPushButton* b : {Button1, Button2}) b->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &TFormCompRList::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFormCompRList::Button2Click);
}

std::vector<bool> TFormCompRList::Checks() const {
    std::vector<bool> checks;
    for (int i = 0; i < CheckListBox1->count(); ++i)
        checks.push_back(CheckListBox1->item(i)->checkState() == Qt::Checked);
    return checks;
}

void TFormCompRList::SetChecks(const std::vector<bool>& checks) {
    for (int i = 0; i < CheckListBox1->count() && i < static_cast<int>(checks.size()); ++i)
        CheckListBox1->item(i)->setCheckState(checks[static_cast<std::size_t>(i)] ? Qt::Checked
                                                                                  : Qt::Unchecked);
}

void TFormCompRList::FormShow() { SetOwnerEnabled(false); }
void TFormCompRList::FormClose() { SetOwnerEnabled(true); }

void TFormCompRList::Button1Click() {
    close();
    if (OnClosed) OnClosed();
}

// "Cancel" keeps the marks as they stand, like "OK".
void TFormCompRList::Button2Click() { Button1Click(); }

// The close box is "Cancel": the page is drawn again with the marks as they stand.
void TFormCompRList::CloseBoxClick() {
    if (OnClosed) OnClosed();
}
