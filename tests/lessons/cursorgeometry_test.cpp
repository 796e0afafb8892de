// The play cursor's arithmetic: hold range, jumps, fold and layout.

#include "lessons/registrydata.h"
#include "playback/cursorgeometry.h"

#include <gtest/gtest.h>

using playback::ComputeCursorStep;
using playback::CursorGeometry;
using playback::CursorNotationBeat;

namespace {

CursorGeometry Grid(float beatWidth, int beatsPerLine) {
    CursorGeometry g;
    g.OriginX = 40;
    g.OriginY = 100;
    g.LineSpacing = 60;
    g.BeatWidth = beatWidth;
    g.BeatsPerLine = beatsPerLine;
    g.WrapLength = 64;
    g.BeatCount = 64;
    return g;
}

} // namespace

TEST(CursorGeometry, ARealBeatWidthIsTruncatedPerColumn) {
    const CursorGeometry g = Grid(32.5f, 16);
    EXPECT_EQ(ComputeCursorStep(g, 0).PointX, 40);
    EXPECT_EQ(ComputeCursorStep(g, 1).PointX, 72);
    EXPECT_EQ(ComputeCursorStep(g, 2).PointX, 105);
    EXPECT_EQ(ComputeCursorStep(g, 3).PointX, 137);
}

TEST(CursorGeometry, LinesBreakAfterBeatsPerLine) {
    const CursorGeometry g = Grid(32.0f, 16);
    const playback::CursorStep step = ComputeCursorStep(g, 17);
    EXPECT_EQ(step.Row, 1);
    EXPECT_EQ(step.Column, 1);
    EXPECT_EQ(step.PointX, 72);
    EXPECT_EQ(step.PointY, 160);
}

TEST(CursorGeometry, WithoutAHoldRangeEveryPositionIsDrawn) {
    const CursorGeometry g = Grid(32.0f, 16);
    for (int p = 0; p < 200; ++p)
        EXPECT_FALSE(ComputeCursorStep(g, p).Held) << p;
}

TEST(CursorGeometry, InsideTheHoldRangeThePointStays) {
    CursorGeometry g = lessons::LessonGeometry(19, 0);
    g.HoldFrom = 32;
    g.HoldTo = 35;
    EXPECT_FALSE(ComputeCursorStep(g, 31).Held);
    EXPECT_TRUE(ComputeCursorStep(g, 32).Held);
    EXPECT_TRUE(ComputeCursorStep(g, 35).Held);
    EXPECT_FALSE(ComputeCursorStep(g, 36).Held);
    EXPECT_EQ(CursorNotationBeat(g, 33), -1);
}

TEST(CursorGeometry, TheSecondTimeThroughRunsOverTheSameLines) {
    // Lesson 1: 16 beats of notation played twice.
    const CursorGeometry g = lessons::LessonGeometry(1, 0);
    for (int p = 0; p < 16; ++p) {
        const playback::CursorStep first = ComputeCursorStep(g, p);
        const playback::CursorStep second = ComputeCursorStep(g, p + 16);
        EXPECT_EQ(second.Position, p);
        EXPECT_EQ(second.PointX, first.PointX);
        EXPECT_EQ(second.PointY, first.PointY);
    }
}

TEST(CursorGeometry, JumpsSkipRepeatedBars) {
    // Lesson 28: from beat 32 on 32 beats are skipped, from 80 on 48, and
    // positions past the 64 beats of notation fold back (and jump again).
    const CursorGeometry g = lessons::LessonGeometry(28, 0);
    EXPECT_EQ(CursorNotationBeat(g, 31), 31);
    EXPECT_EQ(CursorNotationBeat(g, 32), 0);
    EXPECT_EQ(ComputeCursorStep(g, 32).SkipApplied, 32);
    EXPECT_EQ(CursorNotationBeat(g, 79), 47);
    EXPECT_EQ(CursorNotationBeat(g, 80), 32);
    EXPECT_EQ(ComputeCursorStep(g, 80).SkipApplied, 48);
    EXPECT_EQ(CursorNotationBeat(g, 112), 0);
    EXPECT_EQ(CursorNotationBeat(g, 175), 31);
}

TEST(CursorGeometry, AGeometryWithoutBeatsPerLineDoesNotDivideByZero) {
    CursorGeometry g = Grid(10.0f, 0);
    const playback::CursorStep step = ComputeCursorStep(g, 5);
    EXPECT_EQ(step.Row, 0);
    EXPECT_EQ(step.PointX, 90);
}
