// The help page: shipped inside the program, copied to a private file that a browser can open.
#include "app/HelpPage.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

HelpPage::HelpPage() = default;
HelpPage::~HelpPage() = default;

QString HelpPage::Write() {
    // The page is compiled into a static library; without this the linker leaves it out.
    Q_INIT_RESOURCE(tessaray);
    QFile source(":/help/index.html");
    if (!source.open(QIODevice::ReadOnly)) return {};
    const QByteArray page = source.readAll();

    // A name of its own, not a fixed one in the shared temporary folder, where anyone could
    // have put a file or a link first.
    if (!m_file || !QFile::exists(m_file->fileName())) {
        m_file = std::make_unique<QTemporaryFile>(QDir::temp().filePath("tessaray-help-XXXXXX.html"));
        if (!m_file->open()) {
            m_file.reset();
            return {};
        }
    }
    if (!m_file->resize(0) || !m_file->seek(0) || m_file->write(page) != page.size() ||
        !m_file->flush())
        return {};
    return m_file->fileName();
}
