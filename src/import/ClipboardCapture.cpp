// The capture of iPlan curves: which copies are taken, and their rescaling at commit.
#include "import/ClipboardCapture.h"

#include "dvh/Workspace.h"
#include "import/ClipboardDvh.h"
#include "import/ClipboardTable.h"

namespace {

constexpr float kNoCapture = -99.0f;
constexpr float kUnknownReference = 100.0f;

}  // namespace

void ResetCapture(Workspace& ws) {
    ws.CaptureDVHDataset.clear();
    ws.CaptureWork.clear();
    ws.CapturePrescribedDose = kNoCapture;
}

bool CaptureDoseUnknown(float capturePrescribedDose) { return capturePrescribedDose == kUnknownReference; }

CaptureResult CaptureClipboardText(Workspace& ws, std::string_view text) {
    CaptureResult result;
    const ClipboardKind kind = ClassifyCopiedCurve(text);
    if (kind != ClipboardKind::IPlanCurvePercent && kind != ClipboardKind::IPlanCurveGy) {
        ws.ClipboardText.clear();
        return result;
    }
    ws.ClipboardText = std::string(text);
    result.Outcome = CaptureOutcome::Ignored;
    const std::string name = IPlanCurveName(text);
    if (name.empty() || name.find('\t') != std::string::npos) return result;
    for (const DVHDatasetClass& s : ws.CaptureDVHDataset)
        if (s.Name == name) return result;

    ws.CaptureWork.assign(1, {});
    DVHDatasetClass& work = ws.CaptureWork.front();
    const ReadResult read = ParseIPlanCurve(ws.ClipboardText, work);
    if (read.status == ReadStatus::BadNumber || read.status == ReadStatus::BadPrescribedDose) {
        result.Outcome = CaptureOutcome::Refused;
        result.Read = read;
        return result;
    }
    if (!read || work.DVset.empty()) return result;
    if (ws.CaptureCount() > 0 && work.PrescribedDose != ws.CapturePrescribedDose) return result;

    if (ws.CaptureCount() == 0) ws.CapturePrescribedDose = work.PrescribedDose;
    ws.CaptureDVHDataset.push_back(work);
    result.Outcome = CaptureOutcome::Added;
    result.Name = name;
    return result;
}

std::vector<DVHDatasetClass> CapturedCurvesForPlan(const std::vector<DVHDatasetClass>& captured,
                                                   std::optional<float> typedDoseGy) {
    std::vector<DVHDatasetClass> copies = captured;
    if (!typedDoseGy) return copies;
    const float dose = *typedDoseGy;
    const auto rescale = [dose](float percent) { return percent / dose * 100.0f; };
    for (DVHDatasetClass& s : copies) {
        s.PrescribedDose = dose;
        if (s.MinDosePercent != kNoCapture) s.MinDosePercent = rescale(s.MinDosePercent);
        s.MaxDosePercent = rescale(s.MaxDosePercent);
        s.MeanDosePercent = rescale(s.MeanDosePercent);
        std::vector<DVsetClass> points(s.DVset.begin(), s.DVset.end());
        for (DVsetClass& q : points) q.DosePercent = q.DosePercent * 100.0f / dose;
        s.SetPoints(std::move(points));
    }
    return copies;
}
