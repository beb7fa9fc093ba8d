// Atomic replacement of user files and whole-file reads.
#include "platform/AtomicWrite.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::string SystemError(const std::string& what, const std::string& path) {
    return what + " \"" + path + "\": " + std::strerror(errno);
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

}  // namespace

namespace {

// Writes `contents` to a flushed temporary file beside `path` with the permission bits `mode`
// (plus owner write); `tmpl` receives its name. On failure nothing is left behind.
WriteResult WriteTemporary(const std::string& path, std::string_view contents, mode_t mode,
                           std::string& tmpl) {
    tmpl = path + ".tmp-XXXXXX";
    const int fd = mkstemp(tmpl.data());
    if (fd < 0) return {false, SystemError("Cannot create a file in the folder of", path)};
    const char* data = contents.data();
    std::size_t left = contents.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            WriteResult failed{false, SystemError("Cannot write", path)};
            ::close(fd);
            ::unlink(tmpl.c_str());
            return failed;
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0 || ::fchmod(fd, mode | S_IWUSR) != 0) {
        WriteResult failed{false, SystemError("Cannot write", path)};
        ::close(fd);
        ::unlink(tmpl.c_str());
        return failed;
    }
    if (::close(fd) != 0) {
        WriteResult failed{false, SystemError("Cannot write", path)};
        ::unlink(tmpl.c_str());
        return failed;
    }
    return {};
}

void SyncFolderOf(const std::string& path) {
    const int dir = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

}  // namespace

WriteResult WriteNewFile(const std::string& path, std::string_view contents) {
    std::string tmpl;
    if (WriteResult written = WriteTemporary(path, contents, 0644, tmpl); !written.ok)
        return written;
    // A hard link fails when the name is taken: unlike a rename it never replaces a file.
    if (::link(tmpl.c_str(), path.c_str()) != 0) {
        WriteResult failed{false, errno == EEXIST ? "\"" + path + "\" already exists; it was not overwritten."
                                                  : SystemError("Cannot create", path)};
        ::unlink(tmpl.c_str());
        return failed;
    }
    ::unlink(tmpl.c_str());
    SyncFolderOf(path);
    return {};
}

WriteResult AtomicWriteFile(const std::string& linkOrPath, std::string_view contents) {
    // Through a symbolic link, replace the file it points to: renaming over the link itself
    // would cut a shared settings file or list off from its link.
    std::string path = linkOrPath;
    if (char* real = ::realpath(linkOrPath.c_str(), nullptr)) {
        path = real;
        std::free(real);
    }
    mode_t mode = 0644;
    struct stat old {};
    if (stat(path.c_str(), &old) == 0) mode = old.st_mode & 07777;
    std::string tmpl;
    if (WriteResult written = WriteTemporary(path, contents, mode, tmpl); !written.ok)
        return written;
    if (std::rename(tmpl.c_str(), path.c_str()) != 0) {
        WriteResult failed{false, SystemError("Cannot replace", path)};
        ::unlink(tmpl.c_str());
        return failed;
    }
    // Restore the old permission bits exactly (the temporary needed to be writable by us).
    ::chmod(path.c_str(), mode);
    // Make the rename itself durable.
    SyncFolderOf(path);
    return {};
}

bool ReadWholeFile(const std::string& path, std::string& out, std::size_t maxBytes) {
    out.clear();
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return false;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<std::size_t>(st.st_size) > maxBytes) {
        ::close(fd);
        return false;
    }
    out.resize(static_cast<std::size_t>(st.st_size));
    std::size_t got = 0;
    while (got < out.size()) {
        const ssize_t n = ::read(fd, out.data() + got, out.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            // A read error is no short file: a list read in part and saved again would lose
            // the rest for good, so the file counts as unreadable.
            out.clear();
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    // A file that grew while being read is read up to its size at open; one that shrank is cut.
    out.resize(got);
    ::close(fd);
    return true;
}

}  // namespace platform
