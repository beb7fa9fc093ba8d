// The identities of files found by name or held open.
#include "platform/FileIdentity.h"

#include <sys/stat.h>

namespace platform {

namespace {

FileIdentity IdentityOf(const struct stat& st) {
    FileIdentity id;
    id.Device = static_cast<unsigned long long>(st.st_dev);
    id.Inode = static_cast<unsigned long long>(st.st_ino);
    id.Size = static_cast<long long>(st.st_size);
    id.ChangeSeconds = static_cast<long long>(st.st_ctim.tv_sec);
    id.ChangeNanoseconds = st.st_ctim.tv_nsec;
    return id;
}

}  // namespace

FileIdentity IdentityOfPath(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return {};
    return IdentityOf(st);
}

FileIdentity IdentityOfName(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return {};
    return IdentityOf(st);
}

FileIdentity IdentityOfDescriptor(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return {};
    return IdentityOf(st);
}

}  // namespace platform
