// Application object and single-instance guard.
#include "app/TessarayApplication.h"

#include "app/DesignedFont.h"

#include <QDir>
#include <QLockFile>
#include <QMessageBox>
#include <QStandardPaths>

#include <exception>
#include <memory>

TessarayApplication::TessarayApplication(int& argc, char** argv) : QApplication(argc, argv) {
    NameApplication();
    UseDesignedFont();
}

void NameApplication() {
    QCoreApplication::setApplicationName("Tessaray");
    QCoreApplication::setApplicationVersion("1.0.0");
    // No display name: the window system would append it to every caption ("Settings... —
    // Tessaray"), and each window's caption is its own text exactly.
}

bool TessarayApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ShowCurrentException(activeWindow());
    }
    return false;
}

void ShowCurrentException(QWidget* parent) {
    QString text;
    try {
        throw;
    } catch (const std::exception& e) {
        text = QString::fromLocal8Bit(e.what());
    } catch (...) {
    }
    QMessageBox::critical(parent, "Tessaray", text);
}

bool ClaimSingleInstance() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    // Held for the whole run; released by the operating system when the process ends.
    static std::unique_ptr<QLockFile> guard;
    guard = std::make_unique<QLockFile>(QDir(folder).filePath("Tessaray.lock"));
    guard->setStaleLockTime(0);
    if (guard->tryLock(0)) return true;
    // A lock we could not even create (unwritable folder) must not stop the program.
    return guard->error() != QLockFile::LockFailedError;
}
