// The comparison report page as recorded drawing operations: positions, rows, gaps, patients.
#include "compare/ComparisonPage.h"

#include <gtest/gtest.h>

namespace {

std::vector<PageText> Texts(const PageDrawing& page) {
    std::vector<PageText> texts;
    for (const PageOperation& op : page.Operations)
        if (const auto* t = std::get_if<PageText>(&op)) texts.push_back(*t);
    return texts;
}

const PageText* Find(const std::vector<PageText>& texts, const std::string& text) {
    for (const PageText& t : texts)
        if (t.Text == text) return &t;
    return nullptr;
}

/// The last text `text` (the legend comes after the table's titles).
const PageText* FindLast(const std::vector<PageText>& texts, const std::string& text) {
    const PageText* found = nullptr;
    for (const PageText& t : texts)
        if (t.Text == text) found = &t;
    return found;
}

int Count(const std::vector<PageText>& texts, const std::string& text) {
    int n = 0;
    for (const PageText& t : texts) n += t.Text == text;
    return n;
}

/// A table of `rows` index rows named `names` (cycled), every plan column holding "1.00".
struct PageCase {
    PlanListNameClass list;
    ComparisonTable table;
    std::vector<PDatasetClass> plans;
    ComparisonPageInput input;
    std::vector<bool> checks;

    PageCase(int rows, int plans, std::vector<std::string> names = {"PTV"}) {
        this->plans.resize(static_cast<std::size_t>(plans));
        for (int p = 0; p < plans; ++p) {
            PDatasetClass& plan = this->plans[static_cast<std::size_t>(p)];
            plan.PlanID = "Plan" + std::to_string(p + 1);
            plan.PatientID = "P1";
            plan.PatientName = "Doe";
            plan.DVHDataset.resize(1);
            plan.DVHDataset[0].PrescribedDose = 60;
        }
        table.Cells.assign(static_cast<std::size_t>(rows + 1),
                           std::vector<std::string>(static_cast<std::size_t>(2 + plans), "1.00"));
        table.Cells[0][0] = "Structure";
        table.Cells[0][1] = "Index";
        for (int p = 0; p < plans; ++p) table.Cells[0][static_cast<std::size_t>(2 + p)] = "Plan" + std::to_string(p + 1);
        table.RowColor.assign(static_cast<std::size_t>(plans), std::vector<TColor>(static_cast<std::size_t>(rows), 0));
        for (int r = 0; r < rows; ++r) {
            IndexDataClass row;
            row.Name = names[static_cast<std::size_t>(r) % names.size()];
            list.IndexData.push_back(row);
            table.Cells[static_cast<std::size_t>(r + 1)][1] = "Max dose [Gy]";
        }
        checks.assign(static_cast<std::size_t>(rows), true);
        input.List = &list;
        input.Table = &table;
        for (const PDatasetClass& plan : this->plans) input.Plans.push_back(&plan);
        input.PositionColor = {0x0000FF, 0x00FF00, 0xFF0000, 0xFF00FF, 0x008000, 0xFFFF00};
        input.Version = "Version 1.0.0";
    }
    PageDrawing Lay(int style = 1, double w = 840, double h = 1188) {
        input.ReportStyle = style;
        return LayoutComparisonPage(input, w, h, checks);
    }
};

}  // namespace

TEST(ComparisonPage, PixelPositionsOnThePreviewAndOnA600DpiPrinter) {
    PageCase c(3, 2);
    const PageDrawing page = c.Lay();
    const auto* a = std::get_if<PageChart>(&page.Operations[0]);
    const auto* d = std::get_if<PageChart>(&page.Operations[3]);
    ASSERT_TRUE(a && d);
    EXPECT_EQ((std::array<int, 4>{a->Left, a->Top, a->Right, a->Bottom}), (std::array<int, 4>{16, 11, 420, 321}));
    EXPECT_EQ((std::array<int, 4>{d->Left, d->Top, d->Right, d->Bottom}), (std::array<int, 4>{436, 356, 840, 677}));
    const auto texts = Texts(page);
    EXPECT_EQ(Find(texts, "Structure")->Y, 712);
    EXPECT_TRUE(Find(texts, "Structure")->Bold);
    EXPECT_EQ(Find(texts, "PTV")->Y, 735);
    const PageText* footer = Find(texts, "Tessaray - Version 1.0.0");
    EXPECT_EQ(footer->X, 705);
    EXPECT_EQ(footer->Y, 1176);
    EXPECT_EQ(footer->PointSize, 7);
    for (const PageOperation& op : page.Operations) {
        if (const auto* line = std::get_if<PageLine>(&op)) {
            EXPECT_EQ(line->Y1, 730);
        }
    }
    // A plan ID of 10 characters starts at its column's edge: 0.32 x 840 = 268.8.
    c.table.Cells[0][2] = "ABCDEFGHIJ";
    EXPECT_EQ(Find(Texts(c.Lay()), "ABCDEFGHIJ")->X, 268);

    const PageDrawing printed = c.Lay(1, 600 * 200 / 25.4, 600 * 287 / 25.4);
    const auto* pa = std::get_if<PageChart>(&printed.Operations[0]);
    EXPECT_EQ((std::array<int, 4>{pa->Left, pa->Top, pa->Right, pa->Bottom}), (std::array<int, 4>{94, 67, 2362, 1837}));
    EXPECT_EQ(Find(Texts(printed), "Tessaray - Version 1.0.0")->X, 3968);
    EXPECT_EQ(Find(Texts(printed), "Tessaray - Version 1.0.0")->Y, 6711);
}

TEST(ComparisonPage, RowsThatFitPerStyleAndTheChecksOfRowsThatDoNot) {
    const int fit[6] = {0, 19, 9, 39, 34, 56};
    for (int style = 1; style <= 5; ++style) {
        PageCase c(60, 1);
        EXPECT_EQ(Count(Texts(c.Lay(style)), "Max dose [Gy]"), fit[style]) << style;
        EXPECT_TRUE(c.checks[static_cast<std::size_t>(fit[style]) - 1]);
        EXPECT_FALSE(c.checks[static_cast<std::size_t>(fit[style])]);
        EXPECT_FALSE(c.checks.back());
    }
    PageCase style5(3, 1);
    EXPECT_EQ(Find(Texts(style5.Lay(5)), "Structure")->Y, static_cast<int>(0.055f * 1188));
    EXPECT_EQ(Count(Texts(style5.Lay(5)), "Comparison of DVH - "), 0);
    EXPECT_EQ(Count(Texts(style5.Lay(2)), "Comparison of DVH - "), 2);
}

TEST(ComparisonPage, NamesOnceCutBeforeTheBracketAndOneGapPerRunOfLeftOutRows) {
    PageCase c(6, 2, {"PTV [1]", "PTV [1]", "x", "x", "x", "Rectum"});
    c.checks[2] = false;               // unchecked
    c.table.Cells[4][1] = "";          // no index label
    c.table.Cells[5][2] = c.table.Cells[5][3] = "";  // no value
    const auto texts = Texts(c.Lay());
    ASSERT_EQ(Count(texts, "PTV "), 1);
    EXPECT_EQ(Count(texts, "Max dose [Gy]"), 3);
    // Rows 1 and 2 at 0.619 and 0.634, then one gap for rows 3-5: Rectum at 0.653.
    EXPECT_EQ(Find(texts, "Rectum")->Y, static_cast<int>((0.619f + 0.03 + 0.004) * 1188));

    PageCase shortList(3, 1);
    shortList.checks = {true};
    EXPECT_EQ(Count(Texts(shortList.Lay()), "Max dose [Gy]"), 1);
    PageCase leading(3, 1);
    leading.checks[0] = false;
    EXPECT_EQ(Find(Texts(leading.Lay()), "Max dose [Gy]")->Y, 735);
}

TEST(ComparisonPage, PatientBlockDoseLineAndFivePlansAtMost) {
    PageCase same(1, 2);
    same.plans[0].DVHDataset[0].PrescribedDose = 60.04f;
    EXPECT_NE(Find(Texts(same.Lay()), "Prescribed dose = 60.0 [Gy]"), nullptr);
    same.plans[1].DVHDataset[0].PrescribedDose = 60.1f;
    EXPECT_EQ(Count(Texts(same.Lay()), "Prescribed dose = 60.0 [Gy]"), 0);
    same.plans[1].DVHDataset.clear();  // no structures: no known dose
    same.plans[0].DVHDataset[0].PrescribedDose = 60;
    EXPECT_EQ(Count(Texts(same.Lay()), "Prescribed dose = 60.0 [Gy]"), 0);
    EXPECT_EQ(FindLast(Texts(same.Lay()), "Plan2")->X, static_cast<int>(0.59 * 840));

    PageCase two(1, 2);
    two.plans[1].PatientID = "P2";
    const auto texts = Texts(two.Lay());
    EXPECT_EQ(Count(texts, "Patient Name"), 0);
    EXPECT_NE(Find(texts, " / P2 , Doe"), nullptr);
    EXPECT_EQ(FindLast(texts, "Plan2")->X, static_cast<int>(0.105 * 840));

    PageCase eleven(1, 11);
    const PageDrawing page = eleven.Lay();
    int boxes = 0;
    for (const PageOperation& op : page.Operations) boxes += std::holds_alternative<PageRectangle>(op);
    EXPECT_EQ(boxes, 5);
    EXPECT_EQ(Count(Texts(page), "1.00"), 5);
    EXPECT_EQ(Count(Texts(page), "Plan6"), 0);
    // Only the sixth plan holds a value: the row is empty on the page.
    for (int c = 2; c <= 6; ++c) eleven.table.Cells[1][static_cast<std::size_t>(c)] = "";
    EXPECT_EQ(Count(Texts(eleven.Lay()), "Max dose [Gy]"), 0);

    PageCase none(1, 0);
    EXPECT_EQ(Count(Texts(none.Lay()), "Patient Name"), 0);
}
