#include "ident/about.h"

#include "platform/dialogs/Dialogs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {

// System-information programs of the desktops, the first found is started.
const char* const SystemInfoPrograms[] = {"hardinfo2", "hardinfo", "kinfocenter"};

bool startDetached(const QString& path) {
    return QProcess::startDetached(path, {});
}

} // namespace

about::about(ProgramLauncher launcher, QWidget* parent)
    : QDialog(parent), m_launcher(launcher ? std::move(launcher) : startDetached) {
    const QString title = QStringLiteral("Ostrane");
    setWindowTitle(QStringLiteral("About ") + title);
    auto* layout = new QVBoxLayout(this);

    lblTitle = new QLabel(title, this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSize(titleFont.pointSize() + 4);
    lblTitle->setFont(titleFont);
    lblVersion = new QLabel(
        QStringLiteral("Version %1.%2.%3").arg(VersionMajor).arg(VersionMinor).arg(VersionRevision),
        this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    auto* description = new QLabel(QStringLiteral("Ostrane - Ident Server"), this);
    for (QLabel* label : {lblTitle, lblVersion, description})
        layout->addWidget(label);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    connect(cmdSysInfo, &QPushButton::clicked, this, &about::StartSysInfo);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    layout->addLayout(buttons);
}

void about::StartSysInfo() {
    for (const char* name : SystemInfoPrograms) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty()) {
            if (m_launcher(path))
                return;
            break;
        }
    }
    platform::MsgBox(QStringLiteral("System Information Is Unavailable At This Time"),
                     platform::vbOKOnly);
}
