// Entry point: one instance, the forms created once, then the event loop.
#include "app/Forms.h"
#include "app/TForm1.h"
#include "app/TessarayApplication.h"

#include <QMessageBox>

#include <exception>

int main(int argc, char** argv) {
    TessarayApplication app(argc, argv);
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
