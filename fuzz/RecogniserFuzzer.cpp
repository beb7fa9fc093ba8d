// Fuzzes the export recogniser: any bytes give a known code, and a 0 always has its reason.
#include "dvh/DvhExportRecogniser.h"

#include "FuzzChecks.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    DvhHeader h = RecogniseDvhHeader(std::string_view(reinterpret_cast<const char*>(data), size));
    const int c = h.FileType;
    fuzz::Require(c == 0 || c == 2 || c == 3 || c == 5 || c == 6 || c == 7 || c == 12 || c == 13, "unknown code");
    fuzz::Require((c == 0) != h.result.ok(), "code and status disagree");
    if (c != 0) fuzz::Require(h.identified, "a code without identification");
    return 0;
}
