// The plan view: series of the chart, units, ranges, zoom, colour and the plan-list choice.
#include "MainWindowFixture.h"

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>

#include <qcustomplot.h>

namespace {

std::vector<double> Keys(const QCPGraph* g) {
    std::vector<double> out;
    for (auto it = g->data()->constBegin(); it != g->data()->constEnd(); ++it) out.push_back(it->key);
    return out;
}
std::vector<double> Values(const QCPGraph* g) {
    std::vector<double> out;
    for (auto it = g->data()->constBegin(); it != g->data()->constEnd(); ++it) out.push_back(it->value);
    return out;
}

void Drag(QCustomPlot* chart, QPoint from, QPoint to) {
    QMouseEvent press(QEvent::MouseButtonPress, from, chart->mapToGlobal(from), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(chart, &press);
    QMouseEvent move(QEvent::MouseMove, to, chart->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(chart, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, to, chart->mapToGlobal(to), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(chart, &release);
}

}  // namespace

TEST_F(MainWindowTest, ChartHasOneTitledSeriesPerVisibleStructureInItsColourAndWidth) {
    const int p = AddPlan();
    Form1->PDataset[p].DVHDataset[1].LineWidth = 4;
    Form1->PDataset[p].DVHDataset[1].Color = RgbColor(255, 0, 128);
    Form1->PDataset[p].DVHDataset[2].Visible = false;
    Form1->ShowPlan(p);
    Form1->DrawDvhChart(p);

    EXPECT_EQ(Form1->CurrentPlanIndex, p);
    ASSERT_EQ(Form1->Chart1->graphCount(), 2);
    ASSERT_EQ(Form1->StructureSeries.size(), 2u);
    EXPECT_EQ(Form1->Chart1->legend->itemCount(), 2);
    EXPECT_EQ(Form1->Chart1->graph(0)->name(), "PTV ");
    EXPECT_EQ(Form1->Chart1->graph(1)->name(), "Rectum wall");  // the alias names the curve
    EXPECT_EQ(Form1->Chart1->graph(1)->pen().width(), 4);
    EXPECT_EQ(Form1->Chart1->graph(1)->pen().color(), QColor(255, 0, 128));
    EXPECT_EQ(Form1->LabelPName->text(), "Doe^Jane");
    EXPECT_EQ(Form1->LabelPlanID->text(), "PL1");
    EXPECT_EQ(Form1->LabelPrescDose->text(), "50 [Gy]");

    // The graph view's ticks decide: ticking the hidden structure draws it, titled whole.
    FormGraphView->CheckListBox1->item(2)->setCheckState(Qt::Checked);
    FormGraphView->CheckListBox1->item(0)->setCheckState(Qt::Unchecked);
    Form1->DrawDvhChart(p);
    ASSERT_EQ(Form1->Chart1->graphCount(), 2);
    EXPECT_EQ(Form1->Chart1->graph(0)->name(), "Rectum wall");
    EXPECT_EQ(Form1->Chart1->graph(1)->name(), "[x] Body");
}

TEST_F(MainWindowTest, EachUnitCombinationPlotsItsColumnsWithTitlesAndRanges) {
    const int p = AddPlan();
    Form1->ShowPlan(p);
    Form1->DrawDvhChart(p);
    const DVHDatasetClass& ptv = Form1->PDataset[p].DVHDataset[0];
    // PTV: 0 .. 60 Gy (0 .. 120 %), 80 cc .. 0; Body reaches 2000 cc.
    const struct {
        int dose, volume;
        const char *doseTitle, *volumeTitle;
        double lastKey, firstValue, volumeUpper;
    } cases[] = {{0, 0, "Dose [Gy]", "Volume [cc]", 60, 80, 2000},
                 {1, 0, "Dose [%]", "Volume [cc]", 120, 80, 2000},
                 {0, 1, "Dose [Gy]", "Volume [%]", 60, 100, 105},
                 {1, 1, "Dose [%]", "Volume [%]", 120, 100, 105}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.doseTitle) + " " + c.volumeTitle);
        // A click on a radio item redraws the current plan.
        Form1->SetRadioGroupIndex(Form1->RadioGroup1, c.dose);
        Form1->SetRadioGroupIndex(Form1->RadioGroup2, c.volume);
        ASSERT_EQ(Form1->Chart1->graphCount(), 3);
        const QCPGraph* g = Form1->Chart1->graph(0);
        EXPECT_EQ(Form1->Chart1->xAxis->label(), c.doseTitle);
        EXPECT_EQ(Form1->Chart1->yAxis->label(), c.volumeTitle);
        ASSERT_EQ(g->dataCount(), static_cast<int>(ptv.DVset.size()));
        EXPECT_NEAR(Keys(g).back(), c.lastKey, 1e-3);
        EXPECT_NEAR(Values(g).front(), c.firstValue, 1e-3);
        EXPECT_NEAR(Form1->Chart1->yAxis->range().upper, c.volumeUpper, 1e-3);
        EXPECT_NEAR(Form1->Chart1->yAxis->range().lower, 0, 1e-3);
        EXPECT_NEAR(Form1->Chart1->xAxis->range().upper, c.dose ? 120 : 60, 1e-3);
    }
}

TEST_F(MainWindowTest, RedrawsKeepEachCurvesDataUntilItsPointsTheUnitsOrTheTicksChange) {
    const int p = AddPlan();
    Form1->ShowPlan(p);
    Form1->DrawDvhChart(p);
    const auto data = [](int graph) { return Form1->Chart1->graph(graph)->data().data(); };
    ASSERT_EQ(Form1->Chart1->graphCount(), 3);
    const QCPGraphDataContainer* ptv = data(0);
    const QCPGraphDataContainer* body = data(2);

    Form1->DrawDvhChart(p);  // nothing changed: every curve is the kept one
    EXPECT_EQ(data(0), ptv);
    EXPECT_EQ(data(2), body);

    // Unticking and ticking the rectum again builds its curve alone.
    FormGraphView->CheckListBox1->item(1)->setCheckState(Qt::Unchecked);
    Form1->DrawDvhChart(p);
    ASSERT_EQ(Form1->Chart1->graphCount(), 2);
    EXPECT_EQ(data(0), ptv);
    EXPECT_EQ(data(1), body);
    FormGraphView->CheckListBox1->item(1)->setCheckState(Qt::Checked);
    Form1->DrawDvhChart(p);
    ASSERT_EQ(Form1->Chart1->graphCount(), 3);
    EXPECT_EQ(data(0), ptv);
    EXPECT_EQ(data(2), body);
    EXPECT_NEAR(Keys(Form1->Chart1->graph(1)).back(), 80, 1e-3);  // rectum: 40 Gy = 80 %

    // Another volume unit: every curve anew in cc, and the axis from their kept ranges.
    Form1->SetRadioGroupIndex(Form1->RadioGroup2, 0);
    EXPECT_NEAR(Values(Form1->Chart1->graph(0)).front(), 80, 1e-3);
    EXPECT_NEAR(Values(Form1->Chart1->graph(2)).front(), 2000, 1e-3);
    EXPECT_NEAR(Form1->Chart1->yAxis->range().upper, 2000, 1e-3);
    body = data(2);

    // New points for the PTV: its curve and the dose axis follow; the others are kept.
    Form1->PDataset[p].DVHDataset[0].SetPoints(LinearStructure("PTV", 70, 80).DVset.Points());
    Form1->DrawDvhChart(p);
    EXPECT_NEAR(Keys(Form1->Chart1->graph(0)).back(), 140, 1e-3);
    EXPECT_NEAR(Form1->Chart1->xAxis->range().upper, 140, 1e-3);
    EXPECT_EQ(data(2), body);
}

TEST_F(MainWindowTest, ARedrawOfUnchangedCurvesStillShowsTheConstraintMarksOfNow) {
    Form1->show();
    Form1->PlanListName.resize(1);
    IndexDataClass row;
    row.Name = "PTV [1]";
    row.Items = 4;  // V at a dose in %: the mark sits at (Value %, limit %)
    row.Value = 40;
    row.ConstraintsON = row.ConstraintsView = true;
    row.Constraints = 50;
    Form1->PlanListName[0].IndexData = {row};
    const int p = AddPlan();
    Form1->PDataset[p].PlanListIndex = 0;
    Form1->ShowPlan(p);
    Form1->DrawDvhChart(p);
    const QImage before = Form1->Chart1->grab().toImage();
    const QCPGraph* first = Form1->Chart1->graph(0);

    // The row moves its mark; the curves are the same and stay the same graphs.
    Form1->PlanListName[0].IndexData[0].Value = 20;
    Form1->DrawDvhChart(p);
    EXPECT_EQ(Form1->Chart1->graph(0), first);
    const QImage redrawn = Form1->Chart1->grab().toImage();
    EXPECT_NE(redrawn, before);
    Form1->Chart1->replot();  // drawn whole: the same picture
    EXPECT_EQ(Form1->Chart1->grab().toImage(), redrawn);
}

TEST_F(MainWindowTest, EveryVisibleStructureIsDrawnBeyondThreeHundred) {
    PDatasetClass plan;
    for (int k = 0; k < 350; ++k) plan.DVHDataset.push_back(LinearStructure("S" + std::to_string(k), 10 + k, 5, 3));
    Form1->PDataset.push_back(plan);
    Form1->ShowPlan(0);
    Form1->DrawDvhChart(0);
    ASSERT_EQ(Form1->Chart1->graphCount(), 350);
    EXPECT_EQ(Form1->Chart1->graph(349)->name(), "S349");
    // The legend lists the first curves, as many as its height can show in the saved picture.
    const int listed = Form1->Chart1->legend->itemCount();
    EXPECT_GT(listed, 20);
    EXPECT_LT(listed, 350);
    EXPECT_TRUE(Form1->Chart1->legend->hasItemWithPlottable(Form1->Chart1->graph(0)));
    EXPECT_FALSE(Form1->Chart1->legend->hasItemWithPlottable(Form1->Chart1->graph(349)));
    EXPECT_NEAR(Form1->Chart1->xAxis->range().upper, 359.0 / 50 * 100, 1e-3);  // relative dose
}

TEST_F(MainWindowTest, PlanWithoutStructuresDrawsAnEmptyChartKeepingTheAxisTitles) {
    const int full = AddPlan();
    Form1->ShowPlan(full);
    Form1->DrawDvhChart(full);
    Form1->PDataset.push_back(PDatasetClass{});
    Form1->PDataset.back().PatientName = "Empty";
    Form1->ShowPlan(1);
    Form1->DrawDvhChart(1);
    EXPECT_EQ(Form1->Chart1->graphCount(), 0);
    EXPECT_TRUE(Form1->StructureSeries.empty());
    EXPECT_FALSE(Form1->Chart1->legend->visible());
    EXPECT_EQ(Form1->LabelPrescDose->text(), "");
    EXPECT_EQ(Form1->LabelPName->text(), "Empty");
    EXPECT_EQ(Form1->Chart1->yAxis->label(), "Volume [%]");  // from the previous drawing
    EXPECT_EQ(Form1->ComboBox2->count(), 0);
}

TEST_F(MainWindowTest, DrawingSelectsThePlansListByNameAndAStaleIndexSelectsNone) {
    Form1->PlanListName.resize(2);
    Form1->PlanListName[0].Name = "Zeta";
    Form1->PlanListName[1].Name = "Alpha";
    Form1->ComboBox1->addItem("Zeta");
    Form1->ComboBox1->addItem("Alpha");
    EXPECT_EQ(Form1->ComboBox1->itemText(0), "Alpha");  // the box keeps its items sorted
    EXPECT_EQ(Form1->ComboBox1->currentIndex(), -1);    // and selects nothing by itself
    const int p = AddPlan();
    Form1->PDataset[p].PlanListIndex = 0;
    Form1->ShowPlan(p);
    Form1->DrawDvhChart(p);
    EXPECT_EQ(Form1->ComboBox1->currentText(), "Zeta");
    for (QPushButton* b : Form1->ListEditButtons()) EXPECT_TRUE(b->isEnabled());

    Form1->PDataset[p].PlanListIndex = 7;  // a list deleted since the plan was linked
    Form1->DrawDvhChart(p);
    EXPECT_EQ(Form1->ComboBox1->currentIndex(), -1);
    for (QPushButton* b : Form1->ListEditButtons()) EXPECT_FALSE(b->isEnabled());
}

TEST_F(MainWindowTest, ZoomClampsVolumeAtZeroAndAnUpLeftRectangleUndoesIt) {
    const int p = AddPlan();
    Form1->resize(992, 700);
    Form1->show();
    Form1->ShowPlan(p);
    Form1->DrawDvhChart(p);
    QCustomPlot* chart = Form1->Chart1;
    chart->replot();

    // A rectangle from 10 to 30 Gy and from 50 % down to below 0 %.
    const QPoint from(chart->xAxis->coordToPixel(10), chart->yAxis->coordToPixel(50));
    const QPoint to(chart->xAxis->coordToPixel(30), chart->yAxis->coordToPixel(0) + 15);
    Drag(chart, from, to);
    EXPECT_NEAR(chart->xAxis->range().lower, 10, 0.5);
    EXPECT_NEAR(chart->xAxis->range().upper, 30, 0.5);
    EXPECT_DOUBLE_EQ(chart->yAxis->range().lower, 0);
    EXPECT_NEAR(chart->yAxis->range().upper, 50, 1);

    Drag(chart, to, from);  // drawn towards the upper left
    EXPECT_NEAR(chart->xAxis->range().upper, 120, 1e-3);
    EXPECT_DOUBLE_EQ(chart->yAxis->range().lower, 0);
    EXPECT_DOUBLE_EQ(chart->yAxis->range().upper, 105);

    // A range entirely below zero keeps a positive height.
    chart->yAxis->setRange(-30, -10);
    Form1->Chart1Zoom();
    EXPECT_DOUBLE_EQ(chart->yAxis->range().lower, 0);
    EXPECT_DOUBLE_EQ(chart->yAxis->range().upper, 20);
    chart->yAxis->setRange(5, 10);
    Form1->Chart1Zoom();
    EXPECT_DOUBLE_EQ(chart->yAxis->range().lower, 5);
}

TEST_F(MainWindowTest, BackColourTakesTheChoiceOrFallsBackToTheWindowFace) {
    const QColor face = Form1->palette().window().color();
    EXPECT_EQ(Form1->Chart1Color(), face);
    const bool answered = AnswerModal([] { Form1->BackColor1Click(); }, [](QWidget* w) {
        auto* dialog = qobject_cast<QColorDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        dialog->setCurrentColor(QColor(200, 220, 255));
        dialog->accept();
    });
    EXPECT_TRUE(answered);
    EXPECT_EQ(Form1->Chart1Color(), QColor(200, 220, 255));

    QColor offered;
    AnswerModal([] { Form1->BackColor1Click(); }, [&](QWidget* w) {
        offered = qobject_cast<QColorDialog*>(w)->currentColor();
        qobject_cast<QDialog*>(w)->reject();
    });
    EXPECT_EQ(offered, QColor(200, 220, 255));  // the dialog opens on the chart's colour
    EXPECT_EQ(Form1->Chart1Color(), face);      // Cancel resets to the window face
}

TEST_F(MainWindowTest, ShowPlanFillsTheStructureChoicesOfAllViews) {
    const int p = AddPlan();
    Form1->PDataset[p].DVHDataset[2].Visible = false;
    Form1->ShowPlan(p);
    EXPECT_EQ(Form1->ComboBox2->itemText(1), "Rectum wall");
    EXPECT_EQ(FormGraphView->CheckListBox1->item(1)->text(), "Rectum wall");
    EXPECT_EQ(FormGraphView->CheckListBox1->item(2)->checkState(), Qt::Unchecked);
    EXPECT_EQ(FormSList->StringGrid1->item(1, 0)->text(), "Rectum wall");

    // A second plan with fewer structures leaves nothing of the first behind.
    PDatasetClass small;
    small.DVHDataset.push_back(LinearStructure("Cord", 30, 10));
    Form1->PDataset.push_back(small);
    Form1->ShowPlan(1);
    EXPECT_EQ(FormSList->StringGrid1->rowCount(), 1);
    EXPECT_EQ(FormGraphView->CheckListBox1->count(), 1);
    EXPECT_EQ(Form1->ComboBox2->count(), 1);
    Form1->ShowPlan(5);  // no such plan: nothing changes
    EXPECT_EQ(Form1->CurrentPlanIndex, 1);
}
