// Test helpers: a temporary folder for fixture files and a host that records what the core says.
#pragma once

#include "dvh/WorkspaceHost.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace dvhtest {

/// A fresh folder under the system temp folder, removed with its files at the end of a test.
class TempFolder {
public:
    explicit TempFolder(const std::string& name)
        : m_path(std::filesystem::temp_directory_path() / ("tessaray-" + name + "-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder() { std::filesystem::remove_all(m_path); }
    std::string Path() const { return m_path.string(); }
    /// Writes `contents` byte for byte to `name` in the folder; returns the full path.
    std::string Write(const std::string& name, const std::string& contents) const {
        std::string path = (m_path / name).string();
        std::ofstream(path, std::ios::binary) << contents;
        return path;
    }

private:
    std::filesystem::path m_path;
};

/// Writes `bytes` over the start of the existing file at `path`, in place, as another program
/// writing into it would: the same file (its inode), its content changed. True when all went in.
inline bool WriteInPlace(const std::string& path, const std::string& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool written = ::pwrite(fd, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size());
    ::close(fd);
    return written;
}

/// Records progress, status texts and messages; "Case sensitivity" as the test sets it.
struct RecordingHost : WorkspaceHost {
    bool caseSensitive = false;
    int begins = 0, ends = 0, maximum = 0;
    std::vector<int> steps;
    std::vector<std::string> status, messages, captions;

    bool CaseSensitive() const override { return caseSensitive; }
    void ProgressBegin(int max) override {
        ++begins;
        maximum = max;
    }
    void ProgressStep(int position) override { steps.push_back(position); }
    void ProgressEnd() override { ++ends; }
    void StatusText(const std::string& text) override { status.push_back(text); }
    void Inform(const std::string& text, const std::string& caption) override {
        messages.push_back(text);
        captions.push_back(caption);
    }
};

}  // namespace dvhtest
