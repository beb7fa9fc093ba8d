// Fuzzes the ".mod" name-override file: any text parses, its dose is finite or none, and
// applying it to a plan touches only the names it may.
#include "dvh/ModFile.h"

#include "FuzzChecks.h"

#include <cmath>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ModFileContent mod = ParseModFile(std::string_view(reinterpret_cast<const char*>(data), size));
    if (const auto dose = mod.PrescribedDoseGy()) fuzz::Require(std::isfinite(*dose), "an infinite dose");
    PDatasetClass plan;
    plan.DVHDataset.resize(3);
    for (DVHDatasetClass& s : plan.DVHDataset) s.Name = "S";
    ApplyModFile(plan, mod);
    fuzz::Require(plan.DVHDataset.size() == 3, "a name-override file changed the structures");
    for (const DVHDatasetClass& s : plan.DVHDataset) fuzz::Require(s.Name == "S", "a structure's own name changed");
    return 0;
}
