// A real planning-system export drawn in all four unit combinations, checked against the
// statistics the export states itself.
#include "MainWindowFixture.h"
#include "../support/RealData.h"

#include <QLabel>

#include <qcustomplot.h>

#include <algorithm>
#include <filesystem>

TEST_F(MainWindowTest, RealExportIsDrawnInEveryUnitCombination) {
    const std::string path = RealDataFile("cran+RadOnc/Jane_Doe.dvh");
    if (!std::filesystem::exists(path)) GTEST_SKIP() << "no real data at " << path;
    const int code = Form1->ReadDvhHeader(path);
    ASSERT_GT(code, 1);
    const int plan = Form1->AppendPlanFromOpenFile(Form1->AppendOpenFileFromHeader(path, code));
    Form1->ReadDvhFile(path);
    ASSERT_EQ(Form1->PDataset[plan].DVHDatasetCount(), 10);
    Form1->ShowPlan(plan);
    Form1->DrawDvhChart(plan);
    EXPECT_EQ(Form1->LabelPrescDose->text(), "55 [Gy]");  // "Prescribed dose [cGy]: 5500.0"

    // The export: LIVER 1635.9 cc; the highest maximum dose is 5664.7 cGy (PTV, BODY).
    for (int mode = 0; mode < 4; ++mode) {
        const bool dosePercent = mode & 1, volumePercent = mode & 2;
        SCOPED_TRACE(mode);
        Form1->SetRadioGroupIndex(Form1->RadioGroup1, dosePercent);
        Form1->SetRadioGroupIndex(Form1->RadioGroup2, volumePercent);
        QCustomPlot* chart = Form1->Chart1;
        ASSERT_EQ(chart->graphCount(), 10);
        EXPECT_EQ(chart->graph(0)->name(), "LIVER");
        EXPECT_EQ(chart->graph(9)->name(), "BODY");
        const double liverAtZero = chart->graph(0)->data()->constBegin()->value;
        EXPECT_NEAR(liverAtZero, volumePercent ? 100.0 : 1635.9, volumePercent ? 1e-3 : 0.05);
        if (volumePercent) {
            EXPECT_DOUBLE_EQ(chart->yAxis->range().upper, 105);
        } else {
            EXPECT_GT(chart->yAxis->range().upper, 1635.9);  // BODY is far larger
        }
        // The curves reach the highest maximum dose to within one 5 cGy bin, in the axis's unit.
        const double maxGy = 56.647, binGy = 0.05;
        const double upper = chart->xAxis->range().upper;
        EXPECT_GE(upper, dosePercent ? (maxGy - binGy) / 55 * 100 : maxGy - binGy);
        EXPECT_LT(upper, dosePercent ? 60.0 / 55 * 100 : 60.0);
    }
}
