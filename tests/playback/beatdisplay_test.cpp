// The LED column, the pre-roll blink and the count-in digit, watched through
// the pixels they leave on a canvas; their timed steps driven by the test.

#include "playback/beatdisplay.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

using namespace platform;
using playback::LedBeat;
using playback::LedColumn;
using playback::PreRoll;

constexpr TColor kDarkColour = 0x000040;
constexpr TColor kLightColour = 0x00FF00;

void Fill(TBitmap& bitmap, int width, int height, TColor colour) {
    bitmap.SetSize(width, height);
    bitmap.Canvas()->Brush()->SetColor(colour);
    bitmap.Canvas()->FillRect(TRect(0, 0, width, height));
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

// A canvas of the main window's size with the two segment looks.
class BeatDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        Fill(window, 800, 600, 0xFFFFFF);
        Fill(dark, 12, 6, kDarkColour);
        Fill(light, 12, 6, kLightColour);
        column.Canvas = window.Canvas();
        column.Dark = &dark;
        column.Light = &light;
    }
    TColor PixelAt(int x, int y) { return window.Canvas()->Pixel(x, y); }

    TBitmap window, dark, light;
    LedColumn column;
};

TEST(LedDelay, FollowsTheTempo) {
    EXPECT_EQ(playback::LedDelayAtPlay(60), 34);
    EXPECT_EQ(playback::LedDelayAtPlay(140), 18);
    EXPECT_EQ(playback::LedDelayAtOpen(60), 37);
    // Truncated toward zero, also above 150 bpm: (150 - 178) * 0.2 + 16 = 10.4.
    EXPECT_EQ(playback::LedDelayAtPlay(178), 10);
}

// The pre-roll on a fake millisecond clock that the test moves one
// millisecond at a time: each change is recorded with its time and look.
struct PreRollRecord {
    std::vector<std::uint32_t> times;
    std::vector<bool> lights;
};

PreRollRecord RunPreRoll(TBitmap& window, const LedColumn& column, int countIn, int tempo) {
    PreRoll roll(column);
    std::uint32_t now = 1000;
    roll.Now = [&now] { return now; };
    bool done = false;
    PreRollRecord record;
    const int x = column.LedLeft + 2, y = column.LedTop + 101;
    window.OnChange = [&] {
        record.times.push_back(now - 1000);
        record.lights.push_back(window.Canvas()->Pixel(x, y) == kLightColour);
    };
    roll.Start(tempo, countIn, [&done] { done = true; });
    while (!done && now < 100000) {
        now += 1;
        roll.Advance();
    }
    window.OnChange = nullptr;
    EXPECT_TRUE(done);
    EXPECT_FALSE(roll.Running());
    return record;
}

TEST_F(BeatDisplayTest, PreRollOfEightBeatsMakesSeventeenChangesOverFourBeats) {
    const PreRollRecord record = RunPreRoll(window, column, 8, 120); // 500 ms a beat
    ASSERT_EQ(record.times.size(), 17u);
    for (size_t i = 0; i < record.times.size(); ++i) {
        EXPECT_EQ(record.times[i], 500 * i / 4) << "change " << i;
        EXPECT_EQ(record.lights[i], i % 2 == 0) << "change " << i;
    }
    EXPECT_EQ(record.times.back(), 2000u); // four beats
}

TEST_F(BeatDisplayTest, PreRollOfThreeBeatsMakesSevenChangesStartingAndEndingLight) {
    const PreRollRecord record = RunPreRoll(window, column, 3, 90); // 666 ms a beat
    ASSERT_EQ(record.times.size(), 7u);
    EXPECT_TRUE(record.lights.front());
    EXPECT_TRUE(record.lights.back());
    EXPECT_EQ(record.times[1], 666u / 4);
    EXPECT_EQ(record.times.back(), 666u * 6 / 4); // one and a half beats
}

// On its own timer the pre-roll ends after its time and starts nothing once
// cancelled.
TEST_F(BeatDisplayTest, PreRollRunsOnItsTimerAndACancelledOneNeverContinues) {
    PreRoll roll(column);
    bool done = false;
    roll.Start(600, 2, [&done] { done = true; }); // five changes over one beat of 100 ms
    EXPECT_TRUE(roll.Running());
    EXPECT_FALSE(done);
    EXPECT_TRUE(WaitUntil([&] { return done; }));

    bool second = false;
    roll.Start(600, 2, [&second] { second = true; });
    roll.Cancel();
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 250) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_FALSE(second);
    EXPECT_FALSE(roll.Running());
}

// The lit/dark state of the ten segments as the canvas shows them.
class LedColumnTest : public BeatDisplayTest {
protected:
    std::vector<char> Segments(const LedBeat& led) {
        std::vector<char> state;
        for (int i = 0; i < LedBeat::SegmentCount; ++i) {
            const TColor c = PixelAt(column.LedLeft + 3, led.SegmentTop(i) + 1);
            state.push_back(c == kLightColour ? 'L' : c == kDarkColour ? 'D' : '-');
        }
        return state;
    }
};

TEST_F(LedColumnTest, FillsAtOnceOnABeatThenDrainsFromTheTop) {
    LedBeat led(column);
    led.SegmentDelay = 5;
    std::vector<std::vector<char>> history;
    window.OnChange = [&] { history.push_back(Segments(led)); };

    led.Beat();
    const std::vector<char> allLit(10, 'L'), allDark(10, 'D');
    EXPECT_TRUE(WaitUntil([&] { return !history.empty() && history.back() == allDark; }));
    // Filled from the bottom (segment 9) up before any segment went dark,
    // then drained from the top down, one segment at a time.
    ASSERT_FALSE(history.empty());
    EXPECT_EQ(history.front(), std::vector<char>({'-', '-', '-', '-', '-', '-', '-', '-', '-', 'L'}));
    size_t firstDark = 0;
    while (firstDark < history.size() && history[firstDark][0] != 'D') ++firstDark;
    ASSERT_GT(firstDark, 0u);
    EXPECT_EQ(history[firstDark - 1], allLit);
    for (size_t i = firstDark; i < history.size(); ++i) {
        const auto dark = std::count(history[i].begin(), history[i].end(), 'D');
        for (int s = 0; s < 10; ++s) EXPECT_EQ(history[i][s], s < dark ? 'D' : 'L') << i;
    }
    EXPECT_FALSE(led.Draining());

    // The next beat fills the column again.
    const size_t before = history.size();
    led.Beat();
    ASSERT_GE(history.size(), before + 10);
    EXPECT_EQ(history[before + 9], allLit);
    window.OnChange = nullptr;
}

TEST_F(LedColumnTest, ABeatBeforeTheColumnHasDrainedRefillsFromSegmentThree) {
    LedBeat led(column);
    led.SegmentDelay = 40;
    std::vector<std::vector<char>> history;
    window.OnChange = [&] { history.push_back(Segments(led)); };
    led.Beat();
    // Segments 0..5 drained, then the next beat.
    for (int step = 0; step < 5; ++step) led.Drain();
    ASSERT_EQ(history.back()[5], 'D');
    const size_t atBeat = history.size();
    led.Beat();
    // Segments 3..0 light again while 4 and 5 stay dark and the lower ones
    // keep their light from the first fill; then the column drains anew.
    while (led.Draining()) led.Drain();
    window.OnChange = nullptr;
    EXPECT_EQ(history.back(), std::vector<char>(10, 'D'));
    bool refilled = false;
    for (size_t i = atBeat; i < history.size() && !refilled; ++i) {
        const auto& s = history[i];
        refilled = s[0] == 'L' && s[1] == 'L' && s[2] == 'L' && s[3] == 'L' && s[4] == 'D' &&
                   s[5] == 'D' && s[7] == 'L' && s[8] == 'L' && s[9] == 'L';
    }
    EXPECT_TRUE(refilled);
}

TEST_F(LedColumnTest, StoppedItDrawsNoMore) {
    LedBeat led(column);
    led.SegmentDelay = 5;
    led.Beat();
    led.Stop();
    int changes = 0;
    window.OnChange = [&] { ++changes; };
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 100) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    window.OnChange = nullptr;
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(led.Draining());
}

} // namespace
