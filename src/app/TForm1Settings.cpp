// Settings command, View > ToolBar toggles, the index grid's two layouts and Help.
#include "app/TForm1.h"

#include "app/Forms.h"
#include "app/HelpPage.h"
#include "app/TFormOption.h"
#include "dvh/SettingsFile.h"
#include "platform/Paths.h"
#include "widgets/MessageBoxes.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QDesktopServices>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolBar>
#include <QUrl>

void TForm1::Settings1Click() {
    FormOption->show();
    FormOption->raise();
    FormOption->activateWindow();
}

void TForm1::SetToolBarShown(QAction* item, QToolBar* bar, bool shown) {
    item->setChecked(shown);
    bar->setVisible(shown);
}

void TForm1::ToggleToolBar(QAction* item, QToolBar* bar, const char* key) {
    // The item has already toggled its check mark; the bar follows once the file holds it.
    const bool shown = item->isChecked();
    const platform::WriteResult result = UpdateSettingsFile(
        SettingsFilePath(platform::ProgramFolder()),
        [&](platform::IniFile& ini) { WriteToolBarSetting(ini, ComputerName, key, shown); });
    if (result) {
        bar->setVisible(shown);
        return;
    }
    // Nothing was written: the bar and its check mark stay as the file and this session have
    // them, rather than show a choice that the next start would undo in silence.
    SetToolBarShown(item, bar, !shown);
    ReportWriteFailure(result.message);
}

void TForm1::Standard1Click() { ToggleToolBar(Standard1, ToolBar2, "Standard"); }

void TForm1::Project1Click() { ToggleToolBar(Project1, ToolBar4, "Project"); }

void TForm1::BrainLABRTP1Click() {
    ToggleToolBar(BrainLABRTP1, ToolBar5, "BrainLABRTP");
    BrainLABToolbar = BrainLABRTP1->isChecked();
}

void TForm1::ApplyIndexGridLayout(bool editing) {
    ToolButton11->setChecked(editing);
    EditPlanList1->setChecked(editing);
    StringGrid1->setFixedHeight(editing ? 490 : 590);
    StringGrid1FixedCols = editing ? 0 : 2;
    StringGrid1->setProperty("FixedCols", StringGrid1FixedCols);
    Panel4->setVisible(editing);
}

bool TForm1::IndexGridEditMode() const { return ToolButton11->isChecked(); }

void TForm1::ToolButton11Click() { ApplyIndexGridLayout(ToolButton11->isChecked()); }

void TForm1::EditPlanList1Click() {
    // The button's state decides, so the menu item and the button never disagree.
    ApplyIndexGridLayout(!ToolButton11->isChecked());
}

namespace {

/// While installed on the application, eats the shortcut events of `window`'s own actions
/// (menu items and tool buttons): a disabled menu bar does not stop Ctrl+O. Shortcuts of the
/// dialogs that the window owns are left alone.
class ShortcutBlocker : public QObject {
public:
    explicit ShortcutBlocker(QWidget* window) : QObject(window), m_window(window) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Shortcut) return false;
        for (QObject* o = watched; o; o = o->parent()) {
            if (o == m_window) return true;
            if (auto* w = qobject_cast<QWidget*>(o); w && w->isWindow() && w != m_window) return false;
        }
        return false;
    }

private:
    QWidget* m_window;
};

}  // namespace

void TForm1::SetFormEnabled(bool enabled) {
    if (!m_shortcutBlocker) m_shortcutBlocker = new ShortcutBlocker(this);
    if (enabled)
        qApp->removeEventFilter(m_shortcutBlocker);
    else
        qApp->installEventFilter(m_shortcutBlocker);
    // Only the window's own controls: disabling the window itself would also disable the
    // dialogs it owns, which must stay usable while they keep it disabled.
    for (QWidget* part : {static_cast<QWidget*>(menuBar()), centralWidget(),
                          static_cast<QWidget*>(statusBar()), static_cast<QWidget*>(ToolBar2),
                          static_cast<QWidget*>(ToolBar4), static_cast<QWidget*>(ToolBar5)})
        if (part) part->setEnabled(enabled);
}

bool TForm1::FormEnabled() const { return centralWidget() && centralWidget()->isEnabled(); }

void TForm1::Help1Click() {
    if (!m_helpPage) m_helpPage = std::make_unique<HelpPage>();
    const QString page = m_helpPage->Write();
    if (!page.isEmpty() && QDesktopServices::openUrl(QUrl::fromLocalFile(page))) return;
    const QString text = page.isEmpty()
                             ? "The help page cannot be written to the temporary folder."
                             : "No web browser could show the help page:\n" + page;
    auto* box = new QMessageBox(QMessageBox::Information, "Help", text, QMessageBox::Ok, this);
    box->setObjectName("HelpFailureBox");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}

void TForm1::ReportWriteFailure(const std::string& message) {
    NewMessageBox(BoxRole::Report, QMessageBox::Critical, "Error", QString::fromStdString(message),
                  QMessageBox::Ok, this, "WriteFailureBox")
        ->show();
    statusBar()->showMessage(QString::fromStdString(message));
}
