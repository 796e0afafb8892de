#pragma once
// The check that a finished lesson video and its accompaniment agree: the
// AVI file's frames are decoded and each sound's lamp is looked at, the MIDI
// file's note-ons are timed at the file's own tempo, and every note must
// light its lamp within one frame of the frame that holds its note-on, and
// every lamp that lights must have its note. Nothing is taken from the
// timeline but which lamp belongs to which note.

#include "content/generator/video_timeline.h"

#include <QColor>
#include <QImage>
#include <optional>
#include <string>
#include <vector>

namespace video {

// A Motion-JPEG AVI file as the check reads it: one JPEG per frame, an empty
// one where the file holds a drop frame (the frame before is shown again).
struct AviVideo {
    int width = 0;
    int height = 0;
    int microsPerFrame = 0;
    std::vector<std::string> frames;
};
std::optional<AviVideo> ReadAvi(const std::string& bytes, std::string& error);

// The pictures of the frames, drop frames repeating the one before; empty
// (with `error`) when a frame does not decode.
std::vector<QImage> DecodeFrames(const AviVideo& video, std::string& error);

// The note-ons of a MIDI file in the order they sound, in microseconds at the
// file's tempo map; `endMicros` is where its last track ends.
struct NoteOn {
    long long micros = 0;
    int note = 0;
    int channel = 0;
};
std::optional<std::vector<NoteOn>> ReadNoteOns(const std::string& bytes, long long& endMicros, std::string& error);

// The disagreements, one message each; empty when video and accompaniment
// agree within `toleranceFrames`.
std::vector<std::string> CheckAgreement(const Timeline& timeline, const std::string& avi, const std::string& midi,
                                        QColor lit, int toleranceFrames = 1);

} // namespace video
