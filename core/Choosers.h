#pragma once
// The colour and font choosers, shown modally over the window that asked (the
// main frame when none is given). Neither returns its pick: the colour
// chooser leaves the palette index in `Program::PickedColorIndex`, the font
// chooser the face name in `Program::PickedFont`, and the caller reads them
// once the chooser has closed. The result tells whether the user chose in
// this showing (a swatch clicked; "&Select"); closing without one, by the
// colour chooser's "&Choose" too, leaves the results as they were, or as a
// preselection left them.
//
// While a dialog answerer stands in for the user, it gives the pick and no
// chooser is shown; a chooser built for a preselection is unloaded.

class Form;
class Program;

bool ShowColorChooser(Program& program, Form* owner = nullptr);
bool ShowFontChooser(Program& program, Form* owner = nullptr);
