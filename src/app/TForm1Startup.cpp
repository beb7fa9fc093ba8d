// The main window's creation handler: splash, settings, plan lists, empty plan containers.
#include "app/TForm1.h"

#include "app/TStartForm.h"
#include "planlist/PlanListStartup.h"
#include "widgets/TextBytes.h"
#include "platform/Paths.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QToolBar>

void TForm1::FormCreate() {
    auto* splash = new TStartForm(this);
    // Released however the handler ends: a splash left over the window by an exception would
    // stay on top of it for good.
    struct SplashRelease {
        TStartForm* splash;
        ~SplashRelease() {
            splash->close();
            splash->deleteLater();
        }
    } release{splash};
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    ComputerName = platform::HostName();
    const StartupResult loaded = ::LoadSettingsAndPlanLists(*this, platform::ProgramFolder());

    SetToolBarShown(Standard1, ToolBar2, loaded.ToolBars.Standard);
    SetToolBarShown(Project1, ToolBar4, loaded.ToolBars.Project);
    // The BrainLAB bar itself follows BrainLABToolbar when the window is first shown.
    BrainLABRTP1->setChecked(BrainLABToolbar);

    // The box shows the names sorted; PlanListName keeps the register's order.
    ComboBox1->clear();
    for (const PlanListNameClass& list : PlanListName)
        ComboBox1->addItem(FromBytes(list.Name));
    ComboBox1->setCurrentIndex(-1);
    const bool listChosen = ComboBox1->currentIndex() >= 0;
    for (QPushButton* button : ListEditButtons()) button->setEnabled(listChosen);

    for (const std::string& message : loaded.Messages) ReportWriteFailure(message);
}
