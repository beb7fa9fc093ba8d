// The main window's plan-list commands: the list popup and buttons, row buttons, import, export,
// clearing the name store, and the offer to save modified lists when the window closes.
#include "app/TForm1.h"

#include "app/Forms.h"
#include "widgets/TextBytes.h"
#include "app/TFormInputBox.h"
#include "compare/ui/TFormComp.h"
#include "dvh/NameCharacters.h"
#include "planlist/IndexRowCommands.h"
#include "planlist/PlanListCommands.h"
#include "planlist/PlanListFile.h"
#include "planlist/PlanListNaming.h"
#include "planlist/ui/TFormDVHs.h"
#include "planlist/ui/TFormIndex.h"
#include "planlist/ui/UserQuestion.h"
#include "platform/Paths.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableWidget>

#include <memory>

void TForm1::ConnectPlanListCommands() {
    if (PlanListFolder.empty()) PlanListFolder = platform::ProgramFolder();

    PopupMenu4 = new QMenu(this);
    PopupMenu4->setObjectName("PopupMenu4");
    NewList1 = PopupMenu4->addAction("New List");
    NewList1->setObjectName("NewList1");
    CopyList1 = PopupMenu4->addAction("Copy List");
    CopyList1->setObjectName("CopyList1");
    EditListName1 = PopupMenu4->addAction("Rename List Title");
    EditListName1->setObjectName("EditListName1");
    DeleteList1 = PopupMenu4->addAction("Delete List");
    DeleteList1->setObjectName("DeleteList1");
    connect(ComboBox1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        PopupMenu4Popup();
        PopupMenu4->popup(ComboBox1->mapToGlobal(at));
    });
    connect(NewList1, &QAction::triggered, this, &TForm1::BNewListClick);
    connect(CopyList1, &QAction::triggered, this, &TForm1::BCopyListClick);
    connect(EditListName1, &QAction::triggered, this, &TForm1::EditListName1Click);
    connect(DeleteList1, &QAction::triggered, this, &TForm1::DeleteList1Click);

    connect(BNewList, &QPushButton::clicked, this, &TForm1::BNewListClick);
    connect(BCopyList, &QPushButton::clicked, this, &TForm1::BCopyListClick);
    connect(BSaveList, &QPushButton::clicked, this, &TForm1::BSaveListClick);
    connect(BKey, &QPushButton::clicked, this, &TForm1::BKeyClick);
    connect(BAddIndex, &QPushButton::clicked, this, &TForm1::BAddIndexClick);
    connect(BEditIndex, &QPushButton::clicked, this, &TForm1::BEditIndexClick);
    connect(BClearIndex, &QPushButton::clicked, this, &TForm1::BClearIndexClick);
    connect(BUp, &QPushButton::clicked, this, &TForm1::BUpClick);
    connect(BDown, &QPushButton::clicked, this, &TForm1::BDownClick);
    connect(BDelIndex, &QPushButton::clicked, this, &TForm1::BDelIndexClick);
    connect(BCopyIndex, &QPushButton::clicked, this, &TForm1::BCopyIndexClick);
    connect(BDVHSeries, &QPushButton::clicked, this, &TForm1::BDVHSeriesClick);
    connect(StringGrid1, &QTableWidget::cellDoubleClicked, this,
            [this](int, int) { BEditIndexClick(); });
    // The row commands act on the grid's selected row, which StringGrid1SelectCell records.

    SaveDialog2.MakeWith([this] {
        auto* dialog = new QFileDialog(this, "Export List Data");
        dialog->setObjectName("SaveDialog2");
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setNameFilter("List data (*.lst)");
        dialog->setDefaultSuffix("lst");
        // The export itself refuses an existing file, so the dialog need not ask.
        dialog->setOption(QFileDialog::DontConfirmOverwrite);
        dialog->setDirectory(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        connect(dialog, &QFileDialog::fileSelected, this, [this](const QString& path) {
            const int list = SelectedPlanList();
            if (list < 0) return;
            const ListCommandResult r =
                ExportPlanList(PlanListFolder, PlanListName[list].Name, PathBytes(path));
            if (r.status == ListCommandStatus::Failed)
                ReportWriteFailure(r.message);
            else if (!r.message.empty())
                statusBar()->showMessage(FromBytes(r.message));
        });
        return dialog;
    });
    ImportDialog.MakeWith([this] {
        auto* dialog = new QFileDialog(this, "Import List Data");
        dialog->setObjectName("ImportDialog");
        dialog->setFileMode(QFileDialog::ExistingFile);
        dialog->setNameFilters({"List data (*.lst)", "All files (*)"});
        connect(dialog, &QFileDialog::fileSelected, this, [this](const QString& path) {
            const ListCommandResult r = ImportPlanList(*this, PlanListFolder, PathBytes(path));
            if (!r.ok()) {
                ReportWriteFailure(r.message);
                return;
            }
            const std::string name = PlanListName[r.index].Name;
            ComboBox1->addItem(FromBytes(name));
            SelectPlanList(name);
        });
        return dialog;
    });
    connect(SavePlanList1, &QAction::triggered, this, &TForm1::SavePlanList1Click);
    connect(ImportPlanList1, &QAction::triggered, this, &TForm1::ImportPlanList1Click);
    connect(ClearStructureList1, &QAction::triggered, this, &TForm1::ClearStructureList1Click);
}

int TForm1::SelectedPlanList() const {
    if (ComboBox1->currentIndex() < 0) return -1;
    // The box shows each name through FromBytes (a name that is no UTF-8 as Windows-1252): find the
    // last list that shows as the chosen text, so that its own bytes are used, never the text's.
    const QString shown = ComboBox1->currentText();
    for (int i = PlanListNameCount() - 1; i >= 0; --i)
        if (FromBytes(PlanListName[static_cast<std::size_t>(i)].Name) == shown) return i;
    return -1;
}

void TForm1::SelectPlanList(const std::string& name) {
    const QString text = FromBytes(name);
    for (int j = 0; j < ComboBox1->count(); ++j) {
        if (ComboBox1->itemText(j) != text) continue;
        ComboBox1->setCurrentIndex(j);
        ComboBox1Change();
    }
}

void TForm1::PopupMenu4Popup() {
    const bool editing = IndexGridEditMode();
    const int list = SelectedPlanList();
    const bool locked = list >= 0 && PlanListName[list].Lock;
    NewList1->setVisible(editing);
    CopyList1->setVisible(editing && list >= 0);
    EditListName1->setVisible(editing && list >= 0 && !locked);
    DeleteList1->setVisible(editing && list >= 0 && !locked);
}

// ---- whole lists ----

void TForm1::ShowListNameBox(int mode, const QString& text, int listIndex) {
    // The OK work of the list modes; set before each showing, so the box always has it.
    for (int m : {1, 2, 3})
        FormInputBox->SetModeHandler(m, [this](TFormInputBox& box) {
            return PlanListNameEntered(box.Mode, box.Edit1->text(), box.ListIndex, &box);
        });
    FormInputBox->Edit1->setText(text);
    FormInputBox->Label1->setText("Input List Name.");
    FormInputBox->setWindowTitle("Plan List Name");
    FormInputBox->Mode = mode;
    FormInputBox->ListIndex = listIndex;
    FormInputBox->show();
    FormInputBox->raise();
}

void TForm1::BNewListClick() { ShowListNameBox(1, QString(), 0); }

void TForm1::BCopyListClick() {
    if (SelectedPlanList() >= 0) ShowListNameBox(3, QString(), 0);
}

void TForm1::EditListName1Click() {
    const int list = SelectedPlanList();
    if (list >= 0) ShowListNameBox(2, ComboBox1->currentText(), list);
}

bool TForm1::PlanListNameEntered(int mode, const QString& text, int listIndex, QWidget* box) {
    // A rename left as shown keeps the list's own bytes.
    const bool renaming = mode == 2 && listIndex >= 0 && listIndex < PlanListNameCount();
    const std::string name = WithoutForbiddenNameCharacters(
        ToBytes(text, renaming ? PlanListName[static_cast<std::size_t>(listIndex)].Name : std::string()));
    ListCommandResult r;
    if (mode == 1)
        r = NewPlanList(*this, PlanListFolder, name);
    else if (mode == 3)
        r = CopyPlanList(*this, PlanListFolder,
                         SelectedPlanList() >= 0 ? PlanListName[SelectedPlanList()].Name
                                                 : std::string(),
                         name);
    else if (mode == 2)
        r = RenamePlanList(*this, PlanListFolder, listIndex, name);
    else
        return false;

    switch (r.status) {
        case ListCommandStatus::Done:
            if (mode == 2) {
                // Taken out and added again, so that the box sorts the new name into place;
                // the list stays chosen without its selection handler running again.
                ComboBox1->removeItem(ComboBox1->currentIndex());
                ComboBox1->addItem(FromBytes(name));
                ComboBox1->setCurrentIndex(ComboBox1->findText(FromBytes(name)));
            } else {
                ComboBox1->addItem(FromBytes(name));
                SelectPlanList(name);
            }
            return false;
        case ListCommandStatus::NothingToDo:
            return false;
        case ListCommandStatus::InvalidName:
            statusBar()->showMessage("A plan list needs a name that can be a file name.");
            return true;
        case ListCommandStatus::Duplicate:
            if (mode == 2) {
                ShowUserMessage(this, BoxRole::Report, RenameRefusedMessage(name), QMessageBox::Critical,
                                QMessageBox::Ok, "RenameRefusedBox");
                return false;
            }
            // OK keeps the box open for another name; Cancel closes it.
            ShowUserMessage(box, BoxRole::Question, ListExistsQuestion(name), QMessageBox::Question,
                            QMessageBox::Ok | QMessageBox::Cancel, "ListExistsBox",
                            [box](bool again) {
                                if (!again && box) box->close();
                            });
            return true;
        case ListCommandStatus::Failed:
            ReportWriteFailure(r.message);
            return false;
    }
    return false;
}

void TForm1::DeleteList1Click() {
    const int list = SelectedPlanList();
    if (list < 0) return;
    const std::string name = PlanListName[list].Name;
    ShowUserMessage(this, BoxRole::Question, DeleteListQuestion(ComboBox1->currentText().toStdString()),
                    QMessageBox::Question, QMessageBox::Ok | QMessageBox::Cancel,
                    "DeleteListBox", [this, name](bool ok) {
                        // The list the question named, found again by its name, never by its place.
                        const int at = FindPlanList(PlanListName, name);
                        if (!ok || at < 0) return;
                        const ListCommandResult r = DeletePlanList(*this, PlanListFolder, at);
                        if (!r.ok()) {
                            ReportWriteFailure(r.message);
                            return;
                        }
                        const int item = ComboBox1->findText(FromBytes(name));
                        if (item >= 0) ComboBox1->removeItem(item);
                        if (FormDVHs) FormDVHs->PlanListDeleted(at);
                        if (FormComp) FormComp->PlanListDeleted(at);
                        if (FormIndex && FormIndex->isVisible()) {
                            FormIndex->PlanListIndex = PlanListIndexAfterDelete(FormIndex->PlanListIndex, at);
                            if (FormIndex->PlanListIndex < 0) FormIndex->close();
                        }
                        ComboBox1->setCurrentIndex(-1);
                        ComboBox1Change();
                    });
}

bool TForm1::SavePlanListAt(int list) {
    if (list < 0) return true;
    const ListCommandResult r = SavePlanList(*this, PlanListFolder, list);
    if (!r.ok() && r.status != ListCommandStatus::NothingToDo) {
        ReportWriteFailure(r.message);
        return false;
    }
    return true;
}

void TForm1::BSaveListClick() { SavePlanListAt(SelectedPlanList()); }

void TForm1::BKeyClick() {
    const int list = SelectedPlanList();
    if (list < 0) return;
    const ListCommandResult r = TogglePlanListLock(*this, PlanListFolder, list);
    if (!r.ok()) ReportWriteFailure(r.message);
    ComboBox1Change();
}

// ---- rows ----

namespace {

// Runs a row command on the chosen list and rebuilds the grid when it changed something.
template <typename Command>
void OnChosenList(TForm1& form, Command command) {
    const int list = form.SelectedPlanList();
    if (list >= 0 && command(form.PlanListName[static_cast<std::size_t>(list)]))
        form.UpdateIndexGrid(list);
}

}  // namespace

void TForm1::BAddIndexClick() {
    OnChosenList(*this, [this](PlanListNameClass& l) { return InsertIndexRow(l, SelectedIndexRow); });
}

void TForm1::BClearIndexClick() {
    OnChosenList(*this, [this](PlanListNameClass& l) { return ClearIndexRow(l, SelectedIndexRow); });
}

void TForm1::BUpClick() {
    OnChosenList(*this, [this](PlanListNameClass& l) { return MoveIndexRowUp(l, SelectedIndexRow); });
}

void TForm1::BDownClick() {
    OnChosenList(*this, [this](PlanListNameClass& l) { return MoveIndexRowDown(l, SelectedIndexRow); });
}

void TForm1::BDelIndexClick() {
    OnChosenList(*this, [this](PlanListNameClass& l) { return DeleteIndexRow(l, SelectedIndexRow); });
}

void TForm1::BCopyIndexClick() {
    OnChosenList(*this, [this](PlanListNameClass& l) { return CopyIndexRow(l, SelectedIndexRow); });
}

void TForm1::BEditIndexClick() {
    const int list = SelectedPlanList();
    if (!IndexGridEditMode() || list < 0 || PlanListName[list].Lock || SelectedIndexRow < 1 ||
        SelectedIndexRow > PlanListName[list].IndexDataCount())
        return;
    const int row = SelectedIndexRow - 1;
    // The grid shows the name only on the first row of a structure group.
    const QTableWidgetItem* shown = StringGrid1->item(row, 0);
    FormIndex->Open(list, row, shown && !shown->text().isEmpty());
}

void TForm1::LoadIndexIntoFormIndex(int list, int row) {
    if (list < 0 || list >= PlanListNameCount() || row < 0 ||
        row >= PlanListName[list].IndexDataCount())
        return;
    FormIndex->LoadIndex(PlanListName[list].IndexData[row]);
}

void TForm1::BDVHSeriesClick() {
    if (!IndexGridEditMode()) return;
    const int list = SelectedPlanList();
    if (list >= 0 && !PlanListName[list].Lock) FormDVHs->Open(list);
}

// ---- files ----

void TForm1::SavePlanList1Click() {
    if (ComboBox1->currentIndex() < 0) return;
    const QString file = ComboBox1->currentText() + ".lst";
    SaveDialog2->selectNameFilter("List data (*.lst)");
    if (!ReadFolder.empty())
        SaveDialog2->selectFile(QString::fromStdString(ReadFolder) + "/" + file);
    else
        SaveDialog2->selectFile(SaveDialog2->directory().filePath(file));
    SaveDialog2->open();
}

void TForm1::ImportPlanList1Click() { ImportDialog->open(); }

void TForm1::ClearStructureList1Click() {
    if (ComboBox1->currentIndex() < 0) return;
    const int list = SelectedPlanList();
    const std::string name =
        list >= 0 ? PlanListName[list].Name : ToBytes(ComboBox1->currentText());
    if (!platform::FileExists(PlanListFilePath(PlanListFolder, name))) return;
    ShowUserMessage(this, BoxRole::Question, ClearStructureListQuestion(), QMessageBox::Question,
                    QMessageBox::Ok | QMessageBox::Cancel, "ClearStructureListBox",
                    [this, name](bool ok) {
                        if (!ok) return;
                        const ListCommandResult r = ClearStructureNameList(PlanListFolder, name);
                        if (r.status == ListCommandStatus::Failed) ReportWriteFailure(r.message);
                    });
}

// ---- closing ----

void TForm1::AskToSaveModifiedLists(std::function<void()> then) {
    // A close made while a question waits (from code: the question holds the close box) must
    // not start a second round of questions over the first.
    if (m_offeringLists) return;
    m_offeringLists = true;
    auto pending = std::make_shared<std::vector<std::string>>();
    for (int i : ModifiedPlanLists(*this)) pending->push_back(PlanListName[i].Name);
    // The step holds itself only weakly: the open question's answer handler keeps it alive, so
    // nothing has to clear it while it runs (clearing a closure from inside frees what it
    // still uses).
    auto step = std::make_shared<std::function<void()>>();
    std::weak_ptr<std::function<void()>> self = step;
    *step = [this, pending, self, then]() {
        if (pending->empty()) {
            m_offeringLists = false;
            then();
            return;
        }
        const std::string name = pending->front();
        pending->erase(pending->begin());
        SelectPlanList(name);
        ShowUserMessage(this, BoxRole::Question, SaveOnExitQuestion(name), QMessageBox::Question,
                        QMessageBox::Yes | QMessageBox::No, "SaveOnExitBox",
                        [this, name, next = self.lock()](bool yes) {
                            // The list the question named, whatever is chosen now; a list that
                            // could not be saved keeps the program open.
                            if (yes && !SavePlanListAt(FindPlanList(PlanListName, name))) {
                                m_offeringLists = false;
                                return;
                            }
                            (*next)();
                        });
    };
    (*step)();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (m_listsOffered || ModifiedPlanLists(*this).empty()) {
        QMainWindow::closeEvent(event);
        // The program ends with its main window, also while the comparison is open.
        if (event->isAccepted()) CloseComparisonWindows();
        return;
    }
    event->ignore();
    AskToSaveModifiedLists([this] {
        m_listsOffered = true;
        close();
    });
}
