#include "config/frm_about.h"

#include "core/ProgramVersion.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frm_about::frm_about(Program& program) : Form(program, Kind::Dialog) {
    setCaption(QStringLiteral("About Parlone"));
    auto* picture = new QLabel;
    picture->setPixmap(QIcon(QStringLiteral(":/frame/parlone.xpm")).pixmap(48, 48));
    picture->setAlignment(Qt::AlignTop);
    Label1 = new QLabel;
    Label1->setTextFormat(Qt::PlainText);
    Label1->setText(VersionText(CurrentVersion()));
    Command1 = new QPushButton(QStringLiteral("OK"));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &frm_about::Command1_Click);

    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addWidget(Label1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Command1, 0, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString frm_about::VersionText(const ProgramVersion& version) {
    return QStringLiteral("Parlone v%1.%2%3\r\nAn Internet Relay Chat Client")
        .arg(version.major)
        .arg(version.minor)
        .arg(version.revision);
}

void frm_about::Command1_Click() {
    Unload();
}
