// The report page of a large plan: DrawReportPreview to the finished 840 x 1188 picture, and
// the page written as JPEG.
#include "app/Forms.h"
#include "app/TAboutBox.h"
#include "app/TForm1.h"
#include "app/TFormGraphView.h"
#include "app/TFormSList.h"
#include "LargePlan.h"
#include "report/ui/PageImageFile.h"
#include "report/ui/TFormReport.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>

#include <benchmark/benchmark.h>

namespace {

/// 300 structures of 8,000 points and a list of 49 printed rows: 7 structures, 7 indices each.
void SetUpLargeReport() {
    Form1 = new TForm1;
    AboutBox = new TAboutBox(Form1);
    FormSList = new TFormSList(Form1);
    FormGraphView = new TFormGraphView(Form1);
    CreateReportForms();
    PDatasetClass plan = LargePlan(300, 8000);
    plan.PlanListIndex = 0;
    Form1->PDataset.push_back(std::move(plan));
    PlanListNameClass list;
    list.Name = "Large";
    for (int s = 0; s < 7; ++s)
        for (int kind : {0, 4, 8, 9, 10, 11, 14}) {
            IndexDataClass row;
            row.Name = "Structure " + std::to_string(s);
            row.Items = kind;
            row.Value = 50;
            row.ItemsCI = 0;
            list.IndexData.push_back(row);
        }
    Form1->PlanListName.push_back(list);
    Form1->ComboBox1->addItem("Large");
    Form1->show();
    Form1->ShowPlan(0);
    Form1->DrawDvhChart(0);
    Form1->Report2Click();
}

void TearDownLargeReport() {
    delete Form1;
    Form1 = nullptr;
    AboutBox = nullptr;
    FormSList = nullptr;
    FormGraphView = nullptr;
    FormReport = nullptr;
    FormComment = nullptr;
    FormRepoList = nullptr;
}

void BM_DrawReportPreview(benchmark::State& state) {
    SetUpLargeReport();
    for (auto _ : state) {
        Form1->DrawReportPreview();
        benchmark::DoNotOptimize(FormReport->Page().constBits());
    }
    state.counters["rows"] = static_cast<double>(Form1->ReportPrintIndex.size());
    TearDownLargeReport();
}
BENCHMARK(BM_DrawReportPreview)->Unit(benchmark::kMillisecond);

void BM_WriteReportJpeg(benchmark::State& state) {
    SetUpLargeReport();
    const QImage page = FormReport->Page();
    const std::string path = QDir::temp().filePath("tessaray-bench-report.jpg").toStdString();
    for (auto _ : state) benchmark::DoNotOptimize(WritePageImage(page, path, PageImageFormat::Jpeg).ok);
    QFile::remove(QString::fromStdString(path));
    TearDownLargeReport();
}
BENCHMARK(BM_WriteReportJpeg)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
