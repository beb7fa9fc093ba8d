// Whether a failure says that the file system has no such operation at all.
#pragma once

#include <cerrno>

namespace platform {

/// Whether `error` says that the file system (or the kernel) cannot do such a thing at all,
/// rather than that this one failed: ENOTSUP, EOPNOTSUPP or ENOSYS, as FUSE file systems say,
/// or `refusal`, the error some file systems give every such call instead: EPERM where vfat and
/// exFAT refuse a hard link or a permission they cannot keep, EINVAL where sshfs and exFAT
/// through FUSE refuse a rename that replaces nothing.
inline bool UnsupportedHere(int error, int refusal) {
    // ENOTSUP and EOPNOTSUPP are one number on Linux, two elsewhere.
    return error == refusal || error == ENOTSUP || error == EOPNOTSUPP || error == ENOSYS;
}

}  // namespace platform
