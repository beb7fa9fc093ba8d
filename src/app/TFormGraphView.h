// The graph view "Current graph view": which curves the chart shows, their width and colour.
#pragma once

#include "dialogs/ShowCloseHandlers.h"
#include "dvh/Records.h"

#include <QDialog>

class QColorDialog;
class QFrame;
class QGroupBox;
class QListWidget;
class QPushButton;
class QRadioButton;
class TForm1;

class TFormGraphView : public QDialog {
    Q_OBJECT
public:
    explicit TFormGraphView(TForm1* main);

    /// One checkable item per structure of the current plan (filled by `ShowPlan`).
    QListWidget* CheckListBox1;
    QGroupBox* GroupBox1;  // "Line Width"
    QRadioButton* RadioButton1;  // 1 px
    QRadioButton* RadioButton2;  // 2 px
    QRadioButton* RadioButton3;  // 4 px
    QRadioButton* RadioButton4;  // 6 px
    QFrame* Shape1;  // colour of the selected structure
    QFrame* Shape2;
    QFrame* Shape3;
    QFrame* Shape4;
    QFrame* Shape5;
    QPushButton* BitBtn1;  // "Color"
    QPushButton* Button1;  // "OK"
    QColorDialog* ColorDialog1;

    void FormShow();
    void FormClose();
    void CheckListBox1Click();
    void RadioButton1Click();
    void RadioButton2Click();
    void RadioButton3Click();
    void RadioButton4Click();
    void BitBtn1Click();
    void Button1Click();
    /// Ctrl+A ticks every item, Ctrl+Shift+A clears every tick.
    void CheckListBox1KeyDown(int key, Qt::KeyboardModifiers shift);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// The structure of the selected item, or nullptr without a selection or plan.
    DVHDatasetClass* SelectedStructure();
    void SetLineWidth(int width);
    void PaintSwatch(int color);
    TForm1* m_main;
    ShowCloseHandlers m_handlers;  // declared last: it goes first
};
