// Whether a thread may wait awake: what the kernel says of the machine's load right now.
#include "platform/WaitAwake.h"

#include "platform/HelperThreads.h"

#include <cstdio>

namespace platform {

bool ProcessorsToSpare(int threads) {
    // The fourth field of /proc/loadavg counts the tasks running or ready to run right now.
    std::FILE* f = std::fopen("/proc/loadavg", "re");
    if (!f) return false;
    double ignored[3];
    int running = 0, tasks = 0;
    const bool read = std::fscanf(f, "%lf %lf %lf %d/%d", &ignored[0], &ignored[1], &ignored[2], &running, &tasks) == 5;
    std::fclose(f);
    return read && running > 0 && running + threads <= AvailableProcessors();
}

}  // namespace platform
