// The progress window: a fixed 280 x 85 frame holding one bar.
#include "app/TFormProgress.h"

#include <QProgressBar>
#include <algorithm>
#include <QVBoxLayout>

TFormProgress::TFormProgress(QWidget* owner) : TFormDialog(owner) {
    setObjectName("FormProgress");
    setWindowTitle("Please wait...");
    SetFixedDialogFrame(280, 85);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ProgressBar1);
}

void TFormProgress::Begin(int maximum) {
    ProgressBar1->setRange(0, maximum > 0 ? maximum : 1);
    ProgressBar1->setValue(0);
    show();
}

void TFormProgress::Step(int position) {
    ProgressBar1->setValue(std::clamp(position, 0, ProgressBar1->maximum()));
}

void TFormProgress::End() {
    ProgressBar1->setValue(ProgressBar1->maximum());
    close();
}
