// The folder picker over a widget-based file dialog in folder mode.
#include "dialogs/TSelectFolderDialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>

/// The picker window: asks its component before it accepts a choice.
class FolderPickerWindow : public QFileDialog {
public:
    FolderPickerWindow(QWidget* parent, TSelectFolderDialog* component)
        : QFileDialog(parent), m_component(component) {}

    void accept() override {
        const QStringList files = selectedFiles();
        if (!m_component->AcceptChoice(files.isEmpty() ? QString() : files.first())) return;
        QFileDialog::accept();
    }

private:
    TSelectFolderDialog* m_component;
};

namespace {

bool IsFolder(const QString& path) { return !path.isEmpty() && QFileInfo(path).isDir(); }

QString CleanFolder(const QString& path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

bool IsInside(const QString& folder, const QString& root) {
    if (root.isEmpty()) return true;
    const QString f = CleanFolder(folder);
    return f == root || f.startsWith(root.endsWith('/') ? root : root + '/');
}

}  // namespace

TSelectFolderDialog::TSelectFolderDialog(QWidget* owner) : QObject(owner), m_owner(owner) {}

TSelectFolderDialog::~TSelectFolderDialog() = default;

bool TSelectFolderDialog::Execute() { return DoExecute(); }

bool TSelectFolderDialog::DoExecute() {
    const QString savedDirectory = QDir::currentPath();
    const QString savedSelection = m_select;

    FolderPickerWindow window(m_owner ? m_owner->window() : nullptr, this);
    window.setObjectName("SelectFolderWindow");
    window.setWindowTitle(Title.isEmpty() ? QStringLiteral("Select Folder") : Title);
    window.setOption(QFileDialog::DontUseNativeDialog);
    window.setAcceptMode(QFileDialog::AcceptOpen);
    if (Options & bifBrowseIncludeFiles) {
        window.setFileMode(QFileDialog::AnyFile);
    } else {
        window.setFileMode(QFileDialog::Directory);
        window.setOption(QFileDialog::ShowDirsOnly);
    }
    if (Options & bifNoNewFolderButton) window.setOption(QFileDialog::ReadOnly);
    window.setSizeGripEnabled(Options & bifNewDialogStyle);

    // The picker opens in the selected folder, so OK at once chooses it again.
    window.setDirectory(!m_select.isEmpty() ? m_select : (!m_root.isEmpty() ? m_root : QDir::homePath()));

    m_handle = &window;
    // The selection follows the user live: a highlighted folder, or the folder entered.
    const auto follow = [this](const QString& path) {
        if (!IsFolder(path)) return;
        m_select = CleanFolder(path);
        DoFolderChange();
    };
    connect(&window, &QFileDialog::currentChanged, this, follow);
    connect(&window, &QFileDialog::directoryEntered, this, follow);
    ChangeStatusText();
    DoShow();
    const bool chosen = window.exec() == QDialog::Accepted && !window.selectedFiles().isEmpty();
    DoClose();
    m_handle = nullptr;
    QDir::setCurrent(savedDirectory);

    if (chosen) {
        m_select = CleanFolder(window.selectedFiles().first());
        m_displayName = QFileInfo(m_select).fileName();
        if (m_displayName.isEmpty()) m_displayName = m_select;  // the root folder "/"
        return true;
    }
    m_select = savedSelection;  // Cancel undoes every selection change made while browsing
    return false;
}

bool TSelectFolderDialog::AcceptChoice(const QString& chosen) {
    if (!DoCanClose()) return false;
    const bool wantsFolder = !(Options & bifBrowseIncludeFiles);
    if (wantsFolder && !IsFolder(chosen)) {
        if (Options & bifValidate) {
            if (DoValidateFailed(chosen) && m_handle) m_handle->reject();
            return false;
        }
        return false;  // nothing to choose: the picker stays open
    }
    // The browse tree starts at the root: nothing outside it can be chosen.
    return IsInside(chosen, m_root);
}

void TSelectFolderDialog::SetSelectFolder(const QString& path) {
    m_select = IsFolder(path) ? CleanFolder(path) : QString();
    ChangeSelectFolder();
}

void TSelectFolderDialog::SetRootFolder(const QString& path) {
    m_root = IsFolder(path) ? CleanFolder(path) : QString();
}

void TSelectFolderDialog::SetStatusText(const QString& text) {
    m_statusText = text;
    ChangeStatusText();
}

void TSelectFolderDialog::SetEnableOK(bool enable) {
    if (!m_handle) return;
    if (auto* box = m_handle->findChild<QDialogButtonBox*>())
        if (!box->buttons().isEmpty()) box->buttons().first()->setEnabled(enable);
}

void TSelectFolderDialog::ChangeSelectFolder() {
    if (!m_handle || m_select.isEmpty()) return;
    m_handle->setDirectory(m_select);
}

void TSelectFolderDialog::ChangeStatusText() {
    if (m_handle && (Options & bifStatusText)) m_handle->setLabelText(QFileDialog::LookIn, m_statusText);
}

void TSelectFolderDialog::DoShow() {
    if (OnShow) OnShow(this);
}

void TSelectFolderDialog::DoClose() {
    if (OnClose) OnClose(this);
}

bool TSelectFolderDialog::DoCanClose() {
    bool canClose = true;
    if (OnCanClose) OnCanClose(this, canClose);
    return canClose;
}

void TSelectFolderDialog::DoFolderChange() {
    if (OnFolderChange) OnFolderChange(this);
}

bool TSelectFolderDialog::DoValidateFailed(const QString& failedFolder) {
    bool canClose = true;
    if (OnValidateFailed) OnValidateFailed(this, failedFolder, canClose);
    return canClose;
}
