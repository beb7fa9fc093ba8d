// The two text exports, byte for byte, and how they are written.
#include "batch/BatchExports.h"

#include "../dvh/TestSupport.h"
#include "../planlist/PlanFixtures.h"
#include "dvh/FileNames.h"
#include "dvh/NumberText.h"
#include "dvh/ReadResult.h"
#include "dvh/RoundToDigits.h"
#include "platform/AtomicWrite.h"
#include "platform/OpenedFile.h"

#include <gtest/gtest.h>


namespace {

PDatasetClass Patient(const char* id, std::initializer_list<std::pair<float, float>> curve) {
    PDatasetClass p;
    p.PatientID = id;
    p.PatientExtra = std::string("R") + id;
    p.PatientName = std::string("Name ") + id;
    p.PlanID = "Plan";
    p.Date = "2014/12/24";
    p.Time = "10:30:00";
    p.DVHDataset.push_back(fixtures::Structure("Rectum", 50, 10, curve));
    return p;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "every line ends in CR LF";
    return lines;
}

}  // namespace

TEST(BatchExports, StepTextAndDoseDecimals) {
    for (const char* refused : {"", ".", "0.", "0", "0.000", "1.2.3", "x"}) EXPECT_FALSE(ParseStepText(refused)) << refused;
    EXPECT_EQ(*ParseStepText("2."), 2.0);
    EXPECT_EQ(*ParseStepText(".25"), 0.25);
    EXPECT_EQ(StepDecimals("0.5"), 1);
    EXPECT_EQ(StepDecimals("2"), 1);
    EXPECT_EQ(StepDecimals("0.25"), 2);
    EXPECT_EQ(StepDecimals("0.250"), 2);
    EXPECT_EQ(DvhExportLineCount(60, 0.5), 130);  // 10 steps past the curve end
    EXPECT_EQ(DvhExportLineCount(60, 1e-9), kMaxDvhExportLines + 1);
}

TEST(BatchExports, DvhExportLinesCellsAndCurveEnds) {
    const PDatasetClass a = Patient("A", {{0, 100}, {20, 100}, {50, 0}, {60, 0}});
    const PDatasetClass b = Patient("B", {{0, 100}, {40, 50}, {60, 0}});
    DvhExportRequest request{"Rectum", false, 0.5, 1, DvhExportLineCount(60, 0.5)};
    const std::string text = BatchDvhExportText(request, {{&a, 0}, {&b, kNoBatchStructure}, {nullptr, 0}, {&b, 0}});
    const std::vector<std::string> lines = SplitLines(text);
    ASSERT_EQ(lines.size(), 6u + 130u);
    EXPECT_EQ(lines[0], "Rectum");
    EXPECT_EQ(lines[1], "\tA\tB\t\tB\t");
    EXPECT_EQ(lines[2], "\tRA\tRB\t\tRB\t");
    EXPECT_EQ(lines[4], "\tPlan\tPlan\t\tPlan\t");
    EXPECT_EQ(lines[5], "Dose [Gy]\tVolume [%]\tVolume [%]\tVolume [%]\tVolume [%]\t");
    EXPECT_EQ(lines[6], "0.0\t100.00\t\t\t100.00\t");
    EXPECT_EQ(lines[6 + 70], "35.0\t50.00\t\t\t56.25\t");
    EXPECT_EQ(lines[6 + 120], "60.0\t0.00\t\t\t0.00\t");  // past the curves' ends
    EXPECT_EQ(lines.back(), "64.5\t0.00\t\t\t0.00\t");

    request = {"Rectum", true, 0.25, 2, 4};
    const std::vector<std::string> rel = SplitLines(BatchDvhExportText(request, {{&b, 0}}));
    EXPECT_EQ(rel[5], "Dose [%]\tVolume [%]\t");
    EXPECT_EQ(rel[7], "0.25\t99.84\t");
    EXPECT_EQ(rel[8], "0.50\t99.69\t");
    EXPECT_EQ(rel[9], "0.75\t99.53\t");
}

TEST(BatchExports, IndexExportOfThreePlansAndFourRows) {
    PlanListNameClass list;
    const std::pair<const char*, int> rows[] = {{"PTV", 0}, {"PTV", 16}, {"", 0}, {"Rectum", 6}};
    for (auto [name, items] : rows) {
        IndexDataClass r;
        r.Name = name;
        r.Items = items;
        r.Value = 20;
        r.ItemsCI = 2;
        list.IndexData.push_back(r);
    }
    const PDatasetClass a = Patient("A", {}), b = Patient("B", {});
    std::vector<BVClass> bv(4);
    bv[0].Value = {95.004f, -1.0f, 12};
    bv[1].Value = {0.5f, 1, 2};
    bv[3].Value = {kNoBatchValue, 3.456f, 0};
    const std::vector<std::string> lines = SplitLines(BatchIndexExportText(list, {{&a}, {&b}, {nullptr}}, bv));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "\t\t\t\t\t\tPTV\t\t\tRectum\t");
    EXPECT_EQ(lines[1], "Patient ID\tPatient RID\tPatient Name\tPlan ID\tDate\tTime\tD20% [%]\tConformity Index\t\tV20Gy [%]\t");
    EXPECT_EQ(lines[2], "A\tRA\tName A\tPlan\t2014/12/24\t10:30:00\t95.00\t0.50\t\t\t");
    EXPECT_EQ(lines[3], "B\tRB\tName B\tPlan\t2014/12/24\t10:30:00\t\t1.00\t\t3.46\t");
    EXPECT_EQ(lines[4], "\t\t\t\t\t\t12.00\t2.00\t\t0.00\t");
}

TEST(BatchExports, WrittenUnderTheTxtNameOrRefusedWithTheFileName) {
    dvhtest::TempFolder folder("batch-export");
    const std::string chosen = folder.Write("result.csv", "old");
    std::string written;
    ASSERT_TRUE(WriteBatchExport(chosen, "new\r\n", &written));
    EXPECT_EQ(FileNameOf(written), "result.txt");
    std::string back;
    ASSERT_TRUE(platform::ReadWholeFile(written, back));
    EXPECT_EQ(back, "new\r\n");
    const platform::WriteResult failed = WriteBatchExport(chosen + "/missing/out", "x", &written);
    EXPECT_FALSE(failed);
    EXPECT_NE(failed.message.find(written), std::string::npos) << failed.message;
    EXPECT_EQ(FileNameOf(written), "out.txt");
    // A folder of the name is refused with the reason, and stays a folder.
    const std::string taken = ChangeFileExt(chosen, ".txt");
    std::filesystem::remove(taken);
    std::filesystem::create_directory(taken);
    const platform::WriteResult refused = WriteBatchExport(chosen, "x");
    EXPECT_NE(refused.message.find("is a folder, not a file"), std::string::npos) << refused.message;
    EXPECT_TRUE(std::filesystem::is_directory(taken));
}
