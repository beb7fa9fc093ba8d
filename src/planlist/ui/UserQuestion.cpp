// Non-modal message boxes with a continuation.
#include "planlist/ui/UserQuestion.h"

#include "widgets/TextBytes.h"

#include <QAbstractButton>

QMessageBox* ShowUserMessage(QWidget* owner, const UserMessage& message, QMessageBox::Icon icon,
                             QMessageBox::StandardButtons buttons, const QString& objectName,
                             std::function<void(bool accepted)> answered) {
    auto* box = new QMessageBox(icon, FromBytes(message.caption), FromBytes(message.text),
                                buttons, owner);
    box->setObjectName(objectName);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // A message box is application modal unless told otherwise: shown at the end of a wait for
    // the settings' lock, it would drop the clicks queued on the window during the wait.
    box->setWindowModality(Qt::NonModal);
    if (answered) {
        QObject::connect(box, &QMessageBox::finished, box, [box, answered](int) {
            const QMessageBox::StandardButton clicked = box->standardButton(box->clickedButton());
            answered(clicked == QMessageBox::Ok || clicked == QMessageBox::Yes);
        });
    }
    box->show();
    return box;
}
