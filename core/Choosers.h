#pragma once
// The colour and font choosers, shown modally. Neither returns its pick: the
// colour chooser leaves the palette index in `Program::PickedColorIndex`, the
// font chooser the face name in `Program::PickedFont`, and the caller reads
// them once the chooser has closed. Closing without a pick leaves them as
// they were.

class Program;

void ShowColorChooser(Program& program);
void ShowFontChooser(Program& program);
