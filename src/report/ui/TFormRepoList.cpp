// The report's row choice "Report": which index rows and structures the page shows.
#include "report/ui/TFormRepoList.h"

#include "widgets/TextBytes.h"
#include "dvh/Workspace.h"
#include "report/ReportRowChoice.h"
#include "report/ui/ReportHost.h"

#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>

#include <algorithm>

namespace {

QListWidget* MakeCheckList(QWidget* parent, const char* name, const QRect& geometry) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setGeometry(geometry);
    list->setUniformItemSizes(true);
    return list;
}

void Fill(QListWidget* list, const std::vector<std::string>& items, const std::vector<bool>& checks) {
    list->clear();
    for (std::size_t i = 0; i < items.size(); ++i) {
        auto* item = new QListWidgetItem(FromBytes(items[i]), list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setSizeHint(QSize(0, 16));
        item->setCheckState(i < checks.size() && checks[i] ? Qt::Checked : Qt::Unchecked);
    }
}

bool Checked(const QListWidget* list, int row) { return list->item(row)->checkState() == Qt::Checked; }

// The current plan of `workspace`, or nullptr.
const PDatasetClass* CurrentPlan(const Workspace& workspace) {
    const int p = workspace.CurrentPlanIndex;
    return p > -1 && p < workspace.PDatasetCount() ? &workspace.PDataset[static_cast<std::size_t>(p)] : nullptr;
}

}  // namespace

TFormRepoList::TFormRepoList(ReportHost* host, QWidget* reportWindow, QWidget* parent)
    : QWidget(parent, Qt::Dialog), m_host(host), m_reportWindow(reportWindow) {
    setObjectName("FormRepoList");
    setWindowTitle("Report");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setFixedSize(525, 470);
    Label1 = new QLabel("Index data", this);
    Label1->setObjectName("Label1");
    Label1->move(11, 10);
    CheckListBox1 = MakeCheckList(this, "CheckListBox1", {11, 28, 240, 360});
    Label2 = new QLabel("Structure List", this);
    Label2->setObjectName("Label2");
    Label2->move(267, 10);
    CheckListBox2 = MakeCheckList(this, "CheckListBox2", {267, 28, 240, 360});
    Button1 = new QPushButton("OK", this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(343, 400, 77, 29);
    Button2 = new QPushButton("Cancel", this);
    Button2->setObjectName("Button2");
    Button2->setGeometry(427, 400, 77, 29);
    connect(Button1, &QPushButton::clicked, this, &TFormRepoList::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFormRepoList::Button2Click);
}

void TFormRepoList::SetItems(const std::vector<std::string>& indexItems, const std::vector<bool>& indexChecks,
                             const std::vector<std::string>& structureItems,
                             const std::vector<bool>& structureChecks) {
    Fill(CheckListBox1, indexItems, indexChecks);
    Fill(CheckListBox2, structureItems, structureChecks);
}

void TFormRepoList::SetChecksFromMasks() {
    Workspace& ws = m_host->ReportWorkspace();
    const PDatasetClass* plan = CurrentPlan(ws);
    const PlanListNameClass* list = m_host->ReportPlanList();
    // The lists were filled for the plan and list of the last report command; the main window
    // may have moved on since, so only items that exist are touched, each read the page's way.
    const int rows = std::min(CheckListBox1->count(), m_host->IndexGridRowCount() - 1);
    for (int i = 0; i < rows; ++i) {
        const bool printed = static_cast<std::size_t>(i) < ws.ReportPrintIndex.size()
                                 ? ws.ReportPrintIndex[static_cast<std::size_t>(i)]
                                 : ReportIndexRowPrinted(ws.ReportPrintIndex, list, static_cast<std::size_t>(i));
        CheckListBox1->item(i)->setCheckState(printed ? Qt::Checked : Qt::Unchecked);
    }
    const int structures = plan ? std::min(CheckListBox2->count(), plan->DVHDatasetCount()) : 0;
    for (int j = 0; j < structures; ++j)
        CheckListBox2->item(j)->setCheckState(
            ReportStructurePrinted(ws.ReportPrintStructure, static_cast<std::size_t>(j)) ? Qt::Checked : Qt::Unchecked);
}

void TFormRepoList::FormShow() {
    if (m_reportWindow) m_reportWindow->setEnabled(false);
}

void TFormRepoList::FormClose() {
    if (m_reportWindow) m_reportWindow->setEnabled(true);
}

void TFormRepoList::Button1Click() {
    Workspace& ws = m_host->ReportWorkspace();
    const PDatasetClass* plan = CurrentPlan(ws);
    // Only bits that exist are written, from items that exist.
    const int rows = std::min({CheckListBox1->count(), m_host->IndexGridRowCount() - 1,
                               static_cast<int>(ws.ReportPrintIndex.size())});
    for (int i = 0; i < rows; ++i) ws.ReportPrintIndex[static_cast<std::size_t>(i)] = Checked(CheckListBox1, i);
    const int structures = plan ? std::min({CheckListBox2->count(), plan->DVHDatasetCount(),
                                            static_cast<int>(ws.ReportPrintStructure.size())})
                                : 0;
    for (int j = 0; j < structures; ++j)
        ws.ReportPrintStructure[static_cast<std::size_t>(j)] = Checked(CheckListBox2, j);
    close();
    m_host->DrawReportPreview();
    if (m_reportWindow) m_reportWindow->show();
}

void TFormRepoList::Button2Click() {
    close();
    m_host->DrawReportPreview();
    if (m_reportWindow) m_reportWindow->show();
}

void TFormRepoList::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TFormRepoList::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    FormClose();
}
