// Workspace::ReadBrainLabDvh and Workspace::ReadXiOHeader: where the plan reader hands
// BrainSCAN, iPlan and XiO files to the import readers.
#include "import/ImportHandOver.h"

#include "dvh/DvhReading.h"
#include "dvh/LineCursor.h"
#include "dvh/Workspace.h"
#include "import/BrainLabTable.h"

std::string ImportKindName(int fileType) {
    switch (fileType) {
    case FileTypeBrainScan: return "BrainSCAN";
    case FileTypeIPlan: return "iPlan";
    case FileTypeXiO: return "XiO";
    default: return "unknown";
    }
}

std::string NotYetReadableText(int fileType, const std::string& path) {
    return ImportKindName(fileType) + " DVH files cannot be read yet: " + FileNameOf(path);
}

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

ReadResult Workspace::ReadXiOHeader(const std::string& path) {
    if (m_host) m_host->StatusText(NotYetReadableText(FileTypeXiO, path));
    return ReadResult::Fail(ReadStatus::NotYetReadable, 0, "XiO files cannot be read yet");
}
