// Reading the course outline's files: lesson files, chord shapes and the
// closing entry, into the plain data of course_outline.h.
#include "content/generator/course_outline.h"

#include "platform/core/files.h"

#include <cctype>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <system_error>

namespace content {

namespace {

const std::string kStringNames = "EADghe";

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
    if (element == "~" || element == "~^") {
        event.kind = ScoreEvent::Kind::Ghost;
        event.upStroke = element.size() == 2;
        return event;
    }
    if (!element.empty() && element[0] == '[') {
        std::size_t close = element.find(']');
        std::string rest = close == std::string::npos ? "" : element.substr(close + 1);
        const bool up = !rest.empty() && rest[0] == '^';
        const std::string strings = up ? rest.substr(1) : rest;
        const bool stringsOk = strings.empty() || (strings.size() == 1 && strings[0] >= '1' && strings[0] <= '6');
        if (close == std::string::npos || close == 1 || !stringsOk) {
            why = "bad chord '" + token + "'";
            return std::nullopt;
        }
        event.kind = ScoreEvent::Kind::Chord;
        event.chord = element.substr(1, close - 1);
        event.upStroke = up;
        if (!strings.empty()) event.strings = strings[0] - '0';
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
    exercise.ranges.clear();
    for (const std::string& w : Words(text)) {
        std::size_t dash = w.find('-');
        auto first = ToInt(w.substr(0, dash));
        auto last = dash == std::string::npos ? first : ToInt(w.substr(dash + 1));
        if (!first || !last || *first < 1 || *last < *first) {
            reader.Error(line, "bad bar range '" + w + "'");
            continue;
        }
        exercise.ranges.push_back({*first - 1, *last - 1});
        for (int b = *first; b <= *last; ++b)
            exercise.order.push_back(b - 1);
    }
}

enum class Section { Lesson, Slide, Exercise, ExerciseLanguage1, Question };

struct ParseState {
    Section section = Section::Lesson;
    int index = 0; // slide window or question number
    bool orderGiven = false;
    bool textOnly = false; // an edition's texts: the German file holds the rest
};

constexpr const char* kGermanOnly = " belongs in the German file only";

bool OpenSection(const Reader& reader, int line, const std::string& name, Lesson& lesson,
                 ParseState& state) {
    state.orderGiven = false;
    if (name.size() == 7 && name.rfind("slide ", 0) == 0 && name[6] >= 'A' && name[6] <= 'C') {
        state.section = Section::Slide;
        state.index = name[6] - 'A';
        if (lesson.slides[state.index]) reader.Error(line, "[" + name + "] given twice");
        lesson.slides[state.index] = Slide{};
        lesson.slides[state.index]->line = line;
        return true;
    }
    if (name == "exercise" || name == "exercise language1") {
        bool language1 = name != "exercise";
        if (language1 && state.textOnly) reader.Error(line, "[" + name + "]" + kGermanOnly);
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
        if (lesson.quiz[state.index].line != 0) reader.Error(line, "[" + name + "] given twice");
        lesson.quiz[state.index].line = line;
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
        else if (state.textOnly && ParseRegistryKey(reader, line, key, value, lesson.values))
            reader.Error(line, "'" + key + "'" + kGermanOnly);
        else if (!ParseRegistryKey(reader, line, key, value, lesson.values))
            reader.Error(line, "unknown key '" + key + "'");
        return;
    case Section::Slide: {
        Slide& slide = *lesson.slides[state.index];
        if (key == "heading")
            slide.heading = value;
        else if (key == "text")
            slide.paragraphs.push_back(value);
        else if (key == "picture") {
            slide.pictures.push_back(value);
            slide.drawings.emplace_back();
            slide.pictureLines.push_back(line);
        } else if (key == "draw") {
            if (state.textOnly)
                reader.Error(line, "'draw'" + std::string(kGermanOnly));
            else if (slide.pictures.empty() || !slide.drawings.back().empty())
                reader.Error(line, "'draw' belongs right after its picture line");
            else if (value.empty())
                reader.Error(line, "'draw' needs the name of a drawing");
            else
                slide.drawings.back() = value;
        } else if (key == "sample")
            slide.samples.push_back(value);
        else if (key == "video")
            slide.videos.push_back(value);
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
            if (state.textOnly) reader.Error(line, "'order'" + std::string(kGermanOnly));
            ParseOrder(reader, line, value, exercise);
            state.orderGiven = true;
        } else if (key == "counting") {
            if (state.textOnly) reader.Error(line, "'counting'" + std::string(kGermanOnly));
            if (value != "quarters" && value != "eighths") reader.Error(line, "counting is quarters or eighths");
            exercise.eighths = value == "eighths";
        } else if (key == "fermata") {
            if (state.textOnly) reader.Error(line, "'fermata'" + std::string(kGermanOnly));
            std::vector<int> bars;
            for (const std::string& w : Words(value)) {
                auto bar = ToInt(w);
                if (!bar || *bar < 1)
                    reader.Error(line, "bad bar number '" + w + "'");
                else
                    exercise.fermataBars.push_back(*bar - 1);
            }
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
    if (exercise && exercise->ranges.empty() && !exercise->bars.empty())
        exercise->ranges.push_back({0, static_cast<int>(exercise->bars.size()) - 1});
}

} // namespace

Lesson ParseLessonFile(const std::string& path, const std::string& name, bool textOnly,
                       std::vector<std::string>& errors) {
    Lesson lesson;
    lesson.file = name;
    Reader reader(name, errors);
    ParseState state;
    state.textOnly = textOnly;
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
            if (textOnly)
                reader.Error(lineNumber, "bars belong in the German file only");
            else if (state.section == Section::Exercise)
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

namespace {

void ParseChords(const std::string& path, std::map<std::string, ChordShape>& chords,
                 std::vector<std::string>& errors) {
    Reader reader("akkorde.txt", errors);
    int lineNumber = 0;
    for (const std::string& raw : platform::ReadTextLines(path)) {
        ++lineNumber;
        std::string line = Trim(raw);
        if (line.empty() || line[0] == '#') continue;
        std::size_t colon = line.find(':');
        const std::string rest = colon == std::string::npos ? "" : line.substr(colon + 1);
        const std::size_t bar = rest.find('|');
        std::vector<std::string> frets = Words(rest.substr(0, bar));
        std::vector<std::string> fingers = bar == std::string::npos ? std::vector<std::string>{} : Words(rest.substr(bar + 1));
        ChordShape shape;
        shape.name = Trim(line.substr(0, colon == std::string::npos ? 0 : colon));
        bool ok = !shape.name.empty() && frets.size() == 6 && fingers.size() == 6;
        for (std::size_t i = 0; ok && i < 6; ++i) {
            auto f = frets[i] == "x" ? std::optional<int>(-1) : ToInt(frets[i]);
            auto finger = ToInt(fingers[i]);
            ok = f && *f >= -1 && *f <= 19 && finger && *finger >= 0 && *finger <= 4 && (*f > 0) == (*finger > 0);
            if (ok) {
                shape.frets[i] = *f;
                shape.fingers[i] = *finger;
            }
        }
        if (!ok)
            reader.Error(lineNumber, "expected 'Name: six frets (x = not played) | six fingers "
                                     "(1 to 4 on every fretted string, 0 elsewhere)'");
        else
            chords[shape.name] = shape;
    }
    if (lineNumber == 0) reader.Error(0, "missing or empty file");
}

} // namespace

void ParseClosingFile(const std::string& path, const std::string& name, std::string& title,
                      std::string& text, std::vector<std::string>& errors) {
    Reader reader(name, errors);
    int lineNumber = 0;
    for (const std::string& raw : platform::ReadTextLines(path)) {
        ++lineNumber;
        std::string line = Trim(raw);
        if (line.empty() || line[0] == '#') continue;
        std::size_t colon = line.find(':');
        std::string key = Trim(line.substr(0, colon == std::string::npos ? 0 : colon));
        std::string value = colon == std::string::npos ? "" : Trim(line.substr(colon + 1));
        if (key == "title")
            title = value;
        else if (key == "explorer")
            text = value;
        else
            reader.Error(lineNumber, "expected 'title:' or 'explorer:'");
    }
    if (lineNumber == 0) reader.Error(0, "missing or empty file");
}

Outline LoadOutline(const std::string& folder, std::vector<std::string>& errors) {
    Outline outline;
    const std::filesystem::path base(folder);
    ParseChords((base / "akkorde.txt").string(), outline.chords, errors);
    ParseClosingFile((base / "abschluss.txt").string(), "abschluss.txt", outline.closingTitle,
                     outline.closingText, errors);
    for (int n = 0; n < kLessonCount; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "lektion%02d.txt", n);
        outline.lessons.push_back(ParseLessonFile((base / name).string(), name, false, errors));
    }
    return outline;
}

} // namespace content
