// Reading and writing plan-list files with the profile semantics of the ini component.
#include "planlist/PlanListFile.h"

#include "platform/Paths.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <unordered_map>
#include <vector>

namespace {

const char* const kStructureDB = "StructureDB";
const char* const kSNameDB = "SNameDB";
const char* const kListIndex = "ListIndex";

std::string FoldKey(std::string_view key) {
    std::string folded(key);
    for (char& c : folded)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return folded;
}

// One section's keys looked up by name, ignoring case, the first key of a name winning: the
// same answers as the ini component's own readers, without a scan of the file per key.
class SectionKeys {
public:
    SectionKeys(const platform::IniFile& ini, std::string_view section) {
        auto keys = ini.ReadSectionValues(section);
        m_values.reserve(keys.size());
        for (auto& [key, value] : keys) {
            if (const int n = EntryNumber(key); n > 0) m_numbers.push_back(n);
            m_values.emplace(FoldKey(key), std::move(value));
        }
        m_keyCount = keys.size();
    }

    std::string Text(const std::string& key) const {
        const std::string* v = Find(key);
        return v ? *v : std::string("0");
    }
    int Integer(const std::string& key) const {
        const std::string* v = Find(key);
        int value = 0;
        return (v && platform::ParseIniInteger(*v, value)) ? value : 0;
    }
    bool Bool(const std::string& key) const { return Integer(key) != 0; }
    unsigned char Byte(const std::string& key) const {
        return static_cast<unsigned char>(Integer(key) & 255);
    }
    /// A 32-bit float; text that is no number, or one no 32-bit float can hold, reads as 0.
    /// Lists saved on a computer whose locale writes a decimal comma ("52,25") read as well.
    float Float(const std::string& key) const {
        const std::string* v = Find(key);
        double value = 0;
        if (!v || !ParseDecimal(*v, value) || !std::isfinite(value) || std::fabs(value) > FLT_MAX)
            return 0.0f;
        return static_cast<float>(value);
    }

    /// Entries to read for this section's "Count": none for 0 or less, and up to the highest
    /// entry number within the count that has a key, so a count above the entries invents
    /// none. Entries without keys below it read their defaults, but only so many that memory
    /// stays in proportion to the file: a written entry has six keys or more, and a file
    /// naming entry 999999999 alone must not make a billion.
    int Entries() const {
        const int count = Integer("Count");
        if (count <= 0) return 0;
        const std::size_t bound = 16 * m_keyCount + 64;
        const int limit = static_cast<std::size_t>(count) > bound ? static_cast<int>(bound) : count;
        int entries = 0;
        for (int n : m_numbers)
            if (n <= limit) entries = std::max(entries, n);
        return entries;
    }

private:
    static bool ParseDecimal(const std::string& text, double& value) {
        if (platform::ParseIniFloat(text, value)) return true;
        const std::size_t comma = text.find(',');
        if (comma == std::string::npos || text.find(',', comma + 1) != std::string::npos ||
            text.find('.') != std::string::npos)
            return false;
        std::string withPoint = text;
        withPoint[comma] = '.';
        return platform::ParseIniFloat(withPoint, value);
    }

    const std::string* Find(const std::string& key) const {
        auto it = m_values.find(FoldKey(key));
        return it == m_values.end() ? nullptr : &it->second;
    }

    /// The entry number a key ends in ("Color-R12": 12), 0 for none.
    static int EntryNumber(std::string_view key) {
        std::size_t digits = key.size();
        while (digits > 0 && key[digits - 1] >= '0' && key[digits - 1] <= '9') --digits;
        const std::string_view number = key.substr(digits);
        // Numbers are written without leading zeros; "Name01" is no key of entry 1.
        if (digits == 0 || number.empty() || number[0] == '0' || number.size() > 9) return 0;
        int n = 0;
        for (char c : number) n = n * 10 + (c - '0');
        return n;
    }

    std::vector<int> m_numbers;  // the entry number of every key that has one
    std::size_t m_keyCount = 0;
    std::unordered_map<std::string, std::string> m_values;
};

}  // namespace

std::string PlanListFilePath(const std::string& programFolder, const std::string& name) {
    return programFolder + name + ".lst";
}

PlanListNameClass ReadPlanListFromIni(const platform::IniFile& ini, const std::string& name) {
    PlanListNameClass list;
    list.Name = name;

    const SectionKeys db(ini, kStructureDB);
    const int dbCount = db.Entries();
    list.StructureDB.resize(static_cast<std::size_t>(dbCount));
    for (int j = 1; j <= dbCount; ++j) {
        const std::string n = std::to_string(j);
        StructureDBClass& s = list.StructureDB[static_cast<std::size_t>(j - 1)];
        s.Name = db.Text("Name" + n);
        s.ColorR = db.Byte("Color-R" + n);
        s.ColorG = db.Byte("Color-G" + n);
        s.ColorB = db.Byte("Color-B" + n);
        s.SetColor = db.Bool("SetColor" + n);
        s.View = db.Bool("View" + n);
    }

    const SectionKeys names(ini, kSNameDB);
    const int nameCount = names.Entries();
    list.SNameDB.reserve(static_cast<std::size_t>(nameCount));
    for (int j = 1; j <= nameCount; ++j) list.SNameDB.push_back(names.Text("Name" + std::to_string(j)));

    const SectionKeys rows(ini, kListIndex);
    const int rowCount = rows.Entries();
    list.IndexData.resize(static_cast<std::size_t>(rowCount));
    for (int j = 1; j <= rowCount; ++j) {
        const std::string n = std::to_string(j);
        IndexDataClass& r = list.IndexData[static_cast<std::size_t>(j - 1)];
        r.Name = rows.Text("Name" + n);
        r.Items = rows.Integer("Items" + n);
        r.Value = rows.Float("Value" + n);
        r.ItemsCI = rows.Integer("ItemsCI" + n);
        r.ValueCI = rows.Float("ValueCI" + n);
        r.Constraints = rows.Float("Constraints" + n);
        r.ConstraintsON = rows.Bool("ConstraintsON" + n);
        r.ConstraintsView = rows.Bool("ConstraintsView" + n);
        r.IndexPrint = rows.Bool("IndexPrint" + n);
        r.ConstraintFontColorR = rows.Byte("ConstraintFontColorR" + n);
        r.ConstraintFontColorG = rows.Byte("ConstraintFontColorG" + n);
        r.ConstraintFontColorB = rows.Byte("ConstraintFontColorB" + n);
    }
    list.Lock = rows.Bool("Lock");
    return list;
}

namespace {

// The keys of one section in the order they are written, texts as the ini writers make them.
class SectionWriter {
public:
    void Text(const std::string& key, std::string value) { m_keys.emplace_back(key, std::move(value)); }
    void Integer(const std::string& key, int value) { Text(key, std::to_string(value)); }
    void Bool(const std::string& key, bool value) { Text(key, value ? "1" : "0"); }
    void Float(const std::string& key, float value) { Text(key, platform::FormatIniFloat(value)); }
    void WriteInto(platform::IniFile& ini, const char* section) const {
        ini.WriteSectionKeys(section, m_keys);
    }

private:
    std::vector<std::pair<std::string, std::string>> m_keys;
};

}  // namespace

void WritePlanListToIni(platform::IniFile& ini, const PlanListNameClass& list) {
    ini.EraseSection(kStructureDB);
    ini.EraseSection(kListIndex);

    SectionWriter db;
    db.Integer("Count", list.StructureDBCount());
    for (int i = 1; i <= list.StructureDBCount(); ++i) {
        const std::string n = std::to_string(i);
        const StructureDBClass& s = list.StructureDB[static_cast<std::size_t>(i - 1)];
        db.Text("Name" + n, s.Name);
        db.Integer("Color-R" + n, s.ColorR);
        db.Integer("Color-G" + n, s.ColorG);
        db.Integer("Color-B" + n, s.ColorB);
        db.Bool("SetColor" + n, s.SetColor);
        db.Bool("View" + n, s.View);
    }
    db.WriteInto(ini, kStructureDB);

    // Rows up to the last named one; empty rows between named rows are kept.
    int last = 0;
    for (int r = 0; r < list.IndexDataCount(); ++r)
        if (!list.IndexData[static_cast<std::size_t>(r)].Name.empty()) last = r;
    const int count = last + 1;
    SectionWriter rows;
    rows.Integer("Count", count);
    rows.Bool("Lock", list.Lock);
    const IndexDataClass emptyRow;  // written when the list has no row at all
    for (int i = 1; i <= count; ++i) {
        const std::string n = std::to_string(i);
        const IndexDataClass& r =
            i <= list.IndexDataCount() ? list.IndexData[static_cast<std::size_t>(i - 1)] : emptyRow;
        rows.Text("Name" + n, r.Name);
        rows.Integer("Items" + n, r.Items);
        rows.Float("Value" + n, r.Value);
        rows.Integer("ItemsCI" + n, r.ItemsCI);
        rows.Float("ValueCI" + n, r.ValueCI);
        rows.Float("Constraints" + n, r.Constraints);
        rows.Bool("ConstraintsON" + n, r.ConstraintsON);
        rows.Bool("ConstraintsView" + n, r.ConstraintsView);
        rows.Bool("IndexPrint" + n, r.IndexPrint);
        rows.Integer("ConstraintFontColorR" + n, r.ConstraintFontColorR);
        rows.Integer("ConstraintFontColorG" + n, r.ConstraintFontColorG);
        rows.Integer("ConstraintFontColorB" + n, r.ConstraintFontColorB);
    }
    rows.WriteInto(ini, kListIndex);
}

PlanListLoadResult LoadPlanListFile(const std::string& path, const std::string& name) {
    PlanListLoadResult result;
    platform::IniFile ini(path);
    switch (ini.Load()) {
        case platform::IniFile::LoadStatus::Ok:
            result.list = ReadPlanListFromIni(ini, name);
            break;
        case platform::IniFile::LoadStatus::Missing:
            result.list.Name = name;
            result.status = PlanListFileStatus::Missing;
            result.message = "The plan list file \"" + path + "\" does not exist.";
            break;
        case platform::IniFile::LoadStatus::Unreadable:
            result.list.Name = name;
            result.list.Unreadable = true;
            result.status = PlanListFileStatus::Unreadable;
            result.message = "Cannot read the plan list file \"" + path + "\"" +
                             (ini.LoadProblem().empty() ? "." : ": " + ini.LoadProblem() + ".");
            break;
    }
    return result;
}

platform::WriteResult UpdatePlanListFile(const std::string& path,
                                         const std::function<void(platform::IniFile&)>& change) {
    platform::IniFile ini(path);
    if (ini.Load() == platform::IniFile::LoadStatus::Unreadable)
        return {false, "Cannot read \"" + path + "\"; it was left unchanged."};
    change(ini);
    // A saved list is read-only, and is so before it takes its name: the old file is never
    // made writable, so neither a failure nor a kill leaves a writable list behind.
    return ini.Save(platform::FileAccess::ReadOnly);
}

platform::WriteResult SavePlanListFile(const std::string& path, const PlanListNameClass& list) {
    if (list.Unreadable)
        return {false, "Plan list \"" + list.Name + "\" could not be read from \"" + path +
                           "\"; it is not saved, so that the file keeps its content."};
    return UpdatePlanListFile(path, [&](platform::IniFile& ini) { WritePlanListToIni(ini, list); });
}
