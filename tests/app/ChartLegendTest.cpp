// The legends of the main chart and the comparison charts, on screen and with the fonts of their
// report pages: with the example plans open, no entry is drawn over another entry or its sample,
// and each label stands level with its sample's line.
#include "app/DesignedFont.h"
#include "app/Forms.h"
#include "app/TForm1.h"
#include "app/TFormInputBox.h"
#include "compare/ui/ComparisonChartView.h"
#include "compare/ui/TFormComp.h"
#include "report/ui/ChartPageStyle.h"
#include "../support/ExampleProgramFolder.h"
#include "../support/QtTestApp.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>

#include <qcustomplot.h>

#include <gtest/gtest.h>

namespace {

/// Lays `chart` out with the fonts it has now and checks where its legend draws each entry: the
/// sample from the entry's top left corner, the label beside it from the same top.
void ExpectLegendEntriesApart(QCustomPlot* chart, const char* where) {
    SCOPED_TRACE(where);
    chart->replot(QCustomPlot::rpImmediateRefresh);
    QCPLegend* legend = chart->legend;
    std::vector<QRect> samples, labels;
    std::vector<std::string> names;
    for (int i = 0; i < legend->itemCount(); ++i) {
        auto* entry = qobject_cast<QCPPlottableLegendItem*>(legend->item(i));
        ASSERT_NE(entry, nullptr);
        const QRect r = entry->rect();
        const QFontMetrics metrics(entry->font());
        names.push_back(entry->plottable()->name().toStdString());
        samples.emplace_back(r.topLeft(), legend->iconSize());
        labels.emplace_back(r.left() + legend->iconSize().width() + legend->iconTextPadding(), r.top(),
                            metrics.horizontalAdvance(entry->plottable()->name()), metrics.height());
        EXPECT_NEAR(labels.back().center().y(), samples.back().center().y(), 1) << names.back();
    }
    for (std::size_t i = 0; i < samples.size(); ++i)
        for (std::size_t j = i + 1; j < samples.size(); ++j) {
            const QRect a = samples[i] | labels[i], b = samples[j] | labels[j];
            EXPECT_FALSE(a.intersects(b)) << names[i] << " and " << names[j];
        }
}

}  // namespace

TEST(ChartLegend, EntriesStandApartAndLevelWithTheirSamples) {
    TestApp();
    UseDesignedFont();
    QTemporaryDir home;
    // The example list, whose structures are the ones drawn.
    ASSERT_TRUE(UseExampleProgramFolder(home));
    const QString examples = TESSARAY_EXAMPLES;
    CreateForms();
    Form1->show();
    for (const QString& example : QDir(examples).entryList({"*.txt"}, QDir::Files, QDir::Name)) {
        SCOPED_TRACE(example.toStdString());
        Form1->OpenFiles({(examples + "/" + example).toStdString()});
        if (FormInputBox->isVisible()) {  // a plan sum asks for its prescribed dose
            FormInputBox->Edit1->setText("78");
            FormInputBox->Button1->click();
        }
        ExpectLegendEntriesApart(Form1->Chart1, "main chart");
        const ChartPageStyle page(Form1->Chart1, ChartPageFonts{}, Qt::white);
        ExpectLegendEntriesApart(Form1->Chart1, "main chart on the report page");
    }

    // Every example plan compared: one entry per plan in each chart.
    Form1->PlanComparison1->trigger();
    FormComp->Button4->click();  // "Add ALL"
    FormComp->PageControl1->setCurrentIndex(0);
    for (int c = 0; c < 4; ++c) {
        FormComp->StructureChoice[static_cast<std::size_t>(c)]->setCurrentIndex(c);
        FormComp->DrawChart(c);
        QCustomPlot* chart = FormComp->ChartAD[static_cast<std::size_t>(c)];
        ExpectLegendEntriesApart(chart, "comparison chart");
        SetChartLook(chart, Qt::white, 9, 8, 5);  // the fonts of the comparison page
        ExpectLegendEntriesApart(chart, "comparison chart on the page");
    }

    delete Form1;
    Form1 = nullptr;
    qunsetenv("TESSARAY_HOME");
}
