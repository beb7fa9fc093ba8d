// Opening plans: File > Open, dropped files, the scan, "OK" and "Reload", the dialogs that
// continue a load, the progress window, and the launchers of the plan dialogs.
#include "app/TForm1.h"

#include "app/Forms.h"
#include "app/TFormDVHmatch.h"
#include "app/TFormFileList.h"
#include "app/TFormInputBox.h"
#include "app/TFormOption.h"
#include "app/TFormProgress.h"
#include "app/TFormSelectPlanList.h"
#include "widgets/MessageBoxes.h"
#include "widgets/TextBytes.h"
#include "dvh/PlanInformation.h"
#include "import/SavedDvhStore.h"
#include "import/ui/TFormXiO.h"
#include "planlist/ui/IndexGridView.h"

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTreeWidget>
#include <QUrl>

namespace {

const char* const kMultiPlanText = "Plan Comparison DVH File cannot read this program.";
const char* const kNoFolderText =
    "The specified path is an empty string.\nDo you want to set the path of directories ?";

}  // namespace

void TForm1::ConnectOpeningCommands() {
    OpenDialog1.MakeWith([this] {
        auto* dialog = new QFileDialog(this, "Open DVH Files");
        dialog->setObjectName("OpenDialog1");
        dialog->setFileMode(QFileDialog::ExistingFiles);
        dialog->setDirectory(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        return dialog;
    });

    Delete1 = new QAction("Delete", ListView1);
    Delete1->setObjectName("Delete1");
    DeleteAll1 = new QAction("Delete ALL", ListView1);
    DeleteAll1->setObjectName("DeleteAll1");
    ClearList1 = new QAction("Clear List", ListView1);
    ClearList1->setObjectName("ClearList1");
    ListView1->addActions({Delete1, DeleteAll1, ClearList1});
    ListView1->installEventFilter(this);
    ListView1->header()->setSortIndicatorShown(false);
    ListView1->setSortingEnabled(false);

    connect(Open1, &QAction::triggered, this, &TForm1::Open1Click);
    connect(ToolButton7, &QAction::triggered, this, &TForm1::Open1Click);
    connect(Button7, &QPushButton::clicked, this, &TForm1::Button7Click);
    connect(Button11, &QPushButton::clicked, this, &TForm1::Button11Click);
    connect(ListView1->header(), &QHeaderView::sectionClicked, this,
            &TForm1::ListView1ColumnClick);
    connect(Delete1, &QAction::triggered, this, &TForm1::Delete1Click);
    connect(DeleteAll1, &QAction::triggered, this, &TForm1::DeleteAll1Click);
    connect(ClearList1, &QAction::triggered, this, &TForm1::ClearList1Click);
    connect(StructureName1, &QAction::triggered, this, &TForm1::StructureName1Click);
    connect(ToolButton29, &QAction::triggered, this, &TForm1::StructureName1Click);
    connect(OpenFileList1, &QAction::triggered, this, &TForm1::OpenFileList1Click);
    connect(ToolButton24, &QAction::triggered, this, &TForm1::OpenFileList1Click);
    for (QAction* ready : {StructureName1, ToolButton29, OpenFileList1, ToolButton24})
        ready->setEnabled(true);
}

void TForm1::ConnectOpeningDialogs() {
    FormSelectPlanList->OnChosen = [this](int listIndex) {
        RunLoadStep(PlanListChosen(listIndex));
    };
    FormInputBox->OnDoseEntered = [this](float doseGy) { RunLoadStep(DoseEntered(doseGy)); };
    FormInputBox->OnDoseCancelled = [this] { CancelPendingLoad(); };
    FormDVHmatch->OnApply = [this](int plan, const std::string& key, const PlanInformation& info) {
        if (!ApplyPlanInformation(PDataset, plan, key, info)) return false;
        ShowPlan(plan);
        DrawDvhChart(plan);
        return true;
    };
    FormFileList->OnOpen = [this](const std::string& path, int code,
                                  const DvhHeaderFields& header, const std::string& folder) {
        bool listChanged = false;
        const LoadOrder order = BeginLoadFromStore(path, code, header, folder, &listChanged);
        if (listChanged) RefillFileList();
        RunLoadStep(order);
    };
    FormXiO->OnOk = [this](const XiODialogAnswer& answer) {
        // A reload ends in the plan it reloaded, not in the copy it was read through.
        const std::string key = PendingXiO.Key;
        if (FinishXiOLoad(answer)) {
            const int plan = FindDatasetByKey(key);
            ShowPlan(plan);
            DrawDvhChart(plan);
        }
    };
    FormXiO->OnCancel = [this] { CancelXiOLoad(); };
}

// ---- taking files ----

void TForm1::Open1Click() {
    OpenDialog1->setWindowTitle("Open DVH Files");
    if (OpenDialog1->exec() != QDialog::Accepted) return;
    std::vector<std::string> paths;
    for (const QString& file : OpenDialog1->selectedFiles()) paths.push_back(PathBytes(file));
    OpenFiles(paths);
}

void TForm1::ReportRefusedFile(const TakeFilesResult& taken) {
    if (taken.RefusedPath.empty()) return;
    // Nothing is loaded from such a file; the status bar says why instead of staying silent.
    if (taken.Refused.status == ReadStatus::MultiPlan)
        StatusText(kMultiPlanText);
    else
        StatusText(ReadFailureText(taken.RefusedPath, taken.Refused));
}

void TForm1::OpenFiles(const std::vector<std::string>& paths) {
    if (paths.empty()) return;
    const TakeFilesResult taken = TakeFiles(paths, true);
    ReportRefusedFile(taken);
    // An unreadable file ends the command: what was listed stays, nothing else happens.
    if (taken.Stopped) return;
    if (taken.Appended > 0) RefillFileList();
    if (paths.size() == 1 && taken.Accepted == 1) RunLoadStep(BeginLoadByKey(taken.LastKey));
}

void TForm1::WMDropFiles(const std::vector<std::string>& paths) {
    const TakeFilesResult taken = TakeFiles(paths, false);
    ReportRefusedFile(taken);
    if (taken.Appended > 0) RefillFileList();
    if (paths.size() == 1 && taken.Accepted == 1) RunLoadStep(BeginLoadByKey(taken.LastKey));
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    // While a dialog keeps the window disabled, nothing may be dropped on it either.
    if (FormEnabled() && event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
    if (!FormEnabled()) {
        event->ignore();
        return;
    }
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) paths.push_back(PathBytes(url.toLocalFile()));
    event->acceptProposedAction();
    WMDropFiles(paths);
}

void TForm1::Scan1Click() {
    if (!ReadFolder.empty()) {
        ScanDirectory();
        return;
    }
    AskOkCancel("ScanFolderBox", kNoFolderText, "Directory path not found.", [this] {
        FormOption->FolderChanged = true;
        FormOption->show();
        FormOption->PageControl1->setCurrentIndex(1);
    });
}

void TForm1::ScanDirectory() {
    ListView1->clear();
    ScanFolder(ReadFolder);
    RefillFileList();
}

// ---- loading a row ----

void TForm1::Button7Click() {
    QTreeWidgetItem* row = ListView1->currentItem();
    if (!row || !row->isSelected()) return;
    RunLoadStep(BeginLoadOfRow(RowKey(row), RowEntry(row)));
}

void TForm1::Button11Click() {
    QTreeWidgetItem* row = ListView1->currentItem();
    if (!row || !row->isSelected()) return;
    RunLoadStep(BeginReload(RowKey(row), RowEntry(row)));
}

// ---- the steps of a load ----

void TForm1::RunLoadStep(const LoadOrder& order) {
    switch (order.Step) {
    case LoadStep::Nothing:
        return;
    case LoadStep::ShowExisting:
        ShowPlan(order.PlanIndex);
        DrawDvhChart(order.PlanIndex);
        return;
    case LoadStep::ChoosePlanList: {
        std::vector<std::string> names;
        for (const PlanListNameClass& list : PlanListName) names.push_back(list.Name);
        FormSelectPlanList->Ask(Pending.OpenFileIndex, names);
        return;
    }
    case LoadStep::AskDose:
        FormInputBox->AskPrescribedDose(Pending.OpenFileIndex);
        return;
    case LoadStep::Read:
        ReadPendingAndShow();
        return;
    case LoadStep::Refused: {
        auto* box = new QMessageBox(QMessageBox::NoIcon, "Tessaray", kMultiPlanText,
                                    QMessageBox::Ok, this);
        box->setObjectName("MultiPlanBox");
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->show();
        return;
    }
    }
}

void TForm1::ReadPendingAndShow() {
    const int type = Pending.FileType;
    const int plan = ReadPendingPlan();
    if (plan < 0) return;
    if (type == FileTypeXiO) {
        // The XiO dialog reads the plan from here on; the request it is given carries the
        // store's companion. A failed names pass has removed the load's plan.
        const int xio = HandOverPendingXiO();
        if (xio < 0) return;
        std::vector<std::string> lists;
        for (const PlanListNameClass& list : PlanListName) lists.push_back(list.Name);
        const PDatasetClass& p = PDataset[xio];
        FormXiO->Ask(PendingXiO, p.PatientName, p.PatientID, p.PlanName, p.PlanID, lists);
        return;
    }
    const ReadResult result = LastReadResult;
    const int shown = FinishPendingLoad();
    if (shown >= 0 && ShowPlanAfterRead(type, result)) {
        ShowPlan(shown);
        DrawDvhChart(shown);
    }
}

// ---- progress of the readers ----

void TForm1::ProgressBegin(int maximum) {
    if (FormProgress) FormProgress->Begin(maximum);
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TForm1::ProgressStep(int position) {
    if (FormProgress) FormProgress->Step(position);
    // Repaint only: the user's clicks wait until the read is over.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TForm1::ProgressEnd() {
    if (FormProgress) FormProgress->End();
}

// ---- launchers of the plan dialogs ----

void TForm1::StructureName1Click() {
    if (CurrentPlanIndex < 0 || CurrentPlanIndex >= PDatasetCount()) return;
    // The rows' own bytes, not their shown text: an alias must name its row exactly.
    std::vector<std::string> gridNames;
    const std::vector<std::vector<std::string>> cells = IndexGridCells(StringGrid1);
    for (std::size_t r = 1; r < cells.size(); ++r)
        if (!cells[r].empty()) gridNames.push_back(cells[r][0]);
    FormDVHmatch->FillAndShow(PDataset[CurrentPlanIndex], CurrentPlanIndex, gridNames);
}

void TForm1::OpenFileList1Click() {
    if (SaveFolder.empty()) {
        AskOkCancel("FileListFolderBox", kNoFolderText, "Directory path not found.", [] {
            FormOption->show();
            FormOption->PageControl1->setCurrentIndex(1);
        });
        return;
    }
    FormFileList->FillFolders(SaveFolder, StoreSubFolders(SaveFolder));
}

void TForm1::AskOkCancel(const QString& objectName, const QString& text, const QString& caption,
                         std::function<void()> onOk) {
    QMessageBox* box = NewMessageBox(BoxRole::Question, QMessageBox::Question, caption, text,
                                     QMessageBox::Ok | QMessageBox::Cancel, this, objectName);
    connect(box, &QMessageBox::finished, this, [box, onOk = std::move(onOk)](int) {
        if (box->clickedButton() == box->button(QMessageBox::Ok)) onOk();
    });
    box->show();
}
