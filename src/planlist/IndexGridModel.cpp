// The content of the index grid (texts and constraint colours), built from a list and a plan.
#include "planlist/IndexGridModel.h"

#include "planlist/IndexCalculator.h"
#include "planlist/IndexRowLookup.h"
#include "planlist/IndexTexts.h"

#include <cmath>

bool BreaksConstraint(const IndexDataClass& row, float v) {
    if (!row.ConstraintsON) return false;
    const float c = row.Constraints;
    if (c > 0) return v > c;
    if (c < 0) return v < std::fabs(c);
    return false;
}

TColor ConstraintColor(const IndexDataClass& row, float v) {
    return BreaksConstraint(row, v) ? RgbColor(row.ConstraintFontColorR, row.ConstraintFontColorG,
                                               row.ConstraintFontColorB)
                                    : 0;
}

IndexGridContent BuildIndexGrid(const PlanListNameClass& list, const PDatasetClass* plan,
                                bool caseSensitive) {
    const int n = list.IndexDataCount();
    IndexGridContent grid;
    grid.Cells.resize(n + 1);
    grid.Cells[0] = IndexGridHeader();
    grid.RowColor.assign(n, 0);
    for (int i = 0; i < n; ++i) {
        const IndexDataClass& row = list.IndexData[i];
        IndexGridContent::Row& cells = grid.Cells[i + 1];
        if (row.Name.empty()) continue;
        if (i == 0 || list.IndexData[i - 1].Name != row.Name) cells[0] = row.Name;
        cells[1] = IndexLabel(row.Items, row.Value, row.ItemsCI, row.ValueCI);
        if (!plan) continue;
        const int j = FindIndexRowStructure(*plan, row.Name, caseSensitive);
        if (j < 0 || plan->DVHDataset[j].LastDVsetIndex() <= 0) continue;
        const float v = CalcPlanIndex(*plan, j, row.Items, row.Value, row.ItemsCI, row.ValueCI);
        cells[2] = IndexValueText(v);
        grid.RowColor[i] = ConstraintColor(row, v);
    }
    return grid;
}

namespace {
void AppendLine(std::string& out, const std::string& label, const std::string& value) {
    out += label;
    out += '\t';
    out += value;
    out += '\n';
}

std::string HeaderText(const PDatasetClass& plan) {
    std::string out;
    AppendLine(out, "Patient Name", plan.PatientName);
    AppendLine(out, "Patient ID", plan.PatientID);
    AppendLine(out, "Plan", plan.PlanID);
    out += '\n';
    return out;
}

template <typename Rows>
std::string WithRows(const PDatasetClass& plan, const Rows& rows) {
    std::string out = HeaderText(plan);
    for (const auto& row : rows) {
        bool first = true;
        for (const std::string& cell : row) {
            if (!first) out += '\t';
            out += cell;
            first = false;
        }
        out += '\n';
    }
    return out;
}
}  // namespace

std::string IndexGridClipboardText(const PDatasetClass& plan,
                                   const std::vector<std::vector<std::string>>& cells) {
    return WithRows(plan, cells);
}

std::string IndexGridClipboardText(const PDatasetClass& plan, const IndexGridContent& grid) {
    return WithRows(plan, grid.Cells);
}
