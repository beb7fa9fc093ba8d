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
    QLabel* Version;  // VersionText()
    QLabel* Label1;
    QLabel* Comments;
    QPushButton* OKButton;

    void OKButtonClick();
};
