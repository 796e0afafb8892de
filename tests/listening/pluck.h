#pragma once
// Plucked guitar strings made from their physics, for the tests and the
// benchmark of the listening analysis: partials that grow sharper with their
// number (stiffness, the inharmonicity coefficient B), the spectrum of a
// pluck near the bridge, higher partials dying faster, a weak fundamental on
// the low strings, the pick's noise at the attack and a little background
// noise. Real strings do not follow the stiffness law exactly, and ring a
// little sharp right after a hard pluck: each partial is also put a random
// fraction of a cent off the law, and the whole sound starts a few cents
// sharp and settles within a tenth of a second.

#include <cstdint>
#include <string>
#include <vector>

namespace listentest {

struct Pluck {
    double frequency = 110;    // Hz of the first partial (what a tuner must read)
    double inharmonicity = 5e-5;
    double fundamentalDb = 0;  // first partial against the second, in dB
    double pluckPosition = 0.18; // share of the string length from the bridge
    double decaySeconds = 3.0; // time constant of the first partial
    double seconds = 2.5;      // length of the sound after the pluck
    double leadSeconds = 0.2;  // silence (noise only) before the pluck
    double peak = 0.5;         // peak of the string's sound
    double noiseDb = -66;      // white background noise, dB below full scale
    double partialSpreadCents = 0.5; // partials off the stiffness law, at most
    double attackSharpCents = 3;     // sharp at the attack, settling with 60 ms
    // A resonance of the guitar's body that the pluck sets ringing near the
    // low strings' first partials and that dies within a few tenths of a
    // second; none when 0.
    double bodyHz = 0;
    double bodyDb = -12;         // its start against the string's strongest partial
    double bodyDecaySeconds = 0.1;
    std::uint32_t seed = 1;
};

// The way a string of the guitar (listening::LowE .. HighE) sounds, tuned
// `detuneCents` away from standard tuning.
Pluck GuitarPluck(int string, double detuneCents);

// The sound as mono samples at `sampleRate`.
std::vector<float> Render(const Pluck& pluck, int sampleRate);

// Mixes `sound` into `into` from frame `at` on (growing it when needed).
void MixInto(std::vector<float>& into, const std::vector<float>& sound, std::size_t at);

// A 16-bit mono PCM WAV file of `samples` (clipped to full scale).
std::string WaveFile16(const std::vector<float>& samples, int sampleRate);

} // namespace listentest
