// The report's row choice "Report": which index rows and structures the page shows.
#pragma once

#include <QWidget>

#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;
class ReportHost;

class TFormRepoList : public QWidget {
    Q_OBJECT
public:
    TFormRepoList(ReportHost* host, QWidget* reportWindow, QWidget* parent);

    QLabel* Label1;               // "Index data"
    QListWidget* CheckListBox1;   // item k: index grid row k + 1
    QLabel* Label2;               // "Structure List"
    QListWidget* CheckListBox2;   // item j: structure j of the current plan
    QPushButton* Button1;         // "OK"
    QPushButton* Button2;         // "Cancel"

    /// Refills both lists with `indexItems` and `structureItems`, checked by the two masks.
    void SetItems(const std::vector<std::string>& indexItems, const std::vector<bool>& indexChecks,
                  const std::vector<std::string>& structureItems, const std::vector<bool>& structureChecks);
    /// Checks each item whose bit is set in the main window's row choice (the "List" button).
    void SetChecksFromMasks();

    void FormShow();
    void FormClose();
    /// Stores the check marks in the row choice, closes and redraws the page.
    void Button1Click();
    /// Closes and redraws the page, the row choice unchanged.
    void Button2Click();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    ReportHost* m_host;
    QWidget* m_reportWindow;
};
