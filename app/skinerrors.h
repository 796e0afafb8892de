#pragma once
// What the learner is told when a window's skin names a picture that cannot
// be read: every skin loader of the program's windows is wired here, so the
// skin library itself never opens a box.

namespace lessons {
class SkinLoader;
}

namespace app {

// From now on an unreadable picture in `loader`'s skins shows the message
// box "Fehler beim Öffnen der Bild-Datei" (with the program's title), and
// loading goes on once it is closed.
void ReportPictureErrors(lessons::SkinLoader& loader);

} // namespace app
