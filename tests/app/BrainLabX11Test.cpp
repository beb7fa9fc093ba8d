// Under X11 the capture window sees copies made in another program while it is in the
// background. Runs under a virtual X server (see CMakeLists); elsewhere it is skipped.
#include "app/Forms.h"
#include "app/TForm1.h"
#include "import/ui/TFormiPlanImport.h"
#include "../support/QtTestApp.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QListWidget>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

TEST(BrainLabX11, CaptureWindowSeesAnotherProgramsCopyInTheBackground) {
    TestApp();
    const QString xclip = QStandardPaths::findExecutable("xclip");
    if (QGuiApplication::platformName() != "xcb" || xclip.isEmpty()) GTEST_SKIP() << "needs X11 and xclip";
    const fs::path home = fs::temp_directory_path() / ("tessaray-brainlab-x11-" + std::to_string(::getpid()));
    fs::create_directories(home);
    setenv("TESSARAY_HOME", home.c_str(), 1);
    CreateForms();
    Form1->show();
    QApplication::clipboard()->setText("not a curve");
    Form1->SpeedButton1->trigger();
    ASSERT_TRUE(FormiPlanImport->isVisible());
    // Another window of ours takes the focus, so the capture window is in the background.
    QWidget other;
    other.show();
    other.activateWindow();
    QApplication::processEvents();

    QProcess copier;
    copier.start(xclip, {"-quiet", "-selection", "clipboard"});
    ASSERT_TRUE(copier.waitForStarted());
    copier.write("Dose\tLung\t\r\n[Gy]\t[cc] 500.0\t\r\n0.000\t100.000\t\r\n30.000\t40.000\t\r\n");
    copier.closeWriteChannel();
    QListWidget* list = FormiPlanImport->findChild<QListWidget*>("ListBox1");
    QElapsedTimer waited;
    waited.start();
    while (list->count() == 0 && waited.elapsed() < 5000) QApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_FALSE(FormiPlanImport->isActiveWindow());
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), "Lung");

    FormiPlanImport->close();  // takes the clipboard back, so the copier ends
    if (!copier.waitForFinished(2000)) copier.kill();
    copier.waitForFinished(1000);
    delete Form1;
    Form1 = nullptr;
    fs::remove_all(home);
}
