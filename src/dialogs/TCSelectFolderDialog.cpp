// The folder picker run inside a customisable window.
#include "dialogs/TCSelectFolderDialog.h"

#include "dialogs/TCustomDialogWindow.h"
#include "dialogs/TDialogCustomizer.h"

TCSelectFolderDialog::TCSelectFolderDialog(QWidget* owner)
    : TSelectFolderDialog(owner), TCustomDialogProperties(this) {}

TCSelectFolderDialog::~TCSelectFolderDialog() = default;

int TCSelectFolderDialog::RunPickerWindow(QFileDialog& picker) {
    QWidget* const parent = picker.parentWidget();
    const Qt::WindowFlags flags = picker.windowFlags();
    picker.setSizeGripEnabled(false);  // the window's own grip sits at its real corner
    int result = QDialog::Rejected;
    {
        TCustomDialogWindow window(parent, &picker);
        window.setObjectName("CSelectFolderWindow");
        window.setWindowTitle(picker.windowTitle());
        connect(&picker, &QDialog::finished, &window, &QDialog::done);
        window.OnShowWindow = [this] { DoShowWindow(); };
        m_window = &window;
        DoShow();
        result = window.exec();
        DoClose();
        m_window = nullptr;
        // The picker belongs to the caller: out before the window takes it down with it.
        picker.setParent(parent, flags);
    }
    return result;
}

void TCSelectFolderDialog::DoShow() {
    DialogUnit->RegistDialog(m_window, TDialogPartsFactory(Options & bifNewDialogStyle));
    TSelectFolderDialog::DoShow();
}

void TCSelectFolderDialog::DoShowWindow() { DialogUnit->StartCustomize(); }

void TCSelectFolderDialog::DoClose() {
    DialogUnit->DestroyDialog();
    TSelectFolderDialog::DoClose();
}
