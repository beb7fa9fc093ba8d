// A main window with the report windows, a plan of three coloured structures and a list.
#pragma once

#include "../../app/MainWindowFixture.h"

#include "app/TAboutBox.h"
#include "report/ui/TFormComment.h"
#include "report/ui/TFormRepoList.h"
#include "report/ui/TFormReport.h"

#include <QComboBox>

inline IndexDataClass IndexRow(const std::string& name, bool print) {
    IndexDataClass r;
    r.Name = name;
    r.Items = 9;
    r.ItemsCI = 0;
    r.IndexPrint = print;
    return r;
}

class ReportWindowTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        AboutBox = new TAboutBox(Form1);
        CreateReportForms();
        m_plan = AddPlan();
        const TColor colors[] = {RgbColor(200, 0, 0), RgbColor(0, 160, 0), RgbColor(0, 0, 220)};
        for (int s = 0; s < 3; ++s) Form1->PDataset[m_plan].DVHDataset[s].Color = colors[s];
        PlanListNameClass list;
        list.Name = "Prostate";
        list.IndexData = {IndexRow("PTV [1]", true), IndexRow("Rectum wall", false), IndexRow("", true)};
        Form1->PlanListName = {list};
        Form1->PDataset[m_plan].PlanListIndex = 0;
        Form1->ComboBox1->addItem("Prostate");
        Form1->show();
        Form1->ShowPlan(m_plan);
        Form1->DrawDvhChart(m_plan);
    }
    void TearDown() override {
        FormReport = nullptr;
        FormComment = nullptr;
        FormRepoList = nullptr;
        AboutBox = nullptr;
        MainWindowTest::TearDown();
    }
    /// The colour of the first structure row's square on the page.
    QColor FirstSquare() const { return FormReport->Page().pixelColor(48, 648); }

    int m_plan = -1;
};
