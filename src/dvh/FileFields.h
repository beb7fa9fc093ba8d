// The ten fields an open-file entry and a plan share, and the six of them a header gives.
#pragma once

#include "dvh/Records.h"

#include <string>

namespace filefields {

/// The identity besides the file (patient, date, time, plan, type, key) that an entry and a
/// plan share.
template <class From, class To>
void CopyNames(const From& from, To& to) {
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

}  // namespace filefields

/// Copies the file identity (path, patient, date, time, plan, type, key) of an open-file entry
/// to a plan: the entry's file is the one the plan reads and the one its row names.
inline void CopyFileFields(const OpenFileClass& from, PDatasetClass& to) {
    to.FilePath = from.FilePath;
    to.OpenedFrom = from.FilePath;
    filefields::CopyNames(from, to);
}

/// Copies a plan's identity to an open-file entry, its row: the row names the file the plan was
/// opened from, not the store's entry it may have saved since.
inline void CopyFileFields(const PDatasetClass& from, OpenFileClass& to) {
    to.FilePath = from.OpenedFrom;
    filefields::CopyNames(from, to);
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
