// The index entries over the workspace: which plan they read and the live case rule.
#include "planlist/WorkspaceIndex.h"

#include "PlanFixtures.h"

#include <gtest/gtest.h>

namespace {

class FakeHost : public WorkspaceHost {
public:
    bool caseSensitive = false;
    bool CaseSensitive() const override { return caseSensitive; }
};

TEST(WorkspaceIndex, CalcIndexReadsTheCurrentPlanAndForDatasetAnExplicitOne) {
    Workspace ws;
    PDatasetClass other = fixtures::ExamplePlan();
    other.DVHDataset[0] = fixtures::Structure("PTV", 50, 50, {{0, 100}, {20, 0}});
    ws.PDataset = {fixtures::ExamplePlan(), other};
    EXPECT_EQ(CalcIndex(ws, 0, 1, 50, 0, 0), -1);  // no current plan
    ws.CurrentPlanIndex = 0;
    EXPECT_FLOAT_EQ(CalcIndex(ws, 0, 1, 50, 0, 0), 27.5f);
    EXPECT_FLOAT_EQ(CalcIndex(ws, 0, 16, 0, 6, 25), 4);
    ws.CurrentPlanIndex = 1;
    EXPECT_FLOAT_EQ(CalcIndex(ws, 0, 1, 50, 0, 0), 10);
    ws.CurrentPlanIndex = 2;
    EXPECT_EQ(CalcIndex(ws, 0, 1, 50, 0, 0), -1);
    // The explicit entry leaves the current plan alone.
    ws.CurrentPlanIndex = 1;
    EXPECT_FLOAT_EQ(CalcIndexForDataset(ws, 0, 3, 50, 0), 27.5f);
    EXPECT_EQ(ws.CurrentPlanIndex, 1);
    EXPECT_EQ(CalcIndexForDataset(ws, 0, 3, 50, 2), -1);
    EXPECT_EQ(CalcIndexForDataset(ws, 0, 3, 50, -1), -1);
}

TEST(WorkspaceIndex, RowLookupReadsTheCaseRuleAtEachCall) {
    Workspace ws;
    FakeHost host;
    ws.SetHost(&host);
    PDatasetClass plan = fixtures::ExamplePlan();
    EXPECT_EQ(IndexRowStructure(ws, plan, "ptv"), 0);
    EXPECT_EQ(IndexRowStructure(ws, plan, "BODY"), 1);
    host.caseSensitive = true;
    EXPECT_EQ(IndexRowStructure(ws, plan, "ptv"), -1);
    EXPECT_EQ(IndexRowStructure(ws, plan, "PTV"), 0);
    plan.DVHDataset[0].ModifiedName = "CTV";
    EXPECT_EQ(IndexRowStructure(ws, plan, "PTV"), -1);
    EXPECT_EQ(IndexRowStructure(ws, plan, "CTV"), 0);
}

}  // namespace
