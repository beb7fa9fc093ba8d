// The BrainLAB tool bar through the real clipboard: tables open their plan dialogs, other
// text opens the capture window, curves are collected and become a plan, and clipboard
// structures are added to a BrainSCAN plan.
#include "app/Forms.h"
#include "app/TForm1.h"
#include "dvh/FileListOrder.h"
#include "import/ui/TFormBSCAN.h"
#include "import/ui/TFormiPlan.h"
#include "import/ui/TFormiPlanImport.h"
#include "../support/QtTestApp.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

const char* kBrainScan = "\tPTV\tBody\r\n\t10\t1000\r\n  1\t100\t100\r\n  2\t100\t60\r\n  3\t50\t20\r\n  4\t0\t0\r\n";
const char* kIPlanGy = "Dose\tPTV\t\r\n[Gy]\t[%] 10.0\t\r\n0.000\t100.000\t\r\n30.000\t50.000\t\r\n60.000\t0.000\t\r\n";

class BrainLabImport : public ::testing::Test {
protected:
    static fs::path Home() { return fs::temp_directory_path() / ("tessaray-brainlab-ui-" + std::to_string(::getpid())); }
    static void SetUpTestSuite() {
        fs::create_directories(Home() / "program");
        setenv("TESSARAY_HOME", (Home() / "program").c_str(), 1);
        // The trash that Delete fills.
        setenv("XDG_DATA_HOME", (Home() / "share").c_str(), 1);
        TestApp();
    }
    static void TearDownTestSuite() { fs::remove_all(Home()); }
    void SetUp() override {
        CreateForms();
        Form1->show();
        Form1->PlanListName.clear();
        Form1->ReadFolder = "/data/dvh";
        Form1->ImportPlanNumber = 0;
    }
    void TearDown() override {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "BrainLabErrorBox" || w->objectName() == "CaptureErrorBox") delete w;
        delete Form1;
        Form1 = nullptr;
        QApplication::clipboard()->clear();
    }
    static void Copy(const QString& text) {
        QApplication::clipboard()->setText(text);
        QApplication::processEvents();
    }
    static void Press(QWidget* form, const char* button) {
        form->findChild<QPushButton*>(button)->click();
        QApplication::processEvents();
    }
    static QString ErrorText() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "BrainLabErrorBox" && w->isVisible()) {
                const QString text = static_cast<QMessageBox*>(w)->windowTitle() + ": " + static_cast<QMessageBox*>(w)->text();
                w->close();
                return text;
            }
        return {};
    }
    static QLineEdit* Edit(QWidget* form, const char* name) { return form->findChild<QLineEdit*>(name); }
};

}  // namespace

TEST_F(BrainLabImport, BrainScanTableBecomesAPlanAndCancelTakesItsNumberBack) {
    Copy(kBrainScan);
    Form1->SpeedButton1->trigger();
    ASSERT_TRUE(FormBSCAN->isVisible());
    EXPECT_EQ(FormBSCAN->findChild<QComboBox*>("ComboBox1")->currentText(), "Body");
    EXPECT_EQ(Edit(FormBSCAN, "Edit4")->text(), "Plan_1");
    EXPECT_EQ(Edit(FormBSCAN, "Edit1")->text(), "temp");
    Press(FormBSCAN, "Button2");
    EXPECT_EQ(Form1->ImportPlanNumber, 0);
    // The close box acts as Cancel.
    Form1->SpeedButton1->trigger();
    EXPECT_EQ(Form1->ImportPlanNumber, 1);
    FormBSCAN->close();
    EXPECT_EQ(Form1->ImportPlanNumber, 0);

    Form1->SpeedButton1->trigger();
    Press(FormBSCAN, "Button1");
    EXPECT_EQ(ErrorText(), "BrainSCAN - DVH: Prescribed dose is not specified.");
    Edit(FormBSCAN, "Edit5")->setText(".");  // pasted text the key filter never saw
    Press(FormBSCAN, "Button1");
    EXPECT_FALSE(ErrorText().isEmpty());
    EXPECT_EQ(Form1->PDatasetCount(), 0);
    QTest::keyClicks(Edit(FormBSCAN, "Edit5"), "600a0");
    EXPECT_EQ(Edit(FormBSCAN, "Edit5")->text(), ".6000");
    Edit(FormBSCAN, "Edit5")->setText("6000");
    EXPECT_EQ(FormBSCAN->findChild<QLabel*>("Label6")->text(), "cGy");
    Press(FormBSCAN, "Button1");
    ASSERT_EQ(Form1->PDatasetCount(), 1);
    EXPECT_FALSE(FormBSCAN->isVisible());
    EXPECT_EQ(Form1->ImportPlanNumber, 1);
    const PDatasetClass& plan = Form1->PDataset[0];
    EXPECT_EQ(plan.FileType, FileTypeBrainScan);
    EXPECT_TRUE(QRegularExpression("^/data/dvh/BrainSCAN-Plan_1_\\d{14}$").match(QString::fromStdString(plan.FilePath)).hasMatch())
        << plan.FilePath;
    EXPECT_EQ(plan.Key, "tempPlan_1" + plan.Date + " " + plan.Time);
    EXPECT_EQ(plan.BodyIndex, 1);
    EXPECT_FLOAT_EQ(plan.DVHDataset[0].PrescribedDose, 60);
    EXPECT_EQ(Form1->CurrentPlanIndex, 0);

    // A second table adds its structures; one already present refuses the whole table.
    ASSERT_TRUE(Form1->Adddatatocurrentplan1->isEnabled());
    Copy("\tCord\r\n\t5\r\n  1\t100\r\n  2\t20\r\n");
    Form1->Adddatatocurrentplan1->trigger();
    EXPECT_EQ(Form1->PDataset[0].DVHDatasetCount(), 3);
    EXPECT_EQ(Form1->ClipboardText.substr(0, 5), "\tCord");
}

TEST_F(BrainLabImport, IPlanTableInGyAsksForTheDose) {
    Copy(kIPlanGy);
    Form1->SpeedButton1->trigger();
    ASSERT_TRUE(FormiPlan->isVisible());
    EXPECT_TRUE(FormiPlan->FromClipboardTable);
    QLineEdit* dose = Edit(FormiPlan, "Edit5");
    EXPECT_TRUE(dose->text().isEmpty());
    EXPECT_FALSE(dose->isReadOnly());
    FormiPlan->findChild<QListWidget*>("ListBox1")->setCurrentRow(-1);
    Press(FormiPlan, "Button1");
    EXPECT_EQ(ErrorText(), "iPlan - DVH: Plan is not specified.");
    FormiPlan->findChild<QListWidget*>("ListBox1")->setCurrentRow(0);
    Press(FormiPlan, "Button1");
    EXPECT_EQ(ErrorText(), "iPlan - Prescribed dose: Input prescribed dose.");
    dose->setText("60");
    Press(FormiPlan, "Button1");
    ASSERT_EQ(Form1->PDatasetCount(), 1);
    EXPECT_EQ(Form1->PDataset[0].FileType, FileTypeIPlan);
    EXPECT_FLOAT_EQ(Form1->PDataset[0].DVHDataset[0].DVset[1].DosePercent, 50);
}

TEST_F(BrainLabImport, CaptureWindowCollectsCurvesIntoAPlan) {
    Copy("nothing of BrainLAB");
    Form1->SpeedButton1->trigger();
    ASSERT_TRUE(FormiPlanImport->isVisible());
    EXPECT_FALSE(Form1->isVisible());
    EXPECT_TRUE(Form1->ClipboardText.empty());
    QPushButton* ok = FormiPlanImport->findChild<QPushButton*>("Button1");
    EXPECT_FALSE(ok->isEnabled());
    Copy("Dose\tLung\t\r\n[Gy]\t[cc] 500.0\t\r\n0.000\t100.000\t\r\n30.000\t40.000\t\r\n60.000\t0.000\t\r\n");
    Copy("Dose\tLung\t\r\n[Gy]\t[cc] 500.0\t\r\n0.000\t100.000\t\r\n30.000\t40.000\t\r\n60.000\t0.000\t\r\n");
    Copy("Dose\tBody\t\r\n[Gy]\t[cc] 9000.0\t\r\n0.000\t100.000\t\r\n30.000\t10.000\t\r\n60.000\t0.000\t\r\n");
    QListWidget* list = FormiPlanImport->findChild<QListWidget*>("ListBox1");
    ASSERT_EQ(list->count(), 2);
    EXPECT_TRUE(ok->isEnabled());
    // A curve whose numbers do not convert is reported and not listed.
    Copy("Dose\tEye\t\r\n[Gy]\t[cc] 1.0\t\r\n0.000\t1x0\t\r\n");
    EXPECT_EQ(list->count(), 2);

    Press(FormiPlanImport, "Button1");
    EXPECT_FALSE(FormiPlanImport->isVisible());
    EXPECT_TRUE(Form1->isVisible());
    EXPECT_TRUE(QApplication::clipboard()->text().isEmpty());
    ASSERT_TRUE(FormiPlan->isVisible());
    EXPECT_FALSE(FormiPlan->FromClipboardTable);
    EXPECT_EQ(FormiPlan->findChild<QComboBox*>("ComboBox1")->currentText(), "Body");
    QLineEdit* dose = Edit(FormiPlan, "Edit5");
    EXPECT_FALSE(dose->isReadOnly());
    dose->setText("6000");  // cGy: 60 Gy
    Press(FormiPlan, "Button1");
    ASSERT_EQ(Form1->PDatasetCount(), 1);
    const DVHDatasetClass& lung = Form1->PDataset[0].DVHDataset[0];
    EXPECT_FLOAT_EQ(lung.PrescribedDose, 60);
    EXPECT_FLOAT_EQ(lung.DVset[1].DosePercent, 50);
    EXPECT_FLOAT_EQ(Form1->CaptureDVHDataset[0].DVset[1].DosePercent, 30);  // the capture stays
}

TEST_F(BrainLabImport, ASavedClipboardPlansRowNamesNoFileAndItsDeleteLeavesTheEntryWhole) {
    const fs::path read = Home() / "read", store = Home() / "store";
    fs::create_directories(read);
    fs::create_directories(store);
    Form1->ReadFolder = read.string();
    Form1->SaveFolder = store.string();
    Copy(kBrainScan);
    Form1->SpeedButton1->trigger();
    Edit(FormBSCAN, "Edit5")->setText("6000");
    Press(FormBSCAN, "Button1");
    ASSERT_EQ(Form1->PDatasetCount(), 1);
    Form1->PlanListName.emplace_back().Name = "Head";
    auto* lists = Form1->findChild<QComboBox*>("ComboBox1");
    lists->addItem("Head");
    lists->setCurrentIndex(lists->count() - 1);
    Form1->findChild<QPushButton*>("Button9")->click();
    ASSERT_NE(Form1->findChild<QMessageBox*>("SaveDvhCompletedBox"), nullptr);
    delete Form1->findChild<QMessageBox*>("SaveDvhCompletedBox");
    const fs::path entry = store / "Head" / "temp_Plan_1.txt", companion = store / "Head" / "temp_Plan_1.mod";
    ASSERT_TRUE(fs::exists(entry));
    ASSERT_TRUE(fs::exists(companion));

    // The scan lists the plan by what it was made from, no file: Delete and "Delete ALL" on its
    // row take nothing from the entry, which other users share.
    Form1->ScanDirectory();
    auto* list = Form1->findChild<QTreeWidget*>("ListView1");
    ASSERT_EQ(list->topLevelItemCount(), 1);
    QTreeWidgetItem* row = list->topLevelItem(0);
    const QString file = row->text(FileListFileName);
    EXPECT_TRUE(file.startsWith("BrainSCAN-Plan_1_")) << file.toStdString();
    list->setCurrentItem(row);
    row->setSelected(true);
    QTest::keyClick(list, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_TRUE(fs::exists(entry));
    Form1->DeleteAll1Click();
    auto* box = Form1->findChild<QMessageBox*>("DeleteAllBox");
    ASSERT_NE(box, nullptr);
    box->button(QMessageBox::Ok)->click();
    EXPECT_TRUE(fs::exists(entry));
    EXPECT_TRUE(fs::exists(companion));
    EXPECT_FALSE(fs::exists(Home() / "share" / "Trash" / "files" / "temp_Plan_1.txt"));
}
