// The XiO dialog: its fields, the dose filter and unit, the checks of OK, and Cancel.
#include "import/ui/TFormXiO.h"

#include "widgets/TextBytes.h"
#include "import/PrescribedDoseText.h"
#include "import/XiOExport.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>

TFormXiO::TFormXiO(QWidget* owner) : TFormPlanFields(owner) {
    setObjectName("FormXiO");
    setWindowTitle("XiO");
}

void TFormXiO::Ask(const XiOLoadRequest& request, const std::string& patientName, const std::string& patientID,
                   const std::string& planName, const std::string& planID, const std::vector<std::string>& planLists) {
    FillChoices(request.Names, XiONormalTissueItem(request.Names), planLists);
    const std::string* fields[] = {&patientName, &patientID, &planName, &planID};
    QLineEdit* edits[] = {Edit1, Edit2, Edit3, Edit4};
    for (int i = 0; i < 4; ++i) {
        m_shownFields[i] = *fields[i];
        edits[i]->setText(FromBytes(*fields[i]));
    }
    if (request.UseModFile && !request.ModDoseText().empty())
        Edit5->setText(QString::fromStdString(FilterDoseInput("", request.ModDoseText())));
    FilePath = request.FilePath;
    UseModFile = request.UseModFile;
    ModFilePath = request.ModFilePath;
    show();
    raise();
}

void TFormXiO::FormShow() { SetOwnerEnabled(false); }

void TFormXiO::FormClose() {
    SetOwnerEnabled(true);
    UseModFile = false;
}

void TFormXiO::ShowError(const QString& text) { TFormPlanFields::ShowError("XiOErrorBox", "XiO - DVH", text); }

void TFormXiO::Button1Click() {
    const std::string dose = Edit5->text().toStdString();
    if (dose.empty()) return ShowError("Prescribed dose is not specified.");
    if (ListBox1->currentRow() < 0) return ShowError("Plan is not specified.");
    const auto doseGy = PrescribedDoseGy(dose);
    if (!doseGy) return ShowError("Prescribed dose must be a number greater than 0.");

    XiODialogAnswer answer;
    answer.PatientName = ToBytes(Edit1->text(), m_shownFields[0]);
    answer.PatientID = ToBytes(Edit2->text(), m_shownFields[1]);
    answer.PlanName = ToBytes(Edit3->text(), m_shownFields[2]);
    answer.PlanID = ToBytes(Edit4->text(), m_shownFields[3]);
    answer.DoseGy = *doseGy;
    answer.PlanListItem = ListBox1->currentRow();
    answer.NormalTissueItem = ComboBox1->currentIndex();
    close();
    QApplication::processEvents();  // the dialog disappears before the file is read
    if (OnOk) OnOk(answer);
}

void TFormXiO::Button2Click() {
    close();
    if (OnCancel) OnCancel();
}

// The close box is Cancel: the load ends without a plan.
void TFormXiO::CloseBoxClick() {
    if (OnCancel) OnCancel();
}
