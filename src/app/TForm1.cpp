// The main window's frame: creation, menus, start-up work and the host services it offers.
#include "app/TForm1.h"

#include "app/Forms.h"
#include "app/TAboutBox.h"
#include "app/TStartForm.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QStatusBar>
#include <QUrl>

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    setObjectName("Form1");
    setWindowTitle("Tessaray");
    setAcceptDrops(true);
    SetHost(this);
    resize(1000, 720);
    BuildMenus();
    statusBar()->setObjectName("StatusBar1");
}

TForm1::~TForm1() = default;

void TForm1::BuildMenus() {
    File1 = menuBar()->addMenu("&File");
    File1->setObjectName("File1");
    Exit1 = File1->addAction("Exit");
    Exit1->setObjectName("Exit1");
    connect(Exit1, &QAction::triggered, this, &TForm1::Exit1Click);

    Help2 = menuBar()->addMenu("&Help");
    Help2->setObjectName("Help2");
    Help1 = Help2->addAction("Help");
    Help1->setObjectName("Help1");
    connect(Help1, &QAction::triggered, this, &TForm1::Help1Click);
    AboutTessaray1 = Help2->addAction("About Tessaray");
    AboutTessaray1->setObjectName("AboutTessaray1");
    connect(AboutTessaray1, &QAction::triggered, this, &TForm1::AboutTessaray1Click);
}

void TForm1::FormCreate() {
    auto* splash = new TStartForm(this);
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    ComputerName = platform::HostName();

    CurrentPlanIndex = -1;
    splash->close();
    splash->deleteLater();
}

bool TForm1::CaseSensitive() const { return CaseSensitivity; }

void TForm1::StatusText(const std::string& text) {
    statusBar()->showMessage(QString::fromStdString(text));
}

void TForm1::Exit1Click() { close(); }

void TForm1::Help1Click() {
    // The help page ships inside the program; copy it out once so a browser can open it.
    const QString target = QDir::temp().filePath("Tessaray-help.html");
    QFile::remove(target);
    QFile::copy(":/help/index.html", target);
    QDesktopServices::openUrl(QUrl::fromLocalFile(target));
}

void TForm1::AboutTessaray1Click() {
    AboutBox->show();
    AboutBox->raise();
}
