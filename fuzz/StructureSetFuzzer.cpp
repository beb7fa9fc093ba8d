// Fuzzes the structure-set file: any text reads as no more sets than it has sections, and the
// sets written and read again are the same sets.
#include "compare/StructureSetFile.h"

#include "FuzzChecks.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::IniFile ini;
    ini.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::vector<CompDVHrepClass> sets = ReadStructureSets(ini);
    fuzz::Require(sets.size() <= ini.ReadSections().size(), "sets beyond the sections");
    WriteStructureSets(ini, sets);
    platform::IniFile reread;
    reread.Parse(ini.Text());
    const std::vector<CompDVHrepClass> back = ReadStructureSets(reread);
    fuzz::Require(back.size() == sets.size(), "a saved set was lost or made up");
    for (std::size_t i = 0; i < sets.size(); ++i) {
        fuzz::Require(back[i].Title == sets[i].Title, "a set's title changed");
        for (int j = 0; j < 4; ++j) fuzz::Require(back[i].Structure[j] == sets[i].Structure[j], "a set's structure changed");
    }
    return 0;
}
