// Taking a store entry's export and companion from one save, without a lock of its own.
#include "dvh/StoreEntryRead.h"

#include "dvh/FileNames.h"
#include "dvh/StoreCommit.h"
#include "platform/Paths.h"

namespace {

// Saves of one entry that follow each other closely enough to come between an open's two reads
// three times running keep coming: the plan is opened without its companion instead.
constexpr int kAttempts = 3;

}  // namespace

StoreEntryRead ReadStoreEntry(const std::string& textFile) {
    const std::string companion = ChangeFileExt(textFile, ".mod");
    const platform::CommitRecord commit = StoreCommitOf(textFile);
    const std::vector<std::string> targets = StoreCommitTargets(textFile);
    StoreEntryRead entry;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        // A save records itself before its first rename and removes the record after its last:
        // ended here, waiting for its lock, when a record is there.
        const platform::CommitEnd interrupted = FinishInterruptedStoreSave(textFile);
        entry = StoreEntryRead{};
        entry.Export = platform::OpenedFile::Open(textFile);
        if (interrupted.Unfinished()) {
            entry.Problem = UnfinishedSaveText(textFile, interrupted) + ": the plan is opened without its companion.";
            return entry;
        }
        if (!entry.Export) return entry;
        platform::OpenProblem problem = platform::OpenProblem::None;
        entry.Companion = ReadModFile(companion, &problem);
        // The export opened is the one the companion read belongs to when, after that read, no
        // save is under way and the export still has its name: a save that renamed the new
        // companion before the read either renamed its export before this look, which then sees
        // another file, or has not yet, and its record is still there.
        const bool saveBetween = platform::CommitRecorded(commit, targets) ||
                                 platform::IdentityOfPath(textFile) != entry.Export->Identity();
        if (!saveBetween) {
            if (!entry.Companion && problem != platform::OpenProblem::Missing)
                entry.Problem = platform::FileNameOf(companion) + " " + platform::OpenProblemText(problem) +
                                ": the plan is opened without it.";
            return entry;
        }
    }
    entry.Companion.reset();
    entry.Problem = platform::FileNameOf(textFile) +
                    " was being saved again as it was opened: the plan is opened without its companion.";
    return entry;
}
