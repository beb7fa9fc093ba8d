// Makes one meeting of a named fault point throw what the machine throws there: a thread that
// cannot be made at "thread start", memory that runs out anywhere else.
#pragma once

#include "platform/FaultPoint.h"

#include <atomic>
#include <cerrno>
#include <new>
#include <string>
#include <string_view>
#include <system_error>

namespace throwtest {

struct Target {
    std::string point;
    std::atomic<long> met{0};
    long throwAt = 0;
};

inline Target& Aim() {
    static Target target;
    return target;
}

inline void ThrowAtNamedPoint(std::string_view point) {
    Target& t = Aim();
    if (point != t.point || t.met.fetch_add(1) + 1 != t.throwAt) return;
    if (point == "thread start")
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again), "no thread");
    throw std::bad_alloc();
}

}  // namespace throwtest

/// While it exists, the `n`-th meeting of `point` (counted over all threads, from 1) throws.
class ThrownAt {
public:
    ThrownAt(const std::string& point, long n) {
        throwtest::Aim().point = point;
        throwtest::Aim().met = 0;
        throwtest::Aim().throwAt = n;
        platform::SetFaultHook(&throwtest::ThrowAtNamedPoint);
    }
    ~ThrownAt() { platform::SetFaultHook(nullptr); }
    ThrownAt(const ThrownAt&) = delete;
    ThrownAt& operator=(const ThrownAt&) = delete;
    /// Whether the meeting that throws has come.
    bool Reached() const { return throwtest::Aim().met.load() >= throwtest::Aim().throwAt; }
};
