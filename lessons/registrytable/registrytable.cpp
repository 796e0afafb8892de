// zupfari-registry-table COURSE_FOLDER OUTPUT: writes the lesson registry's
// tables as C++ initialisers, read from the registry lines of the course's
// lesson files (COURSE_FOLDER/lektion00.txt ... lektion29.txt), so that these
// values live in one place. A build step; lessons/registrydata.cpp includes
// what it writes. Reports "file:line: message" and fails on a value it cannot
// take; the content generator checks the rest of each file.
//
// The lines it reads (see content/sources/course/README.md):
//   Header, CountInBeats, BeatDisplayOffset (a number or "unchanged"),
//   CursorActive (yes/no), PlayCountPreset, AnswerKey (3), TempoTable (10),
//   TempoTableOther (10), CursorGeometry (15), CursorGeometryLanguage1 (15),
//   Hold (2); and which of the sections [slide A], [slide B], [slide C] the
//   lesson has.

#include <array>
#include <cstdio>
#include <fstream>
#include <iomanip>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kLessons = 30;

struct LessonRow {
    std::string header = "0";
    int countInBeats = 4;
    std::optional<int> beatDisplayOffset; // none: "unchanged"
    bool cursorActive = false;
    std::optional<int> playCountPreset;
    std::vector<std::string> answerKey, tempo, tempoOther, geometry, geometryLanguage1, hold;
    std::array<bool, 3> slides{};
    // Header, CountInBeats, BeatDisplayOffset, CursorActive, AnswerKey,
    // TempoTable and CursorGeometry each given.
    std::array<bool, 7> given{};
};

// A failure at a line of a file.
struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

class LessonReader {
public:
    LessonReader(std::string file, LessonRow& row) : file_(std::move(file)), row_(row) {}

    void Read() {
        std::ifstream in(file_);
        if (!in) throw Failure(file_ + ": cannot be read");
        std::string text;
        while (std::getline(in, text)) {
            ++line_;
            text = Trim(text);
            if (text.empty() || text[0] == '#') continue;
            if (text[0] == '[') {
                Section(text);
            } else if (inLesson_) {
                const auto colon = text.find(':');
                if (colon != std::string::npos)
                    Key(Trim(text.substr(0, colon)), Trim(text.substr(colon + 1)));
            }
        }
        static const char* const names[] = {"Header",       "CountInBeats", "BeatDisplayOffset",
                                            "CursorActive", "AnswerKey",    "TempoTable",
                                            "CursorGeometry"};
        for (std::size_t i = 0; i < row_.given.size(); ++i)
            if (!row_.given[i]) throw Failure(file_ + ": no " + names[i] + " line");
    }

private:
    [[noreturn]] void Fail(const std::string& message) const {
        throw Failure(file_ + ":" + std::to_string(line_) + ": " + message);
    }

    void Section(const std::string& text) {
        inLesson_ = false;
        if (text.size() == 9 && text.rfind("[slide ", 0) == 0 && text[7] >= 'A' && text[7] <= 'C')
            row_.slides[static_cast<std::size_t>(text[7] - 'A')] = true;
    }

    // Whole numbers (an optional minus sign, digits) or, with `real`, also a
    // decimal fraction; `count` of them.
    std::vector<std::string> Numbers(const std::string& value, std::size_t count, bool real) const {
        std::istringstream words(value);
        std::vector<std::string> numbers;
        for (std::string word; words >> word;) {
            std::size_t i = word[0] == '-' ? 1 : 0;
            bool digits = i < word.size(), point = false;
            for (; i < word.size(); ++i) {
                if (word[i] == '.' && real && !point) {
                    point = true;
                    continue;
                }
                digits = digits && word[i] >= '0' && word[i] <= '9';
            }
            if (!digits || word.back() == '.') Fail("'" + word + "' is not a number");
            numbers.push_back(word);
        }
        if (numbers.size() != count) Fail(std::to_string(count) + " numbers expected");
        return numbers;
    }
    int Number(const std::string& value) const { return std::stoi(Numbers(value, 1, false)[0]); }

    void Key(const std::string& key, const std::string& value) {
        if (key == "Header") {
            row_.header = value;
            row_.given[0] = true;
        } else if (key == "CountInBeats") {
            row_.countInBeats = Number(value);
            row_.given[1] = true;
        } else if (key == "BeatDisplayOffset") {
            if (value != "unchanged") row_.beatDisplayOffset = Number(value);
            row_.given[2] = true;
        } else if (key == "CursorActive") {
            if (value != "yes" && value != "no") Fail("CursorActive is yes or no");
            row_.cursorActive = value == "yes";
            row_.given[3] = true;
        } else if (key == "PlayCountPreset") {
            row_.playCountPreset = Number(value);
        } else if (key == "AnswerKey") {
            row_.answerKey = Numbers(value, 3, false);
            row_.given[4] = true;
        } else if (key == "TempoTable") {
            row_.tempo = Numbers(value, 10, false);
            row_.given[5] = true;
        } else if (key == "TempoTableOther") {
            row_.tempoOther = Numbers(value, 10, false);
        } else if (key == "CursorGeometry") {
            row_.geometry = Numbers(value, 15, true);
            row_.given[6] = true;
        } else if (key == "CursorGeometryLanguage1") {
            row_.geometryLanguage1 = Numbers(value, 15, true);
        } else if (key == "Hold") {
            row_.hold = Numbers(value, 2, false);
        }
    }

    std::string file_;
    LessonRow& row_;
    int line_ = 0;
    bool inLesson_ = true;
};

std::string List(const std::vector<std::string>& values, std::size_t count,
                 const std::string& none) {
    std::string text = "{";
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) text += ", ";
        text += values.empty() ? none : values[i];
    }
    return text + "}";
}

std::string Flag(bool value) {
    return value ? "true" : "false";
}

void Write(std::ostream& out, const std::array<LessonRow, kLessons>& rows) {
    out << "// The lesson registry's tables, made at build time from the registry lines\n"
           "// of the course's lesson files by zupfari-registry-table. Not to be edited:\n"
           "// change the lesson file instead.\n\n";
    out << "constexpr std::array<LessonValues, kLessonCount> kValues = {{\n";
    for (int n = 0; n < kLessons; ++n) {
        const LessonRow& r = rows[static_cast<std::size_t>(n)];
        out << "    {\"" << r.header << "\", " << r.countInBeats << ", "
            << (r.beatDisplayOffset ? std::to_string(*r.beatDisplayOffset) : "kUnchanged") << ", "
            << Flag(r.cursorActive) << ", "
            << (r.playCountPreset ? std::to_string(*r.playCountPreset) : "kNoPreset") << ", "
            << List(r.answerKey, 3, "0") << "}, // lesson " << n << "\n";
    }
    out << "}};\n\n";
    const auto table = [&](const char* type, const char* name, auto field, std::size_t count,
                           const char* none) {
        out << "constexpr std::array<" << type << ", kLessonCount> " << name << " = {{\n";
        for (int n = 0; n < kLessons; ++n)
            out << "    " << List(field(rows[static_cast<std::size_t>(n)]), count, none)
                << ", // lesson " << n << "\n";
        out << "}};\n\n";
    };
    const auto flags = [&](const char* name, auto present) {
        out << "constexpr std::array<bool, kLessonCount> " << name << " = {";
        for (int n = 0; n < kLessons; ++n)
            out << (n > 0 ? ", " : "") << Flag(present(rows[static_cast<std::size_t>(n)]));
        out << "};\n\n";
    };
    table("TempoRow", "kTempo", [](const LessonRow& r) { return r.tempo; }, 10, "0");
    table("TempoRow", "kTempoOther", [](const LessonRow& r) { return r.tempoOther; }, 10, "0");
    flags("kHasTempoOther", [](const LessonRow& r) { return !r.tempoOther.empty(); });
    table("StoredGeometry", "kGeometry", [](const LessonRow& r) { return r.geometry; }, 15, "0");
    table("StoredGeometry", "kGeometryLanguage1",
          [](const LessonRow& r) { return r.geometryLanguage1; }, 15, "0");
    flags("kHasGeometryLanguage1", [](const LessonRow& r) { return !r.geometryLanguage1.empty(); });
    table("HoldRange", "kHold", [](const LessonRow& r) { return r.hold; }, 2, "-100");
    out << "// Whether the lesson passes over slide window A, B, C (it has no section).\n";
    out << "constexpr std::array<std::array<bool, 3>, kLessonCount> kSkipsWindow = {{\n";
    for (int n = 0; n < kLessons; ++n) {
        const auto& s = rows[static_cast<std::size_t>(n)].slides;
        out << "    {" << Flag(!s[0]) << ", " << Flag(!s[1]) << ", " << Flag(!s[2]) << "}, // lesson "
            << n << "\n";
    }
    out << "}};\n";
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: zupfari-registry-table COURSE_FOLDER OUTPUT\n");
        return 2;
    }
    std::array<LessonRow, kLessons> rows;
    try {
        for (int n = 0; n < kLessons; ++n) {
            std::ostringstream name;
            name << argv[1] << "/lektion" << std::setw(2) << std::setfill('0') << n << ".txt";
            LessonReader(name.str(), rows[static_cast<std::size_t>(n)]).Read();
        }
    } catch (const Failure& failure) {
        std::fprintf(stderr, "%s\n", failure.what());
        return 1;
    }
    std::ostringstream text;
    Write(text, rows);
    // Written only when it changed, so that nothing is rebuilt for a text.
    std::ifstream old(argv[2]);
    std::stringstream before;
    before << old.rdbuf();
    if (old && before.str() == text.str()) return 0;
    std::ofstream out(argv[2]);
    out << text.str();
    return out ? 0 : 1;
}
