// Texts of the batch exports and their write.
#include "batch/BatchExports.h"

#include "dvh/FileNames.h"
#include "dvh/NumberText.h"
#include "dvh/RoundToDigits.h"
#include "planlist/IndexCalculator.h"
#include "planlist/IndexTexts.h"

#include <charconv>
#include <cmath>

std::optional<double> ParseStepText(std::string_view text) {
    if (text.empty()) return std::nullopt;
    double v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size()) {
        // from_chars takes no "0." with nothing after the point: read the digits before it.
        if (text.back() != '.' || text.size() < 2) return std::nullopt;
        return ParseStepText(text.substr(0, text.size() - 1));
    }
    if (!std::isfinite(v) || !(v > 0)) return std::nullopt;
    return v;
}

int StepDecimals(std::string_view text) {
    const std::size_t point = text.find('.');
    if (point == std::string_view::npos) return 1;
    std::string_view decimals = text.substr(point + 1);
    while (!decimals.empty() && decimals.back() == '0') decimals.remove_suffix(1);
    return decimals.empty() ? 1 : static_cast<int>(decimals.size());
}

long DvhExportLineCount(double endDose, double step) {
    if (!(step > 0)) return 0;
    const double n = std::trunc(endDose / step + 10);
    if (!(n > 0)) return 0;
    return n > static_cast<double>(kMaxDvhExportLines) ? kMaxDvhExportLines + 1 : static_cast<long>(n);
}

std::vector<ResultGridRow> ResultGridRows(const PlanListNameClass& list) {
    std::vector<ResultGridRow> rows(list.IndexData.size());
    for (std::size_t j = 0; j < rows.size(); ++j) {
        const IndexDataClass& row = list.IndexData[j];
        if (row.Name.empty()) continue;
        if (j == 0 || row.Name != list.IndexData[j - 1].Name) rows[j].Structure = row.Name;
        // The conformity index is labelled without its reference, as in the comparison table.
        rows[j].Index = IndexLabel(row.Items, row.Value, 0, 0);
    }
    return rows;
}

namespace {

constexpr const char* kLineEnd = "\r\n";

void IdentityLine(std::string& out, const std::vector<BatchExportPlan>& plans, std::string PDatasetClass::*field) {
    out += '\t';
    for (const BatchExportPlan& p : plans) {
        if (p.Plan) out += p.Plan->*field;
        out += '\t';
    }
    out += kLineEnd;
}

}  // namespace

std::string BatchDvhExportText(const DvhExportRequest& request, const std::vector<BatchExportPlan>& plans) {
    std::string out;
    out.reserve(static_cast<std::size_t>(request.Lines + 6) * (8 + 7 * plans.size()));
    out += request.StructureName;
    out += kLineEnd;
    IdentityLine(out, plans, &PDatasetClass::PatientID);
    IdentityLine(out, plans, &PDatasetClass::PatientExtra);
    IdentityLine(out, plans, &PDatasetClass::PatientName);
    IdentityLine(out, plans, &PDatasetClass::PlanID);
    out += request.RelativeDose ? "Dose [%]\t" : "Dose [Gy]\t";
    for (std::size_t i = 0; i < plans.size(); ++i) out += "Volume [%]\t";
    out += kLineEnd;

    const int kind = request.RelativeDose ? 1 : 0;
    for (long k = 0; k < request.Lines; ++k) {
        const double dose = static_cast<double>(k) * request.Step;
        out += FormatFixed(dose, request.Decimals);
        out += '\t';
        for (std::size_t i = 0; i < plans.size(); ++i) {
            // A plan without the structure has nothing to look up: its cell stays empty.
            if (plans[i].Plan && plans[i].StructureIndex >= 0)
                out += FormatFixed(
                    RoundToDigits(
                        CalcDatasetIndex(*plans[i].Plan, plans[i].StructureIndex, kind, static_cast<float>(dose)), 2),
                    2);
            out += '\t';
        }
        out += kLineEnd;
    }
    return out;
}

std::string BatchIndexExportText(const PlanListNameClass& list, const std::vector<BatchExportPlan>& plans,
                                 const std::vector<BVClass>& bv) {
    const std::vector<ResultGridRow> grid = ResultGridRows(list);
    std::string out = "\t\t\t\t\t\t";
    for (const ResultGridRow& r : grid) out += r.Structure + '\t';
    out += kLineEnd;
    out += "Patient ID\tPatient RID\tPatient Name\tPlan ID\tDate\tTime\t";
    for (const ResultGridRow& r : grid) out += r.Index + '\t';
    out += kLineEnd;
    for (std::size_t i = 0; i < plans.size(); ++i) {
        if (const PDatasetClass* p = plans[i].Plan) {
            for (const std::string* field :
                 {&p->PatientID, &p->PatientExtra, &p->PatientName, &p->PlanID, &p->Date, &p->Time})
                out += *field + '\t';
        } else {
            out += "\t\t\t\t\t\t";
        }
        for (std::size_t j = 0; j < grid.size(); ++j) {
            if (j < bv.size() && i < bv[j].Value.size()) {
                const float v = bv[j].Value[i];
                if (std::isfinite(v) && v > -1.0f) out += FormatFixed(RoundToDigits(v, 2), 2);
            }
            out += '\t';
        }
        out += kLineEnd;
    }
    return out;
}

platform::WriteResult WriteBatchExport(const std::string& chosenPath, std::string_view text, std::string* writtenPath) {
    const std::string path = ChangeFileExt(chosenPath, ".txt");
    if (writtenPath) *writtenPath = path;
    return platform::AtomicWriteFile(path, text);
}
