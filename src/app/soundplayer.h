#pragma once

#include <QString>
#include <optional>

// Plays the station's wave sounds by name and waits for them to end.
//
// Look-up order for a name such as "chimes.wav":
//   1. a file of exactly that name in the working directory (a site may put its own sounds there);
//   2. the sound bundled with the program whose name matches without regard to case, so "Chimes.wav"
//      and "chimes.wav" are the same chime.
// A name found in neither place, a file that is not a PCM wave, or a machine without an audio output
// gives silence and no message. The wait ends when the sound ends, and never later than its length
// (at most 5 s) plus 250 ms; the operator's input waits meanwhile, timers and the serial port do not.
class TSoundPlayer
{
public:
    // The file to play for a name (a path, or a ":/sounds/..." resource); empty when there is none.
    static QString Locate(const QString &fileName);
    // The length of a PCM wave file in milliseconds, read from its header; no value when the file is
    // missing or not such a file.
    static std::optional<int> WaveDuration(const QString &path);

    void Play(const QString &fileName);
};
