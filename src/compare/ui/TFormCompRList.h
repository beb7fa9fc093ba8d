// The comparison report's row list: which index rows the page may print.
#pragma once

#include "widgets/TFormDialog.h"

#include <functional>
#include <vector>

class QListWidget;
class QPushButton;

/// One check item per index row of the list it was filled for. While shown, the report
/// window is disabled; "OK", "Cancel" and the close box all close it and draw the page again.
class TFormCompRList : public TFormDialog {
    Q_OBJECT
public:
    explicit TFormCompRList(QWidget* reportWindow);

    QListWidget* CheckListBox1;
    QPushButton* Button1;  // "OK"
    QPushButton* Button2;  // "Cancel"
    /// The plan list the items were filled for, -1 before the first filling.
    int ListIndex = -1;
    /// Runs after "OK", "Cancel" or the close box closed the list.
    std::function<void()> OnClosed;

    /// The check marks, item i for index row i.
    std::vector<bool> Checks() const;
    /// Sets the check marks of the items that `checks` covers.
    void SetChecks(const std::vector<bool>& checks);

    void Button1Click();
    void Button2Click();

protected:
    void FormShow() override;
    void FormClose() override;
    void CloseBoxClick() override;
};
