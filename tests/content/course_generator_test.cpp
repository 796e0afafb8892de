// The generator's course steps as a program: the same sources give the same
// bytes on every run, and a broken outline stops the build with its reasons.

#include "platform/core/files.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <map>
#include <thread>

namespace {

const char* const kSteps[] = {"sounds",         "course-lists",     "course-help",
                              "course-outline", "course-exercises", "course-chords"};

int RunStep(const std::string& sources, const std::string& out, const char* step,
            const std::string& log) {
    return testsupport::RunShell(std::string("'") + ZUPFARI_CONTENT_TOOL + "' --sources '" +
                                 sources + "' --out '" + out + "' --only " + step + " >'" + log +
                                 "' 2>&1");
}

std::map<std::string, std::string> FilesUnder(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[std::filesystem::relative(entry.path(), folder).string()] =
                platform::ReadFileBytes(entry.path().string()).value_or("");
    return files;
}

} // namespace

TEST(CourseGenerator, SameSourcesGiveTheSameBytes) {
    testsupport::TempFolder first, second;
    for (const char* step : kSteps)
        ASSERT_EQ(
            RunStep(ZUPFARI_CONTENT_SOURCES, first.Path() + "out", step, first.Path() + "log"), 0)
            << step << ": " << platform::ReadFileBytes(first.Path() + "log").value_or("");
    // Once the clock has moved on to the next second, so that anything
    // stamped with the time would differ.
    const std::time_t firstRun = std::time(nullptr);
    while (std::time(nullptr) == firstRun)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    for (const char* step : kSteps)
        ASSERT_EQ(
            RunStep(ZUPFARI_CONTENT_SOURCES, second.Path() + "out", step, second.Path() + "log"),
            0);
    auto a = FilesUnder(first.Path() + "out"), b = FilesUnder(second.Path() + "out");
    // 22 sounds, lists and help files with the 2 x 12 help pages beside
    // them, 300 exercise files, 22 chord samples; in the English overlay the
    // explorer texts and the exercise files of lessons 12, 17 and 27 whose
    // tempo or exercise differ (level 7 of lesson 17 has the same tempo in
    // both rows).
    EXPECT_EQ(a.size(), 22u + 24u + 300u + 22u + 1u + 29u);
    EXPECT_TRUE(a.count("English/Listen/LTextXplorer.ztl"));
    EXPECT_TRUE(a.count("English/Midi/uebung12_1.mid"));
    EXPECT_FALSE(a.count("English/Midi/uebung17_7.mid"));
    EXPECT_FALSE(a.count("English/Midi/uebung1_1.mid"));
    ASSERT_EQ(a.size(), b.size());
    for (const auto& [name, bytes] : a)
        EXPECT_TRUE(b.count(name) && b[name] == bytes) << name;
}

TEST(CourseGenerator, BrokenOutlineFailsWithItsReasons) {
    testsupport::TempFolder sources;
    std::filesystem::create_directories(sources.Path() + "course");
    std::filesystem::copy(ZUPFARI_CONTENT_SOURCES "/course", sources.Path() + "course",
                          std::filesystem::copy_options::recursive);
    std::string lesson =
        platform::ReadFileBytes(sources.Path() + "course/lektion28.txt").value_or("");
    lesson.replace(lesson.find("CountInBeats: 8"), 15, "CountInBeats: 4");
    sources.Write("course/lektion28.txt", lesson);
    const std::string log = sources.Path() + "log";
    EXPECT_EQ(RunStep(sources.Path(), sources.Path() + "out", "course-outline", log), 1);
    const std::string output = platform::ReadFileBytes(log).value_or("");
    EXPECT_NE(output.find("lektion28.txt: CountInBeats disagrees with the lesson registry"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("FAILED"), std::string::npos);
}

TEST(CourseGenerator, LessonScreensFailOnAPictureOrATextThatDoesNotFit) {
    testsupport::TempFolder sources;
    std::filesystem::copy(ZUPFARI_CONTENT_SOURCES, sources.Path(), std::filesystem::copy_options::recursive);
    auto change = [&](const std::string& file, const std::string& from, const std::string& to) {
        std::string text = platform::ReadFileBytes(sources.Path() + file).value_or("");
        const std::size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
        sources.Write(file, text);
    };
    change("course/lektion01.txt", "draw: thumb A", "draw: guitar-on-fire");
    change("course/lektion06.txt", "draw: chord Em", "draw: chord Xm");
    change("course/lektion08.txt", "description: Notenwerte und Pausen mit a-Moll und e-Moll; vier Zeilen, einmal.",
           "description: Notenwerte und Pausen mit a-Moll und e-Moll, vier Zeilen, einmal von vorn bis hinten; "
           "zählen Sie laut mit und dämpfen Sie in jeder Pause die Saiten mit der ganzen Hand ab.");
    change("course/en/lektion03.txt", "picture: The fretting hand with the finger numbers 1 to 4.",
           "picture: The fretting hand with the finger numbers 1 to 4, from the index finger to the little "
           "finger, as every chord diagram of the course writes them beside its dots.");
    const std::string log = sources.Path() + "log";
    EXPECT_EQ(RunStep(sources.Path(), sources.Path() + "out", "lesson-screens", log), 1);
    const std::string output = platform::ReadFileBytes(log).value_or("");
    EXPECT_NE(output.find("lektion01.txt: [slide B] picture 1: draw: no drawing is called 'guitar-on-fire'"),
              std::string::npos) << output;
    EXPECT_NE(output.find("lektion06.txt: [slide B] picture 1: draw: chord Xm: no chord 'Xm'"), std::string::npos)
        << output;
    EXPECT_NE(output.find("lektion08.txt: the main screen's texts"), std::string::npos) << output;
    EXPECT_NE(output.find("en/lektion03.txt: [slide A] picture 2: the caption"), std::string::npos) << output;
    EXPECT_NE(output.find("does not fit under its picture"), std::string::npos) << output;
}
