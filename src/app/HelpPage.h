// The help page: shipped inside the program, copied to a private file that a browser can open.
#pragma once

#include <QString>

#include <memory>

class QTemporaryFile;

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
    std::unique_ptr<QTemporaryFile> m_file;
};
