// Built against the model library alone (src/platform and src/dvh, every object of it): a model
// routine whose body lives in a subsystem above it leaves this program unlinked. Run, it checks
// that a workspace handed no readers refuses an XiO export instead of reaching for them.
#include "dvh/Workspace.h"

#include <cstdio>

int main() {
    const std::string path = "/nonexistent/tessaray-model-links-alone.txt";
    Workspace ws;
    const int type = ws.ReadDvhHeader(path, nullptr, false);
    ws.PDataset.emplace_back().FileType = FileTypeXiO;
    const ReadResult refused = ws.ReadDvhFile(path);
    const bool ok = type == 0 && refused.status == ReadStatus::UnknownFileType &&
                    !ws.ExportStructureCount(path, FileTypeXiO) && ws.FindDatasetByKey(ws.HeaderKey()) == -1;
    std::puts(ok ? "the model links and runs alone" : "the model misbehaves alone");
    return ok ? 0 : 1;
}
