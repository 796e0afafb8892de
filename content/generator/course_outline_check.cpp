// Checking the course outline: completeness, and agreement with the lesson
// registry and with the play cursor's beat grid.
#include "content/generator/course_outline.h"

#include "platform/core/cp1252.h"

#include <QString>

namespace content {

namespace {

class Checker {
public:
    Checker(const Lesson& lesson, std::vector<std::string>& errors)
        : lesson_(lesson), errors_(errors) {}
    void Fail(const std::string& message) const {
        errors_.push_back(lesson_.file + ": " + message);
    }
    template <typename T> void Same(const char* what, const T& have, const T& want) const {
        if (!(have == want)) Fail(std::string(what) + " disagrees with the lesson registry");
    }

private:
    const Lesson& lesson_;
    std::vector<std::string>& errors_;
};

std::string Beats(int units) {
    std::string text = std::to_string(units / kUnitsPerBeat);
    if (units % kUnitsPerBeat != 0) text += " " + std::to_string(units % kUnitsPerBeat) + "/8";
    return text;
}

bool FitsAnsi(const std::string& utf8) {
    QString text = QString::fromUtf8(utf8);
    return platform::FromAnsi(platform::ToAnsi(text)) == text;
}

void CheckRegistry(const Checker& check, const LessonValues& v, const RegistryRow& row) {
    check.Same("Header", v.header, row.header);
    check.Same("CountInBeats", v.countInBeats, row.countInBeats);
    check.Same("BeatDisplayOffset", v.beatDisplayOffset, row.beatDisplayOffset);
    check.Same("CursorActive", v.cursorActive, row.cursorActive);
    check.Same("PlayCountPreset", v.playCountPreset, row.playCountPreset);
    check.Same("AnswerKey", v.answerKey, row.answerKey);
    check.Same("TempoTable", v.tempo, row.tempo);
    check.Same("TempoTableOther", v.tempoOther, row.tempoOther);
    check.Same("CursorGeometry", v.geometry, row.geometry);
    check.Same("CursorGeometryLanguage1", v.geometryLanguage1, row.geometryLanguage1);
    check.Same("Hold", v.hold, row.hold);
}

void CheckTexts(const Checker& check, const Lesson& lesson) {
    if (lesson.title.empty()) check.Fail("no title");
    if (lesson.explorer.empty()) check.Fail("no explorer text");
    if (lesson.teaches.empty()) check.Fail("no 'teaches'");
    for (const std::string* text : {&lesson.title, &lesson.explorer})
        if (!FitsAnsi(*text)) check.Fail("text not representable in Windows-1252: " + *text);
}

void CheckSlides(const Checker& check, const Lesson& lesson) {
    static const char* names[] = {"A", "B", "C"};
    for (int w = 0; w < 3; ++w) {
        const auto& slide = lesson.slides[w];
        bool skipped = SkipsWindow(lesson.number, w);
        if (skipped && slide)
            check.Fail(std::string("the lesson passes over window ") + names[w] +
                       ": remove [slide " + names[w] + "]");
        if (!skipped && !slide) check.Fail(std::string("[slide ") + names[w] + "] missing");
        if (slide && (slide->heading.empty() || slide->paragraphs.empty()))
            check.Fail(std::string("[slide ") + names[w] + "] needs a heading and text");
        if (slide && slide->pictures.size() > 4)
            check.Fail(std::string("[slide ") + names[w] + "] shows at most four pictures");
        for (std::size_t k = 0; slide && k < slide->pictures.size(); ++k)
            if (slide->drawings[k].empty())
                check.Fail("line " + std::to_string(slide->pictureLines[k]) + ": the picture '" +
                           slide->pictures[k] + "' has no drawing (a 'draw:' line after it)");
        for (const std::string& video : slide ? slide->videos : std::vector<std::string>{})
            if (video.empty() || !FitsAnsi(video))
                check.Fail(std::string("[slide ") + names[w] + "]: a video line empty or not in Windows-1252");
    }
}

void CheckQuiz(const Checker& check, const Lesson& lesson) {
    for (int q = 0; q < 3; ++q) {
        const Question& question = lesson.quiz[q];
        std::string name = "question " + std::to_string(q + 1);
        if (question.text.empty()) check.Fail(name + ": no question text");
        if (question.choices.size() < 2 || question.choices.size() > 6)
            check.Fail(name + ": needs 2 to 6 choices");
        if (question.right != lesson.values.answerKey[q])
            check.Fail(name + ": the right answer is box " + std::to_string(question.right) +
                       ", the answer key says " + std::to_string(lesson.values.answerKey[q]));
    }
}

void CheckExercise(const Checker& check, const Exercise& exercise, const Geometry& g,
                   const LessonValues& values, const Outline& outline, const std::string& name) {
    const int beatsPerBar = static_cast<int>(g[kBeatsPerBar]);
    if (exercise.description.empty()) check.Fail(name + ": no description");
    if (exercise.bars.empty()) {
        check.Fail(name + ": no bars");
        return;
    }
    for (std::size_t b = 0; b < exercise.bars.size(); ++b) {
        const Bar& bar = exercise.bars[b];
        if (bar.units() != beatsPerBar * kUnitsPerBeat)
            check.Fail(name + ": bar " + std::to_string(b + 1) + " holds " + Beats(bar.units()) +
                       " beats, not " + std::to_string(beatsPerBar));
        for (const ScoreEvent& e : bar.events)
            if (e.kind == ScoreEvent::Kind::Chord && !outline.chords.count(e.chord))
                check.Fail(name + ": unknown chord [" + e.chord + "]");
    }
    for (int b : exercise.order)
        if (b >= static_cast<int>(exercise.bars.size()))
            check.Fail(name + ": order names bar " + std::to_string(b + 1) +
                       ", which does not exist");
    for (int b : exercise.fermataBars)
        if (b >= static_cast<int>(exercise.bars.size()))
            check.Fail(name + ": a fermata on bar " + std::to_string(b + 1) + ", which does not exist");
    if (exercise.eighths && (beatsPerBar != 4 || exercise.bars.size() % 2 != 0))
        check.Fail(name + ": counting in eighths needs bars of four beats, two to each 4/4 bar");
    for (const auto& [first, last] : exercise.ranges)
        if (exercise.eighths && (first % 2 != 0 || last % 2 != 1))
            check.Fail(name + ": counted in eighths, the order must play whole 4/4 bars (bar pairs 1-2, 3-4, ...)");
    const double strokes = FastestStrokesPerSecond(exercise, values.tempo.back());
    if (strokes > kMostStrokesPerSecond)
        check.Fail(name + ": at level 10 (" + std::to_string(values.tempo.back()) + " beats per minute) the hand "
                   "strikes " + std::to_string(strokes).substr(0, 4) + " times a second; at most " +
                   std::to_string(kMostStrokesPerSecond).substr(0, 3) + " are playable");
    const int notationBeats = static_cast<int>(exercise.bars.size()) * beatsPerBar;
    if (notationBeats != static_cast<int>(g[kWrapLength]))
        check.Fail(name + ": the notation holds " + std::to_string(notationBeats) +
                   " beats, the cursor's wrap length is " + std::to_string(int(g[kWrapLength])));
    const int played = exercise.PlayedBeats(beatsPerBar);
    const int beatCount = static_cast<int>(g[kBeatCount]);
    if (values.cursorActive ? played != beatCount : played < beatCount) {
        check.Fail(name + ": " + std::to_string(played) + " beats are played, the beat count is " +
                   std::to_string(beatCount));
        return;
    }
    if (!values.cursorActive) return;
    if (values.hold[0] >= 0) {
        // Where the point stands still, the music holds too: a fermata bar.
        const int held = exercise.order[static_cast<std::size_t>(values.hold[0] / beatsPerBar)];
        if (!exercise.HasFermata(held))
            check.Fail(name + ": the point holds still in bar " + std::to_string(held + 1) +
                       ", which needs a fermata");
    }
    for (int p = 0; p < beatCount; ++p) {
        int shown = CursorNotationBeat(g, values.hold, p);
        int bar = exercise.order[static_cast<std::size_t>(p / beatsPerBar)];
        int expected = bar * beatsPerBar + p % beatsPerBar;
        if (shown >= 0 && shown != expected) {
            check.Fail(name + ": at exercise beat " + std::to_string(p + 1) + " bar " +
                       std::to_string(bar + 1) + " plays, but the cursor shows notation beat " +
                       std::to_string(shown + 1));
            return;
        }
    }
}

} // namespace

void ValidateOutline(const Outline& outline, std::vector<std::string>& errors) {
    CheckQuizBalance(outline, "the German edition", errors);
    if (outline.closingTitle.empty() || outline.closingText.empty())
        errors.push_back("abschluss.txt: title and explorer text needed");
    if (!FitsAnsi(outline.closingTitle) || !FitsAnsi(outline.closingText))
        errors.push_back("abschluss.txt: text not representable in Windows-1252");
    if (outline.lessons.size() != kLessonCount) {
        errors.push_back("the course needs 30 lessons");
        return;
    }
    for (int n = 0; n < kLessonCount; ++n) {
        const Lesson& lesson = outline.lessons[n];
        Checker check(lesson, errors);
        if (lesson.number != n) {
            check.Fail("'lesson: " + std::to_string(n) + "' expected");
            continue;
        }
        const RegistryRow& row = Registry(n);
        CheckRegistry(check, lesson.values, row);
        CheckTexts(check, lesson);
        CheckSlides(check, lesson);
        CheckQuiz(check, lesson);
        if (!lesson.exercise)
            check.Fail("[exercise] missing");
        else
            CheckExercise(check, *lesson.exercise, row.geometry, lesson.values, outline,
                          "[exercise]");
        if (lesson.exerciseLanguage1) {
            if (row.geometryLanguage1.empty())
                check.Fail("[exercise language1] without a language 1 geometry");
            else {
                Geometry g{};
                for (int i = 0; i < kGeometryColumns; ++i)
                    g[i] = row.geometryLanguage1[i];
                CheckExercise(check, *lesson.exerciseLanguage1, g, lesson.values, outline,
                              "[exercise language1]");
            }
        } else if (!row.geometryLanguage1.empty() &&
                   row.geometryLanguage1[kBeatCount] != row.geometry[kBeatCount]) {
            check.Fail("[exercise language1] needed: language 1 has its own beat count");
        }
    }
}

void ValidateExercises(const Outline& outline, std::vector<std::string>& errors) {
    for (const Lesson& lesson : outline.lessons) {
        Checker check(lesson, errors);
        if (lesson.exercise)
            CheckExercise(check, *lesson.exercise, lesson.values.geometry, lesson.values, outline, "[exercise]");
    }
}

std::string QuizBalance::Summary() const {
    std::string text = "boxes 1-6:";
    for (int box = 1; box <= 6; ++box) text += " " + std::to_string(perBox[static_cast<std::size_t>(box)]);
    return text + "; last " + std::to_string(last) + ", longest " + std::to_string(longest) + " of " +
           std::to_string(questions);
}

QuizBalance MeasureQuizzes(const Outline& outline) {
    QuizBalance balance;
    for (const Lesson& lesson : outline.lessons)
        for (const Question& q : lesson.quiz) {
            if (q.right < 1 || q.right > static_cast<int>(q.choices.size()) || q.right > 6) continue;
            ++balance.questions;
            ++balance.perBox[static_cast<std::size_t>(q.right)];
            if (q.right == static_cast<int>(q.choices.size())) ++balance.last;
            const auto length = [](const std::string& s) { return QString::fromUtf8(s).size(); };
            const auto right = length(q.choices[static_cast<std::size_t>(q.right - 1)]);
            bool longest = true;
            for (std::size_t c = 0; c < q.choices.size(); ++c)
                if (static_cast<int>(c) != q.right - 1 && length(q.choices[c]) >= right) longest = false;
            if (longest) ++balance.longest;
        }
    return balance;
}

void CheckQuizBalance(const Outline& outline, const std::string& edition, std::vector<std::string>& errors) {
    const QuizBalance b = MeasureQuizzes(outline);
    const int most = b.questions / 3, fewest = b.questions / 8;
    std::string where = edition + ": the quizzes' right answers (" + b.Summary() + ")";
    for (int box = 1; box <= 6; ++box)
        if (b.perBox[static_cast<std::size_t>(box)] > most)
            errors.push_back(where + ": too many in box " + std::to_string(box));
    if (b.last > most) errors.push_back(where + ": too often the last answer");
    if (b.last < fewest) errors.push_back(where + ": too seldom the last answer");
    if (b.longest > most) errors.push_back(where + ": too often the longest answer");
    if (b.longest < fewest) errors.push_back(where + ": too seldom the longest answer");
}

} // namespace content
