// Message boxes given the modality of their role.
#include "widgets/MessageBoxes.h"

QMessageBox* NewMessageBox(BoxRole role, QMessageBox::Icon icon, const QString& caption, const QString& text,
                           QMessageBox::StandardButtons buttons, QWidget* owner, const QString& objectName) {
    auto* box = new QMessageBox(icon, caption, text, buttons, owner);
    box->setObjectName(objectName);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Application modal, not window modal: a question's answer may act on any window's state
    // (the plan lists, the file list, the settings), so none of them may change while it waits.
    box->setWindowModality(role == BoxRole::Question ? Qt::ApplicationModal : Qt::NonModal);
    return box;
}
