// The import readers take plain rows straight from the buffer and any other row line by line: a
// file mixing both must read exactly as it does line by line, bad rows included.
#include "dvh/LineCursor.h"
#include "dvh/RoundToDigits.h"
#include "import/BrainLabTable.h"
#include "import/XiOExport.h"

#include "../dvh/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

enum class Spoil { None, Junk, Huge, Negative, Short };

/// A number as real files write it, and now and then in a form only the line-by-line way takes
/// (a decimal comma only where `comma`).
std::string Number(std::mt19937_64& draw, double value, bool comma = false) {
    char b[48];
    const int form = static_cast<int>(draw() % 20);
    switch (form == 1 && !comma ? 5 : form) {
    case 0: return "+" + std::to_string(draw() % 90);
    case 1: {  // a decimal comma
        std::snprintf(b, sizeof b, "%.3f", value);
        std::string t(b);
        t[t.find('.')] = ',';
        return t;
    }
    case 2: std::snprintf(b, sizeof b, "%.6g", value * 1e-9); return b;                  // exponent
    case 3: std::snprintf(b, sizeof b, "%.17f", value * 1e-3); return b;                 // long fraction
    case 4: return " " + std::to_string(draw() % 90);                                    // blank before
    case 5: {  // near the three-decimal form
        const char* near[] = {"-0.000", "999.999", "1000.000", "5.0000", "5.00", "5.000e1", "0.000",
                              "12.0345", "7.", "-0", "1.5", "1.000 ", "5.000E-1"};
        return near[draw() % std::size(near)];
    }
    default: std::snprintf(b, sizeof b, "%.*f", static_cast<int>(draw() % 5), value); return b;
    }
}

/// A row's line end, now and then with more than one CR.
std::string LineEnd(std::mt19937_64& draw, bool crlf) {
    if (draw() % 60 == 0) return "\r\r\n";
    return crlf ? "\r\n" : "\n";
}

void ExpectSame(const ParsedPlan& a, const ParsedPlan& b) {
    ASSERT_EQ(a.DVHDataset.size(), b.DVHDataset.size());
    EXPECT_EQ(a.BodyIndex, b.BodyIndex);
    for (std::size_t i = 0; i < a.DVHDataset.size(); ++i) {
        const DVHDatasetClass &x = a.DVHDataset[i], &y = b.DVHDataset[i];
        EXPECT_TRUE(x.Name == y.Name && x.Volume == y.Volume && x.MinDosePercent == y.MinDosePercent &&
                    x.MaxDosePercent == y.MaxDosePercent && x.MeanDosePercent == y.MeanDosePercent &&
                    x.MeanDoseGy == y.MeanDoseGy)
            << "structure " << i;
        ASSERT_EQ(x.DVset.size(), y.DVset.size()) << "structure " << i;
        for (std::size_t k = 0; k < x.DVset.size(); ++k) {
            const DVsetClass &p = x.DVset[k], &q = y.DVset[k];
            ASSERT_TRUE(p.DoseGy == q.DoseGy && p.DosePercent == q.DosePercent && p.VolumeCc == q.VolumeCc &&
                        p.VolumePercent == q.VolumePercent)
                << "structure " << i << " point " << k;
        }
    }
}

/// Reads `text` from memory, where nearly every plain row goes the fast way, and from a file in
/// chunks smaller than a fast scan needs, where every row goes line by line: both must agree.
/// Returns what the fast way read.
ParsedPlan ExpectFastAsLineByLine(const std::string& text, Spoil spoil,
                            const std::function<ReadResult(LineCursor&, ParsedPlan&)>& read) {
    dvhtest::TempFolder folder("importrows");
    ParsedPlan fast, slow;
    LineCursor memory(text);
    const ReadResult r = read(memory, fast);
    LineCursor chunks(LineFile{folder.Write("rows.txt", text), 64});
    const ReadResult s = read(chunks, slow);
    EXPECT_EQ(r.status, s.status) << r.detail << " / " << s.detail;
    EXPECT_EQ(r.line, s.line);
    EXPECT_EQ(r.detail, s.detail);
    EXPECT_EQ(r.ok(), spoil == Spoil::None) << r.detail;
    ExpectSame(fast, slow);
    return fast;
}

std::string Spoilt(Spoil spoil, const std::string& row, const std::string& huge, const std::string& negative,
                   const std::string& cut) {
    switch (spoil) {
    case Spoil::Junk: return row + "x";
    case Spoil::Huge: return huge;
    case Spoil::Negative: return negative;
    case Spoil::Short: return cut;
    default: return row;
    }
}

}  // namespace

TEST(ImportFastRows, TableMixingPlainAndOtherRowsReadsAsLineByLine) {
    for (bool crlf : {false, true}) {
        for (Spoil spoil : {Spoil::None, Spoil::Junk, Spoil::Huge, Spoil::Negative, Spoil::Short}) {
            SCOPED_TRACE(std::string(crlf ? "CR LF" : "LF") + " spoil " + std::to_string(int(spoil)));
            std::mt19937_64 draw(crlf * 10 + int(spoil));
            const char* nl = crlf ? "\r\n" : "\n";
            std::string text;
            for (int i = 0; i < 6; ++i) text += "Header               : x" + std::string(nl);
            text += "Prescribed dose [cGy]: 6000.000" + std::string(nl) + nl + "\tA\tBody\tC\tD\tE" + nl +
                    "\t10.5\t1000\t3,25\t0.001\t77" + nl;
            for (int i = 0; i <= 400; ++i) {
                char label[8];
                std::snprintf(label, sizeof label, "%3d", i);
                std::string row = label;
                for (int k = 0; k < 5; ++k) row += "\t" + Number(draw, 100.0 - i * 0.2 - k, true);
                if (i == 350) row = "349\t1.5\t1.5\t1.5\t1.5\t1.5";  // a plain row whose repeated label ends the table
                if (draw() % 50 == 0) row += "\t12";  // a field beyond the structures
                if (i == 300)
                    row = Spoilt(spoil, row, std::string(label) + "\t1\t1\t1e39\t1\t1",
                                 std::string(label) + "\t1\t1\t-1.000\t1\t1", row.substr(0, row.rfind('\t')));
                text += row + LineEnd(draw, crlf);
            }
            text += "EOF";
            const ParsedPlan plan = ExpectFastAsLineByLine(text, spoil, [](LineCursor& lines, ParsedPlan& plan) {
                return ParseBrainLabTable(lines, plan);
            });
            if (spoil == Spoil::None) {
                EXPECT_EQ(plan.DVHDataset[4].DVset.size(), 350u);
                EXPECT_EQ(plan.BodyIndex, 1);
            }
        }
    }
}

TEST(ImportFastRows, XiOMixingPlainAndOtherRowsReadsAsLineByLine) {
    for (bool crlf : {false, true}) {
        for (Spoil spoil : {Spoil::None, Spoil::Junk, Spoil::Huge, Spoil::Negative, Spoil::Short}) {
            SCOPED_TRACE(std::string(crlf ? "CR LF" : "LF") + " spoil " + std::to_string(int(spoil)));
            std::mt19937_64 draw(crlf * 10 + int(spoil));
            const std::string nl = crlf ? "\r\n" : "\n";
            std::string text;
            for (int b = 0; b < 3; ++b) {
                // The last block counts fewer rows than it holds: the first row past its count ends the blocks.
                const int rows = 500, count = b == 2 ? rows - 10 : rows;
                text += "XiO Dose Volume Histogram" + nl + "P" + nl + "Plan" + nl + "S" + std::to_string(b) + nl + "-" +
                        nl + std::to_string(count) + "\tbins" + nl + "2024-01-01" + nl + "-" + nl;
                for (int i = 0; i < rows; ++i) {
                    const double bin = (draw() % 1000) / 997.0;
                    std::string row = std::to_string(i * 2);
                    const int form = static_cast<int>(draw() % 10);
                    row += form == 0 ? " ,  " : form == 1 ? "," : ", ";
                    row += form == 2 ? "1 " + std::to_string(draw() % 90) : Number(draw, bin);  // a blank inside a number
                    if (form == 3) row += " \t";
                    if (b == 1 && i == 300) row = Spoilt(spoil, row, "600, 1e39", "600, -1.000", "600");
                    text += row + LineEnd(draw, crlf);
                }
            }
            const ParsedPlan plan = ExpectFastAsLineByLine(text, spoil, [](LineCursor& lines, ParsedPlan& plan) {
                return ParseXiODvh(lines, 60.0f, nullptr, plan);
            });
            if (spoil == Spoil::None) {  // the names pass passes over the same rows
                EXPECT_EQ(plan.DVHDataset[2].DVset.size(), 490u);
                std::vector<std::string> names;
                LineCursor memory(text);
                ASSERT_TRUE(ParseXiONames(memory, names));
                EXPECT_EQ(names, (std::vector<std::string>{"S0", "S1", "S2"}));
            }
        }
    }
}

TEST(ImportFastRows, XiOVolumesAreTheirSumsRoundedToThousandths) {
    // Two rounded at once must round as one at a time: halves, sums too large for the quick
    // way, and plain ones. (Negative bins are out of range.)
    std::mt19937_64 draw(7);
    const char* odd[] = {"0.0005", "0.0015", "2.0005", "0.0025", "1e9", "3e12", "0.0004", "1e-7", "0.5", "0"};
    std::string text;
    std::vector<std::vector<float>> blocks;
    for (int block = 0; block < 2; ++block) {
        text += "XiO Dose Volume Histogram\nP\nPlan\nS\n-\n4000\tbins\n2024-01-01\n-\n";
        std::vector<float>& bins = blocks.emplace_back();
        for (int i = 0; i < 4000; ++i) {
            char b[32];
            if (draw() % 5 == 0)
                std::snprintf(b, sizeof b, "%s", odd[draw() % std::size(odd)]);
            else
                std::snprintf(b, sizeof b, "%.4f", (draw() % 100000) / 1e4);
            text += std::to_string(i) + ", " + b + "\n";
            bins.push_back(std::strtof(b, nullptr));
        }
    }
    ParsedPlan plan;
    ASSERT_TRUE(ParseXiODvh(text, 60.0f, plan));
    for (std::size_t k = 0; k < blocks.size(); ++k) {
        const std::vector<float>& bins = blocks[k];
        const DVHDatasetClass& s = plan.DVHDataset.at(k);
        double total = 0;
        for (float b : bins) total += b;
        double remaining = total;
        for (std::size_t j = 0; j < bins.size(); ++j) {
            const float cc = static_cast<float>(RoundToDigits(remaining, 3));
            const float percent = total > 0 ? static_cast<float>(RoundToDigits(remaining * 100.0 / total, 3)) : 0.0f;
            ASSERT_TRUE(std::memcmp(&s.DVset[j].VolumeCc, &cc, 4) == 0 &&
                        std::memcmp(&s.DVset[j].VolumePercent, &percent, 4) == 0)
                << "block " << k << " point " << j;
            remaining -= bins[j];
        }
    }
}
