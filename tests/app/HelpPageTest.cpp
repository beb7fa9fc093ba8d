// Help > Help: the page shipped inside the program reaches a browser from a private file, and
// the user is told when no browser takes it.
#include "MainWindowFixture.h"

#include <QAction>
#include <QDesktopServices>
#include <QFile>
#include <QMessageBox>
#include <QUrl>

namespace {

class Browser : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void Open(const QUrl& url) { opened << url; }
};

}  // namespace

TEST_F(MainWindowTest, HelpOpensTheShippedPageFromAFileOfItsOwn) {
    Browser browser;
    QDesktopServices::setUrlHandler("file", &browser, "Open");
    Form1->Help1->trigger();
    Form1->Help1->trigger();
    QDesktopServices::unsetUrlHandler("file");
    ASSERT_EQ(browser.opened.size(), 2);
    EXPECT_EQ(browser.opened[0], browser.opened[1]);  // one file, not one per click
    QFile page(browser.opened[0].toLocalFile());
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    EXPECT_TRUE(page.readAll().contains("<title>Tessaray help</title>"));
    // Readable by its owner alone, under a name nobody could have taken beforehand.
    EXPECT_EQ(page.permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
    EXPECT_NE(page.fileName(), QDir::temp().filePath("Tessaray-help.html"));

    // No browser here (the headless platform has none): the user is told, not the terminal.
    Form1->Help1->trigger();
    const auto* box = Form1->findChild<QMessageBox*>("HelpFailureBox");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_TRUE(box->text().contains(page.fileName()));

    delete Form1;  // the page goes with the program
    Form1 = nullptr;
    EXPECT_FALSE(QFile::exists(page.fileName()));
}

#include "HelpPageTest.moc"
