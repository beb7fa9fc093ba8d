// The two sizes of a page preview in a scroll box: full size and reduced.
#include "report/ui/PagePreviewZoom.h"

#include "report/ui/PagePainter.h"

#include <QLabel>
#include <QPixmap>
#include <QScrollArea>
#include <QScrollBar>

void SetUpPagePreview(QScrollArea* box, QLabel* image) {
    auto* holder = new QWidget;
    holder->setObjectName(box->objectName() + "Page");
    holder->setAutoFillBackground(false);
    image->setParent(holder);
    image->setScaledContents(false);
    box->setWidgetResizable(false);
    box->setWidget(holder);
    image->setGeometry(FullPageGeometry());
    holder->resize(FullPageGeometry().size());
}

bool PageIsFullSize(const QLabel* image) { return image->height() == FullPageGeometry().height(); }

bool SetPageGeometry(QScrollArea* box, QLabel* image, const QRect& geometry) {
    if (image->size() == geometry.size()) return false;
    image->hide();
    image->setGeometry(geometry);
    if (QWidget* holder = box->widget())
        holder->resize(geometry.right() + 1, geometry.bottom() + 1);
    box->horizontalScrollBar()->setValue(0);
    box->verticalScrollBar()->setValue(0);
    image->show();
    return true;
}

void ShowPagePicture(QLabel* image, const QImage& page) {
    image->setPixmap(QPixmap::fromImage(ScaledPagePicture(page, image->size())));
}
