// Borderless, semi-transparent splash (alpha 200 of 255 where the window system allows it).
#include "app/TStartForm.h"

#include "app/DesignedFont.h"
#include "app/TAboutBox.h"
#include "widgets/VersionText.h"
#include "app/WindowPlacement.h"

#include <QHBoxLayout>
#include <QLabel>
#include "app/ProgramPicture.h"

#include <QPixmap>
#include <QVBoxLayout>

TStartForm::TStartForm(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName("StartForm");
    setFixedSize(437, 183);
    setWindowOpacity(200.0 / 255.0);
    setAutoFillBackground(true);

    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setPixmap(ProgramPicture(177));
    Image1->setFixedSize(177, 177);

    Label1 = new QLabel("Tessaray", this);
    Label1->setObjectName("Label1");
    Label1->setFont(DesignedFont(40, true));
    Label2 = new QLabel(VersionText(), this);
    Label2->setObjectName("Label2");
    Label2->setFont(DesignedFont(27, true));
    Label3 = new QLabel("DVH review for radiotherapy plans", this);
    Label3->setObjectName("Label3");

    auto* text = new QVBoxLayout;
    text->addStretch();
    text->addWidget(Label1);
    text->addWidget(Label2);
    text->addWidget(Label3);
    text->addStretch();
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(3, 3, 3, 3);
    row->addWidget(Image1);
    row->addLayout(text);
    // Centred on the main window, which is placed before its creation handler shows this.
    if (parent) move(CentredIn(size(), parent->geometry()));
}
