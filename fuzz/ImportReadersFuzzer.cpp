// Fuzzes the BrainSCAN/iPlan table reader and both XiO passes on text held in memory.
#include "import/BrainLabTable.h"
#include "import/XiOExport.h"

#include "FuzzChecks.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ParsedPlan table;
    fuzz::CheckPlan(ParseBrainLabTable(text, table), table, {"Body", "Expanded"});
    std::vector<std::string> names;
    const ReadResult namesRead = ParseXiONames(text, names);
    fuzz::Require(namesRead.ok() || names.empty(), "a failed names pass left names");
    ParsedPlan xio;
    const ReadResult read = ParseXiODvh(text, 60.0f, xio);
    fuzz::CheckPlan(read, xio, {});
    // Both passes agree on the blocks a good file holds.
    if (read.ok()) fuzz::Require(namesRead.ok() && names.size() == xio.DVHDataset.size(), "the passes disagree");
    return 0;
}
