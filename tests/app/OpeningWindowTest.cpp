// The main window's opening commands, driven through its widgets: open, drop, scan, the
// dialogs that continue a load, the list view's sorting and deletion to the desktop trash.
#include "app/Forms.h"
#include "app/TForm1.h"
#include "app/TFormDVHmatch.h"
#include "app/TFormFileList.h"
#include "app/TFormInputBox.h"
#include "app/TFormOption.h"
#include "app/TFormProgress.h"
#include "app/TFormSelectPlanList.h"
#include "import/SaveDvh.h"
#include "import/ui/TFormXiO.h"
#include "dvh/StoreEntry.h"
#include "platform/Paths.h"
#include "platform/AtomicWrite.h"
#include "../support/LockHeldElsewhere.h"
#include "LockWaitShown.h"
#include "../support/QtTestApp.h"
#include "../support/RealData.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>
#include <gtest/gtest.h>

#include <qcustomplot.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

const fs::path kData = fs::path(TESSARAY_TEST_DATA) / "opening";

class OpeningWindow : public ::testing::Test {
protected:
    static fs::path Home() {
        return fs::temp_directory_path() / ("tessaray-opening-ui-" + std::to_string(::getpid()));
    }
    static void SetUpTestSuite() {
        // Settings, plan lists and the trash all live under one temporary home.
        const fs::path home = Home();
        fs::create_directories(home / "program");
        setenv("HOME", home.c_str(), 1);
        setenv("TESSARAY_HOME", (home / "program").c_str(), 1);
        setenv("XDG_DATA_HOME", (home / "share").c_str(), 1);
        TestApp();
    }
    static void TearDownTestSuite() { fs::remove_all(Home()); }

    void SetUp() override {
        m_files = fs::temp_directory_path() /
                  ("tessaray-opening-files-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_files);
        fs::create_directories(m_files);
        for (const auto& f : fs::directory_iterator(kData))
            if (f.is_regular_file()) fs::copy_file(f.path(), m_files / f.path().filename());
        fs::remove_all(fs::path(std::getenv("XDG_DATA_HOME")) / "Trash");
        CreateForms();
        Form1->show();
        Form1->PlanListName.clear();
        Form1->ReadFolder.clear();
        Form1->SaveFolder.clear();
    }
    void TearDown() override {
        delete Form1;  // its dialogs go with it
        Form1 = nullptr;
        AboutBox = nullptr;
        FormOption = nullptr;
        FormSList = nullptr;
        FormGraphView = nullptr;
        FormIndex = nullptr;
        FormDVHs = nullptr;
        FormProgress = nullptr;
        FormSelectPlanList = nullptr;
        FormDVHmatch = nullptr;
        FormInputBox = nullptr;
        FormFileList = nullptr;
        FormXiO = nullptr;
        fs::remove_all(m_files);
    }

    std::string File(const std::string& name) const { return (m_files / name).string(); }
    void AddLists(std::initializer_list<const char*> names) {
        for (const char* n : names) {
            PlanListNameClass l;
            l.Name = n;
            Form1->PlanListName.push_back(l);
        }
    }
    QTreeWidget* List() { return Form1->findChild<QTreeWidget*>("ListView1"); }
    QStringList Column(int c) {
        QStringList texts;
        for (int i = 0; i < List()->topLevelItemCount(); ++i)
            texts << List()->topLevelItem(i)->text(c);
        return texts;
    }
    QTreeWidgetItem* RowOfFile(const QString& fileName) {
        for (int i = 0; i < List()->topLevelItemCount(); ++i)
            if (List()->topLevelItem(i)->text(3) == fileName) return List()->topLevelItem(i);
        return nullptr;
    }
    void Select(QTreeWidgetItem* row) {
        List()->setCurrentItem(row);
        row->setSelected(true);
    }
    void Drop(const std::vector<std::string>& paths) {
        QList<QUrl> urls;
        for (const auto& p : paths) urls << QUrl::fromLocalFile(QString::fromStdString(p));
        QMimeData mime;
        mime.setUrls(urls);
        // A drop is delivered to the widget under the cursor, as the window system does.
        QWidget* target = Form1->centralWidget();
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
    }
    void ChooseList(int row) {
        ASSERT_TRUE(FormSelectPlanList->isVisible());
        FormSelectPlanList->findChild<QListWidget*>("ListBox1")->setCurrentRow(row);
        FormSelectPlanList->findChild<QPushButton*>("Button1")->click();
    }
    void EnterDose(const char* text) {
        ASSERT_TRUE(FormInputBox->isVisible());
        QTest::keyClicks(FormInputBox->findChild<QLineEdit*>("Edit1"), text);
        FormInputBox->findChild<QPushButton*>("Button1")->click();
    }
    /// Loads an example plan of the list "Head", chosen for Save DVH into a store under the
    /// test's folder whose list folder exists; the store export it saves to ("" when not loaded).
    std::string ExamplePlanToSave() {
        AddLists({"Head"});
        Form1->OpenFiles({std::string(TESSARAY_EXAMPLES) + "/Head_BrainSCAN.txt"});
        if (Form1->PDatasetCount() != 1) return "";
        Form1->SaveFolder = (m_files / "store").string();
        fs::create_directories(m_files / "store" / "Head");
        auto* lists = Form1->findChild<QComboBox*>("ComboBox1");
        lists->addItem("Head");
        lists->setCurrentIndex(0);
        const PDatasetClass& plan = Form1->PDataset[0];
        return StorePaths(Form1->SaveFolder, "Head", plan.PatientID, plan.PlanID).TextFile;
    }
    QString TrashFile(const std::string& name) const {
        return QString::fromStdString(
            (fs::path(std::getenv("XDG_DATA_HOME")) / "Trash" / "files" / name).string());
    }

    fs::path m_files;
};

TEST_F(OpeningWindow, OpeningOneFileLoadsItSeveralOnlyListThem) {
    AddLists({"Head"});
    Form1->OpenFiles({File("head_H1.txt"), File("prostate_P2.txt")});
    EXPECT_EQ(List()->topLevelItemCount(), 2);
    EXPECT_EQ(Form1->PDatasetCount(), 0);

    Form1->OpenFiles({File("head_H1.txt")});
    ASSERT_EQ(Form1->PDatasetCount(), 1);
    EXPECT_EQ(Form1->CurrentPlanIndex, 0);
    EXPECT_EQ(Form1->PDataset[0].DVHDatasetCount(), 2);
    EXPECT_EQ(Form1->PDataset[0].PlanListIndex, 0);
    EXPECT_FALSE(FormSelectPlanList->isVisible());
    EXPECT_EQ(List()->topLevelItemCount(), 2);
    // Opened again: shown, not loaded twice.
    Form1->OpenFiles({File("head_H1.txt")});
    EXPECT_EQ(Form1->PDatasetCount(), 1);
}

TEST_F(OpeningWindow, UnreadableAndMultiPlanFilesLoadNothingAndSayWhy) {
    Form1->OpenFiles({File("not_a_dvh.txt")});
    EXPECT_EQ(List()->topLevelItemCount(), 0);
    EXPECT_FALSE(Form1->statusBar()->currentMessage().isEmpty());

    Form1->OpenFiles({File("several_plans.txt")});
    EXPECT_EQ(Form1->statusBar()->currentMessage(),
              "Plan Comparison DVH File cannot read this program.");
    EXPECT_EQ(List()->topLevelItemCount(), 0);
    EXPECT_EQ(Form1->PDatasetCount(), 0);

    // A BrainLAB table as copied from the planning system is no export file.
    if (const std::string table = RealDataFile("victorgabr+pps/dvh_ptv_based.txt"); fs::exists(table)) {
        Form1->OpenFiles({table});
        EXPECT_EQ(List()->topLevelItemCount(), 0);
        EXPECT_TRUE(Form1->statusBar()->currentMessage().contains("dvh_ptv_based.txt"));
    }

    // Readable, then unreadable: the entry is kept but the view is not refilled.
    Form1->OpenFiles({File("head_H1.txt"), File("not_a_dvh.txt")});
    EXPECT_EQ(Form1->OpenFileCount(), 1);
    EXPECT_EQ(List()->topLevelItemCount(), 0);
}

TEST_F(OpeningWindow, DuplicateKeyIsListedOnceAndDropSkipsUnreadableFiles) {
    Drop({File("head_H1.txt"), File("not_a_dvh.txt"), File("head_H1_copy.txt")});
    EXPECT_EQ(List()->topLevelItemCount(), 1);
    EXPECT_EQ(Form1->PDatasetCount(), 0);  // several files dropped: nothing loaded

    AddLists({"Lung", "Prostate"});
    Drop({File("prostate_P2.txt")});  // one file dropped: loaded, two lists match
    EXPECT_EQ(List()->topLevelItemCount(), 2);
    ASSERT_EQ(Form1->PDatasetCount(), 1);
    ChooseList(2);
    EXPECT_EQ(Form1->PDataset[0].PlanListIndex, 1);
    EXPECT_EQ(Form1->PDataset[0].DVHDatasetCount(), 2);
    EXPECT_EQ(Form1->CurrentPlanIndex, 0);
}

TEST_F(OpeningWindow, PlanListChoiceDependsOnHowManyListsMatch) {
    // None: the choice dialog, with "N/A" chosen.
    Form1->OpenFiles({File("head_H1.txt")});
    ASSERT_TRUE(FormSelectPlanList->isVisible());
    EXPECT_FALSE(Form1->FormEnabled());
    ChooseList(0);
    EXPECT_TRUE(Form1->FormEnabled());
    EXPECT_EQ(Form1->PDataset[0].PlanListIndex, -1);
    EXPECT_EQ(Form1->PDataset[0].DVHDatasetCount(), 2);

    // One: linked without a question.
    AddLists({"Prostate"});
    Form1->OpenFiles({File("prostate_P2.txt")});
    EXPECT_FALSE(FormSelectPlanList->isVisible());
    EXPECT_EQ(Form1->PDataset[1].PlanListIndex, 0);

    // Several: asked.
    Form1->ClearList1Click();
    AddLists({"Lung"});
    Form1->OpenFiles({File("prostate_P2.txt")});
    ASSERT_TRUE(FormSelectPlanList->isVisible());
    ASSERT_EQ(FormSelectPlanList->ListBox1->count(), 3);
    EXPECT_EQ(FormSelectPlanList->ListBox1->item(0)->text(), "N/A");
    EXPECT_EQ(FormSelectPlanList->ListBox1->item(2)->text(), "Lung");
    EXPECT_EQ(FormSelectPlanList->ListBox1->currentRow(), 0);
    ChooseList(1);
    EXPECT_EQ(Form1->PDataset[0].PlanListIndex, 0);
}

TEST_F(OpeningWindow, PlanSumAsksItsDoseAndCancelRemovesExactlyThatPlan) {
    AddLists({"Head", "Prostate"});
    Form1->OpenFiles({File("head_H1.txt")});
    Form1->OpenFiles({File("plansum_S1.txt")});
    ASSERT_TRUE(FormInputBox->isVisible());
    EXPECT_EQ(FormInputBox->Mode, 9);
    EXPECT_EQ(Form1->PDatasetCount(), 2);
    FormInputBox->findChild<QPushButton*>("Button2")->click();
    ASSERT_EQ(Form1->PDatasetCount(), 1);
    EXPECT_EQ(Form1->PDataset[0].PlanID, "H1");
    EXPECT_EQ(Form1->PDataset[0].DVHDatasetCount(), 2);
    EXPECT_EQ(List()->topLevelItemCount(), 2);  // the file stays listed
    EXPECT_TRUE(Form1->FormEnabled());

    // Nothing dropped while the prompt waits starts another load.
    Form1->OpenFiles({File("plansum_S1.txt")});
    ASSERT_TRUE(FormInputBox->isVisible());
    Drop({File("prostate_P2.txt")});
    EXPECT_EQ(Form1->PDatasetCount(), 2);
    EXPECT_EQ(List()->topLevelItemCount(), 2);
    FormInputBox->findChild<QPushButton*>("Button2")->click();

    // Opened again: a new plan, a new question, and this time a dose.
    Form1->OpenFiles({File("plansum_S1.txt")});
    ASSERT_EQ(Form1->PDatasetCount(), 2);
    EnterDose("45.6789");
    ASSERT_EQ(Form1->PDataset[1].DVHDatasetCount(), 2);
    EXPECT_FLOAT_EQ(Form1->PDataset[1].DVHDataset[0].PrescribedDose, 45.679f);
    EXPECT_EQ(Form1->CurrentPlanIndex, 1);
}

TEST_F(OpeningWindow, ScanAtStartUpListsTheReadFolder) {
    Form1->ReadFolder = m_files.string();
    FormOption->findChild<QCheckBox*>("CheckBox1")->setChecked(true);
    Form1->AutoScan = true;
    FormOption->FormCreate();  // the settings form's creation handler runs the AutoScan
    // head_H1 and head_H1_copy share a key and are both listed; prostate_P2, plansum_S1.
    EXPECT_EQ(List()->topLevelItemCount(), 4);
    EXPECT_EQ(Form1->PDatasetCount(), 0);

    Form1->ReadFolder.clear();
    Form1->Scan1Click();  // no read folder: the question, nothing scanned
    auto* box = Form1->findChild<QMessageBox*>("ScanFolderBox");
    ASSERT_NE(box, nullptr);
    box->button(QMessageBox::Cancel)->click();
    EXPECT_EQ(List()->topLevelItemCount(), 4);
}

TEST_F(OpeningWindow, ColumnsSortDescendingFirstAndARefillSortsByDateTime) {
    Form1->OpenFiles({File("head_H1.txt"), File("prostate_P2.txt"), File("plansum_S1.txt")});
    // Dates sort as text: 15/06/2021 > 03/03/2022 > 01/02/2020, descending after a refill.
    EXPECT_EQ(Column(0), (QStringList{"222", "333", "111"}));
    Form1->ListView1ColumnClick(4);  // next click on "Date-time": ascending
    EXPECT_EQ(Column(0), (QStringList{"111", "333", "222"}));
    Form1->ListView1ColumnClick(1);  // first click on "Patient Name": descending
    EXPECT_EQ(Column(1), (QStringList{"Roe Richard", "Poe Ann", "Doe Jane "}));
    List()->header()->sectionClicked(1);
    EXPECT_EQ(Column(1), (QStringList{"Doe Jane ", "Poe Ann", "Roe Richard"}));
}

TEST_F(OpeningWindow, DeleteMovesExactlyTheRowsFileToTheTrash) {
    Form1->ReadFolder = m_files.string();
    Form1->ScanDirectory();
    // Two rows share a key: deleting the first file's row must not touch the other file.
    QTreeWidgetItem* first = RowOfFile("head_H1.txt");
    ASSERT_NE(first, nullptr);
    Select(first);
    Form1->findChild<QAction*>("Delete1")->trigger();
    EXPECT_FALSE(fs::exists(m_files / "head_H1.txt"));
    EXPECT_TRUE(fs::exists(m_files / "head_H1_copy.txt"));
    EXPECT_TRUE(QFile::exists(TrashFile("head_H1.txt")));
    EXPECT_EQ(RowOfFile("head_H1.txt"), nullptr);
    EXPECT_NE(RowOfFile("head_H1_copy.txt"), nullptr);

    // Ctrl+Delete on the selected row; without a selection nothing happens.
    List()->clearSelection();
    QTest::keyClick(List(), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(List()->topLevelItemCount(), 3);
    Select(RowOfFile("prostate_P2.txt"));
    QTest::keyClick(List(), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_FALSE(fs::exists(m_files / "prostate_P2.txt"));
    EXPECT_TRUE(QFile::exists(TrashFile("prostate_P2.txt")));
    EXPECT_EQ(List()->topLevelItemCount(), 2);
}

TEST_F(OpeningWindow, SeparatorsInAFileNameReachNoOtherFile) {
    const std::string odd = File("a;head_H1_copy.txt");
    fs::copy_file(m_files / "head_H1.txt", odd);
    fs::remove(m_files / "head_H1.txt");
    Drop({odd});
    ASSERT_EQ(List()->topLevelItemCount(), 1);
    FormSelectPlanList->close();
    Select(List()->topLevelItem(0));
    Form1->Delete1Click();
    EXPECT_FALSE(fs::exists(odd));
    EXPECT_TRUE(fs::exists(m_files / "head_H1_copy.txt"));
    EXPECT_TRUE(QFile::exists(TrashFile("a;head_H1_copy.txt")));
}

TEST_F(OpeningWindow, DeleteAllAsksThenTrashesEveryFileAndEmptiesTheLists) {
    AddLists({"Head"});
    Form1->OpenFiles({File("head_H1.txt"), File("plansum_S1.txt"), File("prostate_P2.txt")});
    Form1->OpenFiles({File("head_H1.txt")});
    ASSERT_EQ(Form1->PDatasetCount(), 1);
    Form1->IndexRowColor = {1, 2};

    QTest::keyClick(List(), Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier);
    auto* box = Form1->findChild<QMessageBox*>("DeleteAllBox");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), "Delete");
    box->button(QMessageBox::Cancel)->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(List()->topLevelItemCount(), 3);  // Cancel deletes nothing at all
    EXPECT_TRUE(fs::exists(m_files / "head_H1.txt"));

    Form1->DeleteAll1Click();
    box = Form1->findChild<QMessageBox*>("DeleteAllBox");
    ASSERT_NE(box, nullptr);
    box->button(QMessageBox::Ok)->click();
    for (const char* name : {"head_H1.txt", "plansum_S1.txt", "prostate_P2.txt"}) {
        EXPECT_FALSE(fs::exists(m_files / name)) << name;
        EXPECT_TRUE(QFile::exists(TrashFile(name))) << name;
    }
    EXPECT_TRUE(fs::exists(m_files / "head_H1_copy.txt"));
    EXPECT_EQ(List()->topLevelItemCount(), 0);
    EXPECT_EQ(Form1->PDatasetCount(), 0);
    EXPECT_EQ(Form1->OpenFileCount(), 0);
    EXPECT_EQ(Form1->CurrentPlanIndex, -1);
    EXPECT_TRUE(Form1->IndexRowColor.empty());
}

TEST_F(OpeningWindow, ClearListKeepsFilesAndWaitsWhileAFileIsRead) {
    AddLists({"Head"});
    Form1->OpenFiles({File("head_H1.txt")});
    ASSERT_EQ(Form1->PDatasetCount(), 1);
    Form1->FileReadDepth = 1;  // a reader is running
    Form1->findChild<QAction*>("ClearList1")->trigger();
    Form1->DeleteAll1Click();
    EXPECT_EQ(Form1->findChild<QMessageBox*>("DeleteAllBox"), nullptr);
    EXPECT_EQ(Form1->PDatasetCount(), 1);
    EXPECT_EQ(List()->topLevelItemCount(), 1);
    Form1->FileReadDepth = 0;
    Form1->findChild<QAction*>("ClearList1")->trigger();
    EXPECT_EQ(Form1->PDatasetCount(), 0);
    EXPECT_EQ(List()->topLevelItemCount(), 0);
    EXPECT_TRUE(fs::exists(m_files / "head_H1.txt"));
}

TEST_F(OpeningWindow, OkLoadsTheRowAndReloadReadsItsOwnPlanAgain) {
    AddLists({"Head", "Prostate"});
    Form1->OpenFiles({File("head_H1.txt"), File("prostate_P2.txt")});
    Select(RowOfFile("prostate_P2.txt"));
    Form1->findChild<QPushButton*>("Button7")->click();
    Select(RowOfFile("head_H1.txt"));
    Form1->Button7Click();
    ASSERT_EQ(Form1->PDatasetCount(), 2);
    EXPECT_EQ(Form1->PDataset[0].PlanID, "P2");

    // The first plan's file loses a structure; Reload of its row reads it into that plan.
    std::ifstream in(m_files / "prostate_P2.txt", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    in.close();
    std::ofstream(m_files / "prostate_P2.txt", std::ios::binary)
        << text.substr(0, text.find("Histogram            : S - Rectum"));
    Select(RowOfFile("prostate_P2.txt"));
    Form1->findChild<QPushButton*>("Button11")->click();
    ASSERT_EQ(Form1->PDatasetCount(), 2);
    EXPECT_EQ(Form1->PDataset[0].DVHDatasetCount(), 1);
    EXPECT_EQ(Form1->PDataset[1].DVHDatasetCount(), 2);
    EXPECT_EQ(Form1->CurrentPlanIndex, 0);

    // Another plan of the same IDs takes the second file's name: Reload shows its names over its
    // curves, and its row says what the file holds now.
    std::ifstream head(m_files / "head_H1.txt", std::ios::binary);
    std::string other((std::istreambuf_iterator<char>(head)), {});
    head.close();
    other.replace(other.find("Head IMRT - H1"), 14, "Head VMAT - H1");
    other.replace(other.find("Doe, Jane"), 9, "Roe, Jane");
    std::ofstream(m_files / "head_H1.txt", std::ios::binary) << other;
    Select(RowOfFile("head_H1.txt"));
    Form1->findChild<QPushButton*>("Button11")->click();
    ASSERT_EQ(Form1->PDatasetCount(), 2);
    EXPECT_EQ(Form1->PDataset[1].PlanName, "Head VMAT");
    QTreeWidgetItem* row = RowOfFile("head_H1.txt");
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->text(1).trimmed(), "Roe Jane");
    EXPECT_TRUE(row->isSelected());
}

TEST_F(OpeningWindow, ReloadOfAFileThatCannotBeReadEmptiesThePlanAndSaysSo) {
    AddLists({"Head", "Prostate"});
    Form1->OpenFiles({File("head_H1.txt"), File("prostate_P2.txt")});
    for (const char* name : {"prostate_P2.txt", "head_H1.txt"}) {
        Select(RowOfFile(name));
        Form1->Button7Click();
    }
    ASSERT_EQ(Form1->PDatasetCount(), 2);
    // The first plan is read through a copy at the end, the last one in place: both ways.
    for (const char* name : {"prostate_P2.txt", "head_H1.txt"}) {
        SCOPED_TRACE(name);
        const int plan = std::string(name) == "head_H1.txt";
        ASSERT_GT(Form1->PDataset[plan].DVHDatasetCount(), 0);
        fs::remove(m_files / name);
        Form1->statusBar()->clearMessage();
        Select(RowOfFile(name));
        Form1->findChild<QPushButton*>("Button11")->click();
        ASSERT_EQ(Form1->PDatasetCount(), 2);
        EXPECT_EQ(Form1->PDataset[plan].DVHDatasetCount(), 0);
        EXPECT_EQ(Form1->CurrentPlanIndex, plan);
        EXPECT_EQ(Form1->Chart1->graphCount(), 0);
        EXPECT_TRUE(Form1->statusBar()->currentMessage().contains(name));
    }
}

TEST_F(OpeningWindow, BrowserOpensAStoredPlanWithAndWithoutItsCompanion) {
    AddLists({"Head"});
    const fs::path store = m_files / "store";
    fs::create_directories(store / "Head");
    fs::create_directories(store / "Archive");
    fs::copy_file(m_files / "plansum_S1.txt", store / "Head" / "333_Sum.txt");
    std::ofstream(store / "Head" / "333_Sum.mod", std::ios::binary)
        << "Patient Name\tNULL\nPatient ID\t333\nPlan Name\tBoost sum\nPlan ID\tSum-1\n"
           "Prescribed dose [cGy]\t6000\n0\tPTV 60\n1\tOAR\n";
    fs::copy_file(m_files / "plansum_S1.txt", store / "Archive" / "333_Sum.txt");
    fs::copy_file(m_files / "not_a_dvh.txt", store / "Head" / "notes.txt");
    fs::copy_file(fs::path(TESSARAY_TEST_DATA) / "broken" / "differential.txt",
                  store / "Head" / "diff.txt");
    Form1->SaveFolder = store.string();

    Form1->findChild<QAction*>("OpenFileList1")->trigger();
    ASSERT_TRUE(FormFileList->isVisible());
    EXPECT_FALSE(Form1->FormEnabled());
    auto* folders = FormFileList->findChild<QComboBox*>("ComboBox1");
    ASSERT_EQ(folders->count(), 2);
    EXPECT_EQ(folders->itemText(1), "Head");
    folders->setCurrentIndex(1);
    FormFileList->ComboBox1Change();
    auto* rows = FormFileList->findChild<QTreeWidget*>("ListView1");
    ASSERT_EQ(rows->topLevelItemCount(), 1);  // the note is no DVH export
    // The differential export is refused over the dialog the user is working in.
    auto* refusal = FormFileList->findChild<QMessageBox*>("InformationBox");
    ASSERT_NE(refusal, nullptr);
    EXPECT_EQ(refusal->text(), "Cannot read differential DVH file [ diff.txt ]");
    EXPECT_EQ(Form1->findChild<QMessageBox*>("InformationBox"), nullptr);
    delete refusal;
    EXPECT_EQ(rows->topLevelItem(0)->text(0), "333");
    auto* ok = FormFileList->findChild<QPushButton*>("Button1");
    EXPECT_FALSE(ok->isEnabled());
    rows->setCurrentItem(rows->topLevelItem(0));
    FormFileList->ListView1Click();
    ASSERT_TRUE(ok->isEnabled());
    ok->click();

    // Linked to "Head", read with the companion's 60 Gy, names and aliases restored.
    EXPECT_FALSE(FormFileList->isVisible());
    EXPECT_FALSE(FormInputBox->isVisible());
    ASSERT_EQ(Form1->PDatasetCount(), 1);
    const PDatasetClass& plan = Form1->PDataset[0];
    EXPECT_EQ(plan.PlanListIndex, 0);
    ASSERT_EQ(plan.DVHDatasetCount(), 2);
    EXPECT_FLOAT_EQ(plan.DVHDataset[0].PrescribedDose, 60.0f);
    EXPECT_EQ(plan.PlanName, "Boost sum");
    EXPECT_EQ(plan.DVHDataset[1].ModifiedName, "OAR");
    EXPECT_EQ(List()->topLevelItemCount(), 1);
    EXPECT_TRUE(Form1->FormEnabled());

    // The same plan from a folder without companion and without a list: the list is asked,
    // then the dose, because nothing gives it.
    Form1->ClearList1Click();
    Form1->OpenFileList1Click();
    folders->setCurrentIndex(0);
    FormFileList->ComboBox1Change();
    rows->setCurrentItem(rows->topLevelItem(0));
    FormFileList->ListView1Click();
    ok->click();
    ChooseList(1);
    ASSERT_TRUE(FormInputBox->isVisible());
    EnterDose("70");
    ASSERT_EQ(Form1->PDatasetCount(), 1);
    EXPECT_FLOAT_EQ(Form1->PDataset[0].DVHDataset[0].PrescribedDose, 70.0f);
    EXPECT_EQ(Form1->PDataset[0].DVHDataset[1].ModifiedName, "");
}

TEST_F(OpeningWindow, RealExportOpensWithTheProgressWindowClosedAfterwards) {
    const std::string jane = RealDataFile("cran+RadOnc/Jane_Doe.dvh");
    if (!fs::exists(jane)) GTEST_SKIP() << "no real data at " << jane;
    Form1->OpenFiles({jane});
    ChooseList(0);
    ASSERT_EQ(Form1->PDatasetCount(), 1);
    EXPECT_EQ(Form1->PDataset[0].FileType, 12);
    EXPECT_EQ(Form1->PDataset[0].PatientID, "1111111111");
    EXPECT_GT(Form1->PDataset[0].DVHDatasetCount(), 0);
    EXPECT_EQ(Form1->CurrentPlanIndex, 0);
    EXPECT_FALSE(FormProgress->isVisible());
    EXPECT_EQ(FormProgress->ProgressBar1->value(), FormProgress->ProgressBar1->maximum());
    ASSERT_EQ(List()->topLevelItemCount(), 1);
    EXPECT_EQ(List()->topLevelItem(0)->text(3), "Jane_Doe.dvh");
}

TEST_F(OpeningWindow, PlanInformationWritesOnlyIntoThePlanItWasOpenedFor) {
    AddLists({"Head", "Prostate"});
    Form1->OpenFiles({File("head_H1.txt")});
    Form1->findChild<QAction*>("StructureName1")->trigger();
    ASSERT_TRUE(FormDVHmatch->isVisible());
    EXPECT_TRUE(Form1->FormEnabled());  // modeless: the main window stays usable
    FormDVHmatch->findChild<QLineEdit*>("Edit4")->setText("H1-renamed");
    FormDVHmatch->StringGrid1SelectCell(1, 1);
    FormDVHmatch->findChild<QComboBox*>("ComboBox1")->setEditText("GTV");

    // Meanwhile another plan becomes current; OK still writes into the first one.
    Form1->OpenFiles({File("prostate_P2.txt")});
    ASSERT_EQ(Form1->CurrentPlanIndex, 1);
    FormDVHmatch->findChild<QPushButton*>("Button1")->click();
    EXPECT_EQ(Form1->PDataset[0].PlanID, "H1-renamed");
    EXPECT_EQ(Form1->PDataset[0].DVHDataset[0].ModifiedName, "GTV");
    EXPECT_EQ(Form1->PDataset[1].PlanID, "P2");
    EXPECT_EQ(Form1->PDataset[1].DVHDataset[0].ModifiedName, "");

    // A plan that is gone by the time of OK is not replaced by another.
    Form1->ShowPlan(1);
    Form1->StructureName1Click();
    FormDVHmatch->findChild<QLineEdit*>("Edit1")->setText("Nobody");
    Form1->ClearList1Click();
    Form1->OpenFiles({File("head_H1.txt")});
    FormDVHmatch->findChild<QPushButton*>("Button1")->click();
    ASSERT_EQ(Form1->PDatasetCount(), 1);
    EXPECT_NE(Form1->PDataset[0].PatientName, "Nobody");
}

TEST_F(OpeningWindow, TrashTakesOnlyFullPaths) {
    // A clipboard plan's placeholder path never names a file to delete.
    const fs::path cwd = fs::current_path();
    fs::current_path(m_files);
    std::ofstream("temp") << "not a plan";
    EXPECT_FALSE(Form1->DeleteFilesToRecycleBin("temp"));
    EXPECT_TRUE(fs::exists(m_files / "temp"));
    fs::current_path(cwd);
    EXPECT_FALSE(Form1->DeleteFilesToRecycleBin(File("missing.txt")));
    EXPECT_TRUE(Form1->DeleteFilesToRecycleBin(File("not_a_dvh.txt")));
    EXPECT_FALSE(fs::exists(m_files / "not_a_dvh.txt"));
}

}  // namespace

TEST_F(OpeningWindow, ExampleImportsOpenWithTheirCurves) {
    const std::string examples = TESSARAY_EXAMPLES;
    // BrainSCAN and iPlan tables: the plan-list choice, then the curves.
    struct Table { const char* file; int type; int structures; int body; };
    for (const Table& t : {Table{"Head_BrainSCAN.txt", FileTypeBrainScan, 5, 4}, Table{"Head_iPlan.txt", FileTypeIPlan, 4, 3}}) {
        SCOPED_TRACE(t.file);
        Form1->OpenFiles({examples + "/" + t.file});
        ChooseList(0);
        const PDatasetClass& plan = Form1->PDataset.back();
        EXPECT_EQ(plan.FileType, t.type);
        EXPECT_EQ(plan.PatientID, "HN-0007");
        ASSERT_EQ(plan.DVHDatasetCount(), t.structures);
        EXPECT_EQ(plan.BodyIndex, t.body);
        EXPECT_EQ(Form1->CurrentPlanIndex, Form1->PDatasetCount() - 1);
        EXPECT_GT(plan.DVHDataset[0].DVset.size(), 100u);
    }

    // XiO: the dialog completes the plan. Cancel removes only its plan; OK reads it.
    const int before = Form1->PDatasetCount();
    Form1->OpenFiles({examples + "/Prostate_XiO.txt"});
    ASSERT_TRUE(FormXiO->isVisible());
    EXPECT_FALSE(Form1->FormEnabled());
    EXPECT_EQ(FormXiO->ComboBox1->currentText(), "Body");
    FormXiO->Button2->click();
    EXPECT_EQ(Form1->PDatasetCount(), before);
    EXPECT_TRUE(Form1->FormEnabled());

    Form1->OpenFiles({examples + "/Prostate_XiO.txt"});
    ASSERT_TRUE(FormXiO->isVisible());
    FormXiO->Edit1->setText("Example, Bob");
    FormXiO->Edit5->setText("7800");
    EXPECT_EQ(FormXiO->Label6->text(), "cGy");
    FormXiO->Button1->click();
    ASSERT_EQ(Form1->PDatasetCount(), before + 1);
    const PDatasetClass& xio = Form1->PDataset.back();
    EXPECT_EQ(xio.PatientName, "Example, Bob");
    EXPECT_EQ(xio.BodyIndex, 0);
    ASSERT_EQ(xio.DVHDatasetCount(), 4);
    EXPECT_FLOAT_EQ(xio.DVHDataset[1].PrescribedDose, 78);
    EXPECT_FLOAT_EQ(xio.DVHDataset[1].DVset[0].VolumePercent, 100);
    EXPECT_EQ(Form1->CurrentPlanIndex, Form1->PDatasetCount() - 1);
    EXPECT_TRUE(Form1->FormEnabled());
}

TEST_F(OpeningWindow, ASaveDvhThatWaitsForAnotherSaveShowsTheWaitCursorAndWhatItWaitsFor) {
    const std::string textFile = ExamplePlanToSave();
    ASSERT_FALSE(textFile.empty());
    const std::string name = platform::FileNameOf(textFile);

    // The first save waits at once; the second after the user agreed to replace the first's.
    for (const bool saved : {false, true}) {
        SCOPED_TRACE(saved ? "over a saved entry" : "a new entry");
        if (saved) {
            ASSERT_TRUE(platform::AtomicWriteFile(textFile, "saved before").ok);
        }
        const LockWaitShown shown;
        {
            const LockHeldElsewhere other(StoreCommitOf(textFile).Lock);
            Form1->findChild<QPushButton*>("Button9")->click();
            if (saved) {
                auto* question = Form1->findChild<QMessageBox*>("SaveDvhQuestionBox");
                ASSERT_NE(question, nullptr);
                question->button(QMessageBox::Ok)->click();
            }
        }
        EXPECT_EQ(shown.Waits(), 1);
        EXPECT_TRUE(shown.WaitCursor());
        EXPECT_EQ(shown.Status(), "Waiting for another save of " + name + " ...");
        // Refused once the wait ended: the cursor is the user's again and the text is gone.
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_FALSE(Form1->statusBar()->currentMessage().startsWith("Waiting"));
        auto* refused = Form1->findChild<QMessageBox*>("SaveDvhErrorBox");
        ASSERT_NE(refused, nullptr);
        const std::string text = refused->text().toStdString();
        EXPECT_NE(text.find("Another save of " + name + " is under way"), std::string::npos) << text;
        delete refused;
    }
}

TEST_F(OpeningWindow, AWaitAfterOverwriteIsAnsweredPutsTheWindowOnTheScreenAgainAndHoldsInputAndCallsTillItsEnd) {
    const std::string textFile = ExamplePlanToSave();
    ASSERT_FALSE(textFile.empty());
    ASSERT_TRUE(platform::AtomicWriteFile(textFile, "saved before").ok);
    auto* save = Form1->findChild<QPushButton*>("Button9");
    ASSERT_TRUE(save->isVisible());
    QCoreApplication::processEvents();  // the window is on the screen before the save starts
    ASSERT_TRUE(Form1->windowHandle()->isExposed());

    LockHeldElsewhere other(StoreCommitOf(textFile).Lock);
    {
        const LockWaitEvents seen(save, other);
        save->click();
        auto* question = Form1->findChild<QMessageBox*>("SaveDvhQuestionBox");
        ASSERT_NE(question, nullptr);
        question->button(QMessageBox::Ok)->click();  // the box closes; the save waits
        ASSERT_GE(seen.Pauses(), 2);
        // As the wait began, the window was put on the screen again, over the closed box.
        EXPECT_GE(seen.ExposedAsTheWaitBegan(), 1);
        // An update asked for during the wait is painted during it.
        EXPECT_GE(seen.PaintedAfterItsUpdate(), 1);
        // What was typed and clicked meanwhile, and the calls queued before and during the wait,
        // wait for its end, and are then handled, in their turn: the click on "Save" too, though
        // the save ended in a box meanwhile.
        EXPECT_EQ(seen.KeysDuringTheWait() + seen.ClicksDuringTheWait() + seen.CallsDuringTheWait(), 0);
        EXPECT_EQ(seen.KeysAfterTheWait() + seen.ClicksAfterTheWait() + seen.CallsAfterTheWait(), 0);
        ASSERT_NE(Form1->findChild<QMessageBox*>("SaveDvhCompletedBox"), nullptr);
        int saves = 0;
        QObject::connect(save, &QPushButton::clicked, [&saves] { ++saves; });
        QCoreApplication::sendPostedEvents();
        EXPECT_EQ(seen.KeysDuringTheWait() + seen.ClicksDuringTheWait() + seen.CallsDuringTheWait(), 0);
        EXPECT_EQ(seen.KeysAfterTheWait(), 1);
        EXPECT_EQ(seen.ClicksAfterTheWait(), 1);
        EXPECT_EQ(saves, 1);
        EXPECT_EQ(seen.CallsAfterTheWait(), 2);
    }
}

TEST_F(OpeningWindow, SavedPlanOpensAgainFromTheFileListWithItsAliases) {
    AddLists({"Head"});
    Form1->OpenFiles({std::string(TESSARAY_EXAMPLES) + "/Head_BrainSCAN.txt"});
    ASSERT_EQ(Form1->PDatasetCount(), 1);
    Form1->PDataset[0].DVHDataset[1].ModifiedName = "Stem";
    const PDatasetClass saved = Form1->PDataset[0];
    fs::create_directories(m_files / "store");
    Form1->SaveFolder = (m_files / "store").string();
    auto* lists = Form1->findChild<QComboBox*>("ComboBox1");
    lists->addItem("Head");
    lists->setCurrentIndex(0);

    Form1->findChild<QPushButton*>("Button9")->click();
    auto* done = Form1->findChild<QMessageBox*>("SaveDvhCompletedBox");
    ASSERT_NE(done, nullptr);
    EXPECT_EQ(done->windowTitle(), "FILESAVE COMPLETED");
    done->close();

    Form1->ClearList1Click();
    Form1->OpenFileList1Click();
    ASSERT_TRUE(FormFileList->isVisible());
    FormFileList->ComboBox1->setCurrentIndex(0);
    FormFileList->ComboBox1Change();
    ASSERT_EQ(FormFileList->ListView1->topLevelItemCount(), 1);
    FormFileList->ListView1->setCurrentItem(FormFileList->ListView1->topLevelItem(0));
    FormFileList->ListView1->topLevelItem(0)->setSelected(true);
    FormFileList->ListView1Click();
    FormFileList->Button1->click();

    ASSERT_EQ(Form1->PDatasetCount(), 1);
    const PDatasetClass& back = Form1->PDataset[0];
    EXPECT_EQ(back.PlanListIndex, 0);
    ASSERT_EQ(back.DVHDatasetCount(), saved.DVHDatasetCount());
    for (int k = 0; k < back.DVHDatasetCount(); ++k) {
        EXPECT_EQ(back.DVHDataset[k].Name, saved.DVHDataset[k].Name);
        EXPECT_EQ(back.DVHDataset[k].ModifiedName, saved.DVHDataset[k].ModifiedName);
        EXPECT_FLOAT_EQ(back.DVHDataset[k].Volume, saved.DVHDataset[k].Volume);
        EXPECT_EQ(back.DVHDataset[k].DVset.size(), saved.DVHDataset[k].DVset.size());
    }
}
