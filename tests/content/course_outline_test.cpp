// The course outline: the shipped lessons parse and agree with the lesson
// registry, the cursor arithmetic follows the play cursor, and every kind of
// inconsistency between an exercise and the registry is reported.

#include "content/generator/course_outline.h"
#include "content/generator/course_registry.h"
#include "platform/core/files.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace content;

namespace {

const std::string kCourse = ZUPFARI_CONTENT_SOURCES "/course";

std::string JoinErrors(const std::vector<std::string>& errors) {
    std::string all;
    for (const std::string& e : errors)
        all += e + "\n";
    return all;
}

// A copy of the shipped outline in a temporary folder, to be broken on purpose.
class BrokenOutline : public ::testing::Test {
protected:
    void SetUp() override {
        for (const auto& entry : std::filesystem::directory_iterator(kCourse))
            if (entry.is_regular_file())
                std::filesystem::copy_file(entry.path(),
                                           folder_.Path() + entry.path().filename().string());
    }
    // Replaces the first `from` in `file` by `to`.
    void Change(const std::string& file, const std::string& from, const std::string& to) {
        std::string path = folder_.Path() + file;
        std::string text = platform::ReadFileBytes(path).value_or("");
        std::size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
        folder_.Write(file, text);
    }
    std::string Errors() {
        std::vector<std::string> errors;
        Outline outline = LoadOutline(folder_.Path(), errors);
        ValidateOutline(outline, errors);
        return JoinErrors(errors);
    }
    testsupport::TempFolder folder_;
};

} // namespace

TEST(CourseOutline, ShippedOutlineIsCompleteAndAgreesWithTheRegistry) {
    std::vector<std::string> errors;
    Outline outline = LoadOutline(kCourse, errors);
    ValidateOutline(outline, errors);
    EXPECT_EQ(JoinErrors(errors), "");
    ASSERT_EQ(outline.lessons.size(), 30u);
    EXPECT_EQ(outline.lessons[9].values.countInBeats, 3);
    EXPECT_EQ(outline.lessons[28].values.countInBeats, 8);
    EXPECT_EQ(outline.lessons[0].values.playCountPreset, 3);
    EXPECT_EQ(outline.lessons[29].values.beatDisplayOffset, -1);
    EXPECT_DOUBLE_EQ(outline.lessons[16].values.geometry[kBeatWidth], 23.2);
    // Lesson 9 is in three-four time, lesson 12 has an English variant of 16 bars.
    EXPECT_EQ(outline.lessons[9].exercise->bars[0].units(), 3 * kUnitsPerBeat);
    ASSERT_TRUE(outline.lessons[12].exerciseLanguage1.has_value());
    EXPECT_EQ(outline.lessons[12].exerciseLanguage1->PlayedBeats(4), 64);
    EXPECT_EQ(outline.lessons[12].exercise->PlayedBeats(4), 56);
    // Every lesson has its three questions with the right box where the key says.
    for (const Lesson& lesson : outline.lessons)
        for (int q = 0; q < 3; ++q)
            EXPECT_EQ(lesson.quiz[q].right, Registry(lesson.number).answerKey[q]);
}

TEST(CourseOutline, ScoreEventsParseWithTheirDurations) {
    std::vector<std::string> errors;
    Outline outline = LoadOutline(kCourse, errors);
    ASSERT_TRUE(errors.empty());
    // Lesson 16 ends on a pinched chord A0+g2+h1+e0 of four beats.
    const ScoreEvent& pinch = outline.lessons[16].exercise->bars[7].events[0];
    EXPECT_EQ(pinch.kind, ScoreEvent::Kind::Notes);
    ASSERT_EQ(pinch.notes.size(), 4u);
    EXPECT_EQ(pinch.notes[0], std::make_pair(1, 0));
    EXPECT_EQ(pinch.notes[1], std::make_pair(3, 2));
    EXPECT_EQ(pinch.units, 4 * kUnitsPerBeat);
    EXPECT_EQ(StringNote(3, 2), 57); // g string, 2nd fret: A3
    // Lesson 22's folk strum: down, down-up, a missed strum on three, up-down-up.
    const Bar& strum = outline.lessons[22].exercise->bars[0];
    ASSERT_EQ(strum.events.size(), 7u);
    EXPECT_EQ(strum.events[0].chord, "G");
    EXPECT_TRUE(strum.events[2].upStroke);
    EXPECT_EQ(strum.events[3].kind, ScoreEvent::Kind::Ghost);
    EXPECT_FALSE(strum.events[3].Sounds());
    EXPECT_EQ(strum.events[3].units, kUnitsPerBeat / 2);
    // Lesson 9's waltz: the bass note, then two light strums over three strings.
    const Bar& waltz = outline.lessons[9].exercise->bars[0];
    EXPECT_EQ(waltz.events[1].chord, "Am");
    EXPECT_EQ(waltz.events[1].strings, 3);
    EXPECT_EQ(outline.chords.at("C").frets, (std::array<int, 6>{-1, 3, 2, 0, 1, 0}));
    EXPECT_EQ(outline.chords.at("C").fingers, (std::array<int, 6>{0, 3, 2, 0, 1, 0}));
    // Lesson 19 holds its fifth bar, lesson 28 counts in eighths.
    EXPECT_TRUE(outline.lessons[19].exercise->HasFermata(4));
    EXPECT_FALSE(outline.lessons[19].exercise->HasFermata(3));
    EXPECT_TRUE(outline.lessons[28].exercise->eighths);
    // Every picture line says what it shows.
    const Slide& posture = *outline.lessons[1].slides[0];
    EXPECT_EQ(posture.drawings, (std::vector<std::string>{"posture side", "posture front"}));
}

TEST(CourseOutline, NoExerciseAsksForMoreThanFiveStrokesASecondAtLevelTen) {
    std::vector<std::string> errors;
    Outline outline = LoadOutline(kCourse, errors);
    ASSERT_TRUE(errors.empty());
    for (const Lesson& lesson : outline.lessons)
        EXPECT_LE(FastestStrokesPerSecond(*lesson.exercise, lesson.values.tempo.back()), kMostStrokesPerSecond)
            << lesson.file;
    // Lesson 28 at 166 beats a minute, counted in eighths: one stroke per beat at most.
    EXPECT_NEAR(FastestStrokesPerSecond(*outline.lessons[28].exercise, 166), 166 / 60.0, 1e-9);
}

TEST(CourseOutline, StrokesASecondCountSoundingStrokesAcrossBarsAndRepeats) {
    using Kind = ScoreEvent::Kind;
    Exercise exercise;
    exercise.bars.resize(2);
    // A strum is one stroke however many strings it sounds; a missed strum
    // and a rest are none: the closest strokes of bar 1 are 6 units apart.
    exercise.bars[0].events = {ScoreEvent{Kind::Chord, {}, "Em", false, 6, 4}, ScoreEvent{Kind::Ghost, {}, "", true, 6, 2},
                               ScoreEvent{Kind::Chord, {}, "Em", true, 6, 6}, ScoreEvent{Kind::Rest, {}, "", false, 6, 20}};
    // Bar 2 ends with a note two units before the next bar begins.
    exercise.bars[1].events = {ScoreEvent{Kind::Notes, {{0, 0}}, "", false, 6, 30},
                               ScoreEvent{Kind::Notes, {{0, 3}, {5, 3}}, "", false, 6, 2}};
    exercise.order = {0, 1};
    // At 120 beats a minute (2 beats, 16 units a second): 16 / 6 strokes a second.
    EXPECT_DOUBLE_EQ(FastestStrokesPerSecond(exercise, 120), 16.0 / 6);
    // Played bar 2 first, its last note and bar 1's first strum lie 2 units apart.
    exercise.order = {1, 0};
    EXPECT_DOUBLE_EQ(FastestStrokesPerSecond(exercise, 120), 8.0);
    EXPECT_DOUBLE_EQ(FastestStrokesPerSecond(exercise, 60), 4.0);
}

TEST(CourseOutline, CursorArithmeticFollowsJumpsFoldAndHold) {
    // Lesson 2: the second pass folds back onto the same two lines.
    EXPECT_EQ(CursorNotationBeat(Registry(2).geometry, Registry(2).hold, 40), 8);
    // Lesson 19: part A repeats, the fermata bar holds, part B repeats.
    const RegistryRow& r19 = Registry(19);
    EXPECT_EQ(CursorNotationBeat(r19.geometry, r19.hold, 15), 15);
    EXPECT_EQ(CursorNotationBeat(r19.geometry, r19.hold, 16), 0);
    EXPECT_EQ(CursorNotationBeat(r19.geometry, r19.hold, 33), -1);
    EXPECT_EQ(CursorNotationBeat(r19.geometry, r19.hold, 36), 20);
    EXPECT_EQ(CursorNotationBeat(r19.geometry, r19.hold, 52), 20);
    EXPECT_EQ(CursorNotationBeat(r19.geometry, r19.hold, 67), 35);
    // Lesson 28: both jumps, then the fold with the first jump again.
    const RegistryRow& r28 = Registry(28);
    EXPECT_EQ(CursorNotationBeat(r28.geometry, r28.hold, 32), 0);
    EXPECT_EQ(CursorNotationBeat(r28.geometry, r28.hold, 80), 32);
    EXPECT_EQ(CursorNotationBeat(r28.geometry, r28.hold, 112), 0);
    EXPECT_EQ(CursorNotationBeat(r28.geometry, r28.hold, 175), 31);
}

TEST(CourseOutline, RegistryTablesHoldTheLessonsSpecialCases) {
    EXPECT_EQ(Registry(9).geometry[kBeatsPerBar], 3);
    EXPECT_EQ(Registry(12).tempoOther.front(), 60);
    EXPECT_EQ(Registry(12).geometryLanguage1[kOriginY], 345);
    EXPECT_TRUE(Registry(17).tempoOther.size() == 10 && Registry(27).tempoOther.size() == 10);
    EXPECT_TRUE(Registry(15).tempoOther.empty());
    EXPECT_EQ(Registry(25).tempo[9], 178);
    EXPECT_TRUE(SkipsWindow(17, 0) && SkipsWindow(17, 1) && !SkipsWindow(17, 2));
    EXPECT_TRUE(SkipsWindow(3, 1) && !SkipsWindow(3, 0));
}

TEST_F(BrokenOutline, TheUnchangedCopyIsClean) {
    EXPECT_EQ(Errors(), "");
}

TEST_F(BrokenOutline, RightAnswerInTheWrongBoxIsReported) {
    Change("lektion01.txt",
           "choice: Mit dem Zeigefinger\nchoice: Mit dem Mittelfinger\nright: Mit dem Daumen",
           "right: Mit dem Daumen\nchoice: Mit dem Zeigefinger\nchoice: Mit dem Mittelfinger");
    EXPECT_NE(Errors().find(
                  "lektion01.txt: question 2: the right answer is box 1, the answer key says 3"),
              std::string::npos);
}

TEST_F(BrokenOutline, PictureWithoutDrawingIsReportedWithItsLine) {
    Change("lektion02.txt", "draw: peg\n", "");
    Change("lektion02.txt", "draw: tuner", "picture: Ein zweites Bild.\ndraw: tuner");
    const std::string errors = Errors();
    EXPECT_NE(errors.find("lektion02.txt: line "), std::string::npos) << errors;
    EXPECT_NE(errors.find("the picture 'Ein Wirbel mit Drehrichtung: straffer und lockerer.' has no drawing"),
              std::string::npos) << errors;
    EXPECT_NE(errors.find("the picture 'Der Tuner mit dem Griffbrett und den sechs Saitennamen.' has no drawing"),
              std::string::npos) << errors;
}

TEST_F(BrokenOutline, StrummingTooFastForLevelTenIsReported) {
    // Lesson 14 at 112 beats a minute: sixteenth strums would be 7.5 a second.
    Change("lektion14.txt", "| [G] [G] [G] [G] |",
           "| [G]:1/4 [G]^:1/4 [G]:1/4 [G]^:1/4 [G] [G] [G] |");
    EXPECT_NE(Errors().find("lektion14.txt: [exercise]: at level 10 (112 beats per minute) the hand strikes 7.46"),
              std::string::npos) << Errors();
}

TEST_F(BrokenOutline, HeldStillPointNeedsAFermataAndEighthsNeedWholeBars) {
    Change("lektion19.txt", "fermata: 5\n", "");
    Change("lektion28.txt", "order: 1-8 1-12 9-16 1-8 1-8", "order: 1-8 1-12 9-16 1-8 2-9");
    const std::string errors = Errors();
    EXPECT_NE(errors.find("lektion19.txt: [exercise]: the point holds still in bar 5, which needs a fermata"),
              std::string::npos) << errors;
    EXPECT_NE(errors.find("lektion28.txt: [exercise]: counted in eighths, the order must play whole 4/4 bars"),
              std::string::npos) << errors;
}

TEST(QuizBalance, RightAnswersThatGiveThemselvesAwayAreReported) {
    // A course whose right answers are always the last and the longest choice.
    Outline outline;
    outline.lessons.resize(30);
    for (Lesson& lesson : outline.lessons)
        for (Question& q : lesson.quiz) {
            q.choices = {"A", "B", "C", "The long right one"};
            q.right = 4;
        }
    QuizBalance balance = MeasureQuizzes(outline);
    EXPECT_EQ(balance.questions, 90);
    EXPECT_EQ(balance.perBox[4], 90);
    EXPECT_EQ(balance.last, 90);
    EXPECT_EQ(balance.longest, 90);
    std::vector<std::string> errors;
    CheckQuizBalance(outline, "test", errors);
    EXPECT_EQ(errors.size(), 3u); // box 4, last, longest
    // Spread over the boxes, short and long, sometimes last: no complaint.
    for (int n = 0; n < 30; ++n)
        for (int k = 0; k < 3; ++k) {
            Question& q = outline.lessons[static_cast<std::size_t>(n)].quiz[static_cast<std::size_t>(k)];
            q.right = 1 + (n * 3 + k) % 4;
            q.choices = {"aa", "bbb", "cc", "dd"};
            q.choices[static_cast<std::size_t>(q.right - 1)] = (n + k) % 4 == 0 ? "rrrr" : "r";
        }
    errors.clear();
    CheckQuizBalance(outline, "test", errors);
    EXPECT_TRUE(errors.empty()) << errors.front() << MeasureQuizzes(outline).Summary();
    // Never last, never the longest: a give-away as well.
    for (Lesson& lesson : outline.lessons)
        for (Question& q : lesson.quiz) {
            q.right = 1;
            q.choices = {"r", "bbb", "ccc", "ddd"};
        }
    errors.clear();
    CheckQuizBalance(outline, "test", errors);
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_NE(errors[1].find("too seldom the last answer"), std::string::npos);
}

TEST_F(BrokenOutline, BarOfTheWrongLengthIsReported) {
    Change("lektion06.txt", "| [Em]:2 [Em]:2 | [Em] [Em]", "| [Em]:2 [Em]:3 | [Em] [Em]");
    EXPECT_NE(Errors().find("lektion06.txt: [exercise]: bar 2 holds 5"), std::string::npos);
}

TEST_F(BrokenOutline, PlayOrderThatTheCursorCannotFollowIsReported) {
    // Lesson 3 repeats its two lines; playing bar 2 first breaks the cursor's fold.
    Change("lektion03.txt", "order: 1-8 1-8", "order: 1-8 2-8 1");
    std::string errors = Errors();
    EXPECT_NE(errors.find("lektion03.txt: [exercise]: at exercise beat 33 bar 2 plays"),
              std::string::npos)
        << errors;
}

TEST_F(BrokenOutline, ExerciseLongerThanTheBeatCountIsReported) {
    Change("lektion01.txt", "order: 1-4 1-4", "order: 1-4 1-4 1");
    EXPECT_NE(Errors().find("lektion01.txt: [exercise]: 36 beats are played, the beat count is 32"),
              std::string::npos);
}

TEST_F(BrokenOutline, RegistryValuesThatDisagreeAreReported) {
    Change("lektion09.txt", "CountInBeats: 3", "CountInBeats: 4");
    Change("lektion25.txt", "178", "180");
    std::string errors = Errors();
    EXPECT_NE(errors.find("lektion09.txt: CountInBeats disagrees"), std::string::npos);
    EXPECT_NE(errors.find("lektion25.txt: TempoTable disagrees"), std::string::npos);
}

TEST_F(BrokenOutline, SlidesMustMatchTheWindowsTheLessonShows) {
    Change("lektion02.txt", "[slide B]", "[slide A]\nheading: x\ntext: y\n\n[slide B]");
    Change("lektion05.txt", "[slide A]", "[slide X]");
    std::string errors = Errors();
    EXPECT_NE(errors.find("lektion02.txt: the lesson passes over window A"), std::string::npos);
    EXPECT_NE(errors.find("lektion05.txt:"), std::string::npos);
    EXPECT_NE(errors.find("unknown section [slide X]"), std::string::npos);
}

TEST_F(BrokenOutline, UnknownChordsNotesAndDurationsAreReportedWithTheirLine) {
    Change("lektion07.txt", "| [Em]:4 | [Am]:4 |", "| [Fis7]:4 | [Am]:4 |");
    Change("lektion04.txt", "h1 h3 e0 e1 |", "h1 h3 e0 x9 |");
    Change("lektion10.txt", "| [C]:4 | [C]:2", "| [C]:4/3 | [C]:2");
    std::string errors = Errors();
    EXPECT_NE(errors.find("lektion07.txt: [exercise]: unknown chord [Fis7]"), std::string::npos);
    EXPECT_NE(errors.find("bad note 'x9'"), std::string::npos);
    EXPECT_NE(errors.find("bad duration in '[C]:4/3'"), std::string::npos);
    EXPECT_NE(errors.find("lektion04.txt:"), std::string::npos);
}

TEST_F(BrokenOutline, MissingLessonAndTextOutsideWindows1252AreReported) {
    std::filesystem::remove(folder_.Path() + "lektion13.txt");
    Change("lektion00.txt", "title: Willkommen", "title: Willkommen \xE2\x99\xAB");
    std::string errors = Errors();
    EXPECT_NE(errors.find("lektion13.txt:0: missing or empty file"), std::string::npos);
    EXPECT_NE(errors.find("lektion00.txt: text not representable in Windows-1252"),
              std::string::npos);
}

TEST(CourseOutline, PlayedNotesFollowThePlayOrderAndVoiceTheChords) {
    std::vector<std::string> errors;
    Outline outline = LoadOutline(kCourse, errors);
    ASSERT_TRUE(errors.empty());
    // Lesson 1: the open E string four times, then A; the line is played twice.
    std::vector<PlayedNote> open = PlayedNotes(*outline.lessons[1].exercise, outline);
    ASSERT_EQ(open.size(), 2u * 15);
    EXPECT_EQ(open[0].note, 40);
    EXPECT_EQ(open[4].note, 45);
    EXPECT_EQ(open[4].start, 4 * kUnitsPerBeat);
    EXPECT_EQ(open[15].start, 16 * kUnitsPerBeat); // second time through
    // Lesson 14, bar 2: eighths, down on E2 first, up from the high e string.
    std::vector<PlayedNote> strum = PlayedNotes(*outline.lessons[14].exercise, outline);
    auto firstAt = [&](int start) {
        return std::find_if(strum.begin(), strum.end(),
                            [&](const PlayedNote& n) { return n.start == start; });
    };
    auto down = firstAt(4 * kUnitsPerBeat), up = firstAt(4 * kUnitsPerBeat + kUnitsPerBeat / 2);
    ASSERT_NE(down, strum.end());
    ASSERT_NE(up, strum.end());
    EXPECT_EQ(down->note, 43); // G chord, low E string 3rd fret
    EXPECT_FALSE(down->upStroke);
    EXPECT_EQ(up->note, 67); // high e string 3rd fret struck first going up
    EXPECT_TRUE(up->upStroke);
    EXPECT_EQ(up->length, kUnitsPerBeat / 2);
    // Lesson 22: the missed strum on three lets the up-stroke before it ring
    // a whole beat; a strum over the high strings sounds only those.
    std::vector<PlayedNote> folk = PlayedNotes(*outline.lessons[22].exercise, outline);
    auto twoAnd = std::find_if(folk.begin(), folk.end(), [](const PlayedNote& n) {
        return n.start == 3 * kUnitsPerBeat / 2;
    });
    ASSERT_NE(twoAnd, folk.end());
    EXPECT_EQ(twoAnd->length, kUnitsPerBeat);
    std::vector<PlayedNote> waltz = PlayedNotes(*outline.lessons[9].exercise, outline);
    EXPECT_EQ(std::count_if(waltz.begin(), waltz.end(), [](const PlayedNote& n) { return n.start == kUnitsPerBeat; }), 3);
    EXPECT_EQ(std::count_if(waltz.begin(), waltz.end(),
                            [](const PlayedNote& n) { return n.start == kUnitsPerBeat && n.note < 55; }),
              0); // nothing below the open g string
    // Lesson 8: a rest after a strum is silence (the strum is not held over it).
    std::vector<PlayedNote> rests = PlayedNotes(*outline.lessons[8].exercise, outline);
    for (const PlayedNote& n : rests)
        if (n.start == 12 * kUnitsPerBeat) EXPECT_EQ(n.length, 2 * kUnitsPerBeat);
    // Every exercise with the cursor ends exactly at its beat count.
    for (const Lesson& lesson : outline.lessons) {
        if (!lesson.values.cursorActive) continue;
        std::vector<PlayedNote> notes = PlayedNotes(*lesson.exercise, outline);
        ASSERT_FALSE(notes.empty()) << lesson.number;
        int end = 0;
        for (const PlayedNote& n : notes)
            end = std::max(end, n.start + n.length);
        EXPECT_LE(end, static_cast<int>(lesson.values.geometry[kBeatCount]) * kUnitsPerBeat)
            << lesson.number;
    }
}
