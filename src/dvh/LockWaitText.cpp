// The status text of a wait for a lock file, named after what the lock guards.
#include "dvh/LockWaitText.h"

#include "dvh/SettingsFile.h"
#include "dvh/StoreEntry.h"
#include "platform/Paths.h"

#include <string_view>

std::string LockWaitText(const std::string& lockPath) {
    constexpr std::string_view lockSuffix = ".lock";
    const std::string settings = SettingsFilePath("");
    if (platform::FileNameOf(lockPath) == SettingsLockPath(settings))
        return "Waiting for another instance's change of " + settings + " ...";
    // The file a lock guards is named as the lock file without its ".lock".
    std::string guarded = lockPath;
    if (guarded.ends_with(lockSuffix)) guarded.resize(guarded.size() - lockSuffix.size());
    const std::string name = platform::FileNameOf(guarded);
    if (name.ends_with(".txt") && StoreCommitOf(guarded).Lock == lockPath)
        return "Waiting for another save of " + name + " ...";
    return "Waiting for another program's turn on " + name + " ...";
}
