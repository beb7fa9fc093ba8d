// Line splitting: whole lines whatever their length, CR LF and LF, the byte-order mark, and the
// same lines whether the text is in memory or streamed from a file in small chunks.
#include "dvh/LineCursor.h"

#include "platform/FileVersion.h"

#include "../support/ReplacedNew.h"
#include "../support/RewrittenAt.h"
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

/// Text of `bytes` bytes in lines of every length, no two bytes' places alike.
std::string Lines(std::size_t bytes) {
    std::string text(bytes, ' ');
    for (std::size_t i = 0; i < bytes; ++i)
        text[i] = i % 41 == 40 ? '\n' : static_cast<char>('!' + (i * 7) % 90);
    return text;
}

/// The version that a pass of every line of `path`, through a cursor bound to the file held for
/// it, hands over.
platform::FileVersion VersionOfPass(const std::string& path, std::size_t chunk) {
    const ReadThrough bound(path, platform::OpenedFile::Open(path));
    {
        LineCursor lines(LineFile{path, chunk, platform::ThreadUse::Always});
        All(lines);
    }
    return bound.Version();
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

TEST(LineCursor, APassOverABoundFileTakesTheVersionOfEveryByteItReadWhereverItsChunksEnd) {
    // Files that end inside a chunk, right at its end (the last read brings nothing), after one
    // byte of a chunk, a one-byte and an empty file; with small chunks read in turn and large
    // ones read and digested ahead on a thread of their own.
    dvhtest::TempFolder folder("cursor-version");
    const std::size_t ahead = LineCursor::kReadAheadChunkBytes;
    struct Case { std::size_t chunk, bytes; } cases[] = {
        {64, 0},   {64, 1},   {64, 63},        {64, 64},        {64, 65},
        {64, 128}, {64, 453}, {ahead, 5 * ahead}, {ahead, 5 * ahead + 3}, {ahead, 3 * ahead - 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.bytes) + " bytes in chunks of " + std::to_string(c.chunk));
        const std::string text = Lines(c.bytes);
        const std::string path = folder.Write("v.txt", text);
        const platform::FileVersion version = VersionOfPass(path, c.chunk);
        ASSERT_TRUE(version.Known());
        EXPECT_EQ(version.Identity.Size, static_cast<long long>(c.bytes));
        EXPECT_EQ(version.Digest, platform::ContentDigest(text));
        EXPECT_TRUE(platform::FileHoldsVersion(path, version));
        if (c.bytes == 0) continue;
        // Only the last byte other: another version, in memory and in the file.
        std::string last = text;
        last.back() = last.back() == 'x' ? 'y' : 'x';
        EXPECT_FALSE(platform::HoldsVersion(last, version));
        ASSERT_TRUE(dvhtest::WriteInPlace(path, last));
        EXPECT_FALSE(platform::FileHoldsVersion(path, version));
        EXPECT_NE(VersionOfPass(path, c.chunk).Digest, version.Digest);
    }
}

TEST(LineCursor, AReadsVersionIsOfOneWholePassAndOfTheBytesEveryWholePassRead) {
    dvhtest::TempFolder folder("cursor-passes");
    const std::string text = Lines(1000);
    const std::string path = folder.Write("p.txt", text);
    const platform::FileVersion whole{platform::IdentityOfPath(path), platform::ContentDigest(text)};
    std::string_view line;
    {
        // A pass that stopped at its second line took no version of the file; one that reads
        // the rest after its parse did, of every byte, as did two passes that read the same.
        const ReadThrough bound(path, platform::OpenedFile::Open(path));
        {
            LineCursor start(LineFile{path, 64});
            ASSERT_TRUE(start.Next(line) && start.Next(line));
        }
        EXPECT_FALSE(bound.Version().Known());
        {
            LineCursor rest(LineFile{path, 64});
            ASSERT_TRUE(rest.Next(line) && rest.Next(line));
            rest.ReadRest();
        }
        LineCursor again(LineFile{path, 64});
        All(again);
        EXPECT_EQ(bound.Version().Digest, whole.Digest);
        EXPECT_EQ(bound.Version().Identity.Size, 1000);
    }
    {
        // The file written in place between two whole passes: the read's parts are of no one
        // version. The rewrite comes as the first pass reaches the end of the file.
        std::string other = text;
        other[500] = '#';
        const ReadThrough bound(path, platform::OpenedFile::Open(path));
        {
            const RewrittenAt rewrite("line cursor: file read to its end", 1, path, other);
            LineCursor first(LineFile{path, 64});
            All(first);
            LineCursor second(LineFile{path, 64});
            All(second);
            EXPECT_EQ(rewrite.Met(), 2);
        }
        EXPECT_FALSE(bound.Version().Known());
        ASSERT_TRUE(dvhtest::WriteInPlace(path, text));
    }
    {
        // A pass cut by a line too long to take spoils what another read whole.
        const std::string longLine(LineCursor::kMaxLineBytes + 10, 'x');
        const std::string longPath = folder.Write("long.txt", longLine);
        const ReadThrough bound(longPath, platform::OpenedFile::Open(longPath));
        {
            LineCursor whole(LineFile{longPath, 4096});
            whole.ReadRest();
        }
        ASSERT_TRUE(bound.Version().Known());
        {
            LineCursor cut(LineFile{longPath, 4096});
            EXPECT_FALSE(cut.Next(line));
            EXPECT_TRUE(cut.LineTooLong());
        }
        EXPECT_FALSE(bound.Version().Known());
    }
    // A cursor of a path nothing is bound to, or of a binding without a file, takes none.
    const ReadThrough otherPath(path + ".other", platform::OpenedFile::Open(path));
    const ReadThrough noFile(path, nullptr);
    LineCursor unbound(LineFile{path, 64});
    All(unbound);
    EXPECT_FALSE(otherPath.Version().Known());
    EXPECT_FALSE(noFile.Version().Known());
}
