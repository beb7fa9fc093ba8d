// The folder picker over a widget-based file dialog in folder mode.
#include "dialogs/TSelectFolderDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QToolButton>
#include <QUrl>

#include <vector>

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

/// Puts `lines` above everything the file dialog shows, each on a row of its own.
void AddLinesAbove(QFileDialog& window, const std::vector<QLabel*>& lines) {
    auto* grid = qobject_cast<QGridLayout*>(window.layout());
    if (!grid) return;
    struct Placed {
        QLayoutItem* item;
        int row, column, rows, columns;
    };
    std::vector<Placed> placed;
    while (grid->count() > 0) {
        Placed p{nullptr, 0, 0, 0, 0};
        grid->getItemPosition(0, &p.row, &p.column, &p.rows, &p.columns);
        p.item = grid->takeAt(0);
        placed.push_back(p);
    }
    for (std::size_t i = 0; i < lines.size(); ++i) grid->addWidget(lines[i], static_cast<int>(i), 0, 1, -1);
    for (const Placed& p : placed)
        grid->addItem(p.item, p.row + static_cast<int>(lines.size()), p.column, p.rows, p.columns);
}

}  // namespace

QString SpecialFolderPath(TSpecialFolder folder) {
    QString path;
    switch (folder) {
    case sfDesktop:
    case sfDesktopDirectory: path = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation); break;
    case sfPersonal:
    case sfMyDocuments: path = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation); break;
    case sfMyMusic: path = QStandardPaths::writableLocation(QStandardPaths::MusicLocation); break;
    case sfMyVideo: path = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation); break;
    case sfMyPictures: path = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation); break;
    case sfProfile: path = QDir::homePath(); break;
    case sfDrives: path = QDir::rootPath(); break;
    default: break;
    }
    return IsFolder(path) ? CleanFolder(path) : QString();
}

TSelectFolderDialog::TSelectFolderDialog(QWidget* owner) : QObject(owner), m_owner(owner) {}

TSelectFolderDialog::~TSelectFolderDialog() = default;

bool TSelectFolderDialog::Execute() { return DoExecute(); }

bool TSelectFolderDialog::DoExecute() {
    const QString savedDirectory = QDir::currentPath();
    const QString savedSelection = m_select;

    FolderPickerWindow window(m_owner ? m_owner->window() : nullptr, this);
    window.setObjectName("SelectFolderWindow");
    window.setWindowTitle(QStringLiteral("Select Folder"));
    // The title above the tree, the status text on its own line under it.
    auto* titleLine = new QLabel(Title, &window);
    titleLine->setObjectName("TitleLabel");
    titleLine->setWordWrap(true);
    titleLine->setVisible(!Title.isEmpty());
    auto* statusLine = new QLabel(&window);
    statusLine->setObjectName("StatusLabel");
    statusLine->setVisible(Options & bifStatusText);
    AddLinesAbove(window, {titleLine, statusLine});
    m_statusLine = statusLine;
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

    // The picker opens in the selected folder, so OK at once chooses it again; a selection
    // outside the root opens at the root.
    const QString start = !m_select.isEmpty() && IsInside(m_select, m_root) ? m_select : m_root;
    window.setDirectory(!start.isEmpty() ? start : QDir::homePath());
    if (!m_root.isEmpty()) window.setSidebarUrls({QUrl::fromLocalFile(m_root)});

    m_handle = &window;
    auto* toParent = window.findChild<QToolButton*>("toParentButton");
    // The root bounds the browsing: a way above it (the parent button, a typed path, a
    // folder of the history) leads back to the root.
    const auto keepInside = [this, &window, toParent](const QString& path) {
        if (m_root.isEmpty()) return;
        if (!IsInside(path, m_root)) window.setDirectory(m_root);
        if (toParent) toParent->setEnabled(CleanFolder(window.directory().absolutePath()) != m_root);
    };
    connect(&window, &QFileDialog::directoryEntered, this, keepInside);
    keepInside(window.directory().absolutePath());
    // "Look in" would list every folder above the current one: under a root it stays shut.
    if (!m_root.isEmpty())
        if (auto* lookIn = window.findChild<QComboBox*>("lookInCombo")) lookIn->setEnabled(false);
    // The selection follows the user live: a highlighted folder, or the folder entered.
    const auto follow = [this](const QString& path) {
        if (!IsFolder(path) || !IsInside(path, m_root)) return;
        m_select = CleanFolder(path);
        DoFolderChange();
    };
    connect(&window, &QFileDialog::currentChanged, this, follow);
    connect(&window, &QFileDialog::directoryEntered, this, follow);
    ChangeStatusText();
    const bool chosen = RunPickerWindow(window) == QDialog::Accepted && !window.selectedFiles().isEmpty();
    m_handle = nullptr;
    m_statusLine = nullptr;
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

namespace {

/// The first special folder, in their order, whose folder is `path`.
TSpecialFolder SpecialFolderOf(const QString& path) {
    if (path.isEmpty()) return sfNone;
    for (int f = sfDesktop; f < sfNone; ++f)
        if (SpecialFolderPath(static_cast<TSpecialFolder>(f)) == path) return static_cast<TSpecialFolder>(f);
    return sfNone;
}

}  // namespace

TSpecialFolder TSelectFolderDialog::GetSelectSpecialFolder() const { return SpecialFolderOf(m_select); }

void TSelectFolderDialog::SetSelectSpecialFolder(TSpecialFolder folder) {
    m_select = SpecialFolderPath(folder);
    ChangeSelectFolder();
}

TSpecialFolder TSelectFolderDialog::GetRootSpecialFolder() const {
    return m_root.isEmpty() ? sfDesktop : SpecialFolderOf(m_root);
}

void TSelectFolderDialog::SetRootSpecialFolder(TSpecialFolder folder) {
    // The desktop is the top of the tree, as it is where the folder numbers come from.
    m_root = folder == sfDesktop ? QString() : SpecialFolderPath(folder);
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
    if (m_handle && m_statusLine && (Options & bifStatusText)) m_statusLine->setText(m_statusText);
}

int TSelectFolderDialog::RunPickerWindow(QFileDialog& window) {
    DoShow();
    const int result = window.exec();
    DoClose();
    return result;
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
