// Drawing a large plan: 300 structures of 8,000 points each, from DrawDvhChart to a painted chart.
#include "app/Forms.h"
#include "app/TForm1.h"
#include "app/TFormGraphView.h"
#include "app/TFormSList.h"
#include "LargePlan.h"

#include <QApplication>

#include <benchmark/benchmark.h>
#include <qcustomplot.h>

#include <cmath>
#include <string>

namespace {

// A window showing the large plan, drawn once.
void OpenLargePlan() {
    Form1 = new TForm1;
    FormSList = new TFormSList(Form1);
    FormGraphView = new TFormGraphView(Form1);
    Form1->PDataset.push_back(LargePlan(300, 8000));
    Form1->show();
    Form1->ShowPlan(0);
    Form1->DrawDvhChart(0);
}

void CloseLargePlan(benchmark::State& state) {
    state.counters["curves"] = Form1->Chart1->graphCount();
    delete Form1;
    Form1 = nullptr;
    FormSList = nullptr;
    FormGraphView = nullptr;
}

// A redraw with nothing changed (a dialog's OK, the graph view without changes): the curves
// come from the kept chart data. Arg 0: Gy and cc, 1: % and %.
void BM_RedrawUnchanged(benchmark::State& state) {
    OpenLargePlan();
    Form1->SetRadioGroupIndex(Form1->RadioGroup1, static_cast<int>(state.range(0)));
    Form1->SetRadioGroupIndex(Form1->RadioGroup2, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Form1->DrawDvhChart(0);
        Form1->Chart1->repaint();  // the frame reaches the window, not only the chart's buffer
        benchmark::DoNotOptimize(Form1->Chart1->graphCount());
    }
    CloseLargePlan(state);
}
BENCHMARK(BM_RedrawUnchanged)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A click on the other dose unit: every curve is built anew from its points.
void BM_RedrawAfterUnitChange(benchmark::State& state) {
    OpenLargePlan();
    Form1->SetRadioGroupIndex(Form1->RadioGroup2, static_cast<int>(state.range(0)));
    int dose = 0;
    for (auto _ : state) {
        dose = 1 - dose;
        Form1->SetRadioGroupIndex(Form1->RadioGroup1, dose);  // redraws the current plan
        Form1->Chart1->repaint();
        benchmark::DoNotOptimize(Form1->Chart1->graphCount());
    }
    CloseLargePlan(state);
}
BENCHMARK(BM_RedrawAfterUnitChange)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
