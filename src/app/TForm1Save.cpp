// Save DVH on the main window: its three launchers and the message boxes of the save flow.
#include "app/TForm1.h"

#include "app/Forms.h"
#include "app/TFormOption.h"
#include "widgets/TextBytes.h"
#include "widgets/MessageBoxes.h"
#include "import/SaveDvh.h"

#include <QAction>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>

namespace {

/// The save flow's questions and reports as the program's message boxes, shown without a modal
/// loop. A question holds every window until it is answered: what it asked about cannot change
/// meanwhile, and a second Save cannot ask a second time.
class SaveDvhBoxes final : public QObject, public SaveDvhDialogs {
public:
    explicit SaveDvhBoxes(QWidget* owner) : QObject(owner), m_owner(owner) {}

    void AskOkCancel(const std::string& text, const std::string& caption, std::function<void(bool)> answer) override {
        QMessageBox* box = Box(BoxRole::Question, QMessageBox::Question, "SaveDvhQuestionBox", text, caption,
                               QMessageBox::Ok | QMessageBox::Cancel);
        QObject::connect(box, &QMessageBox::finished, box, [box, answer = std::move(answer)](int) {
            answer(box->clickedButton() == box->button(QMessageBox::Ok));
        });
        box->show();
    }
    void ShowDirectoriesSettings() override {
        FormOption->show();
        FormOption->PageControl1->setCurrentIndex(1);
    }
    void ShowError(const std::string& text, const std::string& caption) override {
        Box(BoxRole::Report, QMessageBox::Critical, "SaveDvhErrorBox", text, caption, QMessageBox::Ok)
            ->show();
    }
    void ShowInformation(const std::string& text, const std::string& caption) override {
        Box(BoxRole::Report, QMessageBox::Information, "SaveDvhCompletedBox", text, caption, QMessageBox::Ok)
            ->show();
    }

private:
    QMessageBox* Box(BoxRole role, QMessageBox::Icon icon, const char* name, const std::string& text,
                     const std::string& caption, QMessageBox::StandardButtons buttons) {
        return NewMessageBox(role, icon, FromBytes(caption), FromBytes(text), buttons, m_owner, name);
    }

    QWidget* m_owner;
};

}  // namespace

void TForm1::ConnectSaveDvh() {
    m_saveDvhDialogs = new SaveDvhBoxes(this);
    connect(Save1, &QAction::triggered, this, &TForm1::Save1Click);
    connect(ToolButton23, &QAction::triggered, this, &TForm1::Save1Click);
    connect(Button9, &QPushButton::clicked, this, &TForm1::Save1Click);
    Save1->setEnabled(true);
    ToolButton23->setEnabled(true);
    Button9->setEnabled(true);
}

void TForm1::Save1Click() {
    const int list = SelectedPlanList();
    SaveDvh(*this, list >= 0 ? PlanListName[static_cast<std::size_t>(list)].Name : std::string(), list >= 0,
            *m_saveDvhDialogs);
}
