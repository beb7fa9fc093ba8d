// Entry point: one instance, the forms created once, then the event loop.
#include "app/Forms.h"
#include "app/TForm1.h"
#include "app/TessarayApplication.h"

#include "app/ProgramPicture.h"

#include <QIcon>

int main(int argc, char** argv) {
    TessarayApplication app(argc, argv);
    app.setWindowIcon(QIcon(ProgramPicture(64)));
    if (!ClaimSingleInstance()) return -1;
    try {
        CreateForms();
        Form1->show();
        return app.exec();
    } catch (...) {
        // A form that could not be built: shown once, and the program ends normally.
        ShowCurrentException();
    }
    return 0;
}
