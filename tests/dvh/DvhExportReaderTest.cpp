// The one-plan and plan-sum reader (codes 2 and 3) on small literal exports.
#include "dvh/DvhExportReader.h"

#include "DvhTestText.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace dvhtest;

namespace {

std::string Header(std::string_view kind, std::string_view plan) {
    return Lines({L("Patient Name", "Doe, John (12345) (ABCDE)"), L("Patient ID", "12345"), L("Comment", kind),
                  L("Date", "24.12.2014  10:30:00"), L("Type", "Cumulative Dose Volume Histogram"), L("Plan", plan),
                  L("Prescribed dose [cGy]", "6000.0"), ""});
}

std::string Statistics(std::string_view prescribedLabel, std::string_view prescribed, std::string_view volume,
                       std::initializer_list<std::string> minMaxMean) {
    std::string t = Lines({L(prescribedLabel, prescribed), L("Plan", "Plan A"), L("Course", "C1"),
                           L("Volume [cm^3]", volume)});
    for (const auto& l : minMaxMean) t += l + "\n";
    return t + Lines({L("Modal dose [cGy]", "6000.0"), L("Sampling cover. [%]", "100.0"),
                      L("Median dose [cGy]", "6010.0"), L("STD [cGy]", "50.0")});
}

// One plan: PTV in cGy with absolute statistics and an absolute volume column (absolute dose
// first); BODY in Gy with relative statistics, relative dose first and a relative volume
// column. The file ends in the middle of the last table's rows, without an empty line.
std::string OnePlan() {
    return Header("DVHs for one plan", "Plan A - P1") +
           L("Histogram", "P1 - PTV") + "\n" +
           Statistics("Prescribed dose [cGy]", "6000.0", "50.0",
                      {L("Min dose [cGy]", "5700.0"), L("Max dose [cGy]", "6300.0"), L("Mean dose [cGy]", "6012.0")}) +
           Lines({"Dose [cGy]\tStructure Volume [cm^3]\tRelative dose [%]", "0\t50\t0", "3000\t50\t50",
                  "6000\t25\t100", "6300\t0\t105", "", "passed over"}) +
           L("Histogram", "P1 - BODY") + "\n" +
           Statistics("Prescribed dose [Gy]", "60.0", "2000.0",
                      {L("Min dose          [%]", "0.0"), L("Max dose          [%]", "105.0"),
                       L("Mean dose         [%]", "10.0")}) +
           Lines({"Relative dose [%]\tRatio of Total Structure Volume [%]\tDose [Gy]", "0\t100\t0", "50\t10\t30"}) +
           "105\t0\t63";
}

// A plan sum read with a typed dose of 50 Gy: doses in cGy, relative volume.
std::string PlanSum() {
    return Header("DVHs for a Summed Plan", "Sum 1") + L("Histogram", "Sum - Rectum") + "\n" +
           Statistics("Prescribed dose [cGy]", "not defined", "80.0",
                      {L("Min dose [cGy]", "100.0"), L("Max dose [cGy]", "5100.0"), L("Mean dose [cGy]", "2500.0")}) +
           Lines({"Dose [cGy]\tRatio of Total Structure Volume [%]", "0\t100", "2500\t40", "5100\t0", ""});
}

}  // namespace

TEST(DvhExportReader, ReadsOnePlanWithEveryUnitRule) {
    ParsedPlan plan;
    ReadResult r = ParseDvhFile(OnePlan(), {2}, plan);
    ASSERT_TRUE(r.ok()) << r.detail << " at " << r.line;
    ASSERT_EQ(plan.DVHDataset.size(), 2u);
    EXPECT_EQ(plan.BodyIndex, 1);  // "BODY" counts, case ignored

    const DVHDatasetClass& ptv = plan.DVHDataset[0];
    EXPECT_EQ(ptv.Name, "PTV");
    EXPECT_EQ(ptv.ModifiedName, "");
    EXPECT_EQ(ptv.LineWidth, 2);
    EXPECT_FLOAT_EQ(ptv.PrescribedDose, 60.0f);  // 6000 cGy
    EXPECT_FLOAT_EQ(ptv.Volume, 50.0f);
    EXPECT_NEAR(ptv.MinDoseGy, 57.0, 1e-4);
    EXPECT_NEAR(ptv.MinDosePercent, 95.0, 1e-4);  // 57 / 60
    EXPECT_NEAR(ptv.MaxDoseGy, 63.0, 1e-4);
    EXPECT_NEAR(ptv.MaxDosePercent, 105.0, 1e-4);
    EXPECT_NEAR(ptv.MeanDoseGy, 60.12, 1e-4);
    EXPECT_NEAR(ptv.MeanDosePercent, 100.2, 1e-4);
    EXPECT_EQ(ptv.ExtraDose1, 0.0f);  // only asked for by the batch
    ASSERT_EQ(ptv.LastDVsetIndex(), 3);
    ExpectPoint(ptv.DVset.front(), 0, 0, 50, 100);
    ExpectPoint(ptv.DVset[2], 60, 100, 25, 50);  // cc column, % derived from 50 cc
    ExpectPoint(ptv.DVset.back(), 63, 105, 0, 0);

    const DVHDatasetClass& body = plan.DVHDataset[1];
    EXPECT_EQ(body.Name, "BODY");
    EXPECT_FLOAT_EQ(body.PrescribedDose, 60.0f);  // Gy block: factor 1
    EXPECT_NEAR(body.MinDoseGy, 0.0, 1e-6);
    EXPECT_NEAR(body.MaxDosePercent, 105.0, 1e-4);  // "%" at the 20th character: relative
    EXPECT_NEAR(body.MaxDoseGy, 63.0, 1e-4);        // 105 % of 60 Gy
    EXPECT_NEAR(body.MeanDoseGy, 6.0, 1e-4);
    ASSERT_EQ(body.DVset.size(), 3u);  // the last row has no line end and still counts once
    ExpectPoint(body.DVset[1], 30, 50, 200, 10);  // relative dose first; 10 % of 2000 cc
    ExpectPoint(body.DVset.back(), 63, 105, 0, 0);
}

TEST(DvhExportReader, ReadsPlanSumAgainstTheTypedDose) {
    ParsedPlan plan;
    DvhReadOptions options{3, 50.0f};
    ReadResult r = ParseDvhFile(PlanSum(), options, plan);
    ASSERT_TRUE(r.ok()) << r.detail;
    ASSERT_EQ(plan.DVHDataset.size(), 1u);
    const DVHDatasetClass& s = plan.DVHDataset[0];
    EXPECT_EQ(s.Name, "Rectum");
    EXPECT_EQ(plan.BodyIndex, -1);
    EXPECT_FLOAT_EQ(s.PrescribedDose, 50.0f);
    EXPECT_NEAR(s.MinDoseGy, 1.0, 1e-5);
    EXPECT_NEAR(s.MinDosePercent, 2.0, 1e-5);
    EXPECT_NEAR(s.MaxDoseGy, 51.0, 1e-4);
    EXPECT_NEAR(s.MaxDosePercent, 102.0, 1e-4);
    EXPECT_NEAR(s.MeanDoseGy, 25.0, 1e-4);
    EXPECT_NEAR(s.MeanDosePercent, 50.0, 1e-4);
    ASSERT_EQ(s.DVset.size(), 3u);
    ExpectPoint(s.DVset.front(), 0, 0, 80, 100);
    ExpectPoint(s.DVset[1], 25, 50, 32, 40);
    ExpectPoint(s.DVset.back(), 51, 102, 0, 0);
}

TEST(DvhExportReader, BlockLinesTablesAndExtraDoses) {
    // A block value without " - " names the structure whole; the batch asks for lines 8 and 10.
    std::string text = OnePlan();
    text.replace(text.find("P1 - PTV"), 8, "PTV");
    ParsedPlan plan;
    DvhReadOptions options{2};
    options.ReadExtraDoses = true;
    ASSERT_TRUE(ParseDvhFile(text, options, plan).ok());
    EXPECT_EQ(plan.DVHDataset[0].Name, "PTV");
    EXPECT_NEAR(plan.DVHDataset[0].ExtraDose1, 60.0, 1e-4);  // modal 6000 cGy
    EXPECT_NEAR(plan.DVHDataset[0].ExtraDose2, 60.1, 1e-4);  // median 6010 cGy

    // A block line right after a table's empty line starts the next structure: with a single
    // empty line between blocks no structure is lost.
    std::string single = OnePlan();
    single.replace(single.find("passed over\n"), 12, "");
    ASSERT_TRUE(ParseDvhFile(single, {2}, plan).ok());
    EXPECT_EQ(plan.DVHDataset.size(), 2u);
}

TEST(DvhExportReader, LineEndsLongLinesAndEmptyStructures) {
    // CR LF reads like LF, and a 150-character block line keeps its whole name.
    const std::string longName(140, 'R');
    std::string text = OnePlan();
    text.replace(text.find("P1 - PTV"), 8, "P1 - " + longName);
    ParsedPlan lf, crlf;
    ASSERT_TRUE(ParseDvhFile(text, {2}, lf).ok());
    ASSERT_TRUE(ParseDvhFile(ToCrLf(text), {2}, crlf).ok());
    EXPECT_EQ(lf.DVHDataset[0].Name, longName);
    EXPECT_EQ(crlf.DVHDataset[0].Name, longName);
    ASSERT_EQ(crlf.DVHDataset[1].DVset.size(), 3u);
    ExpectPoint(crlf.DVHDataset[1].DVset.back(), 63, 105, 0, 0);

    // A structure of 0 cc with an absolute column has 0 % everywhere, never an infinity.
    std::string empty = OnePlan();
    const std::string volume = L("Volume [cm^3]", "50.0");
    empty.replace(empty.find(volume), volume.size(), L("Volume [cm^3]", "0.0"));
    ParsedPlan plan;
    ASSERT_TRUE(ParseDvhFile(empty, {2}, plan).ok());
    for (const auto& p : plan.DVHDataset[0].DVset) {
        EXPECT_EQ(p.VolumePercent, 0.0f);
        EXPECT_TRUE(std::isfinite(p.VolumeCc));
    }
}

TEST(DvhExportReader, RefusesBadInputWithItsLine) {
    struct Case {
        const char* what;
        std::string from, to;
        ReadStatus status;
        long line;
    } cases[] = {
        {"volume not a number", L("Volume [cm^3]", "50.0"), L("Volume [cm^3]", "fifty"), ReadStatus::BadNumber, 13},
        {"row not a number", "3000\t50\t50", "3000\t5O\t50", ReadStatus::BadNumber, 23},
        {"row with two fields", "3000\t50\t50", "3000\t50", ReadStatus::BadRow, 23},
        {"infinite value", "6000\t25\t100", "6000\tinf\t100", ReadStatus::BadNumber, 24},
        {"too large for a float", "6000\t25\t100", "6000\t1e300\t100", ReadStatus::BadNumber, 24},
        {"statistic too large", L("Mean dose [cGy]", "6012.0"), L("Mean dose [cGy]", "1e308"), ReadStatus::BadNumber, 16},
        // 3e38 Gy is a float, its 5e38 % of the prescribed 60 Gy is not.
        {"statistic too large in %", L("Mean dose [cGy]", "6012.0"), L("Mean dose [cGy]", "3e40"), ReadStatus::BadNumber, 16},
        {"zero prescribed dose", L("Prescribed dose [cGy]", "6000.0") + "\n" + L("Plan", "Plan A"),
         L("Prescribed dose [cGy]", "0.0") + "\n" + L("Plan", "Plan A"), ReadStatus::BadPrescribedDose, 10},
        {"prescribed dose too small for a float", L("Prescribed dose [cGy]", "6000.0") + "\n" + L("Plan", "Plan A"),
         L("Prescribed dose [cGy]", "1e-50") + "\n" + L("Plan", "Plan A"), ReadStatus::BadPrescribedDose, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string text = OnePlan();
        ASSERT_NE(text.find(c.from), std::string::npos);
        text.replace(text.find(c.from), c.from.size(), c.to);
        ParsedPlan plan;
        ReadResult r = ParseDvhFile(text, {2}, plan);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.line, c.line);
        EXPECT_TRUE(plan.DVHDataset.empty());
    }
    ParsedPlan plan;
    EXPECT_EQ(ParseDvhFile(PlanSum(), {3, 0.0f}, plan).status, ReadStatus::BadPrescribedDose);
    EXPECT_EQ(ParseDvhFile(Header("DVHs for one plan", "A - B"), {2}, plan).status, ReadStatus::NoStructures);
    std::string cut = OnePlan().substr(0, OnePlan().find(L("Max dose [cGy]", "6300.0")));
    ReadResult r = ParseDvhFile(cut, {2}, plan);
    EXPECT_EQ(r.status, ReadStatus::Truncated);
    EXPECT_EQ(r.line, 15);
    EXPECT_EQ(ParseDvhFile(OnePlan(), {12}, plan).status, ReadStatus::UnknownFileType);
}
