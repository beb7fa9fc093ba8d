// The report page layout: positions, the column split, the page limits and the row choice.
#include "report/ReportLayout.h"
#include "report/ReportRowChoice.h"
#include "report/CommentTemplates.h"
#include "platform/IniFile.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Cells = std::vector<std::vector<std::string>>;

/// A list, its grid and a plan: `groups` gives the rows of each structure in turn; every row
/// has the label "D95%" and the value "12.34" unless changed afterwards.
struct ReportFixture {
    PlanListNameClass List;
    Cells Grid{{"Structure", "Index", "Value"}};
    std::vector<TColor> Colors;
    PDatasetClass Plan;
    std::vector<bool> PrintIndex, PrintStructure;

    explicit ReportFixture(const std::vector<int>& groups, int structures = 3) {
        for (std::size_t g = 0; g < groups.size(); ++g)
            for (int k = 0; k < groups[g]; ++k) AddRow("S" + std::to_string(g) + "[x]", "D95%", "12.34");
        Plan.PatientName = "Doe^Jane";
        Plan.PatientID = "P1";
        Plan.PlanID = "PL1";
        Plan.PlanName = "Prostate";
        Plan.Date = "2026/01/02";
        Plan.Time = "10:11:12";
        for (int s = 0; s < structures; ++s) AddStructure("Organ" + std::to_string(s));
    }
    void AddRow(const std::string& name, const std::string& label, const std::string& value) {
        IndexDataClass row;
        row.Name = name;
        List.IndexData.push_back(row);
        Grid.push_back({"", label, value});
        Colors.push_back(0);
        PrintIndex.push_back(true);
    }
    DVHDatasetClass& AddStructure(const std::string& name) {
        DVHDatasetClass s;
        s.Name = name;
        s.PrescribedDose = 50.06f;
        s.Volume = 80;
        s.MeanDoseGy = 12.345f;
        s.Color = RgbColor(200, 10, 10);
        Plan.DVHDataset.push_back(s);
        PrintStructure.push_back(true);
        return Plan.DVHDataset.back();
    }
    ReportPageLayout LayOut(double w = 840, double h = 1188) const {
        ReportPageInput in;
        in.Plan = &Plan;
        in.List = &List;
        in.GridCells = &Grid;
        in.RowColor = &Colors;
        in.PrintIndex = &PrintIndex;
        in.PrintStructure = &PrintStructure;
        in.CommentLine = {"Approved", "", "third"};
        in.CommentColor = RgbColor(0, 0, 255);
        in.Version = "Version 1.0.0";
        in.Width = w;
        in.Height = h;
        return LayOutReportPage(in);
    }
};

std::vector<PageText> Texts(const ReportPageLayout& layout) {
    std::vector<PageText> out;
    for (const PageOperation& op : layout.Page.Operations)
        if (const auto* t = std::get_if<PageText>(&op)) out.push_back(*t);
    return out;
}

template <class Op>
std::vector<Op> OpsOf(const ReportPageLayout& layout) {
    std::vector<Op> out;
    for (const PageOperation& op : layout.Page.Operations)
        if (const auto* t = std::get_if<Op>(&op)) out.push_back(*t);
    return out;
}

/// The texts equal to `text`, in drawing order.
std::vector<PageText> Find(const ReportPageLayout& layout, const std::string& text) {
    std::vector<PageText> out;
    for (const PageText& t : Texts(layout))
        if (t.Text == text) out.push_back(t);
    return out;
}

}  // namespace

TEST(ReportLayout, FixedPartsSitWhereThePageSaysAt840By1188) {
    ReportFixture f({}, 1);
    const ReportPageLayout page = f.LayOut();
    const auto charts = OpsOf<PageChart>(page);
    ASSERT_EQ(charts.size(), 1u);
    EXPECT_EQ(std::tie(charts[0].Left, charts[0].Top, charts[0].Right, charts[0].Bottom),
              std::make_tuple(16, 11, 840, 534));
    const auto lines = OpsOf<PageLine>(page);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(std::tie(lines[0].X1, lines[0].Y1, lines[0].X2, lines[0].Y2), std::make_tuple(42, 550, 798, 550));
    EXPECT_EQ(lines[0].Width, 2);
    // No index row: the table bottom stays at 0.48 H = 570.24, so the structure header sits at
    // trunc(47.52 + 570.24) = 617 and its line at trunc(65.34 + 570.24) = 635.
    EXPECT_EQ(lines[1].Y1, 635);
    const auto titles = Find(page, "Index");
    ASSERT_EQ(titles.size(), 2u);
    EXPECT_EQ(std::tie(titles[0].X, titles[0].Y, titles[1].X), std::make_tuple(201, 531, 588));
    EXPECT_TRUE(titles[0].Bold);
    EXPECT_EQ(Find(page, "Min[Gy]").at(0).Y, 617);
    EXPECT_EQ(Find(page, "Min[Gy]").at(0).X, 313);  // 0.373 W
    EXPECT_EQ(Find(page, "Patient Name").at(0).Y, 1104);
    const PageText plan = Find(page, ": PL1 - Prostate").at(0);
    EXPECT_EQ(std::tie(plan.X, plan.Y, plan.PointSize), std::make_tuple(210, 1161, 11));
    EXPECT_EQ(Find(page, ": 2026/01/02 10:11:12").size(), 1u);
    // The dose is the first structure's, one decimal, not rounded to two first.
    EXPECT_EQ(Find(page, "Prescribed dose = 50.1 [Gy]").at(0).X, 575);
    EXPECT_EQ(Find(page, "Approved").at(0).Color, RgbColor(0, 0, 255));
    EXPECT_EQ(Find(page, "third").at(0).Y, 1161);  // the third comment line, 0.978 H
    const PageText footer = Find(page, "Tessaray - Version 1.0.0").at(0);
    EXPECT_EQ(std::tie(footer.X, footer.Y, footer.PointSize, footer.Color), std::make_tuple(705, 1176, 7, 0));
    EXPECT_FALSE(page.TooManyIndexRows || page.StructuresLeftOff);
    EXPECT_EQ(ReportMessage(page).Text, "");
}

TEST(ReportLayout, GroupsOfThreeTwoAndFourSplitTwoLeftOneRight) {
    EXPECT_EQ(ReportSplitGroup({3, 2, 4}), 1);
    EXPECT_EQ(ReportSplitGroup({5}), 0);
    EXPECT_EQ(ReportSplitGroup({}), 0);
    ReportFixture f({3, 2, 4});
    f.Grid[2][2] = "Null";  // printed like any value
    f.Colors[4] = RgbColor(255, 0, 0);
    const ReportPageLayout page = f.LayOut();
    // Left: S0 on lines 0-2 (y 552, 570, 588), S1 one gap lower on lines 3-4 (0.514 H = 610,
    // 0.529 H = 628); right: S2 on lines 0-3 from 552. Names are cut before "[".
    const auto s0 = Find(page, "S0"), s1 = Find(page, "S1"), s2 = Find(page, "S2");
    ASSERT_EQ(s0.size() + s1.size() + s2.size(), 3u);  // on a group's first row only
    EXPECT_EQ(std::tie(s0[0].X, s0[0].Y), std::make_tuple(63, 552));
    EXPECT_EQ(std::tie(s1[0].X, s1[0].Y), std::make_tuple(63, 610));
    EXPECT_EQ(std::tie(s2[0].X, s2[0].Y), std::make_tuple(449, 552));
    std::vector<std::tuple<int, int>> values;
    for (const PageText& t : Texts(page))
        if (t.Text == "12.34" || t.Text == "Null") values.emplace_back(t.X, t.Y);
    // Values of up to 8 characters are right-aligned: 5 characters at trunc(0.385 W + 3 x
    // 0.009 W) = 346 (left) and 732 (right); "Null" one step further right.
    const std::vector<std::tuple<int, int>> expected = {
        {346, 552}, {353, 570}, {346, 588}, {346, 610}, {346, 628}, {732, 552}, {732, 570}, {732, 588}, {732, 605}};
    EXPECT_EQ(values, expected);
    EXPECT_EQ(Find(page, "12.34").at(3).Color, RgbColor(255, 0, 0));  // row 4's broken constraint
    EXPECT_EQ(Find(page, "D95%").at(0).X, 201);
    // The table bottom is the lowest row (628.452): the structure header follows at 675.
    EXPECT_EQ(Find(page, "Max[%]").at(0).Y, 675);
}

TEST(ReportLayout, FortyNineRowsAreDrawnFiftyAreRefusedWithTheirBitsCleared) {
    ReportFixture fits(std::vector<int>(7, 7));
    const ReportPageLayout drawn = fits.LayOut();
    EXPECT_EQ(Find(drawn, "12.34").size(), 49u);
    EXPECT_FALSE(drawn.TooManyIndexRows);

    ReportFixture over({7, 7, 7, 7, 7, 7, 8}, 2);
    const ReportPageLayout refused = over.LayOut();
    EXPECT_TRUE(refused.TooManyIndexRows);
    EXPECT_TRUE(Find(refused, "12.34").empty());
    EXPECT_EQ(Find(refused, "Value").size(), 2u);  // the titles stay
    EXPECT_EQ(refused.ClearIndexBits.size(), 50u);
    EXPECT_EQ(refused.ClearIndexBits.back(), 49);
    // The table bottom becomes H: no structure header, every structure left off.
    EXPECT_TRUE(Find(refused, "Min[Gy]").empty());
    EXPECT_EQ(refused.ClearStructureBits, (std::vector<int>{0, 1}));
    EXPECT_EQ(ReportMessage(refused).Text, "The number of Index is too much.");
    EXPECT_EQ(ReportMessage(refused).Caption, "Error");
    std::vector<bool> mask(50, true);
    ClearMaskBits(mask, refused.ClearIndexBits);
    EXPECT_EQ(std::count(mask.begin(), mask.end(), true), 0);

    // A single group of 35 rows would run into the patient block: too many as well; 30 fit.
    EXPECT_TRUE(ReportFixture({35}).LayOut().TooManyIndexRows);
    EXPECT_FALSE(ReportFixture({30}).LayOut().TooManyIndexRows);
}

TEST(ReportLayout, StructuresBelowTheLastLineAreLeftOffAndLongNamesTakeTwoLines) {
    ReportFixture f({}, 30);
    const ReportPageLayout page = f.LayOut();
    // Row m starts at (m x 0.014 + 0.06) H + 570.24; from m = 27 that is at or below 0.915 H.
    EXPECT_EQ(Find(page, "Organ26").size(), 1u);
    EXPECT_TRUE(Find(page, "Organ27").empty());
    EXPECT_EQ(page.ClearStructureBits, (std::vector<int>{27, 28, 29}));
    EXPECT_EQ(ReportMessage(page).Caption, "Caution");
    EXPECT_EQ(ReportMessage(page).Text, "Cannot print all structure list.");

    ReportFixture names({}, 0);
    names.AddStructure("ABCDEFGHIJKLMNOPQRSTUV[1234]");  // 28 characters, "[" the 23rd
    names.AddStructure("A_name_without_any_bracket_30c");
    names.AddStructure("Hidden").Visible = false;
    const ReportPageLayout split = names.LayOut();
    const PageText head = Find(split, "ABCDEFGHIJKLMNOPQRSTUV").at(0);
    const PageText tail = Find(split, "[1234]").at(0);
    EXPECT_EQ(std::tie(head.X, head.Y, head.PointSize), std::make_tuple(58, 641, 9));
    EXPECT_EQ(std::tie(tail.X, tail.Y, tail.PointSize), std::make_tuple(67, 658, 7));
    // The second structure starts one line lower (m = 2) and writes its whole name below.
    const PageText whole = Find(split, "A_name_without_any_bracket_30c").at(0);
    EXPECT_EQ(std::tie(whole.X, whole.Y, whole.PointSize), std::make_tuple(67, 691, 7));
    for (const PageText& t : Texts(split)) EXPECT_FALSE(t.X == 58 && t.Y == 674) << t.Text;
    // Colour squares: the first at (44, 643)-(53, 653); none for the hidden structure, whose
    // values are still written.
    const auto squares = OpsOf<PageRectangle>(split);
    ASSERT_EQ(squares.size(), 2u);
    EXPECT_EQ(std::tie(squares[0].Left, squares[0].Top, squares[0].Right, squares[0].Bottom),
              std::make_tuple(44, 643, 53, 653));
    EXPECT_EQ(squares[0].Color, RgbColor(200, 10, 10));
    EXPECT_EQ(Find(split, "Hidden").size(), 1u);
    EXPECT_EQ(Find(split, "80.00").size(), 3u);
    EXPECT_EQ(Find(split, "80.00").at(0).X, 236);  // trunc(0.255 W + 3 x 0.009 W)
    EXPECT_EQ(Find(split, "12.35").size(), 3u);     // 12.345 rounded half away from zero
}

TEST(ReportLayout, AtSixHundredDpiTheSameRowsAndFlags) {
    // 600 units per inch on 203 x 290 mm printable.
    const double w = 600 / 25.4 * 203, h = 600 / 25.4 * 290;
    for (const auto& groups : {std::vector<int>(7, 7), std::vector<int>{7, 7, 7, 7, 7, 7, 8}}) {
        ReportFixture f(groups, 30);
        const ReportPageLayout screen = f.LayOut(), paper = f.LayOut(w, h);
        EXPECT_EQ(Texts(screen).size(), Texts(paper).size());
        EXPECT_EQ(paper.TooManyIndexRows, screen.TooManyIndexRows);
        EXPECT_EQ(paper.ClearIndexBits, screen.ClearIndexBits);
        EXPECT_EQ(paper.ClearStructureBits, screen.ClearStructureBits);
    }
    const auto chart = OpsOf<PageChart>(ReportFixture({}).LayOut(w, h)).at(0);
    EXPECT_EQ(std::tie(chart.Left, chart.Right), std::make_tuple(95, 4795));
}

TEST(ReportLayout, NoPlanIsABlankPageAndAPlanWithoutStructuresHasNoDose) {
    ReportPageInput none;
    EXPECT_TRUE(LayOutReportPage(none).Page.Operations.empty());
    ReportFixture f({2}, 0);
    EXPECT_EQ(Find(f.LayOut(), "Prescribed dose = - [Gy]").size(), 1u);
}

TEST(ReportLayout, MasksOutOfStepWithTheListReadSafely) {
    ReportFixture f({2, 1}, 3);
    f.List.IndexData[1].IndexPrint = false;
    f.PrintIndex = {true};          // rows 1 and 2 have no bit: their IndexPrint decides
    f.PrintStructure = {false};     // structures 1 and 2 have no bit: printed
    f.Grid.push_back({"", "extra", "1.00"});  // a grid row the list does not have
    const ReportPageLayout page = f.LayOut();
    EXPECT_EQ(Find(page, "12.34").size(), 2u);  // rows 0 and 2
    EXPECT_TRUE(Find(page, "1.00").empty());
    EXPECT_TRUE(Find(page, "Organ0").empty());
    EXPECT_EQ(Find(page, "Organ2").size(), 1u);
    // Rows without a value (empty list rows) are never taken.
    f.Grid[1][2] = "";
    EXPECT_EQ(Find(f.LayOut(), "12.34").size(), 1u);
}

TEST(ReportRowChoice, StartsFromTheListsPrintFlagsAndEveryStructure) {
    ReportFixture f({1}, 2);
    f.AddRow("", "", "");
    f.List.IndexData[1].IndexPrint = false;
    f.Plan.DVHDataset[1].ModifiedName = "Alias";
    const ReportRowChoice choice = PrepareReportRows(f.List, f.Grid, f.Plan);
    EXPECT_EQ(choice.IndexItems, (std::vector<std::string>{"S0[x] / D95%", "     NULL"}));
    EXPECT_EQ(choice.PrintIndex, (std::vector<bool>{true, false}));
    EXPECT_EQ(choice.StructureItems, (std::vector<std::string>{"Organ0", "Organ1"}));
    EXPECT_EQ(choice.PrintStructure, (std::vector<bool>{true, true}));
    EXPECT_TRUE(ReportIndexRowPrinted({}, &f.List, 0));
    EXPECT_FALSE(ReportIndexRowPrinted({true, true, true}, &f.List, 2));  // no such list row
    EXPECT_FALSE(ReportIndexRowPrinted({true}, nullptr, 0));
    EXPECT_TRUE(ReportStructurePrinted({false}, 1));
}

TEST(CommentTemplates, ACountBeyondTheFilesSectionsIsNotTrusted) {
    platform::IniFile ini;
    ini.Parse("[Comment]\nCount=2000000000\n[Comment0]\nText0=a\n[comment1]\nText2=c\n");
    const std::vector<ComClass> templates = ReadCommentTemplates(ini);
    ASSERT_EQ(templates.size(), 2u);
    EXPECT_EQ(templates[1].Line[2], "c");
    EXPECT_EQ(CommentLinesOf("x\n\ny\nz")[2], "y");
    EXPECT_EQ(SplitCommentLines("a\n").size(), 2u);  // a line break starts a second line
}
