// The setup dialog's appearance page: a live preview of each window kind's
// colours, faces and sizes, whose samples, swatches and face names open the
// colour or font chooser and store the pick; the size sliders; the
// "Colors" page; and the appearance profiles.

#include "config/AppearanceProfile.h"
#include "config/frm_setup.h"
#include "config/frm_twColor.h"
#include "config/frm_twFont.h"
#include "core/Choosers.h"
#include "core/Fonts.h"
#include "core/Palette.h"
#include "core/Program.h"
#include "core/ProgramFiles.h"
#include "core/SafeFileName.h"
#include "core/Val.h"
#include "core/mod_set.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/richedit/OleColor.h"
#include "platform/window/FileListBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <exception>
#include <functional>
#include <optional>
#include <span>

namespace {

// The window kinds, in the order of their tabs.
enum LookKind { ServerKind = 0, ChannelKind = 1, QueryKind = 2 };

// What a picker picks: a text colour, a back colour or a face.
enum class Pick { Text, Back, Font };

// Every picker of the page: its control, what it picks, the key it stores
// and the text it carries until a preview rewrites it.
struct Picker {
    const char* control;
    Pick pick;
    const char* key;
    const char* text;
};
constexpr Picker pickers[] = {
    {"lbl_query_console_forecolor", Pick::Text, "WIN_QUERY_CONSOLE_FORECOLOR", "Normal Text"},
    {"lbl_win_query_msgcolor", Pick::Text, "WIN_QUERY_MSGCOLOR", "Message Text"},
    {"lbl_win_Query_noticecolor", Pick::Text, "WIN_QUERY_NOTICECOLOR", "Notice Text"},
    {"lbl_win_query_actioncolor", Pick::Text, "WIN_QUERY_ACTIONCOLOR", "* Action Text"},
    {"lbl_QUERY_COMMAND_FORECOLOR", Pick::Text, "WIN_QUERY_COMMAND_FORECOLOR", "/command line"},
    {"pic_win_query_console_backcolor", Pick::Back, "WIN_QUERY_CONSOLE_BACKCOLOR", ""},
    {"pic_win_query_command_backcolor", Pick::Back, "WIN_QUERY_COMMAND_BACKCOLOR", ""},
    {"lbl_win_query_console_font", Pick::Font, "WIN_QUERY_CONSOLE_FONT", "Select a font.."},
    {"lbl_win_Query_command_font", Pick::Font, "WIN_QUERY_COMMAND_FONT", "Select a font.."},
    {"lbl_WIN_SERVER_CONSOLE_FORECOLOR", Pick::Text, "WIN_SERVER_CONSOLE_FORECOLOR", "Normal Text"},
    {"lbl_WIN_SERVER_QUITCOLOR", Pick::Text, "WIN_SERVER_QUITCOLOR", "Quits"},
    {"lbl_WIN_SERVER_CTCPCOLOR", Pick::Text, "WIN_SERVER_CTCPCOLOR", "CTCPs"},
    {"lbl_WIN_SERVER_MOTDCOLOR", Pick::Text, "WIN_SERVER_MOTDCOLOR", "MOTD"},
    {"lbl_WIN_SERVER_ERRORCOLOR", Pick::Text, "WIN_SERVER_ERRORCOLOR", "Errors"},
    {"lbl_WIN_SERVER_NAMESCOLOR", Pick::Text, "WIN_SERVER_NAMESCOLOR", "Name Replies"},
    {"lbl_WIN_SERVER_IRCMESSAGECOLOR", Pick::Text, "WIN_SERVER_IRCMESSAGECOLOR", "IRC Messages"},
    {"lbl_WIN_SERVER_SERVERNOTICECOLOR", Pick::Text, "WIN_SERVER_SERVERNOTICECOLOR",
     "Server Notices"},
    {"lbl_WIN_SERVER_KICKCOLOR", Pick::Text, "WIN_SERVER_KICKCOLOR", "Kicks"},
    {"lbl_WIN_SERVER_SERVERPINGCOLOR", Pick::Text, "WIN_SERVER_SERVERPINGCOLOR", "Server Pings"},
    {"lbl_WIN_SERVER_NOTICECOLOR", Pick::Text, "WIN_SERVER_NOTICECOLOR", "Notices"},
    {"lbl_WIN_SERVER_SERVERWELCOMECOLOR", Pick::Text, "WIN_SERVER_SERVERWELCOMECOLOR",
     "Welcome Message"},
    {"lbl_WIN_SERVER_NICKCOLOR", Pick::Text, "WIN_SERVER_NICKCOLOR", "Nick Text"},
    {"lbl_WIN_SERVER_QUERYCOLOR", Pick::Text, "WIN_SERVER_QUERYCOLOR", "Query Text"},
    {"lbl_WIN_SERVER_COMMAND", Pick::Text, "WIN_SERVER_COMMAND_FORECOLOR", "/command line"},
    {"pic_WIN_SERVER_CONSOLE_BACKCOLOR", Pick::Back, "WIN_SERVER_CONSOLE_BACKCOLOR", ""},
    {"pic_WIN_SERVER_COMMAND_BACKCOLOR", Pick::Back, "WIN_SERVER_COMMAND_BACKCOLOR", ""},
    {"lbl_WIN_SERVER_CONSOLE_FONT", Pick::Font, "WIN_SERVER_CONSOLE_FONT", "Select a font.."},
    {"lbl_WIN_SERVER_COMMAND_FONT", Pick::Font, "WIN_SERVER_COMMAND_FONT", "Select a font.."},
    {"lbl_WIN_CHAN_CONSOLE_FORECOLOR", Pick::Text, "WIN_CHAN_CONSOLE_FORECOLOR", "Normal Text"},
    {"lbl_WIN_CHAN_JOINCOLOR", Pick::Text, "WIN_CHAN_JOINCOLOR", "Join Text"},
    {"lbl_WIN_CHAN_PARTCOLOR", Pick::Text, "WIN_CHAN_PARTCOLOR", "Part Text"},
    {"lbl_WIN_CHAN_QUITCOLOR", Pick::Text, "WIN_CHAN_QUITCOLOR", "Quit Text"},
    {"lbl_WIN_CHAN_KICKCOLOR", Pick::Text, "WIN_CHAN_KICKCOLOR", "Kick Text"},
    {"lbl_WIN_CHAN_NICKCOLOR", Pick::Text, "WIN_CHAN_NICKCOLOR", "Nick Text"},
    {"lbl_WIN_CHAN_MSGCOLOR", Pick::Text, "WIN_CHAN_MSGCOLOR", "Message Text"},
    {"lbl_WIN_CHAN_NOTICECOLOR", Pick::Text, "WIN_CHAN_NOTICECOLOR", "Notice Text"},
    {"lbl_WIN_CHAN_ACTIONCOLOR", Pick::Text, "WIN_CHAN_ACTIONCOLOR", "Action Text"},
    {"lbl_WIN_CHAN_LIST", Pick::Text, "WIN_CHAN_LIST_FORECOLOR", "@User List"},
    {"lbl_WIN_CHAN_COMMAND", Pick::Text, "WIN_CHAN_COMMAND_FORECOLOR", "/command text"},
    {"pic_win_Chan_console_backcolor", Pick::Back, "WIN_CHAN_CONSOLE_BACKCOLOR", ""},
    {"pic_win_chan_Command_backcolor", Pick::Back, "WIN_CHAN_COMMAND_BACKCOLOR", ""},
    {"pic_win_chan_list_backcolor", Pick::Back, "WIN_CHAN_LIST_BACKCOLOR", ""},
    {"lbl_win_chan_console_font", Pick::Font, "WIN_CHAN_CONSOLE_FONT", "Select a font.."},
    {"lbl_win_chan_command_font", Pick::Font, "WIN_CHAN_COMMAND_FONT", "Select a font.."},
    {"lbl_win_chan_list_font", Pick::Font, "WIN_CHAN_LIST_FONT", "Select a font.."},
};

const Picker& pickerOf(const char* control) {
    for (const Picker& picker : pickers) {
        if (qstrcmp(picker.control, control) == 0)
            return picker;
    }
    Q_UNREACHABLE();
}

// One part of a window in the preview (console, command line or nick list):
// its samples share the back colour, face and size; each sample takes the
// text colour of its own picker.
struct LookGroup {
    const char* caption;
    const char* backKey;
    const char* fontKey;
    const char* sizeKey;
    const char* swatch;
    const char* fontLabel;
    const char* sizeLabel;
    const char* slider;
    std::span<const char* const> samples;
    int columns;
    // The size label shows the size's number read back rather than the text
    // stored.
    bool sizeReadBack = false;
};

constexpr const char* queryConsole[] = {"lbl_query_console_forecolor", "lbl_win_query_msgcolor",
                                        "lbl_win_Query_noticecolor", "lbl_win_query_actioncolor"};
constexpr const char* queryCommand[] = {"lbl_QUERY_COMMAND_FORECOLOR"};
constexpr const char* serverConsole[] = {
    "lbl_WIN_SERVER_CONSOLE_FORECOLOR", "lbl_WIN_SERVER_CTCPCOLOR",
    "lbl_WIN_SERVER_ERRORCOLOR",        "lbl_WIN_SERVER_IRCMESSAGECOLOR",
    "lbl_WIN_SERVER_KICKCOLOR",         "lbl_WIN_SERVER_NICKCOLOR",
    "lbl_WIN_SERVER_NOTICECOLOR",       "lbl_WIN_SERVER_QUERYCOLOR",
    "lbl_WIN_SERVER_QUITCOLOR",         "lbl_WIN_SERVER_MOTDCOLOR",
    "lbl_WIN_SERVER_NAMESCOLOR",        "lbl_WIN_SERVER_SERVERNOTICECOLOR",
    "lbl_WIN_SERVER_SERVERPINGCOLOR",   "lbl_WIN_SERVER_SERVERWELCOMECOLOR"};
constexpr const char* serverCommand[] = {"lbl_WIN_SERVER_COMMAND"};
constexpr const char* chanConsole[] = {
    "lbl_WIN_CHAN_CONSOLE_FORECOLOR", "lbl_WIN_CHAN_JOINCOLOR",   "lbl_WIN_CHAN_PARTCOLOR",
    "lbl_WIN_CHAN_QUITCOLOR",         "lbl_WIN_CHAN_KICKCOLOR",   "lbl_WIN_CHAN_NICKCOLOR",
    "lbl_WIN_CHAN_MSGCOLOR",          "lbl_WIN_CHAN_NOTICECOLOR", "lbl_WIN_CHAN_ACTIONCOLOR"};
constexpr const char* chanCommand[] = {"lbl_WIN_CHAN_COMMAND"};
constexpr const char* chanList[] = {"lbl_WIN_CHAN_LIST"};

const LookGroup queryGroups[] = {
    {"Console", "WIN_QUERY_CONSOLE_BACKCOLOR", "WIN_QUERY_CONSOLE_FONT",
     "WIN_QUERY_CONSOLE_FONTSIZE", "pic_win_query_console_backcolor", "lbl_win_query_console_font",
     "lbl_query_fontsize", "query_consolefont_slider", queryConsole, 1},
    {"Command", "WIN_QUERY_COMMAND_BACKCOLOR", "WIN_QUERY_COMMAND_FONT",
     "WIN_QUERY_COMMAND_FONTSIZE", "pic_win_query_command_backcolor", "lbl_win_Query_command_font",
     "lbl_query_command_fontsize", "query_Commandfont_slider", queryCommand, 1},
};
const LookGroup serverGroups[] = {
    {"Console", "WIN_SERVER_CONSOLE_BACKCOLOR", "WIN_SERVER_CONSOLE_FONT",
     "WIN_SERVER_CONSOLE_FONTSIZE", "pic_WIN_SERVER_CONSOLE_BACKCOLOR",
     "lbl_WIN_SERVER_CONSOLE_FONT", "lbl_WIN_SERVER_CONSOLE_FONTSIZE",
     "sld_WIN_SERVER_CONSOLE_FONTSIZE", serverConsole, 2},
    {"Command", "WIN_SERVER_COMMAND_BACKCOLOR", "WIN_SERVER_COMMAND_FONT",
     "WIN_SERVER_COMMAND_FONTSIZE", "pic_WIN_SERVER_COMMAND_BACKCOLOR",
     "lbl_WIN_SERVER_COMMAND_FONT", "lbl_WIN_SERVER_COMMAND_FONTSIZE",
     "sld_WIN_SERVER_COMMAND_FONTSIZE", serverCommand, 1},
};
const LookGroup chanGroups[] = {
    {"Console", "WIN_CHAN_CONSOLE_BACKCOLOR", "WIN_CHAN_CONSOLE_FONT", "WIN_CHAN_CONSOLE_FONTSIZE",
     "pic_win_Chan_console_backcolor", "lbl_win_chan_console_font", "lbl_win_chan_console_fontsize",
     "sld_win_chan_console_fontsize", chanConsole, 2, true},
    {"Command", "WIN_CHAN_COMMAND_BACKCOLOR", "WIN_CHAN_COMMAND_FONT", "WIN_CHAN_COMMAND_FONTSIZE",
     "pic_win_chan_Command_backcolor", "lbl_win_chan_command_font", "lbl_win_chan_command_fontsize",
     "sld_win_chan_command_fontsize", chanCommand, 1},
    {"NickList", "WIN_CHAN_LIST_BACKCOLOR", "WIN_CHAN_LIST_FONT", "WIN_CHAN_LIST_FONTSIZE",
     "pic_win_chan_list_backcolor", "lbl_win_chan_list_font", "lbl_win_chan_list_fontsize",
     "sld_win_chan_list_fontsize", chanList, 1},
};

// A console sample whose text follows the kind's timestamp flag.
struct StampedSample {
    const char* control;
    const char* text;
};
constexpr StampedSample queryStamped[] = {
    {"lbl_query_console_forecolor", "Normal Text"},
    {"lbl_win_query_msgcolor", "Message Text"},
    {"lbl_win_Query_noticecolor", "Notice Text"},
    {"lbl_win_query_actioncolor", "* Action Text"},
};
constexpr StampedSample chanStamped[] = {
    {"lbl_WIN_CHAN_CONSOLE_FORECOLOR", "Normal Text"}, {"lbl_WIN_CHAN_JOINCOLOR", "Join Text"},
    {"lbl_WIN_CHAN_PARTCOLOR", "Part Text"},           {"lbl_WIN_CHAN_QUITCOLOR", "Quit Text"},
    {"lbl_WIN_CHAN_KICKCOLOR", "Kick Text"},           {"lbl_WIN_CHAN_NICKCOLOR", "Nick Text"},
    {"lbl_WIN_CHAN_MSGCOLOR", "Message Text"},         {"lbl_WIN_CHAN_NOTICECOLOR", "Notice Text"},
    {"lbl_WIN_CHAN_ACTIONCOLOR", "Action Text"},
};

struct KindPage {
    const char* caption;
    const char* timestampKey;
    const char* timestampBox;
    const char* loggingKey;
    const char* loggingBox;
    std::span<const LookGroup> groups;
    // The prefix a ticked timestamp puts before the samples; none: the
    // samples keep their texts.
    const char* stampPrefix;
    std::span<const StampedSample> stamped;
};
const KindPage kindPages[] = {
    {"Server",
     "WIN_SERVER_TIMESTAMP",
     "chk_WIN_SERVER_TIMESTAMP",
     "WIN_SERVER_LOGGING",
     "chk_WIN_SERVER_LOGGING",
     serverGroups,
     nullptr,
     {}},
    {"Channel", "WIN_CHAN_TIMESTAMP", "chk_win_Chan_timestamp", "WIN_CHAN_LOGGING",
     "chk_win_Chan_logging", chanGroups, "[0:00] ", chanStamped},
    {"Query", "WIN_QUERY_TIMESTAMP", "chk_query_timestamp", "WIN_QUERY_LOGGING",
     "chk_query_logging", queryGroups, "[00:00] ", queryStamped},
};

// The palette entries' names on the "Colors" page.
constexpr const char* paletteNames[] = {"0. White",   "1. Black",   "2. Blue",   "3. Green",
                                        "4. L Red",   "5. Brown",   "6. Purple", "7. Orange",
                                        "8. Yellow",  "9. L Green", "10. Cyan",  "11. L Cyan",
                                        "12. L Blue", "13. Pink",   "14. Grey",  "15. L Grey"};

// A label that answers a left click: the pickers and swatches.
class ClickLabel : public QLabel {
public:
    explicit ClickLabel(const QString& text = QString()) : QLabel(text) {
        setTextFormat(Qt::PlainText);
        setCursor(Qt::PointingHandCursor);
    }
    std::function<void()> onClick;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
            onClick)
            onClick();
        QLabel::mouseReleaseEvent(event);
    }
};

ClickLabel* swatchLabel() {
    auto* swatch = new ClickLabel;
    swatch->setAutoFillBackground(true);
    swatch->setFrameShape(QFrame::Box);
    swatch->setFixedSize(36, 18);
    return swatch;
}

void paintRole(QWidget& widget, QPalette::ColorRole role, qint32 rgb) {
    QPalette palette = widget.palette();
    palette.setColor(role, platform::ColorFromRgb(rgb));
    widget.setPalette(palette);
}

void setPointSize(QWidget& widget, double points) {
    QFont font = widget.font();
    font.setPointSizeF(points);
    widget.setFont(font);
}

// A flag of "TRUE" ticks its box and "FALSE" clears it; anything else leaves
// the box as it is.
void showFlag(QCheckBox* box, const QString& value) {
    if (value == u"TRUE")
        box->setChecked(true);
    else if (value == u"FALSE")
        box->setChecked(false);
}

QGroupBox* frame(const QString& caption, QLayout* layout) {
    auto* box = new QGroupBox(caption);
    box->setLayout(layout);
    return box;
}

// Stores through the accessor; a side effect that fails is dropped, the
// setting being stored before it.
void store(Program& p, const QString& key, const QString& value) {
    try {
        Setting(p, key, value);
    } catch (const std::exception&) {
    }
}

// A preview page that asks for room to show all of it, and scrolls when the
// dialog, which Qt keeps within the screen, cannot give it that.
class PreviewScroll : public QScrollArea {
public:
    QSize sizeHint() const override {
        if (!widget())
            return QScrollArea::sizeHint();
        const int frame = 2 * frameWidth();
        return widget()->sizeHint() + QSize(frame, frame);
    }
};

// The sizes the samples take; others are shown on the label and the slider
// only.
constexpr int kSmallestSample = 1;
constexpr int kLargestSample = 100;

} // namespace

QWidget* frm_setup::appearancePage() {
    auto* page = new QWidget;
    auto* pageLayout = new QVBoxLayout(page);
    SStab2 = new QTabWidget;
    for (int kind : {ServerKind, ChannelKind, QueryKind}) {
        // The samples keep their fonts, however large: the page scrolls
        // rather than the dialog growing past the screen.
        auto* scroll = new PreviewScroll;
        scroll->setWidget(appearanceKindPage(kind));
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        SStab2->addTab(scroll, QString::fromLatin1(kindPages[kind].caption));
    }
    SStab2->addTab(colorsPage(), QStringLiteral("Colors"));
    pageLayout->addWidget(SStab2, 1);
    pageLayout->addWidget(profilesFrame());
    return page;
}

QWidget* frm_setup::appearanceKindPage(int kind) {
    const KindPage& look = kindPages[kind];
    auto* page = new QWidget;
    auto* pageLayout = new QVBoxLayout(page);

    auto* flags = new QHBoxLayout;
    QCheckBox* timestamp =
        addCheckBox(QString::fromLatin1(look.timestampBox), QStringLiteral("Use TimeStamp"));
    QCheckBox* logging =
        addCheckBox(QString::fromLatin1(look.loggingBox), QStringLiteral("Use Logging"));
    flags->addWidget(timestamp);
    flags->addWidget(logging);
    flags->addStretch(1);
    pageLayout->addLayout(flags);
    switch (kind) {
    case ServerKind:
        chk_WIN_SERVER_TIMESTAMP = timestamp;
        chk_WIN_SERVER_LOGGING = logging;
        break;
    case ChannelKind:
        chk_win_Chan_timestamp = timestamp;
        chk_win_Chan_logging = logging;
        break;
    default:
        chk_query_timestamp = timestamp;
        chk_query_logging = logging;
        break;
    }

    auto* lowerRow = new QHBoxLayout;
    for (const LookGroup& group : look.groups) {
        const QString caption = QString::fromLatin1(group.caption);
        auto* groupLayout = new QVBoxLayout;

        // The samples, close together on the part's back colour.
        auto* samples = new QGridLayout;
        samples->setSpacing(0);
        for (int i = 0; i < int(group.samples.size()); ++i) {
            const Picker& picker = pickerOf(group.samples[i]);
            auto* sample = new ClickLabel(QString::fromLatin1(picker.text));
            sample->setObjectName(QString::fromLatin1(picker.control));
            sample->setAutoFillBackground(true);
            sample->setContentsMargins(4, 1, 4, 1);
            sample->setMinimumWidth(110);
            const QString key = QString::fromLatin1(picker.key);
            sample->onClick = [this, key] { pickColour(key); };
            m_appearance.insert(sample->objectName(), sample);
            samples->addWidget(sample, i / group.columns, i % group.columns);
        }
        groupLayout->addLayout(samples);

        auto* backRow = new QHBoxLayout;
        backRow->addWidget(new QLabel(caption + QStringLiteral(" Backcolor:")));
        ClickLabel* swatch = swatchLabel();
        swatch->setObjectName(QString::fromLatin1(group.swatch));
        const QString backKey = QString::fromLatin1(group.backKey);
        swatch->onClick = [this, backKey] { pickColour(backKey); };
        m_appearance.insert(swatch->objectName(), swatch);
        backRow->addWidget(swatch);
        backRow->addStretch(1);
        groupLayout->addLayout(backRow);

        auto* fontLayout = new QVBoxLayout;
        const Picker& fontPicker = pickerOf(group.fontLabel);
        auto* fontLabel = new ClickLabel(QString::fromLatin1(fontPicker.text));
        fontLabel->setObjectName(QString::fromLatin1(group.fontLabel));
        const QString fontKey = QString::fromLatin1(group.fontKey);
        fontLabel->onClick = [this, fontKey, fontLabel] { pickFont(fontKey, *fontLabel); };
        m_appearance.insert(fontLabel->objectName(), fontLabel);
        fontLayout->addWidget(fontLabel);
        auto* sizeLabel = new QLabel(QStringLiteral("Font Size: "));
        sizeLabel->setTextFormat(Qt::PlainText);
        sizeLabel->setObjectName(QString::fromLatin1(group.sizeLabel));
        m_appearance.insert(sizeLabel->objectName(), sizeLabel);
        fontLayout->addWidget(sizeLabel);
        auto* slider = new QSlider(Qt::Horizontal);
        slider->setObjectName(QString::fromLatin1(group.slider));
        slider->setRange(kSmallestSample, kLargestSample);
        slider->setPageStep(2);
        slider->setValue(10);
        // A drag stores once, on release: each step would re-font a whole
        // console. A key, a wheel turn or a page click stores at once. The
        // previews set the slider with its signals blocked, so only the
        // user's moves arrive here.
        slider->setTracking(false);
        const QString sizeKey = QString::fromLatin1(group.sizeKey);
        connect(slider, &QSlider::valueChanged, this,
                [this, sizeKey](int value) { store(program(), sizeKey, QString::number(value)); });
        m_appearance.insert(slider->objectName(), slider);
        fontLayout->addWidget(slider);
        groupLayout->addWidget(frame(caption + QStringLiteral(" Font:"), fontLayout));

        QGroupBox* box = frame(caption, groupLayout);
        if (&group == &look.groups.front())
            pageLayout->addWidget(box);
        else
            lowerRow->addWidget(box);
    }
    pageLayout->addLayout(lowerRow);
    pageLayout->addStretch(1);
    return page;
}

QWidget* frm_setup::colorsPage() {
    // The colour sets are shown but not offered yet: nothing here acts.
    auto* colors = new QWidget;
    auto* colorsLayout = new QHBoxLayout(colors);
    auto* valuesLayout = new QVBoxLayout;
    const char* const valueNames[] = {"Parlone", "mIRC", "Vanilla", "Fluro"};
    for (int i = 0; i < int(opt_values.size()); ++i) {
        opt_values[i] = new QRadioButton(QString::fromLatin1(valueNames[i]));
        valuesLayout->addWidget(opt_values[i]);
    }
    auto* apply = new QPushButton(QStringLiteral("&Apply"));
    apply->setAutoDefault(false);
    valuesLayout->addWidget(apply);
    auto* note = new QLabel(QStringLiteral("Color Adjustments are not available in this release."));
    note->setWordWrap(true);
    valuesLayout->addWidget(note);
    valuesLayout->addStretch(1);
    colorsLayout->addWidget(frame(QStringLiteral("Default Values:"), valuesLayout));

    // The palette's entries; a swatch shows a colour taken in the colour
    // dialog and stores nothing.
    auto* paletteLayout = new QGridLayout;
    for (int i = 0; i < int(pic_col.size()); ++i) {
        ClickLabel* swatch = swatchLabel();
        swatch->setObjectName(QStringLiteral("pic_col(%1)").arg(i));
        paintRole(*swatch, QPalette::Window, program().palette.GetColor(QString::number(i)));
        swatch->onClick = [this, i] { pic_col_Click(i); };
        pic_col[i] = swatch;
        auto* name = new QLabel(QString::fromLatin1(paletteNames[i]));
        name->setObjectName(QStringLiteral("lbl_col(%1)").arg(i));
        paletteLayout->addWidget(swatch, i % 8, (i / 8) * 2);
        paletteLayout->addWidget(name, i % 8, (i / 8) * 2 + 1);
    }
    colorsLayout->addWidget(frame(QStringLiteral("Pallette:"), paletteLayout));
    list_qbcolor = new QListWidget;
    colorsLayout->addWidget(list_qbcolor);
    return colors;
}

QWidget* frm_setup::profilesFrame() {
    auto* profilesLayout = new QHBoxLayout;
    cb_app = new QComboBox;
    cb_app->setMinimumWidth(160);
    profilesLayout->addWidget(cb_app, 1);
    btn_load_app = addButton(QStringLiteral("&Load"), &frm_setup::btn_load_app_Click);
    btnSaveAppearance =
        addButton(QStringLiteral("&Save this"), &frm_setup::btnSaveAppearance_Click);
    profilesLayout->addWidget(btn_load_app);
    profilesLayout->addWidget(btnSaveAppearance);
    // The profiles in the program folder, read at start-up; never shown.
    fl_app = new platform::FileListBox;
    fl_app->setPattern(QStringLiteral("*.app"));
    fl_app->hide();
    profilesLayout->addWidget(fl_app);
    return frame(QStringLiteral("Appearance Profiles:"), profilesLayout);
}

void frm_setup::UpdateSetupQuery() {
    refreshAppearance(QueryKind);
}

void frm_setup::UpdateSetupServer() {
    refreshAppearance(ServerKind);
}

void frm_setup::UpdateSetupChan() {
    refreshAppearance(ChannelKind);
}

// Values are read as the windows read them: colours through ColourNumber,
// sizes by their leading number. An empty key, and a size without a number,
// leave their controls as they are.
void frm_setup::refreshAppearance(int kind) {
    const KindPage& look = kindPages[kind];
    const Settings& s = program().settings;
    const auto control = [this](const char* name) {
        return m_appearance.value(QString::fromLatin1(name));
    };

    const QString stamp = s.value(QLatin1StringView(look.timestampKey));
    showFlag(checkBox(QString::fromLatin1(look.timestampBox)), stamp);
    if (look.stampPrefix && (stamp == u"TRUE" || stamp == u"FALSE")) {
        const QString prefix = stamp == u"TRUE" ? QString::fromLatin1(look.stampPrefix) : QString();
        for (const StampedSample& sample : look.stamped)
            static_cast<QLabel*>(control(sample.control))
                ->setText(prefix + QString::fromLatin1(sample.text));
    }
    showFlag(checkBox(QString::fromLatin1(look.loggingBox)),
             s.value(QLatin1StringView(look.loggingKey)));

    for (const LookGroup& group : look.groups) {
        if (const QString back = s.value(QLatin1StringView(group.backKey)); !back.isEmpty()) {
            const qint32 rgb = ColourNumber(back);
            paintRole(*control(group.swatch), QPalette::Window, rgb);
            for (const char* sample : group.samples)
                paintRole(*control(sample), QPalette::Window, rgb);
        }
        for (const char* sample : group.samples) {
            const QString fore = s.value(QLatin1StringView(pickerOf(sample).key));
            if (!fore.isEmpty())
                paintRole(*control(sample), QPalette::WindowText, ColourNumber(fore));
        }
        if (const QString face = s.value(QLatin1StringView(group.fontKey)); !face.isEmpty()) {
            for (const char* sample : group.samples)
                SetFontFace(*control(sample), face);
            auto* fontLabel = static_cast<QLabel*>(control(group.fontLabel));
            fontLabel->setText(face);
            SetFontFace(*fontLabel, face);
        }
        const QString size = s.value(QLatin1StringView(group.sizeKey));
        const double points = Val(size);
        if (size.isEmpty() || points == 0 || !std::isfinite(points))
            continue;
        static_cast<QLabel*>(control(group.sizeLabel))
            ->setText(QStringLiteral("Font Size: ") +
                      (group.sizeReadBack ? QString::number(points, 'g', 15) : size));
        auto* slider = static_cast<QSlider*>(control(group.slider));
        const QSignalBlocker quiet(slider);
        slider->setValue(static_cast<int>(std::clamp(std::nearbyint(points), -1e9, 1e9)));
        if (points >= kSmallestSample && points <= kLargestSample) {
            for (const char* sample : group.samples)
                setPointSize(*control(sample), points);
        }
    }
}

// A colour pick preselects the key's palette colour. Closing the chooser
// without a choice stores that colour again; for a colour outside the
// palette it stores nothing, so the user's own colour stays.
void frm_setup::pickColour(const QString& key) {
    Program& p = program();
    const qint32 colour = ColourNumber(p.settings.value(key));
    const bool inPalette = p.palette.findIndex(colour) >= 0;
    p.colorChooser().selcol(p.palette.ColorIndex(colour));
    const bool chose = ShowColorChooser(p, this);
    if (!chose && !inPalette)
        return;
    store(p, key, QString::number(p.PickedColorIndex));
}

// A font pick preselects the face the label names and stores only a face
// confirmed with "&Select" in this showing.
void frm_setup::pickFont(const QString& key, QLabel& label) {
    Program& p = program();
    p.fontChooser().ChooseFont(label.text());
    if (!ShowFontChooser(p, this))
        return;
    store(p, key, p.PickedFont);
}

void frm_setup::pic_col_Click(int index) {
    Program& p = program();
    const std::optional<qint32> colour =
        platform::ChooseColorDialog(p.palette.GetColor(QString::number(index)));
    if (colour)
        paintRole(*pic_col[index], QPalette::Window, *colour);
}

// The name is mapped to a safe file name in the program folder, and that
// name less ".app" is both the listed name and the file's. A name already
// listed, in any letter case and with any blanks around it, is the listed
// one, so its entry and file are reused.
void frm_setup::btnSaveAppearance_Click() {
    Program& p = program();
    const QString answer =
        platform::InputBox(QStringLiteral("Enter a name for this profile")).trimmed();
    if (answer.isEmpty())
        return;
    const QString mapped = QFileInfo(SafeFileName(p.folder(), answer + QStringLiteral(".app"),
                                                  ProgramFixedFiles(), IfExists::Reuse))
                               .fileName();
    if (!mapped.endsWith(QStringLiteral(".app"), Qt::CaseInsensitive))
        return;
    QString name = mapped.chopped(4);
    if (name.trimmed().isEmpty())
        return;
    bool listed = false;
    for (int i = 0; i < cb_app->count() && !listed; ++i) {
        if (cb_app->itemText(i).trimmed().toUpper() == name.trimmed().toUpper()) {
            name = cb_app->itemText(i);
            listed = true;
        }
    }
    QString reason;
    if (!SaveAppearanceProfile(p, p.path(name + QStringLiteral(".app")), &reason)) {
        platform::MsgBox(QStringLiteral("The profile ") + name +
                             QStringLiteral(" could not be saved: ") + reason,
                         platform::vbOKOnly | platform::vbExclamation, QStringLiteral("Error!"));
        return;
    }
    if (!listed)
        cb_app->addItem(name);
    fl_app->Refresh();
}

void frm_setup::btn_load_app_Click() {
    const int selected = cb_app->currentIndex();
    if (selected < 0)
        return;
    Program& p = program();
    LoadAppearanceProfile(
        p, FindPathNoCase(p.folder(), cb_app->itemText(selected) + QStringLiteral(".app")));
}
