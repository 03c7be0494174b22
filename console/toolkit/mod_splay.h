#pragma once
// Playing a sound file.

class QString;

// Plays the file in the background; silent when it cannot be played.
void SPlay(const QString& file);
