// Desktop trash after the freedesktop.org trash layout.
#include "platform/Trash.h"

#include "platform/AtomicWrite.h"
#include "platform/Paths.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::string AbsolutePath(const std::string& path) {
    if (!path.empty() && path[0] == '/') return path;
    char buf[4096];
    if (!::getcwd(buf, sizeof buf)) return path;
    return std::string(buf) + "/" + path;
}

// Percent-encodes a path for the Path= line of a .trashinfo file.
std::string EncodePath(const std::string& path) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : path) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

bool CopyFile(const std::string& from, const std::string& to) {
    std::string data;
    if (!ReadWholeFile(from, data)) return false;
    return AtomicWriteFile(to, data).ok;
}

}  // namespace

std::string TrashFolder() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        return std::string(xdg) + "/Trash";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "/tmp") + "/.local/share/Trash";
}

bool MoveToTrash(const std::string& path) {
    if (!FileExists(path)) return false;
    const std::string trash = TrashFolder();
    if (!MakeDirectories(trash + "/files") || !MakeDirectories(trash + "/info")) return false;

    const std::string absolute = AbsolutePath(path);
    const std::string base = FileNameOf(absolute);

    // Claim a unique name by creating its .trashinfo exclusively, as the layout requires.
    std::string name;
    int fd = -1;
    for (int n = 1; n < 10000 && fd < 0; ++n) {
        name = n == 1 ? base : base + "." + std::to_string(n);
        fd = ::open((trash + "/info/" + name + ".trashinfo").c_str(),
                    O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;

    char when[32];
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    std::strftime(when, sizeof when, "%Y-%m-%dT%H:%M:%S", &local);
    const std::string info =
        "[Trash Info]\nPath=" + EncodePath(absolute) + "\nDeletionDate=" + when + "\n";
    const bool written = ::write(fd, info.data(), info.size()) == ssize_t(info.size());
    ::close(fd);

    const std::string infoPath = trash + "/info/" + name + ".trashinfo";
    const std::string target = trash + "/files/" + name;
    bool moved = written && std::rename(absolute.c_str(), target.c_str()) == 0;
    if (!moved && written && errno == EXDEV) {
        // Another file system: copy into the trash, and only then remove the original.
        moved = CopyFile(absolute, target) && ::unlink(absolute.c_str()) == 0;
        if (!moved) ::unlink(target.c_str());
    }
    if (!moved) ::unlink(infoPath.c_str());
    return moved;
}

}  // namespace platform
