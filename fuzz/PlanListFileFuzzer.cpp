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
    // Every entry read has at least one key of its own: a count never makes entries up.
    fuzz::Require(list.IndexData.size() <= ini.ReadSection("ListIndex").size(), "rows beyond the keys");
    fuzz::Require(list.StructureDB.size() <= ini.ReadSection("StructureDB").size(), "entries beyond the keys");
    fuzz::Require(list.SNameDB.size() <= ini.ReadSection("SNameDB").size(), "names beyond the keys");

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
