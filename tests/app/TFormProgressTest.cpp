// The progress window: its frame and a read's run of the bar.
#include "app/TFormProgress.h"
#include "QtTestApp.h"

#include <QProgressBar>
#include <gtest/gtest.h>

namespace {

TEST(FormProgress, ShowsWhileAReadRunsAndEndsFull) {
    EnsureQtApp();
    QWidget main;
    main.show();
    TFormProgress progress(&main);
    EXPECT_EQ(progress.windowTitle(), "Please wait...");
    EXPECT_EQ(progress.size(), QSize(280, 85));
    auto* bar = progress.findChild<QProgressBar*>("ProgressBar1");
    EXPECT_EQ(bar->maximum(), 100);

    progress.Begin(40);
    EXPECT_TRUE(progress.isVisible());
    EXPECT_TRUE(main.isEnabled());  // the main window stays usable
    EXPECT_EQ(bar->maximum(), 40);
    EXPECT_EQ(bar->value(), 0);
    progress.Step(39);
    EXPECT_EQ(bar->value(), 39);
    progress.Step(400);
    EXPECT_EQ(bar->value(), 40);
    progress.End();
    EXPECT_FALSE(progress.isVisible());
    EXPECT_EQ(bar->value(), 40);
}

}  // namespace
