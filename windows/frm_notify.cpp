#include "windows/frm_notify.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QTabWidget>
#include <QVBoxLayout>

frm_notify::frm_notify(Program& program) : Form(program, Kind::MdiChild, QStringLiteral("Notify")) {
    setCaption(QStringLiteral("Notify List"));
    auto* layout = new QVBoxLayout(this);
    SSTab1 = new QTabWidget(this);
    layout->addWidget(SSTab1);

    auto* status = new QWidget;
    auto* statusLayout = new QGridLayout(status);
    l_online = new QListWidget;
    l_offline = new QListWidget;
    statusLayout->addWidget(new QLabel(QStringLiteral("Online:")), 0, 0);
    statusLayout->addWidget(new QLabel(QStringLiteral("Offline:")), 0, 1);
    statusLayout->addWidget(l_online, 1, 0);
    statusLayout->addWidget(l_offline, 1, 1);
    SSTab1->addTab(status, QStringLiteral("Online/Offline"));

    List1 = new QListWidget;
    auto* manager = new QWidget;
    auto* managerLayout = new QVBoxLayout(manager);
    managerLayout->addWidget(List1);
    SSTab1->addTab(manager, QStringLiteral("List Manager"));

    for (QListWidget* list : {List1, l_online, l_offline})
        list->setSortingEnabled(true);
}

void frm_notify::Form_QueryUnload(int& Cancel, int UnloadMode) {
    Q_UNUSED(UnloadMode);
    Cancel = 1;
    Hide();
}
