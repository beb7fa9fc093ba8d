// The comparison window's index table: building, colours, the selected row's charts, copying.
#include "compare/ui/TFormComp.h"

#include "widgets/TextBytes.h"
#include "compare/ComparisonCurves.h"
#include "compare/ui/ComparisonChartView.h"
#include "dvh/Workspace.h"
#include "planlist/ui/IndexGridView.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QSignalBlocker>
#include <QTableWidget>

#include <qcustomplot.h>

namespace {

const QColor kSelectedRow(0xEB, 0xF5, 0xFF);  // TColor 0xFFF5EB

/// Shows `table` in `grid`: its row 0 as the header, the rest as rows.
void ShowTable(QTableWidget* grid, const ComparisonTable& table) {
    // Refilling moves the grid's current cell; that is no selection by the user.
    const QSignalBlocker quiet(grid);
    grid->clear();
    const int columns = table.ColumnCount();
    grid->setColumnCount(columns);
    grid->setRowCount(std::max(0, table.RowCount() - 1));
    QStringList titles;
    for (int c = 0; c < columns; ++c) titles << FromBytes(table.Cell(c, 0));
    grid->setHorizontalHeaderLabels(titles);
    for (int c = 2; c < columns; ++c) {
        // A plan ID wider than its column shows its start, where its values start, and its
        // whole text as a tip.
        QTableWidgetItem* title = grid->horizontalHeaderItem(c);
        title->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        title->setToolTip(title->text());
    }
    grid->setColumnWidth(0, 110);
    for (int c = 2; c < columns; ++c) grid->setColumnWidth(c, 100);
    for (int r = 1; r < table.RowCount(); ++r)
        for (int c = 0; c < columns; ++c) {
            auto* item = new QTableWidgetItem(FromBytes(table.Cell(c, r)));
            if (c >= 2) item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            grid->setItem(r - 1, c, item);
        }
    FitColumnToTexts(grid, 1, IndexLabelColumnWidth);
}

}  // namespace

int TFormComp::ChosenPlanList() const {
    if (ComboBox1->currentIndex() < 0) return -1;
    const QString name = ComboBox1->currentText();
    for (int i = m_ws.PlanListNameCount() - 1; i >= 0; --i)
        if (FromBytes(m_ws.PlanListName[static_cast<std::size_t>(i)].Name) == name) return i;
    return -1;
}

void TFormComp::ComboBox1Change() {
    const int list = ChosenPlanList();
    if (list < 0) return;
    ReconcilePlans();
    BuildIndexTable(list);
    PlanListIndex = list;
    IndexGridRow = -1;
    PaintIndexTableColors();
    ClearRowCharts();
}

void TFormComp::BuildIndexTable(int listIndex) {
    const PlanListNameClass* list = listIndex >= 0 && listIndex < m_ws.PlanListNameCount()
                                        ? &m_ws.PlanListName[static_cast<std::size_t>(listIndex)]
                                        : nullptr;
    Table = BuildComparisonTable(list, ComparedPlanPointers(), m_ws.CaseSensitiveNow());
    for (std::size_t i = 0; i < PlanComp.size() && i < Table.RowColor.size(); ++i)
        PlanComp[i].IndexRowColor = Table.RowColor[i];
    ShowTable(StringGrid1, Table);
    PaintIndexTableColors();
}

void TFormComp::FillTitleOnlyTable() {
    Table = BuildComparisonTable(nullptr, ComparedPlanPointers(), m_ws.CaseSensitiveNow());
    for (PlanCompClass& plan : PlanComp) plan.IndexRowColor.clear();
    ShowTable(StringGrid1, Table);
    PlanListIndex = -1;
    IndexGridRow = -1;
    ClearRowCharts();
}

void TFormComp::PaintIndexTableColors() {
    const bool live = !Compared.Empty() && ComboBox1->currentIndex() >= 0;
    const QColor face = palette().color(QPalette::Button);
    const QColor window = palette().color(QPalette::Base);
    const QColor text = StringGrid1->palette().color(QPalette::Text);
    for (int r = 0; r < StringGrid1->rowCount(); ++r)
        for (int c = 2; c < StringGrid1->columnCount(); ++c) {
            QTableWidgetItem* item = StringGrid1->item(r, c);
            if (!item) continue;
            if (!live) {
                item->setBackground(face);
                item->setForeground(text);
                continue;
            }
            item->setBackground(r + 1 == IndexGridRow ? kSelectedRow : window);
            const std::size_t position = static_cast<std::size_t>(c - 2);
            TColor colour = 0;
            if (position < Table.RowColor.size() &&
                static_cast<std::size_t>(r) < Table.RowColor[position].size())
                colour = Table.RowColor[position][static_cast<std::size_t>(r)];
            item->setForeground(ToQColor(colour));
        }
}

void TFormComp::ClearRowCharts() {
    for (QCustomPlot* chart : {Chart5, Chart6}) {
        chart->clearGraphs();
        chart->clearItems();
        chart->replot();
    }
    RowCurveSeries.clear();
    RowValueSeries = nullptr;
    Panel2->clear();
    Panel3->clear();
}

void TFormComp::StringGrid1SelectCell(int /*col*/, int row) {
    IndexGridRow = row;
    Compared.PlanGridRow = -1;
    PaintIndexTableColors();
    PaintPlanGridColors();
    ClearRowCharts();
    if (Compared.Empty() || ComboBox1->currentIndex() < 0) return;
    if (PlanListIndex < 0 || PlanListIndex >= m_ws.PlanListNameCount()) return;
    const PlanListNameClass& list = m_ws.PlanListName[static_cast<std::size_t>(PlanListIndex)];
    if (row < 1 || row > list.IndexDataCount()) return;
    const std::string& name = list.IndexData[static_cast<std::size_t>(row - 1)].Name;
    if (name.empty()) return;
    ReconcilePlans();
    Panel2->setText(FromBytes(name + " - " + Table.Cell(1, row)));
    Panel3->setText(FromBytes(name));

    // The row's values by plan, from the numbers the table shows.
    const RowValueChart values = BuildRowValueChart(Table, row);
    RowValueSeries = Chart6->addGraph();
    RowValueSeries->setPen(QPen(ToQColor(0x0000FF), 2));
    RowValueSeries->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssSquare, 6));
    for (const ChartPoint& p : values.Points) RowValueSeries->addData(p.x, p.y);
    for (const ChartPoint& p : values.Points) {
        auto* mark = new QCPItemText(Chart6);
        mark->position->setCoords(p.x, p.y);
        mark->setPositionAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        mark->setText(QString::number(p.y, 'f', 2));
    }
    Chart6->xAxis->setRange(values.BottomMin, values.BottomMax);
    Chart6->yAxis->setRange(values.LeftMin, values.LeftMax);

    // The structure's curves, by `Name` as charts A-D match it.
    for (const ComparisonSeries& s : ComparisonCurves(Compared, m_ws.PDataset, name, true)) {
        QCPGraph* graph = Chart5->addGraph();
        graph->setPen(QPen(ToQColor(s.Color), 2));
        for (const ChartPoint& p : s.Points) graph->addData(p.x, p.y);
        RowCurveSeries.push_back(graph);
    }
    UndoComparisonZoom(Chart5);
    Chart5->replot();
    Chart6->replot();
}

void TFormComp::CopytoClipboard1Click() {
    const std::string text = ComparisonClipboardText(Table);
    QApplication::clipboard()->setText(FromBytes(text));
}
