// What tells one version of a file from another that later took its name.
#pragma once

#include <string>

namespace platform {

/// What tells one version of a file from another at the same name: a save renames a new file
/// over the old (another inode), and anything that writes into it changes its size or its time
/// of change.
struct FileIdentity {
    unsigned long long Device = 0;
    unsigned long long Inode = 0;
    long long Size = -1;  ///< -1: unknown (nothing was looked at)
    long long ChangeSeconds = 0;
    long ChangeNanoseconds = 0;

    bool Known() const { return Size >= 0; }
    bool operator==(const FileIdentity&) const = default;
};

/// The identity of what the name `path` leads to now (links followed); unknown when nothing does.
FileIdentity IdentityOfPath(const std::string& path);

}  // namespace platform
