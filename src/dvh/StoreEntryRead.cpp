// Taking a store entry's export and companion from one save, without a lock of its own.
#include "dvh/StoreEntryRead.h"

#include "dvh/StoreCommit.h"
#include "platform/FileLock.h"
#include "platform/OpenedFile.h"
#include "platform/Paths.h"

#include <chrono>
#include <thread>

namespace {

/// A look at the entry whose save was under way is tried again after this pause.
constexpr std::chrono::milliseconds kPause{5};

}  // namespace

StoreEntryRead ReadStoreEntry(const std::string& textFile) {
    const std::string companion = ChangeFileExt(textFile, ".mod");
    const platform::CommitRecord commit = StoreCommitOf(textFile);
    const std::vector<std::string> targets = StoreCommitTargets(textFile);
    // As long as a lock is waited for: a save under way ends long before; one that does not is
    // stopped, and the export is taken without its companion.
    const auto deadline = std::chrono::steady_clock::now() + platform::LockWaitLimit();
    StoreEntryRead entry;
    for (;;) {
        // A save records itself before its first rename and removes the record after its last;
        // a record whose writer is gone is ended here. The entry's lock is not waited for: a
        // save under way takes it again at once for the next save, and the open waits for a
        // moment between saves instead, when no record is there.
        const platform::CommitEnd interrupted = FinishInterruptedStoreSave(textFile, platform::LockWait::None);
        if (!interrupted.Busy()) {
            entry = StoreEntryRead{};
            entry.Export = platform::OpenedFile::Open(textFile);
            if (interrupted.Unfinished()) {
                entry.Problem =
                    UnfinishedSaveText(textFile, interrupted) + ": the plan is opened without its companion.";
                return entry;
            }
            if (!entry.Export) return entry;
            platform::OpenProblem problem = platform::OpenProblem::None;
            entry.Companion = ReadModFile(companion, &problem);
            // The export opened is the one the companion read belongs to when, after that read,
            // no save is under way and the export still has its name: a save that renamed the
            // new companion before the read either renamed its export before this look, which
            // then sees another file, or has not yet, and its record is still there.
            const bool saveBetween = platform::CommitRecorded(commit, targets) ||
                                     platform::IdentityOfPath(textFile) != entry.Export->Identity();
            if (!saveBetween) {
                if (!entry.Companion && problem != platform::OpenProblem::Missing)
                    entry.Problem = platform::FileNameOf(companion) + " " + platform::OpenProblemText(problem) +
                                    ": the plan is opened without it.";
                return entry;
            }
        }
        if (std::chrono::steady_clock::now() >= deadline) break;
        std::this_thread::sleep_for(kPause);
    }
    // The export as it is now: a save that keeps its lock may never end.
    if (!entry.Export) entry.Export = platform::OpenedFile::Open(textFile);
    entry.Companion.reset();
    entry.Problem = SaveUnderWayText(textFile) + ": the plan is opened without its companion.";
    return entry;
}
