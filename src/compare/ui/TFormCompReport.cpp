// The comparison report window: zoom, style, row list, saving the page picture and printing.
#include "compare/ui/TFormCompReport.h"

#include "compare/ui/ReportStylePicture.h"
#include "compare/ui/TFormComp.h"
#include "compare/ui/TFormCompRList.h"
#include "report/ui/PageImageFile.h"
#include "report/ui/PagePreviewZoom.h"

#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QStandardPaths>
#include <QToolButton>

namespace {
QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QString& hint,
                        QRect at) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setGeometry(at);
    button->setAutoDefault(false);
    return button;
}
}  // namespace

TFormCompReport::TFormCompReport(TFormComp& formComp) : TFormDialog(&formComp, true), m_comp(formComp) {
    setObjectName("FormCompReport");
    setWindowTitle("Report");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(937, 693);
    QFont font("Tahoma");
    font.setPixelSize(12);
    setFont(font);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName("ScrollBox1");
    ScrollBox1->setGeometry(6, 6, 860, 684);
    Image1 = new QLabel;
    Image1->setObjectName("Image1");
    SetUpPagePreview(ScrollBox1, Image1);

    BitBtn1 = MakeButton(this, "BitBtn1", "+", "Zoom in", QRect(875, 15, 25, 25));
    BitBtn2 = MakeButton(this, "BitBtn2", "-", "Zoom out", QRect(905, 15, 25, 25));
    BitBtn5 = MakeButton(this, "BitBtn5", "Rows", "Index List", QRect(875, 45, 55, 25));
    BitBtn3 = MakeButton(this, "BitBtn3", "Save", "Save as bitmap", QRect(875, 75, 55, 25));
    BitBtn4 = MakeButton(this, "BitBtn4", "Print", "Print", QRect(875, 105, 55, 25));
    BitBtn7 = MakeButton(this, "BitBtn7", "Close", "Exit", QRect(875, 660, 55, 25));
    for (int s = 0; s < 5; ++s) {
        auto* image = new QToolButton(this);
        image->setObjectName(QString("Image%1").arg(s + 2));
        image->setGeometry(875, 156, 55, 70);
        image->setIcon(ReportStylePicture(s + 1));
        image->setIconSize(QSize(55, 70));
        image->setToolTip("Report Style");
        image->setCursor(Qt::PointingHandCursor);
        image->setAutoRaise(true);
        StyleImage[static_cast<std::size_t>(s)] = image;
        connect(image, &QToolButton::clicked, this, &TFormCompReport::ImageClick);
    }
    ShowStyle(1);

    SaveDialog1 = new QFileDialog(this, "Save as");
    SaveDialog1->setObjectName("SaveDialog1");
    SaveDialog1->setOption(QFileDialog::DontUseNativeDialog);
    SaveDialog1->setAcceptMode(QFileDialog::AcceptSave);
    SaveDialog1->setNameFilters(QString(PageImageFilters()).split(";;"));
    SaveDialog1->selectNameFilter(SaveDialog1->nameFilters().value(1));
    SaveDialog1->setDirectory(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));

    connect(BitBtn1, &QPushButton::clicked, this, &TFormCompReport::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TFormCompReport::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TFormCompReport::BitBtn3Click);
    connect(BitBtn4, &QPushButton::clicked, this, [this] { m_comp.PrintReport(); });
    connect(BitBtn5, &QPushButton::clicked, this, &TFormCompReport::BitBtn5Click);
    connect(BitBtn7, &QPushButton::clicked, this, &QWidget::close);
}

void TFormCompReport::BitBtn1Click() {
    if (PageIsFullSize(Image1)) return;
    SetPageGeometry(ScrollBox1, Image1, FullPageGeometry());
    m_comp.DrawReport();
}

void TFormCompReport::BitBtn2Click() {
    if (!PageIsFullSize(Image1)) return;
    SetPageGeometry(ScrollBox1, Image1, ReducedPageGeometry());
    m_comp.DrawReport();
}

void TFormCompReport::BitBtn3Click() {
    SavePageImage(this, SaveDialog1, [this] {
        // The page is always saved at full size; the window stays at full size afterwards.
        BitBtn1Click();
        return m_comp.PagePicture;
    });
}

void TFormCompReport::BitBtn5Click() {
    m_comp.FormCompRList->show();
    m_comp.FormCompRList->raise();
}

void TFormCompReport::ImageClick() { m_comp.ReportStyleClicked(); }

void TFormCompReport::ShowStyle(int style) {
    for (int s = 0; s < 5; ++s) StyleImage[static_cast<std::size_t>(s)]->setVisible(s + 1 == style);
}
