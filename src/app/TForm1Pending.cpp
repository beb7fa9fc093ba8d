// Placeholders of main-window members whose real bodies come with the opening and index work.
// Each is replaced, not extended, when its owner's file arrives.
#include "app/TForm1.h"

#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>

void TForm1::Scan1Click() { ScanDirectory(); }

void TForm1::ScanDirectory() {
    // Filled by the opening work: reads every DVH export of ReadFolder into the file list.
}

void TForm1::ComboBox1Change() {
    // The selection part that the window needs: empty rows, buttons by the chosen list.
    StringGrid1->setRowCount(0);
    const PlanListNameClass* chosen = nullptr;
    if (ComboBox1->currentIndex() >= 0) {
        const std::string name = ComboBox1->currentText().toStdString();
        for (const PlanListNameClass& list : PlanListName)
            if (list.Name == name) chosen = &list;
    }
    for (QPushButton* button : ListEditButtons())
        button->setEnabled(chosen && (!chosen->Lock || button == BCopyList || button == BKey));
}
