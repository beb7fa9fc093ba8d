// A program folder of its own for a window test, with the example plan list registered.
#pragma once

#include <QFile>
#include <QTemporaryDir>
#include <QtGlobal>

/// Makes `home` the program folder (TESSARAY_HOME) and registers the example list "Prostate"
/// in it, so that example plans link to it as they open. False when the folder cannot be set up.
inline bool UseExampleProgramFolder(const QTemporaryDir& home) {
    if (!home.isValid()) return false;
    qputenv("TESSARAY_HOME", home.path().toUtf8());
    if (!QFile::copy(QStringLiteral(TESSARAY_EXAMPLES "/Prostate.lst"), home.filePath("Prostate.lst")))
        return false;
    QFile ini(home.filePath("Tessaray.ini"));
    if (!ini.open(QIODevice::WriteOnly)) return false;
    return ini.write("[PlanList]\r\nCount=1\r\nListName1=Prostate\r\n") > 0;
}
