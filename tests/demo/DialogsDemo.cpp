// Opens each customisable dialog with a sample panel of its own, for a look or a
// screenshot: dialogs_demo [open|save|find|replace|folder] [--shot FILE]
// Without a dialog name it shows a window with one button per dialog.
#include "dialogs/TCFindDialog.h"
#include "dialogs/TCOpenDialog.h"
#include "dialogs/TCSelectFolderDialog.h"
#include "dialogs/TCustomDialogWindow.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>

namespace {

/// A preview panel like one a form would place beside an export's file list.
QWidget* SamplePanel(QWidget* owner) {
    auto* panel = new QFrame(owner, Qt::Window);
    panel->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(panel);
    layout->addWidget(new QLabel("<b>Preview</b>"));
    auto* text = new QPlainTextEdit("Patient: DEMO\nPlan: Prostate 78 Gy\nStructures: PTV, Rectum, Bladder\n");
    text->setReadOnly(true);
    layout->addWidget(text);
    panel->resize(220, 160);
    panel->hide();
    return panel;
}

void Open(const QString& kind, QWidget* owner) {
    QWidget* panel = SamplePanel(owner);
    if (kind == "open" || kind == "save") {
        TCOpenDialog* dialog = kind == "save" ? new TCSaveDialog(owner) : new TCOpenDialog(owner);
        dialog->Filter = "DVH exports (*.txt *.dvh);;All files (*)";
        dialog->InitialDir = QDir::homePath();
        dialog->SetSubForm(panel);
        dialog->SetSubFormPos(kind == "save" ? fpBottom : fpRight);
        dialog->Execute();
        delete dialog;
    } else if (kind == "find" || kind == "replace") {
        TCFindDialog* dialog = kind == "replace" ? new TCReplaceDialog(owner) : new TCFindDialog(owner);
        dialog->SetSubForm(panel);
        dialog->SetSubFormPos(fpBottom);
        dialog->SetDialogSizing(true);
        dialog->SetFindText("D95");
        dialog->Execute();
    } else if (kind == "folder") {
        auto* picker = new TCSelectFolderDialog(owner);
        picker->SetSubForm(panel);
        picker->SetSubFormPos(fpLeft);
        picker->SetDialogSizing(true);
        picker->SetSelectFolder(QDir::homePath());
        picker->Execute();
        delete picker;
    }
}

/// Saves a picture of the dialog on screen, then closes it so the program ends.
void ShootAndQuit(const QString& file) {
    QWidget* shown = QApplication::activeModalWidget();
    if (!shown)
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && qobject_cast<TCustomDialogWindow*>(w)) shown = w;
    if (!shown || !shown->grab().save(file)) std::fprintf(stderr, "no picture taken\n");
    if (auto* dialog = qobject_cast<QDialog*>(shown)) dialog->reject();
    QTimer::singleShot(0, qApp, &QApplication::quit);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int shotAt = int(args.indexOf("--shot"));
    const QString shot = shotAt > 0 ? args.value(shotAt + 1) : QString();
    const QString kind = args.size() > 1 && args[1] != "--shot" ? args[1] : QString();

    QWidget main;
    main.setWindowTitle("Customisable dialogs");
    auto* layout = new QVBoxLayout(&main);
    for (const char* name : {"open", "save", "find", "replace", "folder"}) {
        auto* button = new QPushButton(QString(name));
        QObject::connect(button, &QPushButton::clicked, &main, [&main, name] { Open(name, &main); });
        layout->addWidget(button);
    }
    main.show();
    if (!shot.isEmpty()) QTimer::singleShot(1000, &app, [shot] { ShootAndQuit(shot); });
    if (!kind.isEmpty()) QTimer::singleShot(0, &main, [&main, kind] { Open(kind, &main); });
    return app.exec();
}
