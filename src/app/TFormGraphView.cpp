// The graph view: widths and colours apply at once, visibility at OK, then the chart redraws.
#include "app/TFormGraphView.h"

#include "app/TForm1.h"

#include <QColorDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QFrame* MakeLine(QWidget* parent, const char* name, int height) {
    auto* line = new QFrame(parent);
    line->setObjectName(name);
    line->setFixedSize(60, height);
    line->setAutoFillBackground(true);
    QPalette p = line->palette();
    p.setColor(QPalette::Window, Qt::black);
    line->setPalette(p);
    return line;
}

}  // namespace

TFormGraphView::TFormGraphView(TForm1* main)
    : QDialog(main), m_main(main), m_handlers(this, [this] { FormShow(); }, [this] { FormClose(); }) {
    setObjectName("FormGraphView");
    setWindowTitle("Current graph view");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowStaysOnTopHint);

    CheckListBox1 = new QListWidget(this);
    CheckListBox1->setObjectName("CheckListBox1");
    CheckListBox1->installEventFilter(this);

    GroupBox1 = new QGroupBox("Line Width", this);
    GroupBox1->setObjectName("GroupBox1");
    auto* widths = new QGridLayout(GroupBox1);
    const char* radioNames[4] = {"RadioButton1", "RadioButton2", "RadioButton3", "RadioButton4"};
    const char* lineNames[4] = {"Shape2", "Shape3", "Shape4", "Shape5"};
    const int pixels[4] = {1, 2, 4, 6};
    QRadioButton* radios[4];
    QFrame* lines[4];
    for (int i = 0; i < 4; ++i) {
        radios[i] = new QRadioButton(QString("%1 px").arg(pixels[i]), GroupBox1);
        radios[i]->setObjectName(radioNames[i]);
        lines[i] = MakeLine(GroupBox1, lineNames[i], pixels[i]);
        widths->addWidget(radios[i], i, 0);
        widths->addWidget(lines[i], i, 1, Qt::AlignVCenter);
    }
    RadioButton1 = radios[0];
    RadioButton2 = radios[1];
    RadioButton3 = radios[2];
    RadioButton4 = radios[3];
    Shape2 = lines[0];
    Shape3 = lines[1];
    Shape4 = lines[2];
    Shape5 = lines[3];
    RadioButton2->setChecked(true);

    Shape1 = new QFrame(this);
    Shape1->setObjectName("Shape1");
    Shape1->setFixedSize(25, 25);
    Shape1->setFrameStyle(QFrame::Box);
    Shape1->setAutoFillBackground(true);
    BitBtn1 = new QPushButton("Color", this);
    BitBtn1->setObjectName("BitBtn1");
    Button1 = new QPushButton("OK", this);
    Button1->setObjectName("Button1");
    ColorDialog1 = new QColorDialog(this);
    ColorDialog1->setObjectName("ColorDialog1");
    ColorDialog1->setOption(QColorDialog::DontUseNativeDialog);

    auto* colour = new QHBoxLayout;
    colour->addWidget(Shape1);
    colour->addWidget(BitBtn1);
    auto* side = new QVBoxLayout;
    side->addWidget(GroupBox1);
    side->addLayout(colour);
    side->addStretch(1);
    side->addWidget(Button1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(CheckListBox1, 1);
    layout->addLayout(side);
    resize(420, 360);

    connect(CheckListBox1, &QListWidget::currentRowChanged, this, [this](int) { CheckListBox1Click(); });
    connect(RadioButton1, &QRadioButton::clicked, this, &TFormGraphView::RadioButton1Click);
    connect(RadioButton2, &QRadioButton::clicked, this, &TFormGraphView::RadioButton2Click);
    connect(RadioButton3, &QRadioButton::clicked, this, &TFormGraphView::RadioButton3Click);
    connect(RadioButton4, &QRadioButton::clicked, this, &TFormGraphView::RadioButton4Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TFormGraphView::BitBtn1Click);
    connect(Button1, &QPushButton::clicked, this, &TFormGraphView::Button1Click);
}

void TFormGraphView::FormShow() { m_main->SetFormEnabled(false); }

void TFormGraphView::FormClose() { m_main->SetFormEnabled(true); }

DVHDatasetClass* TFormGraphView::SelectedStructure() {
    const int item = CheckListBox1->currentRow();
    const int plan = m_main->CurrentPlanIndex;
    if (item < 0 || plan < 0 || plan >= m_main->PDatasetCount()) return nullptr;
    if (item >= m_main->PDataset[plan].DVHDatasetCount()) return nullptr;
    return &m_main->PDataset[plan].DVHDataset[item];
}

void TFormGraphView::PaintSwatch(int color) {
    QPalette p = Shape1->palette();
    p.setColor(QPalette::Window, QColor(ColorRed(color), ColorGreen(color), ColorBlue(color)));
    Shape1->setPalette(p);
}

void TFormGraphView::CheckListBox1Click() {
    DVHDatasetClass* s = SelectedStructure();
    if (!s) return;
    switch (s->LineWidth) {
    case 1: RadioButton1->setChecked(true); break;
    case 2: RadioButton2->setChecked(true); break;
    case 4: RadioButton3->setChecked(true); break;
    case 6: RadioButton4->setChecked(true); break;
    default: break;  // another width leaves the buttons as they are
    }
    PaintSwatch(s->Color);
}

void TFormGraphView::SetLineWidth(int width) {
    if (DVHDatasetClass* s = SelectedStructure()) s->LineWidth = width;
}

void TFormGraphView::RadioButton1Click() { SetLineWidth(1); }
void TFormGraphView::RadioButton2Click() { SetLineWidth(2); }
void TFormGraphView::RadioButton3Click() { SetLineWidth(4); }
void TFormGraphView::RadioButton4Click() { SetLineWidth(6); }

void TFormGraphView::BitBtn1Click() {
    DVHDatasetClass* s = SelectedStructure();
    if (!s) return;
    ColorDialog1->setCurrentColor(QColor(ColorRed(s->Color), ColorGreen(s->Color), ColorBlue(s->Color)));
    if (ColorDialog1->exec() != QDialog::Accepted) return;
    // The dialog may have been answered for another plan meanwhile: look the structure up again.
    s = SelectedStructure();
    if (!s) return;
    const QColor chosen = ColorDialog1->currentColor();
    s->Color = RgbColor(chosen.red(), chosen.green(), chosen.blue());
    PaintSwatch(s->Color);
}

void TFormGraphView::CheckListBox1KeyDown(int key, Qt::KeyboardModifiers shift) {
    if (key != Qt::Key_A || !(shift & Qt::ControlModifier)) return;
    const Qt::CheckState state = (shift & Qt::ShiftModifier) ? Qt::Unchecked : Qt::Checked;
    for (int i = 0; i < CheckListBox1->count(); ++i) CheckListBox1->item(i)->setCheckState(state);
}

bool TFormGraphView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == CheckListBox1 && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_A && (key->modifiers() & Qt::ControlModifier)) {
            CheckListBox1KeyDown(key->key(), key->modifiers());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFormGraphView::Button1Click() {
    const int plan = m_main->CurrentPlanIndex;
    if (CheckListBox1->count() > 0 && plan >= 0 && plan < m_main->PDatasetCount()) {
        std::vector<DVHDatasetClass>& structures = m_main->PDataset[plan].DVHDataset;
        const int n = std::min<int>(CheckListBox1->count(), static_cast<int>(structures.size()));
        for (int i = 0; i < n; ++i)
            structures[i].Visible = CheckListBox1->item(i)->checkState() == Qt::Checked;
        m_main->DrawDvhChart(plan);
    }
    close();
}
