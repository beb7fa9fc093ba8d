// The help page: shipped inside the program, copied to a private file that a browser can open.
#include "app/HelpPage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

HelpPage::HelpPage() = default;
HelpPage::~HelpPage() { delete m_file; }

QString HelpPage::Write() {
    // The page is compiled into a static library; without this the linker leaves it out.
    Q_INIT_RESOURCE(tessaray);
    QFile source(":/help/index.html");
    if (!source.open(QIODevice::ReadOnly)) return {};
    const QByteArray page = source.readAll();

    // A name of its own, not a fixed one in the shared temporary folder, where anyone could
    // have put a file or a link first.
    if (!m_file || !QFile::exists(m_file->fileName())) {
        delete m_file;
        m_file = new QTemporaryFile(QDir::temp().filePath("tessaray-help-XXXXXX.html"),
                                    QCoreApplication::instance());
        if (!m_file->open()) {
            delete m_file;
            return {};
        }
    }
    if (!m_file->resize(0) || !m_file->seek(0) || m_file->write(page) != page.size() ||
        !m_file->flush())
        return {};
    return m_file->fileName();
}
