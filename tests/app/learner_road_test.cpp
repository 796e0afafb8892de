// A new learner's road through the real program on a private X display,
// with real clicks and keys, read as the program reports what it shows:
// lesson 27 (the shortest exercise: a few seconds a pass at level 10) first
// in the plan. A click on the tempo bar's track sets the level box to the
// level that then plays; the keys bring the level back up; the pass counter
// beside the lesson counts each of the three passes at level 10; the quiz
// that opens then is answered by clicks on the answers' texts, not their
// boxes, and the lesson leaves the plan.

#include "tests/app/transportrun.h"

#include "layout/screenlayout.h"
#include "lessons/registrydata.h"
#include "lessons/skinloader.h"
#include "lessons/skinreader.h"
#include "platform/core/cp1252.h"
#include "platform/core/pathresolver.h"
#include "sprachbank/sprachbank.h"

#include <QFile>
#include <csignal>
#include <gtest/gtest.h>
#include <map>

namespace {

using testsupport::WaitFor;
using testsupport::XvfbServer;
using transportrun::LessonOneRun;

constexpr int kLesson = 27;

const QPoint kKontrolle =
    layout::BKontrolle + QPoint(layout::Button.width() / 2, layout::Button.height() / 2);
// Three quarters down the tempo bar's track: a slow level.
const QPoint kTempoLow =
    layout::TempoBar.topLeft() + QPoint(layout::TempoBar.width() / 2, layout::TempoBar.height() * 3 / 4);
// The quiz's "OK", the lowest of its buttons.
const QPoint kQuizOk = QPoint(layout::QuizButtonsLeft, layout::QuizButtonsBottom - layout::Button.height()) +
                       QPoint(layout::Button.width() / 2, layout::Button.height() / 2);

QString Caption(int number) {
    return platform::FromAnsi(DLL_GetCaption(number));
}

// The latest caption the program reported for `control`; empty for none.
QString LastCaption(testsupport::RealProgram& program, const QString& control) {
    const QString marker = "ZUPFARI-CAPTION " + control + " ";
    const QString& report = program.Stderr();
    const qsizetype at = report.lastIndexOf(marker);
    if (at < 0) return {};
    const qsizetype end = report.indexOf('\n', at);
    return report.mid(at + marker.size(), end < 0 ? -1 : end - at - marker.size()).trimmed();
}

// A point on the text of the right answer of each question of the lesson's
// quiz (quiz-window pixels): right of its box, inside the answer's row.
std::vector<QPoint> RightAnswerTexts(int lesson) {
    std::vector<QPoint> points;
    QFile file(QString::fromStdString(platform::ResolveAnsiPath(testsupport::BinFolder() + lessons::QuizFile(lesson))));
    if (!file.open(QIODevice::ReadOnly)) return points;
    lessons::SkinReader reader(lessons::SplitSkinLines(file.readAll().toStdString()));
    std::map<int, lessons::SkinGroupRecord> groups;
    while (const std::optional<lessons::SkinRecord> record = reader.Next())
        if (const auto* group = std::get_if<lessons::SkinGroupRecord>(&*record)) groups[group->index] = *group;
    const std::array<int, 3> key = lessons::LessonValuesOf(lesson).AnswerKey;
    for (int question = 0; question < 3; ++question) {
        const auto& boxes = groups[question].boxes;
        const int box = key[std::size_t(question)] - 1;
        if (box < 0 || box >= int(boxes.size())) return {};
        points.emplace_back(boxes[std::size_t(box)].first + lessons::CheckGroup::kBoxSize + 40,
                            boxes[std::size_t(box)].second + lessons::CheckGroup::kBoxSize / 2);
    }
    return points;
}

// The origin of the quiz window: the window of the main window's size that
// is not the main window, or the main window's place when it covers it.
QPoint QuizOrigin(LessonOneRun& run) {
    for (const QRect& window : run.Pointer().ViewableWindows())
        if (window.size() == layout::MainWindow && window.topLeft() != run.WindowOrigin()) return window.topLeft();
    return run.WindowOrigin();
}

int WindowsOfMainSize(testsupport::XDriver& pointer) {
    int count = 0;
    for (const QRect& window : pointer.ViewableWindows()) count += window.size() == layout::MainWindow ? 1 : 0;
    return count;
}

TEST(LearnerRoad, TempoTrackPassCounterAndQuizAnsweredByItsTexts) {
    const testsupport::ScopedEnv german("SPRACHBANK_LANGUAGE", "0"); // as the program runs
    XvfbServer xvfb;
    if (!xvfb.Start()) GTEST_SKIP() << "no Xvfb on this machine";
    LessonOneRun run(xvfb.Display(), "MIDI Log", kLesson);
    if (!run.Pointer().Ready()) GTEST_SKIP() << "no XTest on this display";
    run.SetEnv("ZUPFARI_CAPTIONS", "LProgress,LLevel");
    ASSERT_TRUE(run.Start()) << run.Failure().toStdString();
    testsupport::RealProgram& program = run.Program();
    auto plan = [&] { return program.ListLines("ListeUeplan.ztl"); };
    const QString none = Caption(600).arg(0).arg(3);
    ASSERT_TRUE(WaitFor([&] { return LastCaption(program, "LProgress") == none; }, 10000))
        << "counter: " << LastCaption(program, "LProgress").toStdString() << ", wanted " << none.toStdString();

    // A click low on the tempo track: the box shows a slower level, and
    // that level is what plays (the plan keeps the level of the pass).
    run.Click(kTempoLow);
    ASSERT_TRUE(WaitFor([&] {
        const int level = LastCaption(program, "LLevel").toInt();
        return level >= 1 && level < 10;
    }, 5000)) << "level box: " << LastCaption(program, "LLevel").toStdString();
    const QString low = LastCaption(program, "LLevel");
    const int started = run.Count("engine-start"), ready = run.Count("transport-ready");
    ASSERT_TRUE(run.Key("F5"));
    ASSERT_TRUE(run.WaitForCount("engine-start", started + 1, 10000));
    EXPECT_TRUE(WaitFor([&] { return plan().value(2) == low; }, 5000))
        << "box " << low.toStdString() << ", plan " << plan().value(2).toStdString();
    // F7 stops the pass once the exercise plays (the count-in takes no keys).
    bool stopped = false;
    for (int tries = 0; tries < 40 && !stopped; ++tries) {
        ASSERT_TRUE(run.Key("F7"));
        stopped = run.WaitForCount("transport-ready", ready + 1, 500);
    }
    ASSERT_TRUE(stopped) << "F7 did not stop the pass";
    EXPECT_EQ(LastCaption(program, "LProgress"), none) << "a pass below level 10 counted";

    // "+" steps the level up, one level a press, and the box follows.
    for (int level = low.toInt() + 1; level <= 10; ++level) {
        ASSERT_TRUE(run.Key("KP_Add")); // "+" on the keypad
        ASSERT_TRUE(WaitFor([&] { return LastCaption(program, "LLevel") == QString::number(level); }, 5000))
            << level << ": " << LastCaption(program, "LLevel").toStdString();
    }

    // Each pass at level 10 shows in the counter; the third opens the quiz.
    for (int pass = 1; pass <= 3; ++pass) {
        ASSERT_TRUE(run.PlayOnePass(30000)) << "pass " << pass << "\n" << program.Stderr().toStdString();
        const QString counted = Caption(pass < 3 ? 600 : 601).arg(pass).arg(3);
        EXPECT_TRUE(WaitFor([&] { return LastCaption(program, "LProgress") == counted; }, 5000))
            << "pass " << pass << ": " << LastCaption(program, "LProgress").toStdString();
        EXPECT_EQ(plan().mid(1, 3), (QStringList{QString::number(kLesson), "10", QString::number(pass)}));
    }

    // The quiz answered with clicks on the right answers' texts: the
    // lesson is done and leaves the plan.
    run.Click(kKontrolle);
    ASSERT_TRUE(WaitFor([&] { return WindowsOfMainSize(run.Pointer()) == 2; }, 10000)) << "no quiz window";
    const QPoint quiz = QuizOrigin(run);
    const std::vector<QPoint> answers = RightAnswerTexts(kLesson);
    ASSERT_EQ(answers.size(), 3u);
    for (const QPoint& answer : answers) run.Pointer().Click(quiz.x() + answer.x(), quiz.y() + answer.y());
    run.Pointer().Click(quiz.x() + kQuizOk.x(), quiz.y() + kQuizOk.y());
    EXPECT_TRUE(WaitFor([&] { return plan().value(1) != QString::number(kLesson); }, 10000))
        << plan().join(' ').toStdString() << "\n" << program.Stderr().toStdString();
    program.EndWith(SIGTERM);
}

} // namespace
