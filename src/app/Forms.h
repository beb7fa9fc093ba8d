// The global pointers of the forms created once at start-up, in creation order.
#pragma once

class TForm1;
class TAboutBox;
class TFormOption;
class TFormSList;
class TFormGraphView;
class TFormIndex;
class TFormDVHs;
class TFormProgress;
class TFormSelectPlanList;
class TFormDVHmatch;
class TFormReport;
class TFormComment;
class TFormRepoList;
class TFormComp;
class TFormCompSelect;
class TFormCompReport;
class TFormCompRList;
class TFormInputBox;
class TFormFileList;
class TFormBSCAN;
class TFormiPlan;
class TFormiPlanImport;
class TFormBatch;
class TFormBatchSet;
class TFormBatchResult;
class TFormXiO;

extern TForm1* Form1;
extern TAboutBox* AboutBox;
extern TFormOption* FormOption;
extern TFormSList* FormSList;
extern TFormGraphView* FormGraphView;
extern TFormIndex* FormIndex;
extern TFormDVHs* FormDVHs;
extern TFormProgress* FormProgress;
extern TFormSelectPlanList* FormSelectPlanList;
extern TFormDVHmatch* FormDVHmatch;
extern TFormReport* FormReport;
extern TFormComment* FormComment;
extern TFormRepoList* FormRepoList;
extern TFormComp* FormComp;
extern TFormCompSelect* FormCompSelect;
extern TFormCompReport* FormCompReport;
extern TFormCompRList* FormCompRList;
extern TFormInputBox* FormInputBox;
extern TFormFileList* FormFileList;
extern TFormBSCAN* FormBSCAN;
extern TFormiPlan* FormiPlan;
extern TFormiPlanImport* FormiPlanImport;
extern TFormBatch* FormBatch;
extern TFormBatchSet* FormBatchSet;
extern TFormBatchResult* FormBatchResult;
extern TFormXiO* FormXiO;

/// Creates the report window and its comment and row-choice dialogs.
void CreateReportForms();
/// Creates the three batch windows, linked to one another and to the main window.
void CreateBatchForms();
/// Creates every form of the program once, main form first, as start-up does.
void CreateForms();
