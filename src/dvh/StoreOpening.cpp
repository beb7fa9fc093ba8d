// Opening a plan from the saved-DVH store: linked to the list named like its folder, its
// ".mod" companion restoring names, aliases and the prescribed dose when it belongs to the export.
#include "dvh/Workspace.h"

#include "dvh/FileFields.h"
#include "dvh/FileNames.h"
#include "dvh/PlanListMatch.h"
#include "dvh/ModFile.h"
#include "dvh/StoreEntry.h"
#include "dvh/LineCursor.h"
#include "platform/Paths.h"

LoadOrder Workspace::BeginLoadFromStore(const std::string& path, int code,
                                        const DvhHeaderFields& header,
                                        const std::string& folderName, bool* listChanged) {
    if (listChanged) *listChanged = false;
    if (code <= 1) return {};
    // The export and the companion of one save of the entry: a save cut short is ended first,
    // and one that came between the two reads is waited for; what cannot be had so is not taken.
    StoreEntryRead entry = ReadStoreEntry(path);
    if (!entry.Problem.empty() && m_host) m_host->StatusText(entry.Problem);
    const std::string key = DatasetKey(header.PatientID, header.PlanID, header.Date, header.Time);
    if (FindOpenFileByKey(key) < 0) {
        OpenFileClass listed;
        listed.FilePath = path;
        TakeHeaderNames(listed, header, key);
        listed.FileType = code;
        OpenFile.push_back(std::move(listed));
        if (listChanged) *listChanged = true;
    }

    if (const int p = FindDatasetByKey(key); p >= 0) {
        // Shown again; its companion is applied again, unless the export the plan was read from
        // changed since: the companion there now belongs to curves not shown.
        PDatasetClass& shown = PDataset[p];
        const bool fromEntry = SameStoreEntry(shown.FilePath, path);
        using platform::VersionCheck;
        const VersionCheck check = !fromEntry || !shown.ExportRead.Known() ? VersionCheck::Holds
                                   : entry.Export ? platform::CheckHeldVersion(*entry.Export, shown.ExportRead)
                                                  : VersionCheck::Differs;
        if (code != FileTypeXiO && entry.Companion) {
            if (check != VersionCheck::Holds) {
                // A check that found no memory tells nothing of the file: Reload, which drops
                // the names changed here, is no way on from it.
                if (m_host)
                    m_host->StatusText(check == VersionCheck::NoMemory ? ExportUncheckedShowText(path)
                                                                       : ExportChangedShowText(path));
            } else if (CompanionFitsExport(*entry.Companion, ChangeFileExt(path, ".mod"), path,
                                           shown.DVHDataset.size(), m_host)) {
                ApplyModFile(shown, *entry.Companion);
                // Its names are now those of this companion, which its save may then replace.
                if (fromEntry) shown.CompanionRead = entry.CompanionRead;
            }
        }
        return {LoadStep::ShowExisting, p};
    }

    if (PendingPlanIndex() >= 0) return {};  // another load waits for the user
    const int f = FindOpenFileByKey(key);
    const int p = AppendPlanFromOpenFile(f);
    PDataset[p].PatientExtra.clear();
    return BeginStoreEntryRead(path, f, p, true, folderName, std::move(entry));
}

LoadOrder Workspace::BeginStoreEntryRead(const std::string& path, int f, int p, bool appended,
                                         const std::string& folderName, StoreEntryRead&& entry) {
    const int code = OpenFile[f].FileType;
    StartPending(f, p, appended);
    // The file the entry was taken from, whichever file the list's entry of its key names: its
    // companion belongs to no other.
    Pending.FilePath = path;
    Pending.PlanListIndex = PlanListNamedLike(PlanListName, folderName);
    if (appended) PDataset[p].PlanListIndex = Pending.PlanListIndex;

    // Every pass of the read takes the export the companion was taken with.
    Pending.Export = std::move(entry.Export);
    Pending.CompanionRead = entry.CompanionRead;
    if (entry.Companion) {
        // The companion sits beside the export, with ".mod" for its extension.
        const std::string companion = ChangeFileExt(path, ".mod");
        // A plan sum takes its dose from the companion before it is read, and the XiO dialog
        // shows the companion's fields: their exports are counted first. Any other companion is
        // checked against what the read gives (`FinishPendingLoad`), which costs no second read.
        const bool usedBeforeRead = IsPlanSumType(code) || code == FileTypeXiO;
        std::optional<std::size_t> structureCount;
        if (usedBeforeRead) {
            // Counted in the export held for the load, never in what has its name now.
            const ReadThrough bound(path, Pending.Export);
            structureCount = ExportStructureCount(path, code);
        }
        if (CompanionFitsExport(*entry.Companion, companion, path, structureCount, m_host)) {
            const ModFileContent& mod = *entry.Companion;
            // A dose line that holds no number leaves the dose unknown: the user is asked.
            if (const auto dose = mod.PrescribedDoseGy()) {
                Pending.ModDoseKnown = true;
                Pending.PrescribedDose = *dose;
            }
            if (code == FileTypeXiO) ApplyModHeader(PDataset[p], mod);
            Pending.UseModFile = code != FileTypeXiO;
            Pending.ModFilePath = companion;
            Pending.Companion = std::move(entry.Companion);
        }
    }

    if (Pending.PlanListIndex == -1) return {LoadStep::ChoosePlanList, p};
    if (IsPlanSumType(code) && !Pending.ModDoseKnown) return {LoadStep::AskDose, p};
    Pending.DoseKnown = Pending.ModDoseKnown;
    return {LoadStep::Read, p};
}
