// The ten fields an open-file entry and a plan share.
#pragma once

/// Copies the file identity (path, patient, date, time, plan, type, key) from one record to the
/// other: an open-file entry to a plan or back.
template <class From, class To>
void CopyFileFields(const From& from, To& to) {
    to.FilePath = from.FilePath;
    to.PatientName = from.PatientName;
    to.PatientID = from.PatientID;
    to.PatientExtra = from.PatientExtra;
    to.Date = from.Date;
    to.Time = from.Time;
    to.PlanName = from.PlanName;
    to.PlanID = from.PlanID;
    to.FileType = from.FileType;
    to.Key = from.Key;
}
