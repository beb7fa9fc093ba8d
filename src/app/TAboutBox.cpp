// The About box: shown modeless, hidden by "Close", reshown unchanged.
#include "app/TAboutBox.h"

#include "app/DesignedFont.h"
#include "app/ProgramPicture.h"
#include "widgets/VersionText.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName("AboutBox");
    setWindowTitle("About Tessaray");
    setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);

    auto* panel = new QFrame(this);
    panel->setObjectName("Panel1");
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    ProgramIcon = new QLabel(panel);
    ProgramIcon->setObjectName("ProgramIcon");
    ProgramIcon->setPixmap(ProgramPicture(57));
    ProgramIcon->setFixedSize(57, 57);

    ProductName = new QLabel("Tessaray", panel);
    ProductName->setObjectName("ProductName");
    ProductName->setFont(DesignedFont(17, true));

    Version = new QLabel(VersionText(), panel);
    Version->setObjectName("Version");
    Label1 = new QLabel("Last Update 2026/12/07", panel);
    Label1->setObjectName("Label1");
    Label1->setFont(DesignedFont(9));
    Comments = new QLabel("DVH review for radiotherapy plans", panel);
    Comments->setObjectName("Comments");

    auto* text = new QVBoxLayout;
    text->addWidget(ProductName);
    text->addWidget(Version);
    text->addWidget(Label1);
    text->addWidget(Comments);
    auto* row = new QHBoxLayout(panel);
    row->addWidget(ProgramIcon, 0, Qt::AlignTop);
    row->addLayout(text);

    OKButton = new QPushButton("Close", this);
    OKButton->setObjectName("OKButton");
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addWidget(OKButton, 0, Qt::AlignHCenter);
}

void TAboutBox::OKButtonClick() { hide(); }
