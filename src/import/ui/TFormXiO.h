// "XiO": completes an XiO export's plan with its identity, dose, normal tissue and plan list.
#pragma once

#include "app/TFormDialog.h"
#include "dvh/PendingLoad.h"

#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

/// Created once; `Ask` fills and shows it. OK refuses an empty dose ("Prescribed dose is not
/// specified."), no plan choice ("Plan is not specified.") and a dose that is not a number
/// above 0, each with caption "XiO - DVH", and stays open; otherwise it closes and hands the
/// answer to `OnOk`. Cancel closes and calls `OnCancel`. While shown the main window is
/// disabled.
class TFormXiO : public TFormDialog {
    Q_OBJECT
public:
    explicit TFormXiO(QWidget* owner = nullptr);

    QLineEdit* Edit1;  // "Patient Name"
    QLineEdit* Edit2;  // "Patient ID"
    QLineEdit* Edit3;  // "Plan Name"
    QLineEdit* Edit4;  // "Plan ID"
    QLineEdit* Edit5;  // "Prescribed Dose", in the unit `Label6` shows
    QLabel* Label6;    // "Gy" or "cGy"
    QComboBox* ComboBox1;   // "Normal Tissue": "---" and the file's structures
    QListWidget* ListBox1;  // "Select Plan": "N/A" and the plan lists
    QPushButton* Button1;   // "OK"
    QPushButton* Button2;   // "Cancel"

    /// The export being loaded, and the companion whose aliases the read applies.
    std::string FilePath;
    bool UseModFile = false;
    std::string ModFilePath;

    std::function<void(const XiODialogAnswer&)> OnOk;
    std::function<void()> OnCancel;

    /// Fills the dialog for `request` (names, companion) and the plan's fields, lists
    /// `planLists` under "N/A", preselects the normal tissue and shows it. The dose field keeps
    /// its text unless the companion gives one.
    void Ask(const XiOLoadRequest& request, const std::string& patientName, const std::string& patientID,
             const std::string& planName, const std::string& planID, const std::vector<std::string>& planLists);

    void Button1Click();
    void Button2Click();
    void Edit5Change();

protected:
    void FormShow() override;
    void FormClose() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowError(const QString& text);
};
