// The window of a customisable dialog.
#include "dialogs/TCustomDialogWindow.h"

#include <QShowEvent>

TCustomDialogWindow::TCustomDialogWindow(QWidget* parent, QWidget* mainWidget)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      m_main(mainWidget) {
    mainWidget->setParent(this, Qt::Widget);
    mainWidget->show();
}

void TCustomDialogWindow::showEvent(QShowEvent* event) {
    if (!event->spontaneous() && OnShowWindow) OnShowWindow();
    QDialog::showEvent(event);
}
