#pragma once
// Guitar-like sound synthesis for the course's cues and tuner tones.
//
// Plucked notes use Karplus-Strong strings (a delay line with a loss filter,
// tuned with a fractional all-pass delay, excited by seeded noise) and a small
// bank of body resonances. Sustained tuner tones are additive: a plucked
// string's harmonic spectrum held steady over a loop that holds a whole number
// of periods of every partial, so that the loop seam is inaudible and the pitch
// is exact. Everything is deterministic: the same arguments give the same
// samples on every machine.

#include "content/generator/sound_wav.h"

#include <cstdint>
#include <vector>

namespace content {

// Frequency of a MIDI note number in equal temperament (A4 = note 69 = 440 Hz).
double NoteFrequency(double midiNote);

// Distance of `actual` from `target` in cents.
double CentsBetween(double target, double actual);

// A small reproducible noise source (xorshift), independent of the C++ library.
class NoiseSource {
public:
    explicit NoiseSource(std::uint32_t seed) : state_(seed == 0 ? 0x9E3779B9u : seed) {}
    float Next(); // uniform in -1..1

private:
    std::uint32_t state_;
};

// How a string is plucked.
struct PluckStyle {
    double brightness = 0.5;    // 0 dark (thumb, soft) .. 1 bright (pick)
    double sustain = 3.0;       // seconds for the string to fall by 60 dB
    double pluckPosition = 0.2; // fraction of the string length from the bridge
    std::uint32_t seed = 1;
};

// One plucked string of `seconds` length at `frequency` (Karplus-Strong with a
// fractional delay, so that the pitch is right to a small fraction of a cent
// of the loop's own tuning).
std::vector<float> PluckString(double frequency, double seconds, const PluckStyle& style);

// Adds `part` into `mix` from sample `offset` on, scaled by `gain`; `mix` grows
// as needed.
void MixInto(std::vector<float>& mix, const std::vector<float>& part, std::size_t offset,
             float gain);

// The guitar body: a few resonances added to the direct sound.
std::vector<float> ApplyBody(const std::vector<float>& dry, double amount);

// A strummed chord: `notes` are MIDI note numbers from the lowest string up,
// `gap` the seconds between two strings, `seconds` the length of the result.
std::vector<float> Strum(const std::vector<int>& notes, double gap, double seconds,
                         const PluckStyle& style);

// Multiplies the tail from `start` seconds on by a half-cosine fade to silence
// at `end` seconds (the hand damping the strings); after `end` all is silent.
void DampAt(std::vector<float>& samples, double start, double end);

// Scales the samples so that the largest magnitude is `peak`.
void Normalise(std::vector<float>& samples, double peak);

// A loop length (in samples) and the frequencies that fit it exactly.
struct LoopFit {
    std::size_t length = 0;
    std::vector<double> frequencies; // actual frequencies, one per requested one
    double worstCents = 0;           // largest distance from a requested frequency
};

// Finds the loop length between `minSeconds` and `maxSeconds` in which every
// requested frequency completes a whole number of periods with the smallest
// worst pitch error.
LoopFit FitLoop(const std::vector<double>& frequencies, double minSeconds, double maxSeconds);

// A sustained, loopable guitar tone: each note of `frequencies` (which must
// fit `length` samples exactly, see FitLoop) sounds with the harmonic spectrum
// of a plucked string, gently alive but with a steady level.
std::vector<float> SustainedTone(const std::vector<double>& frequencies, std::size_t length,
                                 std::uint32_t seed);

} // namespace content
