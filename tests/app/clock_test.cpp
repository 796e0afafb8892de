// The practice clock's counting and the thread that shows it.

#include "platform/ui/controls.h"
#include "playback/clockthread.h"

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

TEST(ClockThread, ShowsZeroOnItsLabelOnceResumed) {
    platform::TLabel clock(nullptr), date(nullptr);
    clock.SetCaption("--:--");
    auto* thread = new playback::ClockThread(&clock, &date);
    EXPECT_TRUE(thread->Suspended());
    thread->Resume();
    QElapsedTimer waited;
    waited.start();
    while (clock.Caption() != "00:00" && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(clock.Caption(), "00:00");
    thread->Terminate(); // frees itself; the labels are not touched again
}

} // namespace
