// Non-modal message boxes with a continuation.
#include "planlist/ui/UserQuestion.h"

#include <QAbstractButton>

QString DisplayText(const std::string& bytes) {
    QString utf8 = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (!utf8.contains(QChar::ReplacementCharacter)) return utf8;
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QMessageBox* ShowUserMessage(QWidget* owner, const UserMessage& message, QMessageBox::Icon icon,
                             QMessageBox::StandardButtons buttons, const QString& objectName,
                             std::function<void(bool accepted)> answered) {
    auto* box = new QMessageBox(icon, DisplayText(message.caption), DisplayText(message.text),
                                buttons, owner);
    box->setObjectName(objectName);
    box->setAttribute(Qt::WA_DeleteOnClose);
    if (answered) {
        QObject::connect(box, &QMessageBox::finished, box, [box, answered](int) {
            const QMessageBox::StandardButton clicked = box->standardButton(box->clickedButton());
            answered(clicked == QMessageBox::Ok || clicked == QMessageBox::Yes);
        });
    }
    box->show();
    return box;
}
