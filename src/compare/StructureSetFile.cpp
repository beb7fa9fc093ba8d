// Reading and rewriting the structure-set file of the comparison window.
#include "compare/StructureSetFile.h"

#include "platform/Paths.h"

namespace {

const char* const kList = "List";

}  // namespace

std::string StructureSetFilePath(const std::string& programFolder) {
    return programFolder + "Tessaray_ReportCompDVHset.ini";
}

std::vector<CompDVHrepClass> ReadStructureSets(const platform::IniFile& ini) {
    const std::vector<std::string> sections = platform::NumberedSections(ini, kList, kList);
    std::vector<CompDVHrepClass> sets(sections.size());
    for (std::size_t i = 0; i < sets.size(); ++i) {
        sets[i].Title = ini.ReadString(sections[i], "Title", "");
        for (int k = 0; k < 4; ++k)
            sets[i].Structure[k] = ini.ReadString(sections[i], "Structure" + std::to_string(k), "");
    }
    return sets;
}

bool ReadStructureSetFile(const std::string& path, std::vector<CompDVHrepClass>& sets) {
    if (!platform::FileExists(path)) return false;
    platform::IniFile ini(path);
    // An unreadable file reads as no sets; it is never written over (see SaveStructureSetFile).
    if (ini.Load() == platform::IniFile::LoadStatus::Unreadable) {
        sets.clear();
        return true;
    }
    sets = ReadStructureSets(ini);
    return true;
}

void WriteStructureSets(platform::IniFile& ini, const std::vector<CompDVHrepClass>& sets) {
    std::vector<platform::IniKeys> entries(sets.size());
    for (std::size_t i = 0; i < sets.size(); ++i) {
        entries[i].emplace_back("Title", sets[i].Title);
        for (int k = 0; k < 4; ++k) entries[i].emplace_back("Structure" + std::to_string(k), sets[i].Structure[k]);
    }
    platform::WriteNumberedSections(ini, kList, kList, entries, true);
}

platform::WriteResult SaveStructureSetFile(const std::string& path,
                                           const std::vector<CompDVHrepClass>& sets) {
    platform::IniFile ini(path);
    if (ini.Load() == platform::IniFile::LoadStatus::Unreadable)
        return {false, "Cannot read \"" + path + "\"; it was left unchanged."};
    WriteStructureSets(ini, sets);
    return ini.Save();
}

StructureSetResult AddStructureSet(std::vector<CompDVHrepClass>& sets, const std::string& path,
                                   const std::string& title, const std::string (&structures)[4]) {
    for (const CompDVHrepClass& set : sets)
        if (set.Title == title) return {StructureSetStatus::Duplicate, {}};
    CompDVHrepClass set;
    set.Title = title;
    for (int k = 0; k < 4; ++k) set.Structure[k] = structures[k];
    sets.push_back(std::move(set));
    const platform::WriteResult written = SaveStructureSetFile(path, sets);
    if (!written.ok) {
        sets.pop_back();
        return {StructureSetStatus::Failed, written.message};
    }
    return {};
}

StructureSetResult DeleteStructureSets(std::vector<CompDVHrepClass>& sets, const std::string& path,
                                       const std::string& title) {
    std::vector<CompDVHrepClass> kept;
    for (const CompDVHrepClass& set : sets)
        if (set.Title != title) kept.push_back(set);
    const platform::WriteResult written = SaveStructureSetFile(path, kept);
    if (!written.ok) return {StructureSetStatus::Failed, written.message};
    sets = std::move(kept);
    return {};
}

int LastStructureSetWithTitle(const std::vector<CompDVHrepClass>& sets, const std::string& title) {
    for (int i = static_cast<int>(sets.size()) - 1; i >= 0; --i)
        if (sets[static_cast<std::size_t>(i)].Title == title) return i;
    return -1;
}

int LastEqualItem(const std::vector<std::string>& items, const std::string& structure) {
    for (int i = static_cast<int>(items.size()) - 1; i >= 0; --i)
        if (items[static_cast<std::size_t>(i)] == structure) return i;
    return -1;
}
