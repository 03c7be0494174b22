#include "sysmenu/FRMAbout.h"

#include "platform/dialogs/Dialogs.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

FRMAbout::FRMAbout(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Sobre"));
    auto* layout = new QVBoxLayout(this);

    LBLTitulo = new QLabel(QStringLiteral("Sysdeck"), this);
    QFont titleFont = LBLTitulo->font();
    titleFont.setBold(true);
    titleFont.setPointSize(titleFont.pointSize() + 4);
    LBLTitulo->setFont(titleFont);
    LBLVersao = new QLabel(QStringLiteral("Version 1.0"), this);
    LBLComment = new QLabel(
        QStringLiteral("A system-menu control: it adds items to the system menu of the form "
                       "that hosts it and reports the commands chosen there."),
        this);
    LBLComment->setWordWrap(true);
    LBLUso = new QLabel(
        QStringLiteral("Add the items when the form loads, then call Start to receive them."),
        this);
    LBLUso->setWordWrap(true);
    LBLProjeto = new QLabel(QStringLiteral("Part of the Parlone project."), this);
    for (QLabel* label : {LBLTitulo, LBLVersao, LBLComment, LBLUso, LBLProjeto})
        layout->addWidget(label);

    auto* notes = new QGridLayout;
    const struct {
        const char* caption;
        const char* note;
    } pairs[] = {
        {"Collaborate With Me", "Ideas and fixes for Sysdeck are welcome in the Parlone project."},
        {"Colabore Comigo", "Ideias e correções para o Sysdeck são bem-vindas no projeto Parlone."},
        {"If You Liked", "If you liked Sysdeck, put it on your own forms."},
        {"Se Você Gostou", "Se você gostou do Sysdeck, use-o nos seus formulários."},
        {"Other Subjects", "The project has two more components: Loomhook and Ostrane."},
        {"Outros Assuntos", "O projeto tem mais dois componentes: Loomhook e Ostrane."},
    };
    int i = 0;
    for (const auto& pair : pairs) {
        QPushButton* button =
            addNoteButton(QString::fromUtf8(pair.caption), QString::fromUtf8(pair.note));
        notes->addWidget(button, i / 2, i % 2);
        ++i;
    }
    layout->addLayout(notes);

    BTNOK = new QPushButton(QStringLiteral("OK"), this);
    BTNOK->setObjectName(QStringLiteral("BTNOK"));
    BTNOK->setDefault(true);
    connect(BTNOK, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(BTNOK, 0, Qt::AlignRight);
}

QPushButton* FRMAbout::addNoteButton(const QString& caption, const QString& note) {
    auto* button = new QPushButton(caption, this);
    connect(button, &QPushButton::clicked, this,
            [note] { platform::MsgBox(note, platform::vbOKOnly); });
    return button;
}
