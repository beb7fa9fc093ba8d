// Line splitting: whole lines whatever their length, CR LF and LF, the byte-order mark, and the
// same lines whether the text is in memory or streamed from a file in small chunks.
#include "dvh/LineCursor.h"

#include "../support/ReplacedNew.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <thread>
#include <vector>

namespace {

std::vector<std::string> All(LineCursor& c) {
    std::vector<std::string> lines;
    std::string_view l;
    while (c.Next(l)) lines.emplace_back(l);
    return lines;
}

}  // namespace

TEST(LineCursor, SplitsWholeLinesAlikeFromMemoryAndFromChunkedFiles) {
    const std::string longLine(1000, 'x');
    struct Case { const char* what; std::string text; std::vector<std::string> lines; } cases[] = {
        {"LF", "a\nbb\n\nc\n", {"a", "bb", "", "c"}},
        {"CR LF", "a\r\nbb\r\n\r\nc\r\n", {"a", "bb", "", "c"}},
        {"no end on the last line", "a\nlast", {"a", "last"}},
        {"byte-order mark", "\xEF\xBB\xBF" "Patient Name\nx\n", {"Patient Name", "x"}},
        {"mark only at the start", "a\n\xEF\xBB\xBF" "b\n", {"a", "\xEF\xBB\xBF" "b"}},
        {"long line", "s\n" + longLine + "\r\nt", {"s", longLine, "t"}},
        {"empty", "", {}},
        {"NUL bytes stay", std::string("a\0b\n", 4), {std::string("a\0b", 3)}},
    };
    dvhtest::TempFolder folder("cursor");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LineCursor memory(c.text);
        EXPECT_EQ(All(memory), c.lines);
        EXPECT_EQ(memory.LineNumber(), static_cast<long>(c.lines.size()));
        const std::string path = folder.Write("t.txt", c.text);
        for (std::size_t chunk : {64u, 100u, 4096u}) {
            LineCursor file(LineFile{path, chunk});
            ASSERT_TRUE(file.Opened());
            EXPECT_EQ(All(file), c.lines) << "chunk " << chunk;
            EXPECT_FALSE(file.ReadFailed());
        }
    }
    LineCursor missing(LineFile{"/nonexistent/dir/file.txt"});
    EXPECT_FALSE(missing.Opened());
    std::string_view l;
    EXPECT_FALSE(missing.Next(l));
}

TEST(LineCursor, ReadsManyChunksAheadWithLinesLongerThanTheRoomBeforeAChunk) {
    // Many chunks, read ahead on a thread when they are large, with lines of every length up to
    // several chunks and a last line without an end: every line once, whole and in order.
    std::string text;
    std::vector<std::string> lines;
    for (int i = 0; i < 3000; ++i) {
        lines.push_back(std::string(static_cast<std::size_t>(i % 7 == 0 ? (i * 37) % 2000 : i % 90), 'a' + i % 26));
        text += lines.back() + (i % 3 ? "\n" : "\r\n");
        if (i == 1500) {  // longer than two chunks of the largest size below
            lines.push_back(std::string(150000, '#'));
            text += lines.back() + "\n";
        }
    }
    text += "last";
    lines.push_back("last");
    dvhtest::TempFolder folder("cursor-ahead");
    const std::string path = folder.Write("many.txt", text);
    for (std::size_t chunk : {std::size_t(1000), LineCursor::kReadAheadChunkBytes}) {
        LineCursor file(LineFile{path, chunk});
        EXPECT_EQ(All(file), lines) << "chunk " << chunk;
        EXPECT_TRUE(file.EndedInsideLine());
        EXPECT_FALSE(file.ReadFailed());
    }
    // A reader that stops early leaves a read under way; closing must wait for it.
    LineCursor early(LineFile{path, LineCursor::kReadAheadChunkBytes});
    std::string_view l;
    for (int i = 0; i < 2000; ++i) ASSERT_TRUE(early.Next(l));
}

TEST(LineCursor, AClosedCursorKeepsItsBuffersWithoutAskingForMemory) {
    // A closed cursor keeps its buffers for the next one on its thread. Closing is a destructor,
    // often on the way out of a read that ran out of memory: keeping them must ask for none, or
    // the program ends there. A fresh thread has kept nothing yet; its places fill, then the
    // oldest buffer makes room.
    dvhtest::TempFolder folder("keep");
    const std::string path = folder.Write("one.txt", "a line\n");
    std::thread([&] {
        for (int i = 0; i < 3; ++i) {
            auto cursor = std::make_unique<LineCursor>(LineFile{path});
            std::string_view line;
            EXPECT_TRUE(cursor->Next(line) && line == "a line");
            refusedmemory::t_refused = true;
            cursor.reset();
            refusedmemory::t_refused = false;
        }
    }).join();
}
