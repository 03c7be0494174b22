#pragma once
// The welcome box shown when a Sysdeck is first placed on a form in a
// designer: what the control does and how to use it, with a way to the
// about box.

#include <QDialog>

class QLabel;
class QPushButton;

class FRMAbertura : public QDialog {
    Q_OBJECT
public:
    explicit FRMAbertura(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* BTNOK = nullptr;
    QPushButton* BTNsobre = nullptr;
};
