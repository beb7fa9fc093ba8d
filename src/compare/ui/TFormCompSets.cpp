// Structure sets in the comparison window: reading at show, Save, Delete and Apply.
#include "compare/ui/TFormComp.h"

#include "widgets/TextBytes.h"

#include <QComboBox>
#include <QFileInfo>

namespace {

/// The set titles in `ComboBox6`, which sorts them itself; none chosen.
void FillSetTitles(QComboBox* box, const std::vector<CompDVHrepClass>& sets) {
    QStringList titles;
    for (const CompDVHrepClass& set : sets) titles << FromBytes(set.Title);
    box->clear();
    box->addItems(titles);
    box->setCurrentIndex(-1);
}

std::string ChoiceBytes(const QComboBox* box, const std::vector<std::string>& names) {
    const int i = box->currentIndex();
    return i >= 0 && i < static_cast<int>(names.size()) ? names[static_cast<std::size_t>(i)]
                                                        : std::string();
}

/// The title bytes of the set shown as `text` in the list.
std::string ChosenSetTitle(const std::vector<CompDVHrepClass>& sets, const QString& text) {
    for (const CompDVHrepClass& set : sets)
        if (FromBytes(set.Title) == text) return set.Title;
    return PathBytes(text);
}

}  // namespace

void TFormComp::ReadStructureSets() {
    if (!ReadStructureSetFile(StructureSetFilePath(ProgramFolder), CompDVHrep)) return;
    FillSetTitles(ComboBox6, CompDVHrep);
}

void TFormComp::BitBtn4Click() {
    bool any = false;
    for (const QComboBox* choice : StructureChoice) any = any || choice->currentIndex() >= 0;
    if (any && AskStructureSetName) AskStructureSetName();
}

bool TFormComp::StructureSetNameEntered(const std::string& name) {
    std::string structures[4];
    for (std::size_t c = 0; c < 4; ++c) structures[c] = ChoiceBytes(StructureChoice[c], StructureNames);
    const std::string path = StructureSetFilePath(ProgramFolder);
    const StructureSetResult result = AddStructureSet(CompDVHrep, path, name, structures);
    switch (result.status) {
    case StructureSetStatus::Duplicate:
        ShowMessage("The specified name (' " + FromBytes(name) + " ') already exists.", "Tessaray");
        return true;
    case StructureSetStatus::Failed:
        ShowMessage("Could not write file " + QFileInfo(PathText(path)).fileName() + ".", "Error");
        return true;
    case StructureSetStatus::Done:
        break;
    }
    FillSetTitles(ComboBox6, CompDVHrep);
    return false;
}

void TFormComp::BitBtn5Click() {
    if (ComboBox6->currentIndex() < 0) return;
    const std::string title = ChosenSetTitle(CompDVHrep, ComboBox6->currentText());
    const std::string path = StructureSetFilePath(ProgramFolder);
    if (DeleteStructureSets(CompDVHrep, path, title).status == StructureSetStatus::Failed) {
        ShowMessage("Could not write file " + QFileInfo(PathText(path)).fileName() + ".", "Error");
        return;
    }
    FillSetTitles(ComboBox6, CompDVHrep);
}

void TFormComp::ComboBox6Change() {
    if (ComboBox6->currentIndex() < 0) return;
    const int set =
        LastStructureSetWithTitle(CompDVHrep, ChosenSetTitle(CompDVHrep, ComboBox6->currentText()));
    if (set < 0) return;
    for (std::size_t c = 0; c < 4; ++c) {
        const int item = LastEqualItem(StructureNames, CompDVHrep[static_cast<std::size_t>(set)].Structure[c]);
        if (item >= 0) StructureChoice[c]->setCurrentIndex(item);
    }
    DrawAllCharts();
}
