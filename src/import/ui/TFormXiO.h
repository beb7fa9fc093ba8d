// "XiO": completes an XiO export's plan with its identity, dose, normal tissue and plan list.
#pragma once

#include "dvh/PendingLoad.h"
#include "import/ui/TFormPlanFields.h"

#include <functional>
#include <string>
#include <vector>

/// Created once; `Ask` fills and shows it. OK refuses an empty dose ("Prescribed dose is not
/// specified."), no plan choice ("Plan is not specified.") and a dose that is not a number
/// above 0, each with caption "XiO - DVH", and stays open; otherwise it closes and hands the
/// answer to `OnOk`, the patient and plan fields in the bytes the plan had unless edited, and
/// then in the plan's encoding. Cancel and the close box close and call `OnCancel`. While
/// shown the main window is disabled.
class TFormXiO : public TFormPlanFields {
    Q_OBJECT
public:
    explicit TFormXiO(QWidget* owner = nullptr);

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

    void Button1Click() override;
    void Button2Click() override;

protected:
    void FormShow() override;
    void FormClose() override;
    void CloseBoxClick() override;

private:
    void ShowError(const QString& text);

    /// The plan's patient name, patient ID, plan name and plan ID as `Ask` was given them.
    std::string m_shownFields[4];
};
