// Row commands of the edit panel and the grid's clipboard keys.
#include "planlist/IndexRowCommands.h"
#include "IndexRowFixtures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

PlanListNameClass ListOf(const std::vector<std::string>& names) { return ListOfRows(names, 9); }


using Names_t = std::vector<std::string>;

}  // namespace

TEST(IndexRowCommands, InsertClearAndCopyAtTheirBoundaries) {
    PlanListNameClass list = ListOf({"A", "B"});
    EXPECT_FALSE(InsertIndexRow(list, 0));
    EXPECT_FALSE(InsertIndexRow(list, 4));
    EXPECT_FALSE(list.Modified);
    ASSERT_TRUE(InsertIndexRow(list, 1));  // before the first row
    EXPECT_EQ(RowNames(list), (Names_t{"", "A", "B"}));
    EXPECT_EQ(list.IndexData[0].ConstraintFontColorR, 255);  // inserted rows are red
    EXPECT_EQ(list.IndexData[0].Items, -1);
    EXPECT_TRUE(list.Modified);
    ASSERT_TRUE(InsertIndexRow(list, 4));  // one past the end appends
    EXPECT_EQ(list.IndexDataCount(), 4);

    list.IndexData[1].IndexPrint = false;
    list.IndexData[1].ItemsCI = 3;
    ASSERT_TRUE(CopyIndexRow(list, 2));
    EXPECT_EQ(RowNames(list), (Names_t{"", "A", "A", "B", ""}));
    EXPECT_TRUE(list.IndexData[1].IndexPrint);  // the copy is printed
    EXPECT_EQ(list.IndexData[1].ItemsCI, 3);
    EXPECT_FALSE(list.IndexData[2].IndexPrint);  // the source keeps its flag

    list.IndexData[3].ConstraintFontColorR = 255;
    ASSERT_TRUE(ClearIndexRow(list, 4));
    EXPECT_EQ(list.IndexData[3].Name, "");
    EXPECT_EQ(list.IndexData[3].ConstraintFontColorR, 0);  // cleared rows are black
    EXPECT_FALSE(ClearIndexRow(list, 6));
}

TEST(IndexRowCommands, MovesFollowTheRowAndUndoEachOther) {
    PlanListNameClass list = ListOf({"A", "B", "C"});
    list.IndexData[1].Items = 16;
    list.IndexData[1].ItemsCI = 6;
    list.IndexData[1].ValueCI = 2.5f;
    const PlanListNameClass before = list;
    int selected = 1;
    EXPECT_FALSE(MoveIndexRowUp(list, selected));
    selected = 3;
    EXPECT_FALSE(MoveIndexRowDown(list, selected));
    EXPECT_EQ(selected, 3);

    selected = 2;
    ASSERT_TRUE(MoveIndexRowUp(list, selected));
    EXPECT_EQ(selected, 1);
    EXPECT_EQ(RowNames(list), (Names_t{"B", "A", "C"}));
    ASSERT_TRUE(MoveIndexRowDown(list, selected));
    EXPECT_EQ(selected, 2);
    EXPECT_EQ(RowNames(list), RowNames(before));
    EXPECT_EQ(list.IndexData[1].ItemsCI, 6);
    EXPECT_EQ(list.IndexData[1].ValueCI, 2.5f);
}

TEST(IndexRowCommands, DeleteKeepsOneRowAndLockRefusesEverything) {
    PlanListNameClass list = ListOf({"A", "B"});
    ASSERT_TRUE(DeleteIndexRow(list, 2));
    EXPECT_FALSE(DeleteIndexRow(list, 1));  // the last row stays
    EXPECT_EQ(RowNames(list), (Names_t{"A"}));

    PlanListNameClass locked = ListOf({"A", "B"});
    locked.Lock = true;
    int selected = 2;
    EXPECT_FALSE(InsertIndexRow(locked, 1));
    EXPECT_FALSE(ClearIndexRow(locked, 1));
    EXPECT_FALSE(CopyIndexRow(locked, 1));
    EXPECT_FALSE(DeleteIndexRow(locked, 1));
    EXPECT_FALSE(MoveIndexRowUp(locked, selected));
    EXPECT_EQ(RowNames(locked), (Names_t{"A", "B"}));
    EXPECT_FALSE(locked.Modified);
}

TEST(IndexRowCommands, ClipboardKeys) {
    PlanListNameClass list = ListOf({"A", "B", "C"});
    IndexRowClipboard clip;

    // Paste before anything was copied changes nothing.
    EXPECT_FALSE(PasteIndexRowFromClipboard(&list, 1, clip));
    EXPECT_EQ(RowNames(list), (Names_t{"A", "B", "C"}));
    EXPECT_FALSE(list.Modified);

    // Copy then paste overwrites the selected row.
    ASSERT_TRUE(CopyIndexRowToClipboard(&list, 1, clip));
    ASSERT_TRUE(PasteIndexRowFromClipboard(&list, 3, clip));
    EXPECT_EQ(RowNames(list), (Names_t{"A", "B", "A"}));

    // Cut then paste inserts, every time.
    ASSERT_TRUE(CutIndexRowToClipboard(&list, 2, clip));
    EXPECT_EQ(RowNames(list), (Names_t{"A", "A"}));
    ASSERT_TRUE(PasteIndexRowFromClipboard(&list, 1, clip));
    ASSERT_TRUE(PasteIndexRowFromClipboard(&list, 1, clip));
    EXPECT_EQ(RowNames(list), (Names_t{"B", "B", "A", "A"}));
    ASSERT_TRUE(PasteIndexRowFromClipboard(&list, 5, clip));  // an inserting paste may append
    EXPECT_EQ(list.IndexDataCount(), 5);

    // The Delete key clears the row and ends the cut state, so paste overwrites again.
    ASSERT_TRUE(DeleteKeyOnIndexRow(&list, 5, clip));
    EXPECT_EQ(list.IndexData[4].Name, "");
    ASSERT_TRUE(PasteIndexRowFromClipboard(&list, 5, clip));
    EXPECT_EQ(list.IndexDataCount(), 5);
    EXPECT_EQ(list.IndexData[4].Name, "B");

    // A cut refused on a one-row list keeps the clipboard but still sets the cut state.
    PlanListNameClass single = ListOf({"Z"});
    EXPECT_FALSE(CutIndexRowToClipboard(&single, 1, clip));
    EXPECT_EQ(clip.Row.Name, "B");
    EXPECT_TRUE(clip.Cut);
    ASSERT_TRUE(PasteIndexRowFromClipboard(&single, 1, clip));
    EXPECT_EQ(RowNames(single), (Names_t{"B", "Z"}));

    // Keys with no list chosen, or on a locked list, change no row but still set the state.
    EXPECT_FALSE(CopyIndexRowToClipboard(nullptr, 1, clip));
    EXPECT_FALSE(clip.Cut);
    single.Lock = true;
    EXPECT_FALSE(CutIndexRowToClipboard(&single, 1, clip));
    EXPECT_TRUE(clip.Cut);
    EXPECT_FALSE(PasteIndexRowFromClipboard(&single, 1, clip));
    EXPECT_EQ(single.IndexDataCount(), 2);
}
