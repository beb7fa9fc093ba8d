// Keeping the plan-list register of "Tessaray.ini" in step with saves and renames.
#pragma once

#include "platform/AtomicWrite.h"
#include "platform/IniFile.h"

#include <string>

/// Adds `name` at the end of the register unless an entry equals it exactly (case counts);
/// existing entries are not moved. True when an entry was added.
bool AddToPlanListRegister(platform::IniFile& ini, const std::string& name);
/// Every register entry equal to `oldName` (1 to "Count", keys present) takes `newName`; entries
/// are neither added nor removed. Returns how many entries changed.
int RenameInPlanListRegister(platform::IniFile& ini, const std::string& oldName,
                             const std::string& newName);

/// The settings file of `programFolder` with `name` registered; created when missing, and
/// not written at all when `name` is registered already.
platform::WriteResult RegisterPlanList(const std::string& programFolder, const std::string& name);
/// Renames the entries of a list in the settings file of `programFolder`; a missing settings
/// file is left missing.
platform::WriteResult RenameRegisteredPlanList(const std::string& programFolder,
                                               const std::string& oldName,
                                               const std::string& newName);
