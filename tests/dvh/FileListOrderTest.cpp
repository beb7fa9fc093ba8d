// Texts, keys and sort order of the open-file list.
#include "dvh/FileListOrder.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

OpenFileClass Entry() {
    OpenFileClass e;
    e.FilePath = "/data/exports/plan one.txt";
    e.PatientID = "123";
    e.PatientName = "Doe John ";
    e.PlanID = "P1";
    e.Date = "24/12/2014";
    e.Time = "10:30:00";
    e.Key = "123P124/12/2014 10:30:00";
    return e;
}

TEST(FileListOrder, RowTextsGiveBackTheEntryKey) {
    const OpenFileClass e = Entry();
    EXPECT_EQ(FileListCellText(e, FileListPatientID), "123");
    EXPECT_EQ(FileListCellText(e, FileListPatientName), "Doe John ");
    EXPECT_EQ(FileListCellText(e, FileListPlanID), "P1");
    EXPECT_EQ(FileListCellText(e, FileListFileName), "plan one.txt");
    EXPECT_EQ(FileListCellText(e, FileListDateTime), "24/12/2014 10:30:00");
    EXPECT_EQ(FileListRowKey(FileListCellText(e, 0), FileListCellText(e, 2),
                             FileListCellText(e, 4)),
              e.Key);
    EXPECT_EQ(FileNamePart("no-folder.txt"), "no-folder.txt");
    EXPECT_EQ(FileNamePart("/folder/"), "");
}

TEST(FileListOrder, ComparisonFoldsAsciiCaseAndHonoursTheDirection) {
    EXPECT_EQ(CompareFileListText("abc", "ABC", true), 0);
    EXPECT_LT(CompareFileListText("abc", "ABD", true), 0);
    EXPECT_GT(CompareFileListText("abc", "ABD", false), 0);
    EXPECT_LT(CompareFileListText("ab", "abc", true), 0);
    // '_' (95) lies between upper and lower case; folding to upper puts it after letters.
    EXPECT_GT(CompareFileListText("_", "z", true), 0);
    // Dates sort as text: the day comes first.
    std::vector<std::string> dates = {"02/01/2015", "31/12/2014", "01/06/2016"};
    std::sort(dates.begin(), dates.end(), [](const std::string& a, const std::string& b) {
        return CompareFileListText(a, b, false) < 0;
    });
    EXPECT_EQ(dates, (std::vector<std::string>{"31/12/2014", "02/01/2015", "01/06/2016"}));
}

TEST(FileListOrder, FirstClickSortsDescendingThenDirectionsAlternatePerColumn) {
    int column = 0;
    int flags[FileListColumnCount] = {0, 0, 0, 0, 0};
    EXPECT_FALSE(ClickSortColumn(column, flags, FileListColumnCount, 1));
    EXPECT_EQ(column, 1);
    EXPECT_TRUE(ClickSortColumn(column, flags, FileListColumnCount, 1));
    EXPECT_FALSE(ClickSortColumn(column, flags, FileListColumnCount, 1));
    // Another column keeps its own flag.
    EXPECT_FALSE(ClickSortColumn(column, flags, FileListColumnCount, 2));
    EXPECT_TRUE(ClickSortColumn(column, flags, FileListColumnCount, 1));
    // A flag of any other value than 1 counts as descending and becomes 1.
    flags[3] = 7;
    EXPECT_FALSE(ClickSortColumn(column, flags, FileListColumnCount, 3));
    EXPECT_EQ(flags[3], 1);
    // Columns outside the list change nothing.
    EXPECT_FALSE(ClickSortColumn(column, flags, FileListColumnCount, 5));
    EXPECT_FALSE(ClickSortColumn(column, flags, FileListColumnCount, -1));
    EXPECT_EQ(column, 3);

    // A refill sorts "Date-time" descending whatever its flag, the next click ascending.
    flags[FileListDateTime] = 1;
    EXPECT_FALSE(SortAfterRefill(column, flags));
    EXPECT_EQ(column, FileListDateTime);
    EXPECT_TRUE(ClickSortColumn(column, flags, FileListColumnCount, FileListDateTime));
}

}  // namespace
