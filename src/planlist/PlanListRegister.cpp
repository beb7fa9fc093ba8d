// The register section "PlanList": appended to by the first save, renamed with its list.
#include "planlist/PlanListRegister.h"

#include "dvh/NameCompare.h"
#include "dvh/SettingsFile.h"
#include "platform/Paths.h"

#include <algorithm>
#include <filesystem>

namespace {

const char* const kRegister = "PlanList";

}  // namespace

bool AddToPlanListRegister(platform::IniFile& ini, const std::string& name) {
    std::vector<std::string> names = ReadPlanListRegister(ini);
    if (std::find(names.begin(), names.end(), name) != names.end()) return false;
    // Rewritten without gaps, as start-up writes it: a register with holes below its count
    // would otherwise give the new entry a number that start-up never reads.
    names.push_back(name);
    WritePlanListRegister(ini, names);
    return true;
}

int RenameInPlanListRegister(platform::IniFile& ini, const std::string& oldName,
                             const std::string& newName) {
    const int count = ini.ReadInteger(kRegister, "Count", 0);
    int changed = 0;
    // Only the keys the section holds: a huge "Count" costs nothing.
    for (const auto& [key, value] : ini.ReadSectionValues(kRegister)) {
        if (key.size() <= 8 || !StructureNamesEqual(key.substr(0, 8), "ListName", false)) continue;
        int i = 0;
        if (!platform::ParseIniInteger(key.substr(8), i) || i < 1 || i > count ||
            key.substr(8) != std::to_string(i))
            continue;
        // The first key of a name is the one readers see; only that one counts.
        if (ini.ReadString(kRegister, key, "0") != oldName || value != oldName) continue;
        ini.WriteString(kRegister, key, newName);
        ++changed;
    }
    return changed;
}

platform::WriteResult RegisterPlanList(const std::string& programFolder, const std::string& name) {
    const std::string path = SettingsFilePath(programFolder);
    platform::IniFile ini(path);
    if (ini.Load() == platform::IniFile::LoadStatus::Unreadable)
        return {false, "Cannot read \"" + path + "\"; it was left unchanged."};
    // A list already registered needs no write: the file stays as it is.
    if (!AddToPlanListRegister(ini, name)) return {};
    return ini.Save();
}

platform::WriteResult RenameRegisteredPlanList(const std::string& programFolder,
                                               const std::string& oldName,
                                               const std::string& newName) {
    const std::string path = SettingsFilePath(programFolder);
    // Only a settings file that is not there at all is left alone; one that exists but cannot
    // be read makes the rename fail (UpdateSettingsFile refuses it).
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return {};
    platform::IniFile ini(path);
    if (ini.Load() == platform::IniFile::LoadStatus::Unreadable)
        return {false, "Cannot read \"" + path + "\"; it was left unchanged."};
    // No entry of the old name (a list never saved): nothing to write.
    if (RenameInPlanListRegister(ini, oldName, newName) == 0) return {};
    return ini.Save();
}
