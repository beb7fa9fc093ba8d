// "iPlan" capture window: collects iPlan curves copied to the clipboard one at a time.
#pragma once

#include <QWidget>

#include <string>

class QListWidget;
class QPushButton;
class TFormiPlan;
class Workspace;

/// A small window on top of the others. While it is shown every clipboard change, and every
/// activation of the window (where the platform tells of copies only to the focused window),
/// runs `ClipboardChanged`. OK hands the curves to `TFormiPlan`; closing it by any way shows
/// the main window again and empties the clipboard.
class TFormiPlanImport : public QWidget {
    Q_OBJECT
public:
    TFormiPlanImport(Workspace& ws, TFormiPlan& planDialog, QWidget* mainWindow);

    QListWidget* ListBox1;  // the captured structures, in capture order
    QWidget* Panel1;
    QPushButton* Button1;   // "OK", enabled once a curve is listed
    QPushButton* Button2;   // "Cancel"

    /// Prepares a capture (nothing captured, clipboard emptied), shows the window at the top
    /// left corner and hides the main window.
    void Open();
    /// Takes the clipboard's text into the capture.
    void ClipboardChanged();
    void Button1Click();
    void Button2Click();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void FormClose();

    Workspace& m_ws;
    TFormiPlan& m_planDialog;
    QWidget* m_main;
    QMetaObject::Connection m_clipboardWatch;
    std::string m_lastText;  // the text last taken, so that a mere re-activation adds no second box
};
