// The comparison report page in the window: preview, drawing, printing and the row list's filling.
#include "compare/ui/TFormComp.h"

#include "widgets/VersionText.h"
#include "widgets/TextBytes.h"
#include "compare/ComparisonCurves.h"
#include "compare/ComparisonPage.h"
#include "compare/ui/ComparisonChartView.h"
#include "compare/ui/TFormCompRList.h"
#include "compare/ui/TFormCompReport.h"
#include "dvh/Workspace.h"
#include "planlist/IndexTexts.h"
#include "report/ui/PagePainter.h"
#include "report/ui/PagePreviewZoom.h"
#include "report/ui/PagePrinting.h"

#include <QComboBox>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>

#include <qcustomplot.h>

#include <memory>

void TFormComp::BitBtn2Click() {
    if (Compared.Empty() || ComboBox1->currentIndex() < 0) return;
    if (Compared.Count() > kPagePlans) ShowMessage("Cannot print all plans.", "Caution");
    const int list = ChosenPlanList();
    if (list < 0) return;
    ReconcilePlans();
    BuildIndexTable(list);
    FillReportRowList(list);
    DrawReport();
    FormCompReport->show();
    FormCompReport->raise();
    FormCompReport->BitBtn2Click();
}

void TFormComp::FillReportRowList(int listIndex) {
    PlanListIndex = listIndex;
    FormCompRList->ListIndex = listIndex;
    FormCompRList->CheckListBox1->clear();
    if (listIndex < 0 || listIndex >= m_ws.PlanListNameCount()) return;
    const PlanListNameClass& list = m_ws.PlanListName[static_cast<std::size_t>(listIndex)];
    // The labels the page prints: the table's, or the same label function for another list.
    const bool tableOfList = Table.RowCount() == list.IndexDataCount() + 1;
    for (int i = 0; i < list.IndexDataCount(); ++i) {
        const IndexDataClass& row = list.IndexData[static_cast<std::size_t>(i)];
        const std::string label =
            tableOfList ? Table.Cell(1, i + 1)
                        : IndexLabel(row.Items, row.Value, row.ItemsCI, row.ValueCI,
                                     IndexLabelStyle::Comparison);
        auto* item = new QListWidgetItem(
            row.Name.empty() ? QString("     NULL") : FromBytes(row.Name + " / " + label),
            FormCompRList->CheckListBox1);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(row.IndexPrint && !row.Name.empty() ? Qt::Checked : Qt::Unchecked);
    }
}

void TFormComp::EnsureRowList(int listIndex) {
    const int rows = listIndex >= 0 && listIndex < m_ws.PlanListNameCount()
                         ? m_ws.PlanListName[static_cast<std::size_t>(listIndex)].IndexDataCount()
                         : 0;
    if (FormCompRList->ListIndex != listIndex || FormCompRList->CheckListBox1->count() != rows)
        FillReportRowList(listIndex);
}

namespace {

/// The page's content: the table as built, the list named in the choice, positions' colours.
ComparisonPageInput PageInput(const ComparisonTable& table, const PlanListNameClass* list,
                              std::vector<const PDatasetClass*> plans, const ComparedPlans& compared,
                              const std::array<QComboBox*, 4>& choices, int style) {
    ComparisonPageInput input;
    input.ReportStyle = style;
    input.List = list;
    input.Table = &table;
    input.Plans = std::move(plans);
    for (int p = 0; p < compared.Count() && p < kPagePlans; ++p)
        input.PositionColor.push_back(compared.PositionColor(p));
    for (std::size_t c = 0; c < 4; ++c) input.ChartStructure[c] = PathBytes(choices[c]->currentText());
    input.Version = PathBytes(VersionText());
    return input;
}

}  // namespace

void TFormComp::PaintPageChart(QPainter& painter, const QRect& target, int chart, QSize logicalSize,
                               bool pageFonts) {
    if (chart < 0 || chart > 3) return;
    // The chart as the user sees it, whatever the dose unit and width chosen since it was drawn.
    const std::unique_ptr<QCustomPlot> plot =
        CopyComparisonChart(*ChartAD[static_cast<std::size_t>(chart)], kPagePlans);
    if (pageFonts)
        SetChartLook(plot.get(), Qt::white, 9, 8, 5);
    else
        plot->setBackground(QBrush(Qt::white));
    PaintChartIntoRect(painter, *plot, target, logicalSize);
}

void TFormComp::DrawReport() {
    ReconcilePlans();
    const int listIndex = ChosenPlanList();
    EnsureRowList(listIndex);
    const PlanListNameClass* list =
        listIndex >= 0 ? &m_ws.PlanListName[static_cast<std::size_t>(listIndex)] : nullptr;
    const ComparisonPageInput input =
        PageInput(Table, list, ComparedPlanPointers(), Compared, StructureChoice, ReportStyle);
    std::vector<bool> checks = FormCompRList->Checks();
    const PageDrawing page = LayoutComparisonPage(input, 840, 1188, checks);
    FormCompRList->SetChecks(checks);
    PagePicture = RenderPageImage(page, [this](QPainter& painter, const QRect& target, int chart) {
        PaintPageChart(painter, target, chart, ChartAD[static_cast<std::size_t>(chart)]->size(), true);
    });
    ShowPagePicture(FormCompReport->Image1, PagePicture);
}

void TFormComp::PrintReport() {
    ReconcilePlans();
    const int listIndex = ChosenPlanList();
    QPrintDialog* dialog = PrintDialog ? PrintDialog() : nullptr;
    if (Compared.Empty() || listIndex < 0 || !dialog) return;
    EnsureRowList(listIndex);
    const ComparisonPageInput input =
        PageInput(Table, &m_ws.PlanListName[static_cast<std::size_t>(listIndex)], ComparedPlanPointers(),
                  Compared, StructureChoice, ReportStyle);
    std::vector<bool> checks = FormCompRList->Checks();
    const PrintOutcome outcome =
        PrintOnePage(dialog, dialog->printer(), QPageLayout::Portrait, [&](QPainter& painter, QSizeF size) {
            const PageDrawing page = LayoutComparisonPage(input, size.width(), size.height(), checks);
            return PaintPageOperations(
                painter, page.Operations, [this](QPainter& p, const QRect& target, int chart) {
                    // Twice the chart's size on screen, so its fonts keep their place on paper.
                    PaintPageChart(p, target, chart, ChartAD[static_cast<std::size_t>(chart)]->size() * 2,
                                   false);
                });
        });
    if (outcome.status == PrintOutcome::Cancelled) return;
    FormCompRList->SetChecks(checks);
    if (outcome.status == PrintOutcome::Failed)
        ShowMessage(QString::fromStdString(outcome.message), "Print");
}

void TFormComp::ReportStyleClicked() {
    SetReportStyle(NextReportStyle(ReportStyle));
    if (Compared.Empty() || ComboBox1->currentIndex() < 0) return;
    const int list = ChosenPlanList();
    if (list < 0) return;
    FillReportRowList(list);
    DrawReport();
}
