#pragma once
// Window geometry files: a long-lived window keeps its state, position and
// size between runs in "<name>.win" in the program folder. Five records,
// "WIN_STATE", "WIN_LEFT", "WIN_TOP", "WIN_HEIGHT" and "WIN_WIDTH", each a
// quoted key and a quoted number ("WIN_STATE"," 0"), positions and sizes in
// twips. A window writes its file when it closes and hands each record to its
// own FSet when it loads; FSet applies it through ApplyGeometryRecord.

#include <QByteArray>
#include <QRect>
#include <QString>

#include <functional>
#include <optional>

class Form;
class Program;

// How FSet applies a record.
enum class GeometryVariant {
    // Every record applies as it stands, whatever the window's state.
    Plain,
    // Position and size apply only to a window in the normal state; a window
    // put into another state gets a normal place of its own first (100, 100
    // with three quarters of the frame), so restoring it later shows it there.
    Restore,
};

// The file's bytes for these values: the five records in their order, each
// number as " 1200" (a leading blank, or "-" when negative), ended by CR LF.
QByteArray FormatWindowGeometry(int state, int left, int top, int height, int width);
// The same for a place given in pixels.
QByteArray FormatWindowGeometry(int state, const QRect& pixels);

// Writes `fileName` in the program folder (an existing file of that name in
// any letter case is replaced) with the form's state and its current
// geometry, through the program's file writer. False when the write failed;
// the old file then stays as it was.
//
// A window that hides when minimised passes `lastNormal`, the geometry of its
// window widget (in pixels) when it was last in the normal state: minimised,
// it is recorded there in the normal state, so that it comes back where the
// user last saw it rather than hidden.
bool WriteWindowGeometry(Program& program, const QString& fileName, const Form& form,
                         const std::optional<QRect>& lastNormal = std::nullopt);

// Reads `fileName` from the program folder and calls FSet(key, value) for
// each record, in file order, until the first line that is not a record of
// two fields. A missing or unreadable file calls nothing.
void ReadWindowGeometry(Program& program, const QString& fileName,
                        const std::function<void(const QString& key, const QString& value)>& FSet);

// Applies one record to the form. The key counts without regard to letter
// case; any other key is ignored. The value is read as Val reads numbers; a
// state is rounded half to even and ignored outside 0 to 2; sizes below zero
// are taken as zero.
void ApplyGeometryRecord(Form& form, const QString& key, const QString& value,
                         GeometryVariant variant);
