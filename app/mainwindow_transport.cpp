// The main window's transport handlers: its buttons, tempo bar and poll
// timer hand their events to the Transport that plays the exercise; the
// TransportKeys answer what the transport asks of the window.

#include "app/mainwindow.h"

namespace app {

using namespace platform;

// The transport draws on this window: the point, the count-in digit and the
// LED column; its poll is the keys' timer.
void TForm1::CreateTransport() {
    PointBmp.LoadFromResourceName("RPOINTBMP");
    PointWork.SetSize(PointBmp.Width(), PointBmp.Height());
    PlayCursor = std::make_unique<playback::PlayCursor>(Canvas());
    Keys = std::make_unique<TransportKeys>(*this, this, TransportKeys::Hooks{
        [this] { if (MediaPlayerPlaying()) StopMediaPlayer(); },
        [this](const QString& title, const QString& body, const QString& cancel, const QString& ok) {
            return AskMessage(title, body, cancel, ok);
        }});
    Keys->Poll->OnTimer = [this](TObject* sender) { TimerPC1Timer(sender); };
    Transport = std::make_unique<playback::Transport>(services_.MidiEngine(), *Keys,
                                                      Keys->DrawingPlaces(this, PlayCursor.get()));
    WireTransportControls();
}

void TForm1::WireTransportControls() {
    BLoop->OnClick = [this](TObject* sender) { BLoopClick(sender); };
    BForward->OnClick = [this](TObject* sender) { BForwardClick(sender); };
    BRewind->OnClick = [this](TObject* sender) { BRewindClick(sender); };
    BLocator->OnClick = [this](TObject* sender) { BLocatorClick(sender); };
    TrBarTempo->OnMouseMove = [this](TObject* sender, TShiftState shift, int x, int y) {
        TrBarTempoMouseMove(sender, shift, x, y);
    };
    TrBarTempo->OnMouseUp = [this](TObject* sender, TMouseButton button, TShiftState shift, int x,
                                   int y) { TrBarTempoMouseUp(sender, button, shift, x, y); };
    TrBarTempo->OnChange = [this](TObject* sender) { TrBarTempoChange(sender); };
}

// ---- Handlers -------------------------------------------------------------------

void TForm1::BPlayClick(TObject*) {
    Transport->Play(Keys->Level());
}

void TForm1::BPauseClick(TObject*) {
    Transport->Pause();
}

// During a video, Stop stops only the video.
void TForm1::BStopClick(TObject*) {
    if (Video->Playing) {
        StopMediaPlayer();
        return;
    }
    Transport->Stop();
}

void TForm1::BLoopClick(TObject*) {
    Transport->Loop();
}

void TForm1::BForwardClick(TObject*) {
    Transport->Forward();
}

void TForm1::BRewindClick(TObject*) {
    Transport->Rewind();
}

// The flag also says on the lesson screen that passes from it do not count.
void TForm1::BLocatorClick(TObject*) {
    Transport->Locator(BLocator->Latched());
    ShowPassProgress();
}

void TForm1::TimerPC1Timer(TObject*) {
    Transport->Poll();
    // A pass played through that ended the run: the journal's follow-up
    // comes once the transport is back at Ready.
    if (Practice && Practice->Passes.TakePlayedThrough() && !Transport->Busy())
        AfterPassInJournal();
}

void TForm1::TrBarTempoMouseMove(TObject*, TShiftState, int, int) {
    Keys->ShowLevel(TrBarTempo->Position());
}

void TForm1::TrBarTempoMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    Transport->TempoLevelChosen();
}

// The level box follows the thumb after every change the learner makes:
// a click, a drag, the wheel or a key. A change by wheel or key is chosen at
// once; the mouse's when it lets go.
void TForm1::TrBarTempoChange(TObject*) {
    Keys->ShowLevel(TrBarTempo->Position());
    TrBarTempo->SetAccessibleDescription(Access->TempoLevelText(TrBarTempo->Position()));
    if (!TrBarTempo->Dragging()) Transport->TempoLevelChosen();
}

void TForm1::DisableTransport() {
    Transport->DisableControls();
}

} // namespace app
