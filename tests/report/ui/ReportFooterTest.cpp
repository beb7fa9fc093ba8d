// The report page's comment block and footer: whatever the comment, the footer is never drawn
// over it or over the plan line, on the picture the preview shows and saves and on a PDF
// printer's page.
#include "report/ReportLayout.h"
#include "report/ui/PagePainter.h"
#include "widgets/VersionText.h"

#include "../../support/QtTestApp.h"

#include <QPrinter>

#include <gtest/gtest.h>

#include <optional>

TEST(ReportFooter, NeverDrawnOverTheCommentOrThePlanLine) {
    TestApp();
    PDatasetClass plan;
    plan.PatientName = "Smith John";
    plan.PatientID = "PR-0042";
    plan.PlanID = "P3";
    const std::string signature = "Signed: Dr. Quincy Gypsum, physics";
    struct Case {
        std::array<std::string, 3> Comment;
        std::string PlanName;
        bool FooterInItsPlace;
        bool FooterShown;
    };
    const Case cases[] = {
        {{"Approved", "", "third"}, "Prostate3D", true, true},
        {{"", "", signature}, "Prostate3D", false, true},
        {{signature, signature, signature}, "Prostate3D", false, true},
        // A plan line that leaves the footer no room beside the comment.
        {{"", "", signature}, "Prostate3D VMAT 78 Gy in 39 fractions", false, false},
    };
    const QImage picture = RenderPageImage(PageDrawing{840, 1188, {}}, {});
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    const std::pair<const char*, const QPaintDevice*> devices[] = {{"page picture", &picture},
                                                                   {"PDF printer", &printer}};
    for (const auto& [where, device] : devices)
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(where) + ", comment ending \"" + c.Comment[2] + "\", plan " + c.PlanName);
            plan.PlanName = c.PlanName;
            ReportPageInput in;
            in.Plan = &plan;
            in.CommentLine = c.Comment;
            in.Version = VersionText().toStdString();
            in.Width = device->width();
            in.Height = device->height();
            in.Measure = PageTextMeasureOn(device);
            std::vector<QRect> others;
            std::optional<PageText> footer;
            for (const PageOperation& op : LayOutReportPage(in).Page.Operations)
                if (const auto* t = std::get_if<PageText>(&op)) {
                    if (t->Text.starts_with("Tessaray - "))
                        footer = *t;
                    else if (t->Text == c.Comment[2] || t->Text == c.Comment[0] || t->Text == ": P3 - " + c.PlanName)
                        others.push_back(PageTextRect(*t, device));
                }
            ASSERT_EQ(footer.has_value(), c.FooterShown);
            if (!footer) continue;
            const QRect footerRect = PageTextRect(*footer, device);
            for (const QRect& r : others) EXPECT_FALSE(r.intersects(footerRect));
            EXPECT_EQ(footer->X == PageUnit(0.84, in.Width), c.FooterInItsPlace);
            EXPECT_EQ(footer->Y, PageUnit(0.99, in.Height));
        }
}
