#pragma once
// TransportKeys: the main window's transport keys and tempo bar as the
// Transport sees them. It switches the keys on and off, latches Play and
// Pause to show the state, runs the transport's 100 ms poll, tells the
// learner when an exercise cannot be read or the engine does not start, and
// keeps the level box over the tempo bar in step with the bar. Every key
// says what it does when the mouse rests on it.

#include "app/mainlook.h"
#include "playback/playcursor.h"
#include "playback/transport.h"
#include "platform/ui/forms.h"
#include "platform/ui/timer.h"

#include <QString>
#include <functional>

namespace app {

class TransportKeys : public playback::TransportView {
public:
    struct Hooks {
        // Stops the media player (the cue sound is stopped here).
        std::function<void()> StopMediaPlayer;
        // Asks the learner (title, body, cancel and OK captions).
        std::function<int(const QString&, const QString&, const QString&, const QString&)> Ask;
    };

    // The keys are `look`'s; the poll timer belongs to `window`.
    TransportKeys(MainWindowLook& look, platform::TForm* window, Hooks hooks);

    // The transport's poll, every 100 ms while it runs (switched by the
    // transport through EnableControl).
    platform::TTimer* Poll;

    // Where the transport draws on `window`: the point (moved by `cursor`),
    // the count-in digit and the LED column, in the look's pictures.
    playback::TransportScreen DrawingPlaces(platform::TForm* window, playback::PlayCursor* cursor);

    // ---- The tempo bar --------------------------------------------------------
    // The level on the bar, 1 to 10.
    int Level() const;
    // The bar at `level` and the box showing it.
    void SetLevel(int level);
    // The level's number, centred over its picture.
    void ShowLevel(int level);
    // Moves the bar `levels` up or down, as the wheel does (not while it is off).
    void StepLevel(int levels);
    // Level 1 and the bar off (no lesson).
    void Reset();
    // Whether `lesson` offers the tempo bar: lessons 0 and 29 play at one tempo.
    static bool LessonHasTempo(int lesson);

    // ---- What the transport asks ---------------------------------------------------
    void EnableControl(playback::TransportControl control, bool enabled) override;
    void ShowTransportState(playback::TransportState state) override;
    void StopOtherSounds() override;
    void TellLoadFailed() override;
    void TellStartFailed() override;
    void ReportTime(const char* what, long long atClock) override;

private:
    void DescribeKeys();

    MainWindowLook& look_;
    Hooks hooks_;
};

} // namespace app
