// Project > Plan Comparison from the main window, and naming a structure set in the input box.
#include "app/Forms.h"
#include "app/TForm1.h"
#include "app/TFormInputBox.h"
#include "compare/ui/TFormComp.h"

#include "../../planlist/PlanFixtures.h"
#include "../../platform/TempFolder.h"
#include "../../support/QtTestApp.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <qcustomplot.h>

TEST(ComparisonLauncher, OpensWithTheMainListAndStoresASetThroughTheInputBox) {
    TestApp();
    TempFolder home;
    qputenv("TESSARAY_HOME", QByteArray::fromStdString(home.Path()));
    CreateForms();
    ASSERT_NE(FormComp, nullptr);
    PDatasetClass plan = fixtures::ExamplePlan();
    plan.FileType = FileTypeIPlan;
    plan.PlanListIndex = 0;
    Form1->PDataset.push_back(plan);
    PlanListNameClass list;
    list.Name = "Prostate";
    Form1->PlanListName.push_back(list);
    Form1->ComboBox1->addItem("Prostate");
    Form1->ComboBox1->setCurrentIndex(0);

    ASSERT_TRUE(Form1->PlanComparison1->isEnabled());
    Form1->PlanComparison1->trigger();
    EXPECT_TRUE(FormComp->isVisible());
    EXPECT_EQ(FormComp->ComboBox1->count(), 1);
    FormComp->Button4->click();
    FormComp->ComboBox2->setCurrentIndex(0);
    FormComp->ComboBox2Change();

    // Reopened after Gy and width 4: "Relative [%]", the second width, and charts drawn so.
    FormComp->DoseButtons->button(0)->click();
    FormComp->RadioButton4->click();
    FormComp->close();
    Form1->PlanComparison1->trigger();
    EXPECT_EQ(FormComp->LineWidth, 2);
    EXPECT_TRUE(FormComp->RadioButton2->isChecked());
    EXPECT_TRUE(FormComp->DoseButtons->button(1)->isChecked());
    EXPECT_EQ(FormComp->Chart1->xAxis->label(), "Dose [%]");
    ASSERT_EQ(FormComp->Chart1->graphCount(), 1);
    EXPECT_EQ(FormComp->Chart1->graph(0)->pen().width(), 2);

    // One printer choice serves both reports: the comparison prints on the main window's.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(home.File("comparison.pdf")));
    Form1->Printer = &printer;
    Form1->PrintDialog1 = new QPrintDialog(&printer, Form1);
    EXPECT_TRUE(AnswerModal([] { FormComp->BitBtn1->click(); },
                            [](QWidget* modal) { qobject_cast<QDialog*>(modal)->accept(); }));
    EXPECT_TRUE(std::filesystem::exists(home.File("comparison.pdf")));

    FormComp->BitBtn4->click();
    ASSERT_TRUE(FormInputBox->isVisible());
    EXPECT_EQ(FormInputBox->Mode, 4);
    EXPECT_FALSE(FormComp->isEnabled());
    FormInputBox->Edit1->setText("Prostate set");
    FormInputBox->Button1->click();
    EXPECT_FALSE(FormInputBox->isVisible());
    EXPECT_TRUE(FormComp->isEnabled());
    ASSERT_EQ(FormComp->CompDVHrep.size(), 1u);
    EXPECT_EQ(FormComp->CompDVHrep[0].Structure[0], "PTV");
    EXPECT_TRUE(std::filesystem::exists(home.File("Tessaray_ReportCompDVHset.ini")));

    // Clearing the main window's lists takes the plans out of the comparison.
    Form1->ClearList1->trigger();
    EXPECT_TRUE(FormComp->PlanComp.empty());
    Form1->close();  // the program ends with its main window
    EXPECT_FALSE(FormComp->isVisible());
    delete Form1;
    Form1 = nullptr;
    EXPECT_EQ(FormComp, nullptr);
    qunsetenv("TESSARAY_HOME");
}
