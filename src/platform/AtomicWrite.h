// One way to write a user file: a temporary file beside it, flushed, then renamed over it.
#pragma once

#include <string>
#include <string_view>

namespace platform {

/// Outcome of a file write; `message` says what failed, for the user, when `ok` is false.
struct WriteResult {
    bool ok = true;
    std::string message;
    explicit operator bool() const { return ok; }
};

/// Replaces `path` with `contents` so that a failure at any point leaves the old file whole.
/// The new file keeps the permission bits of the old one (a read-only target stays read-only
/// only if the caller asks for it afterwards; the rename itself needs a writable folder).
WriteResult AtomicWriteFile(const std::string& path, std::string_view contents);

/// Writes `contents` to a file `path` that must not exist: written whole beside it first, then
/// given its name only if no file has that name by then, so an existing file is never replaced.
WriteResult WriteNewFile(const std::string& path, std::string_view contents);

/// Reads a whole file into `out`. Returns false when it does not exist or cannot be read,
/// also when a read fails midway (then `out` is empty, never a part of the file).
/// Files larger than `maxBytes` are refused rather than read in part.
bool ReadWholeFile(const std::string& path, std::string& out,
                   std::size_t maxBytes = std::size_t(1) << 31);

}  // namespace platform
