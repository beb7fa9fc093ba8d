// link(2) behind a process-wide switch that tests turn to reach file systems without hard links.
#include "platform/HardLink.h"

#include <atomic>
#include <cerrno>
#include <unistd.h>

namespace platform {

namespace {
std::atomic<int> g_refused{0};
}  // namespace

bool HardLink(const std::string& existing, const std::string& name) {
    if (const int refused = g_refused.load()) {
        errno = refused;
        return false;
    }
    return ::link(existing.c_str(), name.c_str()) == 0;
}

bool HardLinksUnsupported(int error) {
    // ENOTSUP and EOPNOTSUPP are one number on Linux, two elsewhere.
    return error == EPERM || error == ENOTSUP || error == EOPNOTSUPP || error == ENOSYS;
}

void SetRefusedHardLinks(int error) { g_refused.store(error); }

}  // namespace platform
