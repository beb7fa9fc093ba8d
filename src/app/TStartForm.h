// The splash shown while the main window reads its settings and plan lists.
#pragma once

#include <QWidget>

class QLabel;

class TStartForm : public QWidget {
    Q_OBJECT
public:
    explicit TStartForm(QWidget* parent = nullptr);

    QLabel* Image1;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
};
