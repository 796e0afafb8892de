#include "app/testswitches.h"

#include "app/msgwin.h"
#include "platform/ui/application.h"
#include "platform/ui/components.h"

#include <QEventLoop>
#include <QStringList>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace app {

using namespace platform;

namespace {

std::chrono::steady_clock::time_point& ProcessStart() {
    static std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    return start;
}

void ReportBox(const QString& title, const QString& text) {
    std::fprintf(stderr, "ZUPFARI-BOX %s | %s\n", title.toUtf8().constData(),
                 QString(text).replace('\n', ' ').toUtf8().constData());
    std::fflush(stderr);
}

} // namespace

void StartTestTiming() {
    ProcessStart();
}

void ReportTestTime(const char* what, long long steadyMicros) {
    if (std::getenv("ZUPFARI_TIMING") == nullptr) return;
    const auto moment = steadyMicros < 0 ? std::chrono::steady_clock::now()
                                         : std::chrono::steady_clock::time_point(
                                               std::chrono::microseconds(steadyMicros));
    const auto elapsed = moment - ProcessStart();
    const double ms = std::chrono::duration<double, std::milli>(elapsed).count();
    std::fprintf(stderr, "ZUPFARI-TIME %s %.1f\n", what, ms);
    if (std::string_view(std::getenv("ZUPFARI_TIMING")) == "steady")
        std::fprintf(stderr, "ZUPFARI-STEADY %s %lld\n", what,
                     static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(
                                                moment.time_since_epoch())
                                                .count()));
    std::fflush(stderr);
}

// With ZUPFARI_CAPTIONS naming controls (comma-separated), each change of
// their captions is reported as "ZUPFARI-CAPTION <name> <caption>".
void InstallCaptionReports() {
    const char* names = std::getenv("ZUPFARI_CAPTIONS");
    if (names == nullptr) return;
    const QStringList watched = QString::fromUtf8(names).split(',', Qt::SkipEmptyParts);
    SetCaptionWatcher([watched](const TControl& control, const QString& caption) {
        if (!watched.contains(control.Name())) return;
        std::fprintf(stderr, "ZUPFARI-CAPTION %s %s\n", control.Name().toUtf8().constData(),
                     QString(caption).replace('\n', ' ').toUtf8().constData());
        std::fflush(stderr);
    });
}

void InstallTestSwitches() {
    InstallCaptionReports();
    const char* setting = std::getenv("ZUPFARI_AUTOANSWER");
    if (setting == nullptr) return;
    const std::string value = setting;
    const auto colon = value.find(':');
    const int delayMs = std::atoi(value.substr(0, colon).c_str());
    const int answer = colon == std::string::npos ? 1 : std::atoi(value.substr(colon + 1).c_str());

    const char* boxWait = std::getenv("ZUPFARI_BOXWAIT_MS");
    const int boxWaitMs = boxWait == nullptr ? 0 : std::atoi(boxWait);
    SetMessageBoxHook([boxWaitMs](const QString& text, const QString& caption, unsigned) {
        ReportBox(caption, text);
        if (boxWaitMs > 0) {
            // Stands open like a real box: its own event loop runs meanwhile.
            QEventLoop loop;
            QTimer::singleShot(boxWaitMs, &loop, &QEventLoop::quit);
            loop.exec();
        }
        return IDOK;
    });
    TMsgWin::SetAnswerer([delayMs, answer](TMsgWin& box) {
        ReportBox(box.Label1->Caption(), box.Label2->Caption());
        QTimer::singleShot(delayMs, &box, [&box, answer] { box.SetModalResult(answer); });
        return box.TForm::ShowModal();
    });
}

} // namespace app
