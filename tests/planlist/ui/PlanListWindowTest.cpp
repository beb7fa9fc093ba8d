// The plan-list commands of the main window and its two list editors, driven as a user would.
#include "app/Forms.h"
#include "app/TForm1.h"
#include "app/TFormInputBox.h"
#include "widgets/TextBytes.h"
#include "planlist/PlanListCommands.h"
#include "planlist/PlanListFile.h"
#include "planlist/PlanListNaming.h"
#include "planlist/ui/TFormDVHs.h"
#include "planlist/ui/TFormIndex.h"
#include "platform/Paths.h"

#include "../../platform/TempFolder.h"
#include "UiTestMain.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

namespace {

class PlanListWindow : public ::testing::Test {
protected:
    void SetUp() override {
        TestApplication();
        setenv("XDG_DATA_HOME", (trash.Path() + "share").c_str(), 1);
        form = std::make_unique<TForm1>();
        form->PlanListFolder = dir.Path();
        Form1 = form.get();
        FormIndex = new TFormIndex(form.get());
        FormDVHs = new TFormDVHs(form.get());
        FormInputBox = new TFormInputBox(form.get());
        form->ToolButton11->setChecked(true);  // the editing layout
    }
    void TearDown() override {
        delete FormInputBox;
        FormInputBox = nullptr;
        FormIndex = nullptr;
        FormDVHs = nullptr;
        Form1 = nullptr;
    }

    // Makes a list through the input box's OK, as a user naming it would.
    int NewList(const std::string& name) {
        EXPECT_FALSE(form->PlanListNameEntered(1, QString::fromStdString(name), 0, form.get()));
        return form->SelectedPlanList();
    }
    QMessageBox* Box(const char* name) { return form->findChild<QMessageBox*>(name); }
    void Answer(QWidget* owner, const char* name, QMessageBox::StandardButton button) {
        auto* box = owner->findChild<QMessageBox*>(name);
        ASSERT_NE(box, nullptr) << name;
        box->button(button)->click();
        QApplication::processEvents();
        // The box deletes itself once closed: gone before the next look for one of its name.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    TempFolder dir;
    TempFolder trash;
    std::unique_ptr<TForm1> form;
};

}  // namespace

TEST_F(PlanListWindow, NewListIsChosenAndDuplicatesAskForAnotherName) {
    const int list = NewList("Pro/sta:te");  // forbidden characters go, also when pasted
    ASSERT_GE(list, 0);
    EXPECT_EQ(form->PlanListName[list].Name, "Prostate");
    EXPECT_EQ(form->ComboBox1->currentText(), "Prostate");
    EXPECT_TRUE(form->BSaveList->isEnabled());

    // A duplicate keeps the box open and asks; Cancel closes the box that asked.
    QWidget box;
    box.show();
    EXPECT_TRUE(form->PlanListNameEntered(1, "Prostate", 0, &box));
    EXPECT_EQ(form->PlanListNameCount(), 1);
    Answer(&box, "ListExistsBox", QMessageBox::Cancel);
    EXPECT_FALSE(box.isVisible());
}

TEST_F(PlanListWindow, InputBoxNamesNewAndCopiedListsAndAsksAgainOnADuplicate) {
    form->BNewList->click();
    ASSERT_TRUE(FormInputBox->isVisible());
    EXPECT_EQ(FormInputBox->Mode, 1);
    EXPECT_EQ(FormInputBox->windowTitle(), "Plan List Name");
    QTest::keyClicks(FormInputBox->Edit1, "Head:Neck");
    EXPECT_EQ(FormInputBox->Edit1->text(), "HeadNeck");
    FormInputBox->Button1->click();
    EXPECT_FALSE(FormInputBox->isVisible());
    EXPECT_EQ(form->ComboBox1->currentText(), "HeadNeck");

    form->BCopyList->click();
    EXPECT_EQ(FormInputBox->Mode, 3);
    QTest::keyClicks(FormInputBox->Edit1, "HeadNeck");
    FormInputBox->Button1->click();  // taken: the box stays, empty, and asks
    EXPECT_TRUE(FormInputBox->isVisible());
    EXPECT_TRUE(FormInputBox->Edit1->text().isEmpty());
    Answer(FormInputBox, "ListExistsBox", QMessageBox::Ok);
    EXPECT_TRUE(FormInputBox->isVisible());
    QTest::keyClicks(FormInputBox->Edit1, "HeadNeck v2");
    FormInputBox->Button1->click();
    EXPECT_FALSE(FormInputBox->isVisible());
    ASSERT_EQ(form->PlanListNameCount(), 2);
    EXPECT_EQ(form->PlanListName[1].Name, "HeadNeck v2");
    EXPECT_EQ(form->PlanListName[1].IndexDataCount(), 20);
}

TEST_F(PlanListWindow, RowButtonsSaveAndLockFollowTheChosenList) {
    const int list = NewList("P");
    form->SelectedIndexRow = 1;
    form->BCopyIndex->click();
    EXPECT_EQ(form->PlanListName[list].IndexDataCount(), 21);
    form->BDelIndex->click();
    form->BDelIndex->click();
    EXPECT_EQ(form->PlanListName[list].IndexDataCount(), 19);
    form->PlanListName[list].IndexData[0].Name = "PTV";

    form->BSaveList->click();
    const std::string path = PlanListFilePath(dir.Path(), "P");
    ASSERT_TRUE(platform::FileExists(path));
    EXPECT_FALSE(form->PlanListName[list].Modified);

    form->BKey->click();  // lock: saved at once, row buttons off
    EXPECT_TRUE(LoadPlanListFile(path, "P").list.Lock);
    EXPECT_FALSE(form->BAddIndex->isEnabled());
    EXPECT_TRUE(form->BKey->isEnabled());
    EXPECT_TRUE(form->BCopyList->isEnabled());
    form->BAddIndexClick();  // even called directly, a locked list does not change
    EXPECT_EQ(form->PlanListName[list].IndexDataCount(), 19);
    form->PopupMenu4Popup();
    EXPECT_TRUE(form->NewList1->isVisible());
    EXPECT_TRUE(form->CopyList1->isVisible());
    EXPECT_FALSE(form->DeleteList1->isVisible());
}

TEST_F(PlanListWindow, RenameOntoAnExistingListIsRefusedAndKeepsBothFiles) {
    const int a = NewList("A");
    form->BSaveListClick();
    NewList("B");
    form->BSaveListClick();
    form->SelectPlanList("A");
    EXPECT_FALSE(form->PlanListNameEntered(2, "B", a, form.get()));
    ASSERT_NE(Box("RenameRefusedBox"), nullptr);
    EXPECT_EQ(form->PlanListName[a].Name, "A");
    EXPECT_TRUE(platform::FileExists(PlanListFilePath(dir.Path(), "A")));
    EXPECT_TRUE(platform::FileExists(PlanListFilePath(dir.Path(), "B")));

    EXPECT_FALSE(form->PlanListNameEntered(2, "C", a, form.get()));
    EXPECT_EQ(form->ComboBox1->currentText(), "C");
    EXPECT_TRUE(platform::FileExists(PlanListFilePath(dir.Path(), "C")));
    // The box stays sorted, the renamed list chosen.
    ASSERT_EQ(form->ComboBox1->count(), 2);
    EXPECT_EQ(form->ComboBox1->itemText(0), "B");
    EXPECT_EQ(form->ComboBox1->itemText(1), "C");
}

TEST_F(PlanListWindow, DeleteUnlinksPlansAndClosesTheSeriesEditorOfThatList) {
    NewList("A");
    const int b = NewList("B");
    form->BSaveListClick();
    // A file of that name deleted earlier waits in the trash: it must stay restorable.
    const std::string trashed = trash.Path() + "share/Trash/files/";
    std::filesystem::create_directories(trashed);
    std::ofstream(trashed + "B.lst") << "deleted last week";
    form->PDataset.resize(1);
    form->PDataset[0].PlanListIndex = b;
    FormDVHs->Open(b);
    ASSERT_TRUE(FormDVHs->isVisible());

    form->DeleteList1Click();
    Answer(form.get(), "DeleteListBox", QMessageBox::Ok);
    EXPECT_EQ(form->PlanListNameCount(), 1);
    EXPECT_EQ(form->ComboBox1->count(), 1);
    EXPECT_EQ(form->ComboBox1->currentIndex(), -1);
    EXPECT_EQ(form->PDataset[0].PlanListIndex, -1);
    EXPECT_FALSE(FormDVHs->isVisible());
    EXPECT_EQ(FormDVHs->PlanListIndex, -1);
    EXPECT_FALSE(platform::FileExists(PlanListFilePath(dir.Path(), "B")));
    EXPECT_FALSE(form->BSaveList->isEnabled());
    EXPECT_EQ(trash.Read("share/Trash/files/B.lst"), "deleted last week");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(trashed), std::filesystem::directory_iterator()), 2);
}

TEST_F(PlanListWindow, ClosingOffersModifiedListsAndStaysOpenWhenASaveFails) {
    NewList("A");
    form->show();
    form->close();
    ASSERT_TRUE(form->isVisible());  // waits for the answer
    Answer(form.get(), "SaveOnExitBox", QMessageBox::Yes);
    EXPECT_TRUE(platform::FileExists(PlanListFilePath(dir.Path(), "A")));
    EXPECT_FALSE(form->isVisible());

    // A list whose file cannot be written keeps the program open.
    form->show();
    const int b = NewList("B");
    form->PlanListName[b].Unreadable = true;
    TForm1* window = form.get();
    // Only B is modified now; a new window would ask again, this one has already asked once.
    window->AskToSaveModifiedLists([window] { window->hide(); });
    Answer(window, "SaveOnExitBox", QMessageBox::Yes);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->PlanListName[b].Modified);
}

TEST_F(PlanListWindow, TheExitQuestionSavesTheListItNamesAndASecondCloseAsksNothingMore) {
    // Two lists imported and not saved yet, each offered on exit in its turn.
    NewList("Src");
    form->BSaveListClick();
    TempFolder exported;
    for (const char* name : {"Prostate", "Head"}) {
        const std::string file = exported.Path() + name + ".lst";
        std::filesystem::copy_file(PlanListFilePath(dir.Path(), "Src"), file);
        emit form->ImportDialog->fileSelected(QString::fromStdString(file));
    }
    ASSERT_GE(FindPlanList(form->PlanListName, "Head"), 0);
    form->show();
    form->close();
    QMessageBox* question = Box("SaveOnExitBox");
    ASSERT_NE(question, nullptr);
    ASSERT_NE(question->text().indexOf("('Prostate ')"), -1) << question->text().toStdString();

    // The other list chosen meanwhile (the user cannot, the box holds the window; code can):
    // Yes saves the list the question named.
    form->ComboBox1->setCurrentIndex(form->ComboBox1->findText("Head"));
    Answer(form.get(), "SaveOnExitBox", QMessageBox::Yes);
    EXPECT_TRUE(platform::FileExists(PlanListFilePath(dir.Path(), "Prostate")));
    EXPECT_FALSE(platform::FileExists(PlanListFilePath(dir.Path(), "Head")));
    question = Box("SaveOnExitBox");
    ASSERT_NE(question, nullptr);
    EXPECT_NE(question->text().indexOf("('Head ')"), -1) << question->text().toStdString();

    // The window closed again while the next question waits: no second question.
    form->close();
    EXPECT_EQ(form->findChildren<QMessageBox*>("SaveOnExitBox").size(), 1);
    Answer(form.get(), "SaveOnExitBox", QMessageBox::No);
    EXPECT_FALSE(platform::FileExists(PlanListFilePath(dir.Path(), "Head")));
    EXPECT_FALSE(form->isVisible());
}

TEST_F(PlanListWindow, QuestionsHoldTheWindowsAndReportsLeaveThemUsable) {
    const int list = NewList("Head");
    TempFolder store;
    form->SaveFolder = store.Path() + "store";
    PDatasetClass plan;
    plan.PatientID = "P1";
    plan.PlanID = "H1";
    plan.FileType = FileTypeBrainScan;
    plan.DVHDataset.resize(1);
    plan.DVHDataset[0].Name = "PTV";
    plan.DVHDataset[0].Volume = 10;
    plan.DVHDataset[0].SetPoints({{0, 0, 100, 10}, {1, 0.5f, 0, 0}});
    form->PDataset.push_back(plan);
    form->CurrentPlanIndex = 0;
    new QTreeWidgetItem(form->ListView1, QStringList{"a row"});
    form->show();

    const struct {
        const char* box;
        std::function<void()> show;
        QMessageBox::StandardButton dismiss;
        bool question;
    } boxes[] = {
        {"SaveDvhCompletedBox", [&] { form->Save1Click(); }, QMessageBox::Ok, false},
        {"SaveDvhQuestionBox", [&] { form->Save1Click(); }, QMessageBox::Cancel, true},  // "Overwrite?"
        {"SaveDvhErrorBox", [&] { form->PDataset[0].DVHDataset.clear(); form->Save1Click(); },  // no structures
         QMessageBox::Ok, false},
        {"SaveOnExitBox", [&] { form->AskToSaveModifiedLists([] {}); }, QMessageBox::No, true},
        {"DeleteListBox", [&] { form->DeleteList1Click(); }, QMessageBox::Cancel, true},
        {"ClearStructureListBox",
         [&] {
             std::ofstream(PlanListFilePath(form->PlanListFolder, "Head")) << "";
             form->ClearStructureList1Click();
         },
         QMessageBox::Cancel, true},
        {"DeleteAllBox", [&] { form->DeleteAll1Click(); }, QMessageBox::Cancel, true},
        {"WriteFailureBox", [&] { form->ReportWriteFailure("Tessaray.ini cannot be written."); },
         QMessageBox::Ok, false},
        {"InformationBox", [&] { form->Inform("A notice.", "Tessaray"); }, QMessageBox::Ok, false},
    };
    for (const auto& b : boxes) {
        SCOPED_TRACE(b.box);
        b.show();
        QMessageBox* box = Box(b.box);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowModality(), b.question ? Qt::ApplicationModal : Qt::NonModal);
        EXPECT_EQ(QApplication::activeModalWidget(), b.question ? box : nullptr);
        Answer(form.get(), b.box, b.dismiss);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
    // Every question was answered Cancel or No: the list and the row are still there.
    EXPECT_EQ(form->SelectedPlanList(), list);
    EXPECT_EQ(form->ListView1->topLevelItemCount(), 1);
}

TEST_F(PlanListWindow, IndexEditorOkWritesValidFieldsAndRefusesABadNumber) {
    const int list = NewList("P");
    IndexDataClass& row = form->PlanListName[list].IndexData[0];
    row.Name = "PTV";
    row.Items = 0;
    row.Value = 95;
    form->PlanListName[list].Modified = false;

    FormIndex->Open(list, 0, true);
    ASSERT_TRUE(FormIndex->isVisible());
    EXPECT_EQ(FormIndex->Edit1->text(), "95");
    EXPECT_FALSE(form->FormEnabled());

    QTest::keyClicks(FormIndex->Edit1, "x9.8.7");  // the filter keeps digits and one '.'
    EXPECT_EQ(FormIndex->Edit1->text(), "959.87");
    FormIndex->Edit1->setText(".");  // pasted text can still hold no number
    FormIndex->ComboBox2->setEditText("CTV");
    FormIndex->Button1->click();
    EXPECT_TRUE(FormIndex->isVisible());
    EXPECT_NE(FormIndex->findChild<QMessageBox*>("BadNumberBox"), nullptr);
    EXPECT_EQ(row.Name, "PTV");
    EXPECT_FALSE(form->PlanListName[list].Modified);

    FormIndex->Edit1->setText("97.555");
    FormIndex->RadioButton3->setChecked(true);
    FormIndex->Edit2->setText("90");
    FormIndex->ComboBox1->setCurrentIndex(1);
    FormIndex->Button1->click();
    EXPECT_FALSE(FormIndex->isVisible());
    EXPECT_TRUE(form->FormEnabled());
    EXPECT_EQ(row.Name, "CTV");
    EXPECT_EQ(row.Items, 1);
    EXPECT_EQ(row.Value, 97.56f);
    EXPECT_EQ(row.Constraints, -90.0f);
    EXPECT_TRUE(form->PlanListName[list].Modified);
}

TEST_F(PlanListWindow, IndexEditorShowsTheFieldsOfTheChosenKind) {
    const int list = NewList("P");
    FormIndex->Open(list, 0, true);
    FormIndex->ComboBox1->setCurrentIndex(16);
    EXPECT_FALSE(FormIndex->Panel2->isHidden());
    EXPECT_FALSE(FormIndex->Edit1->isEnabled());
    FormIndex->ComboBox3->setCurrentIndex(2);
    EXPECT_FALSE(FormIndex->Edit3->isEnabled());
    FormIndex->ComboBox3->setCurrentIndex(5);
    EXPECT_TRUE(FormIndex->Edit3->isEnabled());
    FormIndex->ComboBox1->setCurrentIndex(3);
    EXPECT_TRUE(FormIndex->Panel2->isHidden());
    EXPECT_TRUE(FormIndex->Edit1->isEnabled());
    FormIndex->PickColor = [](QColor& c) { c = QColor(0, 128, 255); return true; };
    FormIndex->BitBtn1->click();
    EXPECT_EQ(FormIndex->FontColor(), RgbColor(0, 128, 255));
    FormIndex->Button2->click();
    EXPECT_EQ(form->PlanListName[list].IndexData[0].ConstraintFontColorB, 0);  // Cancel
}

TEST_F(PlanListWindow, SeriesEditorAddsTogglesRecoloursAndDeletes) {
    const int list = NewList("P");
    form->PlanListName[list].Modified = false;
    FormDVHs->Open(list);
    FormDVHs->PickColor = [](QColor& c) { c = QColor(10, 20, 30); return true; };
    FormDVHs->ComboBox1->setEditText("PTV");
    FormDVHs->Button4->click();
    const auto& db = form->PlanListName[list].StructureDB;
    ASSERT_EQ(db.size(), 1u);
    EXPECT_EQ(db[0].ColorB, 30);
    EXPECT_EQ(FormDVHs->StringGrid1->rowCount(), 2);
    EXPECT_EQ(FormDVHs->StringGrid1->item(0, 5)->text(), "true");
    EXPECT_TRUE(form->PlanListName[list].Modified);

    FormDVHs->Button4->click();  // the same name again
    EXPECT_NE(FormDVHs->findChild<QMessageBox*>("DuplicateStructureBox"), nullptr);
    EXPECT_EQ(db.size(), 1u);

    FormDVHs->StringGrid1SelectCell(5, 1);
    FormDVHs->StringGrid1DblClick();
    EXPECT_FALSE(db[0].View);
    FormDVHs->PickColor = [](QColor&) { return false; };  // cancelled: no colour change
    FormDVHs->StringGrid1SelectCell(2, 1);
    FormDVHs->StringGrid1DblClick();
    EXPECT_EQ(db[0].ColorR, 10);
    FormDVHs->StringGrid1SelectCell(0, 2);  // the empty last row: nothing selected
    FormDVHs->Button1->click();
    EXPECT_EQ(db.size(), 1u);
    FormDVHs->StringGrid1SelectCell(3, 1);
    FormDVHs->Button1->click();
    EXPECT_TRUE(db.empty());
    EXPECT_EQ(FormDVHs->StringGrid1->rowCount(), 1);
}

TEST_F(PlanListWindow, IndexEditorKeepsTheBytesOfAPlanStructureName) {
    const int list = NewList("P");
    form->PDataset.resize(1);
    form->PDataset[0].DVHDataset.resize(2);
    form->PDataset[0].DVHDataset[0].Name = "R\xe9" "ctum";  // Latin-1, as Windows exports write it
    form->PDataset[0].DVHDataset[1].Name = "Bladder";
    form->CurrentPlanIndex = 0;
    FormIndex->Open(list, 0, true);
    ASSERT_EQ(FormIndex->ComboBox2->count(), 2);
    FormIndex->ComboBox2->setCurrentIndex(FormIndex->ComboBox2->findText(QString::fromUtf8("R\xc3\xa9" "ctum")));
    FormIndex->ComboBox1->setCurrentIndex(9);
    FormIndex->Button1->click();
    EXPECT_EQ(form->PlanListName[list].IndexData[0].Name, "R\xe9" "ctum");
}

TEST_F(PlanListWindow, EditIndexCarriesANewNameOverTheGroupOnlyFromItsFirstRow) {
    const int list = NewList("P");
    auto& rows = form->PlanListName[list].IndexData;
    for (int r = 0; r < 3; ++r) {
        rows[r].Name = r < 2 ? "A" : "B";
        rows[r].Items = 9;
    }
    form->UpdateIndexGrid(list);
    for (int selected : {2, 1}) {
        form->SelectedIndexRow = selected;
        form->BEditIndex->click();
        ASSERT_TRUE(FormIndex->isVisible());
        EXPECT_EQ(FormIndex->HeadsGroup, selected == 1);
        FormIndex->ComboBox2->setEditText(selected == 1 ? "C" : "D");
        FormIndex->Button1->click();
    }
    // Row 2 alone became D first; then the group's head, still named A, renamed only itself.
    EXPECT_EQ(rows[0].Name, "C");
    EXPECT_EQ(rows[1].Name, "D");
    EXPECT_EQ(rows[2].Name, "B");

    // In the viewing layout the editor does not open.
    FormIndex->hide();
    form->SelectedIndexRow = 1;
    form->ToolButton11->setChecked(false);
    form->BEditIndexClick();
    EXPECT_FALSE(FormIndex->isVisible());
}

TEST_F(PlanListWindow, AListNamedInLatin1IsChosenSavedAndCopiedByItsOwnBytes) {
    // A register written on another system may name a list in Latin-1: the box shows the bytes
    // as Latin-1, and every command must still find the list behind the shown name.
    const std::string name = "Blase\xE4";
    PlanListNameClass latin1 = MakeNewPlanList(name);
    latin1.IndexData[0].Name = "PTV";
    form->PlanListName.push_back(latin1);
    form->ComboBox1->addItem(FromBytes(name));
    form->SelectPlanList(name);
    ASSERT_EQ(form->SelectedPlanList(), 0);
    EXPECT_TRUE(form->BSaveList->isEnabled());
    EXPECT_EQ(form->StringGrid1->item(0, 0)->text(), "PTV");

    form->BSaveList->click();
    EXPECT_TRUE(platform::FileExists(PlanListFilePath(dir.Path(), name)));
    EXPECT_FALSE(form->PlanListName[0].Modified);

    EXPECT_FALSE(form->PlanListNameEntered(3, "Copy", 0, form.get()));
    const int copy = FindPlanList(form->PlanListName, "Copy");
    ASSERT_GE(copy, 0);
    EXPECT_EQ(form->PlanListName[copy].IndexData[0].Name, "PTV");
}
