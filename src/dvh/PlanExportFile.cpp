// Opening a plan export and handing it to its reader, under the read's guard.
#include "dvh/PlanExportFile.h"

#include "dvh/DvhExportReader.h"
#include "dvh/DvhTextBlockReader.h"
#include "dvh/ReadGuard.h"

ReadResult ReadPlanExportFile(const std::string& path, const DvhReadOptions& options, ParsedPlan& out) {
    out = ParsedPlan{};
    const int type = options.FileType;
    const bool blocks = type == FileTypePlanDescription || type == FileTypePlanSumDescription;
    if (!blocks && type != FileTypePlan && type != FileTypePlanSum)
        return ReadResult::Fail(ReadStatus::UnknownFileType, 0, "no reader for file type " + std::to_string(type));
    LineFile file{path};
    file.threads = options.Threads;
    return GuardedFileRead(file, out, [&](LineCursor& lines) {
        return blocks ? ParseDvhTextBlocks(lines, options, out) : ParseDvhFile(lines, options, out);
    });
}
