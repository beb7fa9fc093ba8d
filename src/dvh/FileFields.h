// The ten fields an open-file entry and a plan share, and the six of them a header gives.
#pragma once

#include <string>

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

/// Whether a plan or an entry has the names of a recognised `header` (`DvhHeaderFields`).
template <class Record, class Header>
bool HasHeaderNames(const Record& r, const Header& header) {
    return r.PatientName == header.PatientName && r.PatientID == header.PatientID && r.Date == header.Date &&
           r.Time == header.Time && r.PlanName == header.PlanName && r.PlanID == header.PlanID;
}

/// Gives a plan or an entry the names of `header` and the key they make.
template <class Record, class Header>
void TakeHeaderNames(Record& r, const Header& header, const std::string& key) {
    r.PatientName = header.PatientName;
    r.PatientID = header.PatientID;
    r.Date = header.Date;
    r.Time = header.Time;
    r.PlanName = header.PlanName;
    r.PlanID = header.PlanID;
    r.Key = key;
}
