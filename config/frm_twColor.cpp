#include "config/frm_twColor.h"

#include "core/Program.h"
#include "platform/richedit/OleColor.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include <functional>

namespace {

// A coloured box that answers a click.
class Swatch : public QLabel {
public:
    explicit Swatch(std::function<void()> onClick) : m_onClick(std::move(onClick)) {
        setAutoFillBackground(true);
        setFixedSize(28, 28);
        setLineWidth(2);
    }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            m_onClick();
        QLabel::mouseReleaseEvent(event);
    }

private:
    std::function<void()> m_onClick;
};

void paint(QWidget& box, qint32 rgb) {
    QPalette palette = box.palette();
    palette.setColor(QPalette::Window, platform::ColorFromRgb(rgb));
    box.setPalette(palette);
}

} // namespace

frm_twColor::frm_twColor(Program& program) : Form(program, Kind::Dialog) {
    setCaption(QStringLiteral("Color Picker"));
    auto* layout = new QVBoxLayout(this);
    auto* swatches = new QGridLayout;
    for (int i = 0; i < int(cbox.size()); ++i) {
        auto* swatch = new Swatch([this, i] { cbox_Click(i); });
        swatch->setObjectName(QStringLiteral("cbox(%1)").arg(i));
        paint(*swatch, program.palette.GetColor(QString::number(i)));
        cbox[i] = swatch;
        swatches->addWidget(swatch, i / 8, i % 8);
    }
    auto* frame = new QGroupBox(QStringLiteral("Palette:"));
    frame->setLayout(swatches);
    layout->addWidget(frame);

    auto* chosenRow = new QHBoxLayout;
    Picture1 = new QLabel;
    Picture1->setAutoFillBackground(true);
    Picture1->setFrameShape(QFrame::Box);
    Picture1->setFixedSize(56, 40);
    Label1 = new QLabel;
    Label1->setTextFormat(Qt::PlainText);
    Command1 = new QPushButton(QStringLiteral("&Choose"));
    connect(Command1, &QPushButton::clicked, this, &frm_twColor::Command1_Click);
    chosenRow->addWidget(Picture1);
    chosenRow->addWidget(Label1, 1);
    chosenRow->addWidget(Command1);
    layout->addLayout(chosenRow);
}

void frm_twColor::selcol(int index) {
    if (index < 0 || index >= int(cbox.size()))
        return;
    mark(index);
}

void frm_twColor::cbox_Click(int index) {
    mark(index);
    Q_EMIT chosen();
}

void frm_twColor::Command1_Click() {
    // Only a swatch click is a choice: "&Choose" closes as the close box
    // does, so a preselection it did not change is not taken for a pick.
    Unload();
}

void frm_twColor::mark(int index) {
    for (QLabel* swatch : cbox)
        swatch->setFrameShape(QFrame::NoFrame);
    // The border is drawn in the text colour: light on a dark swatch, dark on
    // a light one, so that it shows on every colour.
    QLabel& marked = *cbox[index];
    QPalette palette = marked.palette();
    palette.setColor(QPalette::WindowText,
                     palette.color(QPalette::Window).lightness() < 128 ? Qt::white : Qt::black);
    marked.setPalette(palette);
    marked.setFrameShape(QFrame::Box);
    paint(*Picture1, platform::RgbFromColor(cbox[index]->palette().color(QPalette::Window)));
    Label1->setText(QStringLiteral("Color chosen: ") + QString::number(index));
    program().PickedColorIndex = index;
}
