// Reading videos.txt: the chords' fingerings and the videos' scripts.
#include "content/generator/video_script.h"

#include "content/generator/video_timeline.h"
#include "platform/core/files.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <sstream>

namespace video {

namespace {

const std::string kStringNames = "EADghe";

std::string Trim(const std::string& s) {
    const std::size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return "";
    return s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}

std::vector<std::string> Words(const std::string& s) {
    std::istringstream in(s);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

std::optional<int> ToInt(const std::string& s) {
    int value = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (error != std::errc{} || end != s.data() + s.size() || s.empty()) return std::nullopt;
    return value;
}

// "2", "1/2", "3/2" beats in eighths of a beat; 0 only where `zero` allows.
std::optional<int> Duration(const std::string& text, bool zero) {
    const std::size_t slash = text.find('/');
    const auto count = ToInt(text.substr(0, slash));
    int divisor = 1;
    if (slash != std::string::npos) {
        const auto d = ToInt(text.substr(slash + 1));
        if (!d || *d <= 0) return std::nullopt;
        divisor = *d;
    }
    if (!count || *count < (zero ? 0 : 1) || (*count * kUnitsPerBeat) % divisor != 0) return std::nullopt;
    return *count * kUnitsPerBeat / divisor;
}

// "g2" as (string, fret).
std::optional<std::pair<int, int>> Note(const std::string& text) {
    if (text.size() < 2) return std::nullopt;
    const std::size_t string = kStringNames.find(text[0]);
    const auto fret = ToInt(text.substr(1));
    if (string == std::string::npos || !fret || *fret < 0 || *fret > 12) return std::nullopt;
    return std::make_pair(static_cast<int>(string), *fret);
}

class Reader {
public:
    Reader(std::string name, std::vector<std::string>& errors) : name_(std::move(name)), errors_(errors) {}
    void Error(int line, const std::string& message) const {
        errors_.push_back(name_ + ":" + std::to_string(line) + ": " + message);
    }

private:
    std::string name_;
    std::vector<std::string>& errors_;
};

std::optional<Step> ParseStep(const std::string& token, std::string& why) {
    Step step;
    std::string element = token;
    const std::size_t colon = token.rfind(':');
    if (colon != std::string::npos) element = token.substr(0, colon);
    const bool change = !element.empty() && element[0] == '>';
    if (change) step.units = 0;
    if (colon != std::string::npos) {
        const auto units = Duration(token.substr(colon + 1), change);
        if (!units) {
            why = "bad duration in '" + token + "'";
            return std::nullopt;
        }
        step.units = *units;
    }
    if (element == "-") return step;
    if (element == "#") {
        step.kind = Step::Kind::Damp;
        return step;
    }
    if (change) {
        step.kind = Step::Kind::Change;
        step.chord = element.substr(1);
        if (step.chord.empty()) why = "'>' needs a chord name or '-'";
        return why.empty() ? std::optional<Step>(step) : std::nullopt;
    }
    if (element[0] == '[') {
        const std::size_t close = element.find(']');
        const std::string rest = close == std::string::npos ? "" : element.substr(close + 1);
        if (close == std::string::npos || close == 1 || !(rest.empty() || rest == "^")) {
            why = "bad chord '" + token + "'";
            return std::nullopt;
        }
        step.kind = Step::Kind::Strum;
        step.chord = element.substr(1, close - 1);
        step.up = rest == "^";
        return step;
    }
    const std::size_t at = element.find('@');
    if (at != std::string::npos) {
        const std::string who = element.substr(0, at);
        const auto note = Note(element.substr(at + 1));
        if (!note || who.size() != 1) {
            why = "bad step '" + token + "'";
            return std::nullopt;
        }
        step.notes.push_back(*note);
        if (who[0] >= '1' && who[0] <= '4') {
            step.kind = Step::Kind::Place;
            step.finger = who[0] - '0';
            if (note->second == 0) why = "a finger cannot press an open string in '" + token + "'";
        } else if (std::string("pima").find(who[0]) != std::string::npos) {
            step.kind = Step::Kind::Notes;
            step.picker = who[0];
        } else {
            why = "'" + who + "' is no finger (1-4 or p, i, m, a) in '" + token + "'";
        }
        return why.empty() ? std::optional<Step>(step) : std::nullopt;
    }
    step.kind = Step::Kind::Notes;
    if (element.back() == '^') {
        step.up = true;
        element.pop_back();
    }
    std::stringstream parts(element);
    for (std::string part; std::getline(parts, part, '+');) {
        const auto note = Note(part);
        if (!note) {
            why = "bad note '" + part + "' in '" + token + "'";
            return std::nullopt;
        }
        step.notes.push_back(*note);
    }
    if (step.notes.empty()) why = "empty step";
    return why.empty() ? std::optional<Step>(step) : std::nullopt;
}

void ParseFingering(const Reader& reader, int line, const std::string& value, Book& book) {
    const std::vector<std::string> words = Words(value);
    if (words.size() < 2) {
        reader.Error(line, "expected 'fingering: Chord finger@note ...'");
        return;
    }
    Fingering fingering;
    fingering.chord = words[0];
    for (std::size_t i = 1; i < words.size(); ++i) {
        std::string why;
        const auto step = ParseStep(words[i], why);
        if (!step || step->kind != Step::Kind::Place || words[i].find(':') != std::string::npos) {
            reader.Error(line, "'" + words[i] + "' is no finger@note");
            continue;
        }
        fingering.fingers.push_back({step->finger, step->notes[0].first, step->notes[0].second});
    }
    if (book.fingerings.count(fingering.chord)) reader.Error(line, "fingering of " + fingering.chord + " given twice");
    book.fingerings[fingering.chord] = fingering;
}

bool OpenVideo(const Reader& reader, int line, const std::string& name, Book& book) {
    const std::vector<std::string> words = Words(name);
    const auto lesson = words.size() == 4 ? ToInt(words[1]) : std::nullopt;
    const auto number = words.size() == 4 ? ToInt(words[3]) : std::nullopt;
    if (!lesson || !number || words[0] != "lesson" || words[2] != "video" || *lesson < 0 ||
        *lesson >= content::kLessonCount || *number < 1 || *number > 3) {
        reader.Error(line, "expected [lesson N video K] with N 0..29 and K 1..3");
        return false;
    }
    if (book.Find(*lesson, *number)) reader.Error(line, "[" + name + "] given twice");
    Script script;
    script.lesson = *lesson;
    script.number = *number;
    script.line = line;
    book.videos.push_back(script);
    return true;
}

void ParseVideoKey(const Reader& reader, int line, const std::string& key, const std::string& value,
                   Script& script) {
    if (key == "view") {
        static const std::map<std::string, View> views = {
            {"fretboard", View::Fretboard}, {"strum", View::Strum}, {"picking", View::Picking}, {"tuner", View::Tuner}};
        const auto view = views.find(value);
        if (view == views.end()) reader.Error(line, "view is fretboard, strum, picking or tuner");
        else script.view = view->second;
    } else if (key == "tempo") {
        const auto tempo = ToInt(value);
        if (!tempo || *tempo < 30 || *tempo > 240) reader.Error(line, "tempo is 30 to 240 beats per minute");
        else script.tempo = *tempo;
    } else if (key == "pulse") {
        const auto units = Duration(value, false);
        if (!units) reader.Error(line, "bad pulse '" + value + "'");
        else script.pulse = *units;
    } else if (key == "mute") {
        if (value != "yes" && value != "no") reader.Error(line, "mute is yes or no");
        script.mute = value == "yes";
    } else if (key == "string") {
        const std::size_t string = value.size() == 1 ? kStringNames.find(value[0]) : std::string::npos;
        if (string == std::string::npos) reader.Error(line, "string is one of E A D g h e");
        else script.tuneString = static_cast<int>(string);
    } else if (key == "play") {
        for (const std::string& token : Words(value)) {
            if (token == "|") continue;
            std::string why;
            auto step = ParseStep(token, why);
            if (!step) {
                reader.Error(line, why);
                continue;
            }
            step->line = line;
            script.steps.push_back(*step);
        }
    } else {
        reader.Error(line, "unknown key '" + key + "'");
    }
}

} // namespace

const Script* Book::Find(int lesson, int number) const {
    for (const Script& script : videos)
        if (script.lesson == lesson && script.number == number) return &script;
    return nullptr;
}

Book ParseBook(const std::string& path, const std::string& name, std::vector<std::string>& errors) {
    Book book;
    Reader reader(name, errors);
    bool inVideo = false;
    int lineNumber = 0;
    for (const std::string& raw : platform::ReadTextLines(path)) {
        ++lineNumber;
        const std::string line = Trim(raw);
        if (line.empty() || line[0] == '#') continue;
        if (line[0] == '[') {
            if (line.back() != ']') reader.Error(lineNumber, "section without ']'");
            else inVideo = OpenVideo(reader, lineNumber, line.substr(1, line.size() - 2), book);
            continue;
        }
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos) {
            reader.Error(lineNumber, "expected 'key: value'");
            continue;
        }
        const std::string key = Trim(line.substr(0, colon));
        const std::string value = Trim(line.substr(colon + 1));
        if (key == "fingering" && !inVideo) ParseFingering(reader, lineNumber, value, book);
        else if (inVideo) ParseVideoKey(reader, lineNumber, key, value, book.videos.back());
        else reader.Error(lineNumber, "'" + key + "' outside a [lesson N video K] section");
    }
    if (lineNumber == 0) reader.Error(0, "missing or empty file");
    return book;
}

int VideoCount(const content::Lesson& lesson) {
    int count = 0;
    for (const auto& slide : lesson.slides)
        if (slide) count += static_cast<int>(slide->videos.size());
    return count;
}

void ValidateBook(const Book& book, const content::Outline& outline, std::vector<std::string>& errors) {
    const std::string file = "videos.txt";
    for (const auto& [name, fingering] : book.fingerings) {
        const auto shape = outline.chords.find(name);
        if (shape == outline.chords.end()) {
            errors.push_back(file + ": fingering of " + name + ", which akkorde.txt does not know");
            continue;
        }
        std::array<int, 6> pressed{};
        for (int s = 0; s < 6; ++s) pressed[static_cast<std::size_t>(s)] = std::max(0, shape->second.frets[static_cast<std::size_t>(s)]);
        std::array<int, 6> fingered{};
        for (const Placement& p : fingering.fingers) fingered[static_cast<std::size_t>(p.string)] = p.fret;
        if (pressed != fingered) errors.push_back(file + ": the fingering of " + name + " does not press its frets in akkorde.txt");
    }
    for (const content::Lesson& lesson : outline.lessons) {
        const int count = VideoCount(lesson);
        if (count > 3) errors.push_back(lesson.file + ": more than three video: lines");
        if (count > 0 && lesson.slides[0] && lesson.slides[0]->pictures.empty())
            errors.push_back(lesson.file + ": window A plays the videos in its picture frame, but has no picture");
        for (int k = 1; k <= std::min(count, 3); ++k)
            if (!book.Find(lesson.number, k))
                errors.push_back(file + ": [lesson " + std::to_string(lesson.number) + " video " +
                                 std::to_string(k) + "] missing: " + lesson.file + " has its video: line");
    }
    for (const Script& script : book.videos) {
        const std::string at = file + ":" + std::to_string(script.line) + ": ";
        if (script.lesson >= 0 && script.lesson < static_cast<int>(outline.lessons.size()) &&
            script.number > VideoCount(outline.lessons[static_cast<std::size_t>(script.lesson)]))
            errors.push_back(at + "no video: line in lektion" + (script.lesson < 10 ? "0" : "") +
                             std::to_string(script.lesson) + ".txt says what this video shows");
        std::vector<std::string> problems;
        const Timeline timeline = BuildTimeline(script, book, outline, problems);
        for (const std::string& problem : problems) errors.push_back(at + problem);
        const double seconds = timeline.Seconds();
        if (problems.empty() && (seconds < 4.0 || seconds > 20.0))
            errors.push_back(at + "the video lasts " + std::to_string(seconds) + " s; keep it within 4 to 20 s");
    }
}

bool LoadBook(const std::string& folder, const content::Outline& outline, Book& book,
              std::vector<std::string>& errors) {
    const std::size_t before = errors.size();
    book = ParseBook((std::filesystem::path(folder) / "videos.txt").string(), "videos.txt", errors);
    if (errors.size() == before) ValidateBook(book, outline, errors);
    return errors.size() == before;
}

std::string VideoBaseName(int lesson, int number) {
    return "lektion" + std::to_string(lesson) + "/Video" + std::to_string(number);
}

} // namespace video
