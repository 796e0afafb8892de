#include "tests/listening/learnertake.h"

#include "mxmidi/smfreader.h"
#include "tests/support/testsupport.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace listentest {

namespace {

constexpr int kNylonGuitar = 24;
constexpr std::int64_t kStrumStepMicros = 8000;

// A FluidSynth with the program's sound font, rendering mono at kTakeRate.
class Synth {
public:
    Synth() {
        settings_ = new_fluid_settings();
        fluid_settings_setnum(settings_, "synth.sample-rate", kTakeRate);
        synth_ = new_fluid_synth(settings_);
        const char* named = std::getenv("ZUPFARI_SOUNDFONT");
        const std::string font = named != nullptr ? named : "/usr/share/sounds/sf2/default-GM.sf2";
        if (fluid_synth_sfload(synth_, font.c_str(), 1) == FLUID_FAILED)
            throw std::runtime_error("no sound font at " + font);
    }
    ~Synth() {
        delete_fluid_synth(synth_);
        delete_fluid_settings(settings_);
    }
    fluid_synth_t* Get() { return synth_; }
    // Renders up to file time `micros`.
    void RenderUntil(std::int64_t micros, std::vector<float>& out) {
        const auto frames = std::size_t(std::llround(double(micros) * kTakeRate / 1e6));
        if (frames <= out.size()) return;
        const std::size_t from = out.size();
        out.resize(frames);
        std::vector<float> left(frames - from), right(frames - from);
        fluid_synth_write_float(synth_, int(left.size()), left.data(), 0, 1, right.data(), 0, 1);
        for (std::size_t i = 0; i < left.size(); ++i) out[from + i] = 0.5f * (left[i] + right[i]);
    }

private:
    fluid_settings_t* settings_;
    fluid_synth_t* synth_;
};

struct Event {
    std::int64_t micros;
    int order;
    std::uint8_t status, data1, data2;
};

} // namespace

std::vector<PlayedStrike> AsWritten(const listening::ExercisePart& part) {
    std::vector<PlayedStrike> strikes;
    for (const listening::ExpectedStrike& strike : part.strikes) strikes.push_back({strike.micros, strike.notes});
    return strikes;
}

std::vector<float> RenderTake(const std::vector<PlayedStrike>& strikes, double seconds, double noiseDb) {
    std::vector<Event> events;
    int order = 0;
    for (std::size_t i = 0; i < strikes.size(); ++i) {
        const std::int64_t end = i + 1 < strikes.size() ? strikes[i + 1].micros : strikes[i].micros + 1500000;
        for (std::size_t n = 0; n < strikes[i].notes.size(); ++n) {
            const auto note = std::uint8_t(strikes[i].notes[n]);
            events.push_back({strikes[i].micros + std::int64_t(n) * kStrumStepMicros, order++, 0x90, note, 96});
            events.push_back({end - 1000, order++, 0x80, note, 0});
        }
    }
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.micros < b.micros; });
    Synth synth;
    fluid_synth_program_change(synth.Get(), 0, kNylonGuitar);
    std::vector<float> out;
    for (const Event& event : events) {
        synth.RenderUntil(event.micros, out);
        if (event.status == 0x90) {
            fluid_synth_noteon(synth.Get(), 0, event.data1, event.data2);
        } else {
            fluid_synth_noteoff(synth.Get(), 0, event.data1);
        }
    }
    synth.RenderUntil(std::int64_t(seconds * 1e6), out);
    out.resize(std::size_t(seconds * kTakeRate));
    std::mt19937 random(7);
    std::normal_distribution<float> noise(0, float(std::pow(10.0, noiseDb / 20)));
    for (float& sample : out) sample += noise(random);
    return out;
}

std::vector<float> RenderExercise(const std::string& path, const listening::ExercisePart& part, bool muteLearner,
                                  double gain) {
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const auto content = mxmidi::smf::ParseSmf(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    if (!content) throw std::runtime_error("cannot read " + path);
    std::vector<Event> events;
    int order = 0;
    for (std::size_t t = 0; t < content->tracks.size(); ++t) {
        if (muteLearner && int(t) == part.learnerTrack) continue;
        std::int64_t tick = 0;
        for (const MidiEvent& event : content->tracks[t].events) {
            tick += event.time;
            if (event.status < 0x80 || event.status >= 0xF0) continue;
            events.push_back({part.MicrosAtFileBeat(double(tick) / part.resolution), order++, event.status,
                              event.data1, event.data2});
        }
    }
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.micros < b.micros; });
    Synth synth;
    std::vector<float> out;
    for (const Event& event : events) {
        synth.RenderUntil(event.micros, out);
        const int channel = event.status & 0x0F;
        switch (event.status & 0xF0) {
        case 0x90: fluid_synth_noteon(synth.Get(), channel, event.data1, event.data2); break;
        case 0x80: fluid_synth_noteoff(synth.Get(), channel, event.data1); break;
        case 0xB0: fluid_synth_cc(synth.Get(), channel, event.data1, event.data2); break;
        case 0xC0: fluid_synth_program_change(synth.Get(), channel, event.data1); break;
        case 0xE0: fluid_synth_pitch_bend(synth.Get(), channel, event.data1 | (event.data2 << 7)); break;
        default: break;
        }
    }
    synth.RenderUntil(part.endMicros + 1000000, out);
    for (float& sample : out) sample = float(sample * gain);
    return out;
}

std::vector<float> RenderMidiBytes(const std::string& bytes, std::int64_t delayMicros, double seconds,
                                   double noiseDb, double gain) {
    const auto content = mxmidi::smf::ParseSmf(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    if (!content || content->tracks.size() != 1) throw std::runtime_error("not a MIDI file of one track");
    Synth synth;
    std::vector<float> out;
    double micros = double(delayMicros), tempo = 500000;
    for (const MidiEvent& event : content->tracks[0].events) {
        micros += event.time * tempo / content->resolution;
        if (event.status == 0) { // a tempo
            tempo = double((event.data1 << 16) | (event.data2 << 8) | event.data3);
            continue;
        }
        synth.RenderUntil(std::int64_t(micros), out);
        const int channel = event.status & 0x0F;
        if ((event.status & 0xF0) == 0x90) fluid_synth_noteon(synth.Get(), channel, event.data1, event.data2);
        if ((event.status & 0xF0) == 0x80) fluid_synth_noteoff(synth.Get(), channel, event.data1);
    }
    synth.RenderUntil(std::int64_t(seconds * 1e6), out);
    out.resize(std::size_t(seconds * kTakeRate));
    std::mt19937 random(11);
    std::normal_distribution<float> noise(0, float(std::pow(10.0, noiseDb / 20)));
    for (float& sample : out) sample = float(sample * gain) + noise(random);
    return out;
}

void Mix(std::vector<float>& into, const std::vector<float>& sound) {
    if (into.size() < sound.size()) into.resize(sound.size());
    for (std::size_t i = 0; i < sound.size(); ++i) into[i] += sound[i];
}

std::string ExerciseFileOf(int lesson, int level) {
    return testsupport::BinFolder() + "Midi/uebung" + std::to_string(lesson) + "_" + std::to_string(level) +
           ".mid";
}

} // namespace listentest
