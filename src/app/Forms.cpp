// Creation of the forms, once, in the program's fixed order.
#include "app/Forms.h"

#include "app/TAboutBox.h"
#include "app/TForm1.h"
#include "app/TFormDVHmatch.h"
#include "app/TFormFileList.h"
#include "app/TFormGraphView.h"
#include "app/TFormInputBox.h"
#include "app/TFormProgress.h"
#include "app/TFormSelectPlanList.h"
#include "app/TFormOption.h"
#include "app/TFormSList.h"
#include "app/TessarayApplication.h"
#include "batch/ui/TFormBatch.h"
#include "batch/ui/TFormBatchResult.h"
#include "batch/ui/TFormBatchSet.h"
#include "compare/ui/TFormComp.h"
#include "import/ui/TFormXiO.h"
#include "import/ui/TFormBSCAN.h"
#include "import/ui/TFormiPlan.h"
#include "import/ui/TFormiPlanImport.h"
#include "planlist/ui/TFormDVHs.h"
#include "planlist/ui/TFormIndex.h"
#include "report/ui/TFormComment.h"
#include "report/ui/TFormRepoList.h"
#include "report/ui/TFormReport.h"

#include <functional>

TForm1* Form1 = nullptr;
TAboutBox* AboutBox = nullptr;
TFormOption* FormOption = nullptr;
TFormSList* FormSList = nullptr;
TFormGraphView* FormGraphView = nullptr;
TFormIndex* FormIndex = nullptr;
TFormDVHs* FormDVHs = nullptr;
TFormProgress* FormProgress = nullptr;
TFormSelectPlanList* FormSelectPlanList = nullptr;
TFormDVHmatch* FormDVHmatch = nullptr;
TFormReport* FormReport = nullptr;
TFormComment* FormComment = nullptr;
TFormRepoList* FormRepoList = nullptr;
TFormComp* FormComp = nullptr;
TFormCompSelect* FormCompSelect = nullptr;
TFormCompReport* FormCompReport = nullptr;
TFormCompRList* FormCompRList = nullptr;
TFormInputBox* FormInputBox = nullptr;
TFormFileList* FormFileList = nullptr;
TFormXiO* FormXiO = nullptr;
TFormBSCAN* FormBSCAN = nullptr;
TFormiPlan* FormiPlan = nullptr;
TFormiPlanImport* FormiPlanImport = nullptr;
TFormBatch* FormBatch = nullptr;
TFormBatchSet* FormBatchSet = nullptr;
TFormBatchResult* FormBatchResult = nullptr;

void CreateBatchForms() {
    FormBatch = new TFormBatch(*Form1, Form1);
    FormBatchSet = new TFormBatchSet(*Form1, Form1);
    FormBatchResult = new TFormBatchResult(*Form1, Form1);
    FormBatch->BatchSet = FormBatchSet;
    FormBatchSet->Result = FormBatchResult;
    FormBatch->ShowLoadedPlan = [](int planIndex) {
        Form1->ShowPlan(planIndex);
        Form1->DrawDvhChart(planIndex);
    };
    // Top-level windows of their own (they disable the main window): they go with it.
    for (QWidget* dialog : std::initializer_list<QWidget*>{FormBatch, FormBatchSet, FormBatchResult})
        QObject::connect(Form1, &QObject::destroyed, dialog, [dialog] { delete dialog; });
}

void CreateReportForms() {
    // The report window is a window of the main window's; its two dialogs disable it while
    // they are shown, so they are windows of the main window's too, not of the report's.
    FormReport = new TFormReport(Form1, Form1);
    FormComment = new TFormComment(Form1, FormReport, Form1);
    FormRepoList = new TFormRepoList(Form1, FormReport, Form1);
    FormReport->SetDialogs(FormComment, FormRepoList);
}

namespace {

/// Runs a form's creation handler: an exception of any type is shown, the rest of that
/// handler is skipped, and start-up goes on with the next form.
void RunCreationHandler(const std::function<void()>& handler) {
    try {
        handler();
    } catch (...) {
        ShowCurrentException(Form1);
    }
}

}  // namespace

void CreateForms() {
    Form1 = new TForm1;
    RunCreationHandler([] { Form1->FormCreate(); });
    AboutBox = new TAboutBox(Form1);
    FormOption = new TFormOption(Form1);
    // Its creation handler may scan the read folder; only the forms above exist then.
    RunCreationHandler([] { FormOption->FormCreate(); });
    FormSList = new TFormSList(Form1);
    FormGraphView = new TFormGraphView(Form1);
    // Dialogs that disable the main window are top-level windows of their own (a child of a
    // disabled window is disabled with it); they go when the main window goes.
    FormProgress = new TFormProgress(Form1);
    FormIndex = new TFormIndex(Form1);
    FormDVHs = new TFormDVHs(Form1);
    FormSelectPlanList = new TFormSelectPlanList(Form1);
    FormDVHmatch = new TFormDVHmatch(Form1);
    CreateReportForms();
    FormComp = new TFormComp(*Form1, Form1);
    FormCompSelect = FormComp->FormCompSelect;
    FormCompReport = FormComp->FormCompReport;
    FormCompRList = FormComp->FormCompRList;
    QObject::connect(FormComp, &QObject::destroyed, [] {
        FormComp = nullptr;
        FormCompSelect = nullptr;
        FormCompReport = nullptr;
        FormCompRList = nullptr;
    });
    FormInputBox = new TFormInputBox(Form1);
    FormFileList = new TFormFileList(Form1, Form1);
    for (QWidget* dialog : std::initializer_list<QWidget*>{FormProgress, FormSelectPlanList,
                                                           FormDVHmatch, FormComp, FormInputBox,
                                                           FormFileList})
        QObject::connect(Form1, &QObject::destroyed, dialog, [dialog] { delete dialog; });
    CreateBatchForms();
    FormXiO = new TFormXiO(Form1);
    QObject::connect(Form1, &QObject::destroyed, FormXiO, [dialog = FormXiO] { delete dialog; });
    FormBSCAN = new TFormBSCAN(*Form1, Form1);
    FormiPlan = new TFormiPlan(*Form1, Form1);
    FormiPlanImport = new TFormiPlanImport(*Form1, *FormiPlan, Form1);
    for (QWidget* window : std::initializer_list<QWidget*>{FormBSCAN, FormiPlan, FormiPlanImport})
        QObject::connect(Form1, &QObject::destroyed, window, [window] { delete window; });
    Form1->ConnectBrainLab();
    Form1->ConnectOpeningDialogs();
    Form1->ConnectComparison();
}
