// The main window's side of the plan comparison: opening the window and its hand-overs.
#include "app/TForm1.h"

#include "app/Forms.h"
#include "app/TFormInputBox.h"
#include "widgets/TextBytes.h"
#include "compare/ui/TFormComp.h"
#include "compare/ui/TFormCompRList.h"
#include "compare/ui/TFormCompReport.h"
#include "platform/Paths.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

void TForm1::PlanComparison1Click() {
    if (!FormComp) return;
    FormComp->ComboBox1->clear();
    for (int i = 0; i < ComboBox1->count(); ++i) FormComp->ComboBox1->addItem(ComboBox1->itemText(i));
    FormComp->ComboBox1->setCurrentIndex(ComboBox1->currentIndex());
    FormComp->ComboBox1Change();
    FormComp->show();
    FormComp->raise();
    FormComp->activateWindow();
    FormComp->ResetDisplayOptions();
}

void TForm1::ConnectComparison() {
    if (!FormComp || !FormInputBox) return;
    if (PlanListFolder.empty()) PlanListFolder = platform::ProgramFolder();
    FormComp->ProgramFolder = PlanListFolder;
    FormComp->BitmapDialog = [this] { return SaveDialog1.get(); };
    FormComp->PrintDialog = [this] {
        EnsurePrinter();
        return PrintDialog1;
    };
    FormComp->AskStructureSetName = [] {
        FormInputBox->Edit1->clear();
        FormInputBox->Label1->setText("Input Structure Set Name.");
        FormInputBox->setWindowTitle("Structure Set Name");
        FormInputBox->Mode = 4;
        FormInputBox->show();
        FormInputBox->raise();
    };
    FormInputBox->SetModeHandler(4, [](TFormInputBox& box) {
        return FormComp && FormComp->StructureSetNameEntered(PathBytes(box.Edit1->text()));
    });
}

void TForm1::CloseComparisonWindows() {
    if (!FormComp) return;
    for (QWidget* window : std::initializer_list<QWidget*>{FormComp->FormCompRList,
                                                           FormComp->FormCompReport, FormComp})
        window->close();
}
