// Fuzzes the settings file and its plan-list register: any text reads, and a register written
// back reads as the same names, none lost.
#include "dvh/SettingsFile.h"

#include "FuzzChecks.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::IniFile ini;
    ini.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    const StoredSettings settings = ReadStoredSettings(ini, "fuzz");
    (void)settings;
    const std::vector<std::string> names = ReadPlanListRegister(ini);
    // At most one entry per "ListName" key, plus the one "0" of missing entries.
    fuzz::Require(names.size() <= ini.ReadSection("PlanList").size() + 1, "register entries made up");
    WritePlanListRegister(ini, names);
    platform::IniFile reread;
    reread.Parse(ini.Text());
    fuzz::Require(ReadPlanListRegister(reread) == names, "a rewritten register reads differently");
    return 0;
}
