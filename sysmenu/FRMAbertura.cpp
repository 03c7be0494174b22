#include "sysmenu/FRMAbertura.h"

#include "sysmenu/FRMAbout.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

FRMAbertura::FRMAbertura(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Sysdeck"));
    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel(QStringLiteral("Welcome to Sysdeck."), this);
    Label2 = new QLabel(QStringLiteral("It extends the system menu of this form: add items "
                                       "with AddSysMenu and receive them in UserSysClick."),
                        this);
    Label2->setWordWrap(true);
    Label3 =
        new QLabel(QStringLiteral("Call Start when the form loads. One Sysdeck per form."), this);
    Label3->setWordWrap(true);
    for (QLabel* label : {Label1, Label2, Label3})
        layout->addWidget(label);

    auto* buttons = new QHBoxLayout;
    BTNsobre = new QPushButton(QStringLiteral("&Sobre / About"), this);
    BTNsobre->setObjectName(QStringLiteral("BTNsobre"));
    BTNOK = new QPushButton(QStringLiteral("OK"), this);
    BTNOK->setObjectName(QStringLiteral("BTNOK"));
    BTNOK->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(BTNsobre);
    buttons->addWidget(BTNOK);
    layout->addLayout(buttons);

    connect(BTNOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(BTNsobre, &QPushButton::clicked, this, [this] {
        FRMAbout about(this);
        about.exec();
    });
}
