#include "config/frm_sw.h"

#include "config/frm_setup.h"
#include "connection/frm_main.h"
#include "core/Program.h"
#include "core/SettingsFile.h"
#include "core/mod_kernel.h"
#include "core/mod_set.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QLabel* heading(const QString& text) {
    auto* label = new QLabel(text);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.5);
    label->setFont(font);
    return label;
}

QLabel* note(const QString& text) {
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    return label;
}

// A check box with a line under it that says what it does.
void addExplainedBox(QVBoxLayout* layout, QCheckBox* box, const QString& explanation) {
    layout->addWidget(box);
    QLabel* label = note(explanation);
    label->setContentsMargins(24, 0, 0, 8);
    layout->addWidget(label);
}

// One page: its heading, its content, and its two buttons at the bottom right.
QWidget* makePage(const QString& title, QWidget* content, QPushButton* first, QPushButton* second) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(heading(title));
    layout->addWidget(content, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(first);
    buttons->addWidget(second);
    layout->addLayout(buttons);
    return page;
}

QGroupBox* frame(const QString& caption) {
    auto* box = new QGroupBox(caption);
    new QVBoxLayout(box);
    return box;
}

QVBoxLayout* layoutOf(QWidget* widget) {
    return static_cast<QVBoxLayout*>(widget->layout());
}

} // namespace

frm_sw::frm_sw(Program& program) : Form(program, Kind::Dialog) {
    setCaption(QStringLiteral("Setup Walkthrough"));
    SSTab1 = new QTabWidget(this);
    // The pages are reached by their buttons only: no tabs, and no frame
    // around the page.
    SSTab1->tabBar()->hide();
    SSTab1->setDocumentMode(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);

    // Page 0: the nickname.
    {
        auto* content = new QWidget;
        auto* contentLayout = new QVBoxLayout(content);
        contentLayout->setContentsMargins(0, 0, 0, 0);
        contentLayout->addWidget(
            note(QStringLiteral("Welcome to the Parlone Setup and Configuration walkthrough. "
                                "A few questions set up what you need to start chatting; "
                                "everything can be changed later in the setup dialog.")));
        QGroupBox* nick = frame(QStringLiteral("Nickname Setup"));
        Text2 = new QLineEdit;
        Text5 = new QLineEdit;
        layoutOf(nick)->addWidget(new QLabel(QStringLiteral("Enter your online nickname:")));
        layoutOf(nick)->addWidget(Text2);
        layoutOf(nick)->addWidget(new QLabel(QStringLiteral("Enter your online alternate:")));
        layoutOf(nick)->addWidget(Text5);
        contentLayout->addWidget(nick);
        contentLayout->addStretch(1);
        Check1 = new QCheckBox(QStringLiteral("Tick here to disable walkthrough"));
        connect(Check1, &QCheckBox::clicked, this, &frm_sw::Check1_Click);
        contentLayout->addWidget(Check1);
        Command1 = addButton(QStringLiteral("Next >"), &frm_sw::Command1_Click);
        Command2 = addButton(QStringLiteral("Cancel"), &frm_sw::Command2_Click);
        SSTab1->addTab(makePage(QStringLiteral("Welcome!"), content, Command2, Command1),
                       QStringLiteral("Tab 0"));
    }

    // Page 1: the profile.
    {
        QGroupBox* profiles = frame(QStringLiteral("Profiles Setup"));
        Text8 = new QLineEdit;
        Text6 = new QLineEdit;
        Text9 = new QLineEdit;
        const QList<QPair<QString, QLineEdit*>> boxes{
            {QStringLiteral("Enter your ISP username (not password):"), Text8},
            {QStringLiteral("Enter your personal e-mail address:"), Text6},
            {QStringLiteral("Enter your name:"), Text9}};
        for (const auto& [caption, box] : boxes) {
            layoutOf(profiles)->addWidget(new QLabel(caption));
            layoutOf(profiles)->addWidget(box);
        }
        layoutOf(profiles)->addStretch(1);
        Command3 = addButton(QStringLiteral("< Back"), &frm_sw::Command3_Click);
        Command4 = addButton(QStringLiteral("Next >"), &frm_sw::Command4_Click);
        SSTab1->addTab(makePage(QStringLiteral("Profile"), profiles, Command3, Command4),
                       QStringLiteral("Tab 1"));
    }

    // Page 2: the server.
    {
        QGroupBox* choice = frame(QStringLiteral("How would you like to choose a server:"));
        Option1 = new QRadioButton(QStringLiteral("I'd like to choose a random server."));
        Option2 = new QRadioButton(QStringLiteral("Use this server:"));
        Combo1 = new QComboBox;
        layoutOf(choice)->addWidget(Option1);
        layoutOf(choice)->addWidget(Option2);
        layoutOf(choice)->addWidget(Combo1);
        layoutOf(choice)->addStretch(1);
        Command5 = addButton(QStringLiteral("< Back"), &frm_sw::Command5_Click);
        Command6 = addButton(QStringLiteral("Next >"), &frm_sw::Command6_Click);
        SSTab1->addTab(makePage(QStringLiteral("Connection"), choice, Command5, Command6),
                       QStringLiteral("Tab 2"));
    }

    // Page 3: the interface.
    {
        auto* content = new QWidget;
        auto* contentLayout = new QVBoxLayout(content);
        contentLayout->setContentsMargins(0, 0, 0, 0);
        Check5 = new QCheckBox(QStringLiteral("Make Parlone 'Always on Top'"));
        Check6 = new QCheckBox(QStringLiteral("Minimise to tray"));
        Check7 = new QCheckBox(QStringLiteral("Confirm closing down Parlone"));
        addExplainedBox(contentLayout, Check5,
                        QStringLiteral("Keeps the Parlone window above every other window."));
        addExplainedBox(contentLayout, Check6,
                        QStringLiteral("Minimising Parlone puts it in the notification area "
                                       "instead of the task bar."));
        addExplainedBox(contentLayout, Check7,
                        QStringLiteral("Parlone asks before it closes, so a slip of the mouse "
                                       "does not end your chats."));
        contentLayout->addStretch(1);
        Command10 = addButton(QStringLiteral("< Back"), &frm_sw::Command10_Click);
        Command9 = addButton(QStringLiteral("Next >"), &frm_sw::Command9_Click);
        SSTab1->addTab(makePage(QStringLiteral("Interface"), content, Command10, Command9),
                       QStringLiteral("Tab 3"));
    }

    // Page 4: Buddy mode.
    {
        auto* content = new QWidget;
        auto* contentLayout = new QVBoxLayout(content);
        contentLayout->setContentsMargins(0, 0, 0, 0);
        contentLayout->addWidget(
            note(QStringLiteral("While Parlone is minimised, Buddy mode tells you of new "
                                "messages and of friends coming online with small tiles.")));
        Check10 = new QCheckBox(QStringLiteral("Use Buddy Mode when minimised."));
        Check9 = new QCheckBox(QStringLiteral("Use MSN style tiles."));
        Check11 = new QCheckBox(QStringLiteral("Use the default MSN sound aswell?"));
        Check8 = new QCheckBox(QStringLiteral("Use transparent tiles?"));
        for (QCheckBox* box : {Check10, Check9, Check11, Check8})
            contentLayout->addWidget(box);
        contentLayout->addStretch(1);
        Command12 = addButton(QStringLiteral("< Back"), &frm_sw::Command12_Click);
        Command11 = addButton(QStringLiteral("Next >"), &frm_sw::Command11_Click);
        SSTab1->addTab(makePage(QStringLiteral("Buddy Mode"), content, Command12, Command11),
                       QStringLiteral("Tab 4"));
    }

    // Page 5: the finish.
    {
        auto* content = new QWidget;
        auto* contentLayout = new QVBoxLayout(content);
        contentLayout->setContentsMargins(0, 0, 0, 0);
        Option3 = new QRadioButton(QStringLiteral("I'd like to see more advanced options"));
        Option4 = new QRadioButton(QStringLiteral("I'm done.. let me chat!!"));
        Check4 = new QCheckBox(QStringLiteral("Connect Instantly."));
        connect(Option3, &QRadioButton::clicked, this, &frm_sw::Option3_Click);
        connect(Option4, &QRadioButton::clicked, this, &frm_sw::Option4_Click);
        contentLayout->addWidget(Option3);
        contentLayout->addWidget(Option4);
        auto* connectRow = new QHBoxLayout;
        connectRow->addSpacing(24);
        connectRow->addWidget(Check4, 1);
        contentLayout->addLayout(connectRow);
        contentLayout->addStretch(1);
        Command8 = addButton(QStringLiteral("< Back"), &frm_sw::Command8_Click);
        Command7 = addButton(QStringLiteral("Next >"), &frm_sw::Command7_Click);
        SSTab1->addTab(makePage(QStringLiteral("Done?"), content, Command8, Command7),
                       QStringLiteral("Tab 5"));
    }

    SSTab1->setCurrentIndex(0);
    resize(440, 360);
    fillServers();
}

QPushButton* frm_sw::addButton(const QString& caption, void (frm_sw::*handler)()) {
    auto* button = new QPushButton(caption);
    connect(button, &QPushButton::clicked, this, handler);
    return button;
}

int frm_sw::page() const {
    return SSTab1->currentIndex();
}

void frm_sw::setPage(int page) {
    SSTab1->setCurrentIndex(page);
}

void frm_sw::store(const QString& key, const QString& value) {
    Setting(program(), key, value);
}

void frm_sw::fillServers() {
    const QComboBox* servers = program().setupDialog().List1;
    const int before = Combo1->currentIndex();
    Combo1->clear();
    for (int i = 0; i < servers->count(); ++i)
        Combo1->addItem(servers->itemText(i));
    const int count = Combo1->count();
    if (before >= 0 && before < count)
        Combo1->setCurrentIndex(before);
    else if (count > 0)
        Combo1->setCurrentIndex(count > 1 ? 1 : 0);
}

void frm_sw::pickServer(int index) {
    frm_setup& setup = program().setupDialog();
    // The box runs List1_Click only when its index changes.
    setup.List1->setCurrentIndex(index);
    setup.List1_Click();
}

void frm_sw::Command1_Click() {
    if (!Text2->text().isEmpty())
        store(QStringLiteral("PROFILE_NICKNAME"), Text2->text());
    if (!Text5->text().isEmpty())
        store(QStringLiteral("PROFILE_ALTERNATE"), Text5->text());
    nextPage();
}

void frm_sw::Command2_Click() {
    Unload();
}

void frm_sw::Check1_Click() {
    Program& p = program();
    store(QStringLiteral("PROMPT_SWIZ"), QStringLiteral("0"));
    SaveSettings(p);
    Hide();
    frm_main& frame = p.mainFrame();
    frame.Show();
    frame.ZOrder();
    frm_setup& setup = p.setupDialog();
    setup.Show();
    setup.ZOrder();
}

void frm_sw::Command3_Click() {
    previousPage();
}

void frm_sw::Command4_Click() {
    const QList<QPair<QString, const QLineEdit*>> boxes{
        {QStringLiteral("PROFILE_USERNAME"), Text8},
        {QStringLiteral("PROFILE_EMAIL"), Text6},
        {QStringLiteral("PROFILE_REALNAME"), Text9}};
    for (const auto& [key, box] : boxes) {
        if (!box->text().isEmpty())
            store(key, box->text());
    }
    nextPage();
}

void frm_sw::Command5_Click() {
    previousPage();
}

void frm_sw::Command6_Click() {
    frm_setup& setup = program().setupDialog();
    const int count = setup.List1->count();
    if (Option2->isChecked()) {
        // An empty list leaves the server settings as they are.
        if (const int index = Combo1->currentIndex(); index >= 0 && index < count)
            pickServer(index);
        nextPage();
    } else if (Option1->isChecked()) {
        if (count > 0)
            pickServer(setup.randomIndex(count));
        nextPage();
    }
}

void frm_sw::Command10_Click() {
    previousPage();
}

void frm_sw::Command9_Click() {
    store(QStringLiteral("MAINFORM_ONTOP"),
          Check5->isChecked() ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
    const auto flag = [](const QCheckBox* box) {
        return box->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    };
    store(QStringLiteral("USE_TRAY"), flag(Check6));
    store(QStringLiteral("USE_CONFIRM_EXIT"), flag(Check7));
    nextPage();
}

void frm_sw::Command12_Click() {
    previousPage();
}

void frm_sw::Command11_Click() {
    const QList<QPair<QString, const QCheckBox*>> boxes{{QStringLiteral("USE_BUDDY"), Check10},
                                                        {QStringLiteral("USE_MSNTILE"), Check9},
                                                        {QStringLiteral("USE_MSNSOUND"), Check11},
                                                        {QStringLiteral("USE_MSN_TRANS"), Check8}};
    for (const auto& [key, box] : boxes)
        store(key, box->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    nextPage();
}

void frm_sw::Command8_Click() {
    previousPage();
}

void frm_sw::Command7_Click() {
    Program& p = program();
    if (Option4->isChecked())
        Hide();
    if (Option4->isChecked() && Check4->isChecked())
        ExecCommand(p, QStringLiteral("connect"));
    if (Option3->isChecked()) {
        Hide();
        frm_setup& setup = p.setupDialog();
        setup.Show();
        setup.ZOrder();
    }
    setPage(1);
}

void frm_sw::Option3_Click() {
    Check4->setEnabled(false);
}

void frm_sw::Option4_Click() {
    Check4->setEnabled(true);
}
