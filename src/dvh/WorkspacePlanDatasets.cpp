// The dataset key, the lookups by key, and appending plans and open-file entries.
#include "dvh/Workspace.h"

#include "dvh/FileFields.h"
#include "dvh/LineCursor.h"

std::string Workspace::DatasetKey(const std::string& patientID, const std::string& planID, const std::string& date,
                                  const std::string& time) {
    return patientID + planID + date + " " + time;
}

std::string Workspace::HeaderKey() const { return DatasetKey(HeaderPatientID, HeaderPlanID, HeaderDate, HeaderTime); }

int Workspace::FindDatasetByKey(const std::string& key) const {
    for (int i = PDatasetCount() - 1; i >= 0; --i)
        if (PDataset[i].Key == key) return i;
    return -1;
}

int Workspace::FindOpenFileByKey(const std::string& key) const {
    for (int i = OpenFileCount() - 1; i >= 0; --i)
        if (OpenFile[i].Key == key) return i;
    return -1;
}

int Workspace::AppendOpenFileFromHeader(const std::string& path, int fileType) {
    OpenFileClass e;
    e.FilePath = path;
    e.PatientName = HeaderPatientName;
    e.PatientID = HeaderPatientID;
    e.PatientExtra = HeaderPatientExtra;
    e.Date = HeaderDate;
    e.Time = HeaderTime;
    e.PlanName = HeaderPlanName;
    e.PlanID = HeaderPlanID;
    e.FileType = fileType;
    e.Key = HeaderKey();
    OpenFile.push_back(std::move(e));
    return OpenFileCount() - 1;
}

int Workspace::AppendOpenFileFromPlan(int planIndex) {
    if (planIndex < 0 || planIndex >= PDatasetCount()) return -1;
    OpenFileClass e;
    CopyFileFields(PDataset[planIndex], e);
    OpenFile.push_back(std::move(e));
    return OpenFileCount() - 1;
}

int Workspace::AppendPlanFromOpenFile(int openFileIndex) {
    if (openFileIndex < 0 || openFileIndex >= OpenFileCount()) return -1;
    PDatasetClass p;
    CopyFileFields(OpenFile[openFileIndex], p);
    p.BodyIndex = -1;
    p.PlanListIndex = -1;
    PDataset.push_back(std::move(p));
    return PDatasetCount() - 1;
}

int Workspace::LoadDvhFileHeadless(const std::string& path, float prescribedDoseGy, int planListIndex) {
    // The header, the curves and the version are all read from the one file held here.
    const auto held = platform::OpenedFile::Open(path);
    const ReadThrough bound(path, held);
    const int code = ReadDvhHeader(path);
    if (code <= 1) return -1;
    const std::string key = HeaderKey();
    int entry = FindOpenFileByKey(key);
    if (entry < 0) entry = AppendOpenFileFromHeader(path, code);
    const int plan = AppendPlanFromOpenFile(entry);
    // A listed entry with the same key may name another file: read the one asked for, which
    // the plan was opened from.
    PDataset[plan].FilePath = path;
    PDataset[plan].OpenedFrom = path;
    PDataset[plan].FileType = code;
    PDataset[plan].PlanListIndex = planListIndex;
    if (code == FileTypePlanSum || code == FileTypePlanSumDescription) PlanSumPrescribedDose = prescribedDoseGy;
    // The names are those of this file, not of a listed entry of the same key.
    TakeHeaderNames(PDataset[plan], DvhHeaderFields{HeaderPatientName, HeaderPatientID, HeaderPatientExtra,
                                                    HeaderPlanName, HeaderPlanID, HeaderDate, HeaderTime},
                    key);
    PDataset[plan].PatientExtra = HeaderPatientExtra;
    if (!ReadDvhFile(PDataset[plan].FilePath)) {
        PDataset.pop_back();
        return -1;
    }
    PDataset[plan].ExportRead = bound.Version();
    // An export read alone takes no companion.
    PDataset[plan].CompanionRead = CompanionVersion{};
    return plan;
}

void Workspace::ResetPlanContainers() {
    PDataset.clear();
    OpenFile.clear();
    CurrentPlanIndex = -1;
}
