#pragma once
// The frames of a lesson video, drawn from its timeline in the course's look:
// the fretboard with the fretting hand's numbered fingertips, the strings
// from the front with the strumming hand's pendulum or the picking hand's
// p, i, m and a, or the tuner beside a tuning peg. Every sound lights its
// lamp (video_layout.h) in the frame that holds its note-on; captions and
// string names are in the edition's words.

#include "content/generator/course_outline.h"
#include "content/generator/video_timeline.h"

#include <QImage>

namespace art {

QImage LessonVideoFrame(const video::Timeline& timeline, const content::Outline& outline, int frame,
                        content::Edition edition);

} // namespace art
