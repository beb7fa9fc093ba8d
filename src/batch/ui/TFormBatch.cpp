// The batch plan choice: the list of files, the checks of OK, loading, the hand-over.
#include "batch/ui/TFormBatch.h"

#include "widgets/TextBytes.h"
#include "batch/BatchLoading.h"
#include "batch/ParallelFor.h"
#include "batch/ui/BatchWidgets.h"
#include "batch/ui/TFormBatchSet.h"
#include "dvh/FileListOrder.h"
#include "widgets/SortedComboBox.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTreeWidget>

namespace {

constexpr int kKeyRole = Qt::UserRole;

}  // namespace

TFormBatch::TFormBatch(Workspace& workspace, QWidget* owner)
    : TFormDialog(owner, true), Threads(BatchThreadCount()), m_ws(workspace) {
    setObjectName("FormBatch");
    setWindowTitle("Batch processing");
    SetFixedDialogFrame(650, 510);

    Label1 = Placed<QLabel>(this, "Label1", QRect(12, 8, 200, 20), "Select Plan");
    ListView1 = BatchPlanList(this, {"", "Patient ID", "Patient RID", "Patient Name", "Plan ID", "Date-time"},
                              QRect(12, 30, 626, 390), 115);
    ListView1->setColumnWidth(0, 23);
    connect(ListView1->header(), &QHeaderView::sectionClicked, this, &TFormBatch::ListView1ColumnClick);
    ComboBox1 = Placed<QComboBox>(this, "ComboBox1", QRect(12, 430, 250, 26));
    ComboBox1->setMaxVisibleItems(20);
    KeepSorted(ComboBox1);

    Button1 = BatchButton(this, "Button1", "Select ALL", 12, 470, 90);
    Button2 = BatchButton(this, "Button2", "Clear", 110, 470, 90);
    Button3 = BatchButton(this, "Button3", "Cancel", 450, 470, 90);
    Button4 = BatchButton(this, "Button4", "OK", 548, 470, 90);
    connect(Button1, &QPushButton::clicked, this, &TFormBatch::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFormBatch::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TFormBatch::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TFormBatch::Button4Click);
}

void TFormBatch::Fill(const std::vector<OpenFileClass>& files, const std::vector<std::string>& listNames) {
    ListView1->clear();
    for (const OpenFileClass& e : files) {
        auto* item = new QTreeWidgetItem(
            {"", FromBytes(e.PatientID), FromBytes(e.PatientExtra), FromBytes(e.PatientName), FromBytes(e.PlanID),
             FromBytes(e.Date + " " + e.Time)});
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Unchecked);
        // The key in the entry's own bytes: shown texts may have been decoded as Latin-1.
        item->setData(0, kKeyRole, QByteArray(e.Key.data(), static_cast<qsizetype>(e.Key.size())));
        ListView1->addTopLevelItem(item);
    }
    ComboBox1->clear();
    // Each item keeps the list's name in its own bytes; the box sorts them as the main window's.
    for (const std::string& name : listNames)
        ComboBox1->addItem(FromBytes(name), QByteArray(name.data(), static_cast<qsizetype>(name.size())));
    ComboBox1->setCurrentIndex(-1);
}

std::string TFormBatch::RowKey(const QTreeWidgetItem* item) const {
    return item->data(0, kKeyRole).toByteArray().toStdString();
}

void TFormBatch::FormShow() { SetOwnerEnabled(false); }

void TFormBatch::FormClose() {
    // A batch handed on keeps the main window disabled for the next window.
    if (!BatchSet || !BatchSet->isVisible()) SetOwnerEnabled(true);
}

void TFormBatch::Button1Click() {
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i) ListView1->topLevelItem(i)->setCheckState(0, Qt::Checked);
}

void TFormBatch::Button2Click() {
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i)
        ListView1->topLevelItem(i)->setCheckState(0, Qt::Unchecked);
}

void TFormBatch::Button3Click() {
    if (!m_loading) close();
}

void TFormBatch::ListView1ColumnClick(int column) {
    if (m_loading) return;
    const bool ascending = ClickSortColumn(SortColumn, SortFlag, kColumns, column);
    SortListViewRows(ListView1, column, ascending);
}

void TFormBatch::Message(const QString& text) { ShowBatchMessage(this, text, "Batch processing", "BatchMessage"); }

void TFormBatch::Button4Click() {
    // A second OK while the first still loads starts nothing.
    if (m_loading) return;
    std::vector<QTreeWidgetItem*> ticked;
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i)
        if (ListView1->topLevelItem(i)->checkState(0) == Qt::Checked) ticked.push_back(ListView1->topLevelItem(i));

    int planListIndex = -1;
    const std::string listName =
        ComboBox1->currentIndex() >= 0 ? ComboBox1->currentData().toByteArray().toStdString() : std::string();
    switch (CheckBatchOk(m_ws, ComboBox1->currentIndex() >= 0, listName, static_cast<int>(ticked.size()),
                         planListIndex)) {
    case BatchOkCheck::NoPlan: return Message("No plan are specified.");
    case BatchOkCheck::TooMany: return Message("There is not enough memory available.");
    case BatchOkCheck::NoPlanList: return;
    case BatchOkCheck::Ok: break;
    }
    if (!LoadTickedPlans(planListIndex, ticked)) return;
    FillBatchSet(ticked, planListIndex);
}

bool TFormBatch::LoadTickedPlans(int planListIndex, std::vector<QTreeWidgetItem*>& ticked) {
    std::vector<std::string> keys;
    for (const QTreeWidgetItem* item : ticked) keys.push_back(RowKey(item));
    const std::vector<BatchDecision> decisions = DecideBatchItems(m_ws, keys);

    QScopedValueRollback<bool> loading(m_loading, true);
    setEnabled(false);
    WorkspaceHost* host = m_ws.Host();
    int reads = 0;
    for (const BatchDecision& d : decisions) reads += d.Action == BatchAction::Read;
    if (host) host->ProgressBegin(reads);
    const BatchLoadOutcome out = LoadBatchPlans(m_ws, decisions, planListIndex, Threads, [&](int done, int) {
        if (host) host->ProgressStep(done);
    });
    if (host) host->ProgressEnd();
    setEnabled(true);
    if (out.ShownPlan >= 0 && ShowLoadedPlan) ShowLoadedPlan(out.ShownPlan);

    // Unticks the refused items; the XiO export ends the list of decisions.
    bool refused = false, stoppedAtXiO = false;
    for (std::size_t i = 0; i < decisions.size(); ++i) {
        const BatchAction a = decisions[i].Action;
        if (a == BatchAction::Refuse || a == BatchAction::StopXiO || a == BatchAction::Gone)
            ticked[i]->setCheckState(0, Qt::Unchecked);
        refused |= a == BatchAction::Refuse;
        stoppedAtXiO |= a == BatchAction::StopXiO;
    }
    if (out.Failed) {
        Message(PathText(out.FailedPath) +
                QString::fromStdString(out.Failure.line > 0 ? " (line " + std::to_string(out.Failure.line) + ")"
                                                            : std::string()) +
                ": " + FromBytes(out.Failure.detail));
        return false;
    }
    if (stoppedAtXiO) {
        Message("The operation is not permitted for the XiO DVH_file.");
        return false;
    }
    if (refused) {
        Message("The operation is not permitted for the Sumplan/Comparison DVH_file.");
        return false;
    }
    // Items gone from the open-file list are no part of the batch.
    ticked.erase(std::remove_if(ticked.begin(), ticked.end(),
                                [](QTreeWidgetItem* item) { return item->checkState(0) != Qt::Checked; }),
                 ticked.end());
    return true;
}

void TFormBatch::FillBatchSet(const std::vector<QTreeWidgetItem*>& ticked, int planListIndex) {
    if (!BatchSet) return;
    std::vector<BatchSetRow> rows;
    for (const QTreeWidgetItem* item : ticked)
        rows.push_back({item->text(1), item->text(2), item->text(3), item->text(4), item->text(5), RowKey(item)});
    BatchSet->Fill(rows, planListIndex);
    BatchSet->show();
    BatchSet->raise();
    close();
}
