#pragma once
// Ostrane's about box: the library's title and version, "OK", and a button
// that starts the system's information program.

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;

class about : public QDialog {
    Q_OBJECT
public:
    // Starts the program at `path` in its own process; false when it cannot.
    using ProgramLauncher = std::function<bool(const QString& path)>;

    // The version shown: major, minor and revision of the library.
    static constexpr int VersionMajor = 1;
    static constexpr int VersionMinor = 0;
    static constexpr int VersionRevision = 0;

    // None for `launcher` starts programs detached.
    explicit about(ProgramLauncher launcher = {}, QWidget* parent = nullptr);

    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;

private:
    // Starts the first system-information program found on the path; says so
    // when there is none or it cannot be started.
    void StartSysInfo();

    ProgramLauncher m_launcher;
};
