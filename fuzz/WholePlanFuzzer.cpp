// Fuzzes a whole evaluation: a plan list and an export from one input, read, and every index
// kind computed through the index grid. The grid holds one row per list row and no value that
// is not a number.
#include "dvh/DvhExportReader.h"
#include "dvh/DvhTextBlockReader.h"
#include "planlist/IndexGridModel.h"
#include "planlist/PlanListFile.h"

#include "FuzzChecks.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    // The first byte picks the export kind and, with the second, where the list text ends.
    static const int kCodes[] = {2, 3, 12, 13};
    const int code = kCodes[data[0] & 3];
    const std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
    const std::size_t split = rest.empty() ? 0 : (std::size_t(data[1]) * rest.size()) / 255;
    platform::IniFile ini;
    ini.Parse(rest.substr(0, split));
    PlanListNameClass list = ReadPlanListFromIni(ini, "Fuzz");

    ParsedPlan parsed;
    DvhReadOptions options{code, 60.0f};
    const ReadResult r = code < 10 ? ParseDvhFile(rest.substr(split), options, parsed)
                                   : ParseDvhTextBlocks(rest.substr(split), options, parsed);
    fuzz::CheckPlan(r, parsed);
    PDatasetClass plan;
    plan.DVHDataset = std::move(parsed.DVHDataset);
    plan.BodyIndex = parsed.BodyIndex;

    for (int kind = 0; kind <= 16; ++kind) {
        for (IndexDataClass& row : list.IndexData) {
            row.Items = kind;
            row.ItemsCI = kind % 2;
        }
        for (bool caseSensitive : {false, true}) {
            const IndexGridContent grid = BuildIndexGrid(list, &plan, caseSensitive);
            fuzz::Require(grid.RowCount() == static_cast<int>(list.IndexData.size()) + 1, "grid rows and list rows differ");
            for (const auto& cells : grid.Cells)
                fuzz::Require(cells[2].find("nan") == std::string::npos && cells[2].find("inf") == std::string::npos,
                              "a value that is no number");
        }
    }
    return 0;
}
