// Keeping the plan-list register of "Tessaray.ini" in step with saves and renames.
#pragma once

#include "platform/AtomicWrite.h"
#include "platform/IniFile.h"

#include <string>

/// Adds `name` at the end of the register unless an entry equals it exactly (case counts);
/// existing entries are not moved. True when an entry was added.
bool AddToPlanListRegister(platform::IniFile& ini, const std::string& name);

/// The settings file of `programFolder` with `name` registered; created when missing, and
/// not written at all when `name` is registered already.
platform::WriteResult RegisterPlanList(const std::string& programFolder, const std::string& name);

/// A rename of a registered list in the order that a crash at any step leaves a register the
/// next start reads right: `Begin` adds the new name beside the old one, the caller renames the
/// file, `Finish` lets the new name take the old one's place (or `Undo` takes it out again when
/// the file kept its name). Each step is one atomic write under the settings lock, so a start
/// after a crash finds the file under one of the two names and drops the other. A step that
/// cannot take its turn on the lock writes nothing and says so: after a refused `Begin` the
/// file must keep its name; a refused `Finish` or `Undo` leaves both names registered, of which
/// the next start drops the one that names no file.
class PlanListRegisterRename {
public:
    PlanListRegisterRename(std::string programFolder, std::string oldName, std::string newName);

    /// Adds the new name when the old one is registered; a missing settings file, or a list
    /// never registered, needs nothing (and `Finish` then writes nothing either).
    platform::WriteResult Begin();
    /// The old name's entries take the new name in place; the entry `Begin` added goes.
    platform::WriteResult Finish();
    /// Removes what `Begin` added.
    platform::WriteResult Undo();

private:
    std::string m_settings;
    std::string m_oldName;
    std::string m_newName;
    bool m_registered = false;  // the old name is in the register: Begin wrote the new one
    bool m_appended = false;    // Begin appended the new name (it was not there already)
};
