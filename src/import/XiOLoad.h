// The two passes of an XiO load over the workspace: the names for the XiO dialog, then the
// read with its answer.
#pragma once

#include "dvh/Workspace.h"

#include <string>
#include <vector>

/// The structure names of the XiO export at `path` (`ParseXiONames` over the file), a guarded
/// read (`GuardedFileRead`): `names` is empty on failure.
ReadResult ReadXiONamesFile(const std::string& path, std::vector<std::string>& names);
/// XiO exports (code 7), first pass: lists the structures of the file into `ws.PendingXiO`,
/// bound to the last plan, for the XiO dialog. A file that fails is reported in the status bar
/// and leaves no request. The model's opener comes here through `InstallImportReaders`.
/// Never throws: no memory on its way, from its first allocation on, fails it as a read that
/// failed, and the request is then not there at all, never half made.
ReadResult ReadXiOHeader(Workspace& ws, const std::string& path) noexcept;
/// The plan `ws.PendingXiO` fills, -1 when none or no longer that plan.
int XiORequestPlanIndex(const Workspace& ws);
/// After the names pass of a pending load: ends the pending load and returns the plan the XiO
/// dialog is to complete, or -1 when the pass failed (the plan appended for the load is
/// removed again, and no request is left).
int HandOverPendingXiO(Workspace& ws);
/// The XiO dialog's OK: gives the plan its identity, plan list (-1 for "N/A") and normal
/// tissue, reads the file with the dose through the progress bar, then applies the companion's
/// aliases. A failed read removes the plan appended for the load and goes to the status bar.
/// Returns how the read ended; the request is over either way. Never throws: no memory on its
/// way fails it as a read that failed.
ReadResult FinishXiOLoad(Workspace& ws, const XiODialogAnswer& answer) noexcept;
/// The XiO dialog's Cancel: removes the plan appended for the load; true when it did.
bool CancelXiOLoad(Workspace& ws);
