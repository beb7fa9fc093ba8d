// Where windows open: the main window centred on the screen, the splash on the main window.
#include "MainWindowFixture.h"

#include "app/TStartForm.h"
#include "app/WindowPlacement.h"

#include <QScreen>

TEST(WindowPlacement, CentredInTheAreaButNeverBeyondItsTopLeft) {
    const struct {
        QSize size;
        QRect area;
        QPoint expected;
    } cases[] = {
        {{992, 693}, {0, 0, 1280, 1024}, {144, 165}},
        {{992, 693}, {1280, 30, 1920, 1050}, {1744, 208}},  // a second screen, a panel on top
        {{992, 693}, {0, 0, 800, 600}, {0, 0}},             // larger than the screen
        {{400, 700}, {0, 24, 1000, 600}, {300, 24}},
    };
    for (const auto& c : cases) EXPECT_EQ(CentredIn(c.size, c.area), c.expected) << c.expected.x();
}

TEST_F(MainWindowTest, MainWindowOpensCentredAndTheSplashOnIt) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(Form1->pos(), CentredIn(Form1->size(), screen));

    Form1->move(100, 50);
    TStartForm splash(Form1);
    const QPoint offset = splash.geometry().center() - Form1->geometry().center();
    EXPECT_LE(offset.manhattanLength(), 1);
}
