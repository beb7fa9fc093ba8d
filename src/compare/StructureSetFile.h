// The comparison window's named structure sets and their file "Tessaray_ReportCompDVHset.ini".
#pragma once

#include "platform/AtomicWrite.h"
#include "platform/IniFile.h"

#include <string>
#include <vector>

/// One named structure set: the structures of charts A to D, then the title.
struct CompDVHrepClass {
    std::string Structure[4];
    std::string Title;
};

/// "Tessaray_ReportCompDVHset.ini" in `programFolder` (which ends in '/').
std::string StructureSetFilePath(const std::string& programFolder);

/// The sets in the sections "List" + a number, in number order, below "Count" of section "List"
/// where that is usable (see `platform::NumberedSections`), with keys "Title" and "Structure0"
/// to "Structure3" (a missing key reads "").
std::vector<CompDVHrepClass> ReadStructureSets(const platform::IniFile& ini);
/// The show handler's reading: when the file at `path` exists, `sets` becomes its sets and
/// true is returned; a missing file leaves `sets` as they were (false).
bool ReadStructureSetFile(const std::string& path, std::vector<CompDVHrepClass>& sets);
/// Rewrites the sets: erases "List" and every set's section that `ReadStructureSets` reads, writes
/// "Count", then each set as section "List" + its place from 0 with "Title", "Structure0" ...
/// "Structure3". Sections beyond a usable count, never read, are left alone.
void WriteStructureSets(platform::IniFile& ini, const std::vector<CompDVHrepClass>& sets);
/// Writes `sets` into the file at `path` atomically, keeping its other sections. Refuses to
/// write over a file that exists but cannot be read.
platform::WriteResult SaveStructureSetFile(const std::string& path,
                                           const std::vector<CompDVHrepClass>& sets);

enum class StructureSetStatus { Done, Duplicate, Failed };

struct StructureSetResult {
    StructureSetStatus status = StructureSetStatus::Done;
    std::string message;  // when Failed
};

/// Stores a new set titled `title` with the four chart structures: Duplicate (nothing changes)
/// when a set has exactly that title; otherwise appended and the file at `path` rewritten. When
/// the file cannot be written the set is taken out again, so memory and file agree.
StructureSetResult AddStructureSet(std::vector<CompDVHrepClass>& sets, const std::string& path,
                                   const std::string& title, const std::string (&structures)[4]);

/// "Delete": removes every set titled `title` (exact) and rewrites the file. When the file
/// cannot be written the sets stay as they were.
StructureSetResult DeleteStructureSets(std::vector<CompDVHrepClass>& sets, const std::string& path,
                                       const std::string& title);

/// The set applied for a chosen title: the last one of that title, -1 for none.
int LastStructureSetWithTitle(const std::vector<CompDVHrepClass>& sets, const std::string& title);

/// The item of a structure choice holding `items` that a set's `structure` selects: the last
/// equal item (exact), -1 when none is equal (the choice keeps its selection).
int LastEqualItem(const std::vector<std::string>& items, const std::string& structure);
