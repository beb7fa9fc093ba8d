// New plans from the clipboard and structures added to them, on the workspace.
#include "import/ClipboardPlan.h"

#include "dvh/NameCompare.h"
#include "dvh/Workspace.h"
#include "import/ClipboardDvh.h"
#include "import/ClipboardTable.h"

#include <algorithm>

std::string ClipboardPlanKeyText(const std::string& kind, int number, const std::string& date,
                                 const std::string& time) {
    std::string key = kind + "-Plan_" + std::to_string(number) + "_" + date + time;
    std::erase(key, '/');
    std::erase(key, ':');
    return key;
}

int AppendClipboardPlan(Workspace& ws, int fileType, const ClipboardPlanFields& fields, const std::string& date,
                        const std::string& time, std::vector<DVHDatasetClass>&& structures) {
    const std::string kind = fileType == FileTypeBrainScan ? "BrainSCAN" : "iPlan";
    OpenFileClass entry;
    entry.FilePath = ws.ReadFolder + "/" + ClipboardPlanKeyText(kind, ws.ImportPlanNumber, date, time);
    entry.PatientName = fields.PatientName;
    entry.PatientID = fields.PatientID;
    entry.Date = date;
    entry.Time = time;
    entry.PlanName = fields.PlanName;
    entry.PlanID = fields.PlanID;
    entry.FileType = fileType;
    entry.Key = Workspace::DatasetKey(fields.PatientID, fields.PlanID, date, time);
    ws.OpenFile.push_back(entry);

    PDatasetClass& plan = ws.PDataset[ws.AppendPlanFromOpenFile(ws.OpenFileCount() - 1)];
    plan.PlanListIndex = fields.PlanListItem - 1;
    for (DVHDatasetClass& s : structures) ws.SetStructureColour(s, plan.PlanListIndex);
    const int count = static_cast<int>(structures.size());
    plan.BodyIndex =
        fields.NormalTissueItem >= 1 && fields.NormalTissueItem <= count ? fields.NormalTissueItem - 1 : -1;
    plan.DVHDataset = std::move(structures);
    return ws.PDatasetCount() - 1;
}

AddStructuresResult CheckClipboardStructures(Workspace& ws, std::string text) {
    AddStructuresResult result;
    const int current = ws.CurrentPlanIndex;
    if (current < 0 || current >= ws.PDatasetCount() || ws.PDataset[current].FileType != FileTypeBrainScan ||
        text.empty())
        return result;
    ws.ClipboardText = text;
    if (ClassifyClipboardText(text).Kind != ClipboardKind::BrainScanTable) {
        ws.ClipboardText.clear();
        result.Outcome = AddStructuresOutcome::NotATable;
        return result;
    }
    const PDatasetClass& plan = ws.PDataset[current];
    for (const std::string& name : BrainScanNames(text))
        for (const DVHDatasetClass& s : plan.DVHDataset)
            if (s.Name == name) {
                result.Outcome = AddStructuresOutcome::Duplicate;
                return result;
            }
    result.Outcome = plan.DVHDataset.empty() ? AddStructuresOutcome::NoStructures : AddStructuresOutcome::Added;
    return result;
}

AddStructuresResult AppendClipboardStructures(Workspace& ws) {
    AddStructuresResult result = CheckClipboardStructures(ws, ws.ClipboardText);
    if (result.Outcome != AddStructuresOutcome::Added) return result;
    PDatasetClass& plan = ws.PDataset[ws.CurrentPlanIndex];
    std::vector<DVHDatasetClass> added;
    result.Read = ParseBrainScanTable(ws.ClipboardText, plan.DVHDataset.front().PrescribedDose,
                                      BrainScanUse::AddedStructures, added);
    if (!result.Read) {
        result.Outcome = AddStructuresOutcome::Failed;
        return result;
    }
    for (DVHDatasetClass& s : added) {
        ws.SetStructureColour(s, plan.PlanListIndex);
        if (StructureNamesEqual(s.Name, "Body", false)) plan.BodyIndex = plan.DVHDatasetCount();
        plan.DVHDataset.push_back(std::move(s));
    }
    return result;
}
