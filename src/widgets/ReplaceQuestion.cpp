// The question before a user's file is replaced by a new one.
#include "widgets/ReplaceQuestion.h"

#include <QFileInfo>
#include <QMessageBox>

bool ConfirmReplace(QWidget* parent, const QString& caption, const QString& path) {
    return QMessageBox::question(parent, caption,
                                 QFileInfo(path).fileName() + " already exists.\nDo you want to replace it?",
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}
