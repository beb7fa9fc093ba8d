// The main window's quick-index panel: one ad-hoc index query on the current plan.
#include "app/TForm1.h"

#include "planlist/ui/QuickIndexPanel.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

bool TForm1::Edit1KeyPress(QKeyEvent* key) { return QuickValueKeyRefused(Edit1->text(), key->text()); }

float TForm1::CalcQuickIndex() {
    const PDatasetClass* plan = CurrentPlanIndex > -1 && CurrentPlanIndex < PDatasetCount()
                                    ? &PDataset[CurrentPlanIndex]
                                    : nullptr;
    return CalcQuickIndexValue(plan, ReadQuickIndexQuery(ComboBox2, ComboBox3, Edit1));
}

void TForm1::Edit1Change() {
    // An emptied field keeps the last result.
    if (!Edit1->text().isEmpty()) ShowQuickIndexResult(Edit2, CalcQuickIndex(), 2);
}

void TForm1::ComboBox3Change() {
    SetUpQuickValueField(Edit1, ComboBox3->currentIndex());
    ShowQuickIndexResult(Edit2, CalcQuickIndex(), 2);
}

void TForm1::ComboBox2Change() { ShowQuickIndexResult(Edit2, CalcQuickIndex(), 3); }
