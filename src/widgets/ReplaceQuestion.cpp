// The question before a user's file is replaced by a new one.
#include "widgets/ReplaceQuestion.h"

#include <QFileInfo>
#include <QMessageBox>

bool MayReplace(QWidget* parent, const QString& caption, const QString& path) {
    // Replacing a folder or a pipe is no choice to offer: the atomic write refuses it, and its
    // refusal says why.
    const QFileInfo target(path);
    if (!target.isFile()) return true;
    return QMessageBox::question(parent, caption,
                                 target.fileName() + " already exists.\nDo you want to replace it?",
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}
