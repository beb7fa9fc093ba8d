// Show and close hooks, placement and key handling shared by the dialogs.
#include "widgets/TFormDialog.h"

#include "widgets/OwnerWindow.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QShowEvent>

TFormDialog::TFormDialog(QWidget* owner, bool closableByUser)
    : QDialog(nullptr), m_owner(owner), m_closableByUser(closableByUser),
      m_handlers(this, [this] { FormShow(); }, [this] { FormClose(); }) {
    setModal(false);
}

void TFormDialog::SetOwnerEnabled(bool enabled) {
    if (auto* owner = dynamic_cast<OwnerWindow*>(m_owner))
        owner->SetFormEnabled(enabled);
    else if (m_owner)
        m_owner->setEnabled(enabled);
}

void TFormDialog::SetFixedDialogFrame(int width, int height) {
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint;
    if (m_closableByUser) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    setWindowFlags(flags);
    setFixedSize(width, height);
}

void TFormDialog::showEvent(QShowEvent* event) {
    if (!event->spontaneous() && m_owner) {
        const QRect frame = m_owner->frameGeometry();
        move(frame.center() - rect().center());
    }
    QDialog::showEvent(event);
}

void TFormDialog::closeEvent(QCloseEvent* event) {
    if (!event->spontaneous()) return QDialog::closeEvent(event);
    if (!m_closableByUser) return event->ignore();
    QDialog::closeEvent(event);
    if (event->isAccepted()) CloseBoxClick();
}

void TFormDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->ignore();  // no default or cancel button
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}
