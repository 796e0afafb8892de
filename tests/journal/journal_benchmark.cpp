// Figures of the practice journal (run by hand; prints only):
//
//   build/tests/journal_benchmark
//
// 1. Five years of daily practice in a journal file: how long the progress
//    window takes to open over it (reading the summary, making the charts,
//    the first painting), goal at most 200 ms.
// 2. What a record costs the user-interface thread (the call that hands it
//    to the journal's thread), goal at most 1 ms, and how long the journal's
//    thread takes to write one.
#include "journal/journal.h"
#include "journal/progresswin.h"
#include "tests/journal/journaldata.h"
#include "tests/support/testsupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double Percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(share * (values.size() - 1))];
}

void WindowOpening(const QString& path) {
    QElapsedTimer fill;
    fill.start();
    if (!journaltest::FillDailyPractice(path, 5 * 365 + 1)) {
        std::printf("could not write the journal\n");
        return;
    }
    std::printf("five years of daily practice written in %lld ms; file %.1f MB\n",
                fill.elapsed(), QFileInfo(path).size() / 1e6);
    std::vector<double> opening, reading;
    for (int run = 0; run < 7; ++run) {
        journal::Journal journal(path);
        journal.StartSession();
        journal.Flush(5000);
        QElapsedTimer timer;
        timer.start();
        journal.Summary();
        reading.push_back(timer.nsecsElapsed() / 1e6);
        timer.start();
        journal::TProgressWin window(nullptr, &journal, testsupport::BinFolder());
        window.ShowProgress();
        window.grab(); // the first painting, charts included
        opening.push_back(timer.nsecsElapsed() / 1e6);
        QApplication::processEvents();
    }
    std::printf("progress window opened over 5 years: first %.1f ms (Qt Charts and fonts loaded), "
                "then median %.1f ms, slowest %.1f ms (goal <= 200 ms)\n",
                opening.front(), Percentile({opening.begin() + 1, opening.end()}, 0.5),
                Percentile({opening.begin() + 1, opening.end()}, 1.0));
    std::printf("  of which reading the summary: median %.1f ms\n", Percentile(reading, 0.5));
}

void RecordCost(const QString& path) {
    journal::Journal journal(path);
    journal.StartSession();
    journal.Flush(5000);
    constexpr int kRecords = 5000;
    std::vector<double> calls;
    calls.reserve(kRecords);
    QElapsedTimer all;
    all.start();
    for (int i = 0; i < kRecords; ++i) {
        QElapsedTimer call;
        call.start();
        switch (i % 3) {
        case 0: journal.PassStarted(i % 30, 1 + i % 10); break;
        case 1: journal.PassEnded(true); break;
        default: journal.PlayAlongChecked(i % 30, 1 + i % 10, 27, 30); break;
        }
        calls.push_back(call.nsecsElapsed() / 1e6);
    }
    const double handed = all.nsecsElapsed() / 1e6;
    journal.Flush(60000);
    const double written = all.nsecsElapsed() / 1e6;
    std::printf("a record on the user-interface thread: mean %.4f ms, p99 %.4f ms, slowest %.3f ms "
                "(goal <= 1 ms)\n",
                handed / kRecords, Percentile(calls, 0.99), Percentile(calls, 1.0));
    std::printf("the journal's thread wrote %d records (one transaction each) in %.0f ms: %.2f ms each\n",
                kRecords, written, written / kRecords);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    testsupport::TempFolder folder;
    WindowOpening(folder.QPath() + "years.sqlite");
    RecordCost(folder.QPath() + "records.sqlite");
    return 0;
}
