// Where the plan reader hands BrainSCAN, iPlan and XiO files over to the import readers.
#pragma once

#include "dvh/DvhReading.h"

#include <string>

/// The name of an import kind for the user: "BrainSCAN", "iPlan" or "XiO" (codes 5, 6, 7).
std::string ImportKindName(int fileType);
/// Status-bar text for an import kind whose reader is not part of the program yet.
std::string NotYetReadableText(int fileType, const std::string& path);

/// Reads the BrainSCAN/iPlan table file at `path` (streamed, whole lines) into `out`, which
/// stays empty on failure; the batch reader and `Workspace::ReadBrainLabDvh` both come here.
ReadResult ReadBrainLabTableFile(const std::string& path, ParsedPlan& out);
