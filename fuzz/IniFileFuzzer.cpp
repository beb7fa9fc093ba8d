// Fuzzes the ini component: any text parses, saves as text that parses to the same keys, and
// no written value can split its line.
#include "platform/IniFile.h"

#include "FuzzChecks.h"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    platform::IniFile ini;
    ini.Parse(text);
    // What the file says once saved, it says again after a second save.
    const std::string once = ini.Text();
    platform::IniFile again;
    again.Parse(once);
    fuzz::Require(again.Text() == once, "a saved ini file reads back differently");

    // A value written (any bytes, line breaks included) holds no line break, reads back from
    // the file as it reads in memory, and adds no key but its own.
    const std::string value(text.substr(0, 64));
    const std::size_t keysBefore = again.ReadSection("Fuzz").size();
    again.WriteString("Fuzz", "Written", value);
    platform::IniFile reread;
    reread.Parse(again.Text());
    fuzz::Require(reread.ReadString("Fuzz", "Written", "<none>") == again.ReadString("Fuzz", "Written", "<none>"),
                  "a written value reads back differently from the file");
    fuzz::Require(again.ReadString("Fuzz", "Written", "<none>").find_first_of("\r\n") == std::string::npos,
                  "a line break inside a written value");
    fuzz::Require(reread.ReadSection("Fuzz").size() <= keysBefore + 1, "a written value made keys of its own");
    return 0;
}
