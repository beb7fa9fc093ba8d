// Collecting iPlan curves copied one at a time, and handing them to a new plan.
#pragma once

#include "dvh/ReadResult.h"
#include "dvh/Records.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class Workspace;

/// What one clipboard change did to the capture.
enum class CaptureOutcome {
    Added,      ///< a new curve was appended
    NotACurve,  ///< no iPlan curve: `ClipboardText` is emptied
    Ignored,    ///< a curve that is not taken, silently (listed name, other reference dose...)
    Refused,    ///< a curve whose numbers do not convert: the user is told, nothing is added
};

struct CaptureResult {
    CaptureOutcome Outcome = CaptureOutcome::NotACurve;
    std::string Name;   ///< the curve's name when added
    ReadResult Read;    ///< why a curve was refused
};

/// Starts a capture: no curves, reference dose -99 (none yet).
void ResetCapture(Workspace& ws);

/// Takes one clipboard text into the capture of `ws`: `ClipboardText` becomes the text when
/// it is an iPlan curve (`ClassifyCopiedCurve`), else "". A curve is ignored when its name is empty, holds a TAB or is
/// listed already, when it has no points or a row without its second TAB, and when its
/// reference dose differs from the first captured curve's. The first curve sets
/// `CapturePrescribedDose`.
CaptureResult CaptureClipboardText(Workspace& ws, std::string_view text);

/// Copies of the captured curves for a new plan. With `typedDoseGy` (the reference of the
/// captured curves was unknown and the user gave it), each copy takes it as its prescribed
/// dose and its % doses and statistics are rescaled to it; Gy values stay, and a minimum of
/// -99 (none) stays -99. The captured curves themselves never change.
std::vector<DVHDatasetClass> CapturedCurvesForPlan(const std::vector<DVHDatasetClass>& captured,
                                                   std::optional<float> typedDoseGy);

/// Whether the captured curves' reference dose is unknown, so that the user must type one.
bool CaptureDoseUnknown(float capturePrescribedDose);
