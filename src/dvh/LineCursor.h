// Whole lines of a DVH text, from memory or streamed from a file, with their line numbers.
#pragma once

#include "platform/BackgroundJob.h"
#include "platform/FileVersion.h"
#include "platform/OpenedFile.h"
#include "platform/Processors.h"

#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

/// Yields a text line by line. A line ends at LF; the CRs before it are not part of the line,
/// so CR LF and LF files read alike. Lines are whole whatever their length. A UTF-8 byte-order
/// mark before the first line is skipped. Streaming from a file keeps only two chunks and the
/// line in hand in memory; the buffers grow only as far as one line of the file really reaches.
/// In a file of more than two chunks the next chunk is read on a thread of its own while the
/// caller works through the one before, where the machine has a processor free for it once the
/// file turns out long; elsewhere the caller reads it.
/// A file to read line by line, in chunks of `chunkBytes`.
struct LineFile {
    static constexpr std::size_t kChunkBytes = std::size_t(1) << 20;
    std::string path;
    std::size_t chunkBytes = kChunkBytes;
    /// Whether the read-ahead takes a thread of its own by the machine's load or whatever it is.
    platform::ThreadUse threads = platform::ThreadUse::ByLoad;
};

/// What a read of a file bound to its path (`ReadThrough`) takes: the whole file, read to its
/// end whatever the parse left (`LineCursor::ReadRest`), as a reader does, or only the start
/// its parse looked at, as a look at the header does, which then gives no version.
enum class FilePass { Whole, Start };

/// While it lives, every file cursor of this thread that opens `path` reads `file` instead: the
/// version of that file opened before, whatever has taken its name since, so that each pass of
/// a read and the file it was checked against are one and the same. Without a file it changes
/// nothing. The path is compared as given.
/// Each pass over the bound file digests the bytes it reads as it reads them, so that the
/// binding knows the version of the very bytes its read took (`Version`) without reading the
/// file again. Cursors bound to it must end before it does.
class ReadThrough {
public:
    ReadThrough(const std::string& path, std::shared_ptr<const platform::OpenedFile> file);
    ~ReadThrough();
    ReadThrough(const ReadThrough&) = delete;
    ReadThrough& operator=(const ReadThrough&) = delete;

    /// A descriptor of the file bound to `path` on this thread, from its start (-1 when it could
    /// not be opened again), and the version its passes hand theirs to; none when no file is
    /// bound to it, and the caller opens the path.
    struct Bound {
        int fd = -1;
        platform::ReadVersion* version = nullptr;
    };
    static std::optional<Bound> OpenBound(const std::string& path);

    /// The version of the file that the passes of the read through this binding took: their
    /// bytes, as they read them (`platform::ReadVersion`). Unknown without a file, or when no
    /// pass read it to its end.
    platform::FileVersion Version() const { return m_version.Version(); }

private:
    std::string m_path;
    std::shared_ptr<const platform::OpenedFile> m_file;
    platform::ReadVersion m_version;
    ReadThrough* m_outer;
};

class LineCursor {
public:
    /// No line of an export comes near this; a longer one is refused at once rather than held
    /// in memory however large it grows (a file without line ends).
    static constexpr std::size_t kMaxLineBytes = std::size_t(1) << 20;
    /// Chunks of at least this size are read ahead, once a file has more than two of them.
    static constexpr std::size_t kReadAheadChunkBytes = std::size_t(1) << 16;

    /// Lines of a text held by the caller (it must outlive the cursor).
    explicit LineCursor(std::string_view text);
    /// Lines of a file read in chunks; `Opened()` says whether it could be opened.
    explicit LineCursor(const LineFile& file);
    ~LineCursor();
    LineCursor(const LineCursor&) = delete;
    LineCursor& operator=(const LineCursor&) = delete;

    bool Opened() const { return m_opened; }
    /// Why a file was not opened: missing, a folder, a FIFO or device (never waited on), ...
    platform::OpenProblem OpenProblem() const { return m_openProblem; }
    /// True when a line longer than `kMaxLineBytes` ended the reading; `Next` then gave false.
    bool LineTooLong() const { return m_tooLong; }
    /// True when the last line returned had no line end after it: the text ended inside it.
    bool EndedInsideLine() const { return m_unended; }
    /// True when reading the file failed part-way (the lines given so far were real).
    bool ReadFailed() const { return m_readFailed; }
    /// Reads what the caller left unread of a bound file (`ReadThrough`) to its end, digesting
    /// it, so that the version of the pass is of the whole file that a save would copy: a reader
    /// that stopped at the end of what it needs (an "EOF" line, a line after the last block)
    /// still took the version of every byte. Nothing is read when no version is taken, and the
    /// lines are gone afterwards.
    void ReadRest();
    /// Number of the line last returned by `Next`, from 1; 0 before the first.
    long LineNumber() const { return m_line; }

    /// The end of the bytes the cursor holds: the last line returned lies before it, and the
    /// bytes between that line's end and here may be read (never used) by fast scanners.
    const char* ReadableEnd() const { return m_end; }

    /// Where the next line begins: a fast scanner may read a whole line from here (never past
    /// `ReadableEnd()`) and hand it over with `Skip`.
    const char* Position() const { return m_pos; }
    /// Takes the `count` lines from `Position()` up to `next` as read: `next` follows the last
    /// one's LF, and none is the first line (no byte-order mark to skip).
    void Skip(const char* next, long count = 1) {
        m_pos = next;
        m_line += count;
    }

    /// The next line, without its line end; false at the end of the text.
    bool Next(std::string_view& line) {
        for (;;) {
            const auto* nl = static_cast<const char*>(
                m_pos == m_end ? nullptr : std::memchr(m_pos, '\n', static_cast<std::size_t>(m_end - m_pos)));
            if (nl) {
                if (static_cast<std::size_t>(nl - m_pos) > kMaxLineBytes) return TooLong();
                line = std::string_view(m_pos, static_cast<std::size_t>(nl - m_pos));
                m_pos = nl + 1;
                return Deliver(line);
            }
            if (static_cast<std::size_t>(m_end - m_pos) > kMaxLineBytes) return TooLong();
            if (m_fd < 0) {
                if (m_pos == m_end) return false;
                line = std::string_view(m_pos, static_cast<std::size_t>(m_end - m_pos));
                m_pos = m_end;
                m_unended = true;
                return Deliver(line);
            }
            Refill();
        }
    }

    /// Takes the next line only when it is empty (nothing but its line end); true when it did.
    /// A line with anything in it stays for the next `Next`.
    bool SkipEmptyLine() {
        for (;;) {
            const char* p = m_pos;
            while (p != m_end && *p == '\r') ++p;
            if (p != m_end) {
                if (*p != '\n') return false;
                m_pos = p + 1;
                ++m_line;
                return true;
            }
            if (m_fd < 0) {
                if (m_pos == m_end) return false;
                m_pos = m_end;  // a last line of nothing but CRs
                m_unended = true;
                ++m_line;
                return true;
            }
            if (static_cast<std::size_t>(m_end - m_pos) > kMaxLineBytes) return TooLong();
            Refill();
        }
    }

private:
    bool Deliver(std::string_view& line) {
        while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (m_line == 0 && line.size() >= 3 && line.compare(0, 3, "\xEF\xBB\xBF") == 0)
            line.remove_prefix(3);
        ++m_line;
        return true;
    }
    /// Puts the next chunk behind the unread rest; closes the file at its end.
    void Refill();
    /// Ends the reading at a line over the limit.
    bool TooLong();
    /// Hands the pass's version to the binding (`m_version`): at the end of the file what was
    /// digested, once; a broken pass when it failed or was cut, whenever that comes.
    void EndPass(bool whole);
    void CloseFile();
    /// Where a buffer's chunk begins: after the room for the unread rest of the chunk before.
    char* Chunk(const std::unique_ptr<char[]>& buffer) const { return buffer.get() + m_headroom; }
    /// A buffer for a chunk and the room before it: one a closed cursor left, or a new one.
    std::unique_ptr<char[]> NewBuffer() const;

    const char* m_pos = nullptr;
    const char* m_end = nullptr;
    int m_fd = -1;
    // The buffer the lines stand in, and the one the next chunk is read into.
    std::unique_ptr<char[]> m_buffer;
    std::unique_ptr<char[]> m_spare;
    std::size_t m_capacity = 0;  // bytes of a chunk
    std::size_t m_headroom = 0;  // bytes before it
    int m_refills = 0;
    // The next chunk's read into `m_spare`, under way while `m_reading`; on a thread of its own
    // where `m_threads` finds a processor for it, else done by the caller.
    std::unique_ptr<platform::BackgroundJob> m_ahead;
    platform::ThreadUse m_threads = platform::ThreadUse::ByLoad;
    platform::ChunkRead m_aheadRead;
    bool m_reading = false;
    // Of a pass over a bound file: where its version goes, whether it went there, and the digest
    // of the bytes read so far, fed by whoever read each chunk.
    platform::ReadVersion* m_version = nullptr;
    bool m_passEnded = false;
    std::unique_ptr<platform::ContentDigester> m_digest;
    long m_line = 0;
    bool m_opened = true;
    bool m_readFailed = false;
    bool m_tooLong = false;
    bool m_unended = false;
    platform::OpenProblem m_openProblem = platform::OpenProblem::None;
};
