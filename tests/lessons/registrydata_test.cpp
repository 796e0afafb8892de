// The registry's tables: the lessons' special cases and the language rules.

#include "lessons/registrydata.h"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace lessons;

TEST(RegistryData, CountInIsFourExceptLessonsNineAndTwentyEight) {
    for (int n = 0; n < kLessonCount; ++n) {
        const int expected = n == 9 ? 3 : n == 28 ? 8 : 4;
        EXPECT_EQ(LessonValuesOf(n).CountInBeats, expected) << "lesson " << n;
    }
}

TEST(RegistryData, OnlyTheFirstAndLastLessonPresetThePlayCountAndKeepTheBeatDisplay) {
    for (int n = 0; n < kLessonCount; ++n) {
        const bool edge = n == 0 || n == 29;
        EXPECT_EQ(LessonValuesOf(n).PlayCountPreset, edge ? 3 : kNoPreset) << "lesson " << n;
        EXPECT_EQ(LessonValuesOf(n).BeatDisplayOffset == kUnchanged, edge) << "lesson " << n;
    }
}

TEST(RegistryData, HeadersNameLessonsOneToThreeOnly) {
    EXPECT_STREQ(LessonValuesOf(0).Header, "0");
    EXPECT_STREQ(LessonValuesOf(1).Header, "1");
    EXPECT_STREQ(LessonValuesOf(3).Header, "3");
    EXPECT_STREQ(LessonValuesOf(4).Header, "0");
}

TEST(RegistryData, LanguageOneChangesGeometryAndTempoOtherCodesOnlyTheTempo) {
    EXPECT_EQ(LessonGeometry(12, 0).OriginY, 357);
    EXPECT_EQ(LessonGeometry(12, 1).OriginY, 345);
    EXPECT_EQ(LessonGeometry(12, 2).OriginY, 357);
    EXPECT_EQ(LessonGeometry(12, 1).BeatCount, 64);
    EXPECT_EQ(LessonGeometry(12, 2).BeatCount, 56);
    EXPECT_EQ(LessonTempo(12, 1, 0), 50);
    EXPECT_EQ(LessonTempo(12, 1, 1), 60);
    EXPECT_EQ(LessonTempo(12, 1, 2), 60);
    EXPECT_EQ(LessonTempo(17, 5, 0), 90);
    EXPECT_EQ(LessonTempo(17, 5, 2), 130);
    // Lessons without a second row ignore the language.
    EXPECT_EQ(LessonTempo(25, 10, 1), 178);
    EXPECT_EQ(LessonGeometry(1, 1), LessonGeometry(1, 0));
}

TEST(RegistryData, LevelsOutsideOneToTenTakeLevelOne) {
    EXPECT_EQ(LessonTempo(25, 0, 0), 70);
    EXPECT_EQ(LessonTempo(25, 11, 0), 70);
    EXPECT_EQ(LessonTempo(25, 10, 0), 178);
}

TEST(RegistryData, SlotsAreTruncatedIntegersAndARealBeatWidth) {
    const playback::CursorGeometry g = LessonGeometry(16, 0);
    EXPECT_EQ(g.BeatWidth, 23.2f);
    EXPECT_EQ(g.OriginX, 258);
    EXPECT_EQ(g.OriginY, 479);
    EXPECT_EQ(g.Spare11, 0);
    EXPECT_EQ(g.HoldFrom, -100);
    EXPECT_EQ(g.HoldTo, -100);
    StoredGeometry odd = StoredGeometryOf(1);
    odd[1] = 525.9;
    odd[11] = -1.7;
    EXPECT_EQ(GeometryFromStored(odd).OriginY, 525);
    EXPECT_EQ(GeometryFromStored(odd).JumpFrom1, -1);
}

TEST(RegistryData, OnlyLessonNineteenHoldsThePoint) {
    EXPECT_EQ(MainScreenHold(19), (HoldRange{32, 35}));
    for (int n = 0; n < kLessonCount; ++n)
        if (n != 19) {
            EXPECT_EQ(MainScreenHold(n), HoldRange{}) << "lesson " << n;
        }
}

TEST(RegistryData, FileNamesOfALesson) {
    EXPECT_EQ(MainScreenFile(12), "lektion12\\MainWin.zs1");
    EXPECT_EQ(SlideFile(0, 2), "lektion0\\WinC.zs1");
    EXPECT_EQ(QuizFile(29), "lektion29\\Kontrolle.zs1");
    EXPECT_EQ(ExerciseFile(12, 3), "Midi\\uebung12_3.mid");
}

TEST(RegistryData, ANumberOutsideTheCourseNeverIndexesATable) {
    EXPECT_FALSE(IsLesson(-1));
    EXPECT_FALSE(IsLesson(30));
    EXPECT_THROW(LessonValuesOf(30), std::out_of_range);
    EXPECT_THROW(LessonGeometry(-1, 0), std::out_of_range);
    EXPECT_THROW(LessonTempo(31, 1, 0), std::out_of_range);
    EXPECT_THROW(MainScreenFile(-5), std::out_of_range);
    EXPECT_THROW(SlideFile(1, 3), std::out_of_range);
    EXPECT_FALSE(SkipsSlideWindow(-1, 0));
}

TEST(RegistryData, SlideWindowsPassedOver) {
    EXPECT_TRUE(SkipsSlideWindow(17, 0));
    EXPECT_TRUE(SkipsSlideWindow(17, 1));
    EXPECT_FALSE(SkipsSlideWindow(17, 2));
    EXPECT_FALSE(SkipsSlideWindow(1, 0));
    EXPECT_TRUE(SkipsSlideWindow(3, 1));
}
