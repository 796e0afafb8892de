#pragma once
// Learner takes for the play-along check's tests and benchmark: what a
// learner plays along with an exercise, rendered through the synthesizer
// (FluidSynth with the program's sound font) as the microphone would hear
// it, and the speakers' bleed of the exercise itself with its guitar part
// muted.

#include "listening/exercisepart.h"

#include <cstdint>
#include <string>
#include <vector>

namespace listentest {

inline constexpr int kTakeRate = 44100;

// One strike the learner plays: when (file microseconds) and which notes
// (a chord's strings are spread 8 ms apart, low to high: a
// downstroke over six strings in 40 ms).
struct PlayedStrike {
    std::int64_t micros = 0;
    std::vector<int> notes;
};

// The strikes of the exercise exactly as written.
std::vector<PlayedStrike> AsWritten(const listening::ExercisePart& part);

// The learner's strikes through the synthesizer's nylon guitar, each
// ringing until the next, from file time 0 for `seconds`, with white noise
// `noiseDb` below full scale.
std::vector<float> RenderTake(const std::vector<PlayedStrike>& strikes, double seconds, double noiseDb = -66);

// The exercise file's events through the synthesizer, from its time 0,
// with the learner's track left out when `muteLearner`; scaled by `gain`.
std::vector<float> RenderExercise(const std::string& path, const listening::ExercisePart& part, bool muteLearner,
                                  double gain);

// A standard MIDI file of one track (its bytes) through the synthesizer,
// every event `delayMicros` late, for `seconds`, with white noise `noiseDb`
// below full scale and the sound scaled by `gain`: the speakers heard by a
// microphone.
std::vector<float> RenderMidiBytes(const std::string& bytes, std::int64_t delayMicros, double seconds,
                                   double noiseDb, double gain = 1.0);

// Mixes `sound` into `into` (growing it when needed).
void Mix(std::vector<float>& into, const std::vector<float>& sound);

// The path of an exercise file of the built program.
std::string ExerciseFileOf(int lesson, int level);

} // namespace listentest
