// The help page: shipped inside the program, copied to a private file that a browser can open.
#pragma once

#include <QPointer>
#include <QString>
#include <QTemporaryFile>

class HelpPage {
public:
    HelpPage();
    ~HelpPage();
    HelpPage(const HelpPage&) = delete;
    HelpPage& operator=(const HelpPage&) = delete;

    /// Writes the page into a temporary file only this user can read, made on first use and
    /// removed when the program ends; returns its path, or "" when it cannot be written.
    QString Write();

private:
    // Owned by the application object as well, so the page goes when the program ends even
    // though the main window is never destroyed.
    QPointer<QTemporaryFile> m_file;
};
