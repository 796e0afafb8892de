#pragma once
// The practice clock of the main window: the whole minutes since the main
// window was first shown ("00:00", hours and minutes) and today's date, in
// two labels. ClockDisplay runs on the user-interface thread and wakes only
// when the wall clock's minute changes.

#include "platform/core/clock.h"
#include "platform/ui/controls.h"

#include <QString>
#include <QTimer>
#include <functional>

namespace playback {

// The counting of the practice clock: minutes since the start minute, one
// hour more each time the difference comes back to 0.
class PracticeClock {
public:
    // Starts at `minute` (0..59) with "00:00".
    void Start(int minute);
    // The minute of the wall clock now; true when the shown time changed.
    bool Tick(int minute);
    // Hours as at least two digits, ":", minutes as two digits.
    QString Text() const;

private:
    int startMinute_ = 0;
    int lastMinute_ = 0;
    int minutes_ = 0;
    int hours_ = 0;
};

// Today's date as the display shows it: day.month.two-digit year (6.12.26).
QString ShortDateToday();

class ClockDisplay {
public:
    // `clock` and `date` are the main window's labels.
    ClockDisplay(platform::TLabel* clock, platform::TLabel* date);

    // The wall clock (UTC); tests give their own.
    std::function<platform::SystemTime()> Now;

    // Shows "00:00" and counts from this minute on (the first showing).
    void Start();
    bool Running() const { return running_; }
    // The minute may have changed: the labels follow, and the clock waits
    // for the next change (the timer calls it).
    void Tick();

private:
    void WaitForNextMinute(const platform::SystemTime& now);

    platform::TLabel* clock_;
    platform::TLabel* date_;
    PracticeClock counter_;
    bool running_ = false;
    QTimer timer_;
};

} // namespace playback
