// The comparison report window "Report": the page at full size or reduced, style, rows, save, print.
#pragma once

#include "widgets/TFormDialog.h"

#include <array>

class QFileDialog;
class QLabel;
class QPushButton;
class QScrollArea;
class QToolButton;
class TFormComp;

class TFormCompReport : public TFormDialog {
    Q_OBJECT
public:
    TFormCompReport(TFormComp& formComp);

    QScrollArea* ScrollBox1;
    QLabel* Image1;         // the page picture
    QPushButton* BitBtn1;   // "Zoom in"
    QPushButton* BitBtn2;   // "Zoom out"
    QPushButton* BitBtn5;   // "Index List"
    QPushButton* BitBtn3;   // "Save as bitmap"
    QPushButton* BitBtn4;   // "Print"
    QPushButton* BitBtn7;   // "Close"
    std::array<QToolButton*, 5> StyleImage{};  // Image2-Image6, styles 1-5
    QFileDialog* SaveDialog1;

    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn5Click();
    /// A style picture was clicked: the next style, and the page again when there is one.
    void ImageClick();
    /// Shows the picture of `style` and hides the others.
    void ShowStyle(int style);

private:
    TFormComp& m_comp;
};
