// The reader of exports with a description header (codes 12 and 13) on small literal exports.
#include "dvh/DvhTextBlockReader.h"

#include "DvhTestText.h"

#include <gtest/gtest.h>

using namespace dvhtest;

namespace {

std::string Header(std::string_view kind, std::string_view planLine, std::string_view prescribed) {
    return Lines({L("Patient Name", "Doe, Jane (1111111111)"), L("Patient ID", "1111111111"), L("Comment", kind),
                  L("Date", "05.24.2013  00:00:00"), L("Type", "Cumulative Dose Volume Histogram"),
                  L("Description", "The cumulative DVH displays the percentage (relative)"),
                  "                       or volume (absolute) of structures that receive a dose",
                  "                       equal to or greater than a given dose.", "", std::string(planLine),
                  std::string(prescribed), "% for dose (%): 100.0", ""});
}

std::string Block(std::string_view name, std::string_view volume, std::string_view unit, std::string_view min,
                  std::string_view max, std::string_view mean) {
    std::string u(unit);
    return Lines({"Structure: " + std::string(name), "Approval Status: Approved", "Plan: PLAN", "Course: C1",
                  "Volume [cm\xB3]: " + std::string(volume), "Dose Cover.[%]: 100.0", "Sampling Cover.[%]: 100.0",
                  "Min Dose [" + u + "]: " + std::string(min), "Max Dose [" + u + "]: " + std::string(max),
                  "Mean Dose [" + u + "]: " + std::string(mean), "Modal Dose [" + u + "]: 1.0",
                  "Equiv. Sphere Diam. [cm]: N/A", ""});
}

/// A code-12 row: columns 1-17, 18-37 and 38 to the end.
std::string Row12(std::string_view a, std::string_view b, std::string_view w) {
    return Right(a, 17) + Right(b, 20) + Right(w, 26);
}

// One plan in cGy (prescribed 5500 cGy): LIVER with absolute dose first and relative volume;
// Body with relative dose first, an absolute volume column whose first value exceeds the
// volume line, and percent statistics. The file ends without an empty line.
std::string OnePlanDescription() {
    return Header("DVHs for one plan", "Plan: PLAN_NAME", "Prescribed dose [cGy]: 5500.0") +
           Block("LIVER", "1635.9", "cGy", "42.7", "5634.2", "707.0") +
           Lines({Row12("Dose [cGy]", "Relative dose [%]", "Ratio of Total Structure Volume [%]"),
                  Row12("0", "0", "100"), Row12("2750", "50", "12.5"), Row12("5660", "102.909", "3.53804e-005"), ""}) +
           "Structure: Body\nVolume [cm\xB3]: 1000.0\nMin Dose [%]: 0.0\nMax Dose [%]: 103.0\nMean Dose [%]: 8.5\n\n" +
           Lines({Row12("Relative dose [%]", "Dose [cGy]", "Structure Volume [cm\xB3]"), Row12("0", "0", "1 200.0"),
                  Row12("50", "2750", "600")}) +
           Row12("103", "5665", "0");
}

}  // namespace

TEST(DvhTextBlockReader, ReadsOnePlanWithEveryColumnRule) {
    ParsedPlan plan;
    ReadResult r = ParseDvhTextBlocks(OnePlanDescription(), {12}, plan);
    ASSERT_TRUE(r.ok()) << r.detail << " at " << r.line;
    ASSERT_EQ(plan.DVHDataset.size(), 2u);
    EXPECT_EQ(plan.BodyIndex, 1);

    const DVHDatasetClass& liver = plan.DVHDataset[0];
    EXPECT_EQ(liver.Name, "LIVER");
    EXPECT_EQ(liver.LineWidth, 2);
    EXPECT_FLOAT_EQ(liver.PrescribedDose, 55.0f);
    EXPECT_FLOAT_EQ(liver.Volume, 1635.9f);
    EXPECT_NEAR(liver.MinDoseGy, 0.427, 1e-5);
    EXPECT_NEAR(liver.MinDosePercent, 0.427 / 55 * 100, 1e-4);
    EXPECT_NEAR(liver.MaxDoseGy, 56.342, 1e-4);
    EXPECT_NEAR(liver.MaxDosePercent, 56.342 / 55 * 100, 1e-4);
    EXPECT_NEAR(liver.MeanDoseGy, 7.07, 1e-5);
    EXPECT_NEAR(liver.MeanDosePercent, 7.07 / 55 * 100, 1e-4);
    ASSERT_EQ(liver.DVset.size(), 3u);
    ExpectPoint(liver.DVset.front(), 0, 0, 1635.9, 100);
    ExpectPoint(liver.DVset[1], 27.5, 50, 204.4875, 12.5);
    ExpectPoint(liver.DVset.back(), 56.6, 102.909, 1635.9 * 3.53804e-7, 3.53804e-5);

    const DVHDatasetClass& body = plan.DVHDataset[1];
    EXPECT_EQ(body.Name, "Body");
    EXPECT_NEAR(body.MaxDosePercent, 103.0, 1e-4);  // "%" at the 11th character
    EXPECT_NEAR(body.MaxDoseGy, 56.65, 1e-4);        // 103 % of 55 Gy
    EXPECT_NEAR(body.MeanDosePercent, 8.5, 1e-5);    // "%" at the 12th character
    EXPECT_NEAR(body.MeanDoseGy, 4.675, 1e-5);
    // The first absolute value (1 200 cc with a blank inside) raises the 1000 cc volume line.
    EXPECT_FLOAT_EQ(body.Volume, 1200.0f);
    ASSERT_EQ(body.DVset.size(), 3u);
    ExpectPoint(body.DVset.front(), 0, 0, 1200, 100);
    ExpectPoint(body.DVset[1], 27.5, 50, 600, 50);
    ExpectPoint(body.DVset.back(), 56.65, 103, 0, 0);
}

TEST(DvhTextBlockReader, PlanSumBlocksTakeTheirOwnUnit) {
    // Both blocks are in cGy. Each block's statistics must use that block's unit: the first
    // block must not fall back to Gy just because no table header was read before it.
    std::string text = Header("DVHs for a Summed Plan", "Plan sum: SUM_1", "Prescribed dose [cGy]: not defined") +
                       Block("PTV", "100.0", "cGy", "4800.0", "5200.0", "5000.0") +
                       Lines({"Dose [cGy]Ratio of Total Structure Volume [%]", Right("0", 10) + Right("100", 20),
                              Right("5000", 10) + Right("50", 20), ""}) +
                       Block("Rectum", "80.0", "Gy", "1.0", "51.0", "25.0") +
                       Lines({" Dose [Gy]  Structure Volume [cm\xB3]", Right("0", 10) + Right("80", 20),
                              Right("25.5", 10) + Right("20", 20), ""});
    ParsedPlan plan;
    ReadResult r = ParseDvhTextBlocks(text, {13, 50.0f}, plan);
    ASSERT_TRUE(r.ok()) << r.detail << " at " << r.line;
    ASSERT_EQ(plan.DVHDataset.size(), 2u);
    const DVHDatasetClass& ptv = plan.DVHDataset[0];
    EXPECT_EQ(ptv.Name, "PTV");
    EXPECT_FLOAT_EQ(ptv.PrescribedDose, 50.0f);
    EXPECT_NEAR(ptv.MinDoseGy, 48.0, 1e-4);
    EXPECT_NEAR(ptv.MinDosePercent, 96.0, 1e-4);
    EXPECT_NEAR(ptv.MaxDoseGy, 52.0, 1e-4);
    EXPECT_NEAR(ptv.MeanDoseGy, 50.0, 1e-4);
    ExpectPoint(ptv.DVset.front(), 0, 0, 100, 100);
    ExpectPoint(ptv.DVset.back(), 50, 100, 50, 50);

    const DVHDatasetClass& rectum = plan.DVHDataset[1];  // a Gy block after a cGy block
    EXPECT_NEAR(rectum.MinDoseGy, 1.0, 1e-5);
    EXPECT_NEAR(rectum.MaxDoseGy, 51.0, 1e-4);
    EXPECT_NEAR(rectum.MeanDosePercent, 50.0, 1e-4);
    ExpectPoint(rectum.DVset.front(), 0, 0, 80, 100);
    ExpectPoint(rectum.DVset.back(), 25.5, 51, 20, 25);
}

TEST(DvhTextBlockReader, SearchLimitsAndRefusals) {
    const std::string good = OnePlanDescription();
    ParsedPlan plan;

    // The prescribed-dose line counts only among the first 50 lines.
    std::string late = good;
    late.insert(late.find("Prescribed dose"), std::string(39, '\n'));  // now line 50
    EXPECT_TRUE(ParseDvhTextBlocks(late, {12}, plan).ok());
    late.insert(late.find("Prescribed dose"), "\n");  // line 51
    EXPECT_EQ(ParseDvhTextBlocks(late, {12}, plan).status, ReadStatus::NoPrescribedDose);

    // "Volume" must follow within 999 lines of the block line.
    std::string far = good;
    far.insert(far.find("\nVolume") + 1, std::string(995, '\n'));  // the 999th line after the block line
    EXPECT_TRUE(ParseDvhTextBlocks(far, {12}, plan).ok());
    far.insert(far.find("\nVolume") + 1, "\n");
    EXPECT_EQ(ParseDvhTextBlocks(far, {12}, plan).status, ReadStatus::MissingLine);

    struct Case {
        const char* what;
        std::string from, to;
        ReadStatus status;
        long line;
    } cases[] = {
        {"dose column", Row12("2750", "50", "12.5"), Row12("27x0", "50", "12.5"), ReadStatus::BadNumber, 29},
        {"too large for a float", Row12("2750", "50", "12.5"), Row12("2750", "50", "1e39"), ReadStatus::BadNumber, 29},
        {"volume column cut off", Row12("2750", "50", "12.5"), Row12("2750", "50", ""), ReadStatus::BadNumber, 29},
        {"statistic", "Max Dose [cGy]: 5634.2", "Max Dose [cGy]: N/A", ReadStatus::BadNumber, 22},
        {"statistic too large", "Mean Dose [cGy]: 707.0", "Mean Dose [cGy]: 1e300", ReadStatus::BadNumber, 23},
        // The search for "Min" stops at the next block rather than taking its statistics.
        {"no min line", "Min Dose [cGy]: 42.7", "Lowest Dose: 42.7", ReadStatus::MissingLine, 32},
        {"zero prescribed dose", "Prescribed dose [cGy]: 5500.0", "Prescribed dose [cGy]: 0", ReadStatus::BadPrescribedDose, 11},
        {"no structure", "Structure: ", "Structur: ", ReadStatus::Ok, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string text = good;
        ASSERT_NE(text.find(c.from), std::string::npos);
        text.replace(text.find(c.from), c.from.size(), c.to);
        ReadResult r = ParseDvhTextBlocks(text, {12}, plan);
        EXPECT_EQ(r.status, c.status);
        if (c.line) {
            EXPECT_EQ(r.line, c.line);
        }
        if (!r.ok()) {
            EXPECT_TRUE(plan.DVHDataset.empty());
        }
    }
    std::string noBlocks = Header("DVHs for one plan", "Plan: P", "Prescribed dose [Gy]: 60");
    EXPECT_EQ(ParseDvhTextBlocks(noBlocks, {12}, plan).status, ReadStatus::NoStructures);
    std::string cut = good.substr(0, good.find("Max Dose"));
    EXPECT_EQ(ParseDvhTextBlocks(cut, {12}, plan).status, ReadStatus::Truncated);
    EXPECT_EQ(ParseDvhTextBlocks(good, {13, 0.0f}, plan).status, ReadStatus::BadPrescribedDose);
}
