// Workspace::ReadBrainLabDvh: where the plan reader hands BrainSCAN and iPlan files to their
// table reader.
#include "import/ImportHandOver.h"

#include "dvh/DvhReading.h"
#include "dvh/LineCursor.h"
#include "dvh/Workspace.h"
#include "import/BrainLabTable.h"

ReadResult ReadBrainLabTableFile(const std::string& path, ParsedPlan& out) {
    LineCursor lines(LineFile{path});
    if (!lines.Opened()) {
        out = ParsedPlan{};
        return dvhread::OpenFailure(lines);
    }
    const ReadResult r = ParseBrainLabTable(lines, out);
    if (!lines.LineTooLong()) return r;
    out = ParsedPlan{};
    return dvhread::LineTooLong(lines);
}

ReadResult Workspace::ReadBrainLabDvh(const std::string& path) {
    if (PDataset.empty()) return ReadResult::Fail(ReadStatus::NoPlan, 0, "no plan to fill");
    ParsedPlan parsed;
    const ReadResult r = ReadBrainLabTableFile(path, parsed);
    if (!r) {
        // Never half a plan: the plan keeps no structure of a file that failed.
        PDataset.back().DVHDataset.clear();
        PDataset.back().BodyIndex = -1;
        if (m_host) m_host->StatusText(ReadFailureText(path, r));
        return r;
    }
    CommitParsedPlan(std::move(parsed), false);
    return r;
}
