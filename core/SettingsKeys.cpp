#include "core/SettingsKeys.h"

#include <QString>

#include <algorithm>
#include <array>

using namespace Qt::Literals::StringLiterals;

namespace {

using K = SettingKind;
using P = StoreProcedure;
using F = SaveForm;

// name, kind, store, default, setup binding, owns a field, save position,
// save form, defaults order
// clang-format off
constexpr std::array<SettingKey, SettingsKeys::Count> keyTable{{
    {"ADD_NOTIFY"_L1, K::Nick, P::NotifyEntry, ""_L1, ""_L1, false, 118, F::Trimmed, -1},
    {"BEEPS"_L1, K::Text, P::PlainText, ""_L1, ""_L1, true, 1, F::Trimmed, -1},
    {"MAINFORM_HEIGHT"_L1, K::TwipsNumber, P::PlainText, ""_L1, ""_L1, true, 3, F::Trimmed, -1},
    {"MAINFORM_LEFT"_L1, K::TwipsNumber, P::PlainText, ""_L1, ""_L1, true, 4, F::Trimmed, -1},
    {"MAINFORM_TOP"_L1, K::TwipsNumber, P::PlainText, ""_L1, ""_L1, true, 6, F::Trimmed, -1},
    {"MAINFORM_WIDTH"_L1, K::TwipsNumber, P::PlainText, ""_L1, ""_L1, true, 7, F::Trimmed, -1},
    {"MAINFORM_ONTOP"_L1, K::TrueFalse, P::MainFormOnTop, ""_L1, "Check1"_L1, true, 5, F::Trimmed, -1},
    {"PROFILE_NICKNAME"_L1, K::Text, P::MirroredText, ""_L1, "profile(0)"_L1, true, 10, F::Raw, -1},
    {"PROFILE_ALTERNATE"_L1, K::Text, P::MirroredText, ""_L1, "profile(1)"_L1, true, 8, F::Raw, -1},
    {"PROFILE_USERNAME"_L1, K::Text, P::MirroredText, ""_L1, "profile(2)"_L1, true, 12, F::Raw, -1},
    {"PROFILE_EMAIL"_L1, K::Text, P::MirroredText, ""_L1, "profile(3)"_L1, true, 9, F::Raw, -1},
    {"PROFILE_REALNAME"_L1, K::Text, P::MirroredText, ""_L1, "profile(4)"_L1, true, 11, F::Raw, -1},
    {"SERVER_FRIENDLY_NAME"_L1, K::Text, P::PlainText, ""_L1, ""_L1, true, 13, F::Trimmed, -1},
    {"SERVER_PORT"_L1, K::Port, P::PlainText, ""_L1, ""_L1, true, 14, F::Trimmed, -1},
    {"SERVER_STYLE"_L1, K::Text, P::PlainText, ""_L1, ""_L1, true, 15, F::Trimmed, -1},
    {"SERVER_URL"_L1, K::Host, P::PlainText, ""_L1, ""_L1, true, 16, F::Trimmed, -1},
    {"SHOW_CTCP"_L1, K::NumberBox, P::NumericCheckBox, "1"_L1, "chk_md(0)"_L1, true, 18, F::Trimmed, 41},
    {"SHOW_CTCPREPLY"_L1, K::NumberBox, P::NumericCheckBox, "1"_L1, "chk_md(1)"_L1, true, 19, F::Trimmed, 42},
    {"SHOW_ERROR"_L1, K::NumberBox, P::NumericCheckBox, "1"_L1, "chk_md(2)"_L1, true, 20, F::Trimmed, 43},
    {"SHOW_IRCMESSAGES"_L1, K::NumberBox, P::NumericCheckBox, "1"_L1, "chk_md(3)"_L1, true, 21, F::Trimmed, 44},
    {"SHOW_JOIN"_L1, K::NumberBox, P::NumericCheckBox, "1"_L1, "chk_md(4)"_L1, true, 22, F::Trimmed, 45},
    {"SHOW_KICK"_L1, K::NumberBox, P::NumericCheckBox, "1"_L1, "chk_md(6)"_L1, true, 23, F::Trimmed, 46},
    {"SHOW_NICK"_L1, K::NumberBox, P::NumericCheckBox, "1"_L1, "chk_md(7)"_L1, true, 26, F::Trimmed, 47},
    {"SHOW_NOTICE"_L1, K::NumberBox, P::NumericCheckBox, "1"_L1, "chk_md(8)"_L1, true, 27, F::Trimmed, 48},
    {"SHOW_NOTICEACTIVE"_L1, K::NumberBox, P::NumericCheckBox, "1"_L1, "chk_md(9)"_L1, true, 28, F::Trimmed, 49},
    {"SHOW_PART"_L1, K::NumberBox, P::NumericCheckBox, "1"_L1, "chk_md(5)"_L1, true, 29, F::Trimmed, 50},
    {"SHOW_QUERY"_L1, K::NumberBox, P::NumericCheckBox, "1"_L1, "chk_md(10)"_L1, true, 30, F::Trimmed, 51},
    {"SHOW_QUIT"_L1, K::NumberBox, P::NumericCheckBox, "1"_L1, "chk_md(11)"_L1, true, 31, F::Trimmed, 52},
    {"SHOW_QUITACTIVE"_L1, K::NumberBox, P::NumericCheckBox, "1"_L1, "chk_md(12)"_L1, true, 32, F::Trimmed, 53},
    {"SHOW_CHANNELMODE"_L1, K::NumberBox, P::NumericCheckBox, "1"_L1, "chk_md(13)"_L1, true, 17, F::Trimmed, 54},
    {"SHOW_MOTD"_L1, K::NumberBox, P::NumericCheckBox, "1"_L1, "chk_md(15)"_L1, true, 24, F::Trimmed, 55},
    {"SHOW_NAMES"_L1, K::NumberBox, P::NumericCheckBox, "0"_L1, "chk_md(14)"_L1, true, 25, F::Trimmed, 56},
    {"SHOW_SERVERNOTICE"_L1, K::NumberBox, P::NumericCheckBox, "1"_L1, "chk_md(19)"_L1, true, 34, F::Trimmed, 57},
    {"SHOW_SERVERPING"_L1, K::NumberBox, P::NumericCheckBox, "0"_L1, "chk_md(16)"_L1, true, 35, F::Trimmed, 58},
    {"SHOW_SERVERERROR"_L1, K::NumberBox, P::NumericCheckBox, "1"_L1, "chk_md(17)"_L1, true, 33, F::Trimmed, 59},
    {"SHOW_SETUP"_L1, K::NumberBox, P::NumericCheckBox, ""_L1, "chk_show_setup_startup"_L1, true, 2, F::Trimmed, -1},
    {"SHOW_WELCOME"_L1, K::NumberBox, P::NumericCheckBox, "1"_L1, "chk_md(18)"_L1, true, 36, F::Trimmed, 60},
    {"WIN_CHAN_LIST_BACKCOLOR"_L1, K::LookColor, P::LookColor, ""_L1, "UpdateSetupChan"_L1, true, 90, F::Color, -1},
    {"WIN_CHAN_LIST_FORECOLOR"_L1, K::LookColor, P::LookColor, ""_L1, "UpdateSetupChan"_L1, true, 91, F::Color, -1},
    {"WIN_CHAN_LIST_FONT"_L1, K::Face, P::LookFont, ""_L1, "UpdateSetupChan"_L1, true, 92, F::Trimmed, -1},
    {"WIN_CHAN_LIST_FONTSIZE"_L1, K::Size, P::LookSize, ""_L1, "UpdateSetupChan"_L1, true, 93, F::Trimmed, -1},
    {"WIN_CHAN_CONSOLE_BACKCOLOR"_L1, K::LookColor, P::LookColor, ""_L1, "UpdateSetupChan"_L1, true, 84, F::Color, -1},
    {"WIN_CHAN_CONSOLE_FORECOLOR"_L1, K::LookColor, P::LookColor, ""_L1, "UpdateSetupChan"_L1, true, 85, F::Color, -1},
    {"WIN_CHAN_CONSOLE_FONT"_L1, K::Face, P::LookFont, ""_L1, "UpdateSetupChan"_L1, true, 86, F::Trimmed, -1},
    {"WIN_CHAN_CONSOLE_FONTSIZE"_L1, K::Size, P::LookSize, ""_L1, "UpdateSetupChan"_L1, true, 87, F::Trimmed, -1},
    {"WIN_CHAN_COMMAND_BACKCOLOR"_L1, K::LookColor, P::LookColor, ""_L1, "UpdateSetupChan"_L1, true, 80, F::Color, -1},
    {"WIN_CHAN_COMMAND_FORECOLOR"_L1, K::LookColor, P::LookColor, ""_L1, "UpdateSetupChan"_L1, true, 81, F::Color, -1},
    {"WIN_CHAN_COMMAND_FONT"_L1, K::Face, P::LookFont, ""_L1, "UpdateSetupChan"_L1, true, 82, F::Trimmed, -1},
    {"WIN_CHAN_COMMAND_FONTSIZE"_L1, K::Size, P::LookSize, ""_L1, "UpdateSetupChan"_L1, true, 83, F::Trimmed, -1},
    {"WIN_CHAN_LOGGING"_L1, K::TrueFalse, P::TrueFalseFlag, ""_L1, "UpdateSetupChan"_L1, true, 89, F::Trimmed, -1},
    {"WIN_CHAN_TIMESTAMP"_L1, K::TrueFalse, P::TrueFalseFlag, ""_L1, "UpdateSetupChan"_L1, true, 88, F::Trimmed, -1},
    {"WIN_CHAN_JOINCOLOR"_L1, K::EventColor, P::EventColor, "10"_L1, "UpdateSetupChan"_L1, true, 94, F::Color, 1},
    {"WIN_CHAN_PARTCOLOR"_L1, K::EventColor, P::EventColor, "6"_L1, "UpdateSetupChan"_L1, true, 95, F::Color, 2},
    {"WIN_CHAN_QUITCOLOR"_L1, K::EventColor, P::EventColor, "5"_L1, "UpdateSetupChan"_L1, true, 96, F::Color, 3},
    {"WIN_CHAN_KICKCOLOR"_L1, K::EventColor, P::EventColor, "11"_L1, "UpdateSetupChan"_L1, true, 97, F::Color, 4},
    {"WIN_CHAN_NICKCOLOR"_L1, K::EventColor, P::EventColor, "1"_L1, "UpdateSetupChan"_L1, true, 98, F::Color, 5},
    {"WIN_CHAN_MSGCOLOR"_L1, K::EventColor, P::EventColor, "2"_L1, "UpdateSetupChan"_L1, true, 99, F::Color, 6},
    {"WIN_CHAN_NOTICECOLOR"_L1, K::EventColor, P::EventColor, "3"_L1, "UpdateSetupChan"_L1, true, 100, F::Color, 7},
    {"WIN_CHAN_ACTIONCOLOR"_L1, K::EventColor, P::EventColor, "13"_L1, "UpdateSetupChan"_L1, true, 101, F::Color, 8},
    {"WIN_QUERY_COMMAND_BACKCOLOR"_L1, K::LookColor, P::LookColor, "14"_L1, "UpdateSetupQuery"_L1, true, 37, F::Color, 31},
    {"WIN_QUERY_COMMAND_FORECOLOR"_L1, K::LookColor, P::LookColor, "6"_L1, "UpdateSetupQuery"_L1, true, 38, F::Color, 30},
    {"WIN_QUERY_COMMAND_FONTSIZE"_L1, K::Size, P::LookSize, "9"_L1, "UpdateSetupQuery"_L1, true, 40, F::Trimmed, 29},
    {"WIN_QUERY_COMMAND_FONT"_L1, K::Face, P::LookFont, "FixedSys"_L1, "UpdateSetupQuery"_L1, true, 39, F::Trimmed, 28},
    {"WIN_QUERY_BACKPIC"_L1, K::Ignored, P::Ignored, ""_L1, ""_L1, true, 46, F::Trimmed, -1},
    {"WIN_QUERY_BACKTILE"_L1, K::Ignored, P::Ignored, ""_L1, ""_L1, true, 47, F::Trimmed, -1},
    {"WIN_QUERY_CONSOLE_BACKCOLOR"_L1, K::LookColor, P::LookColor, "13"_L1, "UpdateSetupQuery"_L1, true, 41, F::Color, 32},
    {"WIN_QUERY_CONSOLE_URL"_L1, K::Ignored, P::Ignored, ""_L1, ""_L1, true, 49, F::Trimmed, -1},
    {"WIN_QUERY_CONSOLE_FONT"_L1, K::Face, P::LookFont, "FixedSys"_L1, "UpdateSetupQuery"_L1, true, 42, F::Trimmed, 33},
    {"WIN_QUERY_CONSOLE_FONTSIZE"_L1, K::Size, P::LookSize, "9"_L1, "UpdateSetupQuery"_L1, true, 48, F::Trimmed, 34},
    {"WIN_QUERY_CONSOLE_FORECOLOR"_L1, K::LookColor, P::LookColor, "10"_L1, "UpdateSetupQuery"_L1, true, 43, F::Color, 35},
    {"WIN_QUERY_LOGGING"_L1, K::TrueFalse, P::TrueFalseFlag, ""_L1, "UpdateSetupQuery"_L1, true, 45, F::Trimmed, -1},
    {"WIN_QUERY_TIMESTAMP"_L1, K::TrueFalse, P::TrueFalseFlag, ""_L1, "UpdateSetupQuery"_L1, true, 44, F::Trimmed, -1},
    {"WIN _QUERY_BACKTILE"_L1, K::Ignored, P::Ignored, ""_L1, ""_L1, false, -1, F::NotSaved, -1},
    {"WIN_QUERY_NOTICECOLOR"_L1, K::EventColor, P::EventColor, "3"_L1, "UpdateSetupQuery"_L1, true, 50, F::Color, 37},
    {"WIN_QUERY_ACTIONCOLOR"_L1, K::EventColor, P::EventColor, "7"_L1, "UpdateSetupQuery"_L1, true, 51, F::Color, 38},
    {"WIN_QUERY_MSGCOLOR"_L1, K::EventColor, P::EventColor, "4"_L1, "UpdateSetupQuery"_L1, true, 52, F::Color, 36},
    {"WIN_SERVER_CONSOLE_FONT"_L1, K::Face, P::LookFont, "Fixedsys"_L1, "UpdateSetupServer"_L1, true, 58, F::Trimmed, 9},
    {"WIN_SERVER_CONSOLE_URL"_L1, K::Ignored, P::Ignored, ""_L1, ""_L1, true, 65, F::Trimmed, -1},
    {"WIN_SERVER_CONSOLE_FORECOLOR"_L1, K::LookColor, P::LookColor, "1"_L1, "UpdateSetupServer"_L1, true, 59, F::Color, 11},
    {"WIN_SERVER_CONSOLE_BACKCOLOR"_L1, K::LookColor, P::LookColor, "8"_L1, "UpdateSetupServer"_L1, true, 57, F::Color, 12},
    {"WIN_SERVER_COMMAND_FONT"_L1, K::Face, P::LookFont, "Fixedsys"_L1, "UpdateSetupServer"_L1, true, 55, F::Trimmed, 10},
    {"WIN_SERVER_COMMAND_FORECOLOR"_L1, K::LookColor, P::LookColor, "14"_L1, "UpdateSetupServer"_L1, true, 54, F::Color, 14},
    {"WIN_SERVER_COMMAND_BACKCOLOR"_L1, K::LookColor, P::LookColor, "2"_L1, "UpdateSetupServer"_L1, true, 53, F::Color, 13},
    {"WIN_SERVER_TIMESTAMP"_L1, K::TrueFalse, P::TrueFalseFlag, ""_L1, "UpdateSetupServer"_L1, true, 60, F::Trimmed, -1},
    {"WIN_SERVER_LOGGING"_L1, K::TrueFalse, P::TrueFalseFlag, ""_L1, "UpdateSetupServer"_L1, true, 61, F::Trimmed, -1},
    {"WIN_SERVER_BACKPIC"_L1, K::Ignored, P::Ignored, ""_L1, ""_L1, true, 62, F::Trimmed, -1},
    {"WIN_SERVER_BACKTILE"_L1, K::Ignored, P::Ignored, ""_L1, ""_L1, true, 63, F::Trimmed, -1},
    {"WIN_SERVER_COMMAND_FONTSIZE"_L1, K::Size, P::LookSize, ""_L1, "UpdateSetupServer"_L1, true, 56, F::Trimmed, -1},
    {"WIN_SERVER_CONSOLE_FONTSIZE"_L1, K::Size, P::LookSize, ""_L1, "UpdateSetupServer"_L1, true, 64, F::Trimmed, -1},
    {"WIN_SERVER_SETVAR"_L1, K::ZeroOneText, P::PlainText, ""_L1, ""_L1, true, 66, F::Trimmed, -1},
    {"WIN_SERVER_CTCPCOLOR"_L1, K::EventColor, P::EventColor, "5"_L1, "UpdateSetupServer"_L1, true, 67, F::Color, 15},
    {"WIN_SERVER_ERRORCOLOR"_L1, K::EventColor, P::EventColor, "10"_L1, "UpdateSetupServer"_L1, true, 68, F::Color, 16},
    {"WIN_SERVER_IRCMESSAGECOLOR"_L1, K::EventColor, P::EventColor, "7"_L1, "UpdateSetupServer"_L1, true, 69, F::Color, 17},
    {"WIN_SERVER_KICKCOLOR"_L1, K::EventColor, P::EventColor, "6"_L1, "UpdateSetupServer"_L1, true, 70, F::Color, 18},
    {"WIN_SERVER_NICKCOLOR"_L1, K::EventColor, P::EventColor, "1"_L1, "UpdateSetupServer"_L1, true, 71, F::Color, 19},
    {"WIN_SERVER_NOTICECOLOR"_L1, K::EventColor, P::EventColor, "3"_L1, "UpdateSetupServer"_L1, true, 72, F::Color, 20},
    {"WIN_SERVER_QUERYCOLOR"_L1, K::EventColor, P::EventColor, "0"_L1, "UpdateSetupServer"_L1, true, 73, F::Color, 21},
    {"WIN_SERVER_QUITCOLOR"_L1, K::EventColor, P::EventColor, "2"_L1, "UpdateSetupServer"_L1, true, 74, F::Color, 22},
    {"WIN_SERVER_MOTDCOLOR"_L1, K::EventColor, P::EventColor, "4"_L1, "UpdateSetupServer"_L1, true, 75, F::Color, 23},
    {"WIN_SERVER_NAMESCOLOR"_L1, K::EventColor, P::EventColor, "5"_L1, "UpdateSetupServer"_L1, true, 76, F::Color, 24},
    {"WIN_SERVER_SERVERNOTICECOLOR"_L1, K::EventColor, P::EventColor, "2"_L1, "UpdateSetupServer"_L1, true, 77, F::Color, 25},
    {"WIN_SERVER_SERVERPINGCOLOR"_L1, K::EventColor, P::EventColor, "3"_L1, "UpdateSetupServer"_L1, true, 78, F::Color, 26},
    {"WIN_SERVER_SERVERWELCOMECOLOR"_L1, K::EventColor, P::EventColor, "4"_L1, "UpdateSetupServer"_L1, true, 79, F::Color, 27},
    {"USE_TRAY"_L1, K::Switch, P::Switch, ""_L1, "chk_use_tray"_L1, true, 102, F::Trimmed, -1},
    {"USE_BUDDY"_L1, K::Switch, P::Switch, ""_L1, "chk_use_buddy"_L1, true, 104, F::Trimmed, -1},
    {"USE_CONFIRM_EXIT"_L1, K::Switch, P::Switch, ""_L1, "chk_use_confirm_exit"_L1, true, 103, F::Trimmed, -1},
    {"USE_MINISTART"_L1, K::Switch, P::Switch, ""_L1, "chk_useministart"_L1, true, 105, F::Raw, -1},
    {"USE_INSTANTCONNECT"_L1, K::Switch, P::Switch, ""_L1, "chk_use_instantconnect"_L1, true, 106, F::Raw, -1},
    {"USE_RECONNECT"_L1, K::Switch, P::Switch, ""_L1, "chk_use_reconnect"_L1, true, 107, F::Raw, -1},
    {"USE_AUTOREJOIN"_L1, K::Switch, P::Switch, ""_L1, "chk_use_autorejoin"_L1, true, -1, F::NotSaved, -1},
    {"USE_STARTUPINI"_L1, K::Switch, P::Switch, ""_L1, "chk_use_startupini"_L1, true, 108, F::Raw, -1},
    {"USE_DEFAULT_QUIT"_L1, K::Text, P::MirroredText, ""_L1, "default_quit"_L1, true, 109, F::Raw, -1},
    {"USE_MSNTILE"_L1, K::NumberBox, P::NumericCheckBox, "0"_L1, "chk_USE_MSNTILE"_L1, true, 110, F::Raw, 40},
    {"USE_MSNSOUND"_L1, K::NumberBox, P::NumericCheckBox, "0"_L1, "chk_USE_MSNSOUND"_L1, true, 111, F::Raw, 39},
    {"DEF_GET_DIR"_L1, K::Folder, P::Folder, ""_L1, "txt_dcc_get"_L1, true, 112, F::Raw, -1},
    {"USE_MSN_TRANS"_L1, K::NumberBox, P::NumericCheckBox, ""_L1, "chk_USE_MSN_TRANS"_L1, true, 113, F::Raw, -1},
    {"PROMPT_SWIZ"_L1, K::ZeroOneText, P::PlainText, ""_L1, ""_L1, true, 114, F::Raw, 61},
    {"START_SKIN"_L1, K::Text, P::PlainText, ""_L1, ""_L1, true, 115, F::Raw, -1},
    {"USE_SKINS"_L1, K::Text, P::PlainText, ""_L1, ""_L1, true, 116, F::Raw, -1},
    {"SET_DCC_PORT"_L1, K::Port, P::MirroredText, "4000"_L1, "txt_dcc_port"_L1, true, 117, F::Raw, 62},
}};
// clang-format on

QList<const SettingKey*> sortedBy(int SettingKey::*position) {
    QList<const SettingKey*> keys;
    for (const SettingKey& key : keyTable) {
        if (key.*position > 0)
            keys.append(&key);
    }
    std::sort(keys.begin(), keys.end(), [position](const SettingKey* a, const SettingKey* b) {
        return a->*position < b->*position;
    });
    return keys;
}

} // namespace

std::span<const SettingKey> SettingsKeys::all() {
    return keyTable;
}

const SettingKey* SettingsKeys::find(QAnyStringView normalisedName) {
    // Names are unique, so a binary search over the names in sorted order
    // finds the same key as a scan in dispatch order, without allocating.
    static const QList<const SettingKey*> byName = [] {
        QList<const SettingKey*> keys;
        for (const SettingKey& key : keyTable)
            keys.append(&key);
        std::sort(keys.begin(), keys.end(), [](const SettingKey* a, const SettingKey* b) {
            return a->name.compare(b->name) < 0;
        });
        return keys;
    }();
    const auto it = std::lower_bound(byName.begin(), byName.end(), normalisedName,
                                     [](const SettingKey* key, QAnyStringView name) {
                                         return QAnyStringView::compare(name, key->name) > 0;
                                     });
    if (it == byName.end() || QAnyStringView::compare(normalisedName, (*it)->name) != 0)
        return nullptr;
    return *it;
}

QString SettingsKeys::normalise(QAnyStringView key) {
    return key.toString().trimmed().toUpper();
}

int SettingsKeys::indexOf(const SettingKey& key) {
    const SettingKey* const first = keyTable.data();
    if (&key < first || &key >= first + keyTable.size())
        return -1;
    return static_cast<int>(&key - first);
}

const QList<const SettingKey*>& SettingsKeys::inSaveOrder() {
    static const QList<const SettingKey*> keys = sortedBy(&SettingKey::savePosition);
    return keys;
}

const QList<const SettingKey*>& SettingsKeys::inDefaultsOrder() {
    static const QList<const SettingKey*> keys = sortedBy(&SettingKey::defaultsOrder);
    return keys;
}
