// Recognition of every export kind and of every refusal, from literal headers.
#include "dvh/DvhExportRecogniser.h"
#include "dvh/Workspace.h"

#include "DvhTestText.h"
#include "TestSupport.h"

#include <gtest/gtest.h>


using namespace dvhtest;

namespace {

std::string Head(std::string_view kind, std::string_view planLine,
                 std::string_view type = "Cumulative Dose Volume Histogram", bool exportedBy = false) {
    std::string t = Lines({L("Patient Name", "Doe, John (12345) (ABCDE)"), L("Patient ID", "12345"),
                           L("Comment", kind), L("Date", "24.12.2014  10:30:00")});
    if (exportedBy) t += L("Exported by", "physicist") + "\n";
    t += L("Type", type) + "\n";
    t += std::string(planLine) + "\n";
    return t;
}

std::string DescriptionHead(std::string_view kind, std::string_view planLine) {
    return Head(kind, L("Description", "The cumulative DVH displays the percentage (relative)")) +
           Lines({"                       or volume (absolute) of structures that receive a dose",
                  "                       equal to or greater than a given dose.", "", std::string(planLine),
                  "Prescribed dose [cGy]: 7800.0"});
}

std::string XiOHead() {
    return Lines({"XiO Dose Volume Histogram  Version 4.80", "PR-0042", "Prostate VMAT", "line 4", "line 5",
                  "line 6", "14 Mar 2024"});
}

struct Case {
    const char* what;
    std::string text;
    int code;
    ReadStatus status;
    const char* planName;
    const char* planID;
};

}  // namespace

TEST(DvhExportRecogniser, RecognisesEveryKindAndRefusesTheRest) {
    const std::string plan = L("Plan", "Plan A - P1");
    const std::string several = "Comment         : DVHs for several plans";  // text from the 19th character
    const std::string multiple = "Comment         : DVH's for multiple plans and plan sums";
    const Case cases[] = {
        {"one plan", Head("DVHs for one plan", plan), 2, ReadStatus::Ok, "Plan A", "P1"},
        {"plan sum keeps the value whole", Head("DVHs for a Summed Plan", plan), 3, ReadStatus::Ok,
         "Plan A - P1", "Plan A - P1"},
        {"exported-by line shifts nothing", Head("DVHs for one plan", plan, "Cumulative DVH", true), 2,
         ReadStatus::Ok, "Plan A", "P1"},
        {"BrainSCAN", Head("BrainSCAN DVHs", plan), 5, ReadStatus::Ok, "Plan A", "P1"},
        {"iPlan", Head("iPlan DVHs", plan), 6, ReadStatus::Ok, "Plan A", "P1"},
        {"plan value without separator", Head("DVHs for one plan", L("Plan", "ProstateVMAT")), 2,
         ReadStatus::Ok, "ProstateVMAT", "ProstateVMAT"},
        {"description, one plan", DescriptionHead("DVHs for one plan", "Plan: PLAN_NAME"), 12, ReadStatus::Ok,
         "PLAN_NAME", "PLAN_NAME"},
        {"description, plan sum", DescriptionHead("DVHs for a Summed Plan", "Plan sum: SUM_1"), 13,
         ReadStatus::Ok, "SUM_1", "SUM_1"},
        {"description, iPlan reads as one plan", DescriptionHead("iPlan DVHs", "Plan: IP"), 12, ReadStatus::Ok,
         "IP", "IP"},
        {"XiO", XiOHead(), 7, ReadStatus::Ok, "Prostate VMAT", "Prostate VMAT"},
        {"several plans", Lines({L("Patient Name", "X"), L("Patient ID", "1"), several}), 0,
         ReadStatus::MultiPlan, "", ""},
        {"plans and plan sums", Lines({L("Patient Name", "X"), L("Patient ID", "1"), multiple}), 0,
         ReadStatus::MultiPlan, "", ""},
        {"unknown kind", Head("DVHs for two plans", plan), 0, ReadStatus::Unrecognised, "", ""},
        {"kind compared whole", Head("DVHs for one plan ", plan), 0, ReadStatus::Unrecognised, "", ""},
        {"differential", Head("DVHs for one plan", plan, "Differential Dose Volume Histogram"), 0,
         ReadStatus::Differential, "", ""},
        {"not cumulative", Head("DVHs for one plan", plan, "Dose Volume Histogram"), 0, ReadStatus::NotCumulative,
         "", ""},
        {"no plan line", Head("DVHs for one plan", L("Course", "C1")), 0, ReadStatus::NoPlanLine, "", ""},
        {"empty file", "", 0, ReadStatus::Empty, "", ""},
        {"other first line", "Dose\tPTV\tRectum\n", 0, ReadStatus::Unrecognised, "", ""},
        {"binary junk", std::string("\x00\xff\x13\x89PNG\r\n\x1a", 10), 0, ReadStatus::Unrecognised, "", ""},
        {"ends after kind line", Lines({L("Patient Name", "X"), L("Patient ID", "1"), L("Comment", "DVHs for one plan")}),
         0, ReadStatus::Truncated, "", ""},
        {"ends before plan line", Head("DVHs for one plan", "").substr(0, Head("DVHs for one plan", "").size() - 1), 0,
         ReadStatus::Truncated, "", ""},
        {"ends right after description", Head("DVHs for one plan", L("Description", "text")), 0,
         ReadStatus::Truncated, "", ""},
        {"XiO cut short", Lines({"XiO Dose Volume Histogram", "PR-0042", "Plan"}), 0, ReadStatus::Truncated, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DvhHeader h = RecogniseDvhHeader(c.text);
        EXPECT_EQ(h.FileType, c.code);
        EXPECT_EQ(h.result.status, c.status);
        if (c.code != 0) {
            EXPECT_EQ(h.fields.PlanName, c.planName);
            EXPECT_EQ(h.fields.PlanID, c.planID);
        }
    }
}

TEST(DvhExportRecogniser, TakesPatientDateAndTimeFields) {
    DvhHeader h = RecogniseDvhHeader(Head("DVHs for one plan", L("Plan", "Plan A - P1")));
    EXPECT_EQ(h.fields.PatientName, "Doe John ");  // commas removed, blank before "(" kept
    EXPECT_EQ(h.fields.PatientExtra, "ABCDE");
    EXPECT_EQ(h.fields.PatientID, "12345");
    EXPECT_EQ(h.fields.Date, "24/12/2014");
    EXPECT_EQ(h.fields.Time, "10:30:00");

    struct NameCase { const char* value; const char* name; const char* extra; } names[] = {
        {"Doe (12345) ()", "Doe ", ""},             // "()" anywhere clears the extra field
        {"Doe, Jane", "Doe Jane", ""},              // no "(": the whole value
        {"Roe (1) (AB)", "Roe ", "AB)"},            // five characters, as far as the line reaches
        {"Poe (1) (ABCDEFG)", "Poe ", "ABCDE"},     // five characters
    };
    for (const auto& n : names) {
        SCOPED_TRACE(n.value);
        DvhHeader k = RecogniseDvhHeader(Lines({L("Patient Name", n.value)}));
        EXPECT_TRUE(k.identified);
        EXPECT_EQ(k.fields.PatientName, n.name);
        EXPECT_EQ(k.fields.PatientExtra, n.extra);
    }

    // A second line with another label leaves the ID empty and recognition goes on.
    std::string noId = Head("DVHs for one plan", L("Plan", "A - B"));
    noId.replace(noId.find("Patient ID"), 10, "Patient Nr");
    DvhHeader k = RecogniseDvhHeader(noId);
    EXPECT_EQ(k.FileType, 2);
    EXPECT_EQ(k.fields.PatientID, "");

    DvhHeader x = RecogniseDvhHeader(XiOHead());
    EXPECT_EQ(x.fields.PatientID, "PR-0042");
    EXPECT_EQ(x.fields.Date, "14 Mar 2024");
    EXPECT_EQ(x.fields.PatientName, "");
    EXPECT_EQ(x.fields.Time, "");
}

TEST(DvhExportRecogniser, ReadsLinesWholeWithAnyLineEndAndByteOrderMark) {
    const std::string lf = Head("DVHs for one plan", L("Plan", "Plan A - P1"));
    for (const std::string& text : {ToCrLf(lf), "\xEF\xBB\xBF" + lf, "\xEF\xBB\xBF" + ToCrLf(lf)}) {
        DvhHeader h = RecogniseDvhHeader(text);
        EXPECT_EQ(h.FileType, 2);
        EXPECT_EQ(h.fields.PatientName, "Doe John ");
        EXPECT_EQ(h.fields.Time, "10:30:00");  // no CR left at the end of a line
        EXPECT_EQ(h.fields.PlanID, "P1");
    }
    // A 150-character name line stays one line: nothing after it shifts.
    std::string longName(126, 'N');
    std::string text = lf;
    text.replace(text.find("Doe, John"), 9, longName);
    DvhHeader h = RecogniseDvhHeader(text);
    ASSERT_EQ(h.FileType, 2);
    EXPECT_EQ(h.fields.PatientName, longName + " ");
    EXPECT_EQ(h.fields.PlanName, "Plan A");
}

TEST(DvhExportRecogniser, WorkspaceFillsHeaderMembersOrTheGivenTarget) {
    dvhtest::RecordingHost host;
    Workspace ws;
    ws.SetHost(&host);
    dvhtest::TempFolder folder("recogniser");
    const std::string good = folder.Write("good.txt", Head("DVHs for one plan", L("Plan", "Plan A - P1")));
    const std::string diff =
        folder.Write("diff.txt", Head("DVHs for one plan", L("Plan", "B - Q"), "Differential Dose Volume Histogram"));

    EXPECT_EQ(ws.ReadDvhHeader(good), 2);
    EXPECT_EQ(ws.HeaderPatientID, "12345");
    EXPECT_EQ(ws.HeaderPlanID, "P1");
    EXPECT_EQ(ws.HeaderDate, "24/12/2014");

    DvhHeaderFields own;  // the saved-DVH browser keeps its own copy
    ws.HeaderPlanID = "untouched";
    EXPECT_EQ(ws.ReadDvhHeader(good, &own), 2);
    EXPECT_EQ(own.PlanName, "Plan A");
    EXPECT_EQ(ws.HeaderPlanID, "untouched");

    EXPECT_EQ(ws.ReadDvhHeader(diff), 0);
    EXPECT_EQ(ws.LastHeaderResult.status, ReadStatus::Differential);
    EXPECT_EQ(host.messages, std::vector<std::string>{"Cannot read differential DVH file [ diff.txt ]"});
    EXPECT_EQ(host.captions, std::vector<std::string>{"Unsupported DVH Type"});

    EXPECT_EQ(ws.ReadDvhHeader(good + ".missing"), 0);
    EXPECT_EQ(ws.LastHeaderResult.status, ReadStatus::NotFound);
}
