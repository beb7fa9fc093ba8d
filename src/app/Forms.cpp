// Creation of the forms, once, in the program's fixed order.
#include "app/Forms.h"

#include "app/TAboutBox.h"
#include "app/TForm1.h"
#include "app/TFormGraphView.h"
#include "app/TFormOption.h"
#include "app/TFormSList.h"
#include "planlist/ui/TFormDVHs.h"
#include "planlist/ui/TFormIndex.h"

TForm1* Form1 = nullptr;
TAboutBox* AboutBox = nullptr;
TFormOption* FormOption = nullptr;
TFormSList* FormSList = nullptr;
TFormGraphView* FormGraphView = nullptr;
TFormIndex* FormIndex = nullptr;
TFormDVHs* FormDVHs = nullptr;

void CreateForms() {
    Form1 = new TForm1;
    Form1->FormCreate();
    AboutBox = new TAboutBox(Form1);
    FormOption = new TFormOption(Form1);
    // Its creation handler may scan the read folder; only the forms above exist then.
    FormOption->FormCreate();
    FormSList = new TFormSList(Form1);
    FormGraphView = new TFormGraphView(Form1);
    FormIndex = new TFormIndex(Form1);
    FormDVHs = new TFormDVHs(Form1);
}
