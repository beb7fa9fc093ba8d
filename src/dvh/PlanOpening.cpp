// Opening plans: taking files into the open-file list, the scan, loading by key, reloading,
// the continuations of the plan-list choice and dose prompt, and the list reset.
#include "dvh/Workspace.h"

#include "dvh/FileFields.h"
#include "dvh/PlanListMatch.h"
#include "dvh/LineCursor.h"
#include "dvh/ModFile.h"
#include "dvh/StoreEntry.h"
#include "platform/Paths.h"

#include <algorithm>
#include <filesystem>

namespace {

bool IsBrainLab(int type) { return type == FileTypeBrainScan || type == FileTypeIPlan; }
bool IsMultiPlan(int type) { return type == FileTypeSeveralPlans || type == FileTypeMultiDescription; }

// The identity a reload takes from the list entry; the extra field stays as it was.
void CopyIdentity(PDatasetClass& plan, const OpenFileClass& e) {
    std::string extra = std::move(plan.PatientExtra);
    CopyFileFields(e, plan);
    plan.PatientExtra = std::move(extra);
}

}  // namespace

Workspace::TakeFilesResult Workspace::TakeFiles(const std::vector<std::string>& paths,
                                                bool stopAtUnreadable) {
    TakeFilesResult result;
    for (const std::string& path : paths) {
        const int code = ReadDvhHeader(path);
        if (code <= 1) {
            result.RefusedPath = path;
            result.Refused = LastHeaderResult;
            if (stopAtUnreadable) {
                result.Stopped = true;
                break;
            }
            continue;
        }
        ++result.Accepted;
        result.LastKey = HeaderKey();
        if (FindOpenFileByKey(result.LastKey) < 0) {
            AppendOpenFileFromHeader(path, code);
            ++result.Appended;
        }
    }
    return result;
}

void Workspace::ScanFolder(const std::string& folder) {
    OpenFile.clear();

    std::vector<std::string> files;
    std::error_code ec;
    if (!folder.empty()) {
        for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
             it.increment(ec)) {
            std::error_code typeError;
            if (it->is_regular_file(typeError)) files.push_back(it->path().string());
        }
    }
    // The file system's order is arbitrary; a fixed order keeps equal-key entries stable.
    std::sort(files.begin(), files.end());
    for (const std::string& path : files) {
        const int code = ReadDvhHeader(path);
        if (code > 1) AppendOpenFileFromHeader(path, code);
    }

    // Loaded plans stay listed while the file they were opened from still holds them;
    // clipboard-built BrainLAB plans (no file) always. A plan is listed once, not once per rule,
    // and its row names that file whatever the plan saved since: a row naming the store's entry
    // would let Delete part the entry's export from its companion.
    for (int i = 0; i < PDatasetCount(); ++i) {
        const PDatasetClass& plan = PDataset[i];
        if (FindOpenFileByKey(plan.Key) >= 0) continue;
        bool listed = false;
        if (platform::FileExists(plan.OpenedFrom) && ReadDvhHeader(plan.OpenedFrom) > 1 &&
            HeaderPatientName == plan.PatientName && HeaderPatientID == plan.PatientID &&
            HeaderDate == plan.Date && HeaderTime == plan.Time &&
            HeaderPlanName == plan.PlanName && HeaderPlanID == plan.PlanID) {
            AppendOpenFileFromPlan(i);
            listed = true;
        }
        if (!listed && IsBrainLab(plan.FileType)) AppendOpenFileFromPlan(i);
    }
}

namespace {

// The entry a row command acts on: the row's own entry while it still has the key, else the
// last entry with the key.
int EntryFor(const Workspace& ws, const std::string& key, int rowEntry) {
    if (rowEntry >= 0 && rowEntry < ws.OpenFileCount() && ws.OpenFile[rowEntry].Key == key)
        return rowEntry;
    return ws.FindOpenFileByKey(key);
}

}  // namespace

LoadOrder Workspace::BeginLoadOfEntry(int e) {
    // A load that waits for the user's answer is never replaced: its answer would go to
    // the new plan and its own plan would be left behind.
    if (PendingPlanIndex() >= 0) return {};
    const int p = AppendPlanFromOpenFile(e);
    StartPending(e, p, true);
    Pending.PlanListIndex = MatchPlanList(PlanListName, PDataset[p].PlanName, PDataset[p].PlanID);
    PDataset[p].PlanListIndex = Pending.PlanListIndex;
    return NextStepAfterMatch(p);
}

void Workspace::StartPending(int e, int p, bool appended) {
    Pending = PendingLoad{};
    Pending.Active = true;
    Pending.OpenFileIndex = e;
    Pending.PlanIndex = p;
    Pending.Appended = appended;
    Pending.Key = OpenFile[e].Key;
    Pending.FilePath = OpenFile[e].FilePath;
    Pending.FileType = OpenFile[e].FileType;
}

LoadOrder Workspace::NextStepAfterMatch(int p) {
    if (Pending.PlanListIndex == -1 && Pending.FileType != FileTypeXiO)
        return {LoadStep::ChoosePlanList, p};
    if (IsPlanSumType(Pending.FileType)) return {LoadStep::AskDose, p};
    return {LoadStep::Read, p};
}

LoadOrder Workspace::BeginLoadByKey(const std::string& key) {
    if (const int p = FindDatasetByKey(key); p >= 0) return {LoadStep::ShowExisting, p};
    const int e = FindOpenFileByKey(key);
    if (e < 0) return {};
    return BeginLoadOfEntry(e);
}

LoadOrder Workspace::BeginLoadOfRow(const std::string& key, int rowEntry) {
    if (const int p = FindDatasetByKey(key); p >= 0) return {LoadStep::ShowExisting, p};
    const int e = EntryFor(*this, key, rowEntry);
    if (e < 0) return {};
    if (IsMultiPlan(OpenFile[e].FileType)) return {LoadStep::Refused, -1};
    return BeginLoadOfEntry(e);
}

LoadOrder Workspace::BeginReload(const std::string& key, int rowEntry) {
    int p = FindDatasetByKey(key);
    const int e = EntryFor(*this, key, rowEntry);
    // A plan opened from an entry of the store, or one that saved an entry and so is its plan,
    // is read again from that entry while it is there, also where the list's row of its key
    // names another file (the export the entry was saved from, or no file for a plan from the
    // clipboard): its save goes back into the entry, and a refused save sends the user here to
    // see what others saved there.
    const bool entrysPlan = p >= 0 && IsStoreEntryFile(SaveFolder, PDataset[p].FilePath) &&
                            platform::FileExists(PDataset[p].FilePath);
    // Any other BrainSCAN or iPlan plan is not read again.
    if (p >= 0 && IsBrainLab(PDataset[p].FileType) && !entrysPlan) return {};
    if (e < 0) return {};
    if (IsMultiPlan(OpenFile[e].FileType)) return {LoadStep::Refused, -1};
    if (PendingPlanIndex() >= 0) return {};

    const bool appended = p < 0;
    // An entry of the store is taken as it is now, export and companion of one save, as the
    // store's own open takes it; read alone, its export would show the plan's old names.
    std::optional<StoreEntryRead> stored;
    std::string path = OpenFile[e].FilePath;
    if (entrysPlan && !SameStoreEntry(PDataset[p].FilePath, path)) path = PDataset[p].FilePath;
    if (IsStoreEntryFile(SaveFolder, path)) {
        stored = ReadStoreEntry(path);
        if (!stored->Problem.empty() && m_host) m_host->StatusText(stored->Problem);
    }
    if (appended) {
        p = AppendPlanFromOpenFile(e);
        PDataset[p].PatientExtra.clear();  // a reload takes no extra field from the list
    }
    if (stored)
        return BeginStoreEntryRead(path, e, p, appended, StoreListNameOf(path), std::move(*stored));
    StartPending(e, p, appended);
    // The names the file gives now decide the list; a list chosen by hand is asked again.
    Pending.PlanListIndex = MatchPlanList(PlanListName, OpenFile[e].PlanName, OpenFile[e].PlanID);
    return NextStepAfterMatch(p);
}

int Workspace::PendingPlanIndex() const {
    if (!Pending.Active) return -1;
    const int p = Pending.PlanIndex;
    if (p < 0 || p >= PDatasetCount() || PDataset[p].Key != Pending.Key) return -1;
    return p;
}

LoadOrder Workspace::PlanListChosen(int listIndex) {
    const int p = PendingPlanIndex();
    if (p < 0) return {};
    Pending.PlanListIndex = listIndex >= 0 && listIndex < PlanListNameCount() ? listIndex : -1;
    if (Pending.Appended) PDataset[p].PlanListIndex = Pending.PlanListIndex;
    if (IsPlanSumType(Pending.FileType) && !Pending.ModDoseKnown) return {LoadStep::AskDose, p};
    if (Pending.ModDoseKnown) Pending.DoseKnown = true;
    return {LoadStep::Read, p};
}

LoadOrder Workspace::DoseEntered(float doseGy) {
    const int p = PendingPlanIndex();
    if (p < 0) return {};
    Pending.PrescribedDose = doseGy;
    Pending.DoseKnown = true;
    return {LoadStep::Read, p};
}

bool Workspace::CancelPendingLoad() {
    const int p = PendingPlanIndex();
    const bool remove = p >= 0 && Pending.Appended && PDataset[p].DVHDataset.empty();
    Pending = PendingLoad{};
    if (!remove) return false;
    RemovePlan(p);
    return true;
}

void Workspace::RemovePlan(int p) {
    if (p < 0 || p >= PDatasetCount()) return;
    PDataset.erase(PDataset.begin() + p);
    if (CurrentPlanIndex == p)
        CurrentPlanIndex = -1;
    else if (CurrentPlanIndex > p)
        --CurrentPlanIndex;
}

int Workspace::PreparePendingRead() {
    const int p = PendingPlanIndex();
    if (p < 0) return -1;
    PDatasetClass& plan = PDataset[p];
    if (Pending.OpenFileIndex >= 0 && Pending.OpenFileIndex < OpenFileCount() &&
        OpenFile[Pending.OpenFileIndex].Key == Pending.Key)
        CopyIdentity(plan, OpenFile[Pending.OpenFileIndex]);
    plan.FilePath = Pending.FilePath;
    plan.FileType = Pending.FileType;
    plan.PlanListIndex = Pending.PlanListIndex;
    return p;
}

int Workspace::ReadPendingPlan() {
    const int p = PreparePendingRead();
    if (p < 0) {
        Pending = PendingLoad{};
        return -1;
    }
    // A plan sum is read only with the dose given for this very load.
    if (IsPlanSumType(Pending.FileType) && !Pending.DoseKnown) return -1;
    PlanSumPrescribedDose = Pending.DoseKnown ? Pending.PrescribedDose : 0.0f;

    struct ReadingGuard {
        int& depth;
        explicit ReadingGuard(int& d) : depth(d) { ++depth; }
        ~ReadingGuard() { --depth; }
    } reading(FileReadDepth);

    // Read through a descriptor opened once, so that the plan's names, its curves and the
    // version it knows are all of one file; from the store, the one its companion was taken with.
    if (!Pending.Export) Pending.Export = platform::OpenedFile::Open(Pending.FilePath);
    // Every read below (the header, the readers' passes) is bound to the held export.
    const ReadThrough bound(Pending.FilePath, Pending.Export);
    if (!TakeNamesOfRead(p, Pending.OpenFileIndex, Pending.Key, RecogniseDvhHeaderFile(Pending.FilePath),
                         Pending.FilePath)) {
        // Not read again: the plan keeps the curves of its last read, which match its names.
        CancelPendingLoad();
        return -1;
    }
    Pending.Key = PDataset[p].Key;
    // The plan holds what this read gives or nothing: curves of an earlier read of a file
    // that can no longer be read would pass for its content.
    PDataset[p].DVHDataset.clear();
    PDataset[p].BodyIndex = -1;
    // The readers fill the last plan. A plan further up (a reload) is read through a copy of
    // its identity at the end, whose structures then move into it.
    const bool last = p == PDatasetCount() - 1;
    if (!last) {
        PDatasetClass scratch = PDataset[p];  // its curves were cleared for this read
        PDataset.push_back(std::move(scratch));
    }
    LastReadResult = ReadDvhFile(Pending.FilePath);
    // The version of the bytes the read took, digested as it read them.
    PDataset.back().ExportRead = LastReadResult.ok() ? bound.Version() : platform::FileVersion{};
    PDataset.back().CompanionRead = Pending.CompanionRead;
    if (last) return p;
    if (Pending.FileType == FileTypeXiO) {
        // The XiO dialog fills the last plan later: the copy is the plan it reads into, and
        // it was appended for this load.
        Pending.PlanIndex = PDatasetCount() - 1;
        Pending.Appended = true;
        if (PendingXiO.Active) PendingXiO.Appended = true;
        return Pending.PlanIndex;
    }
    PDatasetClass& filled = PDataset.back();
    PDataset[p].DVHDataset = std::move(filled.DVHDataset);
    PDataset[p].BodyIndex = filled.BodyIndex;
    PDataset[p].ExportRead = filled.ExportRead;
    PDataset[p].CompanionRead = filled.CompanionRead;
    PDataset.pop_back();
    return p;
}

bool Workspace::TakeNamesOfRead(int p, int entryIndex, const std::string& entryKey, const DvhHeader& read,
                                const std::string& path) {
    PDatasetClass& plan = PDataset[p];
    // A file that no longer reads as an export, or as another kind, fails in the read itself.
    if (!read.identified || read.FileType != plan.FileType) return true;
    const DvhHeaderFields& h = read.fields;
    if (HasHeaderNames(plan, h)) return true;
    const std::string key = DatasetKey(h.PatientID, h.PlanID, h.Date, h.Time);
    if (const int other = FindDatasetByKey(key); other >= 0 && other != p) {
        if (m_host)
            m_host->StatusText(platform::FileNameOf(path) + " now holds the plan " + h.PlanName +
                               ", which is loaded already: it was not read again.");
        return false;
    }
    // The listed entry said what the file held when it was listed; another save or export
    // has taken the file's name since. The plan and the entry take the names of this read.
    TakeHeaderNames(plan, h, key);
    // The entry is brought up to date only where it lists this very file, not another of its key.
    if (entryIndex >= 0 && entryIndex < OpenFileCount() && OpenFile[entryIndex].Key == entryKey &&
        OpenFile[entryIndex].FilePath == path) {
        OpenFileClass& entry = OpenFile[entryIndex];
        TakeHeaderNames(entry, h, key);
        entry.PatientExtra = h.PatientExtra;
        if (m_host) m_host->OpenFilesChanged();
    }
    return true;
}

int Workspace::FinishPendingLoad() {
    const int p = PendingPlanIndex();
    // A companion that cannot be read, or belongs to another save, leaves the plan as the
    // reader filled it.
    if (p >= 0 && Pending.UseModFile && Pending.Companion) {
        // A read that failed has said so already; it holds nothing to check the companion by.
        const std::size_t read = PDataset[p].DVHDataset.size();
        if (CompanionFitsExport(*Pending.Companion, Pending.ModFilePath, Pending.FilePath,
                                read ? std::optional(read) : std::nullopt, m_host))
            ApplyModFile(PDataset[p], *Pending.Companion);
    }
    Pending = PendingLoad{};
    return p;
}

bool Workspace::ResetLists(bool clearIndexRowColor) {
    if (FileReadDepth > 0) return false;
    ResetPlanContainers();
    Pending = PendingLoad{};
    if (clearIndexRowColor) IndexRowColor.clear();
    return true;
}
