// The generated content read through the program's own code: the list store
// reads the fresh-start lists and the explorer texts, and the sound layer
// accepts every cue and tuner tone.

#include "plan/liststore.h"
#include "platform/ui/wavefile.h"
#include "tests/content/course_wavreader.h"
#include "tests/support/testsupport.h"

#include "platform/core/files.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(CourseContentInTheProgram, ListStoreStartsTheCourseFromTheShippedLists) {
    testsupport::TempFolder emptyDataFolder;
    plan::ListStore store;
    ASSERT_TRUE(store.ReadStoredLists(emptyDataFolder.Path(), coursetest::ContentFolder()));
    for (const plan::ListEntry& slot : store.Plan) {
        EXPECT_EQ(slot.Lesson, -1);
        EXPECT_EQ(slot.Level, 1);
        EXPECT_EQ(slot.PlayCount, 0);
    }
    for (const plan::ListEntry& waiting : store.Waiting) {
        EXPECT_EQ(waiting.Lesson, 1);
        EXPECT_EQ(waiting.Level, 1);
        EXPECT_EQ(waiting.PlayCount, 0);
    }
    EXPECT_EQ(store.FirstWaiting(), 0);
}

TEST(CourseContentInTheProgram, ExplorerShowsARealTitleAndTextForAllThirtyOneEntries) {
    QStringList titles, texts;
    plan::ListStore::ReadExplorerTexts(coursetest::ContentFolder(), titles, texts);
    ASSERT_EQ(titles.size(), 31);
    ASSERT_EQ(texts.size(), 31);
    for (int n = 0; n < 31; ++n) {
        EXPECT_NE(titles[n].trimmed(), "") << n;
        EXPECT_GT(texts[n].size(), 20) << n;
    }
    EXPECT_EQ(titles[12], QString("G-Dur und das$nerste Lied"));
    EXPECT_TRUE(texts[30].contains("Konzert"));
}

TEST(CourseContentInTheProgram, SoundLayerAcceptsEverySound) {
    const std::string folder = coursetest::ContentFolder();
    int count = 0;
    for (const char* sub : {"ClickSounds", "Sounds"}) {
        for (const auto& entry : std::filesystem::directory_iterator(folder + sub)) {
            auto bytes = platform::ReadFileBytes(entry.path().string());
            ASSERT_TRUE(bytes.has_value());
            std::string error;
            auto wave = platform::ParseWave(*bytes, &error);
            ASSERT_TRUE(wave.has_value()) << entry.path() << ": " << error;
            EXPECT_EQ(wave->sampleRate, 44100);
            EXPECT_EQ(wave->bitsPerSample, 16);
            EXPECT_GT(wave->DurationMs(), 100u);
            ++count;
        }
    }
    EXPECT_EQ(count, 17);
    // The click is over before a cue that follows it would be refused.
    auto click =
        platform::ParseWave(platform::ReadFileBytes(folder + "ClickSounds/Fmaj7.wav").value_or(""));
    ASSERT_TRUE(click.has_value());
    EXPECT_LE(click->DurationMs(), 350u);
}
