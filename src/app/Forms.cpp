// Creation of the forms, once, in the program's fixed order.
#include "app/Forms.h"

#include "app/TAboutBox.h"
#include "app/TForm1.h"

TForm1* Form1 = nullptr;
TAboutBox* AboutBox = nullptr;

void CreateForms() {
    Form1 = new TForm1;
    Form1->FormCreate();
    AboutBox = new TAboutBox(Form1);
}
