// The exercise files of the 30 lessons, read back through Sequenzor's own
// file loading: tempo, count-in, exactly the lesson's beat count, a guitar
// program, every note closed; and the chord samples' tuning.

#include "content/generator/course_midi.h"
#include "content/generator/course_outline.h"
#include "mxmidi/smfreader.h"
#include "mxmidi/testing.h"
#include "sequenzor/engine.h"
#include "sequenzor/miditrack.h"
#include "sequenzor/sequenzor.h"
#include "tests/content/course_wavreader.h"

#include "platform/core/files.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <cmath>
#include <map>

using namespace content;

namespace {

const std::string kCourse = ZUPFARI_CONTENT_SOURCES "/course";

const Outline& Course() {
    static const Outline outline = [] {
        std::vector<std::string> errors;
        return LoadOutline(kCourse, errors);
    }();
    return outline;
}

// One track as Sequenzor loaded it, with absolute times.
struct TimedEvent {
    std::uint32_t tick;
    ::MidiEvent event;
};

std::vector<std::vector<TimedEvent>> LoadedTracks() {
    std::vector<std::vector<TimedEvent>> tracks;
    for (const auto& track : sequenzor::TheEngine().Tracks()) {
        std::vector<TimedEvent> events;
        std::uint32_t now = 0;
        for (std::uint32_t i = 0; i < track->Count(); ++i) {
            now += track->Events()[i].time;
            events.push_back({now, track->Events()[i]});
        }
        tracks.push_back(std::move(events));
    }
    return tracks;
}

// What a file holds, as far as the course's rules go.
struct FileFacts {
    int tracks = 0;
    int tempo = 0;                 // beats per minute of the first tempo event
    int clicks = 0;                // note-ons on the percussion channel
    std::uint32_t lastClick = 0;
    std::uint32_t firstNote = ~0u; // first guitar note-on
    std::uint32_t lastNoteOn = 0;
    std::uint32_t end = 0;         // the last event of every track (all equal)
    bool endsAgree = true;
    int program = -1;
    int open = 0;                  // guitar notes never closed
};

FileFacts Inspect(const std::vector<std::vector<TimedEvent>>& tracks) {
    FileFacts facts;
    facts.tracks = static_cast<int>(tracks.size());
    std::map<int, int> sounding;
    for (std::size_t t = 0; t < tracks.size(); ++t) {
        if (tracks[t].empty()) continue;
        const std::uint32_t end = tracks[t].back().tick;
        if (t == 0) facts.end = end;
        facts.endsAgree = facts.endsAgree && end == facts.end;
        for (const TimedEvent& e : tracks[t]) {
            const int status = e.event.status & 0xF0, channel = e.event.status & 0x0F;
            if (e.event.status == 0 && facts.tempo == 0) {
                const int micros = (e.event.data1 << 16) | (e.event.data2 << 8) | e.event.data3;
                facts.tempo = static_cast<int>(std::lround(60000000.0 / micros));
            } else if (status == 0x90 && e.event.data2 > 0 && channel == kClickChannel) {
                ++facts.clicks;
                facts.lastClick = e.tick;
            } else if (status == 0x90 && e.event.data2 > 0) {
                facts.firstNote = std::min(facts.firstNote, e.tick);
                facts.lastNoteOn = std::max(facts.lastNoteOn, e.tick);
                ++sounding[e.event.data1];
            } else if ((status == 0x80 || status == 0x90) && channel != kClickChannel) {
                --sounding[e.event.data1];
            } else if (status == 0xC0) {
                facts.program = e.event.data1;
            }
        }
    }
    for (const auto& [note, count] : sounding) facts.open += std::abs(count);
    return facts;
}

class ExerciseFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        mxmidi::testing::UseManualClock();
        MidiInitWin(QCoreApplication::instance());
    }
    static void TearDownTestSuite() { MidiClearTrackList(); }
};

TEST_F(ExerciseFiles, EveryLevelHoldsTempoCountInAndExactlyTheBeatCount) {
    ASSERT_EQ(Course().lessons.size(), 30u);
    for (int lesson = 0; lesson < kLessonCount; ++lesson) {
        const RegistryRow& row = Registry(lesson);
        const std::uint32_t head = static_cast<std::uint32_t>(row.countInBeats * kTicksPerBeat);
        const std::uint32_t beats = static_cast<std::uint32_t>(row.geometry[kBeatCount]);
        for (int level = 1; level <= 10; ++level) {
            SCOPED_TRACE("lesson " + std::to_string(lesson) + " level " + std::to_string(level));
            const std::string path = coursetest::ContentFolder() + ExerciseFileName(lesson, level);
            ASSERT_TRUE(platform::ReadFileBytes(path)) << path;
            ASSERT_EQ(MidiLoadFile(path.c_str()), 1);
            const FileFacts facts = Inspect(LoadedTracks());
            ASSERT_EQ(facts.tracks, 3);
            EXPECT_EQ(facts.tempo, row.tempo[static_cast<std::size_t>(level - 1)]);
            EXPECT_EQ(facts.clicks, row.countInBeats);
            EXPECT_LT(facts.lastClick, head);
            EXPECT_GE(facts.firstNote, head) << "the exercise starts after the count-in";
            EXPECT_EQ(facts.end, head + beats * kTicksPerBeat) << "ends at the last beat";
            EXPECT_TRUE(facts.endsAgree);
            EXPECT_LT(facts.lastNoteOn, facts.end);
            EXPECT_TRUE(facts.program == kNylonGuitar || facts.program == kSteelGuitar);
            EXPECT_EQ(facts.open, 0) << "every note is closed";
        }
    }
}

TEST_F(ExerciseFiles, TheFermataBarIsPlayedAtHalfTheTempo) {
    // Lesson 19 plays bar 5 (exercise beats 32 to 35) once, under a fermata.
    for (int level : {1, 10}) {
        const std::string path = coursetest::ContentFolder() + ExerciseFileName(19, level);
        ASSERT_EQ(MidiLoadFile(path.c_str()), 1);
        std::vector<std::pair<std::uint32_t, int>> tempos; // tick, beats per minute
        const auto tracks = LoadedTracks();
        for (const TimedEvent& e : tracks.front())
            if (e.event.status == 0) {
                const int micros = (e.event.data1 << 16) | (e.event.data2 << 8) | e.event.data3;
                tempos.push_back({e.tick, static_cast<int>(std::lround(60000000.0 / micros))});
            }
        const int bpm = Registry(19).tempo[static_cast<std::size_t>(level - 1)];
        const std::uint32_t head = 4 * kTicksPerBeat;
        ASSERT_GE(tempos.size(), 3u);
        EXPECT_EQ(tempos[0], std::make_pair(0u, bpm));
        EXPECT_EQ(tempos[1].first, head + 32 * kTicksPerBeat);
        EXPECT_NEAR(tempos[1].second, bpm / 2.0, 0.6);
        EXPECT_EQ(tempos[2], std::make_pair(head + 36 * kTicksPerBeat, bpm));
    }
    // Without a fermata the tempo never changes.
    ASSERT_EQ(MidiLoadFile((coursetest::ContentFolder() + ExerciseFileName(18, 10)).c_str()), 1);
    const auto tracks = LoadedTracks();
    const std::uint32_t end = Inspect(tracks).end;
    int changes = 0;
    for (const TimedEvent& e : tracks.front()) changes += e.event.status == 0 && e.tick > 0 && e.tick < end;
    EXPECT_EQ(changes, 0);
}

TEST_F(ExerciseFiles, ACountInOfEighthsAccentsTheOneOfEachBarAndSoftensTheAnds) {
    // Lesson 28 counts in eight eighths: one 4/4 bar, "1 + 2 + 3 + 4 +".
    ASSERT_EQ(MidiLoadFile((coursetest::ContentFolder() + ExerciseFileName(28, 10)).c_str()), 1);
    std::vector<int> velocities;
    for (const auto& track : LoadedTracks())
        for (const TimedEvent& e : track)
            if ((e.event.status & 0xF0) == 0x90 && (e.event.status & 0x0F) == kClickChannel && e.event.data2 > 0)
                velocities.push_back(e.event.data2);
    ASSERT_EQ(velocities.size(), 8u);
    EXPECT_GT(velocities[0], velocities[2]);                // the one above the other beats
    for (int and_ : {1, 3, 5, 7}) EXPECT_LT(velocities[static_cast<std::size_t>(and_)], velocities[2]);
    EXPECT_EQ(velocities[2], velocities[4]);
}

TEST(ExerciseMidi, StrumsSpreadLowToHighAndCutNotesAtTheEnd) {
    Outline outline;
    outline.chords["Em"] = {"Em", {0, 2, 2, 0, 0, 0}, {0, 2, 3, 0, 0, 0}};
    Exercise exercise;
    ScoreEvent chord;
    chord.kind = ScoreEvent::Kind::Chord;
    chord.chord = "Em";
    chord.units = 4 * kUnitsPerBeat;
    exercise.bars.push_back({{chord}});
    exercise.order = {0, 0};
    ExerciseSettings settings;
    settings.beatCount = 6; // one and a half bars: the second strum is cut
    const std::string bytes = ExerciseFile(exercise, outline, settings);
    auto parsed = mxmidi::smf::ParseSmf(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    ASSERT_TRUE(parsed);
    std::vector<std::pair<std::uint32_t, int>> ons;
    std::uint32_t now = 0, lastOff = 0;
    for (const ::MidiEvent& e : parsed->tracks[2].events) {
        now += e.time;
        if ((e.status & 0xF0) == 0x90) ons.push_back({now, e.data1});
        if ((e.status & 0xF0) == 0x80) lastOff = std::max(lastOff, now);
    }
    ASSERT_EQ(ons.size(), 12u);
    for (std::size_t i = 1; i < 6; ++i) {
        EXPECT_GT(ons[i].first, ons[i - 1].first) << "strings follow each other";
        EXPECT_GT(ons[i].second, ons[i - 1].second) << "low to high";
    }
    EXPECT_LT(ons[5].first - ons[0].first, 60u) << "a strum lasts a few milliseconds";
    EXPECT_LE(lastOff, (4u + 6u) * kTicksPerBeat);
    EXPECT_EQ(now, (4u + 6u) * kTicksPerBeat);
}

// For each note of a chord, the lowest partial (1..3) that no partial of
// another note lies near (a tempered fifth's third partial, for instance,
// sits 2 cents from the fifth and would blur the reading); notes an octave
// apart share exact partials and do not disturb each other.
std::vector<std::pair<int, int>> MeasurablePartials(const ChordShape& shape) {
    std::vector<int> notes;
    for (int string = 0; string < 6; ++string)
        if (shape.frets[static_cast<std::size_t>(string)] >= 0)
            notes.push_back(StringNote(string, shape.frets[static_cast<std::size_t>(string)]));
    auto frequency = [](int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); };
    std::vector<std::pair<int, int>> result;
    for (int note : notes) {
        for (int k = 1; k <= 3; ++k) { // higher partials of a plucked string run slightly sharp
            const double f = k * frequency(note);
            bool clear = true;
            for (int other : notes)
                for (int j = 1; j <= 10 && other != note; ++j) {
                    const double distance = std::fabs(j * frequency(other) - f);
                    if (distance > 0.01 && distance < 4.0) clear = false;
                }
            if (clear) {
                result.push_back({note, k});
                break;
            }
        }
    }
    return result;
}

TEST(ChordSamples, EveryNamedChordIsInTuneWithinOneCent) {
    int checked = 0, notes = 0;
    for (const Lesson& lesson : Course().lessons) {
        if (!lesson.slides[0]) continue;
        for (std::size_t k = 0; k < lesson.slides[0]->samples.size(); ++k) {
            const std::string file = "lektion" + std::to_string(lesson.number) + "/Akkord" + std::to_string(k + 1) + ".wav";
            SCOPED_TRACE(file);
            const auto bytes = platform::ReadFileBytes(coursetest::ContentFolder() + file);
            ASSERT_TRUE(bytes);
            const coursetest::WavFile wav = coursetest::ParseWav(*bytes);
            ASSERT_TRUE(wav.problem.empty()) << wav.problem;
            const ChordShape& shape = Course().chords.at(lesson.slides[0]->samples[k]);
            // 1 s of the ringing chord after the strum: enough to part partials 4 Hz apart.
            const std::size_t from = static_cast<std::size_t>(0.15 * wav.sampleRate);
            const std::size_t length = static_cast<std::size_t>(wav.sampleRate);
            ASSERT_GT(wav.left.size(), from + length);
            const std::vector<double> ringing(wav.left.begin() + static_cast<long>(from),
                                              wav.left.begin() + static_cast<long>(from + length));
            for (const auto& [note, partial] : MeasurablePartials(shape)) {
                const double target = 440.0 * std::pow(2.0, (note - 69) / 12.0);
                const double measured =
                    coursetest::PeakFrequency(ringing, wav.sampleRate, partial * target, 1.0) / partial;
                EXPECT_LT(std::fabs(coursetest::Cents(target, measured)), 1.0)
                    << "note " << note << " (partial " << partial << "): " << target << " Hz measures " << measured;
                ++notes;
            }
            ++checked;
        }
    }
    EXPECT_GT(checked, 10);
    EXPECT_GE(notes, 3 * checked) << "most notes of every chord are measured";
}

} // namespace
