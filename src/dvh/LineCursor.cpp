// Line splitting over memory or a chunked file read.
#include "dvh/LineCursor.h"

#include <unistd.h>

LineCursor::LineCursor(std::string_view text) : m_pos(text.data()), m_end(text.data() + text.size()) {}

LineCursor::LineCursor(const LineFile& file) {
    // Only a regular file: a FIFO or a device named like an export must never hang the program.
    const int fd = platform::OpenRegularFile(file.path, &m_openProblem);
    if (fd >= 0) {
        m_file = ::fdopen(fd, "rb");
        if (!m_file) {
            ::close(fd);
            m_openProblem = platform::OpenProblem::Unreadable;
        }
    }
    m_opened = m_file != nullptr;
    m_capacity = file.chunkBytes < 64 ? 64 : file.chunkBytes;
    if (m_opened) m_buffer.reset(new char[m_capacity]);
    m_pos = m_end = m_buffer.get();
}

LineCursor::~LineCursor() {
    if (m_file) std::fclose(m_file);
}

void LineCursor::Refill() {
    std::size_t rest = static_cast<std::size_t>(m_end - m_pos);
    if (rest == m_capacity) {
        // One line fills the whole buffer: grow it, as far as the file's line really reaches.
        std::unique_ptr<char[]> bigger(new char[m_capacity * 2]);
        std::memcpy(bigger.get(), m_pos, rest);
        m_buffer = std::move(bigger);
        m_capacity *= 2;
    } else if (rest > 0 && m_pos != m_buffer.get()) {
        std::memmove(m_buffer.get(), m_pos, rest);
    }
    char* base = m_buffer.get();
    std::size_t got = std::fread(base + rest, 1, m_capacity - rest, m_file);
    m_pos = base;
    m_end = base + rest + got;
    if (got == 0) {
        m_readFailed = std::ferror(m_file) != 0;
        std::fclose(m_file);
        m_file = nullptr;
    }
}

bool LineCursor::TooLong() {
    m_tooLong = true;
    m_pos = m_end;
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    return false;
}
