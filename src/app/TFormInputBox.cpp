// The input box: character filter, OK dispatch by mode, and the prescribed-dose entry.
#include "app/TFormInputBox.h"

#include "dvh/NameCharacters.h"
#include "dvh/TypedNumber.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

TFormInputBox::TFormInputBox(QWidget* owner) : TFormDialog(owner) {
    setObjectName("FormInputBox");
    setWindowTitle("Tessaray");
    SetFixedDialogFrame(380, 140);

    Label1 = new QLabel("Text", this);
    Label1->setObjectName("Label1");
    Label1->setGeometry(24, 16, 333, 16);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName("Edit1");
    Edit1->setGeometry(24, 40, 333, 24);
    Edit1->installEventFilter(this);
    Button1 = new QPushButton("OK", this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(184, 88, 80, 28);
    Button2 = new QPushButton("Cancel", this);
    Button2->setObjectName("Button2");
    Button2->setGeometry(277, 88, 80, 28);
    for (QPushButton* b : {Button1, Button2}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    connect(Edit1, &QLineEdit::textChanged, this, &TFormInputBox::Edit1Change);
    // Pasted text is filtered like typed text: a name must never carry a path separator.
    connect(Edit1, &QLineEdit::textEdited, this, [this](const QString& text) {
        QString clean;
        int cursor = Edit1->cursorPosition();
        for (int i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            if (c.unicode() < 128 && IsForbiddenNameCharacter(static_cast<char>(c.unicode()))) {
                if (i < Edit1->cursorPosition()) --cursor;
                continue;
            }
            clean += c;
        }
        if (clean.size() == text.size()) return;
        Edit1->setText(clean);
        Edit1->setCursorPosition(std::max(0, cursor));
    });
    connect(Button1, &QPushButton::clicked, this, &TFormInputBox::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFormInputBox::Button2Click);

    SetModeHandler(9, [](TFormInputBox& box) { return box.DoseEntry(); });
}

void TFormInputBox::SetModeHandler(int mode, ModeHandler handler) {
    m_modes[mode] = std::move(handler);
}

void TFormInputBox::AskPrescribedDose(int openFileIndex) {
    Label1->setText("Input prescribed dose [Gy].");
    setWindowTitle("Prescribed dose");
    OpenFileIndex = openFileIndex;
    Mode = 9;
    // The box never offers a dose of an earlier load.
    PrescribedDose = 0;
    Edit1->clear();
    show();
    raise();
}

void TFormInputBox::SetOpenersEnabled(bool enabled) {
    SetOwnerEnabled(enabled);
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "FormComp") w->setEnabled(enabled);
}

void TFormInputBox::FormShow() {
    Button1->setEnabled(false);
    SetOpenersEnabled(false);
    // Typing goes into the field whatever was clicked last time: a button that kept the
    // focus would take a space as a press (OK is disabled here, so it would be Cancel) and
    // close the box unsaved. A proposed name is selected, so typing replaces it.
    Edit1->setFocus(Qt::OtherFocusReason);
    Edit1->selectAll();
    activateWindow();
}

void TFormInputBox::FormClose() {
    Edit1->clear();
    SetOpenersEnabled(true);
}

void TFormInputBox::Edit1Change() {
    if (!Edit1->text().isEmpty()) Button1->setEnabled(true);
}

bool TFormInputBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit1 && event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (text.size() == 1 && text[0].unicode() < 128 &&
            IsForbiddenNameCharacter(static_cast<char>(text[0].unicode())))
            return true;  // the character never reaches the text
    }
    return TFormDialog::eventFilter(watched, event);
}

void TFormInputBox::Button1Click() {
    bool keepOpen = false;
    if (const auto it = m_modes.find(Mode); it != m_modes.end()) keepOpen = it->second(*this);
    if (keepOpen) {
        Edit1->clear();
        return;
    }
    Mode = 0;
    close();
}

bool TFormInputBox::DoseEntry() {
    PrescribedDose = 0;
    const std::string text = Edit1->text().toStdString();
    const char separator = QLocale().decimalPoint().isEmpty()
                               ? '.'
                               : static_cast<char>(QLocale().decimalPoint().at(0).toLatin1());
    const auto value = ParsePrescribedDose(text, separator ? separator : '.');
    if (!value) return true;  // no usable number: the box stays for another try, nothing is read
    if (!PrescribedDoseAccepted(*value)) {
        // A dose of 0 or below would read an empty plan; the box stays for another try.
        auto* refused = new QMessageBox(QMessageBox::Warning, "Prescribed dose",
                                        "Prescribed dose must be a number greater than 0.",
                                        QMessageBox::Ok, this);
        refused->setObjectName("DoseRefusedBox");
        refused->setAttribute(Qt::WA_DeleteOnClose);
        refused->show();
        return true;
    }
    PrescribedDose = *value;
    // Let the box disappear before the long read starts.
    close();
    QApplication::processEvents();
    if (OnDoseEntered) OnDoseEntered(PrescribedDose);
    return false;
}

void TFormInputBox::Button2Click() {
    if (Mode == 9 && OnDoseCancelled) OnDoseCancelled();
    close();
}
