// Writing a whole section at once gives the same text as writing its keys one by one.
#include "platform/IniFile.h"

#include <gtest/gtest.h>

TEST(IniFileSectionKeys, SameTextAsOneWritePerKeyForNewAndExistingSections) {
    const std::vector<std::pair<std::string, std::string>> keys = {{"Count", "2"}, {"Name1", "a"},
                                                                   {"Name2", ""}};
    for (const char* start : {"", "[Other]\r\nx=1\r\n", "[Other]\r\nx=1\r\n\r\n",
                              "[S]\r\nName1=old\r\nKeep=1\r\n[T]\r\n"}) {
        platform::IniFile bulk, single;
        bulk.Parse(start);
        single.Parse(start);
        bulk.WriteSectionKeys("S", keys);
        for (const auto& [k, v] : keys) single.WriteString("S", k, v);
        EXPECT_EQ(bulk.Text(), single.Text()) << start;
        EXPECT_EQ(bulk.ReadString("S", "Name1", ""), "a");
    }
    // After written keys a new section still gets its blank line.
    platform::IniFile ini;
    ini.WriteSectionKeys("A", {{"k", "1"}});
    ini.WriteSectionKeys("B", {{"k", "2"}});
    EXPECT_EQ(ini.Text(), "[A]\r\nk=1\r\n\r\n[B]\r\nk=2\r\n");
}
