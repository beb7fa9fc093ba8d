// Every malformed file in tests/data/broken with the status it must end in: no crash, no half plan.
#include "dvh/DvhExportReader.h"
#include "dvh/DvhTextBlockReader.h"
#include "dvh/Workspace.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sys/stat.h>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

struct Broken {
    const char* file;
    int headerCode;      // what the recogniser returns
    ReadStatus status;   // the recogniser's reason for a 0, else the reader's status
};

const Broken kBroken[] = {
    {"empty.txt", 0, ReadStatus::Empty},
    {"binary_junk.bin", 0, ReadStatus::Unrecognised},
    {"utf16.txt", 0, ReadStatus::Unrecognised},
    {"truncated_header.txt", 0, ReadStatus::Truncated},
    {"differential.txt", 0, ReadStatus::Differential},
    {"several_plans.txt", 0, ReadStatus::MultiPlan},
    {"no_structures.txt", 2, ReadStatus::NoStructures},
    {"truncated_statistics.txt", 2, ReadStatus::Truncated},
    {"garbage_statistic.txt", 2, ReadStatus::BadNumber},
    {"short_row.txt", 2, ReadStatus::BadRow},
    {"truncated_before_table.txt", 12, ReadStatus::MissingLine},
    {"garbage_number_row.txt", 12, ReadStatus::BadNumber},
    {"nan_volume.txt", 12, ReadStatus::BadNumber},
    {"long_junk_line.txt", 12, ReadStatus::BadNumber},
    {"no_prescribed_dose.txt", 12, ReadStatus::NoPrescribedDose},
    {"zero_prescribed_dose.txt", 12, ReadStatus::BadPrescribedDose},
};

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

TEST(BrokenFiles, EachEndsInItsStatusAndLeavesNoPlan) {
    const std::string dir = std::string(TESSARAY_TEST_DATA) + "/broken/";
    std::size_t listed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        (void)entry;
        ++listed;
    }
    EXPECT_EQ(listed, std::size(kBroken)) << "every broken file needs its expected status here";

    for (const Broken& b : kBroken) {
        SCOPED_TRACE(b.file);
        dvhtest::RecordingHost host;
        Workspace ws;
        ws.SetHost(&host);
        const std::string path = dir + b.file;
        ASSERT_TRUE(std::filesystem::exists(path));
        EXPECT_EQ(ws.ReadDvhHeader(path), b.headerCode);
        if (b.headerCode == 0) {
            EXPECT_EQ(ws.LastHeaderResult.status, b.status);
            continue;
        }
        EXPECT_EQ(ws.LoadDvhFileHeadless(path, 60.0f), -1);
        EXPECT_EQ(ws.LastReadResult.status, b.status);
        EXPECT_EQ(ws.PDatasetCount(), 0);
        ASSERT_EQ(host.status.size(), 1u);  // the user learns which file failed
        EXPECT_NE(host.status[0].find(b.file), std::string::npos);
    }
}

TEST(BrokenFiles, EveryReaderModeSurvivesEveryBrokenFile) {
    const std::string dir = std::string(TESSARAY_TEST_DATA) + "/broken/";
    for (const Broken& b : kBroken) {
        SCOPED_TRACE(b.file);
        const std::string text = Slurp(dir + b.file);
        for (int code : {2, 3, 12, 13}) {
            ParsedPlan plan;
            DvhReadOptions options{code, 60.0f};
            ReadResult r = code < 12 ? ParseDvhFile(text, options, plan) : ParseDvhTextBlocks(text, options, plan);
            if (!r.ok()) {
                EXPECT_TRUE(plan.DVHDataset.empty());
                EXPECT_EQ(plan.BodyIndex, -1);
            }
            for (const auto& s : plan.DVHDataset)
                for (const auto& p : s.DVset) EXPECT_TRUE(std::isfinite(p.VolumePercent) && std::isfinite(p.DosePercent));
        }
    }
}

TEST(BrokenFiles, NoFileCutShortAndEndlessLinesAreToldApartAtOnce) {
    dvhtest::TempFolder dir("hostile");
    const std::string exampleText = Slurp(std::string(TESSARAY_EXAMPLES) + "/Prostate_OnePlan.txt");
    struct Case {
        const char* name;
        std::string path;
        ReadStatus status;  // the recogniser's refusal, else the reader's result
        bool cutShort;
    };
    const std::string fifo = dir.Write("pipe.txt", "");
    std::filesystem::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);  // opening it for reading must not wait for a writer
    const std::string folder = dir.Write("folder.txt", "");
    std::filesystem::remove(folder);
    std::filesystem::create_directory(folder);
    std::string cut = exampleText;
    while (cut.back() == '\n' || cut.back() == '\r') cut.pop_back();
    cut.resize(cut.size() - 3);  // the last row loses its end
    std::string noRows = exampleText;
    noRows.resize(noRows.rfind("Dose [cGy]"));
    noRows += "Dose [cGy]\tRelative dose [%]\tRatio of Total Structure Volume [%]\r\n";
    const Case cases[] = {
        {"fifo", fifo, ReadStatus::NotAFile, false},
        {"folder", folder, ReadStatus::NotAFile, false},
        {"endless header", dir.Write("endless.txt", "Patient Name: " + std::string(3 << 20, 'x')),
         ReadStatus::LineTooLong, false},
        {"endless row", dir.Write("row.txt", exampleText + std::string(3 << 20, '7')), ReadStatus::LineTooLong,
         false},
        {"cut in a row", dir.Write("cut.txt", cut), ReadStatus::Ok, true},
        {"table without rows", dir.Write("norows.txt", noRows), ReadStatus::Ok, true},
        {"whole", dir.Write("whole.txt", exampleText), ReadStatus::Ok, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dvhtest::RecordingHost host;
        Workspace ws;
        ws.SetHost(&host);
        const int code = ws.ReadDvhHeader(c.path);
        if (code == 0) {
            EXPECT_EQ(ws.LastHeaderResult.status, c.status);
            continue;
        }
        const int plan = ws.LoadDvhFileHeadless(c.path, 60.0f);
        EXPECT_EQ(ws.LastReadResult.status, c.status);
        if (!ws.LastReadResult.ok()) {
            EXPECT_EQ(plan, -1);
            EXPECT_GT(ws.LastReadResult.line, 1);  // the user learns where
            continue;
        }
        ASSERT_EQ(plan, 0);
        EXPECT_FALSE(ws.PDataset[0].DVHDataset.empty());
        const bool told = !host.status.empty() && host.status.back().find("cut short") != std::string::npos;
        EXPECT_EQ(told, c.cutShort);
    }
}
