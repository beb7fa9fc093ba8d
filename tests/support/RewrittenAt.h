// Makes one meeting of a named fault point write other bytes into a file in place, as another
// program writing into it at that very moment would.
#pragma once

#include "platform/FaultPoint.h"

#include "../dvh/TestSupport.h"

#include <string>
#include <string_view>

namespace rewritetest {

struct Target {
    std::string point, path, bytes;
    long met = 0;
    long rewriteAt = 0;
};

inline Target& Aim() {
    static Target target;
    return target;
}

inline void RewriteAtNamedPoint(std::string_view point) {
    Target& t = Aim();
    if (point != t.point || ++t.met != t.rewriteAt) return;
    if (!dvhtest::WriteInPlace(t.path, t.bytes)) t.met = -1;
}

}  // namespace rewritetest

/// While it exists, the `n`-th meeting of `point` (from 1) writes `bytes` over the start of the
/// file at `path`, in place (`dvhtest::WriteInPlace`).
class RewrittenAt {
public:
    RewrittenAt(const std::string& point, long n, const std::string& path, const std::string& bytes) {
        rewritetest::Aim() = {point, path, bytes, 0, n};
        platform::SetFaultHook(&rewritetest::RewriteAtNamedPoint);
    }
    ~RewrittenAt() { platform::SetFaultHook(nullptr); }
    RewrittenAt(const RewrittenAt&) = delete;
    RewrittenAt& operator=(const RewrittenAt&) = delete;
    /// How often the point was met so far (-1 once the rewrite failed).
    long Met() const { return rewritetest::Aim().met; }
};
