// The dataset key, the two lookups by key and the appending of entries and plans.
#include "dvh/Workspace.h"

#include <gtest/gtest.h>

TEST(PlanDatasets, KeysAndLookupsFindTheLastEqualEntry) {
    Workspace ws;
    EXPECT_EQ(Workspace::DatasetKey("12345", "P1", "24/12/2014", "10:30:00"), "12345P124/12/2014 10:30:00");
    ws.HeaderPatientID = "12345";
    ws.HeaderPlanID = "P1";
    ws.HeaderDate = "24/12/2014";
    ws.HeaderTime = "10:30:00";
    ws.HeaderPatientName = "Doe John ";
    ws.HeaderPatientExtra = "ABCDE";
    ws.HeaderPlanName = "Plan A";

    EXPECT_EQ(ws.FindOpenFileByKey(ws.HeaderKey()), -1);
    EXPECT_EQ(ws.AppendOpenFileFromHeader("/data/a.txt", 2), 0);
    EXPECT_EQ(ws.AppendOpenFileFromHeader("/data/b.txt", 12), 1);  // same key, later entry
    const OpenFileClass& e = ws.OpenFile[1];
    EXPECT_EQ(e.FilePath, "/data/b.txt");
    EXPECT_EQ(e.PatientName, "Doe John ");
    EXPECT_EQ(e.PatientExtra, "ABCDE");
    EXPECT_EQ(e.PlanName, "Plan A");
    EXPECT_EQ(e.FileType, 12);
    EXPECT_EQ(e.Key, "12345P124/12/2014 10:30:00");
    EXPECT_EQ(ws.FindOpenFileByKey(e.Key), 1);
    EXPECT_EQ(ws.FindOpenFileByKey("12345p124/12/2014 10:30:00"), -1);  // case counts

    EXPECT_EQ(ws.AppendPlanFromOpenFile(1), 0);
    const PDatasetClass& p = ws.PDataset[0];
    EXPECT_EQ(p.FilePath, "/data/b.txt");
    EXPECT_EQ(p.Key, e.Key);
    EXPECT_EQ(p.PatientExtra, "ABCDE");
    EXPECT_EQ(p.FileType, 12);
    EXPECT_EQ(p.DVHDatasetCount(), 0);
    EXPECT_EQ(p.BodyIndex, -1);
    EXPECT_EQ(p.PlanListIndex, -1);
    EXPECT_EQ(ws.AppendPlanFromOpenFile(5), -1);

    ws.AppendPlanFromOpenFile(0);
    EXPECT_EQ(ws.FindDatasetByKey(e.Key), 1);
    EXPECT_EQ(ws.FindDatasetByKey("nothing"), -1);

    ws.PDataset[1].PlanID = "P2";
    ws.PDataset[1].Key = "k2";
    EXPECT_EQ(ws.AppendOpenFileFromPlan(1), 2);
    EXPECT_EQ(ws.OpenFile[2].PlanID, "P2");
    EXPECT_EQ(ws.OpenFile[2].FilePath, "/data/a.txt");
    EXPECT_EQ(ws.FindOpenFileByKey("k2"), 2);
    EXPECT_EQ(ws.AppendOpenFileFromPlan(7), -1);
}
