#include "playback/beatdisplay.h"

#include "platform/core/clock.h"

namespace playback {

using namespace platform;

int LedDelayAtOpen(int tempo) {
    return static_cast<int>((150 - tempo) * 0.2 + 19);
}

int LedDelayAtPlay(int tempo) {
    return static_cast<int>((150 - tempo) * 0.2 + 16);
}

// ---- TDrawLEDThread ----------------------------------------------------------

TDrawLEDThread::TDrawLEDThread(const LedColumn& column, const std::atomic<int>* exerciseBeat)
    : TThread(true), column_(column), exerciseBeat_(exerciseBeat) {
    SetPriority(tpLower);
    SetFreeOnTerminate(true);
}

int TDrawLEDThread::SegmentTop(int i) const {
    const int step = column_.Dark->Height() + 2;
    return column_.LedTop + 2 + step * i;
}

void TDrawLEDThread::DrawSegment(const TBitmap* look, int i) {
    const int x = column_.LedLeft + 2;
    const int y = SegmentTop(i);
    Synchronize([this, look, x, y] {
        if (!Terminated()) column_.Canvas->Draw(x, y, look);
    });
}

int TDrawLEDThread::WaitForNextBeat(int last) {
    while (!Terminated()) {
        const int beat = exerciseBeat_->load();
        if (beat != last) return beat;
        Sleep(kPollMs);
    }
    return last;
}

// On every beat the column fills at once from the bottom segment (9) to the
// top (0), then drains from the top down, one segment every SegmentDelay ms,
// and waits dark for the next beat. A beat that comes before the column has
// drained refills it from segment 3 upwards.
void TDrawLEDThread::Execute() {
    bool draining = false;
    int i = SegmentCount - 1;
    int last = exerciseBeat_->load();
    while (!Terminated()) {
        const int beat = exerciseBeat_->load();
        if (beat < 0) { // count-in, or not started
            Sleep(kPollMs);
            continue;
        }
        if (beat != last && draining) {
            last = beat;
            draining = false;
            i = 3;
        }
        if (draining) {
            DrawSegment(column_.Dark, i);
            i += 1;
            Sleep(static_cast<unsigned>(SegmentDelay.load()));
        } else {
            DrawSegment(column_.Light, i);
            i -= 1;
        }
        if (i >= SegmentCount) {
            draining = false;
            i = SegmentCount - 1;
            last = WaitForNextBeat(last);
        }
        if (i < 0) {
            draining = true;
            i = 0;
        }
    }
}

// ---- DrawBeat ----------------------------------------------------------------

DrawBeat::DrawBeat(const LedColumn& column) : TThread(true), column_(column) {
    SetPriority(tpLower);
    SetFreeOnTerminate(true);
    Now = [] { return platform::timeGetTime(); };
    Pause = [](unsigned ms) { platform::Sleep(ms); };
}

void DrawBeat::SizeDigitBitmaps(TCanvas* canvas) {
    const int width = canvas->TextWidth("4");
    const int height = canvas->TextHeight("4");
    DigitBackground.SetSize(width, height);
    DigitWork.SetSize(width, height);
}

void DrawBeat::Execute() {
    while (!Terminated()) {
        Synchronize([this] {
            if (!Terminated()) PreRoll();
        });
    }
}

// The changes are timed on the steady millisecond clock from the pre-roll's
// start; between two reads the loop rests at most a millisecond, so each
// change comes within about a millisecond of its time without spinning a
// core.
void DrawBeat::PreRoll() {
    const int tempo = Tempo.load() > 0 ? Tempo.load() : 120;
    const std::uint32_t beatMs = 60000 / static_cast<std::uint32_t>(tempo);
    const int changes = 2 * CountInBeats.load() + 1;
    const std::uint32_t t0 = Now();
    const int x = column_.LedLeft + 2;
    const int y = column_.LedTop + 101;
    bool light = false;
    std::uint32_t next = 0;
    int i = 0;
    while (i < changes) {
        if (Now() - t0 >= next) {
            light = !light;
            column_.Canvas->Draw(x, y, light ? column_.Light : column_.Dark);
            i += 1;
            next = (beatMs * static_cast<std::uint32_t>(i)) / 4;
            continue;
        }
        Pause(1);
    }
    if (OnCountInDone) OnCountInDone();
    Suspend();
}

} // namespace playback
