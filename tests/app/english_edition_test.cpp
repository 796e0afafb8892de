// The English edition as a learner meets it. The program's windows are made
// for language code 1 over the build's program folder, and a learner's road
// is walked through every screen it reaches: the greeting and the screen
// without a lesson, the four tool panels, the help window, every lesson's
// main screen, slide windows and quiz, the boxes on the way (a damaged list
// file, the refused quiz, a failed quiz, leaving) and the exit dialog. Every
// text a window shows is read - labels, buttons, window titles, the boxes'
// titles, texts and buttons, the help's pages - and so are the words drawn
// into the program's own button pictures (the English pictures must be the
// ones shown). None of them may be German: no word of the German texts that
// the English texts do not use, and no German letter.

#include "app/fbeenden.h"
#include "app/helpwindow.h"
#include "app/mainwindow.h"
#include "app/msgwin.h"
#include "app/progresssaver.h"
#include "app/zupfariapp.h"
#include "controls/aquabutton.h"
#include "controls/fadebutton.h"
#include "controls/trackbar.h"
#include "lessons/quizwin.h"
#include "lessons/registrydata.h"
#include "lessons/skinloader.h"
#include "lessons/slidewindows.h"
#include "platform/core/cp1252.h"
#include "platform/ui/application.h"
#include "platform/ui/controls.h"
#include "sprachbank/sprachbank.h"
#include "tests/support/testsupport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QRegularExpression>
#include <QSet>
#include <QTextBrowser>
#include <QTimer>
#include <gtest/gtest.h>

#include <map>

namespace {

void Wait(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// The words of a text: runs of letters, in lower case.
QStringList WordsOf(const QString& text) {
    static const QRegularExpression word(QStringLiteral("[\\p{L}]+"));
    QStringList words;
    for (auto it = word.globalMatch(text); it.hasNext();) words << it.next().captured().toLower();
    return words;
}

// Every text line of a course outline folder's lesson files (keys with words).
QString OutlineTexts(const QString& folder) {
    static const QRegularExpression keyed(QStringLiteral(
        "^(title|explorer|teaches|notation|heading|text|picture|description|question|choice|right):(.*)$"));
    QString all;
    for (const QString& name : QDir(folder).entryList({"lektion*.txt", "abschluss.txt"})) {
        QFile file(folder + "/" + name);
        if (!file.open(QIODevice::ReadOnly)) continue;
        for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
            const auto match = keyed.match(line.trimmed());
            if (match.hasMatch()) all += match.captured(2).replace(QStringLiteral("$n"), QStringLiteral(" ")) + "\n";
        }
    }
    return all;
}

// The text of a help folder's pages, without their markup.
QString HelpTexts(const QString& folder) {
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    QString all;
    for (const QString& name : QDir(folder).entryList({"*.html"})) {
        QFile file(folder + "/" + name);
        if (file.open(QIODevice::ReadOnly)) all += QString::fromUtf8(file.readAll()).replace(tag, QStringLiteral(" ")) + "\n";
    }
    return all;
}

// All of Sprachbank's texts in one language.
QString SprachbankTexts(const char* language) {
    testsupport::ScopedEnv code("SPRACHBANK_LANGUAGE", language);
    QString all;
    for (int n = 0; n < 1000; ++n)
        all += platform::FromAnsi(DLL_GetCaption(n)) + "\n" + platform::FromAnsi(DLL_GetMessage(n)) + "\n" +
               platform::FromAnsi(DLL_GetErrStr(n)) + "\n";
    return all;
}

// The German words that the English edition never uses: what the German
// texts say (the program's and the course's) and the English course and help
// do not. The program's English texts are left out of the English side, so
// that a German text in their place is found.
QSet<QString> GermanOnlyWords() {
    const QString course = QStringLiteral(ZUPFARI_CONTENT_SOURCES "/course");
    QSet<QString> german, english;
    for (const QString& w : WordsOf(SprachbankTexts("0") + OutlineTexts(course) + HelpTexts(course + "/help/de")))
        if (w.size() >= 3) german.insert(w);
    for (const QString& w : WordsOf(OutlineTexts(course + "/en") + HelpTexts(course + "/help/en"))) english.insert(w);
    // Words that both languages write alike and the English course happens
    // not to use (and the extension of a kept list file).
    for (const char* shared : {"tutorial", "soundcard", "bak"}) english.insert(QString::fromLatin1(shared));
    return german - english;
}

// Collects what the windows show and where.
class Reader {
public:
    explicit Reader(QSet<QString> german) : german_(std::move(german)) {}

    void Read(const QString& where, const QString& text) {
        if (text.trimmed().isEmpty()) return;
        ++texts_;
        static const QRegularExpression letters(QStringLiteral("[äöüÄÖÜß]"));
        QStringList found;
        if (letters.match(text).hasMatch()) found << QStringLiteral("(German letters)");
        for (const QString& w : WordsOf(text))
            if (german_.contains(w)) found << w;
        if (!found.isEmpty()) found_[where + ": " + text.simplified()] = found.join(' ');
    }

    // Every visible text of the program's top-level windows.
    void ReadWindows(const QString& where) {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!window->isVisible()) continue;
            Read(where + " (window title)", window->windowTitle());
            for (QWidget* widget : window->findChildren<QWidget*>()) {
                if (!widget->isVisibleTo(window)) continue;
                if (auto* label = dynamic_cast<platform::TLabel*>(widget)) Read(where, label->Lines().join(' '));
                else if (auto* fade = dynamic_cast<controls::TXFadeButton*>(widget)) Read(where, fade->Text());
                else if (auto* aqua = dynamic_cast<controls::TXAquaButton*>(widget)) Read(where, aqua->Text());
                else if (auto* bar = dynamic_cast<controls::TXTrackBar*>(widget)) Read(where, bar->Text());
                else if (auto* browser = dynamic_cast<QTextBrowser*>(widget))
                    Read(where + " (help page)", browser->toPlainText());
                else if (auto* list = dynamic_cast<QListWidget*>(widget))
                    for (int i = 0; i < list->count(); ++i) Read(where + " (help contents)", list->item(i)->text());
            }
        }
    }

    int Texts() const { return texts_; }
    const std::map<QString, QString>& Found() const { return found_; }

private:
    QSet<QString> german_;
    std::map<QString, QString> found_;
    int texts_ = 0;
};

// The same picture, whatever its pixel format.
bool SamePicture(const QImage& a, const QImage& b) {
    return !a.isNull() && a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

class EnglishEdition : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // A learner who has started the program before (no intro video), with
        // a practice plan file that cannot be read and is told so.
        const QString data = QString::fromLocal8Bit(qgetenv("XDG_DATA_HOME")) + "/ZupfariDemo/";
        QDir().mkpath(data + "Listen");
        QFile log(data + "session.log");
        log.open(QIODevice::WriteOnly);
        log.write("1\r\n");
        QFile plan(data + "Listen/ListeUeplan.ztl");
        plan.open(QIODevice::WriteOnly);
        plan.write("3\r\nnot a number\r\n");
    }
};

TEST_F(EnglishEdition, ShowsNoGermanWordOnAnyScreenALearnerReaches) {
    testsupport::ScopedEnv code("SPRACHBANK_LANGUAGE", "1");
    Reader reader(GermanOnlyWords());
    // Boxes are read and answered "cancel" (or "OK" where they have no other).
    app::TMsgWin::SetAnswerer([&reader](app::TMsgWin& box) {
        const QString where = QStringLiteral("message box");
        reader.Read(where, box.Label1->Caption());
        reader.Read(where, box.Label2->Caption());
        reader.Read(where, box.BOK->Text());
        if (box.BCancel->Visible()) reader.Read(where, box.BCancel->Text());
        return box.BCancel->Visible() ? 2 : 1;
    });
    platform::SetMessageBoxHook([&reader](const QString& text, const QString& caption, unsigned) {
        reader.Read(QStringLiteral("platform box"), caption + "\n" + text);
        return platform::IDOK;
    });
    app::ShellServices services;
    services.ProgramFolder = testsupport::BinFolder();
    app::CreateProgramWindows(services);
    app::TForm1& main = *app::Form1;
    main.StartScreenTimerTimer(nullptr);
    Wait(1500);
    reader.ReadWindows("greeting");

    // The program's own button pictures carry the English words.
    EXPECT_TRUE(SamePicture(main.VideoPlayBmp.Image(), QImage(":/res/RVIDEOPLAYBMP_EN")));
    EXPECT_TRUE(SamePicture(main.VideoStopBmp.Image(), QImage(":/res/RVIDEOSTOPBMP_EN")));
    EXPECT_TRUE(SamePicture(main.KontrolleCover.Image(), QImage(":/res/RKONTROLLECOVER_EN")));
    EXPECT_FALSE(SamePicture(main.KontrolleCover.Image(), QImage(":/res/RKONTROLLECOVER")));

    main.ShowNoLessonScreen();
    reader.ReadWindows("no lesson");
    main.BStimmClick(nullptr);
    reader.ReadWindows("tuner");
    main.BExplorerClick(nullptr);
    reader.ReadWindows("explorer");
    main.BMonitorClick(nullptr);
    reader.ReadWindows("monitor");
    main.BExplorerClick(nullptr); // the mode button again: back to the practice plan
    main.BUeplanClick(nullptr);
    reader.ReadWindows("practice plan");
    main.BHilfeClick(nullptr);
    Wait(200);
    reader.ReadWindows("help");
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->windowTitle() == app::THelpWindow::Title()) window->hide();

    // Every lesson: its main screen, its slide windows, its quiz.
    for (int lesson = 0; lesson < lessons::kLessonCount; ++lesson) {
        const QString where = QStringLiteral("lesson %1").arg(lesson);
        main.Course->SetCurrentLesson(lesson);
        main.OpenLesson();
        reader.ReadWindows(where + " main screen");
        main.Course->SetOpenedFromLessonScreen(true);
        main.OpenSlidesA();
        for (lessons::TExtWin* window : {static_cast<lessons::TExtWin*>(lessons::ExtWinA),
                                         static_cast<lessons::TExtWin*>(lessons::ExtWinB),
                                         static_cast<lessons::TExtWin*>(lessons::ExtWinC)}) {
            if (!window->isVisible()) continue;
            reader.ReadWindows(where + " slides");
            window->BNext->Click();
            Wait(20);
        }
        lessons::QuizWin->ShowQuiz();
        reader.ReadWindows(where + " quiz");
        lessons::QuizWin->BNext->Click(); // nothing ticked: the failed-quiz box, answered "no"
        lessons::QuizWin->BCancel->Click();
    }
    // The quiz asked for too early, and the way out.
    main.Course->SetCurrentLesson(1);
    main.OpenLesson();
    main.Course->SetPlayCount(0);
    main.BKontrolleClick(nullptr);
    main.BBeendenClick(nullptr);
    reader.ReadWindows("exit dialog");
    EXPECT_TRUE(app::FBeenden->isVisible());
    app::FBeenden->BCancel->Click();
    // The box of a save that failed, as it is filled when leaving.
    reader.Read("save failure", app::ProgressSaver::FailureTitle() + "\n" +
                                    app::ProgressSaver::FailureBody("/data") + "\n" +
                                    app::ProgressSaver::RetryCaption() + "\n" + app::ProgressSaver::LeaveCaption());

    EXPECT_GT(reader.Texts(), 1000) << "the walk read too little to mean anything";
    for (const auto& [text, words] : reader.Found()) ADD_FAILURE() << "German in " << text.toStdString() << "  [" << words.toStdString() << "]";
    app::TMsgWin::SetAnswerer({});
    platform::SetMessageBoxHook({});
}

} // namespace
