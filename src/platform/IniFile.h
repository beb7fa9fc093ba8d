// Ini files with the behaviour of the classic private-profile functions, held in memory
// and saved atomically.
#pragma once

#include "platform/AtomicWrite.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

/// An ini file: "[Section]" lines and "key=value" lines.
///
/// Reading follows the private-profile rules that settings and plan-list files rely on:
/// section and key names compare without regard to ASCII case, the first matching section
/// and key win, names and values are trimmed of spaces and tabs, a value wrapped in one pair
/// of double quotes loses them, and a missing key gives the caller's default.
/// Writing replaces the value of the first matching key, or appends the key at the end of the
/// first matching section, or appends a new section at the end of the file. A value with a
/// blank at either end, or enclosed in quotes, is saved in quotes so that it reads back the
/// same. Lines the class does not understand (comments, junk) are kept as they are.
///
/// Nothing touches the disk until `Save`, which replaces the file atomically. A lookup costs no
/// scan of the file: where each section and key stands is indexed once per read.
class IniFile {
public:
    enum class LoadStatus { Ok, Missing, Unreadable };

    IniFile() = default;
    explicit IniFile(std::string path) : m_path(std::move(path)) {}

    /// Reads the file at the path given on construction. A missing file gives an empty ini
    /// (status Missing); one that exists but cannot be read also gives an empty ini, with
    /// status Unreadable, so that callers can refuse to write over it.
    LoadStatus Load();
    /// Why the last `Load` found the file unreadable ("it is a folder, not a file", ...).
    const std::string& LoadProblem() const { return m_loadProblem; }
    /// Replaces the content by the text of an ini file (both CR LF and LF end a line).
    void Parse(std::string_view text);
    /// The file's text as `Save` writes it.
    std::string Text() const;
    /// Writes the file atomically. A failure leaves the old file whole.
    WriteResult Save(FileAccess access = FileAccess::Keep) const;

    const std::string& Path() const { return m_path; }

    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;
    /// Key names of a section, in file order (the first section of that name).
    std::vector<std::string> ReadSection(std::string_view section) const;
    /// Names of all sections, in file order.
    std::vector<std::string> ReadSections() const;
    /// Key names and values of a section, in file order (the first section of that name), for
    /// readers of large sections that look every key up once.
    std::vector<std::pair<std::string, std::string>> ReadSectionValues(
        std::string_view section) const;

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    /// Decimal, or hexadecimal with "0x" or "$"; anything else gives the default.
    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
    /// Read as an integer: any value other than 0 is true.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
    /// A decimal number with "." as separator; an empty value or junk gives the default.
    double ReadFloat(std::string_view section, std::string_view key, double defaultValue) const;

    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    /// "1" for true, "0" for false.
    void WriteBool(std::string_view section, std::string_view key, bool value);
    /// The value widened to double and written with 15 significant digits: 0.1f as
    /// 0.100000001490116, 95 as 95.
    void WriteFloat(std::string_view section, std::string_view key, double value);

    /// Writes `keys` (distinct names) into `section` in their order, as that many WriteString
    /// calls would, but in one pass when the section does not exist yet.
    void WriteSectionKeys(std::string_view section,
                          const std::vector<std::pair<std::string, std::string>>& keys);

    void EraseSection(std::string_view section);
    /// Erases every section named in `sections` in one pass over the file.
    void EraseSections(const std::vector<std::string>& sections);
    void DeleteKey(std::string_view section, std::string_view key);

private:
    struct Line {
        enum class Kind { Section, Key, Other } kind = Kind::Other;
        std::string name;   // section or key name, trimmed
        std::string value;  // key value as written (trimmed)
        std::string raw;    // the original text, for lines kept as they were
    };

    // One entry of the index: the line of a section (`section` kNone) or of a key in the
    // section that starts at line `section`, with the hash of its name. Line numbers fit 32 bits,
    // since files are read up to 2 GiB.
    static constexpr std::uint32_t kNone = UINT32_MAX;
    struct Slot {
        std::uint32_t hash = 0;
        std::uint32_t section = kNone;
        std::uint32_t line = kNone;  // kNone: the slot is free
    };

    // Appends a section header at the end of the file, after a blank line if needed.
    void AppendSectionHead(std::string_view section);
    // Appends a line at the end of the file.
    void PushLine(Line line);
    // Index of the first section line named `section`, or -1.
    long FindSection(std::string_view section) const;
    // End of the section that starts at `sectionLine` (index of the next section line or size).
    std::size_t SectionEnd(std::size_t sectionLine) const;
    // Index of the first key line `key` in the first section of its name, which starts at
    // `sectionLine`, or -1.
    long FindKey(std::size_t sectionLine, std::string_view key) const;
    const std::string* FindValue(std::string_view section, std::string_view key) const;
    // Indexes every line anew: after a change that moved lines, as after a read.
    void BuildIndex();
    // Indexes line `i`, which follows every line indexed so far.
    void IndexLine(std::size_t i);
    // The indexed section that ends the file now reaches line `last`, having gained line `added`:
    // once longer than kReadThrough lines its keys join the index.
    void IndexGrownSection(std::size_t last, std::size_t added);
    // The line of the first section named `name` (`section` kNone), or of the first key named
    // `name` in the section that starts at line `section`; -1 when there is none.
    long IndexedLine(std::uint32_t section, std::string_view name) const;
    // The slot that holds the entry of `name` under `section`, or the free one where it would go.
    std::size_t Probe(std::uint32_t hash, std::uint32_t section, std::string_view name) const;
    // Enters `line` under `section` unless an entry of its name is there (the first one wins);
    // true when entered.
    bool Remember(std::uint32_t section, std::size_t line);
    // Makes room for `entries` entries in all, keeping those there.
    void ReserveSlots(std::size_t entries);

    std::string m_path;
    std::vector<Line> m_lines;
    std::string m_eol = "\r\n";
    std::string m_loadProblem;
    // Open addressing with linear probing: a power of two of slots, at most half of them used.
    // It holds the first section of each name, the only one ever read, and the keys of such a
    // section when it spans more than kReadThrough lines: a shorter one is read through from
    // its head, which costs less than a look far off in memory. Every write keeps it true.
    static constexpr std::size_t kReadThrough = 16;
    std::vector<Slot> m_slots;
    std::size_t m_slotsUsed = 0;
    // The indexed section that the last line belongs to; kNone before the first section, or
    // in a later section of a name already indexed.
    std::uint32_t m_indexedSection = kNone;
};

/// 15 significant digits, shortest form, "." as separator: the float text of ini files.
std::string FormatIniFloat(double value);
/// The keys of one section, in the order they are written.
using IniKeys = std::vector<std::pair<std::string, std::string>>;
/// The sections named `prefix` + a number present in `ini`, in number order: a number is plain
/// decimal digits ("List1"; not "List01", "List+1" or "List 1"), the prefix compares without
/// regard to case, and a number written twice counts once, as its first section (the one read).
/// Only numbers below integer "Count" of section `countSection` are taken where that is a
/// number of 0 or more; every one otherwise, so that the entries an absent, negative or junk
/// count stands for are read and a save writes them back rather than over them. A gap in the
/// numbers loses nothing. One pass over the file's sections, then a sort of those taken.
std::vector<std::string> NumberedSections(const IniFile& ini, std::string_view countSection,
                                          std::string_view prefix);
/// Writes `entries` back as sections `prefix` + 0, 1, ... and their number as "Count" of
/// `countSection`. Every section `NumberedSections` finds is erased first, with those about to be
/// written, so that no entry read is left behind to be read again. With `freshCountSection` the
/// count section is erased too and written anew before the entries; otherwise "Count" is written
/// in place.
void WriteNumberedSections(IniFile& ini, std::string_view countSection, std::string_view prefix,
                           const std::vector<IniKeys>& entries, bool freshCountSection);
/// Parses a whole string as an integer the way ini files are read; false if it is not one.
bool ParseIniInteger(std::string_view text, int& value);
/// Parses a whole string as a decimal number ("." separator, surrounding spaces allowed).
bool ParseIniFloat(std::string_view text, double& value);

}  // namespace platform
