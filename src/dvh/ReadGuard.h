// The one guard at the entry of every read: whatever is thrown below it becomes that read's error.
#pragma once

#include "dvh/DvhReading.h"
#include "dvh/LineCursor.h"
#include "dvh/ReadResult.h"

#include <cstddef>
#include <exception>
#include <string>

/// The failure of a read that an exception ended, on the reading thread or one of its helpers:
/// the machine had no more memory, or no more of something else a read needs. No line of the
/// file is to blame. Never throws: a text that finds no memory of its own becomes "out of
/// memory", which fits a string without asking for any.
ReadResult ExceptionFailure(std::exception_ptr failure) noexcept;

/// Runs `read`, the whole of one read from the opening of its file on, and returns its result.
/// Whatever it throws, on its own thread or carried over from one of the read's threads (all
/// joined by then), ends the read as its failure with `out` left as new: no part of what the
/// read made is kept. The caller names the file with the failure, as for any other.
template <class Out, class Read>
ReadResult GuardedRead(Out& out, Read&& read) noexcept {
    try {
        return read();
    } catch (...) {
        out = Out{};
        return ExceptionFailure(std::current_exception());
    }
}

/// A guarded read (`GuardedRead`) of the file at `path` into `out`, which starts as new: opens
/// the file (in chunks of `chunkBytes`, read ahead on a thread by `threads`), then
/// `parse(lines)` reads it. The guard begins before the read's first allocation, the cursor's
/// copy of the path among them. A file that cannot be opened, or whose lines stopped at one
/// longer than the cursor takes, fails as every reader's does, with `out` left as new. A whole
/// `pass` of a parse that succeeded reads the rest of a file bound to `path` (`ReadThrough`),
/// so that the version it takes is of the whole file.
template <class Out, class Parse>
ReadResult GuardedFileRead(const std::string& path, Out& out, Parse&& parse,
                           std::size_t chunkBytes = LineFile::kChunkBytes,
                           platform::ThreadUse threads = platform::ThreadUse::ByLoad,
                           FilePass pass = FilePass::Whole) noexcept {
    return GuardedRead(out, [&] {
        out = Out{};
        LineCursor lines(LineFile{path, chunkBytes, threads});
        if (!lines.Opened()) return dvhread::OpenFailure(lines);
        ReadResult r = parse(lines);
        if (lines.LineTooLong() && r.status != ReadStatus::LineTooLong) {
            out = Out{};
            return dvhread::LineTooLong(lines);
        }
        if (r && pass == FilePass::Whole) lines.ReadRest();
        return r;
    });
}
