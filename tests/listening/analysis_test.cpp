// The listening analysis on recordings, without any sound server: note
// names, WAV files of every kind the tool accepts, the tuner's readings on
// plucked strings (chosen string and automatic), onsets, and the frame clock.
#include "listening/audiofile.h"
#include "listening/frameclock.h"
#include "listening/guitarstrings.h"
#include "listening/onsetdetector.h"
#include "listening/tuninganalyzer.h"
#include "platform/ui/wavefile.h"
#include "tests/listening/pluck.h"
#include "tests/support/testsupport.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

namespace {

using namespace listening;
using listentest::GuitarPluck;
using listentest::Render;

constexpr double kPluckAt = 0.2; // GuitarPluck's silence before the pluck

// Readings of a whole recording, one per analysis hop.
std::vector<TuningReading> ReadingsOf(const std::vector<float>& samples, int rate, int string) {
    TuningAnalyzer analyzer(rate);
    analyzer.SetString(string);
    std::vector<TuningReading> readings;
    analyzer.Feed(samples.data(), samples.size(), &readings);
    return readings;
}

double Seconds(const TuningReading& reading, int rate) {
    return double(reading.frame) / rate;
}

// The first reading at or after `seconds` into the recording.
const TuningReading* FirstAfter(const std::vector<TuningReading>& readings, int rate, double seconds) {
    for (const TuningReading& reading : readings)
        if (Seconds(reading, rate) >= seconds) return &reading;
    return nullptr;
}

TEST(GuitarStrings, NamesFrequenciesAndTheNearestString) {
    EXPECT_NEAR(OpenStringFrequency(LowE), 82.41, 0.01);
    EXPECT_NEAR(OpenStringFrequency(StringB), 246.94, 0.01);
    EXPECT_NEAR(OpenStringFrequency(HighE), 329.63, 0.01);
    EXPECT_EQ(NoteName(59, 0), "H3");
    EXPECT_EQ(NoteName(59, 1), "B3");
    EXPECT_EQ(NoteName(58, 0), "B3"); // the German B is the English B flat
    EXPECT_EQ(NoteName(58, 1), "Bb3");
    EXPECT_EQ(NoteName(61, 0), "Cis4");
    EXPECT_EQ(NoteName(61, 1), "C#4");
    EXPECT_EQ(NoteName(40, 0), "E2");
    EXPECT_NEAR(CentsBetween(440.0 * std::pow(2.0, 13 / 1200.0), 440.0), 13.0, 1e-9);
    EXPECT_EQ(NearestString(86.0), LowE);
    EXPECT_EQ(NearestString(95.0), LowE); // 246 cents above E2, 254 below A2
    EXPECT_EQ(NearestString(97.0), StringA);
    EXPECT_EQ(NearestString(300.0), HighE);
    // The searched ranges keep the octaves out.
    const FrequencyRange a = StringRange(StringA);
    EXPECT_GT(a.low, 55.0);
    EXPECT_LT(a.high, 220.0);
}

// Bytes of a canonical WAV header for any format tag and sample size.
std::string WaveBytes(int tag, int channels, int rate, int bits, const std::string& data) {
    std::string out = platform::MakeWaveFile(channels, rate, 16, data);
    auto put16 = [&out](std::size_t at, int value) {
        out[at] = char(value & 0xff);
        out[at + 1] = char((value >> 8) & 0xff);
    };
    put16(20, tag);
    put16(34, bits);
    put16(32, channels * bits / 8);
    return out;
}

TEST(Recordings, EverySampleFormatReadsAsTheSameMonoSignal) {
    // One frame of +0.5 (left) and -0.25 (right): mono 0.125.
    struct Case {
        const char* what;
        int tag, bits;
        std::string left, right;
    };
    auto f32 = [](float v) { std::string s(4, '\0'); std::memcpy(s.data(), &v, 4); return s; };
    auto f64 = [](double v) { std::string s(8, '\0'); std::memcpy(s.data(), &v, 8); return s; };
    const Case cases[] = {
        {"8-bit", 1, 8, std::string(1, char(192)), std::string(1, char(96))},
        {"16-bit", 1, 16, std::string("\x00\x40", 2), std::string("\x00\xE0", 2)},
        {"24-bit", 1, 24, std::string("\x00\x00\x40", 3), std::string("\x00\x00\xE0", 3)},
        {"32-bit", 1, 32, std::string("\x00\x00\x00\x40", 4), std::string("\x00\x00\x00\xE0", 4)},
        {"float", 3, 32, f32(0.5f), f32(-0.25f)},
        {"double", 3, 64, f64(0.5), f64(-0.25)},
    };
    for (const Case& c : cases) {
        MonoRecording recording;
        std::string error;
        ASSERT_TRUE(ParseRecording(WaveBytes(c.tag, 2, 44100, c.bits, c.left + c.right + c.left + c.right),
                                   recording, error))
            << c.what << ": " << error;
        EXPECT_EQ(recording.sampleRate, 44100) << c.what;
        ASSERT_EQ(recording.samples.size(), 2u) << c.what;
        EXPECT_NEAR(recording.samples[0], 0.125, 1e-6) << c.what;
    }
}

TEST(Recordings, DamagedOrForeignFilesAreRefusedWithAReason) {
    const std::string good = listentest::WaveFile16(std::vector<float>(100, 0.25f), 48000);
    MonoRecording recording;
    std::string error;
    // Cut inside the data: the whole frames that are there.
    ASSERT_TRUE(ParseRecording(good.substr(0, good.size() - 51), recording, error)) << error;
    EXPECT_EQ(recording.samples.size(), 74u);

    struct Case {
        const char* what;
        std::string bytes;
        const char* reason;
    };
    std::string adpcm = good;
    adpcm[20] = 2;
    std::string noChannels = good;
    noChannels[22] = 0;
    std::string rateZero = good;
    rateZero.replace(24, 4, std::string(4, '\0'));
    const Case cases[] = {
        {"text", "hello, this is not a sound", "not a WAV"},
        {"empty", "", "not a WAV"},
        {"header only", good.substr(0, 36), "no data"},
        {"ADPCM", adpcm, "not PCM"},
        {"no channels", noChannels, "channels"},
        {"rate 0", rateZero, "sample rate"},
    };
    for (const Case& c : cases) {
        error.clear();
        EXPECT_FALSE(ParseRecording(c.bytes, recording, error)) << c.what;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
    }

    testsupport::TempFolder folder;
    EXPECT_FALSE(ReadRecording(folder.Path() + "missing.wav", recording, error));
    EXPECT_NE(error.find("cannot open"), std::string::npos) << error;
    EXPECT_FALSE(ReadRecording(folder.Path(), recording, error)) << "a folder is no recording";
    const std::string written = folder.Write("a.wav", good);
    EXPECT_TRUE(ReadRecording(written, recording, error)) << error;
    EXPECT_EQ(recording.samples.size(), 100u);
}

// Every string, detuned, through a WAV file: the reading lies within a cent
// of the truth from 250 ms after the pluck for as long as the string rings,
// with the string chosen and in automatic mode alike.
TEST(Tuning, EveryStringReadsWithinACentFromAQuarterSecondOn) {
    testsupport::TempFolder folder;
    const int rates[] = {44100, 48000};
    const double detunes[] = {-20.0, 13.0, 35.0};
    for (int string = LowE; string <= HighE; ++string) {
        // Two of the three detunings per string, each used four times.
        for (double detune : {detunes[string % 3], detunes[(string + 1) % 3]}) {
            const int rate = rates[(string + int(detune)) & 1];
            const auto pluck = GuitarPluck(string, detune);
            const std::string file = folder.Write("string.wav", listentest::WaveFile16(Render(pluck, rate), rate));
            MonoRecording recording;
            std::string error;
            ASSERT_TRUE(ReadRecording(file, recording, error)) << error;
            for (int mode : {string, kAutoString}) {
                SCOPED_TRACE(::testing::Message() << "string " << string << " detuned " << detune
                                                  << (mode == kAutoString ? " automatic" : " chosen"));
                const auto readings = ReadingsOf(recording.samples, rate, mode);
                int checked = 0;
                for (const TuningReading& reading : readings) {
                    const double since = Seconds(reading, rate) - kPluckAt;
                    if (since < 0.25 || since > 2.0) continue;
                    ASSERT_TRUE(reading.heard) << since << " s after the pluck";
                    EXPECT_EQ(reading.string, string);
                    EXPECT_NEAR(reading.cents, detune, 1.0) << since << " s after the pluck";
                    ++checked;
                }
                EXPECT_GT(checked, 35); // one reading every 43 to 46 ms
                // Nothing is heard before the pluck.
                EXPECT_FALSE(FirstAfter(readings, rate, 0.1)->heard);
            }
        }
    }
}

TEST(Tuning, TheFirstReadingComesWithinAQuarterSecondOfThePluck) {
    const int rate = 48000;
    for (int string = LowE; string <= HighE; ++string) {
        const auto readings = ReadingsOf(Render(GuitarPluck(string, 7), rate), rate, kAutoString);
        const TuningReading* first = nullptr;
        for (const TuningReading& reading : readings)
            if (reading.heard) {
                first = &reading;
                break;
            }
        ASSERT_NE(first, nullptr) << "string " << string;
        EXPECT_LE(Seconds(*first, rate) - kPluckAt, 0.25) << "string " << string;
        EXPECT_NEAR(first->cents, 7, 3) << "string " << string;
    }
}

// Right after the pluck the guitar's body rings for a moment close to the low
// strings' first partials; the reading must not follow it. Over a noisy
// microphone the onset detection may stay silent: the first reading still
// waits for a window that holds the string alone.
TEST(Tuning, TheBodysRingingAndANoisyMicrophoneDoNotPullTheFirstReadings) {
    const int rate = 48000;
    const struct {
        int string;
        double detune, bodyHz, noiseDb;
    } cases[] = {
        {LowE, -20, 65, -66}, {LowE, 13, 98, -50}, {StringA, 35, 98, -66}, {StringA, -7, 130, -50},
        {StringD, 0, 110, -50}, {HighE, 7, 0, -50},
    };
    for (const auto& c : cases) {
        auto pluck = GuitarPluck(c.string, c.detune);
        pluck.bodyHz = c.bodyHz;
        pluck.noiseDb = c.noiseDb;
        pluck.leadSeconds = 0.5;
        const auto samples = Render(pluck, rate);
        for (int mode : {c.string, kAutoString}) {
            SCOPED_TRACE(::testing::Message() << "string " << c.string << " body " << c.bodyHz << " Hz, noise "
                                              << c.noiseDb << (mode == kAutoString ? " automatic" : " chosen"));
            const TuningReading* first = nullptr;
            for (const TuningReading& reading : ReadingsOf(samples, rate, mode)) {
                const double since = Seconds(reading, rate) - pluck.leadSeconds;
                if (!reading.heard) continue;
                ASSERT_GT(since, 0.0) << "heard before the pluck";
                EXPECT_EQ(reading.string, c.string) << since << " s after the pluck";
                EXPECT_NEAR(reading.cents, c.detune, since < 0.25 ? 3.0 : 1.0) << since << " s after the pluck";
                if (first == nullptr) first = &reading;
            }
            ASSERT_NE(first, nullptr);
            EXPECT_LE(Seconds(*first, rate) - pluck.leadSeconds, 0.15);
        }
    }
}

// Automatic mode searches every string, where a string's period is also a
// multiple of a lower one's: the octave below (D3 taken for D2, e4 for E2)
// or the fifth below an octave (B3 for E2) must not be what it settles on,
// also when the attack rang there for a moment.
TEST(Tuning, AutomaticModeSettlesOnTheStringNotOnAPeriodItsMultipleOf) {
    const int rate = 44100;
    const struct {
        int played;
        double bodyHz; // a resonance at the period below
    } cases[] = {{StringD, 73.4}, {StringB, 82.4}, {HighE, 82.4}, {StringG, 98.0}};
    for (const auto& c : cases) {
        auto pluck = GuitarPluck(c.played, 4);
        pluck.bodyHz = c.bodyHz;
        pluck.bodyDb = -3;
        pluck.bodyDecaySeconds = 0.06;
        const auto readings = ReadingsOf(Render(pluck, rate), rate, kAutoString);
        for (const TuningReading& reading : readings) {
            const double since = Seconds(reading, rate) - kPluckAt;
            if (since < 0.25 || since > 2.0) continue;
            ASSERT_TRUE(reading.heard) << "string " << c.played << " at " << since << " s";
            ASSERT_EQ(reading.string, c.played) << since << " s after the pluck, at " << reading.cents << " cents";
            EXPECT_NEAR(reading.cents, 4, 1.0) << "string " << c.played << " at " << since << " s";
        }
    }
}

// A string searched for, while a higher one sounds whose period is a
// multiple of one in the searched range, must not read "in tune".
TEST(Tuning, AHigherStringIsNotTakenForTheChosenOne) {
    const int rate = 48000;
    const struct {
        int chosen, played;
    } cases[] = {{StringA, HighE}, {LowE, StringB}, {LowE, HighE}, {StringD, HighE}};
    for (const auto& c : cases) {
        const auto readings = ReadingsOf(Render(GuitarPluck(c.played, 0), rate), rate, c.chosen);
        for (const TuningReading& reading : readings)
            ASSERT_FALSE(reading.heard) << "string " << c.played << " heard as string " << c.chosen
                                        << " at " << reading.cents << " cents";
    }
}

// Automatic mode follows the learner from string to string: after each new
// pluck the reading names the new string within a quarter second.
TEST(Tuning, AutomaticModeFollowsEachNewPluck) {
    const int rate = 44100;
    const int order[] = {LowE, HighE, StringA, StringG, LowE};
    const double detunes[] = {-12, 4, 25, -3, 0};
    std::vector<float> take(std::size_t(rate * 0.2), 0.0f);
    std::vector<double> plucks;
    for (int i = 0; i < 5; ++i) {
        auto pluck = GuitarPluck(order[i], detunes[i]);
        pluck.leadSeconds = 0;
        pluck.seconds = 1.2;
        plucks.push_back(double(take.size()) / rate);
        listentest::MixInto(take, Render(pluck, rate), take.size());
    }
    const auto readings = ReadingsOf(take, rate, kAutoString);
    for (int i = 0; i < 5; ++i) {
        const TuningReading* reading = FirstAfter(readings, rate, plucks[std::size_t(i)] + 0.25);
        ASSERT_NE(reading, nullptr);
        EXPECT_TRUE(reading->heard) << "pluck " << i;
        EXPECT_EQ(reading->string, order[i]) << "pluck " << i;
        EXPECT_NEAR(reading->cents, detunes[i], 1.0) << "pluck " << i;
    }
}

TEST(Tuning, SilenceAndNoiseShowNothingAndARingingStringIsLetGoAfterItDies) {
    const int rate = 48000;
    std::vector<float> noise = Render([] {
        auto quiet = GuitarPluck(StringA, 0);
        quiet.peak = 0; // the background noise alone
        quiet.noiseDb = -40;
        return quiet;
    }(), rate);
    for (const TuningReading& reading : ReadingsOf(noise, rate, kAutoString)) ASSERT_FALSE(reading.heard);
    for (const TuningReading& reading : ReadingsOf(std::vector<float>(rate, 0.0f), rate, StringA))
        ASSERT_FALSE(reading.heard);

    // A short pluck, then two seconds of silence.
    auto pluck = GuitarPluck(StringD, 0);
    pluck.seconds = 0.6;
    auto take = Render(pluck, rate);
    take.resize(take.size() + std::size_t(2 * rate), 0.0f);
    const auto readings = ReadingsOf(take, rate, StringD);
    EXPECT_TRUE(FirstAfter(readings, rate, kPluckAt + 0.7)->heard) << "held a moment";
    EXPECT_FALSE(FirstAfter(readings, rate, kPluckAt + 0.6 + TuningAnalyzer::kHoldSeconds + 0.2)->heard);
}

TEST(Onsets, EachPluckIsFoundOnItsAttackAndAStrumIsOne) {
    const int rate = 44100;
    std::vector<float> take(std::size_t(rate * 0.3), 0.0f);
    std::vector<double> expected;
    const double peaks[] = {0.5, 0.3, 0.45, 0.25, 0.4}; // within 6 dB, as one plays a line
    for (int i = 0; i < 5; ++i) {
        auto pluck = GuitarPluck((i * 2) % 6, 0);
        pluck.leadSeconds = 0;
        pluck.seconds = 0.45 + 0.1 * i;
        pluck.peak = peaks[i];
        expected.push_back(double(take.size()) / rate);
        listentest::MixInto(take, Render(pluck, rate), take.size());
    }
    // A strum: six strings 12 ms apart, one onset.
    const std::size_t strum = take.size() + std::size_t(0.2 * rate);
    expected.push_back(double(strum) / rate);
    for (int string = LowE; string <= HighE; ++string) {
        auto pluck = GuitarPluck(string, 0);
        pluck.leadSeconds = 0;
        pluck.seconds = 1.0;
        pluck.peak = 0.2;
        listentest::MixInto(take, Render(pluck, rate), strum + std::size_t(string * 0.012 * rate));
    }
    const std::vector<double> found = FindOnsets(take, rate);
    ASSERT_EQ(found.size(), expected.size()) << ::testing::PrintToString(found);
    for (std::size_t i = 0; i < found.size(); ++i) EXPECT_NEAR(found[i], expected[i], 0.015) << "onset " << i;

    // Fed in odd pieces, the detector finds the same frames.
    OnsetDetector detector(rate);
    std::vector<std::uint64_t> frames;
    for (std::size_t at = 0; at < take.size(); at += 333)
        detector.Feed(take.data() + at, std::min<std::size_t>(333, take.size() - at), frames);
    ASSERT_EQ(frames.size(), found.size());
    for (std::size_t i = 0; i < frames.size(); ++i) EXPECT_NEAR(double(frames[i]) / rate, found[i], 1e-9);

    EXPECT_TRUE(FindOnsets(std::vector<float>(rate, 0.0f), rate).empty());
}

// Blocks that arrive late by a varying amount are stamped with the time
// their frames were taken, also when the device's clock runs a little fast.
TEST(FrameClock, StampsFollowTheFramesNotTheJitterOfTheirArrival) {
    const int rate = 48000;
    FrameClock clock(rate);
    const std::int64_t start = 1'000'000'000;
    const std::uint64_t block = 960; // 20 ms
    const double drift = 1.0001;     // the device's second is 100 ppm short
    std::uint64_t frames = 0;
    double worst = 0;
    for (int i = 0; i < 1000; ++i) { // 20 s
        frames += block;
        const double taken = start + double(frames) * 1e6 / rate / drift; // last frame of the block
        const std::int64_t delay = 3000 + (i * 7919) % 9000;             // 3 .. 12 ms late
        const std::int64_t first = clock.Stamp(std::int64_t(taken) + delay, block);
        const double trueFirst = start + double(frames - block) * 1e6 / rate / drift;
        if (i > 50) worst = std::max(worst, std::fabs(double(first) - 3000 - trueFirst));
    }
    // Within a millisecond of "taken + the least delay" once the window filled.
    EXPECT_LT(worst, 1000.0);
    EXPECT_EQ(clock.Frames(), frames);
    EXPECT_EQ(clock.TimeOf(frames) - clock.TimeOf(0), std::int64_t(std::llround(frames * 1e6 / rate)));
}

} // namespace
