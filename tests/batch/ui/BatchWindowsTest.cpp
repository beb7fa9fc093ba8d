// A batch on the example exports, driven through its three windows as a user would.
#include "batch/ui/TFormBatch.h"
#include "batch/ui/TFormBatchResult.h"
#include "batch/ui/TFormBatchSet.h"

#include "../../app/MainWindowFixture.h"
#include "planlist/PlanListFile.h"
#include "platform/OpenedFile.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

#include <qcustomplot.h>

#include <sys/stat.h>

namespace {

std::vector<std::string> FileLines(const std::string& path) {
    std::string text;
    EXPECT_TRUE(platform::ReadWholeFile(path, text)) << path;
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

std::vector<std::string> Cells(const std::string& line) {
    std::vector<std::string> cells;
    for (std::size_t start = 0, tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
        cells.push_back(line.substr(start, tab - start));
    return cells;
}

QStringList Column(const QTreeWidget* list, int column) {
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i) texts << list->topLevelItem(i)->text(column);
    return texts;
}

class BatchWindows : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        CreateBatchForms();
        const std::string examples = TESSARAY_EXAMPLES;
        PlanListLoadResult loaded = LoadPlanListFile(examples + "/Prostate.lst", "Prostate");
        ASSERT_EQ(loaded.status, PlanListFileStatus::Ok);
        Form1->PlanListName.push_back(loaded.list);
        Form1->ComboBox1->addItem("Prostate");
        std::vector<std::string> files;
        for (const char* name : {"Prostate_OnePlan.txt", "Batch_PR-0107.txt", "Batch_PR-0113.txt", "Batch_PR-0121.txt"})
            files.push_back(examples + "/" + name);
        ASSERT_EQ(Form1->TakeFiles(files, true).Appended, 4);
    }
    QMessageBox* Message(QWidget* form) const { return form->findChild<QMessageBox*>("BatchMessage"); }
};

TEST_F(BatchWindows, TickOkAliasOkRowAndBothExports) {
    Form1->Batchprocessing1Click();
    ASSERT_TRUE(FormBatch->isVisible());
    EXPECT_FALSE(Form1->FormEnabled());
    EXPECT_EQ(FormBatch->ListView1->topLevelItemCount(), 4);
    FormBatch->Button1Click();
    FormBatch->Button4Click();  // no plan list chosen yet
    ASSERT_TRUE(Message(FormBatch));
    EXPECT_EQ(Message(FormBatch)->text(), "No plan are specified.");
    delete Message(FormBatch);

    FormBatch->ComboBox1->setCurrentIndex(0);
    FormBatch->Button4Click();
    EXPECT_FALSE(FormBatch->isVisible());
    ASSERT_TRUE(FormBatchSet->isVisible());
    EXPECT_EQ(Form1->PDatasetCount(), 4);
    EXPECT_FALSE(Form1->FormEnabled());
    EXPECT_EQ(FormBatchSet->Edit1->text(), "Prostate");
    ASSERT_EQ(FormBatchSet->ListBox1->count(), 7);

    FormBatchSet->ListBox1->setCurrentRow(2);  // "Rectum": the patient who calls it "Rect" has none
    const QStringList before = Column(FormBatchSet->ListView1, 5);
    EXPECT_EQ(before.count("Rectum"), 3);
    const int garcia = Column(FormBatchSet->ListView1, 0).indexOf("PR-0113");
    ASSERT_GE(garcia, 0);
    EXPECT_EQ(before[garcia], "");
    FormBatchSet->ListView1->setCurrentItem(FormBatchSet->ListView1->topLevelItem(garcia));
    FormBatchSet->ComboBox1->setCurrentIndex(FormBatchSet->ComboBox1->findText("Rect"));
    FormBatchSet->Button1Click();
    EXPECT_EQ(FormBatchSet->ListBox2->count(), 1);
    EXPECT_EQ(Column(FormBatchSet->ListView1, 5)[garcia], "Rect");

    FormBatchSet->Button3Click();
    ASSERT_TRUE(FormBatchResult->isVisible());
    EXPECT_FALSE(FormBatchSet->isVisible());
    EXPECT_EQ(FormBatchResult->Edit1->text(), "0.5");
    ASSERT_EQ(FormBatchResult->StringGrid1->rowCount(), 18);
    EXPECT_EQ(FormBatchResult->StringGrid1->item(0, 0)->text(), "PTV");
    EXPECT_EQ(FormBatchResult->StringGrid1->item(0, 1)->text(), "D95% [%]");
    EXPECT_EQ(FormBatchResult->StringGrid1->item(1, 0)->text(), "");

    FormBatchResult->StringGrid1->setCurrentCell(7, 0);  // Rectum, V50Gy [%]
    EXPECT_EQ(FormBatchResult->SelectedRow, 8);
    EXPECT_EQ(FormBatchResult->Chart1->graphCount(), 4);  // "Rect" included
    int counted = 0;
    for (int n : FormBatchResult->Histogram) counted += n;
    EXPECT_EQ(counted, 4);
    EXPECT_GT(FormBatchResult->CurveEndDoseGy, 50);

    const std::string dvh = Home().toStdString() + "/rectum.csv";
    ASSERT_TRUE(FormBatchResult->ExportDvh(dvh));
    const std::vector<std::string> curves = FileLines(Home().toStdString() + "/rectum.txt");
    ASSERT_GT(curves.size(), 6u);
    EXPECT_EQ(curves[0], "Rectum");
    // Batch order: "Patient RID" descending.
    EXPECT_EQ(curves[1], "\tPR-0121\tPR-0113\tPR-0107\tPR-0042\t");
    EXPECT_EQ(curves[6], "0.0\t100.00\t100.00\t100.00\t100.00\t");

    const std::string index = Home().toStdString() + "/index.txt";
    ASSERT_TRUE(FormBatchResult->ExportIndex(index));
    const std::vector<std::string> table = FileLines(index);
    ASSERT_EQ(table.size(), 2u + 4u);
    // Every value is what the main window's index grid shows for that plan.
    for (int i = 0; i < 4; ++i) {
        const std::vector<std::string> cells = Cells(table[2 + i]);
        ASSERT_EQ(cells.size(), 6u + 18u);
        if (cells[0] == "PR-0113") continue;  // its rectum is matched by the alias only
        Form1->CurrentPlanIndex = Form1->FindDatasetByKey(Form1->OpenFile[Form1->FindOpenFileByKey(
            Workspace::DatasetKey(cells[0], cells[3], cells[4], cells[5]))].Key);
        Form1->UpdateIndexGrid(0);
        for (int j = 0; j < 18; ++j) {
            const QString shown = Form1->StringGrid1->item(j, 2)->text();
            EXPECT_EQ(cells[6 + j], shown == "Null" ? "" : shown.toStdString()) << cells[0] << " row " << j;
        }
    }
    FormBatchResult->Button1Click();
    EXPECT_TRUE(Form1->FormEnabled());
}

TEST_F(BatchWindows, ASecondBatchDropsTheAliasesAndTheCharts) {
    Form1->Batchprocessing1Click();
    FormBatch->Button1Click();
    FormBatch->ComboBox1->setCurrentIndex(0);
    FormBatch->Button4Click();
    FormBatchSet->Batchpro[2].AliasName = {"Rect"};
    FormBatchSet->Button3Click();
    FormBatchResult->StringGrid1->setCurrentCell(7, 0);
    ASSERT_EQ(FormBatchResult->Chart1->graphCount(), 4);
    FormBatchResult->Button1Click();

    Form1->Batchprocessing1Click();
    FormBatch->Button1Click();
    FormBatch->ComboBox1->setCurrentIndex(0);
    FormBatch->Button4Click();
    EXPECT_EQ(Form1->PDatasetCount(), 4);  // loaded plans are taken as they are
    EXPECT_TRUE(FormBatchSet->Batchpro[2].AliasName.empty());
    FormBatchSet->Button3Click();
    EXPECT_EQ(FormBatchResult->Chart1->graphCount(), 0);
    EXPECT_TRUE(FormBatchResult->Histogram.empty());
    EXPECT_EQ(FormBatchResult->CurveEndDoseGy, 0);
    // The step field refuses what is no step.
    FormBatchResult->StringGrid1->setCurrentCell(7, 0);
    FormBatchResult->Edit1->setText("0.");
    FormBatchResult->BitBtn4Click();
    QMessageBox* box = FormBatchResult->findChild<QMessageBox*>("StepSizeMessage");
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text(), "Step size is not specified.");
    FormBatchResult->Button1Click();
}

TEST_F(BatchWindows, ExportDialogsProposeNoNameInTheFolderThatExportLastWroteTo) {
    Form1->Batchprocessing1Click();
    FormBatch->Button1Click();
    FormBatch->ComboBox1->setCurrentIndex(0);
    FormBatch->Button4Click();
    FormBatchSet->Button3Click();
    FormBatchResult->StringGrid1->setCurrentCell(0, 0);
    const QString chosen = Home() + "/exports";
    ASSERT_TRUE(QDir().mkpath(chosen));
    using Button = void (TFormBatchResult::*)();
    // Per press: the file typed ("" cancels), then the folder and name the dialog showed. The
    // tests' home has no documents folder: the first dialog of an export opens in the home.
    const struct {
        Button button;
        QString typed, folder;
    } presses[] = {{&TFormBatchResult::BitBtn3Click, chosen + "/index.txt", QDir::homePath()},
                   {&TFormBatchResult::BitBtn3Click, "", chosen},
                   {&TFormBatchResult::BitBtn4Click, "", QDir::homePath()}};
    for (const auto& press : presses) {
        QString folder, name = "?";
        EXPECT_TRUE(AnswerModal([&] { (FormBatchResult->*press.button)(); }, [&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_TRUE(dialog);
            QLineEdit* nameField = dialog->findChild<QLineEdit*>("fileNameEdit");
            folder = dialog->directory().absolutePath();
            name = nameField->text();
            if (press.typed.isEmpty()) return dialog->reject();
            nameField->setText(press.typed);
            static_cast<QDialog*>(dialog)->accept();  // the Save button
        }));
        EXPECT_EQ(folder.toStdString(), press.folder.toStdString()) << press.typed.toStdString();
        EXPECT_EQ(name.toStdString(), "");
    }
    EXPECT_TRUE(QFileInfo::exists(chosen + "/index.txt"));

    // A folder or a pipe of the ".txt" name is no file to replace: nobody is asked, and the
    // export is refused with the reason, as the main window's saves are.
    ASSERT_TRUE(QDir(chosen).mkdir("taken.txt"));
    ASSERT_EQ(mkfifo(QFile::encodeName(chosen + "/pipe.txt").constData(), 0600), 0);
    for (const auto& [typed, reason] : {std::pair{"/taken.csv", "is a folder, not a file"},
                                        std::pair{"/pipe.csv", "is no regular file"}}) {
        const auto save = [&, typed = typed](QWidget* modal) {
            modal->findChild<QLineEdit*>("fileNameEdit")->setText(chosen + typed);
            qobject_cast<QDialog*>(modal)->accept();
        };
        EXPECT_EQ(1, AnswerModals([] { FormBatchResult->BitBtn3Click(); }, {save, AnswerYes})) << typed;
        auto* failure = FormBatchResult->findChild<QMessageBox*>("BatchWriteFailure");
        ASSERT_NE(failure, nullptr);
        EXPECT_TRUE(failure->text().contains(reason)) << failure->text().toStdString();
        delete failure;
    }
    FormBatchResult->Button1Click();
}

TEST_F(BatchWindows, SortRulesAPlanSumRefusedTheStepFieldAndABitmap) {
    const std::string examples = TESSARAY_EXAMPLES;
    ASSERT_EQ(Form1->TakeFiles({examples + "/Prostate_PlanSum.txt", examples + "/Prostate_OnePlan_Description.txt"}, true)
                  .Appended,
              2);
    Form1->Batchprocessing1Click();
    QTreeWidget* list = FormBatch->ListView1;
    // "Patient RID": descending on the first click, ascending on the next; equal texts keep
    // their order.
    list->topLevelItem(4)->setText(2, "rtp02");
    FormBatch->ListView1ColumnClick(2);
    EXPECT_EQ(Column(list, 2), (QStringList{"RTP04", "RTP03", "RTP02", "rtp02", "RTP01", "RTP01"}));
    FormBatch->ListView1ColumnClick(2);
    EXPECT_EQ(Column(list, 2), (QStringList{"RTP01", "RTP01", "RTP02", "rtp02", "RTP03", "RTP04"}));
    // The "Description" export is drawn at the end of loading, while the first OK still runs:
    // an OK pressed then starts nothing (no second decision, no second message).
    int drawn = 0;
    FormBatch->ShowLoadedPlan = [&](int planIndex) {
        ++drawn;
        EXPECT_EQ(Form1->PDataset[planIndex].FileType, FileTypePlanDescription);
        FormBatch->Button4Click();
    };

    FormBatch->Button1Click();
    FormBatch->ComboBox1->setCurrentIndex(0);
    FormBatch->Button4Click();
    ASSERT_TRUE(Message(FormBatch));
    EXPECT_EQ(Message(FormBatch)->text(), "The operation is not permitted for the Sumplan/Comparison DVH_file.");
    EXPECT_FALSE(FormBatchSet->isVisible());
    EXPECT_EQ(FormBatch->findChildren<QMessageBox*>("BatchMessage").size(), 1);
    EXPECT_EQ(drawn, 1);
    EXPECT_EQ(Form1->PDatasetCount(), 5);  // the others are loaded
    int ticked = 0;
    for (int i = 0; i < list->topLevelItemCount(); ++i) ticked += list->topLevelItem(i)->checkState(0) == Qt::Checked;
    EXPECT_EQ(ticked, 5);
    FormBatch->Button4Click();  // the refused file is no longer ticked
    ASSERT_TRUE(FormBatchSet->isVisible());
    FormBatchSet->Button3Click();

    QLineEdit* step = FormBatchResult->Edit1;
    step->clear();
    QTest::keyClicks(step, "0.2a.5");
    EXPECT_EQ(step->text(), "0.25");
    FormBatchResult->StringGrid1->setCurrentCell(0, 0);
    ASSERT_TRUE(FormBatchResult->SaveChartBitmap(FormBatchResult->Chart2, Home() + "/bars.jpg"));
    QImage picture(Home() + "/bars.bmp", "BMP");
    EXPECT_EQ(picture.width(), FormBatchResult->Chart2->width() * 3 / 2);
    FormBatchResult->Button1Click();
}

}  // namespace
