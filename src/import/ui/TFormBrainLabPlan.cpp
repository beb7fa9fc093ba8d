// The shared plan dialog of the BrainLAB import: its fields, the dose filter and unit, OK and Cancel.
#include "import/ui/TFormBrainLabPlan.h"

#include "widgets/TextBytes.h"
#include "dvh/Workspace.h"
#include "import/ClipboardPlan.h"
#include "import/PrescribedDoseText.h"

#include <QApplication>
#include <QDate>
#include <QLineEdit>
#include <QTime>

TFormBrainLabPlan::TFormBrainLabPlan(Workspace& ws, QWidget* owner, const char* objectName, const char* kind,
                                     int fileType)
    : TFormPlanFields(owner), m_ws(ws), m_kind(kind), m_fileType(fileType) {
    setObjectName(objectName);
    setWindowTitle(kind);
    QFont tahoma("Tahoma");
    tahoma.setPixelSize(12);
    setFont(tahoma);
}

void TFormBrainLabPlan::Fill(const std::vector<std::string>& names, int normalTissueItem) {
    std::vector<std::string> planLists;
    for (const PlanListNameClass& list : m_ws.PlanListName) planLists.push_back(list.Name);
    FillChoices(names, normalTissueItem, planLists);
    ++m_ws.ImportPlanNumber;
    if (Edit1->text().isEmpty()) Edit1->setText("temp");
    if (Edit2->text().isEmpty()) Edit2->setText("temp");
    Edit3->setText(m_kind);
    Edit4->setText(QString("Plan_%1").arg(m_ws.ImportPlanNumber));
}

void TFormBrainLabPlan::FormShow() {
    m_added = false;
    SetOwnerEnabled(false);
}

void TFormBrainLabPlan::FormClose() {
    // However the dialog goes without a plan (Cancel, the close box), its opening is taken back.
    if (!m_added) --m_ws.ImportPlanNumber;
    m_added = true;
    SetOwnerEnabled(true);
}

void TFormBrainLabPlan::ShowError(const QString& caption, const QString& text) {
    TFormPlanFields::ShowError("BrainLabErrorBox", caption, text);
}

void TFormBrainLabPlan::Button1Click() {
    if (!FieldsAccepted()) return;
    float doseGy = 0;
    if (NeedsTypedDose()) {
        const auto dose = PrescribedDoseGy(Edit5->text().toStdString());
        if (!dose) return ShowError(MessageCaption(), "Prescribed dose must be a number greater than 0.");
        doseGy = *dose;
    }
    std::vector<DVHDatasetClass> structures;
    if (const ReadResult read = BuildStructures(doseGy, structures); !read) {
        QString where = read.line > 0 ? QString(" (line %1)").arg(read.line) : QString();
        return ShowError(MessageCaption(), "The copied table cannot be read" + where + ": " +
                                               FromBytes(read.detail) + ". No plan was added.");
    }
    // Fixed formats: the key must not carry a locale's words, zone names or AM/PM, and saved
    // tables take exactly ten date characters.
    const std::string date = QDate::currentDate().toString("yyyy/MM/dd").toStdString();
    const std::string time = QTime::currentTime().toString("HH:mm:ss").toStdString();
    ClipboardPlanFields fields;
    fields.PatientName = ToBytes(Edit1->text());
    fields.PatientID = ToBytes(Edit2->text());
    fields.PlanName = ToBytes(Edit3->text());
    fields.PlanID = ToBytes(Edit4->text());
    fields.PlanListItem = ListBox1->currentRow();
    fields.NormalTissueItem = ComboBox1->currentIndex();
    const int plan = AppendClipboardPlan(m_ws, m_fileType, fields, date, time, std::move(structures));
    m_added = true;
    close();
    if (OnPlanAdded) OnPlanAdded(plan);
}

void TFormBrainLabPlan::Button2Click() { close(); }
