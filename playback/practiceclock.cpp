#include "playback/practiceclock.h"

#include <QDate>

namespace playback {

using namespace platform;

namespace {

// Woken a little after the minute changes, so that the wall clock has
// surely moved on.
constexpr int kAfterTheMinuteMs = 50;

} // namespace

void PracticeClock::Start(int minute) {
    startMinute_ = lastMinute_ = minute;
    minutes_ = hours_ = 0;
}

bool PracticeClock::Tick(int minute) {
    if (minute == lastMinute_) return false;
    lastMinute_ = minute;
    minutes_ = minute - startMinute_;
    if (minutes_ < 0) minutes_ += 60;
    if (minutes_ == 0) hours_ += 1;
    return true;
}

QString PracticeClock::Text() const {
    return QString("%1:%2").arg(hours_, 2, 10, QChar('0')).arg(minutes_, 2, 10, QChar('0'));
}

QString ShortDateToday() {
    const QDate today = QDate::currentDate();
    return QString("%1.%2.%3")
        .arg(today.day())
        .arg(today.month())
        .arg(today.year() % 100, 2, 10, QChar('0'));
}

ClockDisplay::ClockDisplay(TLabel* clock, TLabel* date) : clock_(clock), date_(date) {
    Now = [] { return GetSystemTime(); };
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
}

void ClockDisplay::Start() {
    const SystemTime now = Now();
    counter_.Start(now.wMinute);
    clock_->SetCaption(counter_.Text());
    running_ = true;
    WaitForNextMinute(now);
}

void ClockDisplay::Tick() {
    if (!running_) return;
    const SystemTime now = Now();
    if (counter_.Tick(now.wMinute)) {
        clock_->SetCaption(counter_.Text());
        date_->SetCaption(ShortDateToday());
    }
    WaitForNextMinute(now);
}

void ClockDisplay::WaitForNextMinute(const SystemTime& now) {
    const int intoMinuteMs = now.wSecond * 1000 + now.wMilliseconds;
    timer_.start(60000 - intoMinuteMs + kAfterTheMinuteMs);
}

} // namespace playback
