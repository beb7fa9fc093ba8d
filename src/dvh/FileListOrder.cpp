// Row texts and ordering of the open-file list.
#include "dvh/FileListOrder.h"

#include "dvh/NameCompare.h"

std::string FileNamePart(std::string_view path) {
    const auto slash = path.find_last_of('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string FileListCellText(const OpenFileClass& entry, int column) {
    switch (column) {
    case FileListPatientID: return entry.PatientID;
    case FileListPatientName: return entry.PatientName;
    case FileListPlanID: return entry.PlanID;
    case FileListFileName: return FileNamePart(entry.FilePath);
    case FileListDateTime: return entry.Date + " " + entry.Time;
    default: return {};
    }
}

std::string FileListRowKey(std::string_view patientID, std::string_view planID,
                           std::string_view dateTime) {
    std::string key(patientID);
    key += planID;
    key += dateTime;
    return key;
}

int CompareFileListText(std::string_view a, std::string_view b, bool ascending) {
    return ascending ? CompareTextNoCase(a, b) : CompareTextNoCase(b, a);
}

bool ClickSortColumn(int& sortColumn, int* flags, int count, int column) {
    if (column < 0 || column >= count) return false;
    sortColumn = column;
    const bool ascending = flags[column] == 1;
    flags[column] = ascending ? 0 : 1;
    return ascending;
}

bool SortAfterRefill(int& sortColumn, int (&flags)[FileListColumnCount]) {
    flags[FileListDateTime] = 0;
    return ClickSortColumn(sortColumn, flags, FileListColumnCount, FileListDateTime);
}
