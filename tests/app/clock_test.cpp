// The practice clock's counting and the display that shows it.

#include "platform/ui/controls.h"
#include "playback/practiceclock.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {

using playback::PracticeClock;

TEST(PracticeClock, CountsWholeMinutesAcrossTheHour) {
    PracticeClock clock;
    clock.Start(58);
    EXPECT_EQ(clock.Text(), "00:00");
    EXPECT_FALSE(clock.Tick(58));
    EXPECT_TRUE(clock.Tick(59));
    EXPECT_EQ(clock.Text(), "00:01");
    EXPECT_TRUE(clock.Tick(0));
    EXPECT_EQ(clock.Text(), "00:02");
    EXPECT_TRUE(clock.Tick(57));
    EXPECT_EQ(clock.Text(), "00:59");
    EXPECT_TRUE(clock.Tick(58));
    EXPECT_EQ(clock.Text(), "01:00");
}

TEST(PracticeClock, HoursFromOneHundredShowThreeDigits) {
    PracticeClock clock;
    clock.Start(10);
    for (int hour = 0; hour < 100; ++hour) {
        clock.Tick(11);
        clock.Tick(10);
    }
    EXPECT_EQ(clock.Text(), "100:00");
}

TEST(PracticeClock, DateHasDayMonthAndTwoDigitYear) {
    const QDate today = QDate::currentDate();
    EXPECT_EQ(playback::ShortDateToday(), QString("%1.%2.%3")
                                              .arg(today.day())
                                              .arg(today.month())
                                              .arg(today.year() % 100, 2, 10, QChar('0')));
}

// The display on a wall clock the test sets: "00:00" at the start, the
// minutes when the minute changes, the date with them; nothing before.
TEST(ClockDisplay, ShowsZeroOnStartAndFollowsTheMinute) {
    platform::TLabel clock(nullptr), date(nullptr);
    clock.SetCaption("--:--");
    date.SetCaption("Datum");
    playback::ClockDisplay display(&clock, &date);
    platform::SystemTime now{2026, 12, 0, 6, 10, 58, 30, 0};
    display.Now = [&now] { return now; };
    EXPECT_FALSE(display.Running());
    display.Tick(); // not started: nothing
    EXPECT_EQ(clock.Caption(), "--:--");
    display.Start();
    EXPECT_TRUE(display.Running());
    EXPECT_EQ(clock.Caption(), "00:00");
    now.wSecond = 59;
    display.Tick();
    EXPECT_EQ(clock.Caption(), "00:00");
    EXPECT_EQ(date.Caption(), "Datum");
    now.wMinute = 59;
    now.wSecond = 0;
    display.Tick();
    EXPECT_EQ(clock.Caption(), "00:01");
    EXPECT_EQ(date.Caption(), playback::ShortDateToday());
}

} // namespace
