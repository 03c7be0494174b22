#pragma once
// The frame's placement rules, in twips.

#include <QList>
#include <QRect>
#include <QSize>

#include <optional>

// A frame in the normal state that is higher and wider than nine tenths of
// the screen goes to (1, 1) with its width / 1.7 and its height / 1.3, a
// window well inside the screen; any other frame stays.
std::optional<QRect> ShrunkFrame(const QRect& frame, const QSize& screen);

// A child window lower or narrower than 500 twips is put back at
// (100, 100) with the frame's width and height less 200 each; a larger one
// stays.
std::optional<QRect> RescuedChild(const QSize& child, const QSize& frame);

// A frame that lies wholly off every screen moves, keeping its size, to the
// top left corner of the primary screen; one that shows anywhere stays.
std::optional<QRect> OntoScreens(const QRect& frame, const QList<QRect>& screens,
                                 const QRect& primary);
