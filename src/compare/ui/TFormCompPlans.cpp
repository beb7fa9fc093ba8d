// The comparison window's plans: choice, "Add ALL", order, removal, colours, the plan grid.
#include "compare/ui/TFormComp.h"

#include "widgets/TextBytes.h"
#include "compare/ComparablePlans.h"
#include "compare/ui/ComparisonChartView.h"
#include "compare/ui/TFormCompSelect.h"
#include "dvh/NameCompare.h"
#include "dvh/Workspace.h"
#include "planlist/PlanListCommands.h"

#include <QColorDialog>
#include <QComboBox>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTableWidget>

#include <qcustomplot.h>

#include <algorithm>

namespace {
const QColor kSelectedRow(0xEB, 0xF5, 0xFF);  // TColor 0xFFF5EB
}

void TFormComp::Button1Click() {
    ReconcilePlans();
    FormCompSelect->CheckListBox1->clear();
    FormCompSelect->ItemDatasetIndex.clear();
    for (int index : ComparablePlanIndices(m_ws.PDataset)) {
        auto* item = new QListWidgetItem(
            FromBytes(ComparePlanItemText(m_ws.PDataset[static_cast<std::size_t>(index)])),
            FormCompSelect->CheckListBox1);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Compared.Contains(index) ? Qt::Checked : Qt::Unchecked);
        FormCompSelect->ItemDatasetIndex.push_back(index);
    }
    FormCompSelect->show();
    FormCompSelect->raise();
}

void TFormComp::PlansChosen(const std::vector<int>& datasetIndices) {
    Compared.Choose(datasetIndices, m_ws.PDataset);
    if (Compared.PlanCompCount > 0) {
        // The first plan's list, chosen without running the choice's handler.
        int item = -1;
        const int list = m_ws.PDataset[static_cast<std::size_t>(PlanComp[0].DatasetIndex)].PlanListIndex;
        if (list >= 0 && list < m_ws.PlanListNameCount()) {
            const QString name = FromBytes(m_ws.PlanListName[static_cast<std::size_t>(list)].Name);
            for (int i = 0; i < ComboBox1->count(); ++i)
                if (ComboBox1->itemText(i) == name) item = i;
        }
        ComboBox1->setCurrentIndex(item);
    }
    ComparedPlansChanged();
}

void TFormComp::Button4Click() {
    ReconcilePlans();
    PlansChosen(ComparablePlanIndices(m_ws.PDataset));
}

void TFormComp::Button2Click() {
    if (Compared.Empty() || Compared.PlanGridRow <= 0) return;
    Compared.RemoveSelected();
    ComparedPlansChanged();
}

void TFormComp::Button3Click() {
    Compared.Clear();
    ComparedPlansChanged();
}

void TFormComp::BUpClick() {
    if (Compared.MoveUp()) ComparedPlansChanged();
}

void TFormComp::BDownClick() {
    if (Compared.MoveDown()) ComparedPlansChanged();
}

void TFormComp::ComparedPlansChanged() {
    ReconcilePlans();
    RefreshPlanGrid();
    if (ChosenPlanList() >= 0) {
        ComboBox1Change();
    } else {
        // No list to evaluate: the titles of the plans now compared, never older columns.
        FillTitleOnlyTable();
    }
    DrawAllCharts();
}

void TFormComp::RefreshPlanGrid() {
    const std::vector<const PDatasetClass*> plans = ComparedPlanPointers();
    // Refilling moves the grid's current cell; the selected row stays as the user left it.
    const QSignalBlocker quiet(StringGrid2);
    StringGrid2->clearContents();
    StringGrid2->setRowCount(std::max<int>(1, static_cast<int>(plans.size())));
    for (int r = 0; r < StringGrid2->rowCount(); ++r)
        for (int c = 0; c < 4; ++c) StringGrid2->setItem(r, c, new QTableWidgetItem);
    for (std::size_t i = 0; i < plans.size(); ++i) {
        if (!plans[i]) continue;
        const int r = static_cast<int>(i);
        StringGrid2->item(r, 1)->setText(FromBytes(plans[i]->PatientID));
        StringGrid2->item(r, 2)->setText(FromBytes(plans[i]->PatientName));
        StringGrid2->item(r, 3)->setText(FromBytes(plans[i]->PlanID));
    }
    PaintPlanGridColors();

    StructureNames = StructureNameUnion(plans);
    for (QComboBox* choice : StructureChoice) {
        choice->clear();
        for (const std::string& name : StructureNames) choice->addItem(FromBytes(name));
        choice->setCurrentIndex(-1);
    }
}

void TFormComp::PaintPlanGridColors() {
    const QColor face = palette().color(QPalette::Button);
    const QColor window = palette().color(QPalette::Base);
    for (int r = 0; r < StringGrid2->rowCount(); ++r)
        for (int c = 0; c < 4; ++c) {
            QTableWidgetItem* item = StringGrid2->item(r, c);
            if (!item) continue;
            QColor background;
            if (Compared.Empty())
                background = face;
            else if (c == 0)
                background = ToQColor(Compared.PositionColor(r));
            else
                background = (r + 1 == Compared.PlanGridRow) ? kSelectedRow : window;
            item->setBackground(background);
        }
}

void TFormComp::StringGrid2SelectCell(int col, int row) {
    Compared.PlanGridCol = col;
    Compared.PlanGridRow = row;
    PaintPlanGridColors();
}

void TFormComp::StringGrid2DblClick() {
    if (Compared.Empty() || Compared.PlanGridCol != 0 || Compared.PlanGridRow < 1 ||
        Compared.PlanGridRow > Compared.Count())
        return;
    const int position = Compared.PlanGridRow - 1;
    ColorDialog1->setCurrentColor(ToQColor(Compared.PositionColor(position)));
    if (ColorDialog1->exec() != QDialog::Accepted) return;
    SetPlanColor(position, FromQColor(ColorDialog1->currentColor()));
}

void TFormComp::SetPlanColor(int position, TColor color) {
    Compared.SetPositionColor(position, color);
    PaintPlanGridColors();
    const auto recolour = [&](QCustomPlot* chart, const std::vector<QCPGraph*>& series) {
        if (position >= static_cast<int>(series.size())) return;
        QCPGraph* graph = series[static_cast<std::size_t>(position)];
        QPen pen = graph->pen();
        pen.setColor(ToQColor(color));
        graph->setPen(pen);
        chart->replot();
    };
    for (std::size_t c = 0; c < 4; ++c) recolour(ChartAD[c], ChartSeries[c]);
    recolour(Chart5, RowCurveSeries);
}

void TFormComp::MainPlansChanged() { ComparedPlansChanged(); }

void TFormComp::PlanListDeleted(int deleted) {
    PlanListIndex = PlanListIndexAfterDelete(PlanListIndex, deleted);
    // The choice names the lists that exist, sorted like the main window's.
    const QString current = ComboBox1->currentIndex() >= 0 ? ComboBox1->currentText() : QString();
    QStringList names;
    for (const PlanListNameClass& list : m_ws.PlanListName) names << FromBytes(list.Name);
    names.sort(Qt::CaseInsensitive);
    ComboBox1->clear();
    ComboBox1->addItems(names);
    ComboBox1->setCurrentIndex(current.isEmpty() ? -1 : static_cast<int>(names.lastIndexOf(current)));
    if (PlanListIndex < 0) {
        FillTitleOnlyTable();
        ClearRowCharts();
    }
}
