#include "playback/clockthread.h"

#include "platform/core/clock.h"

#include <QDate>

namespace playback {

using namespace platform;

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

ClockThread::ClockThread(TLabel* clock, TLabel* date) : TThread(true), clock_(clock), date_(date) {
    SetPriority(tpIdle);
    SetFreeOnTerminate(true);
}

// The loop ends when the main window asks it to: the labels it writes go
// away with the window.
void ClockThread::Execute() {
    counter_.Start(GetSystemTime().wMinute);
    Synchronize([this] {
        if (!Terminated()) clock_->SetCaption(counter_.Text());
    });
    while (!Terminated()) {
        if (counter_.Tick(GetSystemTime().wMinute)) {
            const QString clockText = counter_.Text();
            const QString dateText = ShortDateToday();
            Synchronize([this, clockText, dateText] { ShowTime(clockText, dateText); });
        }
        Sleep(kWakeMs);
    }
}

void ClockThread::ShowTime(const QString& clockText, const QString& dateText) {
    if (Terminated()) return;
    clock_->SetCaption(clockText);
    date_->SetCaption(dateText);
}

} // namespace playback
