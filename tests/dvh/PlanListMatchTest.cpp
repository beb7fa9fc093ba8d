// Linking a new plan to a plan list by the names in its plan name and plan ID.
#include "dvh/PlanListMatch.h"

#include <gtest/gtest.h>

namespace {

std::vector<PlanListNameClass> Lists(std::initializer_list<const char*> names) {
    std::vector<PlanListNameClass> lists;
    for (const char* n : names) {
        PlanListNameClass l;
        l.Name = n;
        lists.push_back(l);
    }
    return lists;
}

TEST(PlanListMatch, LinksOnlyWhenExactlyOneListNameOccurs) {
    const auto lists = Lists({"Prostate", "Head", "Lung"});
    struct Case {
        const char* planName;
        const char* planID;
        int expected;
    } cases[] = {
        {"Prostate IMRT", "P1", 0},         // in the plan name
        {"Boost", "Lung_SBRT", 2},          // only in the plan ID
        {"Head and Neck", "Prostate", -1},  // two lists occur (name and ID): no link
        {"Head Lung", "x", -1},             // two lists in the plan name
        {"prostate imrt", "P1", -1},        // other letter case does not match
        {"Breast", "B1", -1},               // none
        {"", "", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchPlanList(lists, c.planName, c.planID), c.expected)
            << c.planName << " / " << c.planID;
}

TEST(PlanListMatch, EmptyListNamesAndRepeatedNames) {
    // An empty name occurs nowhere, so it never spoils a single match.
    EXPECT_EQ(MatchPlanList(Lists({"", "Head"}), "Head plan", "H1"), 1);
    // One name that occurs in both the plan name and the plan ID is still one list.
    EXPECT_EQ(MatchPlanList(Lists({"Head"}), "Head plan", "Head1"), 0);
    // The same name registered twice is two lists claiming the plan.
    EXPECT_EQ(MatchPlanList(Lists({"Head", "Head"}), "Head plan", "H1"), -1);
    EXPECT_EQ(MatchPlanList({}, "Head plan", "H1"), -1);
}

TEST(PlanListMatch, FolderNameMatchesExactlyAndTheLastListWins) {
    const auto lists = Lists({"Prostate", "Head", "Prostate"});
    EXPECT_EQ(PlanListNamedLike(lists, "Prostate"), 2);
    EXPECT_EQ(PlanListNamedLike(lists, "Head"), 1);
    EXPECT_EQ(PlanListNamedLike(lists, "prostate"), -1);
    EXPECT_EQ(PlanListNamedLike(lists, "Prostate "), -1);
    EXPECT_EQ(PlanListNamedLike(lists, ""), -1);
}

}  // namespace
