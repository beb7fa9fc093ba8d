// Reading and applying the ".mod" name-override companion of saved DVH files.
#include "dvh/ModFile.h"

#include "dvh/ReadResult.h"
#include "dvh/RoundToDigits.h"
#include "dvh/TypedNumber.h"
#include "dvh/WorkspaceHost.h"
#include "platform/OpenedFile.h"

#include <charconv>

#include <cmath>

namespace {

constexpr std::size_t kHeaderLines = 4;
constexpr std::size_t kDoseLine = 4;       // 0-based index of the dose line
constexpr std::size_t kFirstAliasLine = 5;
// A companion holds a few hundred short lines; anything near this size is not one.
constexpr std::size_t kMaxModFileBytes = std::size_t(16) << 20;

}  // namespace

std::string ModFileProblemText(platform::OpenProblem problem) {
    std::string text = platform::OpenProblemText(problem);
    if (problem == platform::OpenProblem::TooLarge) text += " (over " + std::to_string(kMaxModFileBytes >> 20) + " MB)";
    return text;
}

ModFileContent ParseModFile(std::string_view text) {
    ModFileContent mod;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::size_t tab = line.find('\t');
        if (tab != std::string_view::npos) line.remove_prefix(tab + 1);
        mod.Values.emplace_back(line);
        pos = end + 1;
    }
    return mod;
}

std::optional<ModFileContent> ReadModFile(const std::string& path, platform::OpenProblem* problem) {
    std::string text;
    if (!platform::ReadWholeFile(path, text, kMaxModFileBytes, problem)) return std::nullopt;
    return ParseModFile(text);
}

std::optional<ModFileContent> ReadModFile(const platform::OpenedFile& file, platform::OpenProblem* problem,
                                          platform::FileVersion* version) {
    if (version) *version = {};
    std::string text;
    if (!file.ReadAll(text, kMaxModFileBytes, problem)) return std::nullopt;
    // Of these bytes, not of a second read: a save between two reads would pass for this one.
    // Its size is theirs too, not the size at the open: another program may write into the
    // file in between, and the file then still holds what was read.
    if (version) {
        platform::FileIdentity read = file.Identity();
        read.Size = static_cast<long long>(text.size());
        *version = {read, platform::ContentDigest(text)};
    }
    return ParseModFile(text);
}

bool CompanionFitsExport(const ModFileContent& mod, const std::string& companion, const std::string& path,
                         std::optional<std::size_t> structureCount, WorkspaceHost* host) {
    if (!structureCount || mod.AliasCount() == *structureCount) return true;
    if (host)
        host->StatusText(FileNameOf(companion) + " names " + std::to_string(mod.AliasCount()) + " structures, " +
                         FileNameOf(path) + " holds " + std::to_string(*structureCount) +
                         ": it belongs to another save, and the plan is opened without it.");
    return false;
}

std::optional<float> ModFileContent::PrescribedDoseGy() const {
    if (Values.size() <= kDoseLine) return std::nullopt;
    // The writer always uses "." whatever the locale.
    const auto cGy = ParseTypedNumber(Values[kDoseLine], '.');
    if (!cGy) return std::nullopt;
    // A dose no float can hold would read as infinite: the user is asked instead.
    const float gy = static_cast<float>(*cGy * 0.01);
    if (!std::isfinite(gy)) return std::nullopt;
    return gy;
}

std::string ModFileContent::PrescribedDoseText() const {
    return Values.size() > kDoseLine ? Values[kDoseLine] : std::string();
}

std::size_t ModFileContent::AliasCount() const {
    return Values.size() > kFirstAliasLine ? Values.size() - kFirstAliasLine : 0;
}

void ApplyModHeader(PDatasetClass& plan, const ModFileContent& mod) {
    std::string* fields[kHeaderLines] = {&plan.PatientName, &plan.PatientID, &plan.PlanName,
                                         &plan.PlanID};
    for (std::size_t i = 0; i < kHeaderLines && i < mod.Values.size(); ++i)
        if (mod.Values[i] != "NULL") *fields[i] = mod.Values[i];
}

void ApplyModFile(PDatasetClass& plan, const ModFileContent& mod) {
    ApplyModHeader(plan, mod);
    ApplyModAliases(plan, mod);
}

void ApplyModAliases(PDatasetClass& plan, const ModFileContent& mod) {
    for (std::size_t i = 0; i < plan.DVHDataset.size(); ++i) {
        const std::size_t line = kFirstAliasLine + i;
        if (line >= mod.Values.size()) break;
        plan.DVHDataset[i].ModifiedName = mod.Values[line];
    }
}

std::string ModFileText(const PDatasetClass& plan) {
    std::string text;
    auto line = [&text](std::string_view label, std::string_view value) {
        text.append(label).append("\t").append(value).append("\r\n");
    };
    line("Patient Name", plan.PatientName);
    line("Patient ID", plan.PatientID);
    line("Plan Name", plan.PlanName);
    line("Plan ID", plan.PlanID);
    const double cGy = plan.DVHDataset.empty() ? 0.0 : RoundToDigits(plan.DVHDataset.front().PrescribedDose * 100.0, 2);
    // The shortest text that reads back as the rounded value: 6000, 4567.8.
    char buffer[400];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, cGy == 0 ? 0.0 : cGy, std::chars_format::fixed);
    line("Prescribed dose [cGy]", std::string_view(buffer, static_cast<std::size_t>(written.ptr - buffer)));
    for (std::size_t k = 0; k < plan.DVHDataset.size(); ++k) line(std::to_string(k), plan.DVHDataset[k].ModifiedName);
    return text;
}
