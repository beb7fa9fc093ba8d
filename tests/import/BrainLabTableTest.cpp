// BrainSCAN/iPlan table files: the writer's bytes, round trips through the recogniser, the reader's
// ends, refusals and statistics, and the value range it shares with the XiO reader.
#include "import/BrainLabTable.h"

#include "dvh/DvhExportRecogniser.h"
#include "import/XiOExport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

/// A table file text: header with dose `cGy`, names, volumes, then `rows` as given, then "EOF".
std::string Table(const std::string& names, const std::string& volumes, const std::string& rows,
                  const std::string& cGy = "6000.000") {
    return "Patient Name         : Doe\r\nPatient ID           : 12\r\nComment              : BrainSCAN DVHs\r\n"
           "Date                 : 2024/01/05  10:30:00\r\nType                 : Cumulative Dose Volume Histogram\r\n"
           "Plan                 : Head - H1\r\nPrescribed dose [cGy]: " + cGy + "\r\n\r\n" + names + "\r\n" +
           volumes + "\r\n" + rows + "EOF";
}

DVHDatasetClass Curve(const std::string& name, float volume, std::initializer_list<std::pair<float, float>> points,
                      float prescribedGy = 60) {
    DVHDatasetClass s;
    s.Name = name;
    s.Volume = volume;
    s.PrescribedDose = prescribedGy;
    for (auto [dose, vol] : points) s.DVset.push_back({dose, dose * prescribedGy * 0.01f, vol, vol * volume * 0.01f});
    return s;
}

PDatasetClass Plan(std::vector<DVHDatasetClass> structures, int type = FileTypeBrainScan) {
    PDatasetClass p;
    p.PatientName = "Doe";
    p.PatientID = "12";
    p.Date = "2024/01/05";
    p.Time = "10:30:00";
    p.PlanName = "Head";
    p.PlanID = "H1";
    p.FileType = type;
    p.DVHDataset = std::move(structures);
    return p;
}

}  // namespace

TEST(BrainLabTableWriter, PlacesPointsByPositionAndPadsShortCurves) {
    // Structures of 3, 5 and 0 points: rows 0-4; the empty one is 0.000 throughout, the first
    // is 0.000 from row 3 on.
    const PDatasetClass plan = Plan({Curve("PTV", 12.3456f, {{0, 100}, {1, 50}, {2, 12.3456f}}),
                                     Curve("Body", 1000, {{0, 100}, {1, 90}, {2, 80}, {3, 70}, {4, 60}}),
                                     Curve("Empty", 0, {})});
    EXPECT_EQ(BrainLabTableText(plan), Table("\tPTV\tBody\tEmpty", "\t12.346\t1000.000\t0.000",
                                             "  0\t100.000\t100.000\t0.000\r\n"
                                             "  1\t50.000\t90.000\t0.000\r\n"
                                             "  2\t12.346\t80.000\t0.000\r\n"
                                             "  3\t0.000\t70.000\t0.000\r\n"
                                             "  4\t0.000\t60.000\t0.000\r\n"));

    // Labels: right-aligned in three characters, wider numbers as they are.
    DVHDatasetClass longCurve = Curve("Long", 1, {});
    for (int i = 0; i <= 250; ++i) longCurve.DVset.push_back({float(i), 0, 1, 0});
    const std::string text = BrainLabTableText(Plan({longCurve}));
    for (const char* label : {"\n  0\t", "\n  9\t", "\n 10\t", "\n 99\t", "\n100\t", "\n250\t"})
        EXPECT_NE(text.find(label), std::string::npos) << label;

    // A date of another length is cut or padded to ten characters; the kind follows the code.
    PDatasetClass odd = Plan({Curve("A", 1, {{0, 100}})}, FileTypeIPlan);
    odd.Date = "1/5/24";
    const std::string oddText = BrainLabTableText(odd);
    EXPECT_NE(oddText.find("Date                 : 1/5/24      10:30:00\r\n"), std::string::npos);
    EXPECT_NE(oddText.find(": iPlan DVHs\r\n"), std::string::npos);
}

TEST(BrainLabTableWriter, ResamplesOffGridCurvesToWholePercentRows) {
    // Points at 0, 0.5, 2.5 %: row 1 lies 1/4 of the way from 0.5 to 2.5 (80 -> 40: 70), row 2
    // at 3/4 (50), row 3 is past the curve's end (0).
    const PDatasetClass plan = Plan({Curve("PTV", 10, {{0, 100}, {0.5f, 80}, {2.5f, 40}})});
    EXPECT_FALSE(PointsOnPercentGrid(plan));
    ParsedPlan back;
    ASSERT_TRUE(ParseBrainLabTable(BrainLabTableText(plan), back));
    const auto& p = back.DVHDataset.at(0).DVset;
    ASSERT_EQ(p.size(), 4u);
    const float expected[] = {100, 70, 50, 0};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(p[i].DosePercent, float(i));
        EXPECT_NEAR(p[i].DoseGy, i * 0.6, 1e-5);
        EXPECT_NEAR(p[i].VolumePercent, expected[i], 1e-3);
    }
}

TEST(BrainLabTableRoundTrip, WriterRecogniserAndReaderAgree) {
    const PDatasetClass plan = Plan({Curve("Expanded", 3.14159f, {{0, 100}, {1, 100}, {2, 40}}),
                                     Curve("PTV", 20, {{0, 100}, {1, 60}}), Curve("body", 900, {{0, 100}, {1, 100}, {2, 100}})});
    const std::string text = BrainLabTableText(plan);

    const DvhHeader h = RecogniseDvhHeader(text);
    EXPECT_EQ(h.FileType, FileTypeBrainScan);
    EXPECT_EQ(h.fields.PatientName, "Doe");
    EXPECT_EQ(h.fields.PatientID, "12");
    EXPECT_EQ(h.fields.Date, "2024/01/05");
    EXPECT_EQ(h.fields.Time, "10:30:00");
    EXPECT_EQ(h.fields.PlanName, "Head");
    EXPECT_EQ(h.fields.PlanID, "H1");

    ParsedPlan back;
    ASSERT_TRUE(ParseBrainLabTable(text, back));
    ASSERT_EQ(back.DVHDataset.size(), 3u);
    EXPECT_EQ(back.BodyIndex, 2);  // "Expanded" at 0, "body" at 2: the last one
    const DVHDatasetClass& first = back.DVHDataset[0];
    EXPECT_EQ(first.Name, "Expanded");
    EXPECT_FLOAT_EQ(first.Volume, 3.142f);
    EXPECT_FLOAT_EQ(first.PrescribedDose, 60);
    ASSERT_EQ(first.DVset.size(), 3u);
    EXPECT_FLOAT_EQ(first.DVset[2].DoseGy, 1.2f);
    EXPECT_NEAR(first.DVset[2].VolumeCc, 0.4 * 3.142, 1e-5);
    // Statistics: first point below 100 % is row 2; last above 0 % row 2; mean (100 - 40) x
    // 0.01 x 1 (the last point's volume adds nothing), 0.6 % = 0.36 Gy.
    EXPECT_FLOAT_EQ(first.MinDosePercent, 2);
    EXPECT_FLOAT_EQ(first.MaxDosePercent, 2);
    EXPECT_NEAR(first.MeanDosePercent, 0.6, 1e-5);
    EXPECT_NEAR(first.MeanDoseGy, 0.36, 1e-5);
    // "body" never falls below 100 %: no minimum, and -99 stays -99 in Gy.
    EXPECT_FLOAT_EQ(back.DVHDataset[2].MinDosePercent, -99);
    EXPECT_FLOAT_EQ(back.DVHDataset[2].MinDoseGy, -99);
}

TEST(BrainLabTableReader, EndsOfTheTable) {
    const std::string names = "\tA\tB", volumes = "\t10\t20";
    struct Case { const char* what; std::string text; std::size_t points; };
    const Case cases[] = {
        {"EOF", Table(names, volumes, "  0\t100\t100\r\n  1\t50\t0\r\n"), 2},
        {"repeated label", Table(names, volumes, "  0\t100\t100\r\n  1\t50\t0\r\n  1\t40\t0\r\n  2\t1\t1\r\n"), 2},
        {"empty first label", Table(names, volumes, "\t100\t100\r\n"), 0},
        {"no EOF, LF only", "Patient Name\n\n\n\n\n\nPrescribed dose [cGy]: 6000\n\n\tA\tB\n\t10\t20\n  0\t100\t100\n  1\t50\t0", 2},
        {"comma decimals", Table(names, "\t10,5\t20", "  0\t100,0\t100\r\n  1\t50,25\t0\r\n", "6000,000"), 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ParsedPlan plan;
        const ReadResult r = ParseBrainLabTable(c.text, plan);
        ASSERT_TRUE(r) << r.detail;
        ASSERT_EQ(plan.DVHDataset.size(), 2u);
        EXPECT_EQ(plan.DVHDataset[1].DVset.size(), c.points);
        EXPECT_EQ(plan.BodyIndex, -1);
    }
    ParsedPlan comma;
    ASSERT_TRUE(ParseBrainLabTable(cases[4].text, comma));
    EXPECT_FLOAT_EQ(comma.DVHDataset[0].Volume, 10.5f);
    EXPECT_FLOAT_EQ(comma.DVHDataset[0].DVset[1].VolumePercent, 50.25f);
    // Nothing above 0 %: the maximum is 0.
    EXPECT_FLOAT_EQ(comma.DVHDataset[1].MaxDosePercent, 0);
}

TEST(BrainLabTableReader, RefusesBrokenFilesWithTheirLineAndLeavesNoPlan) {
    const std::string names = "\tA\tB", volumes = "\t10\t20";
    const std::string whole = Table(names, volumes, "  0\t100\t100\r\n  1\t50\t0\r\n");
    struct Case { const char* what; std::string text; ReadStatus status; long line; };
    const Case cases[] = {
        {"ends in the header", whole.substr(0, 60), ReadStatus::Truncated, 4},
        {"ends before the names", whole.substr(0, whole.find("\r\n\r\n") + 2), ReadStatus::Truncated, 8},
        {"ends before the volumes", whole.substr(0, whole.find("\tA\tB") + 6), ReadStatus::Truncated, 10},
        {"ends before the table", whole.substr(0, whole.find("\t10\t20") + 8), ReadStatus::Truncated, 11},
        {"short volumes line", Table(names, "\t10", ""), ReadStatus::BadRow, 10},
        {"short row", Table(names, volumes, "  0\t100\t100\r\n  1\t50\r\n"), ReadStatus::BadRow, 12},
        {"letters in a row", Table(names, volumes, "  0\t100\tabc\r\n"), ReadStatus::BadNumber, 11},
        {"letters as label", Table(names, volumes, "  x\t100\t100\r\n"), ReadStatus::BadNumber, 11},
        {"no dose", Table(names, volumes, "", "none"), ReadStatus::BadNumber, 7},
        {"zero dose", Table(names, volumes, "", "0"), ReadStatus::BadPrescribedDose, 7},
        {"no names", Table("no tabs", volumes, ""), ReadStatus::NoStructures, 9},
        {"binary", std::string("\0\x01\xff\t\x80\n\t\t\0", 9), ReadStatus::Truncated, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ParsedPlan plan;
        plan.BodyIndex = 5;
        const ReadResult r = ParseBrainLabTable(c.text, plan);
        EXPECT_EQ(r.status, c.status) << r.detail;
        EXPECT_EQ(r.line, c.line);
        EXPECT_TRUE(plan.DVHDataset.empty());
        EXPECT_EQ(plan.BodyIndex, -1);
    }
}

TEST(ImportValueRange, TableAndXiOReadersRefuseTheSameValuesOnTheirLine) {
    // Table rows begin on line 11; XiO rows of one block on line 9, the dose comes from no line.
    const std::string names = "\tA\tB";
    auto xio = [](const char* row) { return "XiO Dose Volume Histogram\nP\nPlan\nS\n-\n2\tbins\nd\n-\n0,1\n" + std::string(row) + "\n"; };
    struct Case { const char* what; std::string table; std::string xio; float xioGy; long tableLine, xioLine; };
    const Case cases[] = {
        {"negative volume in cc", Table(names, "\t10\t-20", "  0\t100\t100\r\n"), xio("100,-2"), 60, 10, 10},
        {"negative volume in %", Table(names, "\t10\t20", "  0\t100\t100\r\n  1\t50\t-0.5\r\n"), "", 60, 12, 0},
        {"negative dose", Table(names, "\t10\t20", "  0\t100\t100\r\n -1\t50\t0\r\n"), xio("-100,2"), 60, 12, 10},
        {"dose of 1e-42 Gy", Table(names, "\t10\t20", "  0\t100\t100\r\n", "1e-40"), xio("100,2"), 1e-42f, 7, 0},
        {"dose of 1e37 Gy", Table(names, "\t10\t20", "  0\t100\t100\r\n", "1e39"), xio("100,2"), 1e37f, 7, 0},
        // Values in range whose statistics are not: the mean of A falls by 1.06e38 % x 5 (the
        // volume of 1.06e38 % after a row at 500 %), XiO's volume sums to 4e38 cc. Refused on
        // the structure's line: the names line, the block's name line.
        {"statistics beyond a float", Table(names, "\t10\t20", "  0\t100\t100\r\n500\t0\t0\r\n501\t1.06e38\t0\r\n"),
         "XiO Dose Volume Histogram\nP\nPlan\nS\n-\n3\tbins\nd\n-\n0,2e38\n100,2e38\n200,0\n", 60, 9, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ParsedPlan plan;
        const ReadResult t = ParseBrainLabTable(c.table, plan);
        EXPECT_EQ(t.status, ReadStatus::BadNumber);
        EXPECT_EQ(t.detail, "a value out of range");
        EXPECT_EQ(t.line, c.tableLine);
        if (c.xio.empty()) continue;  // XiO volumes in % are derived, never read
        const ReadResult x = ParseXiODvh(c.xio, c.xioGy, plan);
        EXPECT_EQ(x.status, ReadStatus::BadNumber);
        EXPECT_EQ(x.detail, "a value out of range");
        EXPECT_EQ(x.line, c.xioLine);
    }
    // A negative zero is zero, and the bounds themselves are in range.
    ParsedPlan plan;
    EXPECT_TRUE(ParseBrainLabTable(Table(names, "\t-0.000\t20", "  0\t100\t-0.000\r\n", "0.1"), plan));
    EXPECT_TRUE(ParseXiODvh(xio("-0,-0"), 10000, plan));
}
