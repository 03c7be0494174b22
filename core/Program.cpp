#include "core/Program.h"

#include "config/frm_popups.h"
#include "config/frm_setup.h"
#include "connection/frm_main.h"
#include "core/ServerEcho.h"
#include "windows/frm_blocks.h"
#include "windows/frm_chan.h"
#include "windows/frm_notify.h"
#include "windows/frm_server.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

Program::Program(const QString& programFolder)
    : m_folder(QDir::cleanPath(programFolder.isEmpty() ? resolveProgramFolder() : programFolder)) {}

Program::~Program() {
    // Unload every window, the last loaded first; children go with their frame.
    QList<QPointer<Form>> open(m_unloading);
    open.append(QList<QPointer<Form>>(m_forms.cbegin(), m_forms.cend()));
    for (auto it = open.crbegin(); it != open.crend(); ++it)
        delete it->data();
}

QString Program::path(const QString& relative) const {
    return m_folder + u'/' + relative;
}

QString Program::resolveProgramFolder() {
    const QString exeFolder = QCoreApplication::applicationDirPath();
    const QFileInfo info(exeFolder);
    if (!exeFolder.isEmpty() && info.isDir() && info.isWritable())
        return exeFolder;
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(data);
    return data;
}

frm_main& Program::mainFrame() {
    if (!m_main)
        m_main = new frm_main(*this);
    return *m_main;
}

frm_server& Program::serverWindow() {
    if (!m_server) {
        m_server = new frm_server(*this);
        FlushServerEcho(*this);
    }
    return *m_server;
}

frm_setup& Program::setupDialog() {
    if (!m_setup)
        m_setup = new frm_setup(*this);
    return *m_setup;
}

frm_chan& Program::defaultChannel() {
    if (!m_defaultChan)
        m_defaultChan = new frm_chan(*this);
    return *m_defaultChan;
}

frm_notify& Program::notifyWindow() {
    if (!m_notify)
        m_notify = new frm_notify(*this);
    return *m_notify;
}

frm_popups& Program::popupsWindow() {
    if (!m_popups)
        m_popups = new frm_popups(*this);
    return *m_popups;
}

frm_blocks& Program::blocksWindow() {
    if (!m_blocks)
        m_blocks = new frm_blocks(*this);
    return *m_blocks;
}

void Program::addForm(Form* form) {
    if (!m_forms.contains(form))
        m_forms.append(form);
}

void Program::removeForm(Form* form) {
    m_forms.removeAll(form);
}

void Program::addUnloading(Form* form) {
    m_unloading.removeAll(nullptr);
    m_unloading.append(form);
}
