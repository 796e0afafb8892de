// The course's sounds as the program finds them in its folder: well-formed
// 16-bit 44.1 kHz PCM, audible but not clipped, short cues, and tuner tones
// that are in tune and loop without a click.

#include "content/generator/sound_synth.h"
#include "content/generator/sound_wav.h"
#include "platform/core/files.h"
#include "tests/content/course_wavreader.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

using coursetest::Cents;
using coursetest::ParseWav;
using coursetest::PeakFrequency;
using coursetest::WavFile;

namespace {

WavFile Load(const std::string& relative) {
    auto bytes = platform::ReadFileBytes(coursetest::ContentFolder() + relative);
    if (!bytes) {
        WavFile missing;
        missing.problem = "missing";
        return missing;
    }
    return ParseWav(*bytes);
}

double Seconds(const WavFile& wav) {
    return wav.left.size() / double(wav.sampleRate);
}

double Peak(const std::vector<double>& x) {
    double p = 0;
    for (double v : x)
        p = std::max(p, std::fabs(v));
    return p;
}

const std::vector<std::string> kCues = {
    "ClickSounds/Amaj7.wav", "ClickSounds/Dmaj7.wav",        "ClickSounds/Eadd9.wav",
    "ClickSounds/Fism9.wav", "ClickSounds/Fmaj7.wav",        "ClickSounds/Hm9.wav",
    "ClickSounds/oh.wav",    "ClickSounds/allesrichtig.wav", "ClickSounds/nichtrichtig.wav",
    "ClickSounds/foto.wav"};

struct Tone {
    const char* file;
    double frequency;
};

const std::vector<Tone> kTunerTones = {
    {"Sounds/SaiteE2.wav", 329.63}, {"Sounds/SaiteH.wav", 246.94}, {"Sounds/SaiteG.wav", 196.00},
    {"Sounds/SaiteD.wav", 146.83},  {"Sounds/SaiteA.wav", 110.00}, {"Sounds/SaiteE1.wav", 82.41}};

// The step across the loop seam (last sample back to the first), against the
// largest step in the samples around the seam.
struct Seam {
    double step;
    double localMax;
};

Seam SeamOf(const std::vector<double>& x) {
    Seam seam{std::fabs(x.front() - x.back()), 0};
    const std::size_t n = x.size();
    for (std::size_t i = 1; i < 200; ++i) {
        seam.localMax = std::max(seam.localMax, std::fabs(x[i] - x[i - 1]));
        seam.localMax = std::max(seam.localMax, std::fabs(x[n - i] - x[n - i - 1]));
    }
    return seam;
}

void ExpectWellFormed(const std::string& file, const WavFile& wav) {
    ASSERT_EQ(wav.problem, "") << file;
    EXPECT_EQ(wav.format, 1) << file;
    EXPECT_TRUE(wav.channels == 1 || wav.channels == 2) << file;
    EXPECT_EQ(wav.sampleRate, 44100) << file;
    EXPECT_EQ(wav.bitsPerSample, 16) << file;
    EXPECT_EQ(wav.blockAlign, wav.channels * 2) << file;
    EXPECT_EQ(wav.byteRate, 44100 * wav.blockAlign) << file;
    EXPECT_EQ(wav.riffSize + 8, wav.fileSize) << file;
    EXPECT_GT(wav.left.size(), 1000u) << file;
    const double peak = Peak(wav.left);
    EXPECT_GT(peak, 0.1) << file << " is (nearly) silent";
    EXPECT_LT(peak, 0.99) << file << " clips";
}

} // namespace

TEST(CourseSounds, EveryCueAndToneIsAWellFormedPcmWav) {
    for (const std::string& file : kCues)
        ExpectWellFormed(file, Load(file));
    for (const Tone& tone : kTunerTones)
        ExpectWellFormed(tone.file, Load(tone.file));
    ExpectWellFormed("Sounds/EDurStimmAkkord.wav", Load("Sounds/EDurStimmAkkord.wav"));
}

TEST(CourseSounds, CuesAreShortAndTheClickIsOverQuickly) {
    // Named cues give way to any sound still playing, so the click that comes
    // before them must be over quickly, and every cue must end soon.
    EXPECT_LE(Seconds(Load("ClickSounds/Fmaj7.wav")), 0.35);
    for (const std::string& file : kCues) {
        WavFile wav = Load(file);
        ASSERT_FALSE(wav.left.empty()) << file;
        EXPECT_LE(Seconds(wav), 1.5) << file;
        // Each cue ends in silence rather than being cut off.
        EXPECT_LT(std::fabs(wav.left.back()), 0.01) << file;
    }
}

TEST(CourseSounds, TunerTonesAreWithinHalfACentOfTheirString) {
    for (const Tone& tone : kTunerTones) {
        WavFile wav = Load(tone.file);
        ASSERT_EQ(wav.problem, "") << tone.file;
        double measured = PeakFrequency(wav.left, wav.sampleRate, tone.frequency, 2.0);
        std::printf("%-20s %.2f s, %.4f Hz, %+.4f cent\n", tone.file, Seconds(wav), measured,
                    Cents(tone.frequency, measured));
        EXPECT_LT(std::fabs(Cents(tone.frequency, measured)), 0.5)
            << tone.file << " measures " << measured << " Hz";
        EXPECT_GE(Seconds(wav), 2.0) << tone.file;
    }
}

TEST(CourseSounds, TuningChordHoldsEMajorInTune) {
    WavFile wav = Load("Sounds/EDurStimmAkkord.wav");
    ASSERT_EQ(wav.problem, "");
    // E2, B2 and G#3 (the E3, B3 and E4 above them are their octaves).
    for (double target : {82.4069, 123.4708, 207.6523}) {
        double measured = PeakFrequency(wav.left, wav.sampleRate, target, 2.0);
        std::printf("chord partial %.4f Hz: %.4f Hz, %+.4f cent\n", target, measured,
                    Cents(target, measured));
        EXPECT_LT(std::fabs(Cents(target, measured)), 0.5) << target << " Hz measures " << measured;
    }
}

TEST(CourseSounds, LoopedTonesHaveNoJumpAtTheSeam) {
    std::vector<std::string> files = {"Sounds/EDurStimmAkkord.wav"};
    for (const Tone& tone : kTunerTones)
        files.push_back(tone.file);
    for (const std::string& file : files) {
        WavFile wav = Load(file);
        ASSERT_EQ(wav.problem, "") << file;
        Seam seam = SeamOf(wav.left);
        std::printf("%-27s seam step %.5f, largest step nearby %.5f\n", file.c_str(), seam.step,
                    seam.localMax);
        EXPECT_LE(seam.step, seam.localMax) << file;
        // The level at the end matches the level at the start (steady tone).
        double head = 0, tail = 0;
        const std::size_t n = wav.left.size(), window = 4410;
        for (std::size_t i = 0; i < window; ++i) {
            head += wav.left[i] * wav.left[i];
            tail += wav.left[n - 1 - i] * wav.left[n - 1 - i];
        }
        EXPECT_NEAR(std::sqrt(head / tail), 1.0, 0.1) << file;
    }
}

TEST(CourseSounds, MetersCatchADetunedToneAndAClickingLoop) {
    // The meters above must be able to fail: a tone 1 cent sharp reads as
    // such, and a decaying tone cut into a loop shows its seam.
    const double f = 110.0 * std::pow(2.0, 1.0 / 1200.0);
    std::vector<double> sharp(3 * 44100), decaying(3 * 44100);
    for (std::size_t i = 0; i < sharp.size(); ++i) {
        double t = i / 44100.0;
        sharp[i] = 0.5 * std::sin(2 * std::numbers::pi * f * t);
        decaying[i] = sharp[i] * std::exp(-t);
    }
    EXPECT_NEAR(Cents(110.0, PeakFrequency(sharp, 44100, 110.0, 2.0)), 1.0, 0.05);
    Seam seam = SeamOf(decaying);
    EXPECT_GT(seam.step, seam.localMax);
}

TEST(CourseSounds, LoopFitKeepsEveryPartialWholeAndInTune) {
    content::LoopFit fit = content::FitLoop({82.41, 123.4708}, 2.0, 3.0);
    ASSERT_EQ(fit.frequencies.size(), 2u);
    EXPECT_LT(fit.worstCents, 0.5);
    for (double f : fit.frequencies) {
        double cycles = f * fit.length / content::kSampleRate;
        EXPECT_NEAR(cycles, std::round(cycles), 1e-6);
    }
}

TEST(CourseSounds, WavEncodingRoundsAndClipsSamples) {
    content::Sound sound;
    sound.samples = {0.0f, 1.0f, -1.0f, 2.0f, -3.0f, 0.5f};
    WavFile wav = ParseWav(content::EncodeWav(sound));
    ASSERT_EQ(wav.problem, "");
    ASSERT_EQ(wav.left.size(), 6u);
    EXPECT_DOUBLE_EQ(wav.left[1], 32767 / 32768.0);
    EXPECT_DOUBLE_EQ(wav.left[3], 32767 / 32768.0); // clipped
    EXPECT_DOUBLE_EQ(wav.left[4], -32767 / 32768.0);
    EXPECT_DOUBLE_EQ(wav.left[5], 16384 / 32768.0);
}

TEST(CourseSounds, PluckedStringsAreTunedByTheirFractionalDelay) {
    // A plain Karplus-Strong loop can only hold whole-sample periods; the
    // all-pass fraction must bring each string to its pitch (the chords of the
    // clicks and cues are played with these strings).
    for (double f : {82.41, 146.83, 329.63, 659.26}) {
        content::PluckStyle style;
        style.sustain = 4.0;
        std::vector<float> string = content::PluckString(f, 2.0, style);
        std::vector<double> x(string.begin(), string.end());
        double measured = PeakFrequency(x, content::kSampleRate, f, 3.0);
        std::printf("plucked %.2f Hz: %.3f Hz, %+.2f cent\n", f, measured, Cents(f, measured));
        EXPECT_LT(std::fabs(Cents(f, measured)), 1.0) << f;
    }
}
