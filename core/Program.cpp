#include "core/Program.h"

#include "config/frm_about.h"
#include "config/frm_alias.h"
#include "config/frm_popups.h"
#include "config/frm_setup.h"
#include "config/frm_sw.h"
#include "config/frm_twColor.h"
#include "config/frm_twFont.h"
#include "connection/frm_main.h"
#include "core/ExitSequence.h"
#include "core/ServerEcho.h"
#include "windows/frmMain.h"
#include "windows/frm_blocks.h"
#include "windows/frm_chan.h"
#include "windows/frm_dccsend.h"
#include "windows/frm_list.h"
#include "windows/frm_memo.h"
#include "windows/frm_note.h"
#include "windows/frm_notify.h"
#include "windows/frm_server.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// A single-instance window, created on first use.
template <typename Window> Window& instance(Program& program, QPointer<Window>& slot) {
    if (!slot)
        slot = new Window(program);
    return *slot;
}

// A window that unloads when it closes: a new one once the last one left the
// open windows, even before it is destroyed.
template <typename Window> Window& loadedInstance(Program& program, QPointer<Window>& slot) {
    if (!slot || !program.forms().contains(slot.data()))
        slot = new Window(program);
    return *slot;
}

} // namespace

Program::Program(const QString& programFolder)
    : endProgram([] { QCoreApplication::exit(0); }),
      m_folder(QDir::cleanPath(programFolder.isEmpty() ? resolveProgramFolder() : programFolder)) {}

Program::~Program() {
    // Unload every window, the last loaded first; children go with their frame.
    QList<QPointer<Form>> open(m_unloading);
    open.append(QList<QPointer<Form>>(m_forms.cbegin(), m_forms.cend()));
    for (auto it = open.crbegin(); it != open.crend(); ++it)
        delete it->data();
    m_exit.reset();
}

const platform::IrcServerSyntax& Program::serverSyntax() const {
    static const platform::IrcServerSyntax defaults;
    return m_main && m_main->Yarv1 ? m_main->Yarv1->serverSyntax() : defaults;
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
    return instance(*this, m_blocks);
}

frm_alias& Program::aliasWindow() {
    return instance(*this, m_alias);
}

bool Program::hasListWindow() const {
    return m_list && m_forms.contains(m_list.data());
}

frm_list& Program::listWindow() {
    // A list closed by the user is made afresh.
    if (m_list && !m_forms.contains(m_list.data()))
        m_list = nullptr;
    return instance(*this, m_list);
}

frm_dccsend& Program::dccSendWindow() {
    return instance(*this, m_dccSend);
}

frm_sw& Program::setupWizard() {
    return loadedInstance(*this, m_setupWizard);
}

frm_about& Program::aboutBox() {
    return loadedInstance(*this, m_about);
}

frm_twColor& Program::colorChooser() {
    return loadedInstance(*this, m_colorChooser);
}

frm_twFont& Program::fontChooser() {
    return loadedInstance(*this, m_fontChooser);
}

bool Program::hasColorChooser() const {
    return m_colorChooser && m_forms.contains(m_colorChooser.data());
}

bool Program::hasFontChooser() const {
    return m_fontChooser && m_forms.contains(m_fontChooser.data());
}

frm_memo& Program::memoWindow() {
    return instance(*this, m_memo);
}

bool Program::hasNoteTile() const {
    return m_note && m_forms.contains(m_note.data());
}

frm_note& Program::noteTile() {
    if (!hasNoteTile()) {
        m_note = new frm_note(*this);
        m_note->Form_Load();
    }
    return *m_note;
}

bool Program::hasToast() const {
    // A toast sliding away is gone for the next alert.
    return m_toast && m_forms.contains(m_toast.data()) && !m_toast->leaving();
}

frmMain& Program::toast() {
    if (!hasToast()) {
        m_toast = new frmMain(*this);
        m_toast->Form_Load();
    }
    return *m_toast;
}

ExitSequence& Program::exitSequence() {
    if (!m_exit)
        m_exit = std::make_unique<ExitSequence>(*this);
    return *m_exit;
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
