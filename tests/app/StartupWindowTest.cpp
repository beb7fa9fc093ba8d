// The main window's start-up: settings, tool bars, registered lists; the About box; refusals.
#include "MainWindowFixture.h"

#include "app/TAboutBox.h"
#include "platform/Paths.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QToolBar>

namespace {

void WriteFile(const QString& path, const QByteArray& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

const QByteArray kList =
    "[ListIndex]\r\nCount=1\r\nName1=PTV\r\nItems1=8\r\nValue1=0\r\n";

}  // namespace

TEST_F(MainWindowTest, StartUpAppliesThisComputersSettingsAndLoadsTheRegister) {
    const QByteArray host = QByteArray::fromStdString(platform::HostName());
    WriteFile(Home() + "/Zeta.lst", kList);
    WriteFile(Home() + "/Alpha.lst", kList);
    WriteFile(IniPath(), "[ToolBar-" + host + "]\r\nStandard=2\r\nProject=1\r\nBrainLABRTP=1\r\n"
                         "[Option]\r\nCaseSensitivity=1\r\n"
                         "[PlanList]\r\nCount=3\r\nListName1=Zeta\r\nListName2=Gone\r\n"
                         "ListName3=Alpha\r\n");
    Form1->FormCreate();

    EXPECT_FALSE(Form1->Standard1->isChecked());
    EXPECT_FALSE(Form1->ToolBar2->isVisibleTo(Form1));
    EXPECT_TRUE(Form1->Project1->isChecked());
    EXPECT_TRUE(Form1->BrainLABToolbar);
    EXPECT_TRUE(Form1->BrainLABRTP1->isChecked());
    EXPECT_TRUE(Form1->CaseSensitivity);

    // Lists keep the register's order; the box shows them sorted, nothing chosen.
    ASSERT_EQ(Form1->PlanListNameCount(), 2);
    EXPECT_EQ(Form1->PlanListName[0].Name, "Zeta");
    ASSERT_EQ(Form1->ComboBox1->count(), 2);
    EXPECT_EQ(Form1->ComboBox1->itemText(0), "Alpha");
    EXPECT_EQ(Form1->ComboBox1->currentIndex(), -1);
    for (QPushButton* button : Form1->ListEditButtons()) EXPECT_FALSE(button->isEnabled());
    EXPECT_EQ(Form1->CurrentPlanIndex, -1);

    platform::IniFile ini(IniPath().toStdString());
    ASSERT_EQ(ini.Load(), platform::IniFile::LoadStatus::Ok);
    EXPECT_EQ(ini.ReadInteger("PlanList", "Count", 0), 2);
    EXPECT_EQ(ini.ReadString("PlanList", "ListName2", ""), "Alpha");
}

TEST_F(MainWindowTest, AboutBoxShowsTheVersionAndCloseOnlyHidesIt) {
    AboutBox = new TAboutBox(Form1);
    EXPECT_EQ(AboutBox->windowTitle(), "About Tessaray");
    EXPECT_EQ(AboutBox->Version->text(), "Version 1.0.0");
    Form1->AboutTessaray1->trigger();
    EXPECT_TRUE(AboutBox->isVisible());
    Form1->AboutTessaray1->trigger();  // shown again, not a second box
    EXPECT_TRUE(AboutBox->isVisible());
    AboutBox->OKButton->click();
    EXPECT_FALSE(AboutBox->isVisible());
    EXPECT_EQ(Form1->findChildren<TAboutBox*>().size(), 1);
    AboutBox = nullptr;
}

TEST_F(MainWindowTest, DifferentialExportIsRefusedWithItsCaption) {
    const std::string path = std::string(TESSARAY_TEST_DATA) + "/broken/differential.txt";
    EXPECT_EQ(Form1->ReadDvhHeader(path), 0);
    QMessageBox* box = Form1->findChild<QMessageBox*>("InformationBox");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), "Unsupported DVH Type");
    EXPECT_EQ(box->text(), "Cannot read differential DVH file [ differential.txt ]");
    EXPECT_TRUE(box->isVisible());
}

TEST_F(MainWindowTest, FileDialogsAreMadeOnFirstUseWithTheirSettings) {
    EXPECT_TRUE(Form1->findChildren<QFileDialog*>().isEmpty());
    for (LazyFileDialog* d : {&Form1->SaveDialog1, &Form1->SaveDialog2, &Form1->ImportDialog, &Form1->OpenDialog1})
        EXPECT_FALSE(d->Made());

    const struct {
        LazyFileDialog& dialog;
        const char *name, *title;
        QFileDialog::AcceptMode mode;
    } dialogs[] = {{Form1->SaveDialog1, "SaveDialog1", "Save image", QFileDialog::AcceptSave},
                   {Form1->SaveDialog2, "SaveDialog2", "Export List Data", QFileDialog::AcceptSave},
                   {Form1->ImportDialog, "ImportDialog", "Import List Data", QFileDialog::AcceptOpen},
                   {Form1->OpenDialog1, "OpenDialog1", "Open DVH Files", QFileDialog::AcceptOpen}};
    for (const auto& d : dialogs) {
        QFileDialog* made = d.dialog.get();
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(d.dialog.get(), made);  // made once
        EXPECT_EQ(made->parent(), Form1);
        EXPECT_EQ(made->objectName(), d.name);
        EXPECT_EQ(made->windowTitle(), d.title);
        EXPECT_EQ(made->acceptMode(), d.mode);
    }
    EXPECT_EQ(Form1->findChildren<QFileDialog*>().size(), 4);
}
