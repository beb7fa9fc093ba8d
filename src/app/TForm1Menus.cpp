// The main window's menus and tool bars, with their object names and captions.
#include "app/TForm1.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

namespace {

QAction* AddItem(QMenu* menu, const char* name, const QString& caption) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(name);
    return item;
}

QMenu* AddMenu(QMenu* parent, const char* name, const QString& caption) {
    QMenu* menu = parent->addMenu(caption);
    menu->setObjectName(name);
    return menu;
}

QAction* AddButton(QToolBar* bar, const char* name, const QString& hint, QStyle::StandardPixmap icon,
                   const QString& text = QString()) {
    QAction* button = bar->addAction(bar->style()->standardIcon(icon), text.isEmpty() ? hint : text);
    button->setObjectName(name);
    button->setToolTip(hint);
    return button;
}

}  // namespace

void TForm1::BuildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");

    File1 = bar->addMenu("&File");
    File1->setObjectName("File1");
    Open1 = AddItem(File1, "Open1", "Open...");
    Open1->setShortcut(QKeySequence("Ctrl+O"));
    Scan1 = AddItem(File1, "Scan1", "Scan");
    Save1 = AddItem(File1, "Save1", "Save DVH");
    Save1->setShortcut(QKeySequence("Ctrl+S"));
    OpenFileList1 = AddItem(File1, "OpenFileList1", "Open DVH File List");
    File1->addSeparator();
    SavePlanList1 = AddItem(File1, "SavePlanList1", "Export List Data");
    ImportPlanList1 = AddItem(File1, "ImportPlanList1", "Import List Data");
    File1->addSeparator();
    SaveImage1 = AddMenu(File1, "SaveImage1", "Save image");
    Screen1 = AddItem(SaveImage1, "Screen1", "Screen");
    Graph3 = AddItem(SaveImage1, "Graph3", "Graph");
    Report2 = AddItem(File1, "Report2", "Preview Report");
    Print1 = AddMenu(File1, "Print1", "Print");
    Report1 = AddItem(Print1, "Report1", "Report");
    PrintScreen1 = AddItem(Print1, "PrintScreen1", "Print Screen");
    File1->addSeparator();
    Batchprocessing1 = AddItem(File1, "Batchprocessing1", "Batch processing");
    File1->addSeparator();
    Exit1 = AddItem(File1, "Exit1", "Exit");

    // The "&Edit" menu stays hidden: "Clear Structure List" erases a list's learnt names for
    // good, so it is kept off the menu bar, while its action exists for the code that calls it.
    EditMenu1 = bar->addMenu("&Edit");
    EditMenu1->setObjectName("EditMenu1");
    PlanList1 = AddMenu(EditMenu1, "PlanList1", "Plan List");
    ClearStructureList1 = AddItem(PlanList1, "ClearStructureList1", "Clear Structure List");
    EditMenu1->menuAction()->setVisible(false);

    View1 = bar->addMenu("&View");
    View1->setObjectName("View1");
    ToolBar1 = AddMenu(View1, "ToolBar1", "ToolBar");
    Standard1 = AddItem(ToolBar1, "Standard1", "Standard");
    Project1 = AddItem(ToolBar1, "Project1", "Project");
    BrainLABRTP1 = AddItem(ToolBar1, "BrainLABRTP1", "BrainLAB RTP");
    for (QAction* item : {Standard1, Project1, BrainLABRTP1}) item->setCheckable(true);
    Standard1->setChecked(true);
    Project1->setChecked(true);
    Graph1 = AddMenu(View1, "Graph1", "Graph");
    GSeries = AddItem(Graph1, "GSeries", "Series");
    BackColor1 = AddItem(Graph1, "BackColor1", "BackColor");

    Project2 = bar->addMenu("&Project");
    Project2->setObjectName("Project2");
    Settings1 = AddItem(Project2, "Settings1", "Settings...");
    EditPlanList1 = AddItem(Project2, "EditPlanList1", "Edit Plan List");
    EditPlanList1->setCheckable(true);
    Project2->addSeparator();
    StructureList1 = AddItem(Project2, "StructureList1", "Structure List");
    StructureName1 = AddItem(Project2, "StructureName1", "Plan Information");
    PlanComparison1 = AddItem(Project2, "PlanComparison1", "Plan Comparison");

    Help2 = bar->addMenu("&Help");
    Help2->setObjectName("Help2");
    Help1 = AddItem(Help2, "Help1", "Help");
    AboutTessaray1 = AddItem(Help2, "AboutTessaray1", "About Tessaray");
}

void TForm1::BuildToolBars() {
    ToolBar2 = addToolBar("Standard");
    ToolBar2->setObjectName("ToolBar2");
    ToolButton7 = AddButton(ToolBar2, "ToolButton7", "File Open", QStyle::SP_DialogOpenButton);
    ToolButton22 = AddButton(ToolBar2, "ToolButton22", "Scan", QStyle::SP_BrowserReload);
    ToolButton23 = AddButton(ToolBar2, "ToolButton23", "Save DVH File", QStyle::SP_DialogSaveButton);
    ToolButton24 = AddButton(ToolBar2, "ToolButton24", "Open File List", QStyle::SP_DirOpenIcon);
    ToolButton39 = AddButton(ToolBar2, "ToolButton39", "Batch processing", QStyle::SP_FileDialogListView);
    ToolBar2->addSeparator();
    ToolButton2 = AddButton(ToolBar2, "ToolButton2", "Save image", QStyle::SP_DesktopIcon);
    ToolButton3 = AddButton(ToolBar2, "ToolButton3", "Preview report", QStyle::SP_FileDialogContentsView);
    ToolButton4 = AddButton(ToolBar2, "ToolButton4", "Print report", QStyle::SP_ComputerIcon);

    ToolBar4 = addToolBar("Project");
    ToolBar4->setObjectName("ToolBar4");
    ToolButton29 = AddButton(ToolBar4, "ToolButton29", "Edit plan information", QStyle::SP_FileDialogInfoView);
    ToolButton30 = AddButton(ToolBar4, "ToolButton30", "Structure List", QStyle::SP_FileDialogDetailedView);
    ToolButton31 = AddButton(ToolBar4, "ToolButton31", "Plan comparison", QStyle::SP_ArrowRight);
    ToolButton11 = AddButton(ToolBar4, "ToolButton11", "Edit Plan List", QStyle::SP_FileDialogNewFolder);
    ToolButton11->setCheckable(true);

    ToolBar5 = addToolBar("BrainLAB RTP");
    ToolBar5->setObjectName("ToolBar5");
    SpeedButton1 = AddButton(ToolBar5, "SpeedButton1", "Import BrainSCAN/iPlan DVH data from clipboard",
                             QStyle::SP_DialogApplyButton, "BrainLAB");
    Adddatatocurrentplan1 = AddButton(ToolBar5, "Adddatatocurrentplan1",
                                      "Add BrainSCAN structures from clipboard to current plan",
                                      QStyle::SP_FileDialogNewFolder, "Add");
    Adddatatocurrentplan1->setEnabled(false);
    ToolBar5->setVisible(false);

    for (QToolBar* bar : {ToolBar2, ToolBar4, ToolBar5}) {
        bar->setMovable(false);
        bar->setFloatable(false);
        bar->setIconSize(QSize(20, 20));
        // The View > ToolBar items own visibility; no context menu may hide a bar behind them.
        bar->toggleViewAction()->setEnabled(false);
    }
    setContextMenuPolicy(Qt::NoContextMenu);
}
