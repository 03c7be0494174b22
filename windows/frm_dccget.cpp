#include "windows/frm_dccget.h"

#include "connection/frm_main.h"
#include "core/Program.h"
#include "core/WindowLookup.h"
#include "platform/window/SwitchBar.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace {

// Texts here come from the network (file names, sizes): never markup.
QLabel* plainLabel(QWidget* parent, const QString& text = QString()) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return label;
}

} // namespace

frm_dccget::frm_dccget(Program& program) : Form(program, Kind::MdiChild) {
    setCaption(QStringLiteral("Recieve a file"));
    auto* layout = new QGridLayout(this);
    lbl_file = plainLabel(this);
    Label2 = plainLabel(this, QStringLiteral("Progression:"));
    Label1 = plainLabel(this);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    TMP = plainLabel(this);
    TMP->hide();
    Command1 = new QPushButton(QStringLiteral("Cancel"), this);
    Check1 = new QCheckBox(QStringLiteral("Open file after download is complete."), this);
    layout->addWidget(lbl_file, 0, 0, 1, 2);
    layout->addWidget(Label2, 1, 0);
    layout->addWidget(Label1, 1, 1);
    layout->addWidget(ProgressBar1, 2, 0, 1, 2);
    layout->addWidget(Check1, 3, 0);
    layout->addWidget(Command1, 3, 1, Qt::AlignRight);
    layout->addWidget(TMP, 4, 0);
    // A large window keeps its controls together at the top.
    layout->setRowStretch(4, 1);
    connect(Command1, &QPushButton::clicked, this, &frm_dccget::Command1_Click);
}

frm_dccget::~frm_dccget() = default;

void frm_dccget::setProgressText(const QString& text) {
    if (Label1->text() == text)
        return;
    Label1->setText(text);
    Label1_Change();
}

void frm_dccget::Label1_Change() {
    const QStringList words = Label1->text().split(u' ');
    if (words.size() > 2 && words.at(2) == words.at(0)) {
        Command1->setText(QStringLiteral("Clo&se"));
        setProgressText(QStringLiteral("Download is complete."));
    }
}

void frm_dccget::Command1_Click() {
    const QPointer<frm_dccget> self(this);
    emit closeRequested();
    if (!self)
        return;
    int cancel = 0;
    Form_QueryUnload(cancel, vbFormControlMenu);
    if (self)
        Unload();
}

void frm_dccget::Form_QueryUnload(int& Cancel, int UnloadMode) {
    Q_UNUSED(Cancel);
    if (UnloadMode != vbFormControlMenu)
        return;
    if (const int index = PanelIndex(program(), m_panel); index > 0)
        program().mainFrame().StatusBar1->Remove(index);
    Unload();
}
