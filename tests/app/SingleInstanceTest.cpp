// The program runs once: a second start ends at once with -1 and shows nothing.
#include "../support/QtTestApp.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QProcessEnvironment IsolatedEnvironment(const QTemporaryDir& dir) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("TESSARAY_HOME", dir.filePath("home"));
    env.insert("XDG_RUNTIME_DIR", dir.path());  // the instance lock lives here
    env.insert("HOME", dir.path());
    return env;
}

}  // namespace

TEST(SingleInstance, SecondStartExitsWithMinusOne) {
    TestApp();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    QProcess first;
    first.setProcessEnvironment(IsolatedEnvironment(dir));
    first.start(TESSARAY_EXECUTABLE, {});
    ASSERT_TRUE(first.waitForStarted(10000));
    // The second start must come after the first has taken the lock, however slow its start.
    QElapsedTimer waited;
    waited.start();
    while (!QFileInfo::exists(dir.filePath("Tessaray.lock")) && waited.elapsed() < 20000 &&
           !first.waitForFinished(50)) {
    }
    ASSERT_EQ(first.state(), QProcess::Running) << first.readAllStandardError().toStdString();
    ASSERT_TRUE(QFileInfo::exists(dir.filePath("Tessaray.lock")));

    QProcess second;
    second.setProcessEnvironment(IsolatedEnvironment(dir));
    second.start(TESSARAY_EXECUTABLE, {});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 255);  // -1 as a process exit status

    first.kill();
    first.waitForFinished(5000);

    // Once the first is gone, the program starts again.
    QProcess third;
    third.setProcessEnvironment(IsolatedEnvironment(dir));
    third.start(TESSARAY_EXECUTABLE, {});
    ASSERT_TRUE(third.waitForStarted(10000));
    third.waitForFinished(1500);
    EXPECT_EQ(third.state(), QProcess::Running);
    third.kill();
    third.waitForFinished(5000);
}
