// Workspace::ReadBrainLabDvh and Workspace::ReadXiOHeader. Until their readers exist they tell
// the user that such files cannot be read yet and leave the plan as it is.
#include "import/ImportHandOver.h"

#include "dvh/Workspace.h"

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

namespace {

ReadResult NotYetReadable(Workspace& ws, int fileType, const std::string& path) {
    if (ws.Host()) ws.Host()->StatusText(NotYetReadableText(fileType, path));
    return ReadResult::Fail(ReadStatus::NotYetReadable, 0, ImportKindName(fileType) + " files cannot be read yet");
}

}  // namespace

ReadResult Workspace::ReadBrainLabDvh(const std::string& path) {
    const int type = PDataset.empty() ? FileTypeBrainScan : PDataset.back().FileType;
    return NotYetReadable(*this, type == FileTypeIPlan ? FileTypeIPlan : FileTypeBrainScan, path);
}

ReadResult Workspace::ReadXiOHeader(const std::string& path) { return NotYetReadable(*this, FileTypeXiO, path); }
