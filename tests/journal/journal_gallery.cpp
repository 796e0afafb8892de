// Pictures of the progress window as a learner sees it, over a journal with
// nothing in it yet and over a first month of practice, in the edition of
// the language set:
//
//   SPRACHBANK_LANGUAGE=0 build/tests/journal_gallery OUTDIR   (German)
//   SPRACHBANK_LANGUAGE=1 build/tests/journal_gallery OUTDIR   (English)
//
// writes OUTDIR/progress-empty-LANG.png and progress-month-LANG.png (LANG
// "de" or "en"), offscreen or under Xvfb, with the build's program folder
// (background and button pictures). Run by hand; not part of the suite.
#include "journal/journal.h"
#include "journal/progresswin.h"
#include "sprachbank/sprachbank.h"
#include "tests/journal/journaldata.h"
#include "tests/support/testsupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

namespace {

void Wait(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

void Shoot(const QString& journalPath, const QString& file) {
    journal::Journal journal(journalPath);
    journal.StartSession();
    journal.Flush(5000);
    journal::TProgressWin window(nullptr, &journal, testsupport::BinFolder());
    window.ShowProgress();
    Wait(300);
    const bool saved = window.grab().save(file);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(file));
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: journal_gallery OUTDIR\n");
        return 2;
    }
    QApplication application(argc, argv);
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString language = DLL_GetLanguage() == 0 ? "de" : "en";
    testsupport::TempFolder folder;
    Shoot(folder.QPath() + "empty.sqlite", out + "/progress-empty-" + language + ".png");
    if (!journaltest::FillFirstMonth(folder.QPath() + "month.sqlite")) return 1;
    Shoot(folder.QPath() + "month.sqlite", out + "/progress-month-" + language + ".png");
    return 0;
}
