// The report preview window "Report": the page at full size or reduced, and its commands.
#include "report/ui/TFormReport.h"

#include "report/ui/PageImageFile.h"
#include "report/ui/PagePreviewZoom.h"
#include "report/ui/ReportHost.h"
#include "report/ui/TFormComment.h"
#include "report/ui/TFormRepoList.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QStandardPaths>

namespace {

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& glyph, const QString& hint,
                        const QRect& geometry) {
    auto* button = new QPushButton(glyph, parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setGeometry(geometry);
    return button;
}

}  // namespace

TFormReport::TFormReport(ReportHost* host, QWidget* parent) : QWidget(parent, Qt::Dialog), m_host(host) {
    setObjectName("FormReport");
    setWindowTitle("Report");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(937, 693);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName("ScrollBox1");
    ScrollBox1->setGeometry(2, 4, 860, 684);
    Image1 = new QLabel;
    Image1->setObjectName("Image1");
    SetUpPagePreview(ScrollBox1, Image1);

    BitBtn1 = MakeButton(this, "BitBtn1", "+", "Zoom in", {875, 15, 25, 25});
    BitBtn2 = MakeButton(this, "BitBtn2", QString(QChar(0x2212)), "Zoom out", {905, 15, 25, 25});
    BitBtn6 = MakeButton(this, "BitBtn6", QString(QChar(0x2630)), "List", {875, 45, 25, 25});
    BitBtn5 = MakeButton(this, "BitBtn5", QString(QChar(0x270E)), "Comment", {905, 45, 25, 25});
    BitBtn3 = MakeButton(this, "BitBtn3", "Save", "Save as bitmap", {875, 75, 55, 25});
    BitBtn4 = MakeButton(this, "BitBtn4", "Print", "Print", {875, 105, 55, 25});
    BitBtn7 = MakeButton(this, "BitBtn7", "Close", "Exit", {875, 660, 55, 25});

    SaveDialog1 = new QFileDialog(this);
    SaveDialog1->setObjectName("SaveDialog1");
    SaveDialog1->setAcceptMode(QFileDialog::AcceptSave);
    SaveDialog1->setNameFilter(PageImageFilters());
    SaveDialog1->selectNameFilter("JPEG (*.jpg)");
    SaveDialog1->setDirectory(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));

    connect(BitBtn1, &QPushButton::clicked, this, &TFormReport::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TFormReport::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
    connect(BitBtn4, &QPushButton::clicked, this, &TFormReport::BitBtn4Click);
    connect(BitBtn5, &QPushButton::clicked, this, &TFormReport::BitBtn5Click);
    connect(BitBtn6, &QPushButton::clicked, this, &TFormReport::BitBtn6Click);
    connect(BitBtn7, &QPushButton::clicked, this, &TFormReport::BitBtn7Click);
}

void TFormReport::SetDialogs(TFormComment* comment, TFormRepoList* rows) {
    m_comment = comment;
    m_rows = rows;
}

void TFormReport::ShowPage(const QImage& page) {
    m_page = page;
    ShowPagePicture(Image1, m_page);
}

void TFormReport::BitBtn1Click() {
    if (SetPageGeometry(ScrollBox1, Image1, FullPageGeometry())) m_host->DrawReportPreview();
}

void TFormReport::BitBtn2Click() {
    if (SetPageGeometry(ScrollBox1, Image1, ReducedPageGeometry())) m_host->DrawReportPreview();
}

QString TFormReport::BitBtn3Click() {
    const std::string written = SavePageImage(this, SaveDialog1, [this] {
        // Pages are always saved at 840 x 1188; the window stays at full size afterwards.
        if (!PageIsFullSize(Image1)) BitBtn1Click();
        return m_page;
    });
    return QFile::decodeName(written.c_str());
}

void TFormReport::BitBtn4Click() { m_host->PrintReport(); }

void TFormReport::BitBtn5Click() {
    if (!m_comment) return;
    m_comment->show();
    m_comment->raise();
}

void TFormReport::BitBtn6Click() {
    if (!m_rows) return;
    m_rows->SetChecksFromMasks();
    m_rows->show();
    m_rows->raise();
}

void TFormReport::BitBtn7Click() { close(); }

void TFormReport::closeEvent(QCloseEvent* event) {
    if (m_comment && m_comment->isVisible()) m_comment->close();
    if (m_rows && m_rows->isVisible()) m_rows->close();
    QWidget::closeEvent(event);
}
