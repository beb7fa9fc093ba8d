// How many processors this process may use, and how many of them are free right now.
#pragma once

#include <string>
#include <string_view>

namespace platform {

/// The processors this thread may run on (at least 1): those its affinity allows, and no more
/// than a CPU quota of its control group gives (a container of 2 processors on a larger host).
int AvailableProcessors();

/// Whether `threads` more threads would each find a processor free at this moment: the
/// processors this thread may use outnumber the tasks running on the machine now (this one
/// among them) by `threads`. False when the kernel does not tell.
bool ProcessorsToSpare(int threads);

/// How many times this process has looked at the machine's load (`ProcessorsToSpare`), so that
/// a test can see that a read of a small file never does.
long LoadLookups();

/// Whether a read starts threads beside its own only where the machine has processors free for
/// them when it first needs them (the program), or whatever the load (tests that must reach those threads
/// on a busy machine too).
enum class ThreadUse { ByLoad, Always };

/// The threads a read starts beside its own for work it could do itself: `wanted` where the
/// machine has a processor free for each of them right now (or `use` is `Always`), else none.
/// On a busy machine a thread of its own would get a processor only late, and the reader would
/// wait for it rather than do the work.
int ThreadsBeside(int wanted, ThreadUse use);

/// The processors (rounded up) that the CPU quota of the control group named in `selfCgroup`
/// (the text of /proc/self/cgroup) and of the groups above it allow, read below `root` (the
/// mount of the control groups); 0 where none has a quota. Both cgroup versions: "cpu.max" of
/// version 2, "cpu.cfs_quota_us" and "cpu.cfs_period_us" of version 1.
int QuotaProcessors(const std::string& root, std::string_view selfCgroup);

}  // namespace platform
