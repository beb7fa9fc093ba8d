// Fuzzes the plan-list file: any text reads as a list no larger than its keys, and a list saved
// and read again saves to the same text.
#include "planlist/PlanListFile.h"

#include "FuzzChecks.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::IniFile ini;
    ini.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    const PlanListNameClass list = ReadPlanListFromIni(ini, "Fuzz");
    // A count never sizes memory beyond what the file holds.
    const auto bounded = [&](std::size_t entries, const char* section) {
        return entries <= 16 * ini.ReadSection(section).size() + 64;
    };
    fuzz::Require(bounded(list.IndexData.size(), "ListIndex"), "rows beyond what the file holds");
    fuzz::Require(bounded(list.StructureDB.size(), "StructureDB"), "entries beyond what the file holds");
    fuzz::Require(bounded(list.SNameDB.size(), "SNameDB"), "names beyond what the file holds");

    platform::IniFile saved;
    WritePlanListToIni(saved, list);
    platform::IniFile reread;
    reread.Parse(saved.Text());
    const PlanListNameClass back = ReadPlanListFromIni(reread, "Fuzz");
    platform::IniFile savedAgain;
    WritePlanListToIni(savedAgain, back);
    fuzz::Require(savedAgain.Text() == saved.Text(), "a saved list reads back differently");
    fuzz::Require(back.Lock == list.Lock, "the lock changed on a save");
    return 0;
}
