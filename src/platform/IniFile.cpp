// Private-profile ini semantics over an in-memory list of lines.
#include "platform/IniFile.h"

#include <charconv>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <sys/stat.h>

namespace platform {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

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
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    // Lines end with CR LF, LF or a CR alone; the file is written back with the first kind.
    const auto firstBreak = text.find_first_of("\r\n");
    if (firstBreak != std::string_view::npos && text[firstBreak] == '\n')
        m_eol = "\n";
    else if (firstBreak != std::string_view::npos &&
             (firstBreak + 1 == text.size() || text[firstBreak + 1] != '\n'))
        m_eol = "\r";
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
    return out;
}

WriteResult IniFile::Save(FileAccess access) const { return AtomicWriteFile(m_path, Text(), access); }

long IniFile::FindSection(std::string_view section) const {
    const std::string_view want = Trim(section);
    for (std::size_t i = 0; i < m_lines.size(); ++i)
        if (m_lines[i].kind == Line::Kind::Section && SameName(m_lines[i].name, want))
            return static_cast<long>(i);
    return -1;
}

std::size_t IniFile::SectionEnd(std::size_t sectionLine) const {
    std::size_t i = sectionLine + 1;
    while (i < m_lines.size() && m_lines[i].kind != Line::Kind::Section) ++i;
    return i;
}

long IniFile::FindKey(std::size_t sectionLine, std::string_view key) const {
    const std::string_view want = Trim(key);
    const std::size_t end = SectionEnd(sectionLine);
    for (std::size_t i = sectionLine + 1; i < end; ++i)
        if (m_lines[i].kind == Line::Kind::Key && SameName(m_lines[i].name, want))
            return static_cast<long>(i);
    return -1;
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
        m_lines.push_back(Line{});
    Line head;
    head.kind = Line::Kind::Section;
    head.name = OneLine(Trim(section));
    m_lines.push_back(std::move(head));
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
    for (const auto& [key, value] : keys) {
        Line line;
        line.kind = Line::Kind::Key;
        line.name = OneLine(Trim(key));
        line.value = OneLine(value);
        m_lines.push_back(std::move(line));
    }
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    Line line;
    line.kind = Line::Kind::Key;
    line.name = OneLine(Trim(key));
    line.value = OneLine(value);
    long s = FindSection(section);
    if (s < 0) {
        AppendSectionHead(section);
        m_lines.push_back(std::move(line));
        return;
    }
    const long k = FindKey(static_cast<std::size_t>(s), key);
    if (k >= 0) {
        m_lines[static_cast<std::size_t>(k)].value = std::move(line.value);
        return;
    }
    // Append after the section's last key or non-blank line, before trailing blank lines.
    std::size_t insertAt = SectionEnd(static_cast<std::size_t>(s));
    while (insertAt > static_cast<std::size_t>(s) + 1 &&
           m_lines[insertAt - 1].kind == Line::Kind::Other &&
           Trim(m_lines[insertAt - 1].raw).empty())
        --insertAt;
    m_lines.insert(m_lines.begin() + static_cast<long>(insertAt), std::move(line));
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

void IniFile::EraseSection(std::string_view section) {
    // Every section of that name goes, with its keys, as the profile functions erase it.
    for (long s = FindSection(section); s >= 0; s = FindSection(section)) {
        std::size_t end = SectionEnd(static_cast<std::size_t>(s));
        m_lines.erase(m_lines.begin() + s, m_lines.begin() + static_cast<long>(end));
    }
}

void IniFile::DeleteKey(std::string_view section, std::string_view key) {
    const long s = FindSection(section);
    if (s < 0) return;
    const long k = FindKey(static_cast<std::size_t>(s), key);
    if (k >= 0) m_lines.erase(m_lines.begin() + k);
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
