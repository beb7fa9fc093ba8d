// Modeless find and replace dialogs with the customisation.
#include "dialogs/TCFindDialog.h"

#include "dialogs/ShowCloseHandlers.h"
#include "dialogs/TCustomDialogWindow.h"
#include "dialogs/TDialogCustomizer.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

/// A labelled text box in `row` of `fields`.
QLineEdit* Field(const QString& label, const char* name, QGridLayout* fields, int row) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    auto* caption = new QLabel(label);
    caption->setBuddy(edit);
    fields->addWidget(caption, row, 0);
    fields->addWidget(edit, row, 1);
    return edit;
}

QPushButton* Button(const QString& text, const char* name, QBoxLayout* column) {
    auto* button = new QPushButton(text);
    button->setObjectName(name);
    column->addWidget(button);
    return button;
}

}  // namespace

TFindDialogForm::TFindDialogForm(bool replace) {
    // Text boxes on the left take all new width; the buttons on the right only move. A
    // stretch below everything keeps each control where it is when the dialog grows taller.
    auto* fields = new QGridLayout;
    fields->setColumnStretch(1, 1);
    FindWhat = Field("Fi&nd what:", "FindWhat", fields, 0);
    if (replace) ReplaceWith = Field("Re&place with:", "ReplaceWith", fields, 1);
    WholeWord = new QCheckBox("Match &whole word only");
    WholeWord->setObjectName("WholeWord");
    MatchCase = new QCheckBox("Match &case");
    MatchCase->setObjectName("MatchCase");
    auto* checks = new QVBoxLayout;
    checks->addWidget(WholeWord);
    checks->addWidget(MatchCase);
    auto* optionsRow = new QHBoxLayout;
    optionsRow->addLayout(checks);
    optionsRow->addStretch(1);
    if (!replace) {
        Direction = new QGroupBox("Direction");
        Direction->setObjectName("Direction");
        Up = new QRadioButton("&Up");
        Up->setObjectName("Up");
        Down = new QRadioButton("&Down");
        Down->setObjectName("Down");
        auto* directionLayout = new QHBoxLayout(Direction);
        directionLayout->addWidget(Up);
        directionLayout->addWidget(Down);
        optionsRow->addWidget(Direction);
    }
    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addLayout(optionsRow);

    auto* buttons = new QVBoxLayout;
    FindNext = Button("&Find Next", "FindNext", buttons);
    FindNext->setDefault(true);
    if (replace) {
        Replace = Button("&Replace", "Replace", buttons);
        ReplaceAll = Button("Replace &All", "ReplaceAll", buttons);
    }
    Cancel = Button("Cancel", "Cancel", buttons);

    auto* row = new QHBoxLayout;
    row->addLayout(left, 1);
    row->addLayout(buttons, 0);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(row);
    outer->addStretch(1);
}

TCFindDialog::TCFindDialog(QWidget* owner) : TCFindDialog(owner, false) {}

TCFindDialog::TCFindDialog(QWidget* owner, bool replace)
    : QObject(owner), TCustomDialogProperties(this), m_owner(owner), m_replace(replace) {}

TCFindDialog::~TCFindDialog() {
    // The sub form goes back to its owner before the window that holds it goes.
    delete m_handlers;  // no close handler runs on this half-destroyed object
    DialogUnit->DestroyDialog();
    delete m_window;
}

QString TCFindDialog::FindText() const { return m_findText; }

void TCFindDialog::SetFindText(const QString& text) {
    m_findText = text;
    if (m_form) m_form->FindWhat->setText(text);
}

QString TCReplaceDialog::ReplaceText() const { return m_replaceText; }

void TCReplaceDialog::SetReplaceText(const QString& text) {
    m_replaceText = text;
    if (m_form) m_form->ReplaceWith->setText(text);
}

bool TCFindDialog::Execute() {
    if (!m_window) {
        m_form = new TFindDialogForm(m_replace);
        m_window = new TCustomDialogWindow(m_owner ? m_owner->window() : nullptr, m_form);
        m_window->setObjectName(m_replace ? "ReplaceDialogWindow" : "FindDialogWindow");
        m_window->setWindowTitle(m_replace ? "Replace" : "Find");
        m_window->setModal(false);
        m_handlers = new ShowCloseHandlers(m_window, [this] { DoShow(); }, [this] { DoClose(); });
        m_handlers->setParent(m_window);
        connect(m_form->FindNext, &QPushButton::clicked, this, [this] {
            TakeChoices(frFindNext);
            if (OnFind) OnFind(this);
        });
        connect(m_form->Cancel, &QPushButton::clicked, m_window, &QDialog::reject);
        if (m_replace) {
            auto* self = static_cast<TCReplaceDialog*>(this);
            const auto replace = [self](unsigned action) {
                self->TakeChoices(action);
                if (self->OnReplace) self->OnReplace(self);
            };
            connect(m_form->Replace, &QPushButton::clicked, this, [replace] { replace(frReplace); });
            connect(m_form->ReplaceAll, &QPushButton::clicked, this, [replace] { replace(frReplaceAll); });
        }
    }
    if (m_window->isVisible()) {
        m_window->raise();
        m_window->activateWindow();
        return true;
    }
    ShowOptions();
    m_window->show();
    return true;
}

void TCFindDialog::CloseDialog() {
    if (m_window) m_window->hide();
}

void TCFindDialog::ShowOptions() {
    m_form->FindWhat->setText(m_findText);
    if (m_replace) m_form->ReplaceWith->setText(static_cast<TCReplaceDialog*>(this)->m_replaceText);
    m_form->WholeWord->setChecked(Options & frWholeWord);
    m_form->WholeWord->setVisible(!(Options & frHideWholeWord));
    m_form->WholeWord->setEnabled(!(Options & frDisableWholeWord));
    m_form->MatchCase->setChecked(Options & frMatchCase);
    m_form->MatchCase->setVisible(!(Options & frHideMatchCase));
    m_form->MatchCase->setEnabled(!(Options & frDisableMatchCase));
    if (m_form->Direction) {
        (Options & frDown ? m_form->Down : m_form->Up)->setChecked(true);
        m_form->Direction->setVisible(!(Options & frHideUpDown));
        m_form->Direction->setEnabled(!(Options & frDisableUpDown));
    }
}

void TCFindDialog::TakeChoices(unsigned action) {
    m_findText = m_form->FindWhat->text();
    if (m_replace) static_cast<TCReplaceDialog*>(this)->m_replaceText = m_form->ReplaceWith->text();
    const auto set = [this](unsigned bit, bool on) { Options = on ? (Options | bit) : (Options & ~bit); };
    set(frWholeWord, m_form->WholeWord->isChecked());
    set(frMatchCase, m_form->MatchCase->isChecked());
    if (m_form->Direction) set(frDown, m_form->Down->isChecked());
    Options &= ~(frFindNext | frReplace | frReplaceAll);
    Options |= action;
}

void TCFindDialog::DoShow() {
    DialogUnit->RegistDialog(m_window, TDialogPartsFactory(false));  // fixed, laid out by us
    DialogUnit->StartCustomize();
    if (OnShow) OnShow(this);
}

void TCFindDialog::DoClose() {
    DialogUnit->DestroyDialog();
    if (OnClose) OnClose(this);
}
