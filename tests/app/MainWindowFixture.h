// A main window with its dialogs, a private program folder and plans made for the test.
#pragma once

#include "app/Forms.h"
#include "app/TForm1.h"
#include "app/TFormGraphView.h"
#include "app/TFormOption.h"
#include "app/TFormSList.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>

#include "../support/QtTestApp.h"

#include <gtest/gtest.h>

#include <functional>

/// One structure whose curve falls linearly from full volume at 0 dose to none at `maxGy`.
inline DVHDatasetClass LinearStructure(const std::string& name, float maxGy, float volumeCc,
                                       int points = 11, float prescribedGy = 50) {
    DVHDatasetClass s;
    s.Name = name;
    s.PrescribedDose = prescribedGy;
    s.Volume = volumeCc;
    s.Color = RgbColor(10, 20, 30);
    for (int j = 0; j < points; ++j) {
        const float f = static_cast<float>(j) / static_cast<float>(points - 1);
        DVsetClass p;
        p.DoseGy = f * maxGy;
        p.DosePercent = p.DoseGy / prescribedGy * 100;
        p.VolumePercent = 100 * (1 - f);
        p.VolumeCc = volumeCc * (1 - f);
        s.DVset.push_back(p);
    }
    return s;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestApp();
        ASSERT_TRUE(m_home.isValid());
        qputenv("TESSARAY_HOME", m_home.path().toUtf8());
        Form1 = new TForm1;
        // The computer name start-up reads, so that files written here are read back there.
        Form1->ComputerName = platform::HostName();
        FormOption = new TFormOption(Form1);
        FormSList = new TFormSList(Form1);
        FormGraphView = new TFormGraphView(Form1);
    }
    void TearDown() override {
        delete Form1;
        Form1 = nullptr;
        FormOption = nullptr;
        FormSList = nullptr;
        FormGraphView = nullptr;
        qunsetenv("TESSARAY_HOME");
    }

    QString IniPath() const { return m_home.filePath("Tessaray.ini"); }
    QString Home() const { return m_home.path(); }

    /// A plan of three structures (the second with an alias) appended and made current.
    int AddPlan() {
        PDatasetClass plan;
        plan.PatientName = "Doe^Jane";
        plan.PatientID = "P1";
        plan.PlanName = "Prostate";
        plan.PlanID = "PL1";
        plan.DVHDataset.push_back(LinearStructure("PTV [1]", 60, 80));
        plan.DVHDataset.push_back(LinearStructure("Rectum", 40, 30));
        plan.DVHDataset.back().ModifiedName = "Rectum wall";
        plan.DVHDataset.push_back(LinearStructure("[x] Body", 20, 2000));
        Form1->PDataset.push_back(plan);
        return Form1->PDatasetCount() - 1;
    }

    QTemporaryDir m_home;
};
