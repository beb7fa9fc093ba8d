// Three plans (B without a PTV) and a plan list of two PTV rows, in a comparison window.
#pragma once

#include "compare/ui/TFormComp.h"
#include "dvh/Workspace.h"

#include "../../planlist/PlanFixtures.h"
#include "../../platform/TempFolder.h"
#include "../../support/QtTestApp.h"

#include <QComboBox>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <memory>

class ComparisonWindow : public ::testing::Test {
protected:
    void SetUp() override {
        TestApp();
        for (const char* id : {"A", "B", "C"}) {
            PDatasetClass plan = fixtures::ExamplePlan();
            plan.PlanID = id;
            plan.Key = std::string("key") + id;
            plan.FileType = FileTypeBrainScan;  // comparable without a file
            m_ws.PDataset.push_back(plan);
        }
        m_ws.PDataset[1].DVHDataset[0].Name = "CTV";  // B has no PTV
        PlanListNameClass list;
        list.Name = "Prostate";
        IndexDataClass row;
        row.Name = "PTV";
        row.Items = 11;  // Max dose [Gy]: 40
        row.ConstraintsON = true;
        row.Constraints = 39;
        row.ConstraintFontColorB = 255;
        list.IndexData = {row, row};
        list.IndexData[1].Items = 9;  // Mean dose [Gy]: 25
        m_ws.PlanListName.push_back(list);
        for (PDatasetClass& plan : m_ws.PDataset) plan.PlanListIndex = 0;
        m_form = std::make_unique<TFormComp>(m_ws, nullptr);
        m_form->ProgramFolder = m_dir.Path();
        m_form->ComboBox1->addItem("Prostate");
    }

    QString Cell(QTableWidget* grid, int row, int col) {
        const QTableWidgetItem* item = grid->item(row, col);
        return item ? item->text() : QString("<none>");
    }

    Workspace m_ws;
    TempFolder m_dir;
    std::unique_ptr<TFormComp> m_form;
};

