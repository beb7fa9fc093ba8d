// The quick-index panel's query, result text and key filter.
#include "planlist/QuickIndex.h"

#include "PlanFixtures.h"

#include <gtest/gtest.h>

namespace {

TEST(QuickIndex, QueriesOnTheExampleStructure) {
    const PDatasetClass plan = fixtures::ExamplePlan();
    EXPECT_FLOAT_EQ(CalcQuickIndexValue(&plan, {0, 1, "50"}), 27.5f);
    EXPECT_FLOAT_EQ(CalcQuickIndexValue(&plan, {0, 9, ""}), 25);  // no value needed
    EXPECT_FLOAT_EQ(CalcQuickIndexValue(&plan, {0, 9, "junk"}), 25);
    // The panel's conformity index always takes the minimum dose (20 Gy: 300 cc / 50 cc).
    EXPECT_FLOAT_EQ(CalcQuickIndexValue(&plan, {0, 16, ""}), 6);
    // Incomplete queries.
    EXPECT_EQ(CalcQuickIndexValue(&plan, {-1, 1, "50"}), -1);
    EXPECT_EQ(CalcQuickIndexValue(&plan, {0, -1, "50"}), -1);
    EXPECT_EQ(CalcQuickIndexValue(&plan, {0, 1, ""}), -1);
    EXPECT_EQ(CalcQuickIndexValue(&plan, {0, 1, "."}), -1);
    EXPECT_EQ(CalcQuickIndexValue(&plan, {5, 1, "50"}), -1);
    EXPECT_EQ(CalcQuickIndexValue(nullptr, {0, 1, "50"}), -1);
    // A structure with one point has no value, even for stored statistics.
    PDatasetClass single;
    single.DVHDataset = {fixtures::Structure("S", 50, 10, {{0, 100}})};
    single.DVHDataset[0].MeanDoseGy = 3;
    EXPECT_EQ(CalcQuickIndexValue(&single, {0, 9, ""}), -1);
    // No body: the conformity index has no value.
    PDatasetClass noBody = plan;
    noBody.BodyIndex = -1;
    EXPECT_EQ(CalcQuickIndexValue(&noBody, {0, 16, ""}), -1);
}

TEST(QuickIndex, TypedNumbers) {
    EXPECT_FLOAT_EQ(*ParseQuickValue("12"), 12);
    EXPECT_FLOAT_EQ(*ParseQuickValue("2.5"), 2.5f);
    EXPECT_FLOAT_EQ(*ParseQuickValue(".5"), 0.5f);
    EXPECT_FLOAT_EQ(*ParseQuickValue("5."), 5);
    for (const char* bad : {"", ".", "1e3", "1,5", " 1", "1 ", "abc", "1e999", "nan", "inf"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(ParseQuickValue(bad).has_value());
    }
}

TEST(QuickIndex, ResultTexts) {
    EXPECT_EQ(QuickIndexResultText(27.5f, 2), "27.5");
    EXPECT_EQ(QuickIndexResultText(30, 2), "30");
    EXPECT_EQ(QuickIndexResultText(12.3456f, 3), "12.346");
    EXPECT_EQ(QuickIndexResultText(12.3456f, 2), "12.35");
    EXPECT_EQ(QuickIndexResultText(0, 2), "0");
    EXPECT_EQ(QuickIndexResultText(-1, 2), "");
    EXPECT_EQ(QuickIndexResultText(-0.5f, 2), "");
}

TEST(QuickIndex, KeyFilter) {
    for (char c = '0'; c <= '9'; ++c) EXPECT_TRUE(QuickValueKeyAccepted("", c));
    EXPECT_TRUE(QuickValueKeyAccepted("12", '.'));
    EXPECT_FALSE(QuickValueKeyAccepted("1.2", '.'));  // a second point
    for (char c : {'\b', '\t', '\r', '\x1b', '\x7f'})  // keys that type nothing pass
        EXPECT_TRUE(QuickValueKeyAccepted("1.2", c));
    for (char c : {'-', ',', 'e', 'E', 'a', ' ', '+'}) EXPECT_FALSE(QuickValueKeyAccepted("1", c));
    // Typing 1 . 2 . 3 keeps 1.23.
    std::string text;
    for (char c : std::string("1.2.3"))
        if (QuickValueKeyAccepted(text, c)) text += c;
    EXPECT_EQ(text, "1.23");
}

}  // namespace
