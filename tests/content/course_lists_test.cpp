// The list files of a fresh installation, read back the way the program reads
// them: three header-led entries per file, CR LF lines, Windows-1252 texts.

#include "content/generator/course_lists.h"
#include "content/generator/course_outline.h"
#include "platform/core/cp1252.h"
#include "platform/core/files.h"
#include "tests/content/course_wavreader.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

#include <QString>

namespace {

std::string Bin(const std::string& relative) {
    return platform::ReadFileBytes(coursetest::ContentFolder() + relative).value_or("");
}

std::vector<std::string> SplitCrLf(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::size_t end = bytes.find("\r\n", at);
        if (end == std::string::npos) {
            lines.push_back(bytes.substr(at));
            break;
        }
        lines.push_back(bytes.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

struct Entry {
    int lesson = 0, level = 0, playCount = 0;
};

// Reading as the list store does: line p*3+f+1 holds field f of entry p.
std::vector<Entry> ReadEntries(const std::string& bytes, int count) {
    std::vector<std::string> lines = SplitCrLf(bytes);
    std::vector<Entry> entries(count);
    for (int p = 0; p < count; ++p) {
        int* fields[3] = {&entries[p].lesson, &entries[p].level, &entries[p].playCount};
        for (int f = 0; f < 3; ++f) {
            std::size_t line = static_cast<std::size_t>(p * 3 + f + 1);
            if (line < lines.size()) *fields[f] = std::stoi(lines[line]);
        }
    }
    return entries;
}

content::Outline ShippedOutline() {
    std::vector<std::string> errors;
    content::Outline outline = content::LoadOutline(ZUPFARI_CONTENT_SOURCES "/course", errors);
    EXPECT_TRUE(errors.empty());
    return outline;
}

} // namespace

TEST(CourseLists, PlanFileIsTheFreshStartExactly) {
    std::string expected = "3\r\n";
    for (int i = 0; i < 3; ++i)
        expected += "-1\r\n1\r\n0\r\n";
    EXPECT_EQ(Bin("Listen/ListeUeplan.ztl"), expected);
    for (const Entry& e : ReadEntries(Bin("Listen/ListeUeplan.ztl"), 3)) {
        EXPECT_EQ(e.lesson, -1);
        EXPECT_EQ(e.level, 1);
        EXPECT_EQ(e.playCount, 0);
    }
}

TEST(CourseLists, WaitingFileHoldsEveryLessonWaiting) {
    const std::string bytes = Bin("Listen/ListeWarten.ztl");
    std::string expected = "3\r\n";
    for (int i = 0; i < 30; ++i)
        expected += "1\r\n1\r\n0\r\n";
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(SplitCrLf(bytes).size(), 91u);
    for (const Entry& e : ReadEntries(bytes, 30)) {
        EXPECT_EQ(e.lesson, 1);
        EXPECT_EQ(e.level, 1);
        EXPECT_EQ(e.playCount, 0);
    }
}

TEST(CourseLists, ExplorerFileHasAPairForEveryLessonAndTheVideo) {
    const std::string bytes = Bin("Listen/LTextXplorer.ztl");
    std::vector<std::string> lines = SplitCrLf(bytes);
    ASSERT_EQ(lines.size(), 1u + 2 * 31);
    // Windows-1252, not UTF-8: umlauts are single bytes.
    EXPECT_EQ(bytes.find('\xC3'), std::string::npos);
    EXPECT_NE(bytes.find('\xFC'), std::string::npos); // ü
    const content::Outline outline = ShippedOutline();
    for (int n = 0; n < 31; ++n) {
        const std::string& title = lines[1 + 2 * n];
        const std::string& text = lines[2 + 2 * n];
        EXPECT_FALSE(title.empty()) << n;
        EXPECT_GT(text.size(), 20u) << n;
        // The title as the outline gives it, broken further for the
        // explorer's display where a line is too wide.
        const std::string want = n < 30 ? outline.lessons[n].title : outline.closingTitle;
        auto words = [](QString s) { return s.replace("$n", " ").replace("- ", "-").simplified(); };
        EXPECT_EQ(words(platform::FromAnsi(title)), words(QString::fromUtf8(want))) << n;
    }
    EXPECT_EQ(platform::FromAnsi(lines[1 + 2 * 6]), QString("Der erste Akkord:$ne-Moll"));
}

TEST(CourseLists, ExplorerTextsComeFromTheOutlineInOrder) {
    content::Outline outline;
    for (int n = 0; n < 30; ++n) {
        content::Lesson lesson;
        lesson.title = "T" + std::to_string(n);
        lesson.explorer = "Übung " + std::to_string(n);
        outline.lessons.push_back(lesson);
    }
    outline.closingTitle = "Video";
    outline.closingText = "Schluss";
    std::vector<std::string> lines = SplitCrLf(content::ExplorerTexts(outline));
    ASSERT_EQ(lines.size(), 63u);
    EXPECT_EQ(lines[1], "T0");
    EXPECT_EQ(lines[2], "\xDC"
                        "bung 0");
    EXPECT_EQ(lines[59], "T29");
    EXPECT_EQ(lines[61], "Video");
    EXPECT_EQ(lines[62], "Schluss");
}
