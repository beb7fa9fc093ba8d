// Opening a plan from the saved-DVH store: linked to the list named like its folder, its
// ".mod" companion restoring names, aliases and the prescribed dose when it belongs to the export.
#include "dvh/Workspace.h"

#include "dvh/FileNames.h"
#include "dvh/PlanListMatch.h"
#include "dvh/ModFile.h"
#include "dvh/StoreCommit.h"
#include "platform/Paths.h"

LoadOrder Workspace::BeginLoadFromStore(const std::string& path, int code,
                                        const DvhHeaderFields& header,
                                        const std::string& folderName, bool* listChanged) {
    if (listChanged) *listChanged = false;
    if (code <= 1) return {};
    // A save of the entry that a kill cut short between its renames is completed first, so
    // that the companion read below is the one saved with the export. One that cannot be
    // completed may have left a new companion beside the old export: it is not taken.
    const platform::CommitEnd interrupted = FinishInterruptedStoreSave(path);
    if (interrupted.Unfinished() && m_host)
        m_host->StatusText(UnfinishedSaveText(path, interrupted) + ": the plan is opened without its companion.");
    const std::string key = DatasetKey(header.PatientID, header.PlanID, header.Date, header.Time);
    if (FindOpenFileByKey(key) < 0) {
        OpenFileClass entry;
        entry.FilePath = path;
        entry.PatientName = header.PatientName;
        entry.PatientID = header.PatientID;
        entry.Date = header.Date;
        entry.Time = header.Time;
        entry.PlanName = header.PlanName;
        entry.PlanID = header.PlanID;
        entry.FileType = code;
        entry.Key = key;
        OpenFile.push_back(std::move(entry));
        if (listChanged) *listChanged = true;
    }

    // The companion sits beside the export, with ".mod" for its extension. Anything of that
    // name counts: one that cannot be read is left out with a word on the status bar.
    const std::string companion = ChangeFileExt(path, ".mod");
    const bool hasCompanion = !interrupted.Unfinished() && platform::PathMayExist(companion);

    if (const int p = FindDatasetByKey(key); p >= 0) {
        // Shown again; its companion is applied again.
        if (code != FileTypeXiO && hasCompanion)
            if (const auto mod = ReadCompanionOfExport(companion, path, PDataset[p].DVHDataset.size(), m_host))
                ApplyModFile(PDataset[p], *mod);
        return {LoadStep::ShowExisting, p};
    }

    if (PendingPlanIndex() >= 0) return {};  // another load waits for the user
    const int f = FindOpenFileByKey(key);
    const int p = AppendPlanFromOpenFile(f);
    PDataset[p].PatientExtra.clear();

    StartPending(f, p, true);
    Pending.PlanListIndex = PlanListNamedLike(PlanListName, folderName);
    PDataset[p].PlanListIndex = Pending.PlanListIndex;

    if (hasCompanion) {
        // A plan sum takes its dose from the companion before it is read, and the XiO dialog
        // shows the companion's fields: their exports are counted first. Any other companion is
        // checked against what the read gives (`FinishPendingLoad`), which costs no second read.
        const bool usedBeforeRead = IsPlanSumType(code) || code == FileTypeXiO;
        const auto structureCount = usedBeforeRead ? ExportStructureCount(path, code) : std::nullopt;
        if (const auto mod = ReadCompanionOfExport(companion, path, structureCount, m_host)) {
            // A dose line that holds no number leaves the dose unknown: the user is asked.
            if (const auto dose = mod->PrescribedDoseGy()) {
                Pending.ModDoseKnown = true;
                Pending.PrescribedDose = *dose;
            }
            if (code == FileTypeXiO) {
                ApplyModHeader(PDataset[p], *mod);
                Pending.XiOModDoseText = mod->PrescribedDoseText();
                Pending.XiOModFilePath = companion;
            } else {
                Pending.UseModFile = true;
                Pending.ModFilePath = companion;
            }
        }
    }

    if (Pending.PlanListIndex == -1) return {LoadStep::ChoosePlanList, p};
    if (IsPlanSumType(code) && !Pending.ModDoseKnown) return {LoadStep::AskDose, p};
    Pending.DoseKnown = Pending.ModDoseKnown;
    return {LoadStep::Read, p};
}
