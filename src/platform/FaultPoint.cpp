// The process-wide hook behind FaultPoint.
#include "platform/FaultPoint.h"

#include <atomic>

namespace platform {

namespace {
std::atomic<FaultHook> g_hook{nullptr};
}  // namespace

void SetFaultHook(FaultHook hook) { g_hook.store(hook); }

void FaultPoint(std::string_view point) {
    if (FaultHook hook = g_hook.load()) hook(point);
}

}  // namespace platform
