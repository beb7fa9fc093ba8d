// Laying out the comparison report page.
#include "compare/ComparisonPage.h"

#include "compare/ComparisonCurves.h"
#include "dvh/NumberText.h"

#include <algorithm>

namespace {

struct Layout {
    std::array<double, 4> charts[4];
    double captions[4][2];
    float tableTop;
};

const Layout& LayoutOf(int style) {
    static const Layout layouts[5] = {
        {{{0.02, 0.01, 0.5, 0.271}, {0.52, 0.01, 1, 0.271}, {0.02, 0.3, 0.5, 0.57}, {0.52, 0.3, 1, 0.57}},
         {{0.07, 0.27}, {0.57, 0.27}, {0.07, 0.57}, {0.57, 0.57}},
         0.6f},
        {{{0.02, 0.01, 1, 0.351}, {0.02, 0.38, 1, 0.73}, {}, {}},
         {{0.27, 0.35}, {0.27, 0.73}, {}, {}},
         0.755f},
        {{{0.02, 0.01, 0.5, 0.271}, {0.52, 0.01, 1, 0.271}, {}, {}},
         {{0.07, 0.27}, {0.57, 0.27}, {}, {}},
         0.3f},
        {{{0.02, 0.01, 1, 0.351}, {}, {}, {}}, {{0.27, 0.35}, {}, {}, {}}, 0.375f},
        {{{}, {}, {}, {}}, {{}, {}, {}, {}}, 0.055f},
    };
    return layouts[(style >= 1 && style <= 5 ? style : 1) - 1];
}

class ComparisonPageWriter {
public:
    ComparisonPageWriter(PageDrawing& page) : m_page(page) {}
    /// With a `right` edge above 0, the text is kept left of it (a fraction of the width, too).
    void Text(double x, double y, std::string text, int size, bool bold = false, TColor color = 0,
              double right = 0) {
        PageText t;
        t.X = PageUnit(x, m_page.Width);
        t.Y = PageUnit(y, m_page.Height);
        t.Text = std::move(text);
        t.PointSize = size;
        t.Bold = bold;
        t.Color = color;
        if (right > 0) t.MaxWidth = std::max(1, PageUnit(right, m_page.Width) - t.X);
        m_page.Operations.push_back(std::move(t));
    }
    void Line(double x1, double y1, double x2, double y2, int width) {
        m_page.Operations.push_back(PageLine{PageUnit(x1, m_page.Width), PageUnit(y1, m_page.Height),
                                             PageUnit(x2, m_page.Width), PageUnit(y2, m_page.Height),
                                             width, 0});
    }
    void Box(double l, double t, double r, double b, TColor color) {
        m_page.Operations.push_back(PageRectangle{PageUnit(l, m_page.Width), PageUnit(t, m_page.Height),
                                                  PageUnit(r, m_page.Width), PageUnit(b, m_page.Height),
                                                  color});
    }
    void Chart(const std::array<double, 4>& f, int chart) {
        m_page.Operations.push_back(PageChart{PageUnit(f[0], m_page.Width), PageUnit(f[1], m_page.Height),
                                              PageUnit(f[2], m_page.Width), PageUnit(f[3], m_page.Height),
                                              chart});
    }

private:
    PageDrawing& m_page;
};

/// A value or title placed so that texts of 10 characters start at the column's left edge.
double ColumnX(int column, const std::string& text) {
    return 0.32 + 0.135 * (column - 2) + 0.009 * (10 - static_cast<double>(text.size()));
}

/// The room of a plan's title: as wide as the step between plan columns, and ending a character
/// (0.009) past where the column's texts end by their nominal width, which a bold title may run
/// over by about that much. The rooms of neighbouring plans meet but never overlap.
constexpr double kTitleRoomWidth = 0.135;
double TitleRoomLeft(int column) { return 0.284 + kTitleRoomWidth * (column - 2); }

/// The structure name as the table prints it: cut before its first "[".
std::string PrintedName(const std::string& name) { return name.substr(0, name.find('[')); }

void LayoutTable(ComparisonPageWriter& out, const ComparisonPageInput& in, std::vector<bool>& rowChecks) {
    if (!in.Table || in.Table->RowCount() == 0) return;
    const ComparisonTable& table = *in.Table;
    const int m = std::min(kPagePlans + 1, table.ColumnCount() - 1);
    float t = LayoutOf(in.ReportStyle).tableTop;
    out.Text(0.065, t, table.Cell(0, 0), 9, true);
    out.Text(0.21, t, table.Cell(1, 0), 9, true);
    // A plan ID is placed by its length like the values below it, but never outside its room:
    // a long one starts at the room's edge and is cut where the next plan's room begins.
    for (int c = 2; c <= m; ++c) {
        const std::string& title = table.Cell(c, 0);
        out.Text(std::max(ColumnX(c, title), TitleRoomLeft(c)), t, title, 9, true, 0,
                 TitleRoomLeft(c) + kTitleRoomWidth);
    }
    out.Line(0.05, t + 0.015, 0.95, t + 0.015, 2);
    t = t + 0.019f;

    int printed = 0, gaps = 0, firstNotFitting = -1;
    bool previousPrinted = false;  // leading left-out rows add no gap above the first row
    std::string previousName;
    const int rows = in.List ? std::min(table.RowCount() - 1, in.List->IndexDataCount()) : 0;
    for (int r = 1; r <= rows; ++r) {
        const double y = t + 0.015 * printed + 0.004 * gaps;
        const bool checked = static_cast<std::size_t>(r - 1) < rowChecks.size() &&
                             rowChecks[static_cast<std::size_t>(r - 1)];
        if (y > 0.9) {
            if (checked && firstNotFitting < 0) firstNotFitting = r - 1;
            previousPrinted = false;
            continue;
        }
        bool hasValue = false;
        for (int c = 2; c <= m; ++c) hasValue = hasValue || !table.Cell(c, r).empty();
        if (!checked || table.Cell(1, r).empty() || !hasValue) {
            if (previousPrinted) ++gaps;
            previousPrinted = false;
            continue;
        }
        const std::string& name = in.List->IndexData[static_cast<std::size_t>(r - 1)].Name;
        if (previousName.empty() || name != previousName) {
            previousName = name;
            out.Text(0.065, y, PrintedName(name), 9);
        }
        out.Text(0.2, y, table.Cell(1, r), 9);
        for (int c = 2; c <= m; ++c) {
            const std::size_t position = static_cast<std::size_t>(c - 2);
            TColor color = 0;
            if (position < table.RowColor.size() &&
                static_cast<std::size_t>(r - 1) < table.RowColor[position].size())
                color = table.RowColor[position][static_cast<std::size_t>(r - 1)];
            out.Text(ColumnX(c, table.Cell(c, r)), y, table.Cell(c, r), 9, false, color);
        }
        ++printed;
        previousPrinted = true;
    }
    if (firstNotFitting >= 0)
        for (std::size_t i = static_cast<std::size_t>(firstNotFitting); i < rowChecks.size(); ++i)
            rowChecks[i] = false;
}

/// The prescribed dose text of a plan (its first structure's, one decimal); "" for none.
std::string DoseText(const PDatasetClass* plan) {
    if (!plan || plan->DVHDataset.empty()) return "";
    return FormatFixed(plan->DVHDataset[0].PrescribedDose, 1);
}

void LayoutPatients(ComparisonPageWriter& out, const ComparisonPageInput& in) {
    const int n = std::min(kPagePlans, static_cast<int>(in.Plans.size()));
    if (n == 0) return;
    static const PDatasetClass none;
    const auto plan = [&](int p) -> const PDatasetClass& {
        return in.Plans[static_cast<std::size_t>(p)] ? *in.Plans[static_cast<std::size_t>(p)] : none;
    };
    const auto color = [&](int p) {
        return static_cast<std::size_t>(p) < in.PositionColor.size()
                   ? in.PositionColor[static_cast<std::size_t>(p)]
                   : kLaterPositionColor;
    };
    const std::string firstDose = DoseText(in.Plans[0]);
    bool patientsDiffer = false;
    // A plan without structures has no known dose: it never counts as the same dose.
    bool dosesDiffer = firstDose.empty();
    for (int p = 1; p < n; ++p) {
        patientsDiffer = patientsDiffer || plan(p).PatientID != plan(0).PatientID;
        const std::string dose = DoseText(in.Plans[static_cast<std::size_t>(p)]);
        dosesDiffer = dosesDiffer || dose.empty() || dose != firstDose;
    }
    if (!patientsDiffer) {
        out.Text(0.065, 0.915, "Patient Name", 10);
        out.Text(0.2, 0.915, ": " + plan(0).PatientName, 10);
        out.Text(0.065, 0.93, "Patient ID", 10);
        out.Text(0.2, 0.93, ": " + plan(0).PatientID, 10);
        if (!dosesDiffer) out.Text(0.065, 0.945, "Prescribed dose = " + firstDose + " [Gy]", 10);
        for (int p = 0; p < n; ++p) {
            const double y = 0.015 * p + 0.915;
            out.Box(0.55, y + 0.003, 0.58, y + 0.01, color(p));
            out.Text(0.59, y, plan(p).PlanID, 10);
        }
        return;
    }
    for (int p = 0; p < n; ++p) {
        const double y = 0.015 * p + 0.915;
        out.Box(0.065, y + 0.003, 0.095, y + 0.01, color(p));
        out.Text(0.105, y, plan(p).PlanID, 10);
        out.Text(0.3, y, " / " + plan(p).PatientID + " , " + plan(p).PatientName, 10);
    }
}

}  // namespace

bool ComparisonChartFractions(int style, int chart, std::array<double, 4>& fractions) {
    if (!ReportStyleUsesChart(style, chart)) return false;
    fractions = LayoutOf(style).charts[chart];
    return true;
}

PageDrawing LayoutComparisonPage(const ComparisonPageInput& in, double width, double height,
                                 std::vector<bool>& rowChecks) {
    PageDrawing page;
    page.Width = width;
    page.Height = height;
    ComparisonPageWriter out(page);
    const Layout& layout = LayoutOf(in.ReportStyle);
    std::array<double, 4> fractions{};
    for (int c = 0; c < 4; ++c)
        if (ComparisonChartFractions(in.ReportStyle, c, fractions)) out.Chart(fractions, c);
    for (int c = 0; c < 4; ++c)
        if (ReportStyleUsesChart(in.ReportStyle, c))
            out.Text(layout.captions[c][0], layout.captions[c][1],
                     "Comparison of DVH - " + in.ChartStructure[static_cast<std::size_t>(c)], 10);
    LayoutTable(out, in, rowChecks);
    LayoutPatients(out, in);
    out.Text(0.84, 0.99, "Tessaray - " + in.Version, 7);
    return page;
}
