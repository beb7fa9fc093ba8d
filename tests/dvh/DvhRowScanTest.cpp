// The fast table-row scanners: what they accept they must read exactly as the library and the
// line-by-line readers would, and a whole export must read alike whichever way its rows go.
#include "dvh/DvhRowScan.h"

#include "dvh/DvhExportReader.h"
#include "dvh/DvhTextBlockReader.h"
#include "dvh/FileNames.h"
#include "dvh/LineCursor.h"
#include "dvh/ModFile.h"
#include "dvh/PlanExportFile.h"
#include "dvh/Workspace.h"
#include "batch/BatchReader.h"
#include "import/ImportHandOver.h"
#include "import/XiOLoad.h"

#include "../support/RefusedMemory.h"
#include "../support/ThrownAt.h"
#include "DvhTestText.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <sched.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <random>
#include <string>
#include <tuple>

using namespace dvhrows;

namespace {

/// `text` followed by padding, so that a scanner may read its whole window.
std::string Padded(const std::string& text) { return text + std::string(kWindow, '#'); }

/// A random number in the forms real tables hold, and some they do not.
std::string RandomNumber(std::mt19937_64& draw) {
    std::string t;
    if (draw() % 8 == 0) t += '-';
    if (draw() % 50 == 0) t += '+';
    const int intDigits = static_cast<int>(draw() % 10), fracDigits = static_cast<int>(draw() % 18);
    for (int k = 0; k < intDigits; ++k) t += static_cast<char>('0' + draw() % 10);
    if (fracDigits || draw() % 4 == 0) t += '.';
    for (int k = 0; k < fracDigits; ++k) t += static_cast<char>('0' + draw() % 10);
    if (draw() % 4 == 0) {
        t += draw() % 2 ? 'e' : 'E';
        if (draw() % 2) t += draw() % 2 ? '-' : '+';
        for (int k = 0, n = static_cast<int>(draw() % 5); k < n; ++k) t += static_cast<char>('0' + draw() % 10);
    }
    return t;
}

}  // namespace

TEST(DvhRowScan, PlainDecimalsAgreeBitForBitWithTheLibrary) {
    // The forms of real tables must be taken (a scanner that declines all would pass the rest).
    struct Case { const char* text; double value; } taken[] = {
        {"0", 0.0},       {"7999", 7999.0},         {"99.9756", 99.9756},     {"0.0128205", 0.0128205},
        {"-0.25", -0.25}, {"9.98844e-05", 9.98844e-05}, {"3.53804e-005", 3.53804e-5}, {"1E+3", 1000.0},
        {"9.99117e-18", 9.99117e-18}, {"0.000128205", 0.000128205}, {"1234567.1234567", 1234567.1234567},
    };
    for (const Case& c : taken) {
        SCOPED_TRACE(c.text);
        const std::string text = Padded(std::string(c.text) + "\t");
        const char* p = text.data();
        double v = -1;
        ASSERT_TRUE(PlainDecimal(p, v));
        EXPECT_EQ(v, c.value);
        EXPECT_EQ(*p, '\t');
    }
    for (const char* declined : {"", ".5", "+3", "12345678", "1e", "1e1234", "--1", "1e-400", "N/A", " 1"}) {
        SCOPED_TRACE(declined);
        const std::string text = Padded(declined);
        const char* p = text.data();
        double v = 0;
        const bool read = PlainDecimal(p, v);
        // Whatever is read stops before the junk and has the library's value.
        if (read) {
            double expected = 0;
            auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), expected);
            EXPECT_TRUE(ec == std::errc() && end == p && v == expected);
        }
        EXPECT_TRUE(!read || std::string_view(declined) == "1e" || std::string_view(declined) == "12345678")
            << "took " << declined;
    }

    std::mt19937_64 draw(2024);
    long takenCount = 0;
    for (int i = 0; i < 200000; ++i) {
        const std::string number = RandomNumber(draw);
        const std::string text = Padded(number + "\r\n");
        const char* p = text.data();
        double got = 0;
        if (!PlainDecimal(p, got)) continue;
        ++takenCount;
        double expected = 0;
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), expected);
        ASSERT_TRUE(ec == std::errc()) << number;
        ASSERT_EQ(p, end) << number;
        ASSERT_EQ(got, expected) << number;
        ASSERT_EQ(std::signbit(got), std::signbit(expected)) << number;
    }
    EXPECT_GT(takenCount, 60000);  // the plain forms among them are taken
}

TEST(DvhRowScan, RowsAreTakenWholeOrDeclined) {
    static const int planEnds[] = {17, 37}, sumEnds[] = {10};
    const std::string plan = dvhtest::Right("120", 17) + dvhtest::Right("1.53846", 20) + dvhtest::Right("99.9756", 26);
    const std::string sum = dvhtest::Right("12.5", 10) + dvhtest::Right("3.5e-05", 12);
    struct Case { const char* what; std::string row; int kind; bool taken; double v0, v2; } cases[] = {
        {"TAB row, CR LF", "3974\t0.0623212\t50.9487\r\n", 3, true, 3974, 50.9487},
        {"TAB row, LF", "1\t99.9756\t0.0128205\n", 3, true, 1, 0.0128205},
        {"TAB row with a blank", "1\t 99\t2\n", 3, false, 0, 0},
        {"TAB row, lone CR", "1\t99\t2\rx\n", 3, false, 0, 0},
        {"TAB row, two fields", "1\t99\n", 3, false, 0, 0},
        {"TAB row, four fields", "1\t99\t2\t3\n", 3, false, 0, 0},
        {"TAB row, trailing blank", "1\t99\t2 \n", 3, false, 0, 0},
        {"TAB sum row", "7.5\t100\r\n", 2, true, 7.5, 100},
        {"empty line", "\r\n", 3, false, 0, 0},
        {"columns, CR LF", plan + "\r\n", 13, true, 120, 99.9756},
        {"columns, LF", plan + "\n", 13, true, 120, 99.9756},
        {"columns, number over its column end", dvhtest::Right("120", 18) + dvhtest::Right("1.5", 19) +
             dvhtest::Right("99", 26) + "\n", 13, false, 0, 0},
        {"columns, left-aligned", "120" + std::string(14, ' ') + plan.substr(17) + "\n", 13, false, 0, 0},
        {"columns, inner blank", dvhtest::Right("1 20", 17) + plan.substr(17) + "\n", 13, false, 0, 0},
        {"columns, TAB padding", "\t" + plan.substr(1) + "\n", 13, false, 0, 0},
        {"columns, short row", dvhtest::Right("120", 17) + "\n", 13, false, 0, 0},
        {"columns, trailing blank", plan + " \n", 13, false, 0, 0},
        {"sum columns", sum + "\r\n", 12, true, 12.5, 3.5e-05},
        {"padding beyond reach", std::string(kReach + 8, ' ') + "1\n", 12, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string text = Padded(c.row);
        const char* row = text.data();
        double v[3] = {-1, -1, -1};
        double two[2] = {-1, -1};
        const char* next = nullptr;
        switch (c.kind) {
        case 3: next = TabRow<3>(row, v); break;
        case 2: next = TabRow<2>(row, two); break;
        case 13: next = ColumnRow<3>(row, planEnds, v); break;
        case 12: next = ColumnRow<2>(row, sumEnds, two); break;
        }
        ASSERT_EQ(next != nullptr, c.taken);
        if (!c.taken) continue;
        EXPECT_EQ(next, row + c.row.size());  // just past the LF
        const bool three = c.kind == 3 || c.kind == 13;
        EXPECT_EQ(three ? v[0] : two[0], c.v0);
        EXPECT_EQ(three ? v[2] : two[1], c.v2);
    }
}

namespace {

constexpr int kJunkRow = 1234, kHugeRow = 2345;

/// A large export of `code` whose rows take every form: plain, exponents, long fractions, '+',
/// inner blanks; `badRow` (`kJunkRow` or `kHugeRow`) spoils that row of the last structure.
std::string MixedExport(int code, bool crlf, int badRow) {
    std::mt19937_64 draw(static_cast<unsigned>(code * 7 + crlf));
    std::string text;
    auto line = [&](const std::string& l) { text += l + (crlf ? "\r\n" : "\n"); };
    auto number = [&] {
        switch (draw() % 6) {
        case 0: return std::to_string(draw() % 9000);
        case 1: {
            char b[32];
            std::snprintf(b, sizeof b, "%.6g", static_cast<double>(draw() % 100000) * 1e-9);
            return std::string(b);
        }
        case 2: return "+" + std::to_string(draw() % 90);
        default: {
            char b[32];
            std::snprintf(b, sizeof b, "%.*f", static_cast<int>(draw() % 9), (draw() % 1000000) / 997.0);
            return std::string(b);
        }
        }
    };
    auto shortNumber = [&] {  // fits the narrowest column (10 characters) with room to spare
        char b[32];
        std::snprintf(b, sizeof b, "%s%.*f", draw() % 30 == 0 ? "+" : "", static_cast<int>(draw() % 4),
                      (draw() % 100000) / 101.0);
        return std::string(b);
    };
    const bool blocks = code >= 12, sum = code == 3 || code == 13;
    using dvhtest::L;
    using dvhtest::Right;
    line(L("Patient Name", "Mixed, Rows"));
    for (int i = 0; i < 6; ++i) line(L("Field", std::to_string(i)));
    if (blocks) line("Prescribed dose [cGy]: 6000.0");
    line("");
    for (int s = 0; s < 3; ++s) {
        if (blocks) {
            line("Structure: S" + std::to_string(s));
            line("Volume [cm3]: 120.5");
            line("Min Dose [cGy]: 10.0");
            line("Max Dose [cGy]: 6500.0");
            line("Mean Dose [cGy]: 3000.0");
            line("");
            line(sum ? "Dose [cGy]  Ratio of Total Structure Volume [%]"
                     : Right("Dose [cGy]", 17) + Right("Relative dose [%]", 20) + "  Structure Volume [cm3]");
        } else {
            line(L("Histogram", "B1 - S" + std::to_string(s)));
            line(L("Prescribed dose [cGy]", "6000.0"));
            for (int i = 0; i < 2; ++i) line(L("Line", "x"));
            line(L("Volume [cm^3]", "120.5"));
            line(L("Min dose [cGy]", "10.0"));
            line(L("Max dose [cGy]", "6500.0"));
            line(L("Mean dose [cGy]", "3000.0"));
            for (int i = 0; i < 4; ++i) line(L("Line", "x"));
            line(sum ? "Dose [cGy]\tRatio of Total Structure Volume [%]"
                     : "Dose [cGy]\tRatio of Total Structure Volume [%]\tRelative dose [%]");
        }
        // Tables large and small, so that points are kept both at once and copied aside.
        const int rows = s == 0 ? 5000 : s == 1 ? 9000 : 3000;
        for (int r = 0; r < rows; ++r) {
            std::string row;
            const std::string a = blocks ? shortNumber() : number(), b = number(), c = number();
            if (blocks) {
                const bool inner = draw() % 40 == 0 && a[0] != '+';
                const std::string first = inner ? "1 " + a : a;
                row = sum ? Right(first, 10) + Right(b, 14) : Right(first, 17) + Right(b, 20) + Right(c, 26);
            } else {
                row = sum ? a + "\t" + b : a + "\t" + b + "\t" + c;
            }
            if (s == 2 && r == badRow) {
                if (badRow == kJunkRow)
                    row += "x";
                else if (blocks)  // a volume too large for a float
                    row = sum ? Right("1", 10) + Right("1e39", 14) : Right("1", 17) + Right("1", 20) + Right("1e39", 26);
                else
                    row = sum ? "1\t1e39" : "1\t1e39\t1";
            }
            line(row);
        }
        line("");
        if (!blocks) line("");
    }
    return text;
}

void ExpectSamePlan(const ParsedPlan& a, const ParsedPlan& b) {
    ASSERT_EQ(a.DVHDataset.size(), b.DVHDataset.size());
    EXPECT_EQ(a.BodyIndex, b.BodyIndex);
    for (std::size_t i = 0; i < a.DVHDataset.size(); ++i) {
        const DVHDatasetClass &x = a.DVHDataset[i], &y = b.DVHDataset[i];
        EXPECT_EQ(x.Name, y.Name);
        EXPECT_EQ(x.Volume, y.Volume);
        ASSERT_EQ(x.DVset.size(), y.DVset.size());
        for (std::size_t k = 0; k < x.DVset.size(); ++k) {
            const DVsetClass &p = x.DVset[k], &q = y.DVset[k];
            ASSERT_TRUE(p.DoseGy == q.DoseGy && p.DosePercent == q.DosePercent && p.VolumeCc == q.VolumeCc &&
                        p.VolumePercent == q.VolumePercent)
                << "structure " << i << " point " << k;
        }
    }
}

}  // namespace

TEST(DvhRowScan, WholeExportsReadAlikeFastAndLineByLine) {
    dvhtest::TempFolder folder("rowscan");
    for (int code : {2, 3, 12, 13}) {
        for (bool crlf : {false, true}) {
            for (int badRow : {-1, kJunkRow, kHugeRow}) {
                SCOPED_TRACE("code " + std::to_string(code) + (crlf ? " CR LF" : " LF") +
                             (badRow >= 0 ? " with a bad row" : ""));
                const std::string text = MixedExport(code, crlf, badRow);
                DvhReadOptions options{code, 60.0f};
                options.Threads = platform::ThreadUse::Always;  // helpers on a busy machine too
                auto read = [&](LineCursor& lines, ParsedPlan& plan) {
                    return code >= 12 ? ParseDvhTextBlocks(lines, options, plan) : ParseDvhFile(lines, options, plan);
                };
                // In memory nearly every row goes the fast way; in chunks smaller than a
                // scanner's window every row goes line by line.
                ParsedPlan fast, slow;
                LineCursor memory(text);
                const ReadResult r = read(memory, fast);
                LineCursor chunks(LineFile{folder.Write("mixed.txt", text), 64});
                const ReadResult s = read(chunks, slow);
                ASSERT_EQ(r.status, s.status) << r.detail << " / " << s.detail;
                EXPECT_EQ(r.line, s.line);
                EXPECT_EQ(r.detail, s.detail);
                if (badRow >= 0) {
                    EXPECT_EQ(r.status, ReadStatus::BadNumber);
                    EXPECT_EQ(r.detail.find("out of range") != std::string::npos, badRow == kHugeRow) << r.detail;
                    EXPECT_TRUE(fast.DVHDataset.empty());
                    continue;
                }
                ASSERT_TRUE(r.ok()) << r.detail;
                ASSERT_EQ(fast.DVHDataset.size(), 3u);
                EXPECT_EQ(fast.DVHDataset[0].DVset.size(), 5000u);
                EXPECT_EQ(fast.DVHDataset[1].DVset.size(), 9000u);
                EXPECT_EQ(fast.DVHDataset[2].DVset.size(), 3000u);
                ExpectSamePlan(fast, slow);
                for (const DVHDatasetClass& st : fast.DVHDataset)  // points kept with little spare room
                    EXPECT_LE(st.DVset.capacity(), st.DVset.size() + st.DVset.size() / 8);
            }
        }
    }
}

namespace {

/// A one-plan export (code 2) of tables "S0" and "S1" with `rows` rows each, all of 23 bytes,
/// so that pieces of a long table start on known rows; row `oddAt` of "S1" begins with a '+'
/// (read only the slow way) or, when `huge`, holds a volume out of range.
std::string TwoTableExport(int rows, int oddAt = -1, bool huge = false) {
    std::string text;
    auto line = [&](const std::string& l) { text += l + "\r\n"; };
    for (int i = 0; i < 8; ++i) line(i == 0 ? "Patient Name         : Pieces" : "Field                : x");
    for (int s = 0; s < 2; ++s) {
        line("Histogram            : B1 - S" + std::to_string(s));
        line("Prescribed dose [cGy]: 6000.0");
        for (int i = 0; i < 2; ++i) line("Line                 : x");
        line("Volume [cm^3]        : 120.5");
        line("Min dose [cGy]       : 10.0");
        line("Max dose [cGy]       : 6500.0");
        line("Mean dose [cGy]      : 3000.0");
        for (int i = 0; i < 4; ++i) line("Line                 : x");
        line("Dose [cGy]\tRatio of Total Structure Volume [%]\tRelative dose [%]");
        for (int r = 0; r < rows; ++r) {
            char row[96];
            std::snprintf(row, sizeof row, "%04d\t%07.3f\t%08.4f", r, 100.0 - r * 0.0137, r * 0.0128205);
            if (s == 1 && r == oddAt)
                std::snprintf(row, sizeof row, huge ? "%04d\t0001e39\t001.0000" : "+%03d\t050.000\t001.0000", r);
            line(row);
        }
        line("");
        line("");
    }
    return text;
}

}  // namespace

TEST(DvhRowScan, LongTablesReadInPiecesAsLineByLine) {
    // Long plain tables are read in pieces side by side; a row only the slow way reads, or a
    // value out of range, in any piece or right at a piece's start must come out exactly as line
    // by line: the same points, and the same error on the same line. Rows of one length put the
    // pieces' starts on known rows: eight pieces, starting after rows 750, 1500, ... 5250.
    dvhtest::TempFolder folder("pieces");
    const int kRows = 6000;
    const std::vector<int> odd = {-1, 700, 751, 2999, 3000, 3001, 3002, 5500};
    for (int at : odd) {
        for (bool huge : {false, true}) {
            if (at < 0 && huge) continue;
            SCOPED_TRACE("odd row " + std::to_string(at) + (huge ? " out of range" : " with a '+'"));
            const std::string text = TwoTableExport(kRows, at, huge);
            ParsedPlan fast, slow;
            DvhReadOptions options{2};
            options.Threads = platform::ThreadUse::Always;  // helpers on a busy machine too
            LineCursor memory(text);
            const ReadResult r = ParseDvhFile(memory, options, fast);
            LineCursor chunks(LineFile{folder.Write("pieces.txt", text), 64});
            const ReadResult l = ParseDvhFile(chunks, options, slow);
            ASSERT_EQ(r.status, l.status) << r.detail << " / " << l.detail;
            EXPECT_EQ(r.line, l.line);
            EXPECT_EQ(r.detail, l.detail);
            if (huge) {
                EXPECT_FALSE(r.ok());
                continue;
            }
            ASSERT_TRUE(r.ok()) << r.detail;
            ASSERT_EQ(fast.DVHDataset.size(), 2u);
            EXPECT_EQ(fast.DVHDataset[1].DVset.size(), static_cast<std::size_t>(kRows));
            ExpectSamePlan(fast, slow);
        }
    }
}

namespace {

/// What a read that memory failed says: the read's error, no line to blame.
void ExpectOutOfMemory(const ReadResult& r) {
    EXPECT_EQ(r.status, ReadStatus::ReadError);
    EXPECT_EQ(r.detail, "out of memory");
}

}  // namespace

TEST(DvhRowScan, OnlyALongTableLooksAtTheLoadToChooseItsHelpers) {
    // A plan of short tables, read on its own, through the workspace or counted for the store,
    // needs no thread beside its own and so never looks at the machine's load. Its first long
    // table (above 64 KiB, under the points copied aside, in a file of one chunk: no read
    // ahead) looks once, for both of its tables.
    dvhtest::TempFolder folder("load");
    const std::string small = folder.Write("small.txt", TwoTableExport(3));
    const std::string large = folder.Write("large.txt", TwoTableExport(3500));
    ASSERT_GT(TwoTableExport(3500).size() / 2, std::size_t(1) << 16) << "each table is long";
    ParsedPlan plan;
    long before = platform::LoadLookups();
    ASSERT_TRUE(ReadPlanExportFile(small, {FileTypePlan}, plan));
    Workspace ws;
    ws.PDataset.emplace_back().FileType = FileTypePlan;
    ASSERT_TRUE(ws.ReadDvhFile(small));
    EXPECT_EQ(ws.ExportStructureCount(small, FileTypePlan), 2u);
    EXPECT_EQ(platform::LoadLookups(), before);

    before = platform::LoadLookups();
    ASSERT_TRUE(ReadPlanExportFile(large, {FileTypePlan}, plan));
    ASSERT_EQ(plan.DVHDataset.size(), 2u);
    EXPECT_EQ(plan.DVHDataset[1].DVset.size(), 3500u);
    // With one processor there is none beside the read's own to ask for.
    EXPECT_EQ(platform::LoadLookups(), before + (platform::AvailableProcessors() > 1 ? 1 : 0));
}

TEST(DvhRowScan, AFailureOnAnyThreadOfAReadFailsItWholeWithTheFileName) {
    // Every thread a read starts is joined before the read returns, however it ends. A thread
    // that cannot be made leaves its share to the others: the same plan. Memory that runs out
    // where any piece of work begins, on any thread (table pieces, the copy of a table's points,
    // the file's read ahead), fails the read and keeps no structure. Lines before the first
    // structure make the file long enough to be read ahead. The read asks for its threads
    // whatever the load, so that a busy machine meets them too.
    dvhtest::TempFolder folder("faults");
    std::string fill;
    for (int i = 0; i < 24000; ++i) fill += "Fill                 : " + std::string(100, '-') + "\r\n";
    for (int code : {2, 12}) {
        std::string text = MixedExport(code, true, -1);
        text.insert(text.find(code == 2 ? "\r\nHistogram" : "\r\nStructure") + 2, fill);
        const std::string path = folder.Write("long.txt", text);
        ParsedPlan whole;
        LineCursor lines(text);
        ASSERT_TRUE((code == 2 ? ParseDvhFile(lines, {code}, whole) : ParseDvhTextBlocks(lines, {code}, whole)).ok());
        DvhReadOptions options{code};
        options.Threads = platform::ThreadUse::Always;
        for (const std::string point : {"thread start", "threaded work"}) {
            long n = 1;
            for (;; ++n) {
                SCOPED_TRACE("code " + std::to_string(code) + ", " + point + " " + std::to_string(n));
                ParsedPlan read;
                ReadResult r;
                bool reached;
                {
                    const ThrownAt fault(point, n);
                    r = ReadPlanExportFile(path, options, read);
                    reached = fault.Reached();
                }
                if (!reached || point == "thread start") {
                    ASSERT_TRUE(r.ok()) << r.detail;
                    ExpectSamePlan(read, whole);
                    if (!reached) break;
                    continue;
                }
                EXPECT_EQ(r.status, ReadStatus::ReadError);
                EXPECT_EQ(r.detail, "out of memory");
                EXPECT_TRUE(read.DVHDataset.empty());
            }
            EXPECT_GT(n, 1) << "code " << code << ": no " << point;
        }
        // Through the workspace, at whatever load: the status bar names the file.
        dvhtest::RecordingHost host;
        Workspace ws;
        ws.SetHost(&host);
        ws.PDataset.emplace_back().FileType = code;
        {
            const ThrownAt fault("threaded work", 1);
            EXPECT_EQ(ws.ReadDvhFile(path).status, ReadStatus::ReadError);
        }
        EXPECT_TRUE(ws.PDataset[0].DVHDataset.empty());
        EXPECT_EQ(host.status, std::vector<std::string>{"Cannot read long.txt: out of memory"});

        // With no processor to spare (here a reader allowed only one), the reader starts no
        // thread: it does the read-ahead and the copies itself, and reads the same plan.
        cpu_set_t all, one;
        ASSERT_EQ(sched_getaffinity(0, sizeof all, &all), 0);
        const int cpu = sched_getcpu();
        ASSERT_GE(cpu, 0);
        CPU_ZERO(&one);
        CPU_SET(cpu, &one);
        ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
        ParsedPlan alone;
        bool started;
        {
            const ThrownAt fault("thread start", 1);
            EXPECT_TRUE(ReadPlanExportFile(path, {code}, alone).ok());
            started = fault.Reached();
        }
        sched_setaffinity(0, sizeof all, &all);
        EXPECT_FALSE(started);
        ExpectSamePlan(alone, whole);
    }
}

TEST(DvhRowScan, AFailureInATableXiOBatchOrStoreReadIsThatReadsErrorNeverTheProgramsEnd) {
    // The same failure in the read-ahead of a BrainSCAN table, an XiO export (names pass and
    // read), a batch and the store's structure count: each ends as its read's error, names the
    // file where the user is told, and keeps no structure. Both files are long enough to be
    // read ahead.
    dvhtest::TempFolder folder("import-faults");
    std::string table = "Patient Name         : Ann\r\n";
    for (int i = 2; i <= 6; ++i) table += "Field                : x\r\n";
    table += "Prescribed dose [cGy]: 6000\r\n\r\n\tPTV\tBody\r\n\t50.0\t2000.0\r\n";
    for (int i = 0; i < 150000; ++i) table += std::to_string(i) + "\t50.000\t25.000\r\n";
    const std::string tablePath = folder.Write("table.txt", table + "EOF");
    std::string xio = "XiO Dose Volume Histogram v4\nP-7\nPlan X\nPTV\n-\n300000\tbins\n2024-01-05\n-\n";
    for (int i = 0; i < 300000; ++i) xio += std::to_string(i) + ",0.001\n";
    const std::string xioPath = folder.Write("xio.txt", xio);

    dvhtest::RecordingHost host;
    Workspace ws;
    ws.SetHost(&host);
    InstallImportReaders(ws);
    auto failing = [&](auto read) {
        host.status.clear();
        const ThrownAt fault("threaded work", 1);
        auto result = read();
        EXPECT_TRUE(fault.Reached());
        return result;
    };
    ws.PDataset.emplace_back().FileType = FileTypeBrainScan;
    EXPECT_EQ(failing([&] { return ws.ReadDvhFile(tablePath); }).status, ReadStatus::ReadError);
    EXPECT_TRUE(ws.PDataset[0].DVHDataset.empty());
    EXPECT_EQ(host.status, std::vector<std::string>{"Cannot read table.txt: out of memory"});

    ws.PDataset.emplace_back().FileType = FileTypeXiO;
    EXPECT_EQ(failing([&] { return ws.ReadDvhFile(xioPath); }).status, ReadStatus::ReadError);
    EXPECT_FALSE(ws.PendingXiO.Active);
    EXPECT_EQ(host.status, std::vector<std::string>{"Cannot read xio.txt: out of memory"});
    ASSERT_TRUE(ws.ReadDvhFile(xioPath));
    const XiODialogAnswer answer{"Ann", "P-7", "Plan X", "Plan X", 60.0f, 0, 1};
    EXPECT_EQ(failing([&] { return FinishXiOLoad(ws, answer); }).status, ReadStatus::ReadError);
    EXPECT_EQ(host.status, std::vector<std::string>{"Cannot read xio.txt: out of memory"});
    EXPECT_EQ(ws.PDatasetCount(), 1);  // the plan made for the load is gone

    const BatchParseResult batch = failing([&] { return ParseBatchFiles({{tablePath, FileTypeBrainScan}}, 2); });
    EXPECT_EQ(batch.FailedJob, 0);
    EXPECT_EQ(batch.Failure.status, ReadStatus::ReadError);
    EXPECT_TRUE(batch.Plans.empty());

    EXPECT_EQ(failing([&] { return ws.ExportStructureCount(tablePath, FileTypeBrainScan); }), std::nullopt);
    EXPECT_EQ(failing([&] { return ws.ExportStructureCount(xioPath, FileTypeXiO); }), std::nullopt);
    EXPECT_EQ(ws.ExportStructureCount(tablePath, FileTypeBrainScan), 2u);  // the files themselves read
    EXPECT_EQ(ws.ExportStructureCount(xioPath, FileTypeXiO), 1u);
}

TEST(DvhRowScan, MemoryThatRunsOutAtAnyAllocationOfATableXiOOrStoreReadFailsThatReadAlone) {
    // Each allocation of a read, from its very first (the copy of the file's path) on, fails in
    // turn: the BrainSCAN table read, the XiO names pass (alone and into the pending load) and
    // read, and the store's structure count each end as their read's error or read the file
    // whole; none throws, and a read that failed keeps nothing. The first allocation always
    // fails the read.
    dvhtest::TempFolder folder("every-allocation");
    std::string table = "Patient Name         : Ann\r\n";
    for (int i = 2; i <= 6; ++i) table += "Field                : x\r\n";
    table += "Prescribed dose [cGy]: 6000\r\n\r\n\tPTV\tBody\r\n\t50.0\t2000.0\r\n0\t100\t100\r\n9\t0\t0\r\nEOF";
    const std::string tablePath = folder.Write("table.txt", table);
    const std::string xioPath = folder.Write(
        "xio.txt", "XiO Dose Volume Histogram v4\nP-7\nPlan X\nPTV\n-\n3\tbins\n2024-01-05\n-\n0,1\n1,0.5\n2,0\n");
    const std::string planPath = folder.Write("plan.txt", TwoTableExport(3));

    // `ok(result)` says whether a run read the file, `whole(result)` checks what it read and
    // `none()` that a failed run kept nothing; the first run must fail.
    auto everyAllocation = [](auto run, auto ok, auto whole, auto none) {
        const long runs = FailingEachAllocation(run, [&](const auto& result, bool, long n) {
            SCOPED_TRACE("allocation " + std::to_string(n));
            if (n == 1) {
                EXPECT_FALSE(ok(result)) << "the first allocation fails the read";
            }
            if (ok(result)) return whole(result);
            none(result);
        });
        EXPECT_GT(runs, 1) << "no read without an allocation";
    };
    auto read = [](const ReadResult& r) { return r.ok(); };
    auto counted = [](const std::optional<std::size_t>& count) { return count.has_value(); };
    {
        SCOPED_TRACE("BrainSCAN table");
        ParsedPlan plan;
        everyAllocation([&] { return ReadBrainLabTableFile(tablePath, plan); }, read,
                        [&](const ReadResult&) { EXPECT_EQ(plan.DVHDataset.size(), 2u); },
                        [&](const ReadResult& r) {
                            ExpectOutOfMemory(r);
                            EXPECT_TRUE(plan.DVHDataset.empty());
                        });
    }
    {
        SCOPED_TRACE("XiO names");
        std::vector<std::string> names;
        everyAllocation([&] { return ReadXiONamesFile(xioPath, names); }, read,
                        [&](const ReadResult&) { EXPECT_EQ(names, std::vector<std::string>{"PTV"}); },
                        [&](const ReadResult& r) {
                            ExpectOutOfMemory(r);
                            EXPECT_TRUE(names.empty());
                        });
    }
    for (const bool fromStore : {false, true}) {
        // The names pass into the pending load, with the store's companion copied into it.
        SCOPED_TRACE(fromStore ? "XiO names pass of a store entry" : "XiO names pass");
        Workspace ws;
        ws.PDataset.emplace_back().Key = "P-7 Plan X";
        if (fromStore) {
            ws.Pending.Active = ws.Pending.Appended = true;
            ws.Pending.ModFilePath = ChangeFileExt(xioPath, ".mod");
            ws.Pending.Companion =
                ParseModFile("Ann\r\nP-7\r\nPlan X\r\nPlan X\r\n6000\r\nTarget\r\n");
        }
        everyAllocation([&] { return ReadXiOHeader(ws, xioPath); }, read,
                        [&](const ReadResult&) {
                            const XiOLoadRequest& request = ws.PendingXiO;
                            EXPECT_TRUE(request.Active);
                            EXPECT_EQ(request.PlanIndex, 0);
                            EXPECT_EQ(request.Key, "P-7 Plan X");
                            EXPECT_EQ(request.FilePath, xioPath);
                            EXPECT_EQ(request.Names, std::vector<std::string>{"PTV"});
                            EXPECT_EQ(request.UseModFile, fromStore);
                            EXPECT_EQ(request.ModDoseText(), fromStore ? "6000" : "");
                            EXPECT_EQ(request.Companion.has_value(), fromStore);
                        },
                        [&](const ReadResult& r) {
                            ExpectOutOfMemory(r);
                            EXPECT_FALSE(ws.PendingXiO.Active);
                            EXPECT_TRUE(ws.PendingXiO.FilePath.empty() && ws.PendingXiO.Names.empty())
                                << "no part of a request is left";
                        });
    }
    {
        SCOPED_TRACE("XiO read");
        Workspace ws;
        InstallImportReaders(ws);
        auto namesPass = [&] {
            ws.PDataset.clear();
            ws.PDataset.emplace_back().FileType = FileTypeXiO;
            ASSERT_TRUE(ws.ReadDvhFile(xioPath));
        };
        namesPass();
        const XiODialogAnswer answer{"Ann", "P-7", "Plan X", "Plan X", 60.0f, 0, 1};
        everyAllocation([&] { return FinishXiOLoad(ws, answer); }, read,
                        [&](const ReadResult&) {
                            ASSERT_EQ(ws.PDatasetCount(), 1);
                            EXPECT_EQ(ws.PDataset[0].DVHDatasetCount(), 1);
                            EXPECT_EQ(ws.PDataset[0].PatientName, "Ann");
                            namesPass();
                        },
                        [&](const ReadResult& r) {
                            ExpectOutOfMemory(r);
                            EXPECT_EQ(ws.PDatasetCount(), 0) << "the plan made for the load is gone";
                            EXPECT_FALSE(ws.PendingXiO.Active);
                            namesPass();
                        });
    }
    Workspace ws;
    InstallImportReaders(ws);
    for (auto [path, code, count] : {std::tuple{tablePath, FileTypeBrainScan, 2u}, std::tuple{xioPath, FileTypeXiO, 1u},
                                     std::tuple{planPath, FileTypePlan, 2u}}) {
        SCOPED_TRACE("the store's structure count of " + FileNameOf(path));
        everyAllocation([&] { return ws.ExportStructureCount(path, code); }, counted,
                        [&](const std::optional<std::size_t>& r) { EXPECT_EQ(*r, count); },
                        [](const std::optional<std::size_t>&) {});
    }
}

namespace {

/// A column row read number by number, each from where the one before it ended: what
/// `ColumnRow` must take and decline alike.
template <int N>
const char* ColumnRowInTurn(const char* row, const int* ends, double (&v)[N]) {
    const char* q = row;
    for (int i = 0; i < N; ++i) {
        q = SkipSpaces(q, row);
        if (!q || !PlainDecimal(q, v[i])) return nullptr;
        if (i + 1 < N && q != row + ends[i]) return nullptr;
    }
    return LineEnd(q);
}

/// A random row of `fields` random numbers (some spoilt) between random separators, often
/// followed by a second line that holds TABs of its own.
std::string RandomRow(std::mt19937_64& draw, int fields, bool columns, const int* ends, int endCount) {
    std::string row;
    for (int i = 0; i < fields; ++i) {
        std::string number = RandomNumber(draw);
        if (draw() % 30 == 0) number.insert(draw() % (number.size() + 1), 1, "x \t\r"[draw() % 4]);
        if (columns) {
            const std::size_t end = i < endCount ? static_cast<std::size_t>(ends[i]) : row.size() + 1 + number.size();
            // Mostly right-aligned to the column's end, sometimes one off or crowded.
            const std::size_t want = end + (draw() % 10 == 0 ? 1 : 0);
            if (row.size() + number.size() < want) row.append(want - row.size() - number.size(), ' ');
            else if (draw() % 2) row += ' ';
            row += number;
        } else {
            if (i > 0) row += draw() % 25 == 0 ? "\t\t" : draw() % 25 == 0 ? " " : "\t";
            row += number;
        }
    }
    row += draw() % 3 ? "\r\n" : "\n";
    if (draw() % 2) row += "7\t8\t9\t10\n";
    return row;
}

}  // namespace

TEST(DvhRowScan, RowsReadSideBySideAsInTurn) {
    // The numbers of a row are read side by side from where their TABs or columns put them;
    // that must take, decline and read exactly the rows that reading in turn does, short rows,
    // long rows (TABs beyond the first 32 bytes) and rows whose TABs run short alike.
    static const int planEnds[] = {17, 37}, sumEnds[] = {10};
    std::mt19937_64 draw(77);
    long taken[4] = {};
    for (int i = 0; i < 60000; ++i) {
        const int kind = static_cast<int>(draw() % 4);
        const bool columns = kind >= 2;
        const int fields = kind % 2 ? 2 : 3;
        const int* ends = fields == 3 ? planEnds : sumEnds;
        const int count = fields + (draw() % 20 == 0 ? (draw() % 2 ? 1 : -1) : 0);
        const std::string row = RandomRow(draw, count, columns, ends, fields - 1);
        const std::string text = Padded(row);
        const char* p = text.data();
        double a[3] = {}, b[3] = {};
        double a2[2] = {}, b2[2] = {};
        const char *got, *want;
        if (fields == 3) {
            got = columns ? ColumnRow<3>(p, ends, a) : TabRow<3>(p, a);
            want = columns ? ColumnRowInTurn<3>(p, ends, b) : TabRowInTurn<3>(p, b);
        } else {
            got = columns ? ColumnRow<2>(p, ends, a2) : TabRow<2>(p, a2);
            want = columns ? ColumnRowInTurn<2>(p, ends, b2) : TabRowInTurn<2>(p, b2);
            std::copy(a2, a2 + 2, a);
            std::copy(b2, b2 + 2, b);
        }
        ASSERT_EQ(got, want) << row;
        if (!got) continue;
        ++taken[kind];
        for (int k = 0; k < fields; ++k) {
            ASSERT_EQ(a[k], b[k]) << row;
            ASSERT_EQ(std::signbit(a[k]), std::signbit(b[k])) << row;
        }
    }
    for (long n : taken) EXPECT_GT(n, 300);  // every kind of row is taken often enough to count
}
