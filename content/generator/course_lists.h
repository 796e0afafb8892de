#pragma once
// The list files of the program folder's "Listen" folder: the practice plan and
// the waiting list in their fresh-start form, and the explorer texts.

#include "content/generator/course_outline.h"

#include <string>

namespace content {

// "3", then lesson -1, level 1, play count 0 for each of the three plan slots.
std::string FreshPlanList();

// "3", then 1, 1, 0 for each of the 30 lessons: every lesson still waits.
std::string FreshWaitingList();

// A header line, then title and text of lessons 0..29 and the closing video,
// Windows-1252, lines ended by CR LF.
std::string ExplorerTexts(const Outline& outline);

} // namespace content
