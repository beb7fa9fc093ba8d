// The README's walk-through read back as a new user follows it: every file it names is in
// examples/, and the plans open when a step takes "all" of them are the ones that step
// describes (the file list keeps every file opened since the start or the last "Clear List").
#include "dvh/PlanListMatch.h"
#include "dvh/Workspace.h"
#include "planlist/PlanListFile.h"
#include "platform/OpenedFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <sstream>

namespace {

namespace fs = std::filesystem;

/// The numbered steps of the section "Trying it out", one text each.
std::vector<std::string> WalkThroughSteps(const std::string& readme) {
    const std::size_t begin = readme.find("## Trying it out");
    if (begin == std::string::npos) return {};
    std::istringstream section(readme.substr(begin, readme.find("\n## ", begin) - begin));
    std::vector<std::string> steps;
    for (std::string line; std::getline(section, line);) {
        if (std::regex_search(line, std::regex("^\\d+\\. "))) steps.emplace_back();
        if (!steps.empty()) steps.back() += line + "\n";
    }
    return steps;
}

/// The example files that `text` names in backticks with `extension` ("*" in a name stands for
/// any characters); a name that matches no example fails the test.
std::set<fs::path> NamedExamples(const std::string& text, const std::string& extension) {
    std::set<fs::path> files;
    const std::regex quoted("`(?:examples/)?([^`/ ]+\\" + extension + ")`");
    for (std::sregex_iterator m(text.begin(), text.end(), quoted), end; m != end; ++m) {
        const std::regex pattern(std::regex_replace((*m)[1].str(), std::regex("\\*"), ".*"));
        std::size_t found = 0;
        for (const auto& entry : fs::directory_iterator(TESSARAY_EXAMPLES))
            if (std::regex_match(entry.path().filename().string(), pattern)) files.insert(entry.path()), ++found;
        EXPECT_GT(found, 0u) << (*m)[1] << " is not in examples/";
    }
    return files;
}

}  // namespace

TEST(ReadmeWalkThrough, NamesExamplesAndEachStepOpensThePlansItDescribes) {
    std::string readme;
    ASSERT_TRUE(platform::ReadWholeFile(std::string(TESSARAY_EXAMPLES) + "/../README.md", readme));
    const std::vector<std::string> steps = WalkThroughSteps(readme);
    ASSERT_GE(steps.size(), 7u);
    // The first step registers the example plan list; the others open plans.
    const std::set<fs::path> lists = NamedExamples(steps[0], ".lst");
    ASSERT_EQ(lists.size(), 1u);
    const PlanListLoadResult list = LoadPlanListFile(lists.begin()->string(), lists.begin()->stem().string());
    ASSERT_EQ(list.status, PlanListFileStatus::Ok);

    std::set<fs::path> open;
    int batches = 0, comparisons = 0;
    for (const std::string& step : steps) {
        SCOPED_TRACE(step.substr(0, step.find('\n')));
        NamedExamples(step, ".lst");
        if (step.find("\"Clear List\"") != std::string::npos) open.clear();
        const std::set<fs::path> opened = NamedExamples(step, ".txt");
        open.insert(opened.begin(), opened.end());
        const bool batch = step.find("Batch processing") != std::string::npos;
        const bool comparison = step.find("Plan Comparison") != std::string::npos;
        if (!batch && !comparison) continue;
        batches += batch;
        comparisons += comparison;
        // Every plan the step takes is of the protocol; a batch has each patient once, a
        // comparison three plans of one patient.
        std::set<std::string> patients, plans;
        for (const fs::path& file : open) {
            Workspace ws;
            ASSERT_GT(ws.ReadDvhHeader(file.string(), nullptr, false), 1) << file;
            EXPECT_EQ(MatchPlanList({list.list}, ws.HeaderPlanName, ws.HeaderPlanID), 0) << file;
            patients.insert(ws.HeaderPatientID);
            plans.insert(ws.HeaderPlanName);
        }
        if (batch) {
            EXPECT_EQ(patients.size(), open.size());
        } else {
            EXPECT_EQ(open.size(), 3u);
            EXPECT_EQ(plans.size(), 3u);
            EXPECT_EQ(patients.size(), 1u);
        }
    }
    EXPECT_EQ(batches, 1);
    EXPECT_EQ(comparisons, 1);
}
