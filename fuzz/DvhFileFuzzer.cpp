// Fuzzes the one-plan and plan-sum reader (codes 2 and 3) on text held in memory.
#include "dvh/DvhExportReader.h"

#include "FuzzChecks.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (int code : {2, 3}) {
        ParsedPlan plan;
        DvhReadOptions options{code, 50.0f};
        options.ReadExtraDoses = size % 2 == 1;
        ReadResult r = ParseDvhFile(text, options, plan);
        fuzz::CheckPlan(r, plan);
    }
    return 0;
}
