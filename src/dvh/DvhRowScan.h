// The fast way through a DVH table: a row of plain decimals read straight from the buffer in
// one pass, line end included. A scanner accepts only rows whose every byte it understands and
// declines anything else (a '+', inner blanks, a short row, a number too long for an exact
// mantissa, junk), which the line-by-line way then reads; so both ways give the same numbers,
// errors and line numbers.
#pragma once

#include "dvh/DvhLineFields.h"
#include "dvh/LineCursor.h"
#include "dvh/Records.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace dvhrows {

/// The furthest from a row's start that a column scanner looks for a number's first digit.
inline constexpr std::ptrdiff_t kReach = 112;
/// Bytes a scanner may read from a row's start; a row with fewer readable bytes after its start
/// goes the line-by-line way.
inline constexpr std::ptrdiff_t kWindow = kReach + 64;

/// Reads a plain decimal at `p` and moves `p` past it: an optional '-', 1 to 7 digits, an
/// optional point with up to 15 digits, an optional exponent of 1 to 3 digits ("e-005").
/// The digits make an integer below 2^53 and the power of ten is at most 10^22, both exact
/// doubles, so the one division or multiplication rounds the text's value correctly, as the
/// library does. False (nothing moved) for any other form. Reads at most 40 bytes from `p`.
[[gnu::always_inline]] inline bool PlainDecimal(const char*& p, double& out) {
    using dvhtext::detail::DigitsValue;
    using dvhtext::detail::LeadingDigits;
    const char* q = p;
    const bool negative = *q == '-';
    q += negative;
    // The whole part is short (doses, percentages): digit by digit is quickest, unrolled so
    // that each length ends at its own branch and the number's end is known without waiting.
    std::uint64_t mantissa = static_cast<unsigned>(*q - '0');
    if (mantissa >= 10) return false;
    int k1 = 1;
#pragma GCC unroll 8
    for (; k1 < 8; ++k1) {
        const unsigned d = static_cast<unsigned>(q[k1] - '0');
        if (d >= 10) break;
        mantissa = mantissa * 10 + d;
    }
    if (k1 == 8) return false;
    q += k1;
    std::uint64_t w;
    int exponent = 0;
    if (*q == '.') {
        std::memcpy(&w, q + 1, 8);
        const int k2 = LeadingDigits(w);
        if (k2 == 0) return false;
        mantissa = mantissa * dvhtext::kPow10Int[k2] + DigitsValue(w, k2);
        q += 1 + k2;
        exponent = -k2;
        if (k2 == 8) {
            // Small values carry long fractions ("0.000128205"): eight digits more at most.
            std::memcpy(&w, q, 8);
            const int k3 = LeadingDigits(w);
            if (k3 == 8 || k1 + 8 + k3 > 19) return false;  // 19 digits still fit 64 bits
            if (k3) {
                mantissa = mantissa * dvhtext::kPow10Int[k3] + DigitsValue(w, k3);
                q += k3;
                exponent -= k3;
            }
            if (mantissa > (std::uint64_t(1) << 53)) return false;
        }
    }
    if ((*q | 0x20) == 'e') {
        const char* e = q + 1;
        const bool negativeExp = *e == '-';
        e += *e == '-' || *e == '+';
        int value = 0, n = 0;
        for (; n < 4 && static_cast<unsigned>(e[n] - '0') < 10; ++n) value = value * 10 + (e[n] - '0');
        if (n == 0 || n == 4) return false;
        exponent += negativeExp ? -value : value;
        q = e + n;
    }
    if (exponent < -22 || exponent > 22) {
        // Tiny or huge values ("9.99117e-18") are rare: the library reads them.
        const auto [end, error] = std::from_chars(p, q, out);
        if (error != std::errc() || end != q || !std::isfinite(out)) return false;
        p = q;
        return true;
    }
    double v = static_cast<double>(mantissa);
    if (exponent < 0)
        v /= dvhtext::kPow10[-exponent];
    else if (exponent > 0)
        v *= dvhtext::kPow10[exponent];
    out = negative ? -v : v;
    p = q;
    return true;
}

/// The start of the next line when `p` stands at "\n" or "\r\n", else null.
[[gnu::always_inline]] inline const char* LineEnd(const char* p) {
    if (p[0] == '\n') return p + 1;
    if (p[0] == '\r' && p[1] == '\n') return p + 2;
    return nullptr;
}

/// `TabRow` number by number: each number starts where the one before it ended.
template <int N>
[[gnu::always_inline]] inline const char* TabRowInTurn(const char* row, double (&v)[N]) {
    const char* q = row;
    for (int i = 0; i < N; ++i) {
        if (!PlainDecimal(q, v[i])) return nullptr;
        if (i + 1 < N) {
            if (*q != '\t') return nullptr;
            ++q;
        }
    }
    return LineEnd(q);
}

/// A row of `N` plain decimals separated by single TABs. Returns the start of the next line, or
/// null to decline. At least `kWindow` bytes from `row` must be readable.
template <int N>
[[gnu::always_inline]] inline const char* TabRow(const char* row, double (&v)[N]) {
#if defined(__SSE2__)
    // Where the TABs of the row's first 32 bytes stand is known at once, so every number is
    // read from its own start, side by side, instead of each waiting for the one before it.
    // Each must then end exactly at its TAB, which takes the same rows as reading in turn.
    const __m128i tab = _mm_set1_epi8('\t');
    unsigned tabs = static_cast<unsigned>(_mm_movemask_epi8(
                        _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row)), tab))) |
                    static_cast<unsigned>(_mm_movemask_epi8(
                        _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 16)), tab)))
                        << 16;
    const char* start[N];
    const char* stop[N];
    start[0] = row;
    for (int i = 0; i + 1 < N; ++i) {
        if (tabs == 0) return TabRowInTurn<N>(row, v);  // a long row: its TABs lie further on
        stop[i] = row + __builtin_ctz(tabs);
        start[i + 1] = stop[i] + 1;
        tabs &= tabs - 1;
    }
    bool taken = true;
#pragma GCC unroll 4
    for (int i = 0; i < N; ++i) {
        const char* q = start[i];
        taken &= PlainDecimal(q, v[i]);
        if (i + 1 < N)
            taken &= q == stop[i];
        else
            stop[i] = q;
    }
    return taken ? LineEnd(stop[N - 1]) : nullptr;
#else
    return TabRowInTurn<N>(row, v);
#endif
}

/// The first byte from `q` on that is no space, or null when it lies beyond `kReach` from `row`.
/// Columns are mostly padding: spaces are passed sixteen (or eight) at a time.
[[gnu::always_inline]] inline const char* SkipSpaces(const char* q, const char* row) {
    for (;;) {
        if (q - row > kReach) return nullptr;
#if defined(__SSE2__)
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q));
        const unsigned other =
            ~static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(' ')))) & 0xFFFFu;
        if (other) return q + __builtin_ctz(other);
        q += 16;
#else
        std::uint64_t w;
        std::memcpy(&w, q, 8);
        if (const std::uint64_t other = w ^ 0x2020202020202020ull) return q + (__builtin_ctzll(other) >> 3);
        q += 8;
#endif
    }
}

/// A row of `N` fixed columns, each a plain decimal after spaces and ending exactly where its
/// column ends (`ends`: the 0-based ends of all columns but the last, which ends the line).
/// Returns the start of the next line, or null to decline. At least `kWindow` bytes from `row`
/// must be readable.
template <int N>
[[gnu::always_inline]] inline const char* ColumnRow(const char* row, const int* ends, double (&v)[N]) {
    // A taken number ends where its column ends, so each column after the first is read from
    // its known start, side by side with the others, and the ends are checked afterwards.
    bool taken = true;
    const char* last = row;
#pragma GCC unroll 4
    for (int i = 0; i < N; ++i) {
        const char* q = SkipSpaces(i == 0 ? row : row + ends[i - 1], row);
        if (!q) return nullptr;
        taken &= PlainDecimal(q, v[i]);
        if (i + 1 < N)
            taken &= q == row + ends[i];
        else
            last = q;
    }
    return taken ? LineEnd(last) : nullptr;
}

/// The line feeds of a buffer, found 64 bytes at a time: where a row begins is then known
/// without waiting for the row before it to be parsed, so rows overlap in the processor.
class LineFeeds {
public:
    /// LFs from `from` on; `end - from` must be at least 64.
    LineFeeds(const char* from, const char* end) : m_base(from), m_end(end), m_mask(Mask(from)) {}

    /// The next LF, or null when finding it would need bytes at or past `end`.
    const char* Next() {
        while (m_mask == 0) {
            m_base += 64;
            if (m_end - m_base < 64) return nullptr;
            m_mask = Mask(m_base);
        }
        const char* lf = m_base + __builtin_ctzll(m_mask);
        m_mask &= m_mask - 1;
        return lf;
    }

private:
    /// Bit i is set when byte i of the 64 from `p` is an LF.
    static std::uint64_t Mask(const char* p) {
        std::uint64_t mask = 0;
#if defined(__SSE2__)
        const __m128i lf = _mm_set1_epi8('\n');
        for (int i = 0; i < 4; ++i) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
            mask |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lf))))
                    << (16 * i);
        }
#else
        for (int i = 0; i < 64; ++i) mask |= static_cast<std::uint64_t>(p[i] == '\n') << i;
#endif
        return mask;
    }

    const char* m_base;
    const char* m_end;
    std::uint64_t m_mask;
};

/// The start of the first empty line (nothing but its line end) after a line end in
/// `[from, limit)`, or `limit` when there is none. Reads up to 16 bytes past `limit`.
inline const char* EmptyLineAfter(const char* from, const char* limit) {
    const char* p = from;
#if defined(__SSE2__)
    // A line feed followed by a line feed or a carriage return: sixteen places at a time.
    for (; p + 16 <= limit; p += 16) {
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
        const __m128i lf = _mm_cmpeq_epi8(here, _mm_set1_epi8('\n'));
        const __m128i end =
            _mm_or_si128(_mm_cmpeq_epi8(next, _mm_set1_epi8('\n')), _mm_cmpeq_epi8(next, _mm_set1_epi8('\r')));
        if (const unsigned m = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(lf, end))))
            return p + __builtin_ctz(m) + 1;
    }
#endif
    for (; p < limit; ++p)
        if (p[0] == '\n' && (p[1] == '\n' || p[1] == '\r')) return p + 1;
    return limit;
}

/// The rows that start in `[row, limit)` the fast way, as `FastRows` takes them but from plain
/// bytes: `scan` as there, `make(v, point)` makes a row's point (false for a value out of
/// range), and the points are appended to `points`. Stops at `limit`, at the first row
/// declined and before a row whose point `make` refused, which the cursor's way then reads
/// again and reports. `kWindow` bytes from every row start before `limit` must be readable,
/// and `end` is where the readable bytes end. Returns where it stopped; `rows` counts the rows.
template <int N, class Scan, class Make>
[[gnu::always_inline]] inline const char* RowsInRange(const char* row, const char* limit, const char* end, Scan scan,
                                                      Make make, std::vector<DVsetClass>& points, long& rows) {
    rows = 0;
    if (end - row < 64) return row;
    // Counted and appended here and handed over once: `rows` and `points` may share a cache
    // line with another thread's, which every row would otherwise pull over.
    long taken = 0;
    std::vector<DVsetClass> here = std::move(points);
    LineFeeds feeds(row, end);
    while (row < limit && end - row >= kWindow) {
        const char* lf = feeds.Next();
        if (!lf) break;
        double v[N];
        if (scan(row, v) != lf + 1) break;
        DVsetClass point;
        if (!make(v, point)) break;
        here.push_back(point);
        row = lf + 1;
        ++taken;
    }
    points = std::move(here);
    rows = taken;
    return row;
}

/// Takes table rows from `lines` the fast way: `scan(row, v)` reads a row's `N` numbers and
/// returns the start of the next line (null to decline), `take(v)` keeps them (false for a
/// value out of range). Stops at the first row declined, near the end of the bytes the cursor
/// holds, or after a row `take` refused (that row counts as read: its line number is the
/// cursor's). Returns false only in that last case.
template <int N, class Scan, class Take>
[[gnu::always_inline]] inline bool FastRows(LineCursor& lines, Scan scan, Take take) {
    const char* row = lines.Position();
    const char* const end = lines.ReadableEnd();
    if (end - row < kWindow) return true;
    LineFeeds feeds(row, end);
    // The rows taken are handed to the cursor once, when the run stops.
    long taken = 0;
    bool kept = true;
    while (end - row >= kWindow) {
        const char* lf = feeds.Next();
        if (!lf) break;
        double v[N];
        if (scan(row, v) != lf + 1) break;
        row = lf + 1;
        ++taken;
        if (!take(v)) {
            kept = false;
            break;
        }
    }
    lines.Skip(row, taken);
    return kept;
}

/// Bytes past a row's line feed that a `FastLines` scanner may read (a number begun before the
/// line feed is read at most 40 bytes on).
inline constexpr std::ptrdiff_t kLineTail = 64;

/// `FastRows` for rows of any length and at most `limit` of them: `scan(row, lf)` reads the row
/// from `row` to its line feed `lf` (and may read up to `kLineTail` bytes past it) and says
/// whether it takes the row, `take()` keeps what it read (false for a value out of range). A
/// row longer than the cursor takes is left to the cursor, which refuses it. Stops and returns
/// as `FastRows`.
template <class Scan, class Take>
[[gnu::always_inline]] inline bool FastLines(LineCursor& lines, long limit, Scan scan, Take take) {
    const char* row = lines.Position();
    const char* const end = lines.ReadableEnd();
    if (limit <= 0 || end - row < kLineTail) return true;
    LineFeeds feeds(row, end);
    long taken = 0;
    bool kept = true;
    while (taken < limit) {
        const char* lf = feeds.Next();
        if (!lf || end - lf < kLineTail || static_cast<std::size_t>(lf - row) > LineCursor::kMaxLineBytes) break;
        if (!scan(row, lf)) break;
        row = lf + 1;
        ++taken;
        if (!take()) {
            kept = false;
            break;
        }
    }
    lines.Skip(row, taken);
    return kept;
}

}  // namespace dvhrows
