// The open-file list's columns and their order: row texts, sort flags and the row comparison.
#pragma once

#include "dvh/Records.h"

#include <string>
#include <string_view>

/// Columns of the open-file list view.
enum FileListColumn : int {
    FileListPatientID = 0,
    FileListPatientName = 1,
    FileListPlanID = 2,
    FileListFileName = 3,
    FileListDateTime = 4,
    FileListColumnCount = 5,
};

/// The part of a path after its last '/' (the whole path when it holds none).
std::string FileNamePart(std::string_view path);

/// The text an entry shows in `column` of the open-file list.
std::string FileListCellText(const OpenFileClass& entry, int column);

/// The dataset key a row of the list gives: its "Patient ID", "Plan ID" and "Date-time" texts
/// joined, which equals the entry's `Key` because "Date-time" shows date + " " + time.
std::string FileListRowKey(std::string_view patientID, std::string_view planID,
                           std::string_view dateTime);

/// Order of two row texts: below, equal or above zero. ASCII letters are folded, then bytes
/// compared; `ascending` false reverses the order.
int CompareFileListText(std::string_view a, std::string_view b, bool ascending);

/// A click on header `column` of a list sorted by column: makes it `sortColumn` and returns
/// whether to sort ascending (its flag is 1), then inverts the flag (1 becomes 0, anything else
/// 1). Flags start at 0, so the first click on a column sorts it descending. `flags` holds one
/// flag per column; a column outside 0..count-1 changes nothing and returns false.
bool ClickSortColumn(int& sortColumn, int* flags, int count, int column);

/// After the open-file list was rebuilt: sorted by "Date-time" descending, and the next click
/// on "Date-time" sorts ascending. Returns the direction to sort with (false, descending).
bool SortAfterRefill(int& sortColumn, int (&flags)[FileListColumnCount]);
