// BrainLAB clipboard copies: which kind each text is, and the structures parsed from it
// against curves and statistics worked out by hand.
#include "import/ClipboardDvh.h"
#include "import/ClipboardTable.h"
#include "../support/RealData.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

// Doses 1 %, 2 %... right-aligned in three characters, as BrainSCAN writes them.
const std::string kBrainScanCumulative =
    "\tPTV\tBody\r\n\t10\t1000\r\n  1\t100\t100\r\n  2\t100\t60\r\n  3\t50\t20\r\n  4\t0\t0\r\n";
const std::string kIPlanTablePercent =
    "Dose\tPTV\tOAR\t\r\n[%] 50.000\t[%] 10.0\t[%] 200.0\t\r\n0.000\t100.000\t100.000\t\r\n"
    "50.000\t100.000\t40.000\t\r\n100.000\t50.000\t10.000\t\r\n110.000\t0.000\t0.000\t";
const std::string kIPlanTableGy =
    "Dose\tPTV\tOAR\t\r\n[Gy]\t[%] 10.0\t[%] 200.0\t\r\n0.000\t100.000\t100.000\t\r\n"
    "25.000\t100.000\t40.000\t\r\n50.000\t50.000\t10.000\t\r\n55.000\t0.000\t0.000\t\r\n";
const std::string kCurvePercent =
    "Dose\tPTV\t\r\n[%] 43.755\t[cc] 20.0\t\r\n0.000\t100.000\t\r\n50.000\t100.000\t\r\n100.000\t40.000\t\r\n";
const std::string kCurveGy = "Dose\tLung\t\r\n[Gy]\t[cc] 500.0\t\r\n0.000\t100.000\t\r\n30.000\t40.000\t\r\n";

std::string Lf(std::string text) {
    std::erase(text, '\r');
    return text;
}

std::vector<std::pair<float, float>> Curve(const DVHDatasetClass& s) {
    std::vector<std::pair<float, float>> out;
    for (const DVsetClass& p : s.DVset) out.emplace_back(p.DosePercent, p.VolumePercent);
    return out;
}

using Points = std::vector<std::pair<float, float>>;

}  // namespace

TEST(ClipboardTable, TellsEveryKindApartWithEitherLineEnd) {
    struct Case {
        std::string text;
        ClipboardKind kind;
        std::string dose;
    } cases[] = {
        {"", ClipboardKind::Nothing, ""},
        {kBrainScanCumulative, ClipboardKind::BrainScanTable, ""},
        {kIPlanTablePercent, ClipboardKind::IPlanTable, "50.000"},
        {kIPlanTableGy, ClipboardKind::IPlanTable, "None"},
        {kCurvePercent, ClipboardKind::IPlanCurvePercent, ""},
        {kCurveGy, ClipboardKind::IPlanCurveGy, ""},
        // "[ccm]" below line 1 marks a table of another kind.
        {"Dose\tPTV\t\r\n[%] 50\t[ccm] 2\t\r\n0.000\t1\t\r\n", ClipboardKind::Other, ""},
        {"Dose\tPTV\t\r\n[cc]\t1\t\r\n0.000\t1\t\r\n", ClipboardKind::Other, ""},
        {"some words", ClipboardKind::Other, ""},
        {"\tA\r\n\t1\r\n  3\t1\r\n", ClipboardKind::Other, ""},
    };
    for (const Case& c : cases) {
        for (const std::string& text : {c.text, Lf(c.text)}) {
            const ClipboardRecognition r = ClassifyClipboardText(text);
            EXPECT_EQ(r.Kind, c.kind) << text;
            EXPECT_EQ(r.DoseText, c.dose) << text;
            EXPECT_EQ(ClassifyClipboardText(NormaliseLineEnds(text)).Kind, c.kind) << text;
        }
    }
    EXPECT_EQ(NormaliseLineEnds("a\nb\r\nc\rd"), "a\r\nb\r\nc\r\nd");
}

TEST(ClipboardTable, NamesAndNormalTissueByKind) {
    EXPECT_EQ(BrainScanNames("\tPTV\tBody\tExpanded\r\n"), (std::vector<std::string>{"PTV", "Body", "Expanded"}));
    EXPECT_EQ(IPlanTableNames("Dose\tPTV\tBody\ttail\r\n"), (std::vector<std::string>{"PTV", "Body"}));
    EXPECT_EQ(NormalTissueItem({"PTV", "BODY", "Cord"}, {"Body", "Expanded"}), 2);
    EXPECT_EQ(NormalTissueItem({"PTV", "Body", "expanded"}, {"Body", "Expanded"}), 3);
    EXPECT_EQ(NormalTissueItem({"PTV", "Cord"}, {"Body", "Expanded"}), 0);
}

TEST(ClipboardTable, RealIPlanCopy) {
    std::ifstream in(RealDataFile("victorgabr+pps/dvh_ptv_based.txt"), std::ios::binary);
    if (!in) GTEST_SKIP() << "real data not present";
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string text = NormaliseLineEnds(buffer.str());
    const ClipboardRecognition r = ClassifyClipboardText(text);
    ASSERT_EQ(r.Kind, ClipboardKind::IPlanTable);
    EXPECT_EQ(r.DoseText, "43.750");
    const auto names = IPlanTableNames(text);
    ASSERT_EQ(names.size(), 17u);
    EXPECT_EQ(names[NormalTissueItem(names, {"Body", "Tissue"}) - 1], "Tissue");
    std::vector<DVHDatasetClass> structures;
    ASSERT_TRUE(ParseIPlanTable(text, 43.75f, structures));
    ASSERT_EQ(structures.size(), 17u);
    for (const DVHDatasetClass& s : structures) {
        EXPECT_FLOAT_EQ(s.DVset.front().VolumePercent, 100.0f) << s.Name;
        EXPECT_FLOAT_EQ(s.PrescribedDose, 43.75f);
    }
}

TEST(ClipboardDvh, BrainScanCumulativeKeepsItsRows) {
    std::vector<DVHDatasetClass> s;
    ASSERT_TRUE(ParseBrainScanTable(kBrainScanCumulative, 60, BrainScanUse::NewPlan, s));
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(Curve(s[0]), (Points{{0, 100}, {1, 100}, {2, 100}, {3, 50}, {4, 0}}));
    // PTV: last 100 % at 2; last above 0 at 3; mean 50 x 0.01 x 2 + 50 x 0.01 x 3 = 2.5.
    EXPECT_FLOAT_EQ(s[0].MinDosePercent, 2);
    EXPECT_FLOAT_EQ(s[0].MaxDosePercent, 3);
    EXPECT_FLOAT_EQ(s[0].MeanDosePercent, 2.5f);
    EXPECT_FLOAT_EQ(s[0].MeanDoseGy, 1.5f);
    // Body: 40 x 0.01 x 1 + 40 x 0.01 x 2 + 20 x 0.01 x 3 = 1.8.
    EXPECT_FLOAT_EQ(s[1].MinDosePercent, 1);
    EXPECT_NEAR(s[1].MeanDosePercent, 1.8f, 1e-5);
    EXPECT_FLOAT_EQ(s[1].DVset[2].VolumeCc, 600);
    EXPECT_FLOAT_EQ(s[1].DVset[3].DoseGy, 1.8f);
}

TEST(ClipboardDvh, BrainScanDifferentialStartsAtFullVolume) {
    struct Case {
        const char* rows;
        Points curve;
    } cases[] = {
        // A first bin of 0: what remains before each row's bin, moved one point up.
        {"  1\t0\r\n  2\t30\r\n  3\t70\r\n", {{0, 100}, {1, 100}, {2, 100}, {3, 70}}},
        // A first bin that is not 0 still starts at 100 %.
        {"  1\t20\r\n  2\t30\r\n  3\t50\r\n", {{0, 100}, {1, 100}, {2, 80}, {3, 50}}},
        // A residual of 0.4 % that the last points keep is cleared.
        {"  1\t0\r\n  2\t40\r\n  3\t59.6\r\n  4\t0", {{0, 100}, {1, 100}, {2, 100}, {3, 60}, {4, 0}}},
    };
    for (const Case& c : cases) {
        std::vector<DVHDatasetClass> s;
        ASSERT_TRUE(ParseBrainScanTable(std::string("\tA\r\n\t10\r\n") + c.rows, 50, BrainScanUse::NewPlan, s));
        const Points got = Curve(s[0]);
        ASSERT_EQ(got.size(), c.curve.size()) << c.rows;
        for (std::size_t j = 0; j < got.size(); ++j) {
            EXPECT_FLOAT_EQ(got[j].first, c.curve[j].first) << c.rows;
            EXPECT_NEAR(got[j].second, c.curve[j].second, 1e-4) << c.rows;
        }
    }
}

TEST(ClipboardDvh, AddedStructuresSumEverySegmentOfTheirMean) {
    std::vector<DVHDatasetClass> s;
    ASSERT_TRUE(ParseBrainScanTable("\tA\r\n\t10\r\n  1\t100\r\n  2\t100\r\n  3\t98\r\n  4\t50\r\n  5\t0\r\n", 50,
                                    BrainScanUse::AddedStructures, s));
    // 2 x 0.01 x 2 + 48 x 0.01 x 3 + 50 x 0.01 x 4 = 3.48.
    EXPECT_NEAR(s[0].MeanDosePercent, 3.48f, 1e-5);
    EXPECT_FLOAT_EQ(s[0].MinDosePercent, 2);  // the dose before the first row below 100 %
    EXPECT_FLOAT_EQ(s[0].MaxDosePercent, 4);
}

TEST(ClipboardDvh, AddedStructuresFromADifferentialTable) {
    // Bins 0, 30, 50, 15 % at 1-4 %: no structure's rows sum above 103 %.
    std::vector<DVHDatasetClass> s;
    ASSERT_TRUE(ParseBrainScanTable("\tA\r\n\t10\r\n  1\t0\r\n  2\t30\r\n  3\t50\r\n  4\t15\r\n", 50,
                                    BrainScanUse::AddedStructures, s));
    // Statistics on the bins before the last point: first filled bin 2, last filled 3, mean
    // 30 x 0.01 x 2 + 50 x 0.01 x 3 = 2.1.
    EXPECT_FLOAT_EQ(s[0].MinDosePercent, 2);
    EXPECT_FLOAT_EQ(s[0].MaxDosePercent, 3);
    EXPECT_NEAR(s[0].MeanDosePercent, 2.1f, 1e-5);
    EXPECT_NEAR(s[0].MeanDoseGy, 1.05f, 1e-5);
    // Each point but the last takes what remains before its own bin; the last keeps its bin.
    EXPECT_EQ(Curve(s[0]), (Points{{0, 100}, {1, 100}, {2, 100}, {3, 70}, {4, 15}}));
    EXPECT_FLOAT_EQ(s[0].DVset[3].VolumeCc, 7);
    EXPECT_FLOAT_EQ(s[0].DVset[3].DoseGy, 1.5f);
}

TEST(ClipboardDvh, IPlanTableInPercentAndInGyAgree) {
    for (const std::string& text : {kIPlanTablePercent, kIPlanTableGy}) {
        std::vector<DVHDatasetClass> s;
        ASSERT_TRUE(ParseIPlanTable(text, 50, s)) << text;
        ASSERT_EQ(s.size(), 2u);
        EXPECT_EQ(Curve(s[0]), (Points{{0, 100}, {50, 100}, {100, 50}, {110, 0}}));
        EXPECT_FLOAT_EQ(s[0].Volume, 10);
        EXPECT_FLOAT_EQ(s[0].DVset[2].VolumeCc, 5);
        EXPECT_FLOAT_EQ(s[0].DVset[2].DoseGy, 50);
        // Mean 50 x 0.01 x 50 + 50 x 0.01 x 100 = 75 %, 37.5 Gy.
        EXPECT_FLOAT_EQ(s[0].MinDosePercent, 50);
        EXPECT_FLOAT_EQ(s[0].MaxDosePercent, 100);
        EXPECT_FLOAT_EQ(s[0].MeanDoseGy, 37.5f);
        EXPECT_FLOAT_EQ(s[1].MinDosePercent, 0);
        EXPECT_FLOAT_EQ(s[1].MeanDosePercent, 25);
    }
}

TEST(ClipboardDvh, CurvesReadTheirReferenceAndForm) {
    DVHDatasetClass s;
    ASSERT_TRUE(ParseIPlanCurve(kCurvePercent, s));
    EXPECT_EQ(s.Name, "PTV");
    EXPECT_FLOAT_EQ(s.PrescribedDose, 43.755f);  // the last digit kept though no blank precedes the TAB
    EXPECT_FLOAT_EQ(s.Volume, 20);
    EXPECT_FLOAT_EQ(s.MinDosePercent, 100);
    EXPECT_FLOAT_EQ(s.MeanDosePercent, 30);
    EXPECT_NEAR(s.MeanDoseGy, 30 * 0.43755f, 1e-4);

    // Never below 100 %: no minimum, in Gy as well.
    ASSERT_TRUE(ParseIPlanCurve("Dose\tA\r\n[%] 50\t[cc] 1\t\r\n0.000\t100\t\r\n10\t100\t\r\n20\t100\t\r\n", s));
    EXPECT_EQ(s.Name, "A");
    EXPECT_FLOAT_EQ(s.MinDosePercent, -99);
    EXPECT_FLOAT_EQ(s.MinDoseGy, -99);

    // Volumes but the last summing to exactly 103: differential, and no volume below 0.
    ASSERT_TRUE(ParseIPlanCurve("Dose\tB\t\r\n[%] 50\t[cc] 1\t\r\n0.000\t3\t\r\n10\t100\t\r\n20\t0\t\r\n30\t0\t", s));
    EXPECT_EQ(Curve(s), (Points{{0, 100}, {10, 97}, {20, 0}, {30, 0}}));
    EXPECT_FLOAT_EQ(s.MinDosePercent, 10);
    EXPECT_FLOAT_EQ(s.MeanDosePercent, 10);
}

TEST(ClipboardDvh, BadTablesAreRefusedWhole) {
    struct Case {
        std::string text;
        ReadStatus status;
    } cases[] = {
        {"\tA\tB\r\n\t10\t20\r\n  1\t100\tx\r\n", ReadStatus::BadNumber},
        {"\tA\tB\r\n\t10\t20\r\n  1\t100\r\n", ReadStatus::BadRow},
        {"\tA\tB\r\n\t10\t20\r\n", ReadStatus::Truncated},
        {"\tA\r\n\tten\r\n  1\t100\r\n", ReadStatus::BadNumber},
        // A volume of 1.06e38 % after a row at 500 %: the mean falls beyond a float.
        {"\tA\r\n\t10\r\n  1\t100\r\n500\t0\r\n501\t1.06e38\r\n", ReadStatus::BadNumber},
    };
    for (const Case& c : cases) {
        std::vector<DVHDatasetClass> s(1);
        EXPECT_EQ(ParseBrainScanTable(c.text, 60, BrainScanUse::NewPlan, s).status, c.status) << c.text;
        EXPECT_TRUE(s.empty());
    }
    DVHDatasetClass curve;
    // Refused as every reader refuses a field that is no number.
    const ReadResult letters = ParseIPlanCurve("Dose\tA\t\r\n[%] 5x\t[cc] 1\t\r\n0.000\t100\t\r\n", curve);
    EXPECT_EQ(letters.status, ReadStatus::BadNumber);
    EXPECT_EQ(letters.detail, "\"[%] 5x\" is not a number");
    EXPECT_EQ(letters.line, 2);
    const ReadResult huge =
        ParseIPlanCurve("Dose\tA\t\r\n[%] 50\t[cc] 1\t\r\n0\t100\t\r\n500\t0\t\r\n501\t1.06e38\t\r\n", curve);
    EXPECT_EQ(huge.detail, "a value out of range");
    EXPECT_EQ(huge.line, 1);
    EXPECT_EQ(ParseIPlanCurve("Dose\tA\t\r\n[%] 50\t[cc] 1\t\r\n0.000\t100\r\n", curve).status, ReadStatus::BadRow);
}

TEST(ClipboardTable, ExamplesAreTheKindsTheirNamesSay) {
    const struct {
        const char* file;
        ClipboardKind kind;
    } examples[] = {{"BrainSCAN_table.txt", ClipboardKind::BrainScanTable},
                    {"iPlan_table.txt", ClipboardKind::IPlanTable},
                    {"iPlan_curve_PTV.txt", ClipboardKind::IPlanCurvePercent},
                    {"iPlan_curve_Rectum.txt", ClipboardKind::IPlanCurvePercent}};
    for (const auto& e : examples) {
        std::ifstream in(std::string(TESSARAY_EXAMPLES) + "/clipboard/" + e.file, std::ios::binary);
        ASSERT_TRUE(in) << e.file;
        std::stringstream buffer;
        buffer << in.rdbuf();
        const std::string text = buffer.str();
        EXPECT_EQ(ClassifyClipboardText(text).Kind, e.kind) << e.file;
        std::vector<DVHDatasetClass> s;
        DVHDatasetClass curve;
        const ReadResult r = e.kind == ClipboardKind::BrainScanTable ? ParseBrainScanTable(text, 78, BrainScanUse::NewPlan, s)
                             : e.kind == ClipboardKind::IPlanTable   ? ParseIPlanTable(text, 78, s)
                                                                     : ParseIPlanCurve(text, curve);
        EXPECT_TRUE(r) << e.file << " " << r.detail;
    }
}
