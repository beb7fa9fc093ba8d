// Reading and writing the keys of "Tessaray.ini".
#include "dvh/SettingsFile.h"

#include "dvh/NameCompare.h"
#include "platform/Paths.h"

#include <map>

namespace {

constexpr const char* kSettingsFileName = "Tessaray.ini";

// A stored folder counts only while it still exists; the key's default "0" names a folder
// "0" relative to the current directory, which is kept only if such a folder is there.
std::string ExistingFolder(const platform::IniFile& ini, const std::string& section,
                           const char* key) {
    const std::string folder = ini.ReadString(section, key, "0");
    return platform::DirectoryExists(folder) ? folder : std::string();
}

}  // namespace

std::string SettingsFilePath(const std::string& programFolder) {
    return programFolder + kSettingsFileName;
}

std::string SettingsLockPath(const std::string& settingsPath) { return settingsPath + ".lock"; }

std::string SettingsBusyText() {
    return std::string("Another instance of Tessaray is changing ") + kSettingsFileName +
           "; nothing was written to it.";
}

std::optional<platform::WriteResult> RefusedSettingsTurn(const platform::FileLock& lock) {
    if (lock.Held()) return std::nullopt;
    if (lock.Busy()) return platform::WriteResult{false, SettingsBusyText()};
    return platform::WriteResult{false, lock.Error() + "; nothing was written to " + kSettingsFileName + "."};
}

std::optional<platform::WriteResult> RefusedSettingsChange(const platform::FileLock& lock, platform::IniFile& ini,
                                                           bool mustExist) {
    if (auto refused = RefusedSettingsTurn(lock)) return refused;
    const platform::IniFile::LoadStatus status = ini.Load();
    using Status = platform::IniFile::LoadStatus;
    if (status == Status::Unreadable || (mustExist && status != Status::Ok))
        return platform::WriteResult{false, "Cannot read \"" + ini.Path() + "\"; it was left unchanged."};
    return std::nullopt;
}

std::string FileLocationSection(const std::string& computerName) {
    return "FileLocation-" + computerName;
}

std::string ToolBarSection(const std::string& computerName) { return "ToolBar-" + computerName; }

StoredSettings ReadStoredSettings(const platform::IniFile& ini, const std::string& computerName) {
    StoredSettings s;
    const std::string folders = FileLocationSection(computerName);
    s.ReadFolder = ExistingFolder(ini, folders, "Read");
    s.SaveFolder = ExistingFolder(ini, folders, "Save");
    s.AutoScan = ini.ReadInteger("Option", "AutoScan", 0) == 1;
    s.CaseSensitivity = ini.ReadInteger("Option", "CaseSensitivity", 0) == 1;
    const std::string bars = ToolBarSection(computerName);
    s.ToolBars.BrainLABRTP = ini.ReadInteger(bars, "BrainLABRTP", 0) == 1;
    s.ToolBars.Standard = ini.ReadInteger(bars, "Standard", 0) != 2;
    s.ToolBars.Project = ini.ReadInteger(bars, "Project", 0) != 2;
    return s;
}

void WriteDialogSettings(platform::IniFile& ini, const std::string& computerName,
                         const std::string& readFolder, const std::string& saveFolder,
                         bool autoScan, bool caseSensitivity) {
    const std::string folders = FileLocationSection(computerName);
    ini.WriteString(folders, "Read", readFolder);
    ini.WriteString(folders, "Save", saveFolder);
    ini.WriteInteger("Option", "AutoScan", autoScan ? 1 : 2);
    ini.WriteInteger("Option", "CaseSensitivity", caseSensitivity ? 1 : 2);
}

void WriteToolBarSetting(platform::IniFile& ini, const std::string& computerName,
                         const std::string& key, bool shown) {
    ini.WriteInteger(ToolBarSection(computerName), key, shown ? 1 : 2);
}

std::vector<std::string> ReadPlanListRegister(const platform::IniFile& ini) {
    // A "Count" that is no plain number of 0 or more (missing, "1.0", "1e9", beyond the int
    // range, junk) is not understood: then every "ListName" key present is an entry, for a
    // register rewritten after reading none of them would lose every list.
    int count = 0;
    const bool countUsable = ini.ValueExists("PlanList", "Count") &&
                             platform::ParseIniInteger(ini.ReadString("PlanList", "Count", ""), count) &&
                             count >= 0;
    // Walk the keys the file holds rather than trusting "Count": a huge count must not make
    // start-up loop or load the same list again and again. Entries missing below the count
    // read as "0", which names a list only if a file "0.lst" exists; it is listed once.
    std::map<int, std::string> present;
    for (const std::string& key : ini.ReadSection("PlanList")) {
        if (key.size() <= 8 || !StructureNamesEqual(key.substr(0, 8), "ListName", false)) continue;
        int i = 0;
        if (!platform::ParseIniInteger(key.substr(8), i) || i < 1 || (countUsable && i > count) ||
            key.substr(8) != std::to_string(i))
            continue;
        if (!present.count(i)) present.emplace(i, ini.ReadString("PlanList", key, "0"));
    }
    std::vector<std::string> names;
    bool missingListed = !countUsable;  // without a count no entry is missing
    int expected = 1;
    for (const auto& [i, name] : present) {
        if (i > expected && !missingListed) {
            names.push_back("0");
            missingListed = true;
        }
        names.push_back(name);
        expected = i + 1;
    }
    if (expected <= count && !missingListed) names.push_back("0");
    return names;
}

void WritePlanListRegister(platform::IniFile& ini, const std::vector<std::string>& names) {
    // Written in place: the section stays where the user's file has it, with any keys of its
    // own; entries are replaced where they stand, new ones appended to the section, and only
    // entries beyond the new count go.
    const int count = static_cast<int>(names.size());
    for (const std::string& key : ini.ReadSection("PlanList")) {
        if (key.size() <= 8 || !StructureNamesEqual(key.substr(0, 8), "ListName", false)) continue;
        int i = 0;
        if (platform::ParseIniInteger(key.substr(8), i) && key.substr(8) == std::to_string(i) && i > count)
            ini.DeleteKey("PlanList", key);
    }
    ini.WriteInteger("PlanList", "Count", count);
    for (std::size_t i = 0; i < names.size(); ++i)
        ini.WriteString("PlanList", "ListName" + std::to_string(i + 1), names[i]);
}
