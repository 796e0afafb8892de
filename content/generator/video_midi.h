#pragma once
// The accompaniment of a lesson video: a format-1 Standard MIDI File at 480
// ticks per beat with the video's tempo, whose notes are the timeline's
// sounds (guitar on channel 0, the tuner's reference tone on channel 1) and,
// for the tuner view, the pitch of the string being tuned as pitch bends.
// It ends with the video, every note closed.

#include "content/generator/video_timeline.h"

#include <string>

namespace video {

inline constexpr int kBendRangeCents = 200; // the General MIDI default: two semitones

std::string AccompanimentFile(const Timeline& timeline);

} // namespace video
