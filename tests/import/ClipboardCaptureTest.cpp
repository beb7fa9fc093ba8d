// Curves captured one copy at a time, their rescaling, new clipboard plans, and structures
// added to a BrainSCAN plan.
#include "dvh/Workspace.h"
#include "import/ClipboardCapture.h"
#include "import/ClipboardPlan.h"
#include "import/PrescribedDoseText.h"
#include "../support/RealData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

std::string Curve(const std::string& name, const std::string& unitCell, const std::string& rows) {
    return "Dose\t" + name + "\t\r\n" + unitCell + "\t[cc] 10\t\r\n" + rows;
}
const std::string kRows = "0.000\t100\t\r\n30.000\t40\t\r\n60.000\t0\t\r\n";

std::vector<std::string> Names(const Workspace& ws) {
    std::vector<std::string> names;
    for (const DVHDatasetClass& s : ws.CaptureDVHDataset) names.push_back(s.Name);
    return names;
}

}  // namespace

TEST(ClipboardCapture, TakesOnlyCurvesThatFitTheFirst) {
    Workspace ws;
    ResetCapture(ws);
    EXPECT_FLOAT_EQ(ws.CapturePrescribedDose, -99);
    struct Step {
        std::string text;
        CaptureOutcome outcome;
    } steps[] = {
        {"", CaptureOutcome::NotACurve},
        {Curve("Lung", "[Gy]", kRows), CaptureOutcome::Added},
        {Curve("Lung", "[Gy]", kRows), CaptureOutcome::Ignored},             // listed already
        {Curve("PTV", "[%] 50", kRows), CaptureOutcome::Ignored},            // other reference
        {Curve("Cord", "[%] 100", kRows), CaptureOutcome::Added},            // 100 is the Gy reference
        {Curve("A\tB", "[Gy]", kRows), CaptureOutcome::Ignored},             // a TAB in the name
        {Curve("", "[Gy]", kRows), CaptureOutcome::Ignored},                 // no name
        {Curve("Eye", "[Gy]", "0.000\t100\r\n"), CaptureOutcome::Ignored},   // no second TAB
        {Curve("Eye", "[Gy]", "0.000\t1x0\t\r\n"), CaptureOutcome::Refused}, // not a number
        {"Dose\tEye\t\r\n[Gy]\t[cc] 1\t\r\n0.000\r\n", CaptureOutcome::Ignored},  // no points
    };
    for (const Step& step : steps) {
        const CaptureResult r = CaptureClipboardText(ws, step.text);
        EXPECT_EQ(r.Outcome, step.outcome) << step.text;
        EXPECT_EQ(ws.ClipboardText.empty(), step.outcome == CaptureOutcome::NotACurve) << step.text;
    }
    EXPECT_EQ(Names(ws), (std::vector<std::string>{"Lung", "Cord"}));
    EXPECT_FLOAT_EQ(ws.CapturePrescribedDose, 100);
    EXPECT_TRUE(CaptureDoseUnknown(ws.CapturePrescribedDose));
}

TEST(ClipboardCapture, TakesCurvesWhoseVolumeCellCarriesItsUnit) {
    // iPlan writes a unit before every number of line 2: "[%] 25.500" is the curve's volume,
    // not the mark of a table.
    Workspace ws;
    ResetCapture(ws);
    ASSERT_EQ(CaptureClipboardText(ws, "Dose\tBrain\t\r\n[%] 50\t[%] 25.500\t\r\n" + kRows).Outcome,
              CaptureOutcome::Added);
    EXPECT_FLOAT_EQ(ws.CaptureDVHDataset[0].Volume, 25.5f);
    EXPECT_EQ(CaptureClipboardText(ws, "Dose\tEye\t\r\n[%] 50\t25.500\t\r\n" + kRows).Outcome,
              CaptureOutcome::Refused);  // no unit: cutting four characters would read 500

    // The first column of a real iPlan copy, as the planning system copies one curve.
    const std::string path = RealDataFile("victorgabr+pps/dvh_ptv_based.txt");
    if (!std::filesystem::exists(path)) GTEST_SKIP() << path;
    std::ifstream in(path);
    std::string line, curve;
    int rows = -2;
    while (std::getline(in, line)) {
        const std::size_t second = line.find('\t', line.find('\t') + 1);
        curve += line.substr(0, second) + "\t\r\n";
        ++rows;
    }
    ResetCapture(ws);
    ASSERT_EQ(CaptureClipboardText(ws, curve).Outcome, CaptureOutcome::Added);
    const DVHDatasetClass& ptv = ws.CaptureDVHDataset[0];
    EXPECT_EQ(ptv.Name, "PTV_1");
    EXPECT_FLOAT_EQ(ptv.Volume, 0.331f);
    EXPECT_FLOAT_EQ(ws.CapturePrescribedDose, 43.75f);
    EXPECT_EQ(static_cast<int>(ptv.DVset.size()), rows);
}

TEST(ClipboardCapture, TypedDoseRescalesCopiesInGyOrCentigray) {
    Workspace ws;
    ResetCapture(ws);
    ASSERT_EQ(CaptureClipboardText(ws, Curve("Lung", "[Gy]", kRows)).Outcome, CaptureOutcome::Added);
    ASSERT_EQ(CaptureClipboardText(ws, Curve("Skin", "[Gy]", "0.000\t100\t\r\n30.000\t100\t\r\n60.000\t100\t\r\n")).Outcome,
              CaptureOutcome::Added);
    for (const char* typed : {"60", "6000"}) {
        const auto dose = PrescribedDoseGy(typed);
        ASSERT_TRUE(dose);
        const auto plan = CapturedCurvesForPlan(ws.CaptureDVHDataset, dose);
        EXPECT_FLOAT_EQ(plan[0].PrescribedDose, 60) << typed;
        EXPECT_FLOAT_EQ(plan[0].DVset[1].DosePercent, 50) << typed;  // 30 Gy of 60
        EXPECT_FLOAT_EQ(plan[0].DVset[1].DoseGy, 30) << typed;
        EXPECT_FLOAT_EQ(plan[0].MaxDosePercent, 50) << typed;
        EXPECT_FLOAT_EQ(plan[1].MinDosePercent, -99) << typed;
        EXPECT_FLOAT_EQ(plan[1].MinDoseGy, -99) << typed;
    }
    EXPECT_FLOAT_EQ(ws.CaptureDVHDataset[0].DVset[1].DosePercent, 30);  // the capture stays as taken
}

TEST(ClipboardPlan, RegistersKeyPathAndChoices) {
    Workspace ws;
    ws.ReadFolder = "/data/dvh";
    ws.ImportPlanNumber = 3;
    ws.PlanListName.resize(1);
    ws.PlanListName[0].StructureDB.push_back({"PTV", true, 255, 0, 0, true});
    EXPECT_EQ(ClipboardPlanKeyText("iPlan", 3, "2026/12/07", "10:30:05"), "iPlan-Plan_3_20261207103005");
    std::vector<DVHDatasetClass> structures(2);
    structures[0].Name = "PTV";
    structures[1].Name = "Cord";
    const ClipboardPlanFields fields{"Doe", "12", "BrainSCAN", "Plan_3", 1, 2};
    const int index = AppendClipboardPlan(ws, FileTypeBrainScan, fields, "2026/12/07", "10:30:05", std::move(structures));
    ASSERT_EQ(index, 0);
    const PDatasetClass& plan = ws.PDataset[0];
    EXPECT_EQ(plan.FilePath, "/data/dvh/BrainSCAN-Plan_3_20261207103005");
    EXPECT_EQ(plan.Key, "12Plan_32026/12/07 10:30:05");
    EXPECT_EQ(ws.OpenFile.at(0).Key, plan.Key);
    EXPECT_EQ(ws.OpenFile[0].FileType, FileTypeBrainScan);
    EXPECT_EQ(plan.PlanListIndex, 0);
    EXPECT_EQ(plan.BodyIndex, 1);
    EXPECT_EQ(plan.DVHDataset[0].Color, RgbColor(255, 0, 0));
    EXPECT_TRUE(plan.DVHDataset[0].Visible);
    EXPECT_FALSE(plan.DVHDataset[1].Visible);  // not in the plan list's structures
}

TEST(ClipboardPlan, AddsStructuresAllOrNothing) {
    Workspace ws;
    PDatasetClass plan;
    plan.FileType = FileTypeBrainScan;
    plan.DVHDataset.resize(1);
    plan.DVHDataset[0].Name = "PTV";
    plan.DVHDataset[0].PrescribedDose = 60;
    ws.PDataset.push_back(plan);
    ws.CurrentPlanIndex = 0;
    const std::string rows = "\t10\t20\r\n  1\t100\t100\r\n  2\t50\t40\r\n";
    struct Case {
        std::string text;
        AddStructuresOutcome outcome;
    } refused[] = {
        {"\tCord\tPTV\r\n" + rows, AddStructuresOutcome::Duplicate},  // one listed name refuses all
        {"\tCord\tEye\r\n\t10\t20\r\n  1\t100\t100\r\n  2\t50\tx\r\n", AddStructuresOutcome::Failed},
        {"Dose\tA\t\r\n", AddStructuresOutcome::NotATable},
    };
    for (const Case& c : refused) {
        ws.ClipboardText = c.text;
        EXPECT_EQ(AppendClipboardStructures(ws).Outcome, c.outcome) << c.text;
        EXPECT_EQ(ws.PDataset[0].DVHDatasetCount(), 1) << c.text;
    }
    ws.ClipboardText = "\tptv\tBODY\r\n" + rows;  // another case is another name
    ASSERT_EQ(AppendClipboardStructures(ws).Outcome, AddStructuresOutcome::Added);
    ASSERT_EQ(ws.PDataset[0].DVHDatasetCount(), 3);
    EXPECT_EQ(ws.PDataset[0].BodyIndex, 2);
    EXPECT_FLOAT_EQ(ws.PDataset[0].DVHDataset[2].PrescribedDose, 60);
    EXPECT_FLOAT_EQ(ws.PDataset[0].DVHDataset[2].DVset[2].DoseGy, 1.2f);

    ws.PDataset[0].DVHDataset.clear();  // nothing to take the prescribed dose from
    ws.ClipboardText = "\tCord\tEye\r\n" + rows;
    EXPECT_EQ(AppendClipboardStructures(ws).Outcome, AddStructuresOutcome::NoStructures);
    ws.PDataset[0].FileType = FileTypeIPlan;
    EXPECT_EQ(AppendClipboardStructures(ws).Outcome, AddStructuresOutcome::NotApplicable);
}
