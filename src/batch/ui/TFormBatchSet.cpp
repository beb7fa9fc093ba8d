// The structure-name mapping window and the OK that evaluates the batch.
#include "batch/ui/TFormBatchSet.h"

#include "widgets/TextBytes.h"
#include "batch/BatchEvaluation.h"
#include "batch/NameMapping.h"
#include "batch/ParallelFor.h"
#include "batch/ui/BatchWidgets.h"
#include "batch/ui/TFormBatchResult.h"
#include "dvh/FileListOrder.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

namespace {

constexpr int kItemKeyRole = Qt::UserRole;
constexpr int kStructureColumn = 5;

}  // namespace

TFormBatchSet::TFormBatchSet(Workspace& workspace, QWidget* owner)
    : TFormDialog(owner, true), Threads(BatchThreadCount()), m_ws(workspace) {
    setObjectName("FormBatchSet");
    setWindowTitle("Batch processing");
    SetFixedDialogFrame(890, 530);

    ListView1 =
        BatchPlanList(this, {"Patient ID", "Patient RID", "Patient Name", "Plan ID", "Date-time", "Structure Name"},
                      QRect(12, 12, 600, 506), 98);
    connect(ListView1->header(), &QHeaderView::sectionClicked, this, &TFormBatchSet::ListView1ColumnClick);
    connect(ListView1, &QTreeWidget::currentItemChanged, this, [this] { ListView1SelectItem(); });

    Edit1 = Placed<QLineEdit>(this, "Edit1", QRect(624, 12, 254, 24));
    Edit1->setReadOnly(true);
    Label1 = Placed<QLabel>(this, "Label1", QRect(624, 42, 254, 20), "Substitution");
    ListBox1 = Placed<QListWidget>(this, "ListBox1", QRect(624, 64, 122, 330));
    connect(ListBox1, &QListWidget::currentRowChanged, this, [this] { ListBox1Click(); });
    ListBox2 = Placed<QListWidget>(this, "ListBox2", QRect(756, 64, 122, 290));
    ComboBox1 = Placed<QComboBox>(this, "ComboBox1", QRect(756, 364, 122, 26));

    Button1 = BatchButton(this, "Button1", "Add", 756, 400);
    Button2 = BatchButton(this, "Button2", "Delete", 756, 434);
    Button3 = BatchButton(this, "Button3", "OK", 700, 490);
    Button4 = BatchButton(this, "Button4", "Cancel", 798, 490);
    connect(Button1, &QPushButton::clicked, this, &TFormBatchSet::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFormBatchSet::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TFormBatchSet::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TFormBatchSet::Button4Click);
}

void TFormBatchSet::FormShow() { SetOwnerEnabled(false); }

void TFormBatchSet::FormClose() {
    if (!Result || !Result->isVisible()) SetOwnerEnabled(true);
}

std::string TFormBatchSet::RowKey(const QTreeWidgetItem* item) const {
    return item->data(0, kItemKeyRole).toByteArray().toStdString();
}

void TFormBatchSet::Fill(const std::vector<BatchSetRow>& rows, int planListIndex) {
    m_planListIndex = planListIndex;
    ListView1->clear();
    for (const BatchSetRow& r : rows) {
        auto* item = new QTreeWidgetItem({r.PatientID, r.PatientRID, r.PatientName, r.PlanID, r.DateTime, ""});
        item->setData(0, kItemKeyRole, QByteArray(r.Key.data(), static_cast<qsizetype>(r.Key.size())));
        ListView1->addTopLevelItem(item);
    }
    const bool listExists = planListIndex >= 0 && planListIndex < m_ws.PlanListNameCount();
    Edit1->setText(listExists ? FromBytes(m_ws.PlanListName[planListIndex].Name) : QString());
    const std::vector<std::string> common =
        listExists ? CommonNamesOf(m_ws.PlanListName[planListIndex]) : std::vector<std::string>{};
    {
        const QSignalBlocker quiet(ListBox1);
        ListBox1->clear();
        ListBox2->clear();
        for (const std::string& name : common) ListBox1->addItem(FromBytes(name));
    }
    if (!common.empty()) {
        Batchpro = NewSubstitutionTable(common);
        const QSignalBlocker quiet(ListBox1);
        ListBox1->setCurrentRow(0);
    }
    if (Result) Result->PlanListIndex = planListIndex;
    ListBox1Click();
}

void TFormBatchSet::ListView1SelectItem() {
    ComboBox1->clear();
    const QTreeWidgetItem* item = ListView1->currentItem();
    if (!item) return;
    const int plan = m_ws.FindDatasetByKey(RowKey(item));
    if (plan < 0) return;
    for (const DVHDatasetClass& s : m_ws.PDataset[plan].DVHDataset) ComboBox1->addItem(FromBytes(s.Name));
}

void TFormBatchSet::ListBox1Click() {
    const int k = ListBox1->currentRow();
    if (k < 0 || k >= static_cast<int>(Batchpro.size())) return;
    ListBox2->clear();
    for (const std::string& alias : Batchpro[k].AliasName) ListBox2->addItem(FromBytes(alias));
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = ListView1->topLevelItem(i);
        item->setText(kStructureColumn, "");
        const int plan = m_ws.FindDatasetByKey(RowKey(item));
        if (plan < 0) continue;
        std::string matched;
        ResolveCommonName(m_ws.PDataset[plan], Batchpro[k], &matched);
        item->setText(kStructureColumn, FromBytes(matched));
    }
    if (ListView1->topLevelItemCount() > 0) ListView1->setCurrentItem(ListView1->topLevelItem(0));
    ListView1SelectItem();
}

namespace {

/// The structure name the combo box shows, in the plan's own bytes.
std::string ChosenStructureName(const Workspace& ws, const QTreeWidgetItem* row, const std::string& key,
                                const QComboBox* box) {
    const int plan = row ? ws.FindDatasetByKey(key) : -1;
    const int s = box->currentIndex();
    if (plan < 0 || s < 0 || s >= ws.PDataset[plan].DVHDatasetCount()) return {};
    return ws.PDataset[plan].DVHDataset[s].Name;
}

}  // namespace

void TFormBatchSet::Button1Click() {
    const int k = ListBox1->currentRow();
    const QTreeWidgetItem* row = ListView1->currentItem();
    const std::string name = ChosenStructureName(m_ws, row, row ? RowKey(row) : "", ComboBox1);
    if (name.empty() || k < 0 || k >= static_cast<int>(Batchpro.size())) return;
    AddAlias(Batchpro[k], name);
    ListBox1Click();
}

void TFormBatchSet::Button2Click() {
    const int k = ListBox1->currentRow();
    const int a = ListBox2->currentRow();
    if (k < 0 || k >= static_cast<int>(Batchpro.size()) || a < 0 || a >= static_cast<int>(Batchpro[k].AliasName.size()))
        return;
    Batchpro[k].AliasName.erase(Batchpro[k].AliasName.begin() + a);
    ListBox1Click();
}

void TFormBatchSet::Button4Click() { close(); }

void TFormBatchSet::ListView1ColumnClick(int column) {
    const bool ascending = ClickSortColumn(SortColumn, SortFlag, kColumns, column);
    SortListViewRows(ListView1, column, ascending);
}

void TFormBatchSet::Button3Click() {
    if (!Result) return;
    // The batch order: by "Patient RID" in that column's present direction, not toggled.
    SortColumn = 1;
    SortListViewRows(ListView1, 1, SortFlag[1] == 1);

    std::vector<int> planIndex;
    std::vector<std::string> keys;
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i) {
        keys.push_back(RowKey(ListView1->topLevelItem(i)));
        planIndex.push_back(m_ws.FindDatasetByKey(keys.back()));
    }
    const int list = Result->PlanListIndex;
    const PlanListNameClass noList;
    const PlanListNameClass& rows = list >= 0 && list < m_ws.PlanListNameCount() ? m_ws.PlanListName[list] : noList;
    WorkspaceHost* host = m_ws.Host();
    if (host) host->ProgressBegin(static_cast<int>(keys.size()));
    std::vector<BVClass> values = EvaluateBatch(m_ws.PDataset, planIndex, rows, Batchpro, Threads, [&](int done) {
        if (host) host->ProgressStep(done);
    });
    if (host) host->ProgressEnd();
    Result->SetResults(planIndex, keys, std::move(values));
    Result->show();
    Result->raise();
    close();
}
