// Program folder, temporary folder, host name and small file-system queries.
#include "platform/Paths.h"

#include "platform/Descriptor.h"
#include "platform/Permissions.h"
#include "platform/TemporaryFiles.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::string WithSlash(std::string path) {
    if (path.empty() || path.back() != '/') path += '/';
    return path;
}

/// Gives the folder `made`, just made in the folder `parent`, the sharing of `parent` where it
/// is shared with its group (see `SharedWithGroup`): its group, its group permissions and the
/// setgid bit, so that every member of the group may make files in the new folder too, as in
/// `parent`. A folder that could not take that group, or made where no group shares, keeps what
/// the user's umask gave it: group bits given with the maker's own group would open it to a
/// group that `parent` never let in, and those of a folder its group may write in without the
/// setgid bit to a group that the umask shut out.
void ShareAsParent(const std::string& made, const std::string& parent) {
    struct stat above {}, st {};
    // Through a descriptor of the folder itself: a link put in its place is never followed.
    const int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    const detail::Descriptor fd(::open(made.c_str(), flags));
    if (!fd.Open() || ::stat(parent.c_str(), &above) != 0 || ::fstat(fd.Get(), &st) != 0) return;
    if (!SharedWithGroup(above)) return;
    // Fails only where the maker is no member of that group; the folder keeps the maker's then.
    if (st.st_gid != above.st_gid && ::fchown(fd.Get(), static_cast<uid_t>(-1), above.st_gid) == 0)
        st.st_gid = above.st_gid;
    const mode_t mode = NewFolderMode(st, above);
    // A file system that keeps no permission bits (vfat, FUSE) refuses the change: the folder
    // is usable all the same.
    if (mode != (st.st_mode & 07777)) (void)ChangeMode(fd.Get(), mode);
}

}  // namespace

std::string ExecutableFolder() {
    std::string buf(PATH_MAX, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
    if (n <= 0) return "./";
    buf.resize(static_cast<std::size_t>(n));
    const auto slash = buf.find_last_of('/');
    return slash == std::string::npos ? "./" : buf.substr(0, slash + 1);
}

std::string ChooseProgramFolder(const std::string& tessarayHome,
                                const std::string& executableFolder,
                                const std::string& xdgConfigHome, const std::string& home) {
    if (!tessarayHome.empty()) return WithSlash(tessarayHome);
    // Settings beside the executable mark a portable install. A build folder holds none, so
    // a rebuild or `make clean` never takes the user's lists with it.
    if (!executableFolder.empty() && FileExists(WithSlash(executableFolder) + "Tessaray.ini"))
        return WithSlash(executableFolder);
    std::string config;
    if (!xdgConfigHome.empty())
        config = xdgConfigHome;
    else if (!home.empty())
        config = home + "/.config";
    else
        config = "/tmp";
    return WithSlash(config) + "Tessaray/";
}

std::string ProgramFolder() {
    const auto env = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value ? value : "");
    };
    const std::string folder = ChooseProgramFolder(env("TESSARAY_HOME"), ExecutableFolder(),
                                                   env("XDG_CONFIG_HOME"), env("HOME"));
    MakeDirectories(folder);
    return folder;
}

std::string TempFolder() {
    const char* tmp = std::getenv("TMPDIR");
    return WithSlash(tmp && *tmp ? tmp : "/tmp");
}

std::string HostName() {
    char buf[256] = {};
    if (::gethostname(buf, sizeof buf - 1) != 0) return {};
    return buf;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool PathMayExist(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 || (errno != ENOENT && errno != ENOTDIR);
}

bool DirectoryExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MakeDirectories(const std::string& path) {
    if (path.empty()) return false;
    if (DirectoryExists(path)) return true;
    for (std::size_t pos = 1; pos <= path.size(); ++pos) {
        if (pos == path.size() || path[pos] == '/') {
            const std::string part = path.substr(0, pos);
            if (DirectoryExists(part)) continue;
            if (::mkdir(part.c_str(), 0777) == 0)
                ShareAsParent(part, detail::FolderOf(part));
            else if (errno != EEXIST)
                return false;
        }
    }
    return DirectoryExists(path);
}

std::string FileNameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool SetReadOnly(const std::string& path, bool readOnly) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return false;
    mode_t mode = st.st_mode & 07777;
    mode = readOnly ? (mode & ~mode_t(S_IWUSR | S_IWGRP | S_IWOTH)) : (mode | S_IWUSR);
    return ::chmod(path.c_str(), mode) == 0;
}

bool IsReadOnly(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && (st.st_mode & S_IWUSR) == 0;
}

}  // namespace platform
