#include "app/transportkeys.h"

#include "app/msgwin.h"
#include "app/testswitches.h"
#include "layout/screenlayout.h"
#include "lessons/registrydata.h"
#include "playback/soundcues.h"

#include <algorithm>
#include <utility>

namespace app {

using namespace platform;
using playback::TransportControl;

namespace {

constexpr int kPollIntervalMs = 100;
constexpr int kFirstTempoLesson = 1;
constexpr int kLastTempoLesson = 28;
// Title and body of the box that tells that the engine did not start.
constexpr int kStartFailedTitle = 100;
constexpr int kStartFailedBody = 101;

} // namespace

TransportKeys::TransportKeys(MainWindowLook& look, TForm* window, Hooks hooks)
    : look_(look), hooks_(std::move(hooks)) {
    Poll = new TTimer(window);
    Poll->SetEnabled(false);
    Poll->SetInterval(kPollIntervalMs);
    look_.BLoop->SetFix(true); // its pressed look shows that the loop is on
    // Play's pressed look shows that the exercise plays, Pause's that it is
    // paused (ShowTransportState).
    look_.BPlay->SetFix(true);
    look_.BPause->SetFix(true);
    DescribeKeys();
}

void TransportKeys::DescribeKeys() {
    const std::pair<TControl*, int> hints[] = {
        {look_.BPlay, 604},   {look_.BPause, 605},   {look_.BStop, 606},
        {look_.BLoop, 607},   {look_.BLocator, 608}, {look_.BRewind, 609},
        {look_.BForward, 610}, {look_.BExtraFunction, 611}, {look_.TrBarTempo, 612}};
    for (const auto& [control, text] : hints)
        control->SetHint(CaptionText(text));
}

playback::TransportScreen TransportKeys::DrawingPlaces(TForm* window, playback::PlayCursor* cursor) {
    playback::TransportScreen screen;
    screen.Canvas = window->Canvas();
    screen.Cursor = cursor;
    screen.Point = &look_.PointBmp;
    screen.PointWork = &look_.PointWork;
    screen.LedBackground = &look_.LedBackground;
    screen.Led = {window->Canvas(), &look_.LedDark, &look_.LedLight, layout::LedPanel.x(),
                  layout::LedPanel.y()};
    screen.CountInArea = Bounds(layout::CountInArea.x(), layout::CountInArea.y(),
                                layout::CountInArea.width(), layout::CountInArea.height());
    // The digit's cover is drawn by the transport only.
    auto* digitCover = new TImage(window);
    digitCover->SetParent(window);
    digitCover->SetVisible(false);
    screen.CountInCover = digitCover;
    return screen;
}

// ---- The tempo bar ------------------------------------------------------------------

int TransportKeys::Level() const {
    return std::clamp(look_.TrBarTempo->Position(), 1, lessons::kLevelCount);
}

void TransportKeys::SetLevel(int level) {
    look_.TrBarTempo->SetPosition(level);
    ShowLevel(level);
}

void TransportKeys::ShowLevel(int level) {
    look_.LLevel->SetCaption(QString::number(level));
    look_.LLevel->SetLeft(look_.ImgLevel->Left() + (look_.ImgLevel->Width() - look_.LLevel->Width()) / 2);
}

void TransportKeys::StepLevel(int levels) {
    if (look_.TrBarTempo->Enabled()) look_.TrBarTempo->ChangePosition(look_.TrBarTempo->Position() + levels);
}

void TransportKeys::Reset() {
    SetLevel(1);
    look_.TrBarTempo->SetEnabled(false);
}

bool TransportKeys::LessonHasTempo(int lesson) {
    return lesson >= kFirstTempoLesson && lesson <= kLastTempoLesson;
}

// ---- What the transport asks ---------------------------------------------------------

void TransportKeys::EnableControl(TransportControl control, bool enabled) {
    switch (control) {
    case TransportControl::Play: look_.BPlay->SetEnabled(enabled); break;
    case TransportControl::Pause: look_.BPause->SetEnabled(enabled); break;
    case TransportControl::Stop: look_.BStop->SetEnabled(enabled); break;
    case TransportControl::Loop: look_.BLoop->SetEnabled(enabled); break;
    case TransportControl::Forward: look_.BForward->SetEnabled(enabled); break;
    case TransportControl::Rewind: look_.BRewind->SetEnabled(enabled); break;
    case TransportControl::Locator: look_.BLocator->SetEnabled(enabled); break;
    case TransportControl::TempoBar: look_.TrBarTempo->SetEnabled(enabled); break;
    case TransportControl::Explorer: look_.BExplorer->SetEnabled(enabled); break;
    case TransportControl::Kontrolle: look_.BKontrolle->SetEnabled(enabled); break;
    case TransportControl::Poll: Poll->SetEnabled(enabled); break;
    }
}

void TransportKeys::ShowTransportState(playback::TransportState state) {
    look_.BPlay->SetLatched(state == playback::TransportState::Playing);
    look_.BPause->SetLatched(state == playback::TransportState::Paused);
}

void TransportKeys::StopOtherSounds() {
    if (hooks_.StopMediaPlayer) hooks_.StopMediaPlayer();
    playback::SoundCues::StopSound();
}

void TransportKeys::TellLoadFailed() {
    hooks_.Ask(ErrorText(11), ErrorText(12), "", "OK");
}

void TransportKeys::TellStartFailed() {
    hooks_.Ask(ErrorText(kStartFailedTitle), ErrorText(kStartFailedBody), "", "OK");
}

// With ZUPFARI_TIMING set, the moments the transport names are reported on
// standard error, so that measurements from outside can line the engine's
// events up with the screen.
void TransportKeys::ReportTime(const char* what, long long atClock) {
    ReportTestTime(what, atClock);
}

} // namespace app
