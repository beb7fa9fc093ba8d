// The register section "PlanList": appended to by the first save, renamed with its list.
#include "planlist/PlanListRegister.h"

#include "dvh/SettingsFile.h"
#include "platform/FaultPoint.h"
#include "platform/Paths.h"

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <optional>

bool AddToPlanListRegister(platform::IniFile& ini, const std::string& name) {
    std::vector<std::string> names = ReadPlanListRegister(ini);
    if (std::find(names.begin(), names.end(), name) != names.end()) return false;
    // Rewritten without gaps, as start-up writes it: a register with holes below its count
    // would otherwise give the new entry a number that start-up never reads.
    names.push_back(name);
    WritePlanListRegister(ini, names);
    return true;
}

platform::WriteResult RegisterPlanList(const std::string& programFolder, const std::string& name) {
    const std::string path = SettingsFilePath(programFolder);
    const platform::FileLock lock(SettingsLockPath(path));
    platform::IniFile ini(path);
    if (auto refused = RefusedSettingsChange(lock, ini, false)) return *refused;
    platform::FaultPoint("register read");
    // A list already registered needs no write: the file stays as it is.
    if (!AddToPlanListRegister(ini, name)) return {};
    return ini.Save();
}

PlanListRegisterRename::PlanListRegisterRename(std::string programFolder, std::string oldName,
                                               std::string newName)
    : m_settings(SettingsFilePath(programFolder)), m_oldName(std::move(oldName)), m_newName(std::move(newName)) {}

platform::WriteResult PlanListRegisterRename::Begin() {
    // Only a settings file that is not there at all is left alone; one that exists but cannot
    // be read makes the rename fail.
    std::error_code ec;
    if (!std::filesystem::exists(m_settings, ec)) return {};
    const platform::FileLock lock(SettingsLockPath(m_settings));
    platform::IniFile ini(m_settings);
    if (auto refused = RefusedSettingsChange(lock, ini, false)) return *refused;
    const std::vector<std::string> names = ReadPlanListRegister(ini);
    // No entry of the old name (a list never saved): nothing to write now or later.
    if (std::find(names.begin(), names.end(), m_oldName) == names.end()) return {};
    m_registered = true;
    m_appended = AddToPlanListRegister(ini, m_newName);
    if (!m_appended) return {};
    platform::WriteResult written = ini.Save();
    if (!written.ok) m_registered = false;
    return written;
}

platform::WriteResult PlanListRegisterRename::Finish() {
    if (!m_registered) return {};
    const platform::FileLock lock(SettingsLockPath(m_settings));
    platform::IniFile ini(m_settings);
    if (auto refused = RefusedSettingsChange(lock, ini, true)) return *refused;
    std::vector<std::string> names = ReadPlanListRegister(ini);
    // The new name was already registered (a deleted list's entry waits for the next start):
    // it stands where it was and the old entries go. Otherwise the old entries take the new
    // name where they stand, and the entry added at the end goes.
    if (m_appended) {
        auto added = std::find(names.rbegin(), names.rend(), m_newName);
        if (added != names.rend()) names.erase(std::next(added).base());
    }
    std::vector<std::string> renamed;
    for (const std::string& name : names) {
        if (name != m_oldName)
            renamed.push_back(name);
        else if (m_appended)
            renamed.push_back(m_newName);
    }
    WritePlanListRegister(ini, renamed);
    return ini.Save();
}

platform::WriteResult PlanListRegisterRename::Undo() {
    if (!m_registered || !m_appended) return {};
    const platform::FileLock lock(SettingsLockPath(m_settings));
    platform::IniFile ini(m_settings);
    if (auto refused = RefusedSettingsChange(lock, ini, true)) return *refused;
    std::vector<std::string> names = ReadPlanListRegister(ini);
    auto added = std::find(names.rbegin(), names.rend(), m_newName);
    if (added == names.rend()) return {};
    names.erase(std::next(added).base());
    WritePlanListRegister(ini, names);
    return ini.Save();
}
