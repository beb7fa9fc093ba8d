// Start-up of the model: settings, the registered plan lists and empty plan containers.
#pragma once

#include "dvh/Workspace.h"

#include <string>

/// Reads "Tessaray.ini" of `programFolder` into `ws` (folders and tool bars of section
/// "...-" + `ComputerName`, shared options), loads every registered plan list whose file
/// exists, rewrites the register to keep only those (and lists whose files exist but cannot
/// be read, which are refused rather than loaded empty), then empties the plan containers.
/// The register is rewritten only in this start's turn on the settings lock: while another
/// instance holds it beyond the wait, the lists are loaded and the register is left as it is.
Workspace::StartupResult LoadSettingsAndPlanLists(Workspace& ws, const std::string& programFolder);
