#pragma once
// The display that beats the time while an exercise plays, drawn on the main
// window's canvas on the user-interface thread:
// - LedBeat: the column of ten LED segments that lights up on every beat and
//   drains again at a speed that follows the tempo;
// - PreRoll: the short blinking pre-roll before every start of playback;
// - CountInDigit: the large count-in digit, with what lies under it.
// Each is driven by timers of that thread and waits for nothing. Their
// timed steps are public (Drain, Advance) so that tests can drive them on a
// clock of their own.

#include "platform/ui/graphics.h"

namespace platform {
class TImage;
}

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>

namespace playback {

// The LED segment delay for a tempo (beats per minute): when a lesson opens
// (+19) and at every Play (+16); the column drains faster at higher tempos.
int LedDelayAtOpen(int tempo);
int LedDelayAtPlay(int tempo);

// Where the LED column and its bitmaps live: the main window's canvas, the
// top-left corner of the LED area and the two segment looks.
struct LedColumn {
    platform::TCanvas* Canvas = nullptr;
    const platform::TBitmap* Dark = nullptr;
    const platform::TBitmap* Light = nullptr;
    int LedLeft = 751;
    int LedTop = 139;
};

// The LED column. A beat fills it at once from the bottom segment (9) to the
// top (0); then it drains from the top down, one segment every SegmentDelay
// ms, and stays dark until the next beat. A beat that comes before the
// column has drained refills segments 3 to 0 and drains anew from the top.
class LedBeat {
public:
    static constexpr int SegmentCount = 10;

    explicit LedBeat(const LedColumn& column);

    // Pause between two draining steps, in milliseconds (24 at first).
    int SegmentDelay = 24;

    // A beat is heard.
    void Beat();
    // Stops where the column stands (the caller clears the panel).
    void Stop();
    // One draining step; the timer makes it every SegmentDelay ms.
    void Drain();
    bool Draining() const { return draining_; }

    // Top of segment i on the canvas.
    int SegmentTop(int i) const;

private:
    void DrawSegment(const platform::TBitmap* look, int i);
    void Fill(int from);

    LedColumn column_;
    bool draining_ = false;
    int next_ = 0; // the segment the next draining step darkens
    QTimer timer_;
};

// The pre-roll: 2 x count-in + 1 changes between the light and the dark
// look a quarter beat apart at (LedLeft + 2, LedTop + 101), starting and
// ending light, timed from its start on the millisecond clock; then the
// caller's continuation runs (the engine starts). It lasts count-in / 2
// beats.
class PreRoll {
public:
    explicit PreRoll(const LedColumn& column);

    // The millisecond clock; tests give a fake one.
    std::function<std::uint32_t()> Now;

    // Starts a pre-roll; `done` runs after its last change. A pre-roll
    // still running is dropped (its continuation never runs).
    void Start(int tempo, int countInBeats, std::function<void()> done);
    void Cancel();
    bool Running() const { return running_; }

    // Makes every change whose time has come, then waits for the next one
    // (the timer calls it).
    void Advance();

private:
    LedColumn column_;
    bool running_ = false;
    bool light_ = false;
    std::uint32_t start_ = 0;
    std::uint32_t beatMs_ = 500;
    int changes_ = 0;
    int made_ = 0;
    std::function<void()> done_;
    QTimer timer_;
};

// The count-in digit: large enough to read from where the learner sits with
// the guitar, on a plate of its own over a copy of what lies under it.
class CountInDigit {
public:
    CountInDigit();

    platform::TBitmap Background;
    platform::TBitmap Work;
    // The digit's font (bold Arial in the course's accent colour).
    platform::TFont Font;
    // The lesson's distance of the digit left of the cursor origin (20, or
    // 18); where a count-in area is given the digit stands there instead.
    int BeatDisplayOffset = 20;
    // A picture shown over the window's controls with the plate while it
    // shows, so that no label of the lesson screen lies over the digit
    // (none: the plate is only on the canvas).
    platform::TImage* Cover = nullptr;

    // Sizes the two bitmaps to the plate that holds any digit of Font.
    void Size();
    // Keeps what lies at `place` on `canvas`.
    void SaveBackground(platform::TCanvas* canvas, platform::TPoint place);
    // Writes the first character of `number` on its plate over the kept
    // background.
    void Show(platform::TCanvas* canvas, platform::TPoint place, int number);
    // Puts the kept background back: the digit disappears.
    void Restore(platform::TCanvas* canvas, platform::TPoint place);
    // The two halves of Restore: the plate on the canvas, then the cover
    // over the controls (hiding it repaints the controls under it, which
    // the point need not wait for).
    void RestorePlate(platform::TCanvas* canvas, platform::TPoint place);
    void Uncover();

private:
    int glyphTop_ = 0; // the digits' top below the text cell's top
};

} // namespace playback
