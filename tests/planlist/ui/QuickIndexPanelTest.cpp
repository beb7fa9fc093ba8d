// The quick-index panel's widgets: query, result, value field and key filter.
#include "planlist/ui/QuickIndexPanel.h"
#include "planlist/ui/KeyPressHook.h"

#include "UiTestMain.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(QuickIndexPanel, KeyFilterKeepsDigitsAndOnePoint) {
    TestApplication();
    QLineEdit edit;
    new KeyPressHook(&edit, [&edit](QKeyEvent* key) { return QuickValueKeyRefused(edit.text(), key->text()); });
    QTest::keyClicks(&edit, "1.2.3");
    EXPECT_EQ(edit.text(), "1.23");
    QTest::keyClicks(&edit, "a-,e+ ");
    EXPECT_EQ(edit.text(), "1.23");
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), "1.2");
    QTest::keyClick(&edit, Qt::Key_Left);  // keys without text still work
    QTest::keyClick(&edit, Qt::Key_Delete);
    EXPECT_EQ(edit.text(), "1.");
    // A point is refused while the text has one, even when it is selected.
    edit.selectAll();
    QTest::keyClick(&edit, '.');
    EXPECT_EQ(edit.text(), "1.");
}

TEST(QuickIndexPanel, ValueFieldFollowsTheKind) {
    TestApplication();
    QLineEdit edit;
    edit.setText("12");
    SetUpQuickValueField(&edit, 9);
    EXPECT_TRUE(edit.isReadOnly());
    EXPECT_TRUE(edit.text().isEmpty());
    SetUpQuickValueField(&edit, 0);
    EXPECT_FALSE(edit.isReadOnly());
}

TEST(QuickIndexPanel, QueryAndResult) {
    TestApplication();
    QComboBox structures, kinds;
    QLineEdit value, result;
    structures.addItems({"PTV", "Body"});
    kinds.addItems({"a", "b"});
    structures.setCurrentIndex(1);
    kinds.setCurrentIndex(0);
    value.setText("2.5");
    const QuickIndexQuery q = ReadQuickIndexQuery(&structures, &kinds, &value);
    EXPECT_EQ(q.StructureIndex, 1);
    EXPECT_EQ(q.Kind, 0);
    EXPECT_EQ(q.ValueText, "2.5");
    structures.setCurrentIndex(-1);
    EXPECT_EQ(ReadQuickIndexQuery(&structures, &kinds, &value).StructureIndex, -1);
    ShowQuickIndexResult(&result, 12.3456f, 3);
    EXPECT_EQ(result.text(), "12.346");
    ShowQuickIndexResult(&result, -1, 2);
    EXPECT_TRUE(result.text().isEmpty());
}

}  // namespace
