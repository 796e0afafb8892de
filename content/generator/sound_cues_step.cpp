// Generator step "sounds": the button clicks and cues in ClickSounds/ and the
// tuner's looping reference tones in Sounds/, all synthesised here.

#include "content/generator/contentstep.h"
#include "content/generator/sound_synth.h"
#include "content/generator/sound_wav.h"

#include <cstdio>
#include <string>
#include <vector>

namespace content {
namespace {

// Guitar voicings from the low E string up (MIDI notes); E2 = 40, A2 = 45,
// D3 = 50, G3 = 55, B3 = 59, E4 = 64 are the open strings.
struct ClickChord {
    const char* file;
    std::vector<int> notes;
};

const std::vector<ClickChord> kClickChords = {
    {"Amaj7.wav", {45, 52, 56, 61, 64}},     // x 0 2 1 2 0
    {"Dmaj7.wav", {50, 57, 61, 66}},         // x x 0 2 2 2
    {"Eadd9.wav", {40, 47, 54, 56, 59, 64}}, // 0 2 4 1 0 0
    {"Fism9.wav", {42, 45, 52, 56, 61, 64}}, // 2 0 2 1 2 0
    {"Fmaj7.wav", {53, 57, 60, 64}},         // x x 3 2 1 0
    {"Hm9.wav", {47, 50, 57, 61, 66}},       // x 2 0 2 2 2
};

// The click: a quick, soft thumb strum, damped by the hand after a moment so
// that it is over before the next action's cue wants to sound.
Sound ClickSound(const ClickChord& chord, std::uint32_t seed) {
    PluckStyle thumb{.brightness = 0.25, .sustain = 1.5, .pluckPosition = 0.22, .seed = seed};
    Sound sound;
    sound.samples = Strum(chord.notes, 0.009, 0.30, thumb);
    DampAt(sound.samples, 0.16, 0.30);
    Normalise(sound.samples, 0.30);
    return sound;
}

// Single plucked notes one after the other: (MIDI note, start in seconds).
Sound Melody(const std::vector<std::pair<int, double>>& notes, double seconds, PluckStyle style,
             double dampFrom, double peak) {
    std::vector<float> mix;
    for (std::size_t i = 0; i < notes.size(); ++i) {
        style.seed += 31;
        double start = notes[i].second;
        MixInto(mix, PluckString(NoteFrequency(notes[i].first), seconds - start, style),
                static_cast<std::size_t>(start * kSampleRate), 1.0f);
    }
    mix.resize(static_cast<std::size_t>(seconds * kSampleRate), 0.0f);
    Sound sound;
    sound.samples = ApplyBody(mix, 0.8);
    DampAt(sound.samples, dampFrom, seconds);
    Normalise(sound.samples, peak);
    return sound;
}

// Refusal: a short falling minor third, softly plucked ("oh-oh").
Sound RefusalSound() {
    PluckStyle soft{.brightness = 0.3, .sustain = 0.8, .pluckPosition = 0.2, .seed = 501};
    return Melody({{67, 0.0}, {64, 0.14}}, 0.45, soft, 0.32, 0.45);
}

// Right: a bright rising C major arpeggio that rings out.
Sound RightSound() {
    PluckStyle bright{.brightness = 0.6, .sustain = 2.5, .pluckPosition = 0.15, .seed = 601};
    return Melody({{60, 0.0}, {64, 0.08}, {67, 0.16}, {72, 0.24}}, 1.3, bright, 0.9, 0.5);
}

// Wrong: two low notes a semitone apart, falling, quickly damped.
Sound WrongSound() {
    PluckStyle dull{.brightness = 0.2, .sustain = 1.2, .pluckPosition = 0.25, .seed = 701};
    return Melody({{52, 0.0}, {51, 0.22}}, 0.8, dull, 0.55, 0.5);
}

// Photo: two quick palm-muted scrapes of the strings, like a shutter.
Sound PhotoSound() {
    PluckStyle muted{.brightness = 0.9, .sustain = 0.05, .pluckPosition = 0.1, .seed = 801};
    std::vector<float> mix;
    MixInto(mix, Strum({40, 45, 50}, 0.003, 0.06, muted), 0, 1.0f);
    muted.seed = 802;
    MixInto(mix, Strum({45, 50, 55}, 0.003, 0.08, muted),
            static_cast<std::size_t>(0.09 * kSampleRate), 0.8f);
    mix.resize(static_cast<std::size_t>(0.22 * kSampleRate), 0.0f);
    Sound sound;
    sound.samples = std::move(mix);
    DampAt(sound.samples, 0.16, 0.22);
    Normalise(sound.samples, 0.4);
    return sound;
}

// A tuner tone: the given frequencies, sustained, as a seamless loop.
Sound TunerTone(const std::vector<double>& frequencies, double minSeconds, double maxSeconds,
                std::uint32_t seed, double* worstCents) {
    LoopFit fit = FitLoop(frequencies, minSeconds, maxSeconds);
    *worstCents = fit.worstCents;
    Sound sound;
    sound.samples = SustainedTone(fit.frequencies, fit.length, seed);
    Normalise(sound.samples, 0.5);
    return sound;
}

struct TunerString {
    const char* file;
    double frequency;
};

const std::vector<TunerString> kTunerStrings = {
    {"SaiteE2.wav", 329.63}, {"SaiteH.wav", 246.94}, {"SaiteG.wav", 196.00},
    {"SaiteD.wav", 146.83},  {"SaiteA.wav", 110.00}, {"SaiteE1.wav", 82.41},
};

bool WriteTunerTones(const std::filesystem::path& folder) {
    bool ok = true;
    std::uint32_t seed = 900;
    for (const TunerString& string : kTunerStrings) {
        double cents = 0;
        Sound tone = TunerTone({string.frequency}, 2.5, 3.5, ++seed, &cents);
        ok = WriteWav((folder / string.file).string(), tone) && ok;
        if (cents > 0.05) {
            std::fprintf(stderr, "content: %s is %.3f cent off\n", string.file, cents);
            ok = false;
        }
    }
    // The E major tuning chord as fingered: E2 B2 E3 G#3 B3 E4. The octaves are
    // whole multiples, so fitting E2, B2 and G#3 keeps all six in tune.
    const double e2 = NoteFrequency(40), b2 = NoteFrequency(47), gis3 = NoteFrequency(56);
    LoopFit fit = FitLoop({e2, b2, gis3}, 3.0, 6.0);
    const double e = fit.frequencies[0], b = fit.frequencies[1], gis = fit.frequencies[2];
    Sound chord;
    chord.samples = SustainedTone({e, b, 2 * e, gis, 2 * b, 4 * e}, fit.length, 950);
    Normalise(chord.samples, 0.5);
    ok = WriteWav((folder / "EDurStimmAkkord.wav").string(), chord) && ok;
    if (fit.worstCents > 0.5) {
        std::fprintf(stderr, "content: the tuning chord is %.3f cent off\n", fit.worstCents);
        ok = false;
    }
    return ok;
}

bool RunSounds(const GeneratorContext& context) {
    const std::filesystem::path clicks = context.out / "ClickSounds";
    bool ok = true;
    std::uint32_t seed = 100;
    for (const ClickChord& chord : kClickChords)
        ok = WriteWav((clicks / chord.file).string(), ClickSound(chord, ++seed)) && ok;
    ok = WriteWav((clicks / "oh.wav").string(), RefusalSound()) && ok;
    ok = WriteWav((clicks / "allesrichtig.wav").string(), RightSound()) && ok;
    ok = WriteWav((clicks / "nichtrichtig.wav").string(), WrongSound()) && ok;
    ok = WriteWav((clicks / "foto.wav").string(), PhotoSound()) && ok;
    return WriteTunerTones(context.out / "Sounds") && ok;
}

StepRegistration registration{"sounds", RunSounds};

} // namespace
} // namespace content
