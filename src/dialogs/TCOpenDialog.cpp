// Open and save dialogs with the customisation: the file view as the dialog's own controls.
#include "dialogs/TCOpenDialog.h"

#include "dialogs/TCustomDialogWindow.h"
#include "dialogs/TDialogCustomizer.h"

#include <QFileInfo>

TCOpenDialog::TCOpenDialog(QWidget* owner) : QObject(owner), TCustomDialogProperties(this), m_owner(owner) {}

TCOpenDialog::~TCOpenDialog() = default;

bool TCOpenDialog::Execute() { return DoExecute(QFileDialog::AcceptOpen); }

bool TCSaveDialog::Execute() { return DoExecute(QFileDialog::AcceptSave); }

bool TCOpenDialog::DoExecute(QFileDialog::AcceptMode mode) {
    const bool save = mode == QFileDialog::AcceptSave;
    // The file view is a widget dialog: only it can share a window with the caller's panel.
    auto* files = new QFileDialog;
    files->setObjectName("FileView");
    files->setOption(QFileDialog::DontUseNativeDialog);
    files->setSizeGripEnabled(false);
    files->setAcceptMode(mode);
    if (save) {
        files->setFileMode(QFileDialog::AnyFile);
        files->setOption(QFileDialog::DontConfirmOverwrite, !(Options & ofOverwritePrompt));
    } else {
        files->setFileMode((Options & ofAllowMultiSelect) ? QFileDialog::ExistingFiles
                           : (Options & ofFileMustExist)  ? QFileDialog::ExistingFile
                                                          : QFileDialog::AnyFile);
    }
    if (!DefaultExt.isEmpty()) files->setDefaultSuffix(DefaultExt);
    const QStringList filters = Filter.split(";;", Qt::SkipEmptyParts);
    if (!filters.isEmpty()) {
        files->setNameFilters(filters);
        files->selectNameFilter(filters.value(qBound(1, FilterIndex, int(filters.size())) - 1));
    }
    const QFileInfo proposed(FileName);
    if (!InitialDir.isEmpty()) {
        files->setDirectory(InitialDir);
    } else if (!FileName.isEmpty() && proposed.dir().exists()) {
        files->setDirectory(proposed.absolutePath());
    }
    if (!FileName.isEmpty()) files->selectFile(proposed.fileName());

    TCustomDialogWindow window(m_owner ? m_owner->window() : nullptr, files);
    window.setObjectName(save ? "SaveDialogWindow" : "OpenDialogWindow");
    window.setWindowTitle(!Title.isEmpty() ? Title : (save ? QStringLiteral("Save As") : QStringLiteral("Open")));
    connect(files, &QDialog::finished, &window, &QDialog::done);
    connect(files, &QFileDialog::directoryEntered, this, [this] { DoFolderChange(); });
    window.OnShowWindow = [this] {
        if (!m_showWindowPending) return;
        m_showWindowPending = false;
        DoShowWindow();
    };
    m_window = &window;
    DoShow();
    const bool chosen = window.exec() == QDialog::Accepted && !files->selectedFiles().isEmpty();
    DoClose();
    m_window = nullptr;
    if (!chosen) return false;
    Files = files->selectedFiles();
    FileName = Files.first();
    FilterIndex = int(filters.indexOf(files->selectedNameFilter())) + 1;
    if (FilterIndex < 1) FilterIndex = 1;
    return true;
}

void TCOpenDialog::DoShow() {
    const bool sizing = (Options & ofEnableSizing) && !(Options & ofOldStyleDialog);
    DialogUnit->RegistDialog(m_window, TDialogPartsFactory(sizing));
    if (OnShow) OnShow(this);
    m_showWindowPending = true;
}

void TCOpenDialog::DoShowWindow() {
    DialogUnit->StartCustomize();
    if (OnShowWindow) OnShowWindow(this);
}

void TCOpenDialog::DoFolderChange() {
    if (OnFolderChange) OnFolderChange(this);
}

void TCOpenDialog::DoClose() {
    DialogUnit->DestroyDialog();
    if (OnClose) OnClose(this);
}
