// The main window's frame: creation, start-up work and the host services it offers.
#include "app/TForm1.h"

#include "app/ChartCurveCache.h"
#include "app/DesignedFont.h"
#include "app/Forms.h"
#include "app/HelpPage.h"
#include "app/LockWaitDisplay.h"
#include "app/TFormOption.h"
#include "app/TStartForm.h"
#include "widgets/TextBytes.h"
#include "widgets/MessageBoxes.h"
#include "app/WindowPlacement.h"
#include "import/ImportHandOver.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QApplication>
#include <QCheckBox>
#include <QMenuBar>
#include <QMessageBox>
#include <QShowEvent>
#include <QStatusBar>
#include <QToolBar>

TForm1::TForm1(QWidget* parent) : QMainWindow(parent), m_curveCache(std::make_unique<ChartCurveCache>()) {
    setObjectName("Form1");
    setWindowTitle("Tessaray");
    setAcceptDrops(true);
    SetHost(this);
    InstallImportReaders(*this);
    setFont(DesignedFont(12));
    BuildMenus();
    BuildToolBars();
    BuildCentral();
    statusBar()->setObjectName("StatusBar1");
    statusBar()->setSizeGripEnabled(false);
    m_lockWaitDisplay = std::make_unique<LockWaitDisplay>(this);
    ConnectCommands();
    SetUpIndexViews();
    // Single border, no maximize box: the window keeps its designed client size.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(992, 674 + menuBar()->sizeHint().height());
    CentreOnScreen(this);
}

TForm1::~TForm1() = default;

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous() && !m_shownOnce) {
        m_shownOnce = true;
        FormShow();
    }
}

void TForm1::FormShow() { ToolBar5->setVisible(BrainLABToolbar); }

bool TForm1::CaseSensitive() const {
    // Every name comparison reads the box itself: an unsaved tick counts at once.
    if (FormOption) return FormOption->CheckBox2->isChecked();
    return CaseSensitivity;
}

void TForm1::StatusText(const std::string& text) {
    statusBar()->showMessage(FromBytes(text));  // may name a file
}

bool TForm1::MoveToTrash(const std::string& path) {
    // The platform's own trash: a restore from the desktop brings the file back where it was.
    const QString file = QFile::decodeName(QByteArray::fromStdString(path));
    if (!QFileInfo(file).isFile()) return false;
    // Qt makes the trash inside the user's data folder only when that folder exists; without
    // it, it would make one in the working folder.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty() || !QDir().mkpath(data)) return false;
    QString inTrash;
    if (!QFile::moveToTrash(file, &inTrash)) return false;
    if (QFileInfo(inTrash).isAbsolute()) return true;
    // Anywhere but a real trash the user would never find it: put it back.
    QFile::rename(inTrash, file);
    return false;
}

void TForm1::Inform(const std::string& text, const std::string& caption) {
    NewMessageBox(BoxRole::Report, QMessageBox::Information, QString::fromStdString(caption), FromBytes(text),
                  QMessageBox::Ok, this, "InformationBox")
        ->show();
}
