// The ".mod" companion: line values, the "NULL" rule, aliases and the dose line.
#include "dvh/ModFile.h"

#include "platform/OpenedFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

PDatasetClass PlanWith(int structures) {
    PDatasetClass p;
    p.PatientName = "Reader Name";
    p.PatientID = "R1";
    p.PlanName = "Reader Plan";
    p.PlanID = "RP";
    for (int i = 0; i < structures; ++i) {
        DVHDatasetClass s;
        s.Name = "S" + std::to_string(i);
        s.ModifiedName = "old" + std::to_string(i);
        p.DVHDataset.push_back(s);
    }
    return p;
}

TEST(ModFile, LineValuesAreTheTextAfterTheFirstTab) {
    const auto mod = ParseModFile(
        "Patient Name\tDoe\tJohn\r\nPatient ID\t\r\nno tab here\nPlan ID\t  P 1  \n");
    ASSERT_EQ(mod.Values.size(), 4u);
    EXPECT_EQ(mod.Values[0], "Doe\tJohn");  // only the first TAB separates
    EXPECT_EQ(mod.Values[1], "");
    EXPECT_EQ(mod.Values[2], "no tab here");
    EXPECT_EQ(mod.Values[3], "  P 1  ");
    // A line of any length stays one line.
    const std::string longName(250, 'x');
    const auto longMod = ParseModFile("a\t" + longName + "\nb\tnext");
    ASSERT_EQ(longMod.Values.size(), 2u);
    EXPECT_EQ(longMod.Values[0], longName);
    EXPECT_EQ(longMod.Values[1], "next");
    EXPECT_TRUE(ParseModFile("").Values.empty());
}

TEST(ModFile, HeaderKeepsFieldsWrittenNullAndAliasesApplyInOrder) {
    PDatasetClass plan = PlanWith(3);
    ApplyModFile(plan, ParseModFile("Patient Name\tNULL\n"
                                    "Patient ID\tnull\n"
                                    "Plan Name\tNULL \n"
                                    "Plan ID\tNew ID\n"
                                    "Prescribed dose [cGy]\t6000\n"
                                    "0\tPTV  boost\n"
                                    "1\t\n"
                                    "2\tNULL\n"
                                    "3\tsurplus\n"));
    EXPECT_EQ(plan.PatientName, "Reader Name");  // exactly "NULL" keeps the reader's value
    EXPECT_EQ(plan.PatientID, "null");           // other case is stored
    EXPECT_EQ(plan.PlanName, "NULL ");           // so is "NULL" with a blank
    EXPECT_EQ(plan.PlanID, "New ID");
    EXPECT_EQ(plan.DVHDataset[0].ModifiedName, "PTV  boost");
    EXPECT_EQ(plan.DVHDataset[1].ModifiedName, "");      // empty value clears the alias
    EXPECT_EQ(plan.DVHDataset[2].ModifiedName, "NULL");  // no NULL rule for aliases
    EXPECT_EQ(plan.DVHDataset.size(), 3u);               // surplus line ignored
}

TEST(ModFile, ShortFilesStopWhereTheyEnd) {
    PDatasetClass plan = PlanWith(3);
    ApplyModFile(plan, ParseModFile("a\tName\nb\tID\nc\tPlan\nd\tPID\ne\t100\nf\tfirst\n"));
    EXPECT_EQ(plan.DVHDataset[0].ModifiedName, "first");
    EXPECT_EQ(plan.DVHDataset[1].ModifiedName, "old1");
    EXPECT_EQ(plan.DVHDataset[2].ModifiedName, "old2");

    PDatasetClass partial = PlanWith(1);
    ApplyModFile(partial, ParseModFile("a\tOnly name\n"));
    EXPECT_EQ(partial.PatientName, "Only name");
    EXPECT_EQ(partial.PatientID, "R1");
    EXPECT_EQ(partial.DVHDataset[0].ModifiedName, "old0");

    PDatasetClass headerOnly = PlanWith(2);
    ApplyModHeader(headerOnly, ParseModFile("a\tN\nb\tI\nc\tP\nd\tQ\ne\t1\nf\talias\n"));
    EXPECT_EQ(headerOnly.PlanID, "Q");
    EXPECT_EQ(headerOnly.DVHDataset[0].ModifiedName, "old0");
}

TEST(ModFile, DoseLineIsCentigrayAndMayBeMissingOrBroken) {
    // 6000 cGy x 0.01 = 60 Gy.
    auto dose = ParseModFile("a\t\nb\t\nc\t\nd\t\nPrescribed dose [cGy]\t6000\n");
    ASSERT_TRUE(dose.PrescribedDoseGy());
    EXPECT_FLOAT_EQ(*dose.PrescribedDoseGy(), 60.0f);
    EXPECT_EQ(dose.PrescribedDoseText(), "6000");
    EXPECT_FLOAT_EQ(*ParseModFile("a\nb\nc\nd\nx\t4512.5\n").PrescribedDoseGy(), 45.125f);
    EXPECT_FALSE(ParseModFile("a\nb\nc\nd\nx\tsixty\n").PrescribedDoseGy());
    EXPECT_FALSE(ParseModFile("a\nb\nc\nd\nx\t1e41\n").PrescribedDoseGy());  // no float holds it
    EXPECT_FALSE(ParseModFile("a\nb\nc\nd\n").PrescribedDoseGy());
    EXPECT_EQ(ParseModFile("a\nb\n").PrescribedDoseText(), "");
}

TEST(ModFile, MissingFileReadsAsNone) { EXPECT_FALSE(ReadModFile("/nonexistent/folder/x.mod")); }

TEST(ModFile, TheVersionReadIsOfTheBytesReadAlsoWhenTheFileWasRewrittenInPlaceSinceItWasOpened) {
    // Another program writes into the held companion between its open and its read: the version
    // taken is of the bytes parsed, which the file then still holds, so that a save may go on.
    const dvhtest::TempFolder folder("mod-version");
    const std::string path = folder.Write("12_H1.mod", "Patient Name\tOld\r\n");
    const auto held = platform::OpenedFile::Open(path);
    ASSERT_TRUE(held);
    const std::string now = "Patient Name\tRenamed by another\r\n";
    ASSERT_TRUE(dvhtest::WriteInPlace(path, now));
    platform::FileVersion version;
    const auto mod = ReadModFile(*held, nullptr, &version);
    ASSERT_TRUE(mod);
    ASSERT_EQ(mod->Values.at(0), "Renamed by another");
    EXPECT_EQ(version.Identity.Size, static_cast<long long>(now.size()));
    EXPECT_TRUE(platform::FileHoldsVersion(path, version));
}

}  // namespace
