// Fuzzes the description-header reader (codes 12 and 13), in memory and streamed from a file in
// tiny chunks: both ways must give the same plan.
#include "dvh/DvhTextBlockReader.h"
#include "dvh/LineCursor.h"

#include "FuzzChecks.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

bool SamePlan(const ParsedPlan& a, const ParsedPlan& b) {
    if (a.BodyIndex != b.BodyIndex || a.DVHDataset.size() != b.DVHDataset.size()) return false;
    for (std::size_t i = 0; i < a.DVHDataset.size(); ++i) {
        const DVHDatasetClass &x = a.DVHDataset[i], &y = b.DVHDataset[i];
        if (x.Name != y.Name || x.Volume != y.Volume || x.MeanDoseGy != y.MeanDoseGy || x.DVset.size() != y.DVset.size())
            return false;
        for (std::size_t k = 0; k < x.DVset.size(); ++k)
            if (x.DVset[k].DoseGy != y.DVset[k].DoseGy || x.DVset[k].VolumePercent != y.DVset[k].VolumePercent)
                return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    static const std::string path = "/tmp/tessaray-fuzz-" + std::to_string(::getpid()) + ".txt";
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    for (int code : {12, 13}) {
        DvhReadOptions options{code, 50.0f};
        ParsedPlan inMemory, streamed;
        ReadResult r = ParseDvhTextBlocks(text, options, inMemory);
        fuzz::CheckPlan(r, inMemory);
        LineCursor lines(LineFile{path, 64});
        ReadResult s = ParseDvhTextBlocks(lines, options, streamed);
        fuzz::Require(r.status == s.status && r.line == s.line, "streamed read ends otherwise");
        fuzz::Require(SamePlan(inMemory, streamed), "streamed read gives another plan");
    }
    return 0;
}
