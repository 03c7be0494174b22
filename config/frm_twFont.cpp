#include "config/frm_twFont.h"

#include "core/Fonts.h"
#include "core/Program.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frm_twFont::frm_twFont(Program& program) : Form(program, Kind::Dialog) {
    setCaption(QStringLiteral("Font Chooser"));
    auto* layout = new QVBoxLayout(this);
    Combo1 = new QComboBox;
    layout->addWidget(Combo1);
    auto* exampleLayout = new QVBoxLayout;
    Label1 = new QLabel(QStringLiteral("This is some example text.. enjoy :-)"));
    Label1->setTextFormat(Qt::PlainText);
    Label1->setMinimumHeight(48);
    exampleLayout->addWidget(Label1);
    auto* example = new QGroupBox(QStringLiteral("Example Text:"));
    example->setLayout(exampleLayout);
    layout->addWidget(example);
    Command1 = new QPushButton(QStringLiteral("&Select"));
    connect(Command1, &QPushButton::clicked, this, &frm_twFont::Command1_Click);
    layout->addWidget(Command1, 0, Qt::AlignRight);

    connect(Combo1, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            Combo1_Click();
    });
    Combo1->addItems(ScreenFontNames());
    if (Combo1->count() > 0) {
        Combo1->setCurrentIndex(0);
        Combo1_Click();
    }
}

void frm_twFont::ChooseFont(const QString& name) {
    const QString wanted = name.toUpper();
    for (int i = 0; i < Combo1->count(); ++i) {
        if (Combo1->itemText(i).toUpper() == wanted)
            Combo1->setCurrentIndex(i);
    }
}

void frm_twFont::Combo1_Click() {
    SetFontFace(*Label1, Combo1->currentText());
}

void frm_twFont::Command1_Click() {
    if (Combo1->currentIndex() >= 0) {
        program().PickedFont = Combo1->currentText();
        Q_EMIT selected();
    }
    Unload();
}
