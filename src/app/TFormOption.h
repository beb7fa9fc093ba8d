// The settings dialog "Settings...": folders and options, written to "Tessaray.ini" by OK.
#pragma once

#include "dialogs/ShowCloseHandlers.h"

#include <QDialog>

#include <functional>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QWidget;
class TForm1;
class TSelectFolderDialog;

class TFormOption : public QDialog {
    Q_OBJECT
public:
    explicit TFormOption(TForm1* main);

    QTabWidget* PageControl1;
    QWidget* TabSheet1;  // "Option"
    QWidget* TabSheet2;  // "Directories"
    QCheckBox* CheckBox1;  // "Scan at program initiation"
    QCheckBox* CheckBox2;  // "Case sensitivity", read live by every name comparison
    QLabel* Label1;
    QLineEdit* Edit1;      // import folder
    QPushButton* Button3;
    QLabel* Label2;
    QLineEdit* Edit2;      // save folder
    QPushButton* Button4;
    QPushButton* Button1;  // "OK"
    QPushButton* Button2;  // "Cancel"
    TSelectFolderDialog* SelectFolderDialog1;
    TSelectFolderDialog* SelectFolderDialog2;

    /// Set by the Scan command when it opened the dialog for want of a read folder: OK then
    /// scans. Cleared by OK, Cancel and the close box alike.
    bool FolderChanged = false;
    /// Set by OK: the close handler writes the settings file.
    bool SaveSettings = false;
    /// Runs the scan of the read folder; the main window's `ScanDirectory` unless replaced.
    std::function<void()> RunScan;

    /// Creation handler: copies the settings in and runs the start-up scan when asked for.
    void FormCreate();
    void FormShow();
    void FormClose();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    /// Shows the dialog on its "Directories" page.
    void ShowDirectories();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void CopySettingsIn();
    /// Writes what OK takes; false, with every option and folder back as it was in effect, when
    /// nothing could be written.
    bool WriteSettings();
    TForm1* m_main;
    bool m_closing = false;
    bool m_writeRefused = false;  // the last close's write was refused
    // The folders in effect when the dialog showed: a chosen folder counts at once, and goes
    // back to these when OK could not write it.
    std::string m_readFolderInEffect;
    std::string m_saveFolderInEffect;
    ShowCloseHandlers m_handlers;  // declared last: it goes first
};
