// The main window's transport buttons, tempo bar and poll timer, handed to
// the Transport that plays the exercise; and the window's answers to it: its
// controls switched on and off, other sounds stopped, failures told.

#include "app/mainwindow.h"

#include "app/msgwin.h"
#include "app/testswitches.h"
#include "layout/screenlayout.h"
#include "playback/soundcues.h"

#include <algorithm>

namespace app {

using namespace platform;
using playback::TransportControl;

namespace {

constexpr int kPollIntervalMs = 100;
// Title and body of the box that tells that the engine did not start.
constexpr int kStartFailedTitle = 100;
constexpr int kStartFailedBody = 101;

} // namespace

// The transport draws on this window: the point, the count-in digit and the
// LED column; its poll is the window's timer TimerPC1.
void TForm1::CreateTransport() {
    PointBmp.LoadFromResourceName("RPOINTBMP");
    PointWork.SetSize(PointBmp.Width(), PointBmp.Height());
    PlayCursor = std::make_unique<playback::PlayCursor>(Canvas());
    TimerPC1 = new TTimer(this);
    TimerPC1->SetEnabled(false);
    TimerPC1->SetInterval(kPollIntervalMs);
    TimerPC1->OnTimer = [this](TObject* sender) { TimerPC1Timer(sender); };
    playback::TransportScreen screen;
    screen.Canvas = Canvas();
    screen.Cursor = PlayCursor.get();
    screen.Point = &PointBmp;
    screen.PointWork = &PointWork;
    screen.LedBackground = &LedBackground;
    screen.Led = {Canvas(), &LedDark, &LedLight, layout::LedPanel.x(), layout::LedPanel.y()};
    screen.CountInArea = Bounds(layout::CountInArea.x(), layout::CountInArea.y(),
                                layout::CountInArea.width(), layout::CountInArea.height());
    auto* digitCover = new TImage(this);
    digitCover->SetParent(this);
    digitCover->SetVisible(false);
    screen.CountInCover = digitCover;
    Transport = std::make_unique<playback::Transport>(services_.MidiEngine(), *this, screen);
    WireTransportControls();
}

void TForm1::WireTransportControls() {
    BLoop->SetFix(true); // its pressed look shows that the loop is on
    // Play's pressed look shows that the exercise plays, Pause's that it is
    // paused (ShowTransportState).
    BPlay->SetFix(true);
    BPause->SetFix(true);
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
    DescribeTransportKeys();
}

// Every key of the transport says what it does when the mouse rests on it.
void TForm1::DescribeTransportKeys() {
    const std::pair<TControl*, int> hints[] = {
        {BPlay, 604},    {BPause, 605},  {BStop, 606},          {BLoop, 607},      {BLocator, 608},
        {BRewind, 609},  {BForward, 610}, {BExtraFunction, 611}, {TrBarTempo, 612}};
    for (const auto& [control, text] : hints)
        control->SetHint(CaptionText(text));
}

int TForm1::CurrentLevel() const {
    return std::clamp(TrBarTempo->Position(), 1, lessons::kLevelCount);
}

// ---- Handlers -------------------------------------------------------------------

void TForm1::BPlayClick(TObject*) {
    Transport->Play(CurrentLevel());
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
    ShowTempoLevel(TrBarTempo->Position());
}

void TForm1::TrBarTempoMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    Transport->TempoLevelChosen();
}

// The level box follows the thumb after every change the learner makes:
// a click, a drag, the wheel or a key. A change by wheel or key is chosen at
// once; the mouse's when it lets go.
void TForm1::TrBarTempoChange(TObject*) {
    ShowTempoLevel(TrBarTempo->Position());
    TrBarTempo->SetAccessibleDescription(Access->TempoLevelText(TrBarTempo->Position()));
    if (!TrBarTempo->Dragging()) Transport->TempoLevelChosen();
}

// The tempo level's number, centred over its picture.
void TForm1::ShowTempoLevel(int level) {
    LLevel->SetCaption(QString::number(level));
    LLevel->SetLeft(ImgLevel->Left() + (ImgLevel->Width() - LLevel->Width()) / 2);
}

// "+" and "-" move the tempo bar one level, as the wheel does.
void TForm1::StepTempoLevel(int levels) {
    if (TrBarTempo->Enabled()) TrBarTempo->ChangePosition(TrBarTempo->Position() + levels);
}

// ---- What the transport asks of the window ---------------------------------------

void TForm1::EnableControl(TransportControl control, bool enabled) {
    switch (control) {
    case TransportControl::Play: BPlay->SetEnabled(enabled); break;
    case TransportControl::Pause: BPause->SetEnabled(enabled); break;
    case TransportControl::Stop: BStop->SetEnabled(enabled); break;
    case TransportControl::Loop: BLoop->SetEnabled(enabled); break;
    case TransportControl::Forward: BForward->SetEnabled(enabled); break;
    case TransportControl::Rewind: BRewind->SetEnabled(enabled); break;
    case TransportControl::Locator: BLocator->SetEnabled(enabled); break;
    case TransportControl::TempoBar: TrBarTempo->SetEnabled(enabled); break;
    case TransportControl::Explorer: BExplorer->SetEnabled(enabled); break;
    case TransportControl::Kontrolle: BKontrolle->SetEnabled(enabled); break;
    case TransportControl::Poll: TimerPC1->SetEnabled(enabled); break;
    }
}

void TForm1::ShowTransportState(playback::TransportState state) {
    BPlay->SetLatched(state == playback::TransportState::Playing);
    BPause->SetLatched(state == playback::TransportState::Paused);
}

void TForm1::StopOtherSounds() {
    if (MediaPlayerPlaying()) StopMediaPlayer();
    playback::SoundCues::StopSound();
}

void TForm1::TellLoadFailed() {
    AskMessage(ErrorText(11), ErrorText(12), "", "OK");
}

void TForm1::TellStartFailed() {
    AskMessage(ErrorText(kStartFailedTitle), ErrorText(kStartFailedBody), "", "OK");
}

// With ZUPFARI_TIMING set, the moments the transport names are reported on
// standard error, so that measurements from outside can line the engine's
// events up with the screen.
void TForm1::ReportTime(const char* what, long long atClock) {
    ReportTestTime(what, atClock);
}

void TForm1::DisableTransport() {
    Transport->DisableControls();
}

} // namespace app
