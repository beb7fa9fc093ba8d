// Line splitting over memory or a chunked file read.
#include "dvh/LineCursor.h"

#include "platform/FaultPoint.h"

#include <algorithm>
#include <unistd.h>

namespace {

/// Buffers of the cursors closed on this thread, kept for the next ones: a batch opens file
/// after file, and fresh memory costs a page fault every 4 KiB when it is first written. The
/// places are fixed, so that keeping a buffer, in a destructor, never asks for memory.
struct KeptBuffer {
    std::size_t bytes = 0;
    std::unique_ptr<char[]> data;
};
constexpr std::size_t kKeptBuffers = 2;
thread_local KeptBuffer t_kept[kKeptBuffers];  // oldest first, the empty places last
constexpr std::size_t kKeptFrom = std::size_t(1) << 16;  // smaller ones are cheap to make

std::unique_ptr<char[]> TakeBuffer(std::size_t bytes) {
    for (std::size_t i = 0; i < kKeptBuffers; ++i)
        if (t_kept[i].data && t_kept[i].bytes == bytes) {
            std::unique_ptr<char[]> buffer = std::move(t_kept[i].data);
            std::move(t_kept + i + 1, t_kept + kKeptBuffers, t_kept + i);
            return buffer;
        }
    return std::unique_ptr<char[]>(new char[bytes]);
}

void KeepBuffer(std::unique_ptr<char[]> buffer, std::size_t bytes) noexcept {
    if (!buffer || bytes < kKeptFrom) return;
    std::size_t i = 0;
    while (i < kKeptBuffers && t_kept[i].data) ++i;
    if (i == kKeptBuffers) {  // full: the oldest goes
        std::move(t_kept + 1, t_kept + kKeptBuffers, t_kept);
        i = kKeptBuffers - 1;
    }
    t_kept[i].bytes = bytes;
    t_kept[i].data = std::move(buffer);
}

thread_local ReadThrough* t_readThrough = nullptr;

}  // namespace

ReadThrough::ReadThrough(const std::string& path, std::shared_ptr<const platform::OpenedFile> file)
    : m_path(path), m_file(std::move(file)), m_outer(t_readThrough) {
    t_readThrough = this;
}

ReadThrough::~ReadThrough() { t_readThrough = m_outer; }

std::optional<ReadThrough::Bound> ReadThrough::OpenBound(const std::string& path) {
    for (ReadThrough* binding = t_readThrough; binding; binding = binding->m_outer)
        if (binding->m_file && binding->m_path == path)
            return Bound{binding->m_file->ReopenFromStart(), &binding->m_version};
    return std::nullopt;
}

LineCursor::LineCursor(std::string_view text) : m_pos(text.data()), m_end(text.data() + text.size()) {}

LineCursor::LineCursor(const LineFile& file) {
    // Only a regular file: a FIFO or a device named like an export must never hang the program.
    if (const std::optional<ReadThrough::Bound> bound = ReadThrough::OpenBound(file.path)) {
        m_fd = bound->fd;
        m_version = bound->version;
        if (m_fd < 0) {
            m_openProblem = platform::OpenProblem::Unreadable;
            EndPass(false);
        }
    } else {
        m_fd = platform::OpenRegularFile(file.path, &m_openProblem);
    }
    m_opened = m_fd >= 0;
    m_capacity = std::max<std::size_t>(file.chunkBytes, 64);
    m_headroom = std::max<std::size_t>(m_capacity / 4, 64);
    m_threads = file.threads;
    if (m_opened) {
        // A cursor that throws here is never destroyed: its descriptor goes with it.
        try {
            if (m_version) m_digest = std::make_unique<platform::ContentDigester>();
            m_buffer = NewBuffer();
            m_spare = NewBuffer();
        } catch (...) {
            ::close(m_fd);
            throw;
        }
        m_pos = m_end = Chunk(m_buffer);
    }
}

LineCursor::~LineCursor() {
    CloseFile();
    KeepBuffer(std::move(m_buffer), m_headroom + m_capacity);
    KeepBuffer(std::move(m_spare), m_headroom + m_capacity);
}

std::unique_ptr<char[]> LineCursor::NewBuffer() const { return TakeBuffer(m_headroom + m_capacity); }

void LineCursor::CloseFile() {
    m_ahead.reset();  // first: a read under way writes into our buffer
    m_reading = false;
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

void LineCursor::Refill() {
    // The next chunk lands in the spare buffer after its headroom, and the unread rest of this
    // one goes right before it: the chunk itself is never moved.
    const bool readAhead = m_reading;
    m_reading = false;
    if (readAhead) m_ahead->Wait();  // throws what the read ahead threw
    platform::ChunkRead chunk;
    if (readAhead) {
        chunk = m_aheadRead;  // digested by the thread that read it
    } else {
        chunk = platform::ReadChunk(m_fd, Chunk(m_spare), m_capacity);
        if (m_digest) m_digest->Add(std::string_view(Chunk(m_spare), chunk.bytes));
    }
    const std::size_t rest = static_cast<std::size_t>(m_end - m_pos);
    const bool grow = rest > m_headroom;
    if (grow) {
        // A line longer than the room before the chunk: more room, as far as the line reaches.
        const std::size_t oldHeadroom = m_headroom;
        m_headroom = std::max(rest, 2 * m_headroom);
        std::unique_ptr<char[]> roomier = NewBuffer();
        std::memcpy(Chunk(roomier), m_spare.get() + oldHeadroom, chunk.bytes);
        m_spare = std::move(roomier);
    }
    char* start = Chunk(m_spare) - rest;
    std::memcpy(start, m_pos, rest);
    m_buffer.swap(m_spare);
    if (grow) m_spare = NewBuffer();  // the old buffer has the old room
    m_pos = start;
    m_end = start + rest + chunk.bytes;
    if (chunk.bytes < m_capacity) {
        m_readFailed = chunk.failed;
        EndPass(!chunk.failed);
        CloseFile();
        platform::FaultPoint("line cursor: file read to its end");
        return;
    }
    // From the third chunk on each is read while the one before is worked through; files of
    // two chunks or less never start a thread. Small chunks are read in turn: handing each over
    // would cost more than it saves.
    if (++m_refills >= 2 && m_capacity >= kReadAheadChunkBytes) {
        // Decided once, by the load as the file turns out long: on a busy machine a thread of
        // its own would get a processor only late, and the caller would wait for it rather
        // than read. Short files never look.
        if (!m_ahead)
            m_ahead = std::make_unique<platform::BackgroundJob>(platform::ThreadsBeside(1, m_threads) == 1);
        // The thread digests the chunk it read too, while the caller parses the one before.
        m_ahead->Start([this, fd = m_fd, into = Chunk(m_spare), bytes = m_capacity, digest = m_digest.get()] {
            m_aheadRead = platform::ReadChunk(fd, into, bytes);
            if (digest) digest->Add(std::string_view(into, m_aheadRead.bytes));
        });
        m_reading = true;
    }
}

void LineCursor::EndPass(bool whole) {
    if (!m_version) return;
    if (!whole) {
        // Also after the file's end was read: a pass cut at its last line took no whole file.
        m_version->TakeBrokenPass();
    } else if (!m_passEnded && m_digest) {
        platform::FileIdentity read = platform::IdentityOfDescriptor(m_fd);
        if (read.Known()) read.Size = m_digest->Bytes();
        m_version->TakeWholePass({read, m_digest->Digest()});
    }
    m_passEnded = true;
}

void LineCursor::ReadRest() {
    if (!m_version) return;
    while (m_fd >= 0) {
        m_pos = m_end;  // nothing of the lines in hand is kept
        Refill();
    }
}

bool LineCursor::TooLong() {
    EndPass(false);
    m_tooLong = true;
    m_pos = m_end;
    CloseFile();
    return false;
}
