// Private-profile ini semantics over an in-memory list of lines.
#include "platform/IniFile.h"

#include "platform/OpenedFile.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <sys/stat.h>

namespace platform {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The UTF-8 byte order mark: at the very start of a file it marks the file, not its first line.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

char Fold(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Fold(a[i]) != Fold(b[i])) return false;
    return true;
}

// A hash of a name without regard to ASCII case, and of the section line a key belongs to.
std::uint32_t NameHash(std::uint32_t section, std::string_view name) {
    std::uint64_t h = 14695981039346656037ull;  // FNV-1a
    for (char c : name) h = (h ^ static_cast<unsigned char>(Fold(c))) * 1099511628211ull;
    h ^= section * 0x9E3779B97F4A7C15ull;
    // Every bit of name and section reaches the low bits that pick the slot.
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    return static_cast<std::uint32_t>(h);
}

// A value as a key line carries it. Readers trim values and drop one pair of enclosing quotes,
// so a value with a blank at either end, or one enclosed in quotes itself, is written in
// quotes: it then reads back exactly. Every other value is written as it is.
std::string ValueText(const std::string& value) {
    if (value.empty()) return value;
    const bool edgeBlank = IsBlank(value.front()) || IsBlank(value.back());
    const bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
    return edgeBlank || quoted ? '"' + value + '"' : value;
}

// A line break inside a name or value would split its line on the next read (and make keys
// of its own): written as a blank instead.
std::string OneLine(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c == '\r' || c == '\n') c = ' ';
    return out;
}

// A section or key name as it is stored and looked up: trimmed, a line break inside it a blank
// (see OneLine), so that the name in memory is the one a read of the saved file gives. `spill`
// holds the text when a line break had to go.
std::string_view NameOf(std::string_view name, std::string& spill) {
    name = Trim(name);
    // A plain loop: find_first_of would call memchr for every character of every lookup.
    if (std::none_of(name.begin(), name.end(), [](char c) { return c == '\r' || c == '\n'; })) return name;
    spill = OneLine(name);
    return Trim(spill);
}

}  // namespace

IniFile::LoadStatus IniFile::Load() {
    m_lines.clear();
    m_eol = "\r\n";
    m_loadProblem.clear();
    std::string text;
    OpenProblem problem = OpenProblem::None;
    if (!ReadWholeFile(m_path, text, std::size_t(1) << 31, &problem)) {
        // Tell a file that is not there from one we may not read: only the second must
        // never be written over as if it were empty.
        if (problem == OpenProblem::Missing) return LoadStatus::Missing;
        m_loadProblem = "it " + OpenProblemText(problem);
        return LoadStatus::Unreadable;
    }
    // UTF-16 text (a file saved by an editor's "Unicode") holds a zero byte beside every ASCII
    // one: read as 8-bit text it has no key at all, and a save would then empty it.
    const bool utf16 = text.size() >= 2 && (text.compare(0, 2, "\xFF\xFE") == 0 ||
                                             text.compare(0, 2, "\xFE\xFF") == 0 ||
                                             (text[0] == '\0') != (text[1] == '\0'));
    if (utf16) {
        m_loadProblem = "it is UTF-16 text; only 8-bit text can be read";
        return LoadStatus::Unreadable;
    }
    Parse(text);
    return LoadStatus::Ok;
}

void IniFile::Parse(std::string_view text) {
    m_lines.clear();
    m_eol = "\r\n";
    // A UTF-8 byte order mark is no part of the first line: left there, it would hide the first
    // section from every reader, and a save would then write that section a second time.
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) text.remove_prefix(kByteOrderMark.size());
    // Lines end with CR LF, LF or a CR alone; the file is written back with the first kind.
    const auto firstBreak = text.find_first_of("\r\n");
    if (firstBreak != std::string_view::npos && text[firstBreak] == '\n')
        m_eol = "\n";
    else if (firstBreak != std::string_view::npos &&
             (firstBreak + 1 == text.size() || text[firstBreak + 1] != '\n'))
        m_eol = "\r";
    // One allocation for the lines of a file with LF or CR LF ends, not one per doubling.
    m_lines.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    std::size_t pos = 0;
    while (pos < text.size()) {
        auto end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view raw = text.substr(pos, end - pos);
        pos = end + 1;
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++pos;

        Line line;
        line.raw = std::string(raw);
        const std::string_view t = Trim(raw);
        if (!t.empty() && t.front() == '[') {
            const auto close = t.find(']');
            line.kind = Line::Kind::Section;
            line.name = std::string(Trim(t.substr(1, close == std::string_view::npos
                                                          ? std::string_view::npos
                                                          : close - 1)));
        } else if (!t.empty() && t.front() != ';') {
            const auto eq = t.find('=');
            if (eq != std::string_view::npos) {
                line.kind = Line::Kind::Key;
                line.name = std::string(Trim(t.substr(0, eq)));
                std::string_view v = Trim(t.substr(eq + 1));
                if (v.size() >= 2 && v.front() == '"' && v.back() == '"')
                    v = v.substr(1, v.size() - 2);
                line.value = std::string(v);
            }
        }
        m_lines.push_back(std::move(line));
    }
    BuildIndex();
}

void IniFile::BuildIndex() {
    // Room for every entry at once: each section, and the keys of each section long enough to
    // have them indexed.
    std::size_t entries = 0;
    std::size_t sectionLine = kNone;
    std::size_t keys = 0;
    const auto closeSection = [&](std::size_t end) {
        if (sectionLine != kNone && end - sectionLine > kReadThrough + 1) entries += keys;
    };
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].kind == Line::Kind::Section) {
            closeSection(i);
            sectionLine = i;
            keys = 0;
            ++entries;
        } else {
            keys += m_lines[i].kind == Line::Kind::Key;
        }
    }
    closeSection(m_lines.size());
    m_slots.clear();
    m_slotsUsed = 0;
    ReserveSlots(entries);
    m_indexedSection = kNone;
    for (std::size_t i = 0; i < m_lines.size(); ++i) IndexLine(i);
}

void IniFile::ReserveSlots(std::size_t entries) {
    std::size_t size = 16;
    while (size < 2 * entries) size *= 2;
    if (size <= m_slots.size()) return;
    std::vector<Slot> old = std::move(m_slots);
    m_slots.assign(size, Slot{});
    const std::size_t mask = size - 1;
    for (const Slot& slot : old) {
        if (slot.line == kNone) continue;
        std::size_t i = slot.hash & mask;
        while (m_slots[i].line != kNone) i = (i + 1) & mask;
        m_slots[i] = slot;
    }
}

void IniFile::IndexLine(std::size_t i) {
    if (m_lines[i].kind == Line::Kind::Section) {
        // Only the first section of a name is ever read: the keys of later ones stay out.
        m_indexedSection = Remember(kNone, i) ? static_cast<std::uint32_t>(i) : kNone;
    } else {
        IndexGrownSection(i, i);
    }
}

void IniFile::IndexGrownSection(std::size_t last, std::size_t added) {
    if (m_indexedSection == kNone) return;
    const std::size_t section = m_indexedSection;
    const std::size_t span = last - section;
    if (span == kReadThrough + 1) {
        for (std::size_t i = section + 1; i <= last; ++i)
            if (m_lines[i].kind == Line::Kind::Key) Remember(m_indexedSection, i);
    } else if (span > kReadThrough + 1 && m_lines[added].kind == Line::Kind::Key) {
        Remember(m_indexedSection, added);
    }
}

std::size_t IniFile::Probe(std::uint32_t hash, std::uint32_t section, std::string_view name) const {
    const std::size_t mask = m_slots.size() - 1;
    std::size_t i = hash & mask;
    for (; m_slots[i].line != kNone; i = (i + 1) & mask) {
        const Slot& slot = m_slots[i];
        if (slot.hash == hash && slot.section == section && SameName(m_lines[slot.line].name, name))
            break;
    }
    return i;
}

long IniFile::IndexedLine(std::uint32_t section, std::string_view name) const {
    if (m_slots.empty()) return -1;
    const Slot& slot = m_slots[Probe(NameHash(section, name), section, name)];
    return slot.line == kNone ? -1 : static_cast<long>(slot.line);
}

bool IniFile::Remember(std::uint32_t section, std::size_t line) {
    ReserveSlots(m_slotsUsed + 1);
    const std::string_view name = m_lines[line].name;
    const std::uint32_t hash = NameHash(section, name);
    Slot& slot = m_slots[Probe(hash, section, name)];
    if (slot.line != kNone) return false;
    slot = Slot{hash, section, static_cast<std::uint32_t>(line)};
    ++m_slotsUsed;
    return true;
}

void IniFile::PushLine(Line line) {
    m_lines.push_back(std::move(line));
    IndexLine(m_lines.size() - 1);
}

std::string IniFile::Text() const {
    std::string out;
    for (const Line& line : m_lines) {
        switch (line.kind) {
            case Line::Kind::Section: out += '[' + line.name + ']'; break;
            case Line::Kind::Key: out += line.name + '=' + ValueText(line.value); break;
            case Line::Kind::Other: out += line.raw; break;
        }
        out += m_eol;
    }
    // The reader takes one mark at the start as the file's: a first line that begins with a mark
    // of its own (a second one, or a key's name after a blank) gets one in front, so that it
    // reads back with its mark.
    if (std::string_view(out).substr(0, kByteOrderMark.size()) == kByteOrderMark) out.insert(0, kByteOrderMark);
    return out;
}

WriteResult IniFile::Save(FileAccess access) const { return AtomicWriteFile(m_path, Text(), access); }

long IniFile::FindSection(std::string_view section) const {
    std::string spill;
    return IndexedLine(kNone, NameOf(section, spill));
}

std::size_t IniFile::SectionEnd(std::size_t sectionLine) const {
    std::size_t i = sectionLine + 1;
    while (i < m_lines.size() && m_lines[i].kind != Line::Kind::Section) ++i;
    return i;
}

long IniFile::FindKey(std::size_t sectionLine, std::string_view key) const {
    std::string spill;
    const std::string_view want = NameOf(key, spill);
    // A short section is read through; only a longer one has its keys in the index.
    const std::size_t end = std::min(m_lines.size(), sectionLine + 1 + kReadThrough);
    for (std::size_t i = sectionLine + 1; i < end; ++i) {
        if (m_lines[i].kind == Line::Kind::Section) return -1;
        if (m_lines[i].kind == Line::Kind::Key && SameName(m_lines[i].name, want))
            return static_cast<long>(i);
    }
    if (end == m_lines.size() || m_lines[end].kind == Line::Kind::Section) return -1;
    return IndexedLine(static_cast<std::uint32_t>(sectionLine), want);
}

const std::string* IniFile::FindValue(std::string_view section, std::string_view key) const {
    const long s = FindSection(section);
    if (s < 0) return nullptr;
    const long k = FindKey(static_cast<std::size_t>(s), key);
    return k < 0 ? nullptr : &m_lines[static_cast<std::size_t>(k)].value;
}

bool IniFile::SectionExists(std::string_view section) const { return FindSection(section) >= 0; }

bool IniFile::ValueExists(std::string_view section, std::string_view key) const {
    return FindValue(section, key) != nullptr;
}

std::vector<std::string> IniFile::ReadSection(std::string_view section) const {
    std::vector<std::string> keys;
    const long s = FindSection(section);
    if (s < 0) return keys;
    const std::size_t end = SectionEnd(static_cast<std::size_t>(s));
    for (std::size_t i = static_cast<std::size_t>(s) + 1; i < end; ++i)
        if (m_lines[i].kind == Line::Kind::Key) keys.push_back(m_lines[i].name);
    return keys;
}

std::vector<std::pair<std::string, std::string>> IniFile::ReadSectionValues(
    std::string_view section) const {
    std::vector<std::pair<std::string, std::string>> keys;
    const long s = FindSection(section);
    if (s < 0) return keys;
    const std::size_t end = SectionEnd(static_cast<std::size_t>(s));
    for (std::size_t i = static_cast<std::size_t>(s) + 1; i < end; ++i)
        if (m_lines[i].kind == Line::Kind::Key) keys.emplace_back(m_lines[i].name, m_lines[i].value);
    return keys;
}

std::vector<std::string> IniFile::ReadSections() const {
    std::vector<std::string> names;
    for (const Line& line : m_lines)
        if (line.kind == Line::Kind::Section) names.push_back(line.name);
    return names;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
    const std::string* v = FindValue(section, key);
    return v ? *v : std::string(defaultValue);
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
    const std::string* v = FindValue(section, key);
    int value = 0;
    return (v && ParseIniInteger(*v, value)) ? value : defaultValue;
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

double IniFile::ReadFloat(std::string_view section, std::string_view key,
                          double defaultValue) const {
    const std::string* v = FindValue(section, key);
    double value = 0;
    return (v && ParseIniFloat(*v, value)) ? value : defaultValue;
}

void IniFile::AppendSectionHead(std::string_view section) {
    // A new section goes at the end, after a blank line when the file has content.
    // (Written keys have no raw text, so test the kind, not only the text.)
    if (!m_lines.empty() &&
        !(m_lines.back().kind == Line::Kind::Other && Trim(m_lines.back().raw).empty()))
        PushLine(Line{});
    Line head;
    head.kind = Line::Kind::Section;
    std::string spill;
    head.name = NameOf(section, spill);
    PushLine(std::move(head));
}

void IniFile::WriteSectionKeys(std::string_view section,
                               const std::vector<std::pair<std::string, std::string>>& keys) {
    if (FindSection(section) >= 0) {
        for (const auto& [key, value] : keys) WriteString(section, key, value);
        return;
    }
    // A section that is not there yet takes all its keys at once: no search per key, so a
    // large section is written in linear time.
    AppendSectionHead(section);
    m_lines.reserve(m_lines.size() + keys.size());
    if (keys.size() > kReadThrough) ReserveSlots(m_slotsUsed + keys.size());
    for (const auto& [key, value] : keys) {
        Line line;
        line.kind = Line::Kind::Key;
        std::string spill;
        line.name = NameOf(key, spill);
        line.value = OneLine(value);
        PushLine(std::move(line));
    }
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    Line line;
    line.kind = Line::Kind::Key;
    std::string spill;
    line.name = NameOf(key, spill);
    line.value = OneLine(value);
    long s = FindSection(section);
    if (s < 0) {
        AppendSectionHead(section);
        PushLine(std::move(line));
        return;
    }
    const long k = FindKey(static_cast<std::size_t>(s), key);
    if (k >= 0) {
        m_lines[static_cast<std::size_t>(k)].value = std::move(line.value);
        return;
    }
    // Append after the section's last key or non-blank line, before trailing blank lines.
    const std::size_t end = SectionEnd(static_cast<std::size_t>(s));
    std::size_t insertAt = end;
    while (insertAt > static_cast<std::size_t>(s) + 1 &&
           m_lines[insertAt - 1].kind == Line::Kind::Other &&
           Trim(m_lines[insertAt - 1].raw).empty())
        --insertAt;
    // In the last section only blank lines move down; anywhere else later sections move too.
    const bool lastSection = end == m_lines.size();
    m_lines.insert(m_lines.begin() + static_cast<long>(insertAt), std::move(line));
    if (lastSection)
        IndexGrownSection(m_lines.size() - 1, insertAt);
    else
        BuildIndex();
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void IniFile::WriteFloat(std::string_view section, std::string_view key, double value) {
    WriteString(section, key, FormatIniFloat(value));
}

void IniFile::EraseSection(std::string_view section) { EraseSections({std::string(section)}); }

void IniFile::EraseSections(const std::vector<std::string>& sections) {
    // Every section of each name goes, with its keys, as the profile functions erase it. The
    // index gives each name's first section, and any later section of a name leads back to it.
    std::vector<char> erased(m_lines.size(), 0);  // by the line of a name's first section
    bool any = false;
    for (const std::string& section : sections) {
        const long s = FindSection(section);
        if (s >= 0) erased[static_cast<std::size_t>(s)] = any = true;
    }
    if (!any) return;
    std::vector<char> keep(m_lines.size(), 1);
    bool erasing = false;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].kind == Line::Kind::Section) {
            // Every stored name leads to a first section; should one not, its section stays.
            const long first = FindSection(m_lines[i].name);
            erasing = first >= 0 && erased[static_cast<std::size_t>(first)];
        }
        keep[i] = !erasing;
    }
    std::vector<Line> kept;
    kept.reserve(m_lines.size());
    for (std::size_t i = 0; i < m_lines.size(); ++i)
        if (keep[i]) kept.push_back(std::move(m_lines[i]));
    m_lines = std::move(kept);
    BuildIndex();
}

void IniFile::DeleteKey(std::string_view section, std::string_view key) {
    const long s = FindSection(section);
    if (s < 0) return;
    const long k = FindKey(static_cast<std::size_t>(s), key);
    if (k < 0) return;
    m_lines.erase(m_lines.begin() + k);
    BuildIndex();
}

std::string FormatIniFloat(double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15G", value);
    std::string s(buf);
    // "1.5E-05" -> "1.5E-5", "1E+20" -> "1E20", as the classic float-to-text conversion writes.
    const auto e = s.find('E');
    if (e != std::string::npos) {
        std::string mantissa = s.substr(0, e);
        std::string exponent = s.substr(e + 1);
        bool negative = !exponent.empty() && exponent[0] == '-';
        if (!exponent.empty() && (exponent[0] == '-' || exponent[0] == '+')) exponent.erase(0, 1);
        while (exponent.size() > 1 && exponent[0] == '0') exponent.erase(0, 1);
        s = mantissa + "E" + (negative ? "-" : "") + exponent;
    }
    if (s == "-0") s = "0";
    return s;
}

std::vector<std::string> NumberedSections(const IniFile& ini, std::string_view countSection,
                                          std::string_view prefix) {
    // ReadInteger gives -1 alike for an absent count, junk and one beyond the int range.
    const int count = ini.ReadInteger(countSection, "Count", -1);
    std::vector<std::string> sections = ini.ReadSections();
    std::vector<std::pair<std::uint64_t, std::size_t>> found;  // number, place in `sections`
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const std::string_view name = sections[i];
        if (name.size() <= prefix.size() || !SameName(name.substr(0, prefix.size()), prefix)) continue;
        const std::string_view digits = name.substr(prefix.size());
        // Only the form a save writes: "List01" is another section than "List1", not its twin.
        if (digits.size() > 1 && digits[0] == '0') continue;
        std::uint64_t n = 0;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
        if (ec != std::errc() || end != digits.data() + digits.size()) continue;
        if (count >= 0 && n >= static_cast<std::uint64_t>(count)) continue;
        found.emplace_back(n, i);
    }
    // By number, then by place: of a number written twice the first section, the one read, is kept.
    if (!std::is_sorted(found.begin(), found.end())) std::sort(found.begin(), found.end());
    std::vector<std::string> names;
    names.reserve(found.size());
    for (std::size_t i = 0; i < found.size(); ++i)
        if (i == 0 || found[i].first != found[i - 1].first) names.push_back(std::move(sections[found[i].second]));
    return names;
}

void WriteNumberedSections(IniFile& ini, std::string_view countSection, std::string_view prefix,
                           const std::vector<IniKeys>& entries, bool freshCountSection) {
    // All at once, in one pass however many: what was read, and what is about to be written.
    std::vector<std::string> erased = NumberedSections(ini, countSection, prefix);
    const std::size_t old = erased.size();
    for (std::size_t i = 0; i < entries.size(); ++i) erased.push_back(std::string(prefix) + std::to_string(i));
    if (freshCountSection) erased.emplace_back(countSection);
    ini.EraseSections(erased);
    ini.WriteString(countSection, "Count", std::to_string(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) ini.WriteSectionKeys(erased[old + i], entries[i]);
}

bool ParseIniInteger(std::string_view text, int& value) {
    std::string_view t = Trim(text);
    bool negative = false;
    if (!t.empty() && (t[0] == '-' || t[0] == '+')) {
        negative = t[0] == '-';
        t.remove_prefix(1);
    }
    int base = 10;
    if (t.size() > 1 && t[0] == '$') {
        base = 16;
        t.remove_prefix(1);
    } else if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
        base = 16;
        t.remove_prefix(2);
    }
    if (t.empty()) return false;
    long long magnitude = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), magnitude, base);
    if (ec != std::errc() || end != t.data() + t.size()) return false;
    const long long v = negative ? -magnitude : magnitude;
    if (base == 16 && !negative && v <= 0xFFFFFFFFLL) {
        value = static_cast<int>(static_cast<unsigned>(v));  // "$FFFFFFFF" reads as -1
        return true;
    }
    if (v < INT32_MIN || v > INT32_MAX) return false;
    value = static_cast<int>(v);
    return true;
}

bool ParseIniFloat(std::string_view text, double& value) {
    std::string_view t = Trim(text);
    if (!t.empty() && t[0] == '+') t.remove_prefix(1);
    if (t.empty()) return false;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    return ec == std::errc() && end == t.data() + t.size();
}

}  // namespace platform
