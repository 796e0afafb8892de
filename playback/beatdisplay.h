#pragma once
// The two worker threads that animate the display while an exercise plays:
// TDrawLEDThread lights the LED column on every beat and lets it drain at a
// speed that follows the tempo; DrawBeat runs one blinking pre-roll before
// every start of playback and owns the bitmaps behind the count-in digit.
// Neither draws from its own thread: every drawing step runs on the
// user-interface thread through Synchronize.

#include "platform/ui/graphics.h"
#include "platform/ui/threads.h"

#include <atomic>
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

class TDrawLEDThread : public platform::TThread {
public:
    static constexpr int SegmentCount = 10;
    static constexpr unsigned kPollMs = 16;

    // Created suspended; frees itself when it ends. `exerciseBeat` is the
    // transport's beat (negative during the count-in), read without a lock.
    TDrawLEDThread(const LedColumn& column, const std::atomic<int>* exerciseBeat);

    // Pause between two draining steps, in milliseconds (24 at creation).
    std::atomic<int> SegmentDelay{24};

    // Top of segment i on the canvas.
    int SegmentTop(int i) const;

protected:
    void Execute() override;

private:
    void DrawSegment(const platform::TBitmap* look, int i);
    // Polls until the beat differs from `last` (or the thread is asked to
    // end); returns the new beat.
    int WaitForNextBeat(int last);

    LedColumn column_;
    const std::atomic<int>* exerciseBeat_;
};

class DrawBeat : public platform::TThread {
public:
    // Created suspended; frees itself when it ends. `canvas` is the main
    // window's; the pre-roll blinks at (LedLeft + 2, LedTop + 101).
    DrawBeat(const LedColumn& column);

    // What lies under the count-in digit and where the digit is composed,
    // both the size of the text "4" in the main window's canvas font.
    platform::TBitmap DigitBackground;
    platform::TBitmap DigitWork;
    // The digit stands this many pixels left of the cursor origin.
    int BeatDisplayOffset = 20;

    // Set by the transport before each resume.
    std::atomic<int> Tempo{120};
    std::atomic<int> CountInBeats{4};
    // Called on the user-interface thread when the pre-roll has ended.
    std::function<void()> OnCountInDone;

    // The clock and pause of the pre-roll; tests give a fake clock.
    std::function<std::uint32_t()> Now;
    std::function<void(unsigned)> Pause;

    // One pre-roll, on the user-interface thread: 2 x CountInBeats + 1
    // changes between the light and the dark look, a quarter beat apart,
    // starting and ending light. Returns after the last change.
    void PreRoll();

    // Sizes the two digit bitmaps to the text "4" of `canvas`.
    void SizeDigitBitmaps(platform::TCanvas* canvas);

protected:
    void Execute() override;

private:
    LedColumn column_;
};

} // namespace playback
