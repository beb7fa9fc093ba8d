// The forms created at start-up: their captions, geometry and sorted choices, their close boxes,
// and the main window given back however a dialog that holds it is left.
#include "app/Forms.h"
#include "app/TForm1.h"
#include "app/TFormFileList.h"
#include "app/TFormGraphView.h"
#include "app/TAboutBox.h"
#include "app/TFormDVHmatch.h"
#include "app/TFormInputBox.h"
#include "app/TFormProgress.h"
#include "app/TFormSList.h"
#include "app/TessarayApplication.h"
#include "batch/ui/TFormBatch.h"
#include "batch/ui/TFormBatchResult.h"
#include "batch/ui/TFormBatchSet.h"
#include "compare/ui/TFormComp.h"
#include "compare/ui/TFormCompRList.h"
#include "compare/ui/TFormCompReport.h"
#include "compare/ui/TFormCompSelect.h"
#include "import/ui/TFormBSCAN.h"
#include "import/ui/TFormiPlan.h"
#include "import/ui/TFormiPlanImport.h"
#include "planlist/ui/TFormDVHs.h"
#include "app/TFormOption.h"
#include "app/TFormSelectPlanList.h"
#include "dvh/FileListOrder.h"
#include "planlist/PlanListFile.h"
#include "planlist/PlanListRegister.h"
#include "planlist/ui/TFormIndex.h"
#include "platform/FaultPoint.h"
#include "MainWindowFixture.h"
#include "../support/QtTestApp.h"

#include <QComboBox>
#include <QLabel>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <qcustomplot.h>

#include <filesystem>
#include <algorithm>
#include <functional>
#include <tuple>

namespace {

/// The forms as start-up makes them, in a private program folder.
class Forms : public ::testing::Test {
protected:
    void SetUp() override {
        TestApp();
        ASSERT_TRUE(m_home.isValid());
        qputenv("TESSARAY_HOME", m_home.path().toUtf8());
        CreateForms();
        Form1->show();
    }
    void TearDown() override {
        delete Form1;  // its dialogs go with it
        Form1 = nullptr;
        qunsetenv("TESSARAY_HOME");
        // Byte names that are no UTF-8 are beyond QTemporaryDir's own removal.
        std::filesystem::remove_all(m_home.path().toStdString());
    }
    QTemporaryDir m_home;
};

}  // namespace

TEST_F(Forms, CaptionsAreTheFormsOwnTexts) {
    const std::pair<QWidget*, const char*> captions[] = {
        {Form1, "Tessaray"},           {AboutBox, "About Tessaray"},
        {FormOption, "Settings..."},   {FormSList, "Structure List"},
        {FormGraphView, "Current graph view"}, {FormProgress, "Please wait..."},
        {FormIndex, "Edit Index"},     {FormDVHs, "DVH Series"},
        {FormSelectPlanList, "Select Plan"}, {FormDVHmatch, "DVH Series"},
        {FormInputBox, "Tessaray"},    {FormFileList, "File List"},
        {FormComp, "Plan Comparison"}, {FormCompSelect, "Select Plan"},
        {FormBatch, "Batch processing"}, {FormBatchSet, "Batch processing"},
        {FormBatchResult, "Batch processing - Results"},
    };
    for (const auto& [form, caption] : captions) EXPECT_EQ(form->windowTitle(), caption);

    // The window system appends an application display name to every caption, so the program
    // must not set one: the display name then follows the application name.
    const QString testName = QCoreApplication::applicationName();
    NameApplication();
    QCoreApplication::setApplicationName("renamed");
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), "renamed");
    QCoreApplication::setApplicationName(testName);
}

TEST_F(Forms, TheMainWindowIsEnabledExactlyWhenNoDialogHoldsIt) {
    struct Way {
        const char* name;
        std::function<void(QDialog*)> leave;
    };
    const Way ways[] = {
        {"Escape", [](QDialog* d) {
             QTest::keyClick(d->focusWidget() ? d->focusWidget() : d, Qt::Key_Escape);
         }},
        {"close box", [](QDialog* d) { ClickCloseBox(d); }},
        {"Cancel", [](QDialog* d) {
             for (QPushButton* b : d->findChildren<QPushButton*>())
                 if (b->text() == "Cancel") b->click();
         }},
        {"OK", [](QDialog* d) {
             for (QPushButton* b : d->findChildren<QPushButton*>())
                 if (b->text() == "OK") b->click();
         }},
        {"hide", [](QDialog* d) { d->hide(); }},
    };
    QDialog* const dialogs[] = {FormOption,   FormGraphView, FormIndex,   FormSelectPlanList,
                                FormInputBox, FormFileList,  FormBatch,   FormBatchSet,
                                FormBatchResult};
    for (QDialog* dialog : dialogs) {
        for (const Way& way : ways) {
            SCOPED_TRACE(dialog->windowTitle().toStdString() + " / " + way.name);
            dialog->show();
            ASSERT_TRUE(dialog->isVisible());
            EXPECT_FALSE(Form1->FormEnabled());
            way.leave(dialog);
            // A dialog may refuse a way out (the plan-list choice has only OK) or hand on to
            // the next one (the batch windows); while one is shown it holds the main window,
            // and once all are gone it must be free.
            const bool anyShown = std::any_of(std::begin(dialogs), std::end(dialogs),
                                              [](QDialog* d) { return d->isVisible(); });
            EXPECT_EQ(Form1->FormEnabled(), !anyShown);
            for (QDialog* d : dialogs) d->hide();
            EXPECT_TRUE(Form1->FormEnabled());
        }
    }
}

TEST_F(Forms, BatchAndComparisonDialogsCloseByTheirCloseBox) {
    // Each as its Cancel or Close; the row list's Cancel also brings the report page back.
    QDialog* const dialogs[] = {FormBatch, FormBatchSet, FormBatchResult, FormCompSelect, FormCompRList};
    for (QDialog* dialog : dialogs) {
        SCOPED_TRACE(dialog->objectName().toStdString());
        dialog->show();
        EXPECT_TRUE(dialog->windowFlags() & Qt::WindowCloseButtonHint);
        ClickCloseBox(dialog);
        EXPECT_FALSE(dialog->isVisible());
    }
    EXPECT_TRUE(Form1->FormEnabled());
    EXPECT_TRUE(FormCompReport->isVisible());
    EXPECT_TRUE(FormCompReport->isEnabled());
    FormCompReport->hide();
}

TEST_F(Forms, PlanListAndStructureSetChoicesSortAsTheMainPlanListBox) {
    const std::vector<std::string> names = {"zeta", "Beta", "alpha", "beta"};
    for (const std::string& name : names) Form1->ComboBox1->addItem(QString::fromStdString(name));
    const auto items = [](const QComboBox* box) {
        QStringList texts;
        for (int i = 0; i < box->count(); ++i) texts << box->itemText(i);
        return texts;
    };
    const QStringList sorted = items(Form1->ComboBox1);
    ASSERT_EQ(sorted, QStringList({"alpha", "Beta", "beta", "zeta"}));

    FormBatch->Fill({}, names);
    EXPECT_EQ(items(FormBatch->ComboBox1), sorted);
    EXPECT_EQ(FormBatch->ComboBox1->currentIndex(), -1);

    QFile sets(m_home.filePath("Tessaray_ReportCompDVHset.ini"));
    ASSERT_TRUE(sets.open(QIODevice::WriteOnly));
    sets.write("[List]\r\nCount=4\r\n");
    for (std::size_t i = 0; i < names.size(); ++i)
        sets.write(("[List" + std::to_string(i) + "]\r\nTitle=" + names[i] + "\r\n").c_str());
    sets.close();
    FormComp->ReadStructureSets();
    EXPECT_EQ(items(FormComp->ComboBox6), sorted);
    EXPECT_EQ(FormComp->ComboBox6->currentIndex(), -1);
}

TEST_F(Forms, ImportWindowsKeepTheirDesignedGeometryAndDoseUnit) {
    const std::pair<QWidget*, QRect> designed[] = {
        {FormBSCAN->ListBox1, QRect(FormBSCAN->ListBox1->pos(), QSize(269, 313))},
        {FormiPlan->ListBox1, QRect(FormiPlan->ListBox1->pos(), QSize(269, 313))},
        {FormiPlanImport->Button2, QRect(36, 4, 49, 23)},
        {FormiPlanImport->Button1, QRect(90, 4, 49, 23)},
    };
    for (const auto& [widget, rect] : designed) {
        SCOPED_TRACE(widget->window()->objectName().toStdString() + "/" + widget->objectName().toStdString());
        EXPECT_EQ(widget->geometry(), rect);
        EXPECT_TRUE(widget->parentWidget()->rect().contains(widget->geometry()));
    }
    // Each row of a list is as high as designed, whatever its font.
    const std::pair<QListWidget*, int> itemHeights[] = {
        {FormBSCAN->ListBox1, 19}, {FormiPlan->ListBox1, 19}, {FormiPlanImport->ListBox1, 14}};
    for (const auto& [list, height] : itemHeights) {
        SCOPED_TRACE(list->window()->objectName().toStdString());
        list->clear();
        list->addItems({"N/A", "Prostate"});
        EXPECT_EQ(list->visualItemRect(list->item(0)).height(), height);
        EXPECT_EQ(list->visualItemRect(list->item(1)).top() - list->visualItemRect(list->item(0)).top(), height);
    }
    EXPECT_TRUE(FormBSCAN->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(FormiPlan->windowFlags() & Qt::WindowStaysOnTopHint);

    // A lone point is no number yet: the unit stays as it was.
    const std::pair<const char*, const char*> typed[] = {{"6000", "cGy"}, {".", "cGy"}, {"", "Gy"}, {".", "Gy"}};
    for (const auto& [text, unit] : typed) {
        FormBSCAN->Edit5->setText(text);
        EXPECT_EQ(FormBSCAN->Label6->text(), unit) << text;
    }
}

namespace {

// Names as a Windows computer writes them (Windows-1252). Each holds a byte of 0x80-0x9F
// ("–", "š"), where Windows-1252 and Latin-1 part.
const std::string kMueller = "M\xFC" "ller \x96 Jr";
const std::string kCord = "R\xFC" "ckenmark \x96 PRV";
const std::string kKosice = "Ko\x9A" "ice";
const QString kMuellerText = "Müller – Jr", kCordText = "Rückenmark – PRV", kKosiceText = "Košice";

/// A registered plan list, a loaded plan, its file entry and the folders, all named in
/// Windows-1252, shown where the program shows them.
class FormsWithWindowsText : public Forms {
protected:
    void SetUp() override {
        const std::string home = m_home.path().toStdString() + "/";
        PlanListNameClass list;
        list.Name = kKosice;
        IndexDataClass row;
        row.Name = kCord;
        row.Items = 9;  // mean dose
        list.IndexData = {row};
        ASSERT_TRUE(SavePlanListFile(PlanListFilePath(home, kKosice), list).ok);
        ASSERT_TRUE(RegisterPlanList(home, kKosice).ok);
        Forms::SetUp();
        ASSERT_EQ(Form1->PlanListNameCount(), 1);

        PDatasetClass plan;
        plan.PatientName = kMueller;
        plan.PatientID = "7";
        plan.PlanName = kKosice;
        plan.PlanID = "P";
        plan.Key = Workspace::DatasetKey("7", "P", "", "");
        plan.PlanListIndex = 0;
        plan.DVHDataset.push_back(LinearStructure(kCord, 40, 30));
        Form1->PDataset.push_back(plan);
        Form1->AppendOpenFileFromPlan(0);
        Form1->RefillFileList();
        Form1->ReadFolder = Form1->SaveFolder = "/tmp/" + kKosice;
        Form1->CurrentPlanIndex = 0;
        Form1->SelectPlanList(kKosice);
        Form1->ShowPlan(0);
        Form1->DrawDvhChart(0);
    }
};

}  // namespace

TEST_F(FormsWithWindowsText, EveryPlaceShowsTheTextAsWritten) {
    FormSelectPlanList->Ask(-1, {kKosice});
    FormOption->show();
    FormFileList->FillFolders("/tmp", {kKosice});
    Form1->StructureName1Click();
    auto* fileList = Form1->findChild<QTreeWidget*>("ListView1");
    auto* planInfoGrid = FormDVHmatch->findChild<QTableWidget*>("StringGrid1");
    const std::tuple<const char*, std::function<QString()>, QString> places[] = {
        {"patient label", [] { return Form1->LabelPName->text(); }, kMuellerText},
        {"plan label", [] { return Form1->LabelPlanName->text(); }, kKosiceText},
        {"file list", [&] { return fileList->topLevelItem(0)->text(FileListPatientName); }, kMuellerText},
        {"plan-list box", [] { return Form1->ComboBox1->itemText(0); }, kKosiceText},
        {"index grid", [] { return Form1->StringGrid1->item(0, 0)->text(); }, kCordText},
        {"chart legend", [] { return Form1->Chart1->graph(0)->name(); }, kCordText},
        {"plan-list choice", [] { return FormSelectPlanList->ListBox1->item(1)->text(); }, kKosiceText},
        {"settings read folder", [] { return FormOption->Edit1->text(); }, "/tmp/" + kKosiceText},
        {"settings save folder", [] { return FormOption->Edit2->text(); }, "/tmp/" + kKosiceText},
        {"plan information name", [] { return FormDVHmatch->Edit1->text(); }, kMuellerText},
        {"plan information plan", [] { return FormDVHmatch->Edit3->text(); }, kKosiceText},
        {"plan information structure", [&] { return planInfoGrid->item(1, 0)->text(); }, kCordText},
        {"plan information alias choice", [] { return FormDVHmatch->ComboBox[0]->itemText(0); }, kCordText},
        {"saved-DVH folders", [] { return FormFileList->ComboBox1->itemText(0); }, kKosiceText},
    };
    for (const auto& [where, shown, written] : places) {
        SCOPED_TRACE(where);
        EXPECT_TRUE(shown().contains(written)) << shown().toStdString();  // the legend adds to it
    }
}

TEST_F(FormsWithWindowsText, PlanInformationWritesBackTheBytesItShowed) {
    // OK with nothing changed leaves every byte.
    Form1->StructureName1Click();
    FormDVHmatch->Button1->click();
    EXPECT_EQ(Form1->PDataset[0].PatientName, kMueller);
    EXPECT_EQ(Form1->PDataset[0].PlanName, kKosice);

    // An alias chosen from the index grid's names is that row's name, byte for byte.
    Form1->StructureName1Click();
    FormDVHmatch->StringGrid1SelectCell(1, 1);
    FormDVHmatch->ComboBox[0]->setCurrentIndex(0);
    FormDVHmatch->Button1->click();
    EXPECT_EQ(Form1->PDataset[0].DVHDataset[0].ModifiedName, kCord);
}

TEST(FormsStartUp, AnExceptionOfAnyTypeInACreationHandlerIsShownAndStartUpGoesOn) {
    TestApp();
    QTemporaryDir home;
    qputenv("TESSARAY_HOME", home.path().toUtf8());
    // A registered list that is gone makes start-up rewrite the register; that write throws
    // something that is no std::exception.
    QFile ini(home.filePath("Tessaray.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[PlanList]\r\nCount=1\r\nListName1=Gone\r\n");
    ini.close();
    platform::SetFaultHook([](std::string_view point) {
        if (point == "atomic write: temporary written") throw 42;
    });
    AboutBox = nullptr;
    FormOption = nullptr;
    FormFileList = nullptr;
    FormInputBox = nullptr;
    QString shown;
    const bool answered = AnswerModal(CreateForms, [&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        shown = box->windowTitle();
        box->accept();
    });
    platform::SetFaultHook(nullptr);
    EXPECT_TRUE(answered);
    EXPECT_EQ(shown, "Tessaray");
    // Every later form exists.
    EXPECT_NE(AboutBox, nullptr);
    EXPECT_NE(FormOption, nullptr);
    EXPECT_NE(FormFileList, nullptr);
    EXPECT_NE(FormInputBox, nullptr);
    delete Form1;
    Form1 = nullptr;
    qunsetenv("TESSARAY_HOME");
}
