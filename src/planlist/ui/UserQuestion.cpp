// Message boxes with a continuation, shown without a nested event loop.
#include "planlist/ui/UserQuestion.h"

#include "widgets/TextBytes.h"

#include <QAbstractButton>

QMessageBox* ShowUserMessage(QWidget* owner, BoxRole role, const UserMessage& message, QMessageBox::Icon icon,
                             QMessageBox::StandardButtons buttons, const QString& objectName,
                             std::function<void(bool accepted)> answered) {
    QMessageBox* box =
        NewMessageBox(role, icon, FromBytes(message.caption), FromBytes(message.text), buttons, owner, objectName);
    if (answered) {
        QObject::connect(box, &QMessageBox::finished, box, [box, answered](int) {
            const QMessageBox::StandardButton clicked = box->standardButton(box->clickedButton());
            answered(clicked == QMessageBox::Ok || clicked == QMessageBox::Yes);
        });
    }
    box->show();
    return box;
}
