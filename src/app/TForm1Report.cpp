// The single-plan report on the main window: its commands, the page preview and printing.
#include "app/TForm1.h"

#include "app/Forms.h"
#include "app/TAboutBox.h"
#include "widgets/VersionText.h"
#include "planlist/ui/IndexGridView.h"
#include "report/ReportLayout.h"
#include "report/ReportRowChoice.h"
#include "report/ui/ChartPageStyle.h"
#include "report/ui/PagePainter.h"
#include "report/ui/PagePreviewZoom.h"
#include "report/ui/PagePrinting.h"
#include "report/ui/TFormComment.h"
#include "report/ui/TFormRepoList.h"
#include "report/ui/TFormReport.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>

#include <qcustomplot.h>

void TForm1::ConnectReportCommands() {
    PrintReport1 = new QAction("Print Report", Chart1);
    PrintReport1->setObjectName("PrintReport1");
    PrintScreen2 = new QAction("Print Screen", Chart1);
    PrintScreen2->setObjectName("PrintScreen2");
    Chart1->addAction(PrintReport1);
    Chart1->addAction(PrintScreen2);
    Chart1->setContextMenuPolicy(Qt::ActionsContextMenu);

    for (QAction* preview : {Report2, ToolButton3})
        connect(preview, &QAction::triggered, this, &TForm1::Report2Click);
    connect(BitBtn13, &QPushButton::clicked, this, &TForm1::Report2Click);
    for (QAction* print : {Report1, PrintReport1, ToolButton4})
        connect(print, &QAction::triggered, this, &TForm1::Report1Click);
    for (QAction* screen : {PrintScreen1, PrintScreen2})
        connect(screen, &QAction::triggered, this, &TForm1::PrintScreen1Click);
}

const PlanListNameClass* TForm1::ReportPlanList() const {
    const int list = SelectedPlanList();
    return list >= 0 ? &PlanListName[static_cast<std::size_t>(list)] : nullptr;
}

int TForm1::IndexGridRowCount() const { return StringGrid1->rowCount() + 1; }

bool TForm1::PrepareReport() {
    if (CurrentPlanIndex < 0 || CurrentPlanIndex >= PDatasetCount() || ComboBox1->currentIndex() < 0) return false;
    const int list = SelectedPlanList();
    if (list < 0) return false;
    UpdateIndexGrid(list);
    const ReportRowChoice choice =
        PrepareReportRows(PlanListName[static_cast<std::size_t>(list)], IndexGridCells(StringGrid1),
                          PDataset[static_cast<std::size_t>(CurrentPlanIndex)]);
    ReportPrintIndex = choice.PrintIndex;
    ReportPrintStructure = choice.PrintStructure;
    if (FormRepoList)
        FormRepoList->SetItems(choice.IndexItems, choice.PrintIndex, choice.StructureItems, choice.PrintStructure);
    return true;
}

void TForm1::Report2Click() {
    if (!PrepareReport() || !FormReport) return;
    FormReport->show();
    FormReport->raise();
    // A new report is shown at full size, drawn once at that size.
    SetPageGeometry(FormReport->ScrollBox1, FormReport->Image1, FullPageGeometry());
    DrawReportPreview();
}

void TForm1::Report1Click() {
    if (PrepareReport()) PrintReport();
}

ReportPageInput TForm1::ReportInput(double width, double height, PageTextMeasure measure) const {
    // Kept as members of the call: the input points into them.
    ReportPageInput in;
    if (CurrentPlanIndex > -1 && CurrentPlanIndex < PDatasetCount())
        in.Plan = &PDataset[static_cast<std::size_t>(CurrentPlanIndex)];
    in.List = ReportPlanList();
    in.RowColor = &IndexRowColor;
    in.PrintIndex = &ReportPrintIndex;
    in.PrintStructure = &ReportPrintStructure;
    for (int k = 0; k < 3; ++k) in.CommentLine[static_cast<std::size_t>(k)] = CommentLine[k];
    in.CommentColor = FormComment ? FormComment->CommentFontColor : 0;
    in.Version = (AboutBox ? AboutBox->Version->text() : VersionText()).toStdString();
    in.Width = width;
    in.Height = height;
    in.Measure = std::move(measure);
    return in;
}

void TForm1::FinishReportPage(const ReportPageLayout& layout) {
    ClearMaskBits(ReportPrintIndex, layout.ClearIndexBits);
    ClearMaskBits(ReportPrintStructure, layout.ClearStructureBits);
    const ReportPageMessage message = ReportMessage(layout);
    if (message.Text.empty()) return;
    auto* box = new QMessageBox(QMessageBox::Critical, QString::fromStdString(message.Caption),
                                QString::fromStdString(message.Text), QMessageBox::Ok, this);
    box->setObjectName("ReportMessageBox");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}

void TForm1::DrawReportPreview() {
    const std::vector<std::vector<std::string>> grid = IndexGridCells(StringGrid1);
    ReportPageInput in = ReportInput(840, 1188, PreviewTextMeasure());
    in.GridCells = &grid;
    const ReportPageLayout layout = LayOutReportPage(in);
    QImage page;
    {
        const ChartPageStyle style(Chart1, ChartPageFonts{}, m_chartColor);
        page = RenderPageImage(layout.Page, [this](QPainter& painter, const QRect& target, int) {
            PaintChartIntoRect(painter, *Chart1, target, Chart1->size());
        });
    }
    if (FormReport) FormReport->ShowPage(page);
    FinishReportPage(layout);
}

void TForm1::EnsurePrinter() {
    if (!Printer) {
        m_printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
        Printer = m_printer.get();
    }
    if (!PrintDialog1) {
        PrintDialog1 = new QPrintDialog(Printer, this);
        PrintDialog1->setObjectName("PrintDialog1");
    }
}

void TForm1::PrintReport() {
    if (CurrentPlanIndex < 0 || CurrentPlanIndex >= PDatasetCount()) return;
    EnsurePrinter();
    const std::vector<std::vector<std::string>> grid = IndexGridCells(StringGrid1);
    ReportPageLayout layout;
    const PrintOutcome outcome =
        PrintOnePage(PrintDialog1, Printer, QPageLayout::Portrait, [&](QPainter& painter, QSizeF size) {
            ReportPageInput in = ReportInput(size.width(), size.height(), PageTextMeasureOn(painter.device()));
            in.GridCells = &grid;
            layout = LayOutReportPage(in);
            // On paper the chart is laid out at twice its size with its own fonts, so its
            // texts come out smaller beside the curves than on screen.
            const ChartPageStyle style(Chart1, std::nullopt, m_chartColor);
            const QSize twice = Chart1->size() * 2;
            return PaintPageOperations(painter, layout.Page.Operations,
                                       [this, twice](QPainter& p, const QRect& target, int) {
                                           PaintChartIntoRect(p, *Chart1, target, twice);
                                       });
        });
    if (outcome.status == PrintOutcome::Failed) {
        ReportWriteFailure(outcome.message);
        return;
    }
    if (outcome.status == PrintOutcome::Printed) FinishReportPage(layout);
}

void TForm1::PrintScreen1Click() {
    if (CurrentPlanIndex < 0 || CurrentPlanIndex >= PDatasetCount()) return;
    EnsurePrinter();
    // The picture is taken before the dialog covers the window.
    const int top = menuBar()->height();
    const QImage screen = grab(QRect(0, top, width(), height() - top)).toImage();
    const PrintOutcome outcome =
        PrintOnePage(PrintDialog1, Printer, QPageLayout::Landscape, [&](QPainter& painter, QSizeF size) {
            // The whole window on the page, in its own proportions.
            const QSizeF fitted = QSizeF(screen.size()).scaled(size, Qt::KeepAspectRatio);
            painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
            painter.drawImage(QRectF(QPointF(0, 0), fitted), screen);
            return true;
        });
    if (outcome.status == PrintOutcome::Failed) ReportWriteFailure(outcome.message);
}
