// A plan export read from its file: the one way in for the program, the batch and the store.
#pragma once

#include "dvh/DvhReading.h"

#include <string>

/// Reads the plan export at `path` into `out` with the reader of `options.FileType` (2 or 3:
/// `ParseDvhFile`, 12 or 13: `ParseDvhTextBlocks`), streaming the file in whole lines. A
/// guarded read: anything thrown on its way, on any of its threads, is its failure. On
/// failure `out` is left empty and the result says why, with the line where one is to blame.
ReadResult ReadPlanExportFile(const std::string& path, const DvhReadOptions& options, ParsedPlan& out);
