// The single-plan report page laid out as drawing operations.
#include "report/ReportLayout.h"

#include "dvh/RoundToDigits.h"
#include "report/ReportRowChoice.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int MaxIndexRows = 49;
// The statistics table and the index rows stay above the patient block.
constexpr double LastLine = 0.915;

std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string BeforeBracket(const std::string& name) { return name.substr(0, name.find('[')); }

const std::string& Cell(const std::vector<std::vector<std::string>>& cells, std::size_t row, std::size_t col) {
    static const std::string empty;
    return row < cells.size() && col < cells[row].size() ? cells[row][col] : empty;
}

class PageWriter {
public:
    PageWriter(PageDrawing& page) : m_page(page) {}
    int X(double fraction) const { return PageUnit(fraction, m_page.Width); }
    int Y(double fraction) const { return PageUnit(fraction, m_page.Height); }
    void Text(int x, int y, std::string text, int points, bool bold = false, TColor color = 0) {
        Text(PageText{x, y, std::move(text), points, bold, color, true});
    }
    void Text(PageText text) { m_page.Operations.push_back(std::move(text)); }
    void Line(int x1, int y1, int x2, int y2) {
        m_page.Operations.push_back(PageLine{x1, y1, x2, y2, 2, 0});
    }
    void Fill(int left, int top, int right, int bottom, TColor color) {
        m_page.Operations.push_back(PageRectangle{left, top, right, bottom, color});
    }
    void Chart(int left, int top, int right, int bottom) {
        m_page.Operations.push_back(PageChart{left, top, right, bottom, 0});
    }
    double W() const { return m_page.Width; }
    double H() const { return m_page.Height; }

private:
    PageDrawing& m_page;
};

struct IndexTable {
    std::vector<tempRepo> Groups;
    int Taken = 0;
};

// The rows the report takes from the grid, grouped by the list row's structure name.
IndexTable CollectIndexRows(const ReportPageInput& in) {
    IndexTable table;
    if (!in.List || !in.GridCells) return table;
    const auto& cells = *in.GridCells;
    const auto& rows = in.List->IndexData;
    for (std::size_t r = 1; r < cells.size(); ++r) {
        const std::size_t i = r - 1;
        // A grid row without a list row belongs to no structure: the grid and the list fell
        // out of step while the window was open.
        if (i >= rows.size()) break;
        static const std::vector<bool> none;
        if (!ReportIndexRowPrinted(in.PrintIndex ? *in.PrintIndex : none, in.List, i)) continue;
        if (Cell(cells, r, 2).empty()) continue;
        ++table.Taken;
        tempRepo* group = nullptr;
        for (tempRepo& g : table.Groups)
            if (g.StructureName == rows[i].Name) group = &g;
        if (!group) {
            table.Groups.push_back({});
            group = &table.Groups.back();
            group->StructureName = rows[i].Name;
        }
        group->IndexLabel.push_back(Cell(cells, r, 1));
        group->IndexValue.push_back(Cell(cells, r, 2));
        group->ValueColor.push_back(in.RowColor && i < in.RowColor->size() ? (*in.RowColor)[i] : 0);
    }
    return table;
}

// The y fraction of a row: `line` lines and `group` group gaps below the first row.
double IndexRowFraction(int line, int group) { return line * 0.015 + 0.465 + group * 0.004; }

// Whether every row of both columns starts above the patient block.
bool IndexColumnsFit(const std::vector<tempRepo>& groups, int split) {
    int line = 0, gi = 0;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        if (static_cast<int>(g) == split + 1) line = 0, gi = 0;
        const int last = line + groups[g].ItemCount() - 1;
        if (IndexRowFraction(last, gi) >= LastLine) return false;
        line += groups[g].ItemCount();
        ++gi;
    }
    return true;
}

void DrawIndexColumn(PageWriter& page, const std::vector<tempRepo>& groups, std::size_t first,
                     std::size_t end, bool right, float& tableBottom) {
    const double nameX = right ? 0.535 : 0.075;
    const double labelX = right ? 0.7 : 0.24;
    const double valueX = right ? 0.845 : 0.385;
    int line = 0, gi = 0;
    for (std::size_t g = first; g < end; ++g, ++gi) {
        const tempRepo& group = groups[g];
        for (int k = 0; k < group.ItemCount(); ++k) {
            const double yExact = IndexRowFraction(line, gi) * page.H();
            const int y = static_cast<int>(yExact);
            if (k == 0) {
                std::string name = BeforeBracket(group.StructureName);
                if (!name.empty()) page.Text(page.X(nameX), y, std::move(name), 10);
            }
            page.Text(page.X(labelX), y, group.IndexLabel[k], 10);
            const std::string& value = group.IndexValue[k];
            const double length = static_cast<double>(value.size());
            page.Text(static_cast<int>(valueX * page.W() + (8 - length) * 0.009 * page.W()), y, value, 10,
                      false, group.ValueColor[k]);
            if (yExact > tableBottom) tableBottom = static_cast<float>(yExact);
            ++line;
        }
    }
}

struct StatisticColumn {
    double Base;
    float DVHDatasetClass::*Value;
};

void DrawStructureTable(PageWriter& page, const ReportPageInput& in, float tableBottom,
                        ReportPageLayout& out) {
    const double W = page.W(), H = page.H();
    if (0.855 * H > tableBottom) {
        const int y = static_cast<int>(0.04 * H + tableBottom);
        static const std::pair<const char*, double> headers[] = {
            {"    Structure", 0.05}, {"  Volume[cc]  ", 0.235}, {"Min[Gy]", 0.373}, {"Max[Gy]", 0.473},
            {"Mean[Gy]", 0.573},     {"Min[%]", 0.685},         {"Max[%]", 0.7775}, {"Mean[%]", 0.87}};
        for (const auto& [text, x] : headers) page.Text(page.X(x), y, text, 9, true);
        const int lineY = static_cast<int>(0.055 * H + tableBottom);
        page.Line(page.X(0.05), lineY, page.X(0.95), lineY);
    }
    static const StatisticColumn columns[] = {
        {0.255, &DVHDatasetClass::Volume},        {0.36, &DVHDatasetClass::MinDoseGy},
        {0.465, &DVHDatasetClass::MaxDoseGy},     {0.572, &DVHDatasetClass::MeanDoseGy},
        {0.67, &DVHDatasetClass::MinDosePercent}, {0.765, &DVHDatasetClass::MaxDosePercent},
        {0.862, &DVHDatasetClass::MeanDosePercent}};
    int row = 0, extra = 0;
    const auto& structures = in.Plan->DVHDataset;
    for (std::size_t s = 0; s < structures.size(); ++s) {
        if (in.PrintStructure && !ReportStructurePrinted(*in.PrintStructure, s)) continue;
        const DVHDatasetClass& st = structures[s];
        const int m = row + extra;
        const double yExact = (m * 0.014 + 0.06) * H + tableBottom;
        if (yExact >= LastLine * H) {
            out.ClearStructureBits.push_back(static_cast<int>(s));
            out.StructuresLeftOff = true;
            continue;
        }
        const int y = static_cast<int>(yExact);
        if (st.Visible)
            page.Fill(page.X(0.0535), static_cast<int>((m * 0.014 + 0.062) * H + tableBottom), page.X(0.0635),
                      static_cast<int>(((m + 1) * 0.014 + 0.056) * H + tableBottom), st.Color);
        for (const StatisticColumn& c : columns) {
            std::string text = Fixed(RoundToDigits(st.*c.Value, 2), 2);
            const double length = static_cast<double>(text.size());
            page.Text(static_cast<int>(W * c.Base + (8 - length) * 0.009 * W), y, std::move(text), 9);
        }
        if (st.Name.size() <= 25) {
            page.Text(page.X(0.07), y, st.Name, 9);
        } else {
            const std::size_t bracket = st.Name.find('[');
            std::string head = bracket == std::string::npos ? std::string() : st.Name.substr(0, bracket);
            if (!head.empty()) page.Text(page.X(0.07), y, std::move(head), 9);
            ++extra;
            const int nextY = static_cast<int>(((m + 1) * 0.014 + 0.06) * H + tableBottom);
            page.Text(page.X(0.08), nextY, bracket == std::string::npos ? st.Name : st.Name.substr(bracket), 7);
        }
        ++row;
    }
}

// Whether `footer` can stand on the page clear of the comment. It keeps its place unless the
// comment's last line runs into it (the block's lines come within a footer's height of the
// page's foot, so the footer cannot go below them); it then moves left along the bottom line
// to end a little before the comment block, and where the plan line leaves it no room there
// it is left off: the user's comment is never written over.
bool PlaceFooter(PageText& footer, const std::vector<PageText>& comment, const PageText& planLine,
                 const PageTextMeasure& measure, int gap) {
    if (!measure || comment.empty()) return true;
    const PageBox box = measure(footer);
    bool clash = false;
    for (const PageText& line : comment) clash = clash || measure(line).Meets(box);
    if (!clash) return true;
    footer.X -= box.Right - (comment.front().X - gap);
    PageBox moved = measure(footer);
    moved.Left -= gap;
    return moved.Left >= 0 && !moved.Meets(measure(planLine));
}

void DrawPatientBlock(PageWriter& page, const ReportPageInput& in) {
    const PDatasetClass& plan = *in.Plan;
    const double rows[] = {0.93, 0.946, 0.962, 0.978};
    const char* titles[] = {"Patient Name", "Patient ID", "Date", "Plan"};
    const std::string values[] = {": " + plan.PatientName, ": " + plan.PatientID,
                                  ": " + plan.Date + " " + plan.Time, ": " + plan.PlanID + " - " + plan.PlanName};
    for (int i = 0; i < 4; ++i) {
        page.Text(page.X(0.07), page.Y(rows[i]), titles[i], 11);
        page.Text(page.X(0.25), page.Y(rows[i]), values[i], 11);
    }
    page.Text(page.X(0.685), page.Y(0.93), "Prescribed dose = " + ReportPrescribedDose(plan) + " [Gy]", 11);
    std::vector<PageText> comment;
    for (int i = 0; i < 3; ++i)
        if (!in.CommentLine[i].empty()) {
            comment.push_back({page.X(0.685), page.Y(rows[i + 1]), in.CommentLine[i], 11, false, in.CommentColor});
            page.Text(comment.back());
        }
    PageText footer{page.X(0.84), page.Y(0.99), "Tessaray - " + in.Version, 7};
    const PageText planLine{page.X(0.25), page.Y(rows[3]), values[3], 11};
    if (PlaceFooter(footer, comment, planLine, in.Measure, page.X(0.01))) page.Text(std::move(footer));
}

}  // namespace

int ReportSplitGroup(const std::vector<int>& itemCounts) {
    int n = 0;
    for (int count : itemCounts) n += count;
    std::vector<int> balance;
    int sum = 0;
    for (int count : itemCounts) {
        sum += count;
        balance.push_back(std::abs(static_cast<int>(std::trunc(sum - (n + 1) * 0.5))));
    }
    int split = 0;
    for (std::size_t g = 1; g < balance.size(); ++g)
        if (balance[g] < balance[g - 1]) split = static_cast<int>(g);
    return split;
}

ReportPageLayout LayOutReportPage(const ReportPageInput& in) {
    ReportPageLayout out;
    out.Page.Width = in.Width;
    out.Page.Height = in.Height;
    // Without a plan there is nothing to report: a blank page.
    if (!in.Plan) return out;
    PageWriter page(out.Page);
    const double W = in.Width, H = in.Height;

    const IndexTable table = CollectIndexRows(in);
    const int n = table.Taken;
    out.TakenIndexRows = n;
    std::vector<int> counts;
    for (const tempRepo& g : table.Groups) counts.push_back(g.ItemCount());
    const int split = ReportSplitGroup(counts);

    page.Chart(page.X(0.02), page.Y(0.01), static_cast<int>(W), page.Y(0.45));

    page.Line(page.X(0.05), page.Y(0.463), page.X(0.95), page.Y(0.463));
    const auto& header = in.GridCells && !in.GridCells->empty() ? in.GridCells->front() : std::vector<std::string>();
    for (int c = 0; c < 3; ++c) {
        const std::string title = c < static_cast<int>(header.size()) ? header[c] : std::string();
        const double left[] = {0.075, 0.24, 0.41}, right[] = {0.535, 0.7, 0.87};
        page.Text(page.X(left[c]), page.Y(0.447), title, 10, true);
        page.Text(page.X(right[c]), page.Y(0.447), title, 10, true);
    }

    float tableBottom = static_cast<float>(0.48 * H);
    // A group never splits across the columns, so one long group can reach the patient block
    // with fewer than 50 rows; it is refused as too many rather than printed over it.
    const bool fits = n < MaxIndexRows + 1 && IndexColumnsFit(table.Groups, split);
    if (n > 0 && fits) {
        const std::size_t leftEnd = std::min(table.Groups.size(), static_cast<std::size_t>(split) + 1);
        DrawIndexColumn(page, table.Groups, 0, leftEnd, false, tableBottom);
        DrawIndexColumn(page, table.Groups, leftEnd, table.Groups.size(), true, tableBottom);
    } else if (n > 0) {
        out.TooManyIndexRows = true;
        tableBottom = static_cast<float>(H);
        const int gridRows = in.GridCells ? static_cast<int>(in.GridCells->size()) : 0;
        for (int bit = 0; bit <= gridRows - 2; ++bit) out.ClearIndexBits.push_back(bit);
    }

    DrawStructureTable(page, in, tableBottom, out);
    DrawPatientBlock(page, in);
    return out;
}

void ClearMaskBits(std::vector<bool>& mask, const std::vector<int>& bits) {
    for (int bit : bits)
        if (bit >= 0 && static_cast<std::size_t>(bit) < mask.size()) mask[static_cast<std::size_t>(bit)] = false;
}

ReportPageMessage ReportMessage(const ReportPageLayout& layout) {
    if (layout.TooManyIndexRows) return {"The number of Index is too much.", "Error"};
    if (layout.StructuresLeftOff) return {"Cannot print all structure list.", "Caution"};
    return {};
}

std::string ReportPrescribedDose(const PDatasetClass& plan) {
    if (plan.DVHDataset.empty()) return "-";
    return Fixed(plan.DVHDataset.front().PrescribedDose, 1);
}
