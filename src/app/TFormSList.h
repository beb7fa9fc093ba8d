// The structure list "Structure List": volume and dose statistics of the current plan.
#pragma once

#include <QDialog>

class QGroupBox;
class QPushButton;
class QRadioButton;
class QTableWidget;
class TForm1;

class TFormSList : public QDialog {
    Q_OBJECT
public:
    explicit TFormSList(TForm1* main);

    /// Five columns; the names in column 0 come from the main window's `ShowPlan`, the
    /// numbers from `FillGrid`. Table row i holds structure i.
    QTableWidget* StringGrid1;
    QGroupBox* GroupBox1;        // "Dose"
    QRadioButton* RadioButton1;  // "Absolute [Gy]"
    QRadioButton* RadioButton2;  // "Relative [%]"
    QPushButton* Button1;        // "Close"

    void FormCreate();
    /// Column widths from the grid's width: 0.30, 0.15 and three times 0.17 of it.
    void SetColumnWidths();
    void FormShow();
    /// Writes the numbers of the current plan, in Gy or %, rounded to 2 decimals.
    void FillGrid();
    void RadioButton1Click();
    void RadioButton2Click();
    void Button1Click();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    TForm1* m_main;
};
