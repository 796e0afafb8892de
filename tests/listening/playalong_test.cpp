// The play-along check on learner takes rendered through the synthesizer:
// takes as written, takes with every kind of fault, a silent take, the
// speakers' bleed of the exercise with its guitar part muted; the check fed
// block by block as the microphone feeds it; zupfari-listen check.
#include "listening/playalongcheck.h"
#include "listening/playalonglistener.h"
#include "tests/listening/learnertake.h"
#include "tests/listening/listentool.h"
#include "tests/listening/pluck.h"
#include "tests/support/testsupport.h"

#include <QProcess>
#include <QStringList>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

using namespace listening;
using namespace listentest;

ExercisePart PartOf(int lesson, int level) {
    ExercisePart part;
    std::string error;
    EXPECT_TRUE(ReadExercisePart(ExerciseFileOf(lesson, level), part, error)) << error;
    return part;
}

double Seconds(const ExercisePart& part) {
    return double(part.endMicros) / 1e6 + 1.5;
}

// Fed in 20 ms blocks, as the microphone delivers them (so that what is
// decided early is decided as in a pass).
std::vector<NoteResult> CheckTake(const ExercisePart& part, int level, const std::vector<float>& take,
                                  std::int64_t startMicros = 0) {
    PlayAlongCheck check(part, level, kTakeRate, startMicros);
    constexpr std::size_t kBlock = kTakeRate / 50;
    for (std::size_t at = 0; at < take.size(); at += kBlock)
        check.Feed(take.data() + at, std::min(kBlock, take.size() - at));
    check.Finish();
    return check.Results();
}

std::map<Verdict, int> Count(const std::vector<NoteResult>& results) {
    std::map<Verdict, int> counts;
    for (const NoteResult& result : results) ++counts[result.verdict];
    return counts;
}

std::string Describe(const ExercisePart& part, const NoteResult& result) {
    const ExpectedStrike& strike = part.strikes[result.strike];
    return "bar " + std::to_string(strike.bar) + " beat " + std::to_string(strike.beatInBar) + ": " +
           VerdictWord(result.verdict) + " " + std::to_string(result.offsetMs) + " ms";
}

TEST(ExercisePart, GroupsStrumsIntoChordsAndCountsBarsAfterTheCountIn) {
    const ExercisePart singles = PartOf(5, 10);
    ASSERT_EQ(singles.strikes.size(), 48u);
    EXPECT_EQ(singles.countInBeats, 4);
    EXPECT_EQ(singles.beatsPerBar, 4);
    EXPECT_EQ(singles.strikes.front().bar, 1);
    EXPECT_DOUBLE_EQ(singles.strikes.front().beatInBar, 1);
    EXPECT_EQ(singles.MicrosAtFileBeat(4), singles.strikes.front().micros); // after four count-in beats
    for (const ExpectedStrike& strike : singles.strikes) EXPECT_EQ(strike.notes.size(), 1u);

    const ExercisePart chords = PartOf(20, 10);
    for (const ExpectedStrike& strike : chords.strikes) {
        EXPECT_GE(strike.notes.size(), 4u);
        EXPECT_TRUE(std::is_sorted(strike.notes.begin(), strike.notes.end()));
    }
    // Eighths in bar 9: beats 2 and 2.5 are two strikes, not one strum.
    const auto offBeat = std::find_if(chords.strikes.begin(), chords.strikes.end(),
                                      [](const ExpectedStrike& s) { return s.bar == 9 && s.beatInBar == 2.5; });
    EXPECT_NE(offBeat, chords.strikes.end());

    ExercisePart part;
    std::string error;
    EXPECT_FALSE(ParseExercisePart("RIFF not a midi file", part, error));
    EXPECT_EQ(error, "not a MIDI file");
    EXPECT_FALSE(ReadExercisePart("/nonexistent/uebung.mid", part, error));
    EXPECT_NE(error.find("cannot read"), std::string::npos);
}

// A learner who plays every note as written, single notes (48) and chords
// (43), is on time throughout; single notes are placed within 15 ms.
TEST(PlayAlongCheck, TakesAsWrittenAreOnTimeThroughout) {
    for (int lesson : {5, 20}) {
        const ExercisePart part = PartOf(lesson, 10);
        const auto results = CheckTake(part, 10, RenderTake(AsWritten(part), Seconds(part)));
        ASSERT_EQ(results.size(), part.strikes.size());
        for (const NoteResult& result : results) {
            EXPECT_EQ(result.verdict, Verdict::OnTime) << "lesson " << lesson << " " << Describe(part, result);
            if (part.strikes[result.strike].notes.size() == 1) {
                EXPECT_LT(std::abs(result.offsetMs), 15) << Describe(part, result);
            }
            EXPECT_TRUE(result.missingNotes.empty());
        }
        const CheckSummary summary = Summarize(part, results);
        EXPECT_EQ(summary.onTime, summary.notes);
        EXPECT_EQ(summary.worstBar, 0);
    }
}

TEST(PlayAlongCheck, TellsEveryKindOfFaultAtItsNote) {
    const ExercisePart part = PartOf(5, 10);
    std::vector<PlayedStrike> played = AsWritten(part);
    const std::map<std::size_t, std::int64_t> shifts{{3, 60000}, {7, -60000}, {11, 90000}, {15, -90000}, {27, 22000}};
    for (const auto& [index, shift] : shifts) played[index].micros += shift;
    played[19].notes = {played[19].notes[0] + 1}; // a semitone too high
    played[32].notes = {played[32].notes[0] - 1}; // a semitone too low
    played.erase(played.begin() + 23);            // left out

    const auto results = CheckTake(part, 10, RenderTake(played, Seconds(part)));
    ASSERT_EQ(results.size(), part.strikes.size());
    const std::map<std::size_t, Verdict> faults{{3, Verdict::Late},   {7, Verdict::Early}, {11, Verdict::Late},
                                                {15, Verdict::Early}, {19, Verdict::Wrong}, {23, Verdict::Missed},
                                                {32, Verdict::Wrong}};
    for (const NoteResult& result : results) {
        const auto fault = faults.find(result.strike);
        const Verdict expected = fault == faults.end() ? Verdict::OnTime : fault->second;
        EXPECT_EQ(result.verdict, expected) << "strike " << result.strike << " " << Describe(part, result);
        if (const auto shift = shifts.find(result.strike); shift != shifts.end()) {
            EXPECT_NEAR(result.offsetMs, shift->second / 1000.0, 12) << Describe(part, result);
        }
    }
    EXPECT_NEAR(results[19].cents, 100, 20);
    EXPECT_NEAR(results[32].cents, -100, 20);
    const CheckSummary summary = Summarize(part, results);
    EXPECT_EQ(summary.onTime, 48 - 7);
    EXPECT_GT(summary.worstBarFaults, 0);
    EXPECT_EQ(summary.worstBar, part.strikes[3].bar);
}

// The slow levels allow more: 45 ms off is on time at level 1, 60 ms is not.
TEST(PlayAlongCheck, SlowLevelsAllowMoreBeforeEarlyOrLate) {
    const ExercisePart part = PartOf(1, 1);
    std::vector<PlayedStrike> played = AsWritten(part);
    played[2].micros += 45000;
    played[5].micros -= 45000;
    played[8].micros += 60000;
    const auto results = CheckTake(part, 1, RenderTake(played, Seconds(part)));
    EXPECT_EQ(results[2].verdict, Verdict::OnTime) << Describe(part, results[2]);
    EXPECT_EQ(results[5].verdict, Verdict::OnTime) << Describe(part, results[5]);
    EXPECT_EQ(results[8].verdict, Verdict::Late) << Describe(part, results[8]);
    // The same 45 ms at the top level is late.
    const ExercisePart fast = PartOf(1, 10);
    std::vector<PlayedStrike> fastPlayed = AsWritten(fast);
    fastPlayed[2].micros += 45000;
    EXPECT_EQ(CheckTake(fast, 10, RenderTake(fastPlayed, Seconds(fast)))[2].verdict, Verdict::Late);
}

TEST(PlayAlongCheck, AChordWithAStringMissingIsWrongAndNamesTheString) {
    const ExercisePart part = PartOf(20, 10);
    std::vector<PlayedStrike> played = AsWritten(part);
    // Leave out a string whose note no other string of the chord doubles
    // an octave away (its partials would stand in for it).
    auto single = [](const std::vector<int>& notes, int note) {
        return std::none_of(notes.begin(), notes.end(), [&](int other) { return other != note && (other - note) % 12 == 0; });
    };
    std::vector<std::pair<std::size_t, int>> left;
    for (std::size_t index : {0u, 5u, 12u}) {
        std::vector<int>& notes = played[index].notes;
        const auto note = std::find_if(notes.begin(), notes.end(), [&](int n) { return single(notes, n); });
        ASSERT_NE(note, notes.end());
        left.emplace_back(index, *note);
        notes.erase(note);
    }
    const auto results = CheckTake(part, 10, RenderTake(played, Seconds(part)));
    for (const auto& [index, note] : left) {
        EXPECT_EQ(results[index].verdict, Verdict::Wrong) << Describe(part, results[index]);
        EXPECT_EQ(results[index].missingNotes, std::vector<int>{note});
    }
    EXPECT_EQ(Count(results)[Verdict::OnTime], int(part.strikes.size()) - 3);
}

// Nothing played is every note missed: over the microphone's hiss, and
// over digital silence.
TEST(PlayAlongCheck, ASilentTakeMissesEveryNote) {
    const ExercisePart part = PartOf(5, 10);
    for (double noiseDb : {-66.0, -200.0}) {
        const auto results = CheckTake(part, 10, RenderTake({}, Seconds(part), noiseDb));
        EXPECT_EQ(Count(results)[Verdict::Missed], int(part.strikes.size())) << noiseDb << " dB";
    }
}

// The microphone hears the speakers: with the guitar part muted, the
// count-in and accompaniment it hears never count as the learner's notes.
// Unmuted, the same bleed would pass for the learner's playing.
TEST(PlayAlongCheck, TheSpeakersBleedOfTheMutedPartIsNoHit) {
    for (int lesson : {1, 20}) {
        const ExercisePart part = PartOf(lesson, 10);
        std::vector<float> bleed = RenderTake({}, Seconds(part));
        Mix(bleed, RenderExercise(ExerciseFileOf(lesson, 10), part, true, 0.5));
        auto counts = Count(CheckTake(part, 10, bleed));
        EXPECT_EQ(counts[Verdict::OnTime] + counts[Verdict::Early] + counts[Verdict::Late], 0) << "lesson " << lesson;

        std::vector<float> unmuted = RenderTake({}, Seconds(part));
        Mix(unmuted, RenderExercise(ExerciseFileOf(lesson, 10), part, false, 0.5));
        EXPECT_GT(Count(CheckTake(part, 10, unmuted))[Verdict::OnTime], int(part.strikes.size()) / 2)
            << "lesson " << lesson;
    }
}

// Fed as the microphone feeds it, the check decides each note soon after
// it was due, and decides as a whole take does.
TEST(PlayAlongCheck, DecidesEachNoteWhileThePassGoesOn) {
    const ExercisePart part = PartOf(5, 10);
    std::vector<PlayedStrike> played = AsWritten(part);
    played[10].micros += 70000;
    const auto take = RenderTake(played, Seconds(part));
    PlayAlongCheck check(part, 10, kTakeRate, 0);
    constexpr std::size_t kBlock = 882; // 20 ms
    for (std::size_t at = 0; at < take.size(); at += kBlock) {
        check.Feed(take.data() + at, std::min(kBlock, take.size() - at));
        const std::int64_t heard = std::int64_t(double(at + kBlock) * 1e6 / kTakeRate);
        for (std::size_t strike = 0; strike < part.strikes.size(); ++strike)
            if (check.DecidedBy(strike) + 20000 <= heard) {
                ASSERT_GT(check.Results().size(), strike);
            }
    }
    ASSERT_TRUE(check.Done());
    const auto whole = CheckTake(part, 10, take);
    for (std::size_t i = 0; i < whole.size(); ++i) {
        EXPECT_EQ(check.Results()[i].verdict, whole[i].verdict);
        EXPECT_DOUBLE_EQ(check.Results()[i].offsetMs, whole[i].offsetMs);
    }
    EXPECT_EQ(whole[10].verdict, Verdict::Late);
}

// The listener places the microphone's frames by the moment the file's
// start is heard, less the microphone's delay; frames before that moment
// is known are not heard.
TEST(PlayAlongListener, PlacesTheMicrophonesFramesByTheHeardStartLessItsDelay) {
    const ExercisePart part = PartOf(5, 10);
    const auto take = RenderTake(AsWritten(part), Seconds(part));
    const std::int64_t heardStart = 5000000, delay = 25000;
    auto listen = [&](std::int64_t assumedDelay) {
        PlayAlongListener listener;
        listener.BeginWithoutMicrophone(part, 10, assumedDelay);
        const float lead[441] = {};
        listener.Hear(lead, 441, heardStart - 100000, kTakeRate); // before the start is known
        listener.SetFileStart(heardStart);
        listener.SetFileStart(heardStart + 500000); // only the first counts
        for (std::size_t at = 0; at < take.size(); at += 1024)
            listener.Hear(take.data() + at, std::min<std::size_t>(1024, take.size() - at),
                          heardStart + delay + std::int64_t(double(at) * 1e6 / kTakeRate), kTakeRate);
        return listener.End(true);
    };
    EXPECT_EQ(Count(listen(delay))[Verdict::OnTime], 48);
    EXPECT_EQ(Count(listen(delay - 80000))[Verdict::Late], 48); // a delay taken too short: all late

    PlayAlongListener deaf;
    deaf.BeginWithoutMicrophone(part, 10, delay);
    EXPECT_EQ(Count(deaf.End(true))[Verdict::Missed], 48); // nothing heard at all
}

using listentest::Listen;
using listentest::ToolRun;

TEST(ListenTool, CheckPrintsALinePerNoteAndTheSummary) {
    testsupport::TempFolder folder;
    const ExercisePart part = PartOf(5, 10);
    std::vector<PlayedStrike> played = AsWritten(part);
    played[4].micros += 80000;
    played[9].notes = {played[9].notes[0] + 1};
    const QString take = QString::fromStdString(folder.Write("take.wav", WaveFile16(RenderTake(played, Seconds(part)), kTakeRate)));

    const ToolRun run = Listen({"check", "5", "10", take});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    ASSERT_EQ(run.lines.size(), 49);
    EXPECT_TRUE(run.lines[0].startsWith("bar   1 beat 1")) << run.lines[0].toStdString();
    EXPECT_TRUE(run.lines[0].contains("on time")) << run.lines[0].toStdString();
    EXPECT_TRUE(run.lines[4].contains(" late ")) << run.lines[4].toStdString();
    const QStringList fields = run.lines[4].split(' ', Qt::SkipEmptyParts);
    const qsizetype ms = fields.indexOf("ms");
    ASSERT_GT(ms, 0) << run.lines[4].toStdString();
    EXPECT_NEAR(fields[ms - 1].toDouble(), 80, 12) << run.lines[4].toStdString();
    EXPECT_TRUE(run.lines[9].contains(" wrong ")) << run.lines[9].toStdString();
    EXPECT_EQ(run.lines[48].toStdString(), "46 of 48 notes on time; worst in bar " + std::to_string(part.strikes[4].bar));

    // The recording began 100 ms after the file's start: every note is 100 ms later than heard.
    const ToolRun shifted = Listen({"check", "5", "10", take, "--offset", "100"});
    ASSERT_EQ(shifted.code, 0);
    EXPECT_TRUE(shifted.lines[0].contains(" late ")) << shifted.lines[0].toStdString();

    const ToolRun english = Listen({"check", "12", "10", take, "--language", "1"});
    EXPECT_EQ(english.code, 0) << english.err.toStdString();

    EXPECT_EQ(Listen({"check", "31", "10", take}).code, 2);
    EXPECT_EQ(Listen({"check", "5", "0", take}).code, 2);
    EXPECT_EQ(Listen({"check", "5", "10"}).code, 2);
    EXPECT_EQ(Listen({"check", "5", "10", take, "--offset", "soon"}).code, 2);
    const ToolRun missing = Listen({"check", "5", "10", "/nonexistent/take.wav"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_FALSE(missing.err.isEmpty());
}

} // namespace
