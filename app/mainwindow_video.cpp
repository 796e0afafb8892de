// The main window's side of its videos: the VideoShow plays them, the
// VideoDesk keeps the video button; the window starts the intro video.
#include "app/mainwindow.h"

namespace app {

using namespace platform;

void TForm1::PlayVideo(const std::string& file, const std::string& midiFile,
                       const TRect& displayRect, int top, int left, TPanel* panel) {
    Video->Play(file, midiFile, displayRect, top, left, panel);
}

bool TForm1::MediaPlayerPlaying() const { return Video->PlayerPlaying(); }

void TForm1::StopMediaPlayer() { Video->Stop(); }

void TForm1::PlayIntroVideo() {
    PlayVideo(Videos->Path, VideoShow::kNoAccompaniment, Rect(0, 0, 320, 240), 268, 264,
              VideoPanel);
}

} // namespace app
