// The synthesizer's frame clock follows what its output reports of the next
// frame: wavering reports slide it, a stall moves it at once, a single odd
// report does not.

#include "mxmidi/synthoutput.h"

#include <gtest/gtest.h>

using mxmidi::detail::FrameClockKeeper;

namespace {

constexpr std::uint32_t kLatency = 50000;

// Corrections for reports whose error (heard - (due + latency)) is `error`.
std::int64_t Report(FrameClockKeeper& keeper, std::int64_t error) {
    const std::int64_t due = 1000000;
    return keeper.Correct(due + kLatency + error, due, kLatency);
}

TEST(FrameClockKeeper, SmallErrorsSlideAnEighthOfTheWay) {
    FrameClockKeeper keeper;
    EXPECT_EQ(Report(keeper, 800), 100);
    EXPECT_EQ(Report(keeper, -3200), -400);
    EXPECT_EQ(Report(keeper, 0), 0);
    EXPECT_EQ(keeper.Jumps(), 0u);
}

TEST(FrameClockKeeper, AStallMovesTheClockOnceThreeReportsAgree) {
    FrameClockKeeper keeper;
    EXPECT_EQ(Report(keeper, 20000), 0);
    EXPECT_EQ(Report(keeper, 21000), 0);
    EXPECT_EQ(Report(keeper, 20500), 20500);
    EXPECT_EQ(keeper.Jumps(), 1u);
    // Corrected, the next report is small again.
    EXPECT_EQ(Report(keeper, 400), 50);
}

TEST(FrameClockKeeper, OddReportsThatDisagreeOrAreInterruptedMoveNothing) {
    FrameClockKeeper keeper;
    // A report of nothing buffered after a wake, then sane ones.
    EXPECT_EQ(Report(keeper, -40000), 0);
    EXPECT_EQ(Report(keeper, 300), 37);
    EXPECT_EQ(Report(keeper, -40000), 0);
    // Large but wandering: no two agree within 2 ms.
    EXPECT_EQ(Report(keeper, 15000), 0);
    EXPECT_EQ(Report(keeper, 25000), 0);
    EXPECT_EQ(Report(keeper, 9000), 0);
    EXPECT_EQ(keeper.Jumps(), 0u);
    // A wake forgets what came before.
    EXPECT_EQ(Report(keeper, 9500), 0);
    keeper.Forget();
    EXPECT_EQ(Report(keeper, 9400), 0);
    EXPECT_EQ(Report(keeper, 9300), 0);
    EXPECT_EQ(keeper.Jumps(), 0u);
}

} // namespace
