// The main window's side of its videos: the VideoShow plays them; the window
// starts the intro video, switches the video button and shows the greeting
// screen when the intro has ended.
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
    PlayVideo(IntroVideoPath, VideoShow::kNoAccompaniment, Rect(0, 0, 320, 240), 268, 264,
              VideoPanel);
}

void TForm1::StopExercise() { BStopClick(this); }

void TForm1::ShowVideoButton(bool stopPicture) {
    BVideoStop->SetBgBmp(stopPicture ? &VideoStopBmp : &VideoPlayBmp);
    BVideoStop->Repaint();
}

void TForm1::EnableVideoButton(bool enabled) { BVideoStop->SetEnabled(enabled); }

void TForm1::VideoEnded() {
    if (!IntroPending) return;
    IntroPending = false;
    ShowGreetingScreen();
}

} // namespace app
