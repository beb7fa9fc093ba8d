// The main window "Tessaray": owns every plan, file and plan list through Workspace.
#pragma once

#include "dvh/Workspace.h"

#include <QMainWindow>

class QAction;
class QMenu;
class TStartForm;

class TForm1 : public QMainWindow, public Workspace, public WorkspaceHost {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    /// Start-up work while the splash shows: host name, settings, plan lists.
    void FormCreate();

    // WorkspaceHost
    bool CaseSensitive() const override;
    void StatusText(const std::string& text) override;

    // Menus
    QMenu* File1;
    QMenu* Help2;
    QAction* Exit1;
    QAction* Help1;
    QAction* AboutTessaray1;

    void Exit1Click();
    void Help1Click();
    void AboutTessaray1Click();

private:
    void BuildMenus();
};
