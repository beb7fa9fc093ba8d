// Opening a plan export and handing it to its reader, under the read's guard.
#include "dvh/PlanExportFile.h"

#include "dvh/DvhExportReader.h"
#include "dvh/DvhTextBlockReader.h"
#include "dvh/ReadGuard.h"

ReadResult ReadPlanExportFile(const std::string& path, const DvhReadOptions& options, ParsedPlan& out) {
    // Even the refusal's text is made under the guard: it needs memory too.
    return GuardedRead(out, [&] {
        out = ParsedPlan{};
        const int type = options.FileType;
        const bool blocks = type == FileTypePlanDescription || type == FileTypePlanSumDescription;
        if (!blocks && type != FileTypePlan && type != FileTypePlanSum)
            return ReadResult::Fail(ReadStatus::UnknownFileType, 0, "no reader for file type " + std::to_string(type));
        return GuardedFileRead(
            path, out,
            [&](LineCursor& lines) {
                return blocks ? ParseDvhTextBlocks(lines, options, out) : ParseDvhFile(lines, options, out);
            },
            LineFile::kChunkBytes, options.Threads);
    });
}
