#pragma once
// A sound layer under test control: a clock that moves only when told to and
// an output that records what reached it. Installed for the fixture's life.

#include "platform/ui/sound.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace soundtest {

class ManualClock : public platform::SoundClock {
public:
    std::uint64_t NowMs() override { return now; }
    void WaitMs(std::uint64_t ms) override { now += ms; }
    std::uint64_t now = 1000;
};

// Records "start <channels>/<bits>/<rate> <frames> once|loop" and "stop".
class RecordingOutput : public platform::SoundOutput {
public:
    void Start(std::shared_ptr<const platform::WaveSound> sound, bool loop) override {
        events.push_back("start " + std::to_string(sound->channels) + "/" +
                         std::to_string(sound->bitsPerSample) + "/" +
                         std::to_string(sound->sampleRate) + " " +
                         std::to_string(sound->FrameCount()) + (loop ? " loop" : " once"));
    }
    void Stop() override { events.push_back("stop"); }
    std::vector<std::string> events;
};

// `ms` milliseconds of 16-bit mono silence at 1000 frames per second: one
// frame per millisecond makes lengths easy to read.
std::string WaveOfMs(int ms);

class SoundFixture : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetSoundClock(&clock);
        platform::SetSoundOutput(&output);
        output.events.clear();
    }
    void TearDown() override {
        platform::PlaySound(nullptr, 0);
        platform::SetSoundOutput(nullptr);
        platform::SetSoundClock(nullptr);
    }
    ManualClock clock;
    RecordingOutput output;
};

} // namespace soundtest
