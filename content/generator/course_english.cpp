// The English edition of the course: its text-only lesson files read over
// the German outline, checked against the German files' structure.
#include "content/generator/course_outline.h"

#include "lessons/registrydata.h"
#include "platform/core/cp1252.h"

#include <QString>

#include <cstdio>
#include <filesystem>

namespace content {

namespace {

const char* const kWindowNames[] = {"A", "B", "C"};

std::string At(const std::string& file, int line) {
    return file + ":" + std::to_string(line) + ": ";
}

bool FitsAnsi(const std::string& utf8) {
    QString text = QString::fromUtf8(utf8);
    return platform::FromAnsi(platform::ToAnsi(text)) == text;
}

// Every text of an English lesson must be there and fit Windows-1252.
void CheckTexts(const Lesson& text, std::vector<std::string>& errors) {
    const std::string at = At(text.file, 1);
    const std::pair<const char*, const std::string*> keys[] = {
        {"title", &text.title}, {"explorer", &text.explorer}, {"teaches", &text.teaches}, {"notation", &text.notation}};
    for (const auto& [key, value] : keys) {
        if (value->empty() && value != &text.notation) errors.push_back(at + "no '" + key + "'");
        else if (!FitsAnsi(*value)) errors.push_back(at + "'" + key + "' is not representable in Windows-1252");
    }
    if (!text.exercise || text.exercise->description.empty())
        errors.push_back(at + "[exercise] needs its 'description'");
    auto check = [&](int line, const std::string& value, const std::string& what) {
        if (value.empty()) errors.push_back(At(text.file, line) + what + " is empty");
        else if (!FitsAnsi(value)) errors.push_back(At(text.file, line) + what + " is not representable in Windows-1252");
    };
    for (const auto& slide : text.slides) {
        if (!slide) continue;
        check(slide->line, slide->heading, "the heading");
        if (slide->paragraphs.empty()) errors.push_back(At(text.file, slide->line) + "the window has no text");
        for (const std::string& p : slide->paragraphs) check(slide->line, p, "a text");
        for (const std::string& p : slide->pictures) check(slide->line, p, "a picture line");
        for (const std::string& v : slide->videos) check(slide->line, v, "a video line");
    }
    for (const Question& q : text.quiz) {
        check(q.line, q.text, "the question");
        for (const std::string& c : q.choices) check(q.line, c, "an answer");
    }
}

// The English file has the German file's slide windows, pictures, samples
// and answer boxes.
void CheckStructure(const Lesson& german, const Lesson& text, std::vector<std::string>& errors) {
    if (text.number != german.number)
        errors.push_back(At(text.file, 1) + "'lesson: " + std::to_string(german.number) + "' expected");
    if (text.notation.empty() != german.notation.empty())
        errors.push_back(At(text.file, 1) + "'notation' belongs in both files or in neither");
    for (int w = 0; w < 3; ++w) {
        const auto& de = german.slides[static_cast<std::size_t>(w)];
        const auto& en = text.slides[static_cast<std::size_t>(w)];
        const std::string window = std::string("[slide ") + kWindowNames[w] + "]";
        if (de && !en) errors.push_back(At(text.file, 1) + window + " missing: the German file has it");
        if (!de && en) errors.push_back(At(text.file, en->line) + window + " is not in the German file");
        if (!de || !en) continue;
        if (en->pictures.size() != de->pictures.size())
            errors.push_back(At(text.file, en->line) + window + " has " + std::to_string(en->pictures.size()) +
                             " picture lines, the German file " + std::to_string(de->pictures.size()));
        if (en->videos.size() != de->videos.size())
            errors.push_back(At(text.file, en->line) + window + " has " + std::to_string(en->videos.size()) +
                             " video lines, the German file " + std::to_string(de->videos.size()));
        if (en->samples != de->samples)
            errors.push_back(At(text.file, en->line) + window + ": the sample lines must be the German file's");
    }
    for (int q = 0; q < 3; ++q) {
        const Question& de = german.quiz[static_cast<std::size_t>(q)];
        const Question& en = text.quiz[static_cast<std::size_t>(q)];
        const std::string name = "[question " + std::to_string(q + 1) + "]";
        if (en.line == 0) {
            errors.push_back(At(text.file, 1) + name + " missing");
            continue;
        }
        if (en.choices.size() != de.choices.size())
            errors.push_back(At(text.file, en.line) + name + " has " + std::to_string(en.choices.size()) +
                             " answers, the German file " + std::to_string(de.choices.size()));
        if (en.right != de.right)
            errors.push_back(At(text.file, en.line) + name + ": the right answer is box " + std::to_string(en.right) +
                             ", in the German file box " + std::to_string(de.right));
    }
}

// The German lesson as the English edition plays it, with the English texts.
Lesson EnglishLesson(const Lesson& german, const Lesson* text) {
    Lesson lesson = german;
    lesson.edition = Edition::English;
    if (german.exerciseLanguage1) lesson.exercise = german.exerciseLanguage1;
    lesson.exerciseLanguage1.reset();
    if (!german.values.tempoOther.empty())
        for (std::size_t i = 0; i < lesson.values.tempo.size(); ++i)
            lesson.values.tempo[i] = german.values.tempoOther[i];
    if (!german.values.geometryLanguage1.empty())
        for (int i = 0; i < kGeometryColumns; ++i)
            lesson.values.geometry[i] = german.values.geometryLanguage1[static_cast<std::size_t>(i)];
    if (text == nullptr) return lesson;
    lesson.file = text->file;
    lesson.title = text->title;
    lesson.explorer = text->explorer;
    lesson.teaches = text->teaches;
    lesson.notation = text->notation;
    if (text->exercise && lesson.exercise) lesson.exercise->description = text->exercise->description;
    for (std::size_t w = 0; w < 3; ++w) {
        if (!lesson.slides[w] || !text->slides[w]) continue;
        Slide& slide = *lesson.slides[w];
        slide.heading = text->slides[w]->heading;
        slide.paragraphs = text->slides[w]->paragraphs;
        if (text->slides[w]->pictures.size() == slide.pictures.size()) slide.pictures = text->slides[w]->pictures;
        if (text->slides[w]->videos.size() == slide.videos.size()) slide.videos = text->slides[w]->videos;
    }
    for (std::size_t q = 0; q < 3; ++q) {
        if (text->quiz[q].choices.size() != lesson.quiz[q].choices.size()) continue;
        lesson.quiz[q].text = text->quiz[q].text;
        lesson.quiz[q].choices = text->quiz[q].choices;
    }
    return lesson;
}

} // namespace

std::string EditionFolder(Edition edition) {
    return edition == Edition::German ? std::string() : std::string(lessons::kEnglishEditionFolder) + "/";
}

Outline LoadEnglishOutline(const std::string& folder, const Outline& german, std::vector<std::string>& errors,
                           std::vector<std::string>& notes) {
    const std::filesystem::path base = std::filesystem::path(folder) / "en";
    Outline english;
    english.chords = german.chords;
    english.closingTitle = german.closingTitle;
    english.closingText = german.closingText;
    if (std::filesystem::exists(base / "abschluss.txt")) {
        english.closingTitle.clear();
        english.closingText.clear();
        ParseClosingFile((base / "abschluss.txt").string(), "en/abschluss.txt", english.closingTitle,
                         english.closingText, errors);
        if (english.closingTitle.empty() || english.closingText.empty())
            errors.push_back("en/abschluss.txt:1: title and explorer text needed");
        else if (!FitsAnsi(english.closingTitle) || !FitsAnsi(english.closingText))
            errors.push_back("en/abschluss.txt:1: text not representable in Windows-1252");
    } else {
        notes.push_back("en/abschluss.txt missing: the English edition keeps the German closing entry");
    }
    for (const Lesson& de : german.lessons) {
        char name[32];
        std::snprintf(name, sizeof name, "lektion%02d.txt", de.number);
        const std::filesystem::path path = base / name;
        if (!std::filesystem::exists(path)) {
            notes.push_back(std::string("en/") + name + " missing: the English edition keeps the German texts");
            english.lessons.push_back(EnglishLesson(de, nullptr));
            continue;
        }
        const Lesson text = ParseLessonFile(path.string(), std::string("en/") + name, true, errors);
        CheckStructure(de, text, errors);
        CheckTexts(text, errors);
        english.lessons.push_back(EnglishLesson(de, &text));
    }
    return english;
}

bool LoadEditions(const std::string& folder, std::vector<Outline>& editions, std::vector<std::string>& errors,
                  std::vector<std::string>& notes) {
    editions.clear();
    const std::size_t before = errors.size();
    Outline german = LoadOutline(folder, errors);
    ValidateOutline(german, errors);
    if (errors.size() != before) return false;
    Outline english = LoadEnglishOutline(folder, german, errors, notes);
    ValidateExercises(english, errors);
    CheckQuizBalance(english, "the English edition", errors);
    editions.push_back(std::move(german));
    editions.push_back(std::move(english));
    return errors.size() == before;
}

} // namespace content
