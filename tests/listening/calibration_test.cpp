// The microphone's delay from eight clicks: the click file itself rendered
// through the synthesizer as the microphone would hear it from the
// speakers, a known delay late, over noise; a microphone that does not hear
// them; and the learner's strikes on the clicks instead.
#include "listening/clickcalibration.h"
#include "tests/listening/learnertake.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

namespace {

using listening::CalibrationResult;
using listening::ClickSource;
using listening::FindClicks;

constexpr std::int64_t kRecordedBefore = 400000; // the recording began 0.4 s before the file
constexpr double kSeconds = 6.6;

CalibrationResult Calibrate(std::int64_t delay, double noiseDb, double gain) {
    const std::vector<float> heard = listentest::RenderMidiBytes(listening::CalibrationClickFile(),
                                                                 kRecordedBefore + delay, kSeconds, noiseDb, gain);
    return FindClicks(heard, listentest::kTakeRate, -kRecordedBefore, ClickSource::Speakers);
}

TEST(ClickCalibration, TheClickFileHoldsEightClicksABeatApartWithinItsLength) {
    const auto times = listening::CalibrationClickTimes();
    ASSERT_EQ(times.size(), 8u);
    for (std::size_t i = 1; i < times.size(); ++i) EXPECT_EQ(times[i] - times[i - 1], listening::kClickSpacingMicros);
    EXPECT_GT(listening::CalibrationLengthMicros(), times.back());
    // Rendered with no delay, the first sound comes at the first click.
    const auto heard = listentest::RenderMidiBytes(listening::CalibrationClickFile(), 0, 1.0, -120);
    std::size_t first = 0;
    while (first < heard.size() && std::abs(heard[first]) < 1e-3f) ++first;
    EXPECT_NEAR(double(first) / listentest::kTakeRate, double(times[0]) / 1e6, 0.005);
}

// Delays as a sound server gives them, one of them negative (an output
// latency reported too long), loud and soft, over a quiet room and a
// hissing microphone.
TEST(ClickCalibration, TheSpeakersClicksGiveTheDelayWithinAFewMilliseconds) {
    struct Case {
        std::int64_t delay;
        double noiseDb, gain;
    };
    for (const Case& c : {Case{35000, -66, 1.0}, Case{140000, -66, 0.2}, Case{-30000, -66, 1.0},
                          Case{62000, -50, 0.5}, Case{8000, -55, 0.3}}) {
        SCOPED_TRACE(testing::Message() << "delay " << c.delay << " noise " << c.noiseDb << " gain " << c.gain);
        const CalibrationResult result = Calibrate(c.delay, c.noiseDb, c.gain);
        EXPECT_EQ(result.found, 8);
        EXPECT_TRUE(result.Usable());
        EXPECT_NEAR(double(result.delayMicros), double(c.delay), 3000);
    }
}

// Clicks lost in the noise, or only a few of them: the calibration does
// not trust it (the caller turns to the learner's strikes).
TEST(ClickCalibration, ClicksTheMicrophoneHardlyHearsAreNotUsed) {
    EXPECT_FALSE(Calibrate(40000, -30, 0.002).Usable());
    std::vector<float> silence(std::size_t(kSeconds * listentest::kTakeRate), 0.0f);
    EXPECT_EQ(FindClicks(silence, listentest::kTakeRate, -kRecordedBefore, ClickSource::Speakers).found, 0);
    EXPECT_EQ(FindClicks({}, listentest::kTakeRate, 0, ClickSource::Speakers).found, 0);

    // Five of the eight reach the microphone: one short of enough.
    std::vector<float> heard = listentest::RenderMidiBytes(listening::CalibrationClickFile(), kRecordedBefore + 50000,
                                                           kSeconds, -66);
    const auto times = listening::CalibrationClickTimes();
    for (std::size_t i = 5; i < times.size(); ++i) {
        const auto from = std::size_t(double(times[i] + kRecordedBefore) * listentest::kTakeRate / 1e6);
        std::fill(heard.begin() + std::ptrdiff_t(from), heard.begin() + std::ptrdiff_t(from + 20000), 0.0f);
    }
    const CalibrationResult five = FindClicks(heard, listentest::kTakeRate, -kRecordedBefore, ClickSource::Speakers);
    EXPECT_EQ(five.found, 5);
    EXPECT_FALSE(five.Usable());
}

// The learner plays the low E on each click, a hand's scatter around it,
// once a click late by a mile; the delay comes out within the scatter.
TEST(ClickCalibration, TheLearnersStrikesOnTheClicksGiveTheDelay) {
    constexpr std::int64_t delay = 45000;
    std::mt19937 random(3);
    std::uniform_int_distribution<int> scatter(-15000, 15000);
    std::vector<listentest::PlayedStrike> strikes;
    for (const std::int64_t click : listening::CalibrationClickTimes())
        strikes.push_back({kRecordedBefore + click + delay + scatter(random), {40}});
    strikes[3].micros += 150000;
    const auto heard = listentest::RenderTake(strikes, kSeconds);
    const CalibrationResult result = FindClicks(heard, listentest::kTakeRate, -kRecordedBefore, ClickSource::Played);
    EXPECT_EQ(result.found, 7);
    EXPECT_TRUE(result.Usable());
    EXPECT_NEAR(double(result.delayMicros), double(delay), 12000);
}

TEST(ClickCalibration, TheDefaultIsTheInputsReportWithinReason) {
    EXPECT_EQ(listening::DefaultMicrophoneDelay(42000), 42000);
    EXPECT_EQ(listening::DefaultMicrophoneDelay(0), listening::kDefaultMicrophoneDelayMicros);
    EXPECT_EQ(listening::DefaultMicrophoneDelay(5000000), listening::kDefaultMicrophoneDelayMicros);
}

} // namespace
