// Entry point: one instance, the forms created once, then the event loop.
#include "app/Forms.h"
#include "app/TForm1.h"
#include "app/TessarayApplication.h"

#include "app/ProgramPicture.h"

#include <QIcon>
#include <QMessageBox>

#include <exception>

int main(int argc, char** argv) {
    TessarayApplication app(argc, argv);
    app.setWindowIcon(QIcon(ProgramPicture(64)));
    if (!ClaimSingleInstance()) return -1;
    try {
        CreateForms();
        Form1->show();
        return app.exec();
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, "Tessaray", QString::fromLocal8Bit(e.what()));
    }
    return 0;
}
