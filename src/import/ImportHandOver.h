// Where the plan reader hands BrainSCAN, iPlan and XiO files over to the import readers.
#pragma once

#include "dvh/DvhReading.h"
#include "dvh/Workspace.h"

#include <string>

/// Reads the BrainSCAN/iPlan table file at `path` (streamed, whole lines) into `out`, which
/// stays empty on failure; a guarded read (`GuardedFileRead`): what is thrown on its way is its
/// failure. The batch reader, `ReadBrainLabDvh` and the store's count all come here.
ReadResult ReadBrainLabTableFile(const std::string& path, ParsedPlan& out);
/// BrainSCAN and iPlan saved DVH tables (codes 5, 6) into the last plan of `ws`; a failure
/// leaves the plan without structures and goes to the status bar.
ReadResult ReadBrainLabDvh(Workspace& ws, const std::string& path);
/// Hands `ws` the readers of codes 5, 6 and 7, which its opener cannot reach by itself.
/// Whoever sets up a workspace that opens such files calls this once.
void InstallImportReaders(Workspace& ws);
