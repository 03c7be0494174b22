#include "core/WindowGeometry.h"

#include "connection/frm_main.h"
#include "core/Form.h"
#include "core/Program.h"
#include "core/ProgramFiles.h"
#include "core/RecordFile.h"
#include "core/Val.h"
#include "platform/window/Twips.h"

#include <QWidget>

#include <algorithm>
#include <cmath>

using platform::PixelsToTwipsX;
using platform::PixelsToTwipsY;
using platform::TwipsToPixelsX;
using platform::TwipsToPixelsY;

namespace {

// Far beyond any screen, and small enough that no conversion overflows.
constexpr double kMaxTwips = 1e8;

int twipsFrom(const QString& value) {
    return static_cast<int>(std::lround(std::clamp(Val(value), -kMaxTwips, kMaxTwips)));
}

// A number as the records hold it: a blank in front unless it is negative.
QString recordNumber(int value) {
    return value < 0 ? QString::number(value) : u' ' + QString::number(value);
}

enum class Edge { Left, Top, Height, Width };

void setEdge(Form& form, Edge edge, int twips) {
    QWidget* w = form.windowWidget();
    QRect g = w->geometry();
    switch (edge) {
    case Edge::Left:
        g.moveLeft(TwipsToPixelsX(twips));
        break;
    case Edge::Top:
        g.moveTop(TwipsToPixelsY(twips));
        break;
    case Edge::Height:
        g.setHeight(TwipsToPixelsY(std::max(twips, 0)));
        break;
    case Edge::Width:
        g.setWidth(TwipsToPixelsX(std::max(twips, 0)));
        break;
    }
    w->setGeometry(g);
}

} // namespace

QByteArray FormatWindowGeometry(int state, int left, int top, int height, int width) {
    return RecordFile::format({
        {QStringLiteral("WIN_STATE"), recordNumber(state)},
        {QStringLiteral("WIN_LEFT"), recordNumber(left)},
        {QStringLiteral("WIN_TOP"), recordNumber(top)},
        {QStringLiteral("WIN_HEIGHT"), recordNumber(height)},
        {QStringLiteral("WIN_WIDTH"), recordNumber(width)},
    });
}

QByteArray FormatWindowGeometry(int state, const QRect& pixels) {
    return FormatWindowGeometry(state, PixelsToTwipsX(pixels.x()), PixelsToTwipsY(pixels.y()),
                                PixelsToTwipsY(pixels.height()), PixelsToTwipsX(pixels.width()));
}

bool WriteWindowGeometry(Program& program, const QString& fileName, const Form& form,
                         const std::optional<QRect>& lastNormal) {
    const QByteArray bytes = lastNormal && form.WindowState() == Form::vbMinimized
                                 ? FormatWindowGeometry(Form::vbNormal, *lastNormal)
                                 : FormatWindowGeometry(form.WindowState(), form.Left(), form.Top(),
                                                        form.Height(), form.Width());
    QString error;
    return program.fileWriter(FindPathNoCase(program.folder(), fileName), bytes, &error);
}

void ReadWindowGeometry(Program& program, const QString& fileName,
                        const std::function<void(const QString& key, const QString& value)>& FSet) {
    QByteArray bytes;
    if (!ReadFileBytes(FindPathNoCase(program.folder(), fileName), &bytes))
        return;
    QStringList fields;
    const QStringList lines = DecodeLines(bytes);
    for (const QString& line : lines) {
        if (!RecordFile::parseLine(line, &fields) || fields.size() != 2)
            return;
        FSet(fields.at(0), fields.at(1));
    }
}

void ApplyGeometryRecord(Form& form, const QString& key, const QString& value,
                         GeometryVariant variant) {
    const QString name = key.toUpper();
    if (name == u"WIN_STATE") {
        const double state = std::nearbyint(Val(value));
        if (!(state >= 0.0 && state <= 2.0))
            return;
        form.setWindowState(static_cast<int>(state));
        if (variant == GeometryVariant::Restore && form.WindowState() != Form::vbNormal) {
            // The place the window comes back to when the user restores it.
            const frm_main& frame = form.program().mainFrame();
            form.setWindowState(Form::vbNormal);
            form.Move(100, 100, frame.Width() * 3 / 4, frame.Height() * 3 / 4);
            form.setWindowState(static_cast<int>(state));
        }
        return;
    }
    Edge edge;
    if (name == u"WIN_LEFT")
        edge = Edge::Left;
    else if (name == u"WIN_TOP")
        edge = Edge::Top;
    else if (name == u"WIN_HEIGHT")
        edge = Edge::Height;
    else if (name == u"WIN_WIDTH")
        edge = Edge::Width;
    else
        return;
    if (variant == GeometryVariant::Restore && form.WindowState() != Form::vbNormal)
        return;
    setEdge(form, edge, twipsFrom(value));
}
