// Processors by affinity and control-group quota, and the machine's load right now.
#include "platform/Processors.h"

#include <sched.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace platform {

namespace {

std::string FileText(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

/// Processors `quota` per `period` give, rounded up; 0 for no quota.
int QuotaToProcessors(double quota, double period) {
    if (!(quota > 0) || !(period > 0)) return 0;
    return std::max(1, static_cast<int>(std::ceil(quota / period)));
}

/// The quota of one group: version 2 "cpu.max" holds "quota period" ("max period": none),
/// version 1 the two in files of their own (a quota of -1: none).
int GroupQuota(const std::string& folder, bool v2) {
    double quota = 0, period = 0;
    if (v2) {
        std::istringstream(FileText(folder + "/cpu.max")) >> quota >> period;
    } else {
        std::istringstream(FileText(folder + "/cpu.cfs_quota_us")) >> quota;
        std::istringstream(FileText(folder + "/cpu.cfs_period_us")) >> period;
    }
    return QuotaToProcessors(quota, period);
}

}  // namespace

int QuotaProcessors(const std::string& root, std::string_view selfCgroup) {
    int least = 0;
    std::istringstream lines{std::string(selfCgroup)};
    for (std::string line; std::getline(lines, line);) {
        // "id:controllers:path"; version 2 has id 0 and no controllers.
        const std::size_t first = line.find(':'), second = line.find(':', first + 1);
        if (first == std::string::npos || second == std::string::npos) continue;
        const std::string controllers = line.substr(first + 1, second - first - 1);
        std::string group = line.substr(second + 1);
        const bool v2 = controllers.empty();
        bool cpu = false;
        std::istringstream names(controllers);
        for (std::string name; std::getline(names, name, ',');) cpu |= name == "cpu";
        if (!v2 && !cpu) continue;
        const std::string mount = v2 ? root : root + "/" + controllers;
        // A group's quota holds for the groups below it: the least of them all counts.
        for (;;) {
            const int quota = GroupQuota(mount + group, v2);
            if (quota > 0) least = least == 0 ? quota : std::min(least, quota);
            const std::size_t slash = group.find_last_of('/');
            if (group.empty() || group == "/" || slash == std::string::npos) break;
            group.erase(slash);  // "/a/b" -> "/a" -> "" (the mount itself)
        }
    }
    return least;
}

int AvailableProcessors() {
    // The quota rarely changes while the program runs; reading it is a few files.
    static const int quota = QuotaProcessors("/sys/fs/cgroup", FileText("/proc/self/cgroup"));
    cpu_set_t set;
    CPU_ZERO(&set);
    const int allowed = sched_getaffinity(0, sizeof set, &set) == 0 ? std::max(1, CPU_COUNT(&set)) : 1;
    return quota > 0 ? std::min(allowed, quota) : allowed;
}

namespace {
std::atomic<long> g_loadLookups{0};
}  // namespace

long LoadLookups() { return g_loadLookups.load(); }

bool ProcessorsToSpare(int threads) {
    g_loadLookups.fetch_add(1);
    // The fourth field of /proc/loadavg counts the tasks running or ready to run right now.
    std::FILE* f = std::fopen("/proc/loadavg", "re");
    if (!f) return false;
    double ignored[3];
    int running = 0, tasks = 0;
    const bool read = std::fscanf(f, "%lf %lf %lf %d/%d", &ignored[0], &ignored[1], &ignored[2], &running, &tasks) == 5;
    std::fclose(f);
    return read && running > 0 && running + threads <= AvailableProcessors();
}

int ThreadsBeside(int wanted, ThreadUse use) {
    if (wanted <= 0) return 0;
    return use == ThreadUse::Always || ProcessorsToSpare(wanted) ? wanted : 0;
}

}  // namespace platform
