// The application object: title, single-instance guard and the error box for escaped exceptions.
#pragma once

#include <QApplication>

class TessarayApplication : public QApplication {
    Q_OBJECT
public:
    TessarayApplication(int& argc, char** argv);

    /// Delivers an event; an exception that escapes its handler is shown in an error box and
    /// the program goes on.
    bool notify(QObject* receiver, QEvent* event) override;
};

/// The standard error box for an exception that escaped a handler: call it inside a catch
/// block. Its text is the exception's message; an exception of another type than
/// `std::exception` has none.
void ShowCurrentException(QWidget* parent = nullptr);

/// Names the program ("Tessaray", its version) without changing any window's caption.
void NameApplication();

/// Claims the one-instance lock "Tessaray" in the user's runtime folder. False when another
/// instance holds it.
bool ClaimSingleInstance();
