// The About box: product name, version and last update.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;  // the one place the version text lives: report footers read it
    QLabel* Label1;
    QLabel* Comments;
    QPushButton* OKButton;

    void OKButtonClick();
};

/// The version text of the About box ("Version 1.0.0").
QString VersionText();
