// "Tessaray.ini": folders and tool bars per computer, shared options and the plan-list register.
#pragma once

#include "platform/FileLock.h"
#include "platform/IniFile.h"

#include <optional>
#include <string>
#include <vector>

/// Which tool bars the settings show. Missing or odd values keep the standard and project
/// bars shown (only 2 hides them) and the BrainLAB bar hidden (only 1 shows it).
struct ToolBarSettings {
    bool Standard = true;
    bool Project = true;
    bool BrainLABRTP = false;
};

/// What start-up reads from the settings file.
struct StoredSettings {
    std::string ReadFolder;  // "" unless the stored folder exists
    std::string SaveFolder;  // "" unless the stored folder exists
    bool AutoScan = false;
    bool CaseSensitivity = false;
    ToolBarSettings ToolBars;
};

/// The settings file of a program folder (which ends in '/').
std::string SettingsFilePath(const std::string& programFolder);
/// The lock file beside the settings file at `settingsPath`, held around every change of it.
std::string SettingsLockPath(const std::string& settingsPath);
std::string FileLocationSection(const std::string& computerName);
std::string ToolBarSection(const std::string& computerName);

/// Reads folders, options and tool bars; on/off values are on only when exactly 1, while a
/// tool bar is hidden only by exactly 2.
StoredSettings ReadStoredSettings(const platform::IniFile& ini, const std::string& computerName);

/// Writes the settings dialog's values (1 on, 2 off) into `ini`.
void WriteDialogSettings(platform::IniFile& ini, const std::string& computerName,
                         const std::string& readFolder, const std::string& saveFolder,
                         bool autoScan, bool caseSensitivity);

/// Writes one tool bar's key ("Standard", "Project" or "BrainLABRTP"): 1 shown, 2 hidden.
void WriteToolBarSetting(platform::IniFile& ini, const std::string& computerName,
                         const std::string& key, bool shown);

/// "Another instance of Tessaray is changing Tessaray.ini; nothing was written to it."
std::string SettingsBusyText();
/// Why a change of the settings file may not take its turn under the settings lock `lock`, or
/// none when it holds it: the busy text when another instance held it throughout the wait,
/// else why it could not be had.
std::optional<platform::WriteResult> RefusedSettingsTurn(const platform::FileLock& lock);
/// Why the settings file of `ini` may not be changed now, or none when it may, and then it is
/// loaded: every change takes its turn under the settings lock `lock`, and one that could not
/// have it writes nothing (the busy text when another instance held it throughout the wait,
/// else why it could not be had), so that it never writes back what was read before another's
/// change. A file that cannot be read, or is missing where `mustExist`, is left as it is.
std::optional<platform::WriteResult> RefusedSettingsChange(const platform::FileLock& lock, platform::IniFile& ini,
                                                           bool mustExist = false);

/// Loads the settings file (or starts an empty one when missing), applies `change` and saves
/// it atomically. Refuses to write over a file that exists but cannot be read.
/// Processes sharing the program folder take the settings lock around each read-modify-write,
/// so that none writes back a register read before another's change. A change that cannot
/// take its turn within the lock's wait (`platform::LockWaitLimit`) is refused
/// (`RefusedSettingsChange`): nothing is written, and the file keeps the other's change.
template <typename Change>
platform::WriteResult UpdateSettingsFile(const std::string& path, Change&& change) {
    const platform::FileLock lock(SettingsLockPath(path));
    platform::IniFile ini(path);
    if (auto refused = RefusedSettingsChange(lock, ini)) return *refused;
    change(ini);
    return ini.Save();
}

/// The register's list names, "ListName1" to "ListName" + "Count" (a missing one reads "0");
/// when "Count" is no number of 0 or more, every "ListName" key present, in number order.
std::vector<std::string> ReadPlanListRegister(const platform::IniFile& ini);
/// Replaces the register by exactly `names`, renumbered from 1 without gaps.
void WritePlanListRegister(platform::IniFile& ini, const std::vector<std::string>& names);
