#pragma once
// What the learner is told when a window's skin names a picture that cannot
// be read: every skin loader of the program's windows is wired here (the
// slide windows and the quiz through their LessonHost), so the skin library
// and the course windows never open a box themselves.

#include <string>

namespace lessons {
class SkinLoader;
}

namespace app {

// The message box "Fehler beim Öffnen der Bild-Datei" (with the program's
// title) for the picture `fileName` that a skin names but cannot be read.
void ShowPictureError(const std::string& fileName);

// From now on an unreadable picture in `loader`'s skins shows the message
// box "Fehler beim Öffnen der Bild-Datei" (with the program's title), and
// loading goes on once it is closed.
void ReportPictureErrors(lessons::SkinLoader& loader);

} // namespace app
