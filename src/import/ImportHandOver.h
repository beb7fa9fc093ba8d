// Where the plan reader hands BrainSCAN, iPlan and XiO files over to the import readers.
#pragma once

#include "dvh/DvhReading.h"

#include <string>


/// Reads the BrainSCAN/iPlan table file at `path` (streamed, whole lines) into `out`, which
/// stays empty on failure; the batch reader and `Workspace::ReadBrainLabDvh` both come here.
ReadResult ReadBrainLabTableFile(const std::string& path, ParsedPlan& out);
