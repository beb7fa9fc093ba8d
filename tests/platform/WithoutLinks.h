// A file system without hard links, and perhaps without renames that replace nothing, for one
// scope of a test.
#pragma once

#include "platform/FaultPoint.h"
#include "platform/HardLink.h"

/// Hard links, and renames that replace nothing, refused as a file system refuses them while
/// it lives (0 for those given); the fault hook a test set goes with it too.
struct WithoutLinks {
    WithoutLinks(int links, int noReplaceRenames) {
        platform::SetRefusedHardLinks(links);
        platform::SetRefusedNoReplaceRenames(noReplaceRenames);
    }
    ~WithoutLinks() {
        platform::SetRefusedHardLinks(0);
        platform::SetRefusedNoReplaceRenames(0);
        platform::SetFaultHook(nullptr);
    }
    WithoutLinks(const WithoutLinks&) = delete;
    WithoutLinks& operator=(const WithoutLinks&) = delete;
};
