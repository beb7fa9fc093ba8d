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
    /// Whether both are the same file (device and inode), which a rename keeps and a write into
    /// it too; an identity without an inode (nothing was found) is no file's.
    bool SameFile(const FileIdentity& other) const {
        return Inode != 0 && Device == other.Device && Inode == other.Inode;
    }
};

/// The identity of what the name `path` leads to now (links followed); unknown when nothing does.
FileIdentity IdentityOfPath(const std::string& path);
/// The identity of what has the name `path` now, a link itself rather than what it points to;
/// unknown when nothing has it.
FileIdentity IdentityOfName(const std::string& path);
/// The identity of the open file `fd`; unknown when it cannot be looked at.
FileIdentity IdentityOfDescriptor(int fd);

}  // namespace platform
