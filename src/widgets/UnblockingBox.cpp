// A message box made without the application modality that QMessageBox gives itself.
#include "widgets/UnblockingBox.h"

QMessageBox* NewUnblockingBox(QMessageBox::Icon icon, const QString& caption, const QString& text,
                              QMessageBox::StandardButtons buttons, QWidget* owner, const QString& objectName) {
    auto* box = new QMessageBox(icon, caption, text, buttons, owner);
    box->setObjectName(objectName);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    return box;
}
