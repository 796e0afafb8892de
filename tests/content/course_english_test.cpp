// The English edition's text-only lesson files: read over the German
// outline (texts replaced, registry values, bars and answer keys kept, the
// language 1 rows taken), and every way an English file can leave its German
// file's structure reported with its file and line.

#include "content/generator/course_outline.h"
#include "platform/core/files.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

using namespace content;

namespace {

const std::string kCourse = ZUPFARI_CONTENT_SOURCES "/course";

// The German file with everything but its texts left out: registry values,
// bars, order, counting, fermatas, drawings and the [exercise language1] section.
std::string TextOnly(const std::string& german) {
    static const char* const registryKeys[] = {"Header:", "CountInBeats:", "BeatDisplayOffset:", "CursorActive:",
                                               "PlayCountPreset:", "AnswerKey:", "TempoTable:", "TempoTableOther:",
                                               "CursorGeometry:", "CursorGeometryLanguage1:", "Hold:", "order:",
                                               "draw:", "counting:", "fermata:"};
    std::istringstream in(german);
    std::string out;
    bool skipping = false;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line[0] == '[') skipping = line.rfind("[exercise language1]", 0) == 0;
        bool drop = skipping || (!line.empty() && line[0] == '|');
        for (const char* key : registryKeys) drop = drop || line.rfind(key, 0) == 0;
        if (!drop) out += line + "\n";
    }
    return out;
}

// The shipped German outline in a temporary folder with an "en" folder of
// text-only files made from it, to be changed on purpose.
class EnglishOutline : public ::testing::Test {
protected:
    void SetUp() override {
        for (const auto& entry : std::filesystem::directory_iterator(kCourse))
            if (entry.is_regular_file())
                std::filesystem::copy_file(entry.path(), folder_.Path() + entry.path().filename().string());
        for (int n : {3, 12, 17}) {
            const std::string name = Name(n);
            folder_.Write("en/" + name, TextOnly(platform::ReadFileBytes(kCourse + "/" + name).value_or("")));
        }
        folder_.Write("en/abschluss.txt", "title: The End\nexplorer: Well done: you have finished the course.\n");
    }
    static std::string Name(int n) { return (n < 10 ? "lektion0" : "lektion") + std::to_string(n) + ".txt"; }
    void Change(const std::string& file, const std::string& from, const std::string& to) {
        const std::string path = folder_.Path() + file;
        std::string text = platform::ReadFileBytes(path).value_or("");
        const std::size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
        folder_.Write(file, text);
    }
    // The line of `file` that starts with `start` (1-based), as messages count.
    int LineOf(const std::string& file, const std::string& start) {
        std::istringstream in(platform::ReadFileBytes(folder_.Path() + file).value_or(""));
        int number = 0;
        for (std::string line; std::getline(in, line);) {
            ++number;
            if (line.rfind(start, 0) == 0) return number;
        }
        return -1;
    }
    std::string Errors(std::vector<Outline>* editions = nullptr) {
        std::vector<std::string> errors, notes;
        std::vector<Outline> loaded;
        LoadEditions(folder_.Path(), loaded, errors, notes);
        if (editions != nullptr) *editions = std::move(loaded);
        std::string all;
        for (const std::string& e : errors) all += e + "\n";
        return all;
    }
    testsupport::TempFolder folder_;
};

TEST_F(EnglishOutline, TakesTheTextsAndKeepsTheGermanStructureWithTheLanguageOneRows) {
    Change("en/lektion12.txt", "title: G-Dur und das$nerste Lied", "title: G major and$nyour first song");
    Change("en/lektion12.txt", "choice: Drei", "choice: Three");
    std::vector<Outline> editions;
    ASSERT_EQ(Errors(&editions), "");
    ASSERT_EQ(editions.size(), 2u);
    const Lesson& de = editions[0].lessons[12];
    const Lesson& en = editions[1].lessons[12];
    EXPECT_EQ(en.edition, Edition::English);
    EXPECT_EQ(en.file, "en/lektion12.txt");
    EXPECT_EQ(en.title, "G major and$nyour first song");
    EXPECT_EQ(en.quiz[1].choices[0], "Three");
    EXPECT_EQ(en.quiz[0].right, de.quiz[0].right);
    // Lesson 12 plays its own sixteen bars at the other tempo row, on the language 1 geometry.
    EXPECT_EQ(en.exercise->PlayedBeats(4), 64);
    EXPECT_FALSE(en.exerciseLanguage1.has_value());
    EXPECT_EQ(en.values.tempo[0], 60);
    EXPECT_EQ(en.values.geometry[kOriginY], 345);
    EXPECT_EQ(de.values.geometry[kOriginY], 357);
    EXPECT_EQ(editions[1].lessons[17].values.tempo[4], 130);
    EXPECT_EQ(editions[1].lessons[17].exercise->bars.size(), editions[0].lessons[17].exercise->bars.size());
    EXPECT_EQ(editions[1].closingTitle, "The End");
    // A lesson without its English file keeps its German texts.
    EXPECT_EQ(editions[1].lessons[5].title, editions[0].lessons[5].title);
}

TEST_F(EnglishOutline, StructureThatLeavesTheGermanFilesIsReportedWithItsLine) {
    const std::string file = "en/lektion12.txt";
    Change(file, "picture: Die Greifhand im G-Dur-Griff.\n", "");
    Change(file, "sample: C", "sample: Am");
    Change(file, "right: Vier\nchoice: F", "choice: Vier\nright: F");
    Change(file, "choice: Nur die g-Saite\n", "");
    Change(file, "[slide C]", "[slide X]");
    const std::string errors = Errors();
    const std::string at = file + ":";
    EXPECT_NE(errors.find(at + std::to_string(LineOf(file, "[slide A]")) + ": [slide A] has 1 picture lines, the German file 2"),
              std::string::npos) << errors;
    EXPECT_NE(errors.find(at + std::to_string(LineOf(file, "[slide A]")) + ": [slide A]: the sample lines"),
              std::string::npos) << errors;
    EXPECT_NE(errors.find(at + std::to_string(LineOf(file, "[question 2]")) + ": [question 2]: the right answer is box 3, in the German file box 2"),
              std::string::npos) << errors;
    EXPECT_NE(errors.find(at + std::to_string(LineOf(file, "[question 1]")) + ": [question 1] has 5 answers, the German file 6"),
              std::string::npos) << errors;
    EXPECT_NE(errors.find(at + std::to_string(LineOf(file, "[slide X]")) + ": unknown section [slide X]"), std::string::npos) << errors;
    EXPECT_NE(errors.find(at + "1: [slide C] missing: the German file has it"), std::string::npos) << errors;
}

TEST_F(EnglishOutline, RegistryValuesBarsAndTheLanguageOneExerciseBelongInTheGermanFileOnly) {
    const std::string file = "en/lektion03.txt";
    Change(file, "title:", "TempoTable: 55 62 70 75 80 85 90 95 100 105\ntitle:");
    Change(file, "[question 1]", "| E0 E0 E0 E0 |\norder: 1\n[exercise language1]\n[question 1]");
    Change(file, "picture: Die Greifhand mit den Fingernummern 1 bis 4.",
           "picture: Die Greifhand mit den Fingernummern 1 bis 4.\ndraw: finger-numbers");
    const std::string errors = Errors();
    const std::string at = file + ":";
    EXPECT_NE(errors.find(at + std::to_string(LineOf(file, "TempoTable:")) + ": 'TempoTable' belongs in the German file only"),
              std::string::npos) << errors;
    EXPECT_NE(errors.find(at + std::to_string(LineOf(file, "| E0")) + ": bars belong in the German file only"), std::string::npos) << errors;
    EXPECT_NE(errors.find(at + std::to_string(LineOf(file, "order:")) + ": 'order' belongs in the German file only"), std::string::npos) << errors;
    EXPECT_NE(errors.find(at + std::to_string(LineOf(file, "[exercise language1]")) + ": [exercise language1] belongs"),
              std::string::npos) << errors;
    EXPECT_NE(errors.find(at + std::to_string(LineOf(file, "draw:")) + ": 'draw' belongs in the German file only"),
              std::string::npos) << errors;
}

TEST_F(EnglishOutline, MissingOrUnencodableTextsAreReported) {
    Change("en/lektion17.txt", "explorer:", "# explorer:");
    Change("en/lektion17.txt", "question: ", "question: \xe2\x9c\x93 ");
    folder_.Write("en/abschluss.txt", "title: The End\n");
    const std::string errors = Errors();
    EXPECT_NE(errors.find("en/lektion17.txt:1: no 'explorer'"), std::string::npos) << errors;
    EXPECT_NE(errors.find("en/lektion17.txt:" + std::to_string(LineOf("en/lektion17.txt", "[question 1]")) +
                          ": the question is not representable in Windows-1252"),
              std::string::npos) << errors;
    EXPECT_NE(errors.find("en/abschluss.txt:1: title and explorer text needed"), std::string::npos) << errors;
}

} // namespace
