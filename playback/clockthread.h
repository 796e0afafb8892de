#pragma once
// ClockThread: the practice clock of the main window. Counts the whole
// minutes since the main window was first shown ("00:00", hours and minutes)
// and keeps today's date in a label, waking every ten seconds at idle
// priority; the labels are changed on the user-interface thread only.

#include "platform/ui/controls.h"
#include "platform/ui/threads.h"

#include <QString>

namespace playback {

// The counting of the practice clock, apart from the thread: minutes since
// the start minute, one hour more each time the difference comes back to 0.
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

class ClockThread : public platform::TThread {
public:
    static constexpr unsigned kWakeMs = 10000;

    // Created suspended; frees itself when it ends. `clock` and `date` are
    // the main window's labels.
    ClockThread(platform::TLabel* clock, platform::TLabel* date);

protected:
    void Execute() override;

private:
    // Runs on the user-interface thread.
    void ShowTime(const QString& clockText, const QString& dateText);

    platform::TLabel* clock_;
    platform::TLabel* date_;
    PracticeClock counter_;
};

} // namespace playback
