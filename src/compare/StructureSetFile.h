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

/// The sets of section "List" key "Count", set i in section "List" + i (from 0) with keys
/// "Title" and "Structure0" to "Structure3" (missing keys read "0"). A count larger than the
/// file has sections is cut to that number.
std::vector<CompDVHrepClass> ReadStructureSets(const platform::IniFile& ini);
/// Rewrites the sets: erases "List" and writes "Count", then for each set erases its section and
/// writes "Title", "Structure0" ... "Structure3". Sections beyond the count are left alone.
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
