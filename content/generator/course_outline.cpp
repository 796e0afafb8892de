#include "content/generator/course_outline.h"

#include "platform/core/cp1252.h"
#include "platform/core/files.h"

#include <QString>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <system_error>

namespace content {

namespace {

const std::string kStringNames = "EADghe";
constexpr std::array<int, 6> kOpenStrings = {40, 45, 50, 55, 59, 64};

std::string Trim(const std::string& s) {
    std::size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return "";
    std::size_t b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}

std::vector<std::string> Words(const std::string& s) {
    std::istringstream in(s);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

// A whole word as a number: leading blanks and a '+' are allowed, anything
// after the number or a number out of range is not.
template <class Number> std::optional<Number> ToNumber(const std::string& s) {
    const char* first = s.data();
    const char* last = s.data() + s.size();
    while (first != last && std::isspace(static_cast<unsigned char>(*first))) ++first;
    if (first != last && *first == '+' && last - first > 1 && first[1] != '-') ++first;
    Number value{};
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc{} || end != last || first == last) return std::nullopt;
    return value;
}

std::optional<int> ToInt(const std::string& s) { return ToNumber<int>(s); }

std::optional<double> ToDouble(const std::string& s) { return ToNumber<double>(s); }

// Reads a line's cursor through one file and collects its errors.
class Reader {
public:
    Reader(std::string file, std::vector<std::string>& errors)
        : file_(std::move(file)), errors_(errors) {}
    void Error(int line, const std::string& message) const {
        errors_.push_back(file_ + ":" + std::to_string(line) + ": " + message);
    }
    template <typename T, typename Convert>
    bool Numbers(int line, const std::string& value, std::size_t count, std::vector<T>& out,
                 Convert convert) const {
        out.clear();
        for (const std::string& w : Words(value)) {
            auto v = convert(w);
            if (!v) {
                Error(line, "'" + w + "' is not a number");
                return false;
            }
            out.push_back(*v);
        }
        if (out.size() != count) {
            Error(line, "expected " + std::to_string(count) + " numbers, found " +
                            std::to_string(out.size()));
            return false;
        }
        return true;
    }
    const std::string& File() const { return file_; }

private:
    std::string file_;
    std::vector<std::string>& errors_;
};

std::optional<int> ParseDuration(const std::string& text) {
    std::size_t slash = text.find('/');
    auto a = ToInt(text.substr(0, slash));
    int b = 1;
    if (slash != std::string::npos) {
        auto d = ToInt(text.substr(slash + 1));
        if (!d || *d <= 0) return std::nullopt;
        b = *d;
    }
    if (!a || *a <= 0 || (*a * kUnitsPerBeat) % b != 0) return std::nullopt;
    return *a * kUnitsPerBeat / b;
}

std::optional<ScoreEvent> ParseEvent(const std::string& token, std::string& why) {
    ScoreEvent event;
    std::string element = token;
    std::size_t colon = token.rfind(':');
    if (colon != std::string::npos) {
        element = token.substr(0, colon);
        auto units = ParseDuration(token.substr(colon + 1));
        if (!units) {
            why = "bad duration in '" + token + "'";
            return std::nullopt;
        }
        event.units = *units;
    }
    if (element == "-") return event;
    if (!element.empty() && element[0] == '[') {
        std::size_t close = element.find(']');
        std::string rest = close == std::string::npos ? "" : element.substr(close + 1);
        if (close == std::string::npos || close == 1 || !(rest.empty() || rest == "^")) {
            why = "bad chord '" + token + "'";
            return std::nullopt;
        }
        event.kind = ScoreEvent::Kind::Chord;
        event.chord = element.substr(1, close - 1);
        event.upStroke = rest == "^";
        return event;
    }
    event.kind = ScoreEvent::Kind::Notes;
    std::stringstream parts(element);
    for (std::string note; std::getline(parts, note, '+');) {
        std::size_t string = note.empty() ? std::string::npos : kStringNames.find(note[0]);
        auto fret = string == std::string::npos ? std::nullopt : ToInt(note.substr(1));
        if (!fret || *fret < 0 || *fret > 19) {
            why = "bad note '" + note + "' in '" + token + "'";
            return std::nullopt;
        }
        event.notes.emplace_back(static_cast<int>(string), *fret);
    }
    if (event.notes.empty()) {
        why = "empty event";
        return std::nullopt;
    }
    return event;
}

void ParseBars(const Reader& reader, int line, const std::string& text, Exercise& exercise) {
    std::stringstream parts(text);
    std::string segment;
    std::getline(parts, segment, '|'); // before the first bar line
    while (std::getline(parts, segment, '|')) {
        std::vector<std::string> tokens = Words(segment);
        if (tokens.empty()) continue;
        Bar bar;
        for (const std::string& token : tokens) {
            std::string why;
            auto event = ParseEvent(token, why);
            if (!event)
                reader.Error(line, why);
            else
                bar.events.push_back(*event);
        }
        exercise.bars.push_back(std::move(bar));
    }
}

void ParseOrder(const Reader& reader, int line, const std::string& text, Exercise& exercise) {
    exercise.order.clear();
    for (const std::string& w : Words(text)) {
        std::size_t dash = w.find('-');
        auto first = ToInt(w.substr(0, dash));
        auto last = dash == std::string::npos ? first : ToInt(w.substr(dash + 1));
        if (!first || !last || *first < 1 || *last < *first) {
            reader.Error(line, "bad bar range '" + w + "'");
            continue;
        }
        for (int b = *first; b <= *last; ++b)
            exercise.order.push_back(b - 1);
    }
}

enum class Section { Lesson, Slide, Exercise, ExerciseLanguage1, Question };

struct ParseState {
    Section section = Section::Lesson;
    int index = 0; // slide window or question number
    bool orderGiven = false;
};

bool OpenSection(const Reader& reader, int line, const std::string& name, Lesson& lesson,
                 ParseState& state) {
    state.orderGiven = false;
    if (name.size() == 7 && name.rfind("slide ", 0) == 0 && name[6] >= 'A' && name[6] <= 'C') {
        state.section = Section::Slide;
        state.index = name[6] - 'A';
        if (lesson.slides[state.index]) reader.Error(line, "[" + name + "] given twice");
        lesson.slides[state.index] = Slide{};
        return true;
    }
    if (name == "exercise" || name == "exercise language1") {
        bool language1 = name != "exercise";
        state.section = language1 ? Section::ExerciseLanguage1 : Section::Exercise;
        auto& target = language1 ? lesson.exerciseLanguage1 : lesson.exercise;
        if (target) reader.Error(line, "[" + name + "] given twice");
        target = Exercise{};
        target->line = line;
        return true;
    }
    if (name.size() == 10 && name.rfind("question ", 0) == 0 && name[9] >= '1' && name[9] <= '3') {
        state.section = Section::Question;
        state.index = name[9] - '1';
        return true;
    }
    reader.Error(line, "unknown section [" + name + "]");
    return false;
}

template <std::size_t N>
void StoreInts(const Reader& reader, int line, const std::string& value, std::array<int, N>& out) {
    std::vector<int> v;
    if (reader.Numbers(line, value, N, v, ToInt))
        for (std::size_t i = 0; i < N; ++i)
            out[i] = v[i];
}

bool ParseRegistryKey(const Reader& reader, int line, const std::string& key,
                      const std::string& value, LessonValues& values) {
    std::vector<int> ints;
    std::vector<double> reals;
    if (key == "Header")
        values.header = value;
    else if (key == "CountInBeats") {
        if (reader.Numbers(line, value, 1, ints, ToInt)) values.countInBeats = ints[0];
    } else if (key == "BeatDisplayOffset") {
        if (value == "unchanged")
            values.beatDisplayOffset = -1;
        else if (reader.Numbers(line, value, 1, ints, ToInt))
            values.beatDisplayOffset = ints[0];
    } else if (key == "CursorActive") {
        if (value != "yes" && value != "no") reader.Error(line, "CursorActive is yes or no");
        values.cursorActive = value == "yes";
    } else if (key == "PlayCountPreset") {
        if (reader.Numbers(line, value, 1, ints, ToInt)) values.playCountPreset = ints[0];
    } else if (key == "AnswerKey")
        StoreInts(reader, line, value, values.answerKey);
    else if (key == "TempoTable")
        StoreInts(reader, line, value, values.tempo);
    else if (key == "TempoTableOther")
        reader.Numbers(line, value, 10, values.tempoOther, ToInt);
    else if (key == "CursorGeometry") {
        if (reader.Numbers(line, value, kGeometryColumns, reals, ToDouble))
            for (int i = 0; i < kGeometryColumns; ++i)
                values.geometry[i] = reals[i];
    } else if (key == "CursorGeometryLanguage1")
        reader.Numbers(line, value, kGeometryColumns, values.geometryLanguage1, ToDouble);
    else if (key == "Hold")
        StoreInts(reader, line, value, values.hold);
    else
        return false;
    return true;
}

void ParseLessonKey(const Reader& reader, int line, const std::string& key,
                    const std::string& value, Lesson& lesson, ParseState& state) {
    switch (state.section) {
    case Section::Lesson:
        if (key == "title")
            lesson.title = value;
        else if (key == "explorer")
            lesson.explorer = value;
        else if (key == "teaches")
            lesson.teaches = value;
        else if (key == "notation")
            lesson.notation = value;
        else if (!ParseRegistryKey(reader, line, key, value, lesson.values))
            reader.Error(line, "unknown key '" + key + "'");
        return;
    case Section::Slide: {
        Slide& slide = *lesson.slides[state.index];
        if (key == "heading")
            slide.heading = value;
        else if (key == "text")
            slide.paragraphs.push_back(value);
        else if (key == "picture")
            slide.pictures.push_back(value);
        else if (key == "sample")
            slide.samples.push_back(value);
        else
            reader.Error(line, "unknown slide key '" + key + "'");
        return;
    }
    case Section::Exercise:
    case Section::ExerciseLanguage1: {
        Exercise& exercise =
            state.section == Section::Exercise ? *lesson.exercise : *lesson.exerciseLanguage1;
        if (key == "description")
            exercise.description = value;
        else if (key == "order") {
            ParseOrder(reader, line, value, exercise);
            state.orderGiven = true;
        } else
            reader.Error(line, "unknown exercise key '" + key + "'");
        return;
    }
    case Section::Question: {
        Question& q = lesson.quiz[state.index];
        if (key == "question")
            q.text = value;
        else if (key == "choice" || key == "right") {
            q.choices.push_back(value);
            if (key == "right") {
                if (q.right != 0) reader.Error(line, "two right answers");
                q.right = static_cast<int>(q.choices.size());
            }
        } else
            reader.Error(line, "unknown question key '" + key + "'");
        return;
    }
    }
}

void FinishExercise(std::optional<Exercise>& exercise, bool orderGiven) {
    if (exercise && !orderGiven && exercise->order.empty())
        for (std::size_t i = 0; i < exercise->bars.size(); ++i)
            exercise->order.push_back(static_cast<int>(i));
}

Lesson ParseLesson(const std::string& path, const std::string& name,
                   std::vector<std::string>& errors) {
    Lesson lesson;
    lesson.file = name;
    Reader reader(name, errors);
    ParseState state;
    bool exerciseOrder = false, language1Order = false;
    int lineNumber = 0;
    for (const std::string& raw : platform::ReadTextLines(path)) {
        ++lineNumber;
        std::string line = Trim(raw);
        if (line.empty() || line[0] == '#') continue;
        if (line[0] == '[') {
            if (line.back() != ']')
                reader.Error(lineNumber, "section without ']'");
            else
                OpenSection(reader, lineNumber, line.substr(1, line.size() - 2), lesson, state);
            continue;
        }
        if (line[0] == '|') {
            if (state.section == Section::Exercise)
                ParseBars(reader, lineNumber, line, *lesson.exercise);
            else if (state.section == Section::ExerciseLanguage1)
                ParseBars(reader, lineNumber, line, *lesson.exerciseLanguage1);
            else
                reader.Error(lineNumber, "bars outside an [exercise]");
            continue;
        }
        std::size_t colon = line.find(':');
        if (colon == std::string::npos) {
            reader.Error(lineNumber, "expected 'key: value'");
            continue;
        }
        std::string key = Trim(line.substr(0, colon));
        std::string value = Trim(line.substr(colon + 1));
        if (state.section == Section::Lesson && key == "lesson") {
            auto n = ToInt(value);
            if (!n)
                reader.Error(lineNumber, "lesson number expected");
            else
                lesson.number = *n;
            continue;
        }
        ParseLessonKey(reader, lineNumber, key, value, lesson, state);
        if (state.section == Section::Exercise && state.orderGiven) exerciseOrder = true;
        if (state.section == Section::ExerciseLanguage1 && state.orderGiven) language1Order = true;
    }
    if (lineNumber == 0) reader.Error(0, "missing or empty file");
    FinishExercise(lesson.exercise, exerciseOrder);
    FinishExercise(lesson.exerciseLanguage1, language1Order);
    return lesson;
}

void ParseChords(const std::string& path, std::map<std::string, ChordShape>& chords,
                 std::vector<std::string>& errors) {
    Reader reader("akkorde.txt", errors);
    int lineNumber = 0;
    for (const std::string& raw : platform::ReadTextLines(path)) {
        ++lineNumber;
        std::string line = Trim(raw);
        if (line.empty() || line[0] == '#') continue;
        std::size_t colon = line.find(':');
        std::vector<std::string> frets =
            Words(colon == std::string::npos ? "" : line.substr(colon + 1));
        ChordShape shape;
        shape.name = Trim(line.substr(0, colon == std::string::npos ? 0 : colon));
        bool ok = !shape.name.empty() && frets.size() == 6;
        for (std::size_t i = 0; ok && i < 6; ++i) {
            auto f = frets[i] == "x" ? std::optional<int>(-1) : ToInt(frets[i]);
            ok = f && *f >= -1 && *f <= 19;
            if (ok) shape.frets[i] = *f;
        }
        if (!ok)
            reader.Error(lineNumber, "expected 'Name: six frets (x = not played)'");
        else
            chords[shape.name] = shape;
    }
    if (lineNumber == 0) reader.Error(0, "missing or empty file");
}

void ParseClosing(const std::string& path, Outline& outline, std::vector<std::string>& errors) {
    Reader reader("abschluss.txt", errors);
    int lineNumber = 0;
    for (const std::string& raw : platform::ReadTextLines(path)) {
        ++lineNumber;
        std::string line = Trim(raw);
        if (line.empty() || line[0] == '#') continue;
        std::size_t colon = line.find(':');
        std::string key = Trim(line.substr(0, colon == std::string::npos ? 0 : colon));
        std::string value = colon == std::string::npos ? "" : Trim(line.substr(colon + 1));
        if (key == "title")
            outline.closingTitle = value;
        else if (key == "explorer")
            outline.closingText = value;
        else
            reader.Error(lineNumber, "expected 'title:' or 'explorer:'");
    }
}

// --- validation ---

class Checker {
public:
    Checker(const Lesson& lesson, std::vector<std::string>& errors)
        : lesson_(lesson), errors_(errors) {}
    void Fail(const std::string& message) const {
        errors_.push_back(lesson_.file + ": " + message);
    }
    template <typename T> void Same(const char* what, const T& have, const T& want) const {
        if (!(have == want)) Fail(std::string(what) + " disagrees with the lesson registry");
    }

private:
    const Lesson& lesson_;
    std::vector<std::string>& errors_;
};

std::string Beats(int units) {
    std::string text = std::to_string(units / kUnitsPerBeat);
    if (units % kUnitsPerBeat != 0) text += " " + std::to_string(units % kUnitsPerBeat) + "/8";
    return text;
}

bool FitsAnsi(const std::string& utf8) {
    QString text = QString::fromUtf8(utf8);
    return platform::FromAnsi(platform::ToAnsi(text)) == text;
}

void CheckRegistry(const Checker& check, const LessonValues& v, const RegistryRow& row) {
    check.Same("Header", v.header, row.header);
    check.Same("CountInBeats", v.countInBeats, row.countInBeats);
    check.Same("BeatDisplayOffset", v.beatDisplayOffset, row.beatDisplayOffset);
    check.Same("CursorActive", v.cursorActive, row.cursorActive);
    check.Same("PlayCountPreset", v.playCountPreset, row.playCountPreset);
    check.Same("AnswerKey", v.answerKey, row.answerKey);
    check.Same("TempoTable", v.tempo, row.tempo);
    check.Same("TempoTableOther", v.tempoOther, row.tempoOther);
    check.Same("CursorGeometry", v.geometry, row.geometry);
    check.Same("CursorGeometryLanguage1", v.geometryLanguage1, row.geometryLanguage1);
    check.Same("Hold", v.hold, row.hold);
}

void CheckTexts(const Checker& check, const Lesson& lesson) {
    if (lesson.title.empty()) check.Fail("no title");
    if (lesson.explorer.empty()) check.Fail("no explorer text");
    if (lesson.teaches.empty()) check.Fail("no 'teaches'");
    if (lesson.notation.empty()) check.Fail("no 'notation'");
    for (const std::string* text : {&lesson.title, &lesson.explorer})
        if (!FitsAnsi(*text)) check.Fail("text not representable in Windows-1252: " + *text);
}

void CheckSlides(const Checker& check, const Lesson& lesson) {
    static const char* names[] = {"A", "B", "C"};
    for (int w = 0; w < 3; ++w) {
        const auto& slide = lesson.slides[w];
        bool skipped = SkipsWindow(lesson.number, w);
        if (skipped && slide)
            check.Fail(std::string("the lesson passes over window ") + names[w] +
                       ": remove [slide " + names[w] + "]");
        if (!skipped && !slide) check.Fail(std::string("[slide ") + names[w] + "] missing");
        if (slide && (slide->heading.empty() || slide->paragraphs.empty()))
            check.Fail(std::string("[slide ") + names[w] + "] needs a heading and text");
    }
}

void CheckQuiz(const Checker& check, const Lesson& lesson) {
    for (int q = 0; q < 3; ++q) {
        const Question& question = lesson.quiz[q];
        std::string name = "question " + std::to_string(q + 1);
        if (question.text.empty()) check.Fail(name + ": no question text");
        if (question.choices.size() < 2 || question.choices.size() > 6)
            check.Fail(name + ": needs 2 to 6 choices");
        if (question.right != lesson.values.answerKey[q])
            check.Fail(name + ": the right answer is box " + std::to_string(question.right) +
                       ", the answer key says " + std::to_string(lesson.values.answerKey[q]));
    }
}

void CheckExercise(const Checker& check, const Exercise& exercise, const Geometry& g,
                   const LessonValues& values, const Outline& outline, const std::string& name) {
    const int beatsPerBar = static_cast<int>(g[kBeatsPerBar]);
    if (exercise.description.empty()) check.Fail(name + ": no description");
    if (exercise.bars.empty()) {
        check.Fail(name + ": no bars");
        return;
    }
    for (std::size_t b = 0; b < exercise.bars.size(); ++b) {
        const Bar& bar = exercise.bars[b];
        if (bar.units() != beatsPerBar * kUnitsPerBeat)
            check.Fail(name + ": bar " + std::to_string(b + 1) + " holds " + Beats(bar.units()) +
                       " beats, not " + std::to_string(beatsPerBar));
        for (const ScoreEvent& e : bar.events)
            if (e.kind == ScoreEvent::Kind::Chord && !outline.chords.count(e.chord))
                check.Fail(name + ": unknown chord [" + e.chord + "]");
    }
    for (int b : exercise.order)
        if (b >= static_cast<int>(exercise.bars.size()))
            check.Fail(name + ": order names bar " + std::to_string(b + 1) +
                       ", which does not exist");
    const int notationBeats = static_cast<int>(exercise.bars.size()) * beatsPerBar;
    if (notationBeats != static_cast<int>(g[kWrapLength]))
        check.Fail(name + ": the notation holds " + std::to_string(notationBeats) +
                   " beats, the cursor's wrap length is " + std::to_string(int(g[kWrapLength])));
    const int played = exercise.PlayedBeats(beatsPerBar);
    const int beatCount = static_cast<int>(g[kBeatCount]);
    if (values.cursorActive ? played != beatCount : played < beatCount) {
        check.Fail(name + ": " + std::to_string(played) + " beats are played, the beat count is " +
                   std::to_string(beatCount));
        return;
    }
    if (!values.cursorActive) return;
    for (int p = 0; p < beatCount; ++p) {
        int shown = CursorNotationBeat(g, values.hold, p);
        int bar = exercise.order[static_cast<std::size_t>(p / beatsPerBar)];
        int expected = bar * beatsPerBar + p % beatsPerBar;
        if (shown >= 0 && shown != expected) {
            check.Fail(name + ": at exercise beat " + std::to_string(p + 1) + " bar " +
                       std::to_string(bar + 1) + " plays, but the cursor shows notation beat " +
                       std::to_string(shown + 1));
            return;
        }
    }
}

} // namespace

int Bar::units() const {
    int total = 0;
    for (const ScoreEvent& e : events)
        total += e.units;
    return total;
}

int Exercise::PlayedBeats(int beatsPerBar) const {
    return static_cast<int>(order.size()) * beatsPerBar;
}

int StringNote(int string, int fret) {
    return kOpenStrings.at(static_cast<std::size_t>(string)) + fret;
}

std::vector<PlayedNote> PlayedNotes(const Exercise& exercise, const Outline& outline) {
    std::vector<PlayedNote> notes;
    int start = 0;
    for (int b : exercise.order) {
        if (b < 0 || b >= static_cast<int>(exercise.bars.size())) continue;
        for (const ScoreEvent& event : exercise.bars[static_cast<std::size_t>(b)].events) {
            if (event.kind == ScoreEvent::Kind::Notes) {
                for (const auto& [string, fret] : event.notes)
                    notes.push_back({start, event.units, StringNote(string, fret), false, 0});
            } else if (event.kind == ScoreEvent::Kind::Chord) {
                auto shape = outline.chords.find(event.chord);
                if (shape != outline.chords.end()) {
                    int index = 0;
                    for (int i = 0; i < 6; ++i) {
                        int string = event.upStroke ? 5 - i : i;
                        int fret = shape->second.frets[static_cast<std::size_t>(string)];
                        if (fret < 0) continue;
                        notes.push_back({start, event.units, StringNote(string, fret),
                                         event.upStroke, index++});
                    }
                }
            }
            start += event.units;
        }
    }
    return notes;
}

Outline LoadOutline(const std::string& folder, std::vector<std::string>& errors) {
    Outline outline;
    const std::filesystem::path base(folder);
    ParseChords((base / "akkorde.txt").string(), outline.chords, errors);
    ParseClosing((base / "abschluss.txt").string(), outline, errors);
    for (int n = 0; n < kLessonCount; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "lektion%02d.txt", n);
        outline.lessons.push_back(ParseLesson((base / name).string(), name, errors));
    }
    return outline;
}

void ValidateOutline(const Outline& outline, std::vector<std::string>& errors) {
    if (outline.closingTitle.empty() || outline.closingText.empty())
        errors.push_back("abschluss.txt: title and explorer text needed");
    if (!FitsAnsi(outline.closingTitle) || !FitsAnsi(outline.closingText))
        errors.push_back("abschluss.txt: text not representable in Windows-1252");
    if (outline.lessons.size() != kLessonCount) {
        errors.push_back("the course needs 30 lessons");
        return;
    }
    for (int n = 0; n < kLessonCount; ++n) {
        const Lesson& lesson = outline.lessons[n];
        Checker check(lesson, errors);
        if (lesson.number != n) {
            check.Fail("'lesson: " + std::to_string(n) + "' expected");
            continue;
        }
        const RegistryRow& row = Registry(n);
        CheckRegistry(check, lesson.values, row);
        CheckTexts(check, lesson);
        CheckSlides(check, lesson);
        CheckQuiz(check, lesson);
        if (!lesson.exercise)
            check.Fail("[exercise] missing");
        else
            CheckExercise(check, *lesson.exercise, row.geometry, lesson.values, outline,
                          "[exercise]");
        if (lesson.exerciseLanguage1) {
            if (row.geometryLanguage1.empty())
                check.Fail("[exercise language1] without a language 1 geometry");
            else {
                Geometry g{};
                for (int i = 0; i < kGeometryColumns; ++i)
                    g[i] = row.geometryLanguage1[i];
                CheckExercise(check, *lesson.exerciseLanguage1, g, lesson.values, outline,
                              "[exercise language1]");
            }
        } else if (!row.geometryLanguage1.empty() &&
                   row.geometryLanguage1[kBeatCount] != row.geometry[kBeatCount]) {
            check.Fail("[exercise language1] needed: language 1 has its own beat count");
        }
    }
}

} // namespace content
