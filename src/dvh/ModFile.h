// The ".mod" companion of a saved DVH file: restored identity, dose and structure aliases.
#pragma once

#include "dvh/Records.h"
#include "platform/OpenedFile.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class WorkspaceHost;

/// The values of a name-override file, one per line in file order. A line's value is its
/// text after the first TAB (the whole line when it holds none), without the line end. Lines
/// 1-4 are patient name, patient ID, plan name and plan ID, line 5 the prescribed dose in cGy,
/// then one structure alias per line in structure order.
struct ModFileContent {
    std::vector<std::string> Values;

    /// The prescribed dose of line 5 converted to Gy (cGy x 0.01); none when the file has no
    /// fifth line or it holds no number.
    std::optional<float> PrescribedDoseGy() const;
    /// The text of line 5 as written (cGy), "" when missing.
    std::string PrescribedDoseText() const;
    /// How many structure aliases the file holds: its lines after the fifth.
    std::size_t AliasCount() const;
};

/// Splits a name-override file's text into line values. Whole lines are kept, however long.
ModFileContent ParseModFile(std::string_view text);

/// Reads and parses the file at `path`; none when it cannot be read (`problem`, when given,
/// says why: missing, a folder, a FIFO or a device, unreadable, over 16 MB).
std::optional<ModFileContent> ReadModFile(const std::string& path, platform::OpenProblem* problem = nullptr);
/// What a companion that could not be read for `problem` is: as `platform::OpenProblemText`
/// says, and one too large with the limit: "is too large (over 16 MB)".
std::string ModFileProblemText(platform::OpenProblem problem);
/// The same of a file held open: what it holds, whatever has its name now. `version`, when
/// given, receives the version of the very bytes parsed (unknown when none were).
std::optional<ModFileContent> ReadModFile(const platform::OpenedFile& file, platform::OpenProblem* problem = nullptr,
                                          platform::FileVersion* version = nullptr);

/// Whether `mod`, the companion `companion` of the store file `path`, names as many structures
/// as the export holds (`structureCount`; none: not known, and it fits). One that names another
/// number belongs to another save of the entry: it is left out, and the host's status bar says
/// so, naming it.
bool CompanionFitsExport(const ModFileContent& mod, const std::string& companion, const std::string& path,
                         std::optional<std::size_t> structureCount, WorkspaceHost* host);

/// Applies lines 1-4 to the plan's `PatientName`, `PatientID`, `PlanName` and `PlanID`; a value
/// of exactly "NULL" keeps the field. Stops at the end of the content.
void ApplyModHeader(PDatasetClass& plan, const ModFileContent& mod);

/// Applies lines 6 + i as `ModifiedName` of structure i (the XiO reader takes only these).
void ApplyModAliases(PDatasetClass& plan, const ModFileContent& mod);

/// Applies the whole file: the header lines as `ApplyModHeader`, line 5 skipped, then line
/// 6 + i as `ModifiedName` of structure i, unchanged (an empty value removes the alias). Its
/// callers pass only a companion that `ReadCompanionOfExport` took, which names exactly as many
/// structures as the plan holds: one with fewer or more alias lines is refused whole, never
/// applied in part.
void ApplyModFile(PDatasetClass& plan, const ModFileContent& mod);

/// The companion of `plan`: "Patient Name", "Patient ID", "Plan Name", "Plan ID" and
/// "Prescribed dose [cGy]" (the first structure's dose x 100, two decimals at most, "."), each
/// a label, a TAB and the value, then "k TAB alias" per structure; CR LF after every line.
std::string ModFileText(const PDatasetClass& plan);
