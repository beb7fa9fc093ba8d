// Index labels, value texts and kind names.
#include "planlist/IndexTexts.h"

#include <gtest/gtest.h>

namespace {

TEST(IndexTexts, LabelsOfEveryKind) {
    const char* expected[] = {"D95% [%]",      "D95% [Gy]",      "D95cc [%]",    "D95cc [Gy]",
                              "V95% [%]",      "V95% [cc]",      "V95Gy [%]",    "V95Gy [cc]",
                              "Mean dose [%]", "Mean dose [Gy]", "Max dose [%]", "Max dose [Gy]",
                              "Min dose [%]",  "Min dose [Gy]",  "Volume [cc]",  "Homogeneity Index",
                              "Conformity Index"};
    for (int kind = 0; kind <= 16; ++kind) {
        SCOPED_TRACE(kind);
        EXPECT_EQ(IndexLabel(kind, 95, 0, 0), expected[kind]);
    }
    EXPECT_EQ(IndexLabel(-1, 95, 0, 0), "");
    EXPECT_EQ(IndexLabel(17, 95, 0, 0), "");
}

TEST(IndexTexts, ConformityLabelsByReference) {
    const char* expected[] = {"Conformity Index", "CI [Max dose]", "CI [Mean dose]",
                              "CI [Prescribed]",  "CI [D2.5%]",    "CI [D2.5cc]",
                              "CI [Dose 2.5 Gy]", "CI [Dose 2.5 %]"};
    for (int ci = 0; ci <= 7; ++ci) {
        SCOPED_TRACE(ci);
        EXPECT_EQ(IndexLabel(16, 0, ci, 2.5f), expected[ci]);
    }
    EXPECT_EQ(IndexLabel(16, 0, -1, 2.5f), "");
    EXPECT_EQ(IndexLabel(16, 0, 8, 2.5f), "");
    // The comparison names every reference alike; other kinds keep their labels.
    EXPECT_EQ(IndexLabel(16, 0, 5, 2.5f, IndexLabelStyle::Comparison), "Conformity Index");
    EXPECT_EQ(IndexLabel(16, 0, -1, 0, IndexLabelStyle::Comparison), "Conformity Index");
    EXPECT_EQ(IndexLabel(1, 95, 0, 0, IndexLabelStyle::Comparison), "D95% [Gy]");
}

TEST(IndexTexts, ParametersRoundToTwoDecimalsInShortestForm) {
    EXPECT_EQ(IndexLabel(0, 2.5f, 0, 0), "D2.5% [%]");
    EXPECT_EQ(IndexLabel(0, 95.3f, 0, 0), "D95.3% [%]");     // float 95.3000030... shows 95.3
    EXPECT_EQ(IndexLabel(6, 20.456f, 0, 0), "V20.46Gy [%]");  // rounded, not cut
    EXPECT_EQ(IndexLabel(6, 0.004f, 0, 0), "V0Gy [%]");
    EXPECT_EQ(IndexLabel(6, -0.004f, 0, 0), "V0Gy [%]");  // no "-0"
    EXPECT_EQ(IndexLabel(16, 0, 6, 100.0f), "CI [Dose 100 Gy]");
}

TEST(IndexTexts, ValuesShowTwoDecimalsOrNull) {
    EXPECT_EQ(IndexValueText(12), "12.00");
    EXPECT_EQ(IndexValueText(27.5f), "27.50");
    EXPECT_EQ(IndexValueText(50.004f), "50.00");
    EXPECT_EQ(IndexValueText(2.675f), "2.67");  // the float lies below the half
    EXPECT_EQ(IndexValueText(0.125f), "0.13");  // exact half goes away from zero
    EXPECT_EQ(IndexValueText(-0.001f), "0.00");
    EXPECT_EQ(IndexValueText(-1), "Null");
    EXPECT_EQ(IndexValueText(-1.001f), "-1.00");
    EXPECT_EQ(IndexValueText(0), "0.00");
}

TEST(IndexTexts, QuickKindTextsAndReferenceNames) {
    EXPECT_EQ(QuickIndexKindText(0), "D**%  ---  [%]");
    EXPECT_EQ(QuickIndexKindText(2), "D**cc  ---  [%]");
    EXPECT_EQ(QuickIndexKindText(3), "D**cc ---  [Gy]");  // one blank fewer, as the panel shows it
    EXPECT_EQ(QuickIndexKindText(7), "V**Gy  ---  [cc]");
    EXPECT_EQ(QuickIndexKindText(9), "mean dose [Gy]");
    EXPECT_EQ(QuickIndexKindText(16), "Conformity Index");
    EXPECT_EQ(QuickIndexKindText(17), "");
    EXPECT_EQ(ConformityReferenceName(0), "min dose");
    EXPECT_EQ(ConformityReferenceName(3), "Prescribed dose");
    EXPECT_EQ(ConformityReferenceName(7), "Dose [%]");
    EXPECT_EQ(ConformityReferenceName(-1), "");
}

}  // namespace
