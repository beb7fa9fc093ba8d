// Wiring of the main window's commands and the launchers of the dialogs it opens.
#include "app/TForm1.h"

#include "app/Forms.h"
#include "app/TAboutBox.h"
#include "app/TFormGraphView.h"
#include "app/TFormSList.h"
#include "widgets/TextBytes.h"
#include "batch/ui/TFormBatch.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>

void TForm1::ConnectCommands() {
    connect(Exit1, &QAction::triggered, this, &TForm1::Exit1Click);
    connect(Help1, &QAction::triggered, this, &TForm1::Help1Click);
    connect(AboutTessaray1, &QAction::triggered, this, &TForm1::AboutTessaray1Click);

    connect(Settings1, &QAction::triggered, this, &TForm1::Settings1Click);
    connect(Standard1, &QAction::triggered, this, &TForm1::Standard1Click);
    connect(Project1, &QAction::triggered, this, &TForm1::Project1Click);
    connect(BrainLABRTP1, &QAction::triggered, this, &TForm1::BrainLABRTP1Click);
    connect(ToolButton11, &QAction::triggered, this, &TForm1::ToolButton11Click);
    connect(EditPlanList1, &QAction::triggered, this, &TForm1::EditPlanList1Click);

    for (QGroupBox* group : {RadioGroup1, RadioGroup2})
        connect(group->findChild<QButtonGroup*>(), &QButtonGroup::idClicked, this,
                [this](int) { RadioGroup1Click(); });
    connect(BackColor1, &QAction::triggered, this, &TForm1::BackColor1Click);
    connect(Screen1, &QAction::triggered, this, &TForm1::Screen1Click);
    connect(Graph3, &QAction::triggered, this, &TForm1::Graph3Click);
    connect(ToolButton2, &QAction::triggered, this, &TForm1::Graph3Click);

    connect(StructureList1, &QAction::triggered, this, &TForm1::StructureList1Click);
    connect(ToolButton30, &QAction::triggered, this, &TForm1::StructureList1Click);
    connect(GSeries, &QAction::triggered, this, &TForm1::GSeriesClick);
    connect(BitBtn12, &QPushButton::clicked, this, &TForm1::GSeriesClick);

    connect(Scan1, &QAction::triggered, this, &TForm1::Scan1Click);
    connect(ToolButton22, &QAction::triggered, this, &TForm1::Scan1Click);
    connect(Button8, &QPushButton::clicked, this, &TForm1::Scan1Click);

    connect(PlanComparison1, &QAction::triggered, this, &TForm1::PlanComparison1Click);
    connect(ToolButton31, &QAction::triggered, this, &TForm1::PlanComparison1Click);

    connect(Batchprocessing1, &QAction::triggered, this, &TForm1::Batchprocessing1Click);
    connect(ToolButton39, &QAction::triggered, this, &TForm1::Batchprocessing1Click);

    ConnectReportCommands();
    ConnectPlanListCommands();
    ConnectOpeningCommands();
    ConnectSaveDvh();
}

void TForm1::StructureList1Click() {
    // The structure list leaves the main window usable.
    FormSList->show();
    FormSList->raise();
}

void TForm1::GSeriesClick() {
    FormGraphView->show();
    FormGraphView->raise();
}

void TForm1::Batchprocessing1Click() {
    if (!FormBatch) return;
    std::vector<std::string> listNames;
    // The box shows names through FromBytes: the batch takes each list's own bytes.
    for (int i = 0; i < ComboBox1->count(); ++i)
        for (int list = PlanListNameCount() - 1; list >= 0; --list)
            if (FromBytes(PlanListName[list].Name) == ComboBox1->itemText(i)) {
                listNames.push_back(PlanListName[list].Name);
                break;
            }
    FormBatch->Fill(OpenFile, listNames);
    FormBatch->show();
    FormBatch->raise();
}

void TForm1::Exit1Click() { close(); }

void TForm1::AboutTessaray1Click() {
    AboutBox->show();
    AboutBox->raise();
}
