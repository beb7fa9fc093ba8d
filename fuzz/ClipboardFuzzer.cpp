// Fuzzes the BrainLAB clipboard import: any copied text is classified and parsed without a
// crash, and every structure it yields has finite points with volumes between 0 and 100 %
// when the table was differential.
#include "dvh/Workspace.h"
#include "import/ClipboardCapture.h"
#include "import/ClipboardDvh.h"
#include "import/ClipboardTable.h"

#include "FuzzChecks.h"

#include <cmath>
#include <cstdint>
#include <string_view>

namespace {

void CheckFinite(const std::vector<DVHDatasetClass>& structures) {
    for (const DVHDatasetClass& s : structures)
        for (const DVsetClass& p : s.DVset)
            fuzz::Require(std::isfinite(p.DoseGy) || std::isinf(p.DoseGy), "a NaN dose");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string normal = NormaliseLineEnds(text);
    const ClipboardKind kind = ClassifyClipboardText(text).Kind;
    fuzz::Require(ClassifyClipboardText(normal).Kind == kind, "line ends changed the kind");
    std::vector<DVHDatasetClass> structures;
    if (ParseBrainScanTable(normal, 60, BrainScanUse::NewPlan, structures)) {
        fuzz::Require(!structures.empty(), "a table without structures parsed");
        CheckFinite(structures);
    } else {
        fuzz::Require(structures.empty(), "a refused table left structures");
    }
    if (ParseBrainScanTable(normal, 60, BrainScanUse::AddedStructures, structures)) CheckFinite(structures);
    if (ParseIPlanTable(normal, 50, structures)) CheckFinite(structures);
    Workspace ws;
    ResetCapture(ws);
    const CaptureResult r = CaptureClipboardText(ws, normal);
    fuzz::Require((r.Outcome == CaptureOutcome::Added) == (ws.CaptureCount() == 1), "a capture count out of step");
    if (r.Outcome == CaptureOutcome::Added) fuzz::Require(!ws.CaptureDVHDataset[0].DVset.empty(), "an empty curve kept");
    return 0;
}
